// The service report the customer signs: a visit through the window against the simulated module, the
// report's form filled in, saved as PDF from the print preview and read back with poppler's text and image
// extractors, in German and in English. Every line must follow from what the module answered.
#include "app/translations.h"
#include "fakeudev/fakeUdev.h"
#include "modalAnswerer.h"
#include "windowFixture.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QProcess>

#include <memory>

using namespace sensor_n;
using opMode_t = sensor_n::mode_t;
using sim_t = windowFixture_c::sim_t;

namespace
{
QString run(const QString& p_strProgram, const QStringList& p_lstArgs)
{
    QProcess process;
    process.start(p_strProgram, p_lstArgs);
    const bool bDone = process.waitForFinished(60000) && process.exitCode() == 0;
    return bDone ? QString::fromUtf8(process.readAllStandardOutput()) : "failed: " + process.errorString();
}
// The words of a fact in order, where a table cell's wrapped lines may have words of the next cells between.
QRegularExpression wrapped(const QString& p_strFact)
{
    QStringList lstWords = p_strFact.split(' ');
    for (QString& strWord : lstWords)
        strWord = QRegularExpression::escape(strWord);
    return QRegularExpression(lstWords.join("(?: \\S+){0,4} "));
}
const QStringList g_lstVisit = {"Tina Technik", "Werk Nord, Tor 3", "IPC 4711-0815", "Sensor gereinigt."};
} // namespace

class tst_serviceReport : public QObject
{
    Q_OBJECT
    windowFixture_c f;

    vindal01mainWindowTester_c t() const { return f.t(); }
    // Opens the report by its shortcut (or p_fnOpen) in the language given, fills its form, saves it from the
    // preview under p_strPath and closes the preview; a box is answered by its button p_strButton, or OK.
    // Returns the name the save dialog proposed and the boxes shown.
    QStringList saveReport(const QString& p_strLanguage, const QString& p_strPath,
                           const std::function<void()>& p_fnOpen = nullptr,
                           const QString& p_strButton = QString())
    {
        const QList<QTranslator*> lstTranslators = translations_n::install(QLocale(p_strLanguage));
        QString strProposed;
        bool bSaveAsked = false;
        modalAnswerer_c* pAnswerer = nullptr;
        modalAnswerer_c answerer(
            [&](QWidget* p_pModal)
            {
                auto* pBox = qobject_cast<QMessageBox*>(p_pModal);
                for (QAbstractButton* pButton : pBox != nullptr ? pBox->buttons() : QList<QAbstractButton*>())
                    if (pButton->text() == p_strButton)
                        return pButton->click();
                if (auto* pTechnician = p_pModal->findChild<QLineEdit*>("visitTechnician"))
                {
                    pTechnician->setText(g_lstVisit.at(0));
                    p_pModal->findChild<QLineEdit*>("visitCustomer")->setText(g_lstVisit.at(1));
                    p_pModal->findChild<QLineEdit*>("visitIpc")->setText(g_lstVisit.at(2));
                    p_pModal->findChild<QPlainTextEdit*>("visitRemarks")->setPlainText(g_lstVisit.at(3));
                    return p_pModal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
                }
                auto* pPreview = qobject_cast<QPrintPreviewDialog*>(p_pModal);
                if (pPreview != nullptr && pAnswerer->fileDialogs() > 0)
                    return pPreview->reject();
                if (pPreview != nullptr && !std::exchange(bSaveAsked, true))
                    // Queued: the file dialog it opens is answered by a later round of this answerer.
                    QTimer::singleShot(0, pPreview->findChild<QAction*>("actionSavePdf"), &QAction::trigger);
                if (auto* pEdit = p_pModal->findChild<QLineEdit*>("fileNameEdit"))
                    strProposed = pEdit->text();
                if (pPreview == nullptr)
                    modalAnswerer_c::answerFileOrOk(p_pModal, p_strPath);
            });
        pAnswerer = &answerer;
        f.window->activateWindow();
        [&]() { QVERIFY(QTest::qWaitForWindowActive(f.window.get())); }();
        p_fnOpen ? p_fnOpen() : QTest::keyClick(f.window.get(), Qt::Key_P, Qt::ControlModifier);
        qDeleteAll(lstTranslators);
        return QStringList(strProposed) + answerer.messages();
    }
    // The saved report as a reader finds it: the fonts' ligatures ("fi") taken apart, lines joined.
    QString reportText(const QString& p_strLanguage)
    {
        const QString strPdf = f.dir->filePath(p_strLanguage + ".pdf");
        saveReport(p_strLanguage, strPdf);
        return run("pdftotext", {strPdf, "-"}).normalized(QString::NormalizationForm_KC).simplified();
    }
    void startEnrolment()
    {
        f.sim->setPlacementMode(sim_t::placementManual);
        f.sim->setStrangerFinger();
        f.clickMode(opMode_t::Enroll);
        f.typePid(t().leEnrollPid(), "3");
        f.clickFinger(t().enrollHand(0), 1);
        QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
        QTRY_VERIFY(f.sim->isEnrolling());
    }

private slots:
    void initTestCase() { QVERIFY(fakeUdev_n::isActive()); }
    void cleanup()
    {
        f.stop();
        fakeUdev_n::clearPorts();
    }

    // A visit against a module in real timing: a picture, an enrolment and one the module refuses, a known
    // and an unknown finger identified, a deletion confirmed and one declined, the templates analysed.
    void reportOfAVisit()
    {
        f.start(false);
        fakeUdev_n::setPorts(
            {fakeUdev_n::portEntry(f.sim->slavePath(), "0403", "6001", "Serial_Adapter", "Sim")});
        f.sim->setRealTiming(true);
        f.sim->setScanDelay(20);
        f.sim->setSearchDelay(150);
        f.sim->setPlacementDelay(50);
        QByteArray baPixels(200 * 240, '\0');
        for (int i = 0; i < baPixels.size(); ++i)
            baPixels[i] = char(i % 200);
        f.sim->setImage(200, 240, baPixels);
        QVERIFY(f.sim->addTemplate(4, 0) && f.sim->addTemplate(4, 5, 30));
        f.openOnSimulator();
        f.show();
        f.sim->setFinger(4, 5);
        f.clickMode(opMode_t::Test);
        QTRY_VERIFY_WITH_TIMEOUT(!t().lblImage()->pixmap(Qt::ReturnByValue).isNull(), 10000);

        f.sim->setStrangerFinger();
        f.sim->setEnrollQuality(57);
        f.clickMode(opMode_t::Enroll);
        f.typePid(t().leEnrollPid(), "3");
        std::unique_ptr<modalAnswerer_c> pAnswer(modalAnswerer_c::clicking(QMessageBox::Cancel));
        for (int nTry = 1; nTry <= 2; ++nTry)
        {
            f.clickFinger(t().enrollHand(0), 1);
            QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(f.sim->commands().count("enroll_dupfp 3 1 1"), nTry, 10000);
            f.settle();
        }
        const sessionRecord_c& record = f.window->sessionRecord();
        f.sim->setFinger(4, 5);
        f.clickMode(opMode_t::Train);
        QTRY_VERIFY_WITH_TIMEOUT(record.identifications().nRecognised > 0, 15000);
        f.sim->setStrangerFinger();
        QTRY_VERIFY_WITH_TIMEOUT(record.identifications().nCount > record.identifications().nRecognised,
                                 15000);
        // The result stays on the page for a while, holding the technician's clicks back.
        QTRY_COMPARE_WITH_TIMEOUT(t().lblTrainPid()->text(), QStringLiteral("Finger nicht erkannt"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(t().lblTrainPid()->text().isEmpty(), 10000);
        f.sim->removeFinger();
        f.clickMode(opMode_t::Delete);
        f.typePid(t().leDeletePid(), "4");
        f.clickFinger(t().deleteHand(0), 0);
        pAnswer.reset(modalAnswerer_c::clicking(QMessageBox::Yes));
        QTest::mouseClick(t().btnDeleteSingle(), Qt::LeftButton);
        QTRY_VERIFY(!f.sim->hasTemplate(4, 0));
        f.settle();
        pAnswer.reset(modalAnswerer_c::clicking(QMessageBox::No));
        QTest::mouseClick(t().btnDeleteAll(), Qt::LeftButton);
        QTRY_COMPARE(pAnswer->count(), 1);
        pAnswer.reset();
        f.clickMode(opMode_t::AnalyseSensor);
        QTRY_COMPARE_WITH_TIMEOUT(t().treeTemplates()->topLevelItemCount(), 2, 10000);

        // The identifications as the module answered them.
        const QByteArray strSent = f.sim->sent();
        const int nFound = strSent.count("=OK Search"), nSearches = nFound + strSent.count("=NO Search");
        const QDate today = QDate::currentDate();
        const QStringList lstFacts = {
            "VD01 V2.13", "Mar 14 2019",      "10:42:17",
            "2 / 500",    f.sim->slavePath(), "Serial Adapter, Sim, USB 0403:6001",
            "57%",        "DoubleFP",         QLocale::c().toString(today, "yyyy-MM-dd")};
        const QMap<QString, QStringList> mapWords = {
            {"de",
             {"Servicebericht", "Einsatz", "Befund",
              QString("%1 von %2 Identifizierungen").arg(nFound).arg(nSearches),
              "Person 3, linker Ringfinger (1)", "mit Qualität 57% eingelernt", "Finger bereits eingelernt.",
              "Löschen eines Fingers", "gelöscht",
              "unter 50%: Diese Finger neu einlernen: Person 4, rechter Daumen (5)", "Sensorbild kam",
              "Grauwerte liegen zwischen 0 und 199", "Techniker,", "Kunde,", "Seite 1 von"}},
            {"en",
             {"Service report", "Visit", "Findings",
              QString("%1 of %2 identifications").arg(nFound).arg(nSearches),
              "person 3, left ring finger (1)", "enrolled with quality 57%", "Finger already enrolled.",
              "Deletion of a finger", "deleted",
              "below 50%: enrol these fingers again: person 4, right thumb (5)",
              "A sensor picture arrived complete", "grey values lie between 0 and 199", "Technician,",
              "Customer,", "Page 1 of"}}};
        QVERIFY(nFound > 0 && nSearches > nFound);
        for (const QString& strLanguage : mapWords.keys())
        {
            const QString strText = reportText(strLanguage);
            for (const QString& strFact : g_lstVisit + lstFacts + mapWords.value(strLanguage))
                QVERIFY2(strText.contains(wrapped(strFact)),
                         qPrintable(strLanguage + ": " + strFact + " missing in " + strText));
            // No line of the module's protocol, nothing declined, nothing unexpected.
            QVERIFY2(!strText.contains(QRegularExpression("=(OK|NO|FP)\\b")), qPrintable(strText));
            QVERIFY(!strText.contains("Deletion of all") && !strText.contains("Löschen aller"));
            QVERIFY(!strText.contains("Unexpected") && !strText.contains("Unerwartet"));
            QVERIFY2(run("pdfimages", {"-list", f.dir->filePath(strLanguage + ".pdf")})
                         .contains(QRegularExpression("\\n +\\d+ +\\d+ +image +200 +240 ")),
                     "the picture is not in the PDF");
        }
        QVERIFY(!record.workSinceReport());
    }

    // What the report must say, or must not, after a scene of the visit.
    void reportSaysWhatHappened_data()
    {
        QTest::addColumn<int>("scene");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("notSaid");
        QTest::newRow("an enrolment waits for the finger") << 0 << ""
                                                           << "Watchdog";
        QTest::newRow("the page left while enrolling")
            << 1 << "cancelled before the module answered: another page was chosen"
            << "";
        QTest::newRow("a port chosen while enrolling")
            << 2 << "cancelled before the module answered: a port was chosen"
            << "";
        QTest::newRow("the adapter lost while enrolling")
            << 3 << "cancelled before the module answered: the adapter was lost"
            << "";
        QTest::newRow("a person's deletion cut off") << 4 << "cut off after 3 of 10 answers"
                                                     << "";
        QTest::newRow("the quality written otherwise") << 5 << "enrolled with quality 57%"
                                                       << "refused";
        QTest::newRow("matches of two persons") << 6 << "Personal ID 3, until"
                                                << "2 of";
        QTest::newRow("a port without a module") << 7 << "No module answered on port"
                                                 << "";
        QTest::newRow("the watchdog on, a scan unanswered")
            << 8 << "Watchdog alarm no answer within 5 s while the sensor was asked for a finger"
            << "";
    }
    void reportSaysWhatHappened()
    {
        QFETCH(int, scene);
        QFETCH(QString, said);
        QFETCH(QString, notSaid);
        f.start();
        f.show();
        std::unique_ptr<modalAnswerer_c> pAnswer(modalAnswerer_c::clicking(QMessageBox::Yes));
        sim_t other;
        switch (scene)
        {
        case 0: // the lamp turns yellow, but a waiting finger is no failure of the module
            startEnrolment();
            t().watchdog();
            break;
        case 1:
        case 2:
        case 3:
            startEnrolment();
            scene == 1   ? f.clickMode(opMode_t::Info)
            : scene == 2 ? t().portChanged(f.sim->slavePath())
                         : f.sim->vanish();
            QTRY_VERIFY(!f.window->chainRunning());
            break;
        case 4:
            QVERIFY(f.sim->addTemplate(4, 0) && f.sim->addTemplate(4, 2));
            f.clickMode(opMode_t::Delete);
            f.typePid(t().leDeletePid(), "4");
            connect(f.sim.get(), &sim_t::commandReceived, this,
                    [&](const QByteArray& p_baCommand)
                    {
                        if (p_baCommand == "reg /del 4 3")
                            f.sim->setSilent(true);
                    });
            QTest::mouseClick(t().btnDeletePerson(), Qt::LeftButton);
            QTRY_VERIFY(f.sim->isSilent());
            f.sim->setSilent(false);
            // The page is left half-way, the list read again and a finger deleted on its own.
            f.clickMode(opMode_t::Info);
            f.settle();
            f.clickMode(opMode_t::Delete);
            f.settle();
            f.clickFinger(t().deleteHand(0), 2);
            QTest::mouseClick(t().btnDeleteSingle(), Qt::LeftButton);
            QTRY_VERIFY(!f.sim->hasTemplate(4, 2));
            f.settle();
            break;
        case 5:
            f.sim->setStrangerFinger();
            f.clickMode(opMode_t::Enroll);
            f.typePid(t().leEnrollPid(), "3");
            f.clickFinger(t().enrollHand(0), 1);
            f.sim->silenceNextCommands(1);
            QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
            f.sim->injectLine("=OK Enroll ID=3 Group=1 BKNum=1 Quality: 57");
            QTRY_COMPARE(f.window->statusBar()->currentMessage(),
                         QStringLiteral("Mit Qualität 57% eingelernt."));
            f.settle();
            break;
        case 6: // a cycle for person 3, then one measurement for person 5 after "Stop"
            QVERIFY(f.sim->addTemplate(3, 1));
            f.sim->setFinger(3, 1);
            pAnswer.reset(modalAnswerer_c::clickingText("Stop"));
            t().leMatchIdPid()->setText("3");
            t().modeSelected(int(opMode_t::MatchIdAnalysis));
            QTRY_COMPARE_WITH_TIMEOUT(pAnswer->count(), 1, 15000);
            t().leMatchIdPid()->setText("5");
            QTRY_COMPARE_WITH_TIMEOUT(pAnswer->count(), 2, 15000);
            said += " HIGH 1 of 1 matched (100.00%) NORMAL 1 of 1 matched (100.00%) LOW 1 of 1 matched "
                    "(100.00%) Match statistics: Personal ID 5, until";
            break;
        case 7:
            other.setSilent(true);
            QVERIFY(other.open());
            t().portChanged(other.slavePath());
            QTRY_COMPARE(other.commands(), QByteArrayList{"model_fw"});
            said += ' ' + other.slavePath();
            break;
        case 8:
            t().watchdogAction()->setChecked(true);
            f.sim->setSilent(true);
            f.clickMode(opMode_t::Test);
            QTRY_COMPARE(f.window->command(), command_t::Scan);
            t().watchdog();
            break;
        }
        pAnswer.reset();
        const QString strText = reportText("en");
        QVERIFY2(said.isEmpty() || strText.contains(wrapped(said)),
                 qPrintable(said + " missing in " + strText));
        QVERIFY2(notSaid.isEmpty() || !strText.contains(notSaid), qPrintable(notSaid + " in " + strText));
    }

    // Work on the module that is in no kept report yet is not lost without a question when the window closes.
    void closingAsksForTheReport_data()
    {
        QTest::addColumn<bool>("work");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("nothing done") << false << "" << true;
        QTest::newRow("work done, stay") << true << "Stay" << false;
        QTest::newRow("work done, close without the report") << true << "Close without it" << true;
        QTest::newRow("work done, the report made") << true << "Make the report" << true;
    }
    void closingAsksForTheReport()
    {
        QFETCH(bool, work);
        QFETCH(QString, answer);
        QFETCH(bool, closed);
        f.start();
        f.show();
        if (work)
        {
            std::unique_ptr<modalAnswerer_c> pYes(modalAnswerer_c::clicking(QMessageBox::Yes));
            f.clickMode(opMode_t::Delete);
            QTest::mouseClick(t().btnDeleteAll(), Qt::LeftButton);
            QTRY_VERIFY(f.sim->commands().contains("reg /clear") && !f.window->chainRunning());
        }
        bool bClosed = false;
        const QStringList lstSeen = saveReport(
            "en", f.dir->filePath("closing.pdf"), [&]() { bClosed = f.window->close(); }, answer);
        QCOMPARE(bClosed, closed);
        QCOMPARE(lstSeen.mid(1).size(), work ? 1 : 0);
        QCOMPARE(QFileInfo::exists(f.dir->filePath("closing.pdf")), answer == "Make the report");
    }

    // Nothing read: the report says so. A save that fails says why and leaves nothing.
    void emptySessionAndFailedSave()
    {
        f.start(false);
        f.show();
        const QString strMissing = f.dir->filePath("gone/report.pdf");
        const QStringList lstSeen = saveReport("en", strMissing);
        QVERIFY2(
            QRegularExpression("^service-report-[0-9]{8}-[0-9]{6}\\.pdf$").match(lstSeen.value(0)).hasMatch(),
            qPrintable(lstSeen.join('|')));
        QCOMPARE(lstSeen.mid(1), QStringList("Save failed|The file " + strMissing +
                                             " could not be saved:\nNo such file or directory"));
        QVERIFY(!QFileInfo::exists(f.dir->filePath("gone")));
        const QString strText = reportText("en");
        QVERIFY2(strText.contains("Nothing was read from a module in this session.") &&
                     !strText.contains("Module") && !strText.contains("Operations") &&
                     !strText.contains("Statistics"),
                 qPrintable(strText));
    }
};

QTEST_MAIN(tst_serviceReport)
#include "tst_serviceReport.moc"
