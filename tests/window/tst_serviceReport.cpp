// The service report: a session with the simulated module, saved as PDF from the print preview and read
// back with poppler's text and image extractors, in German and in English.
#include "app/translations.h"
#include "fakeudev/fakeUdev.h"
#include "modalAnswerer.h"
#include "windowFixture.h"

#include <QPrintPreviewDialog>
#include <QProcess>

#include <memory>

using opMode_t = sensor_n::mode_t;

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
} // namespace

class tst_serviceReport : public QObject
{
    Q_OBJECT
    windowFixture_c f;

    // Opens the report by its shortcut in the language given, saves it from the preview under p_strPath and
    // closes the preview; returns the name the save dialog proposed and the boxes shown.
    QStringList saveReport(const QString& p_strLanguage, const QString& p_strPath)
    {
        const QList<QTranslator*> lstTranslators = translations_n::install(QLocale(p_strLanguage));
        QString strProposed;
        bool bSaveAsked = false;
        modalAnswerer_c* pAnswerer = nullptr;
        modalAnswerer_c answerer(
            [&](QWidget* p_pModal)
            {
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
        QTest::keyClick(f.window.get(), Qt::Key_P, Qt::ControlModifier);
        qDeleteAll(lstTranslators);
        return QStringList(strProposed) + answerer.messages();
    }

private slots:
    void initTestCase() { QVERIFY(fakeUdev_n::isActive()); }
    void cleanup()
    {
        f.stop();
        fakeUdev_n::clearPorts();
    }

    // Information, a picture, an enrolment, a refusal, a deletion, a short statistic and the template table:
    // every fact is in the PDF in both languages, the picture too.
    void reportHoldsTheSession()
    {
        f.start(false);
        fakeUdev_n::setPorts(
            {fakeUdev_n::portEntry(f.sim->slavePath(), "0403", "6001", "Serial_Adapter", "Sim")});
        f.sim->setImage(200, 240, QByteArray(200 * 240, '\x60'));
        for (int nFid : {0, 5})
            QVERIFY(f.sim->addTemplate(4, nFid));
        f.openOnSimulator();
        f.show();
        f.sim->setFinger(4, 5);
        f.clickMode(opMode_t::Test);
        QTRY_VERIFY(!f.t().lblImage()->pixmap(Qt::ReturnByValue).isNull());
        // The information query ends the scan loop at a known place; the finger stored as 4/5 leaves.
        f.sim->removeFinger();
        f.t().modeSelected(int(opMode_t::Info));
        f.settle();

        f.clickMode(opMode_t::Enroll);
        f.typePid(f.t().leEnrollPid(), "3");
        std::unique_ptr<modalAnswerer_c> pCancel(modalAnswerer_c::clicking(QMessageBox::Cancel));
        f.sim->setEnrollQuality(57);
        for (int nTry = 1; nTry <= 2; ++nTry)
        {
            // The finger list read after each enrolment clears the picked finger.
            f.clickFinger(f.t().enrollHand(0), 1);
            QTest::mouseClick(f.t().btnEnrollStart(), Qt::LeftButton);
            QTRY_COMPARE(f.sim->commands().count("enroll_dupfp 3 1 1"), nTry);
            f.settle();
        }
        QCOMPARE(pCancel->messages(), QStringList("Fingerprint Error|Finger already enrolled."));

        f.clickMode(opMode_t::Delete);
        f.typePid(f.t().leDeletePid(), "4");
        f.clickFinger(f.t().deleteHand(0), 0);
        pCancel.reset(modalAnswerer_c::clicking(QMessageBox::Yes));
        QTest::mouseClick(f.t().btnDeleteSingle(), Qt::LeftButton);
        QTRY_VERIFY(!f.sim->hasTemplate(4, 0));
        f.settle();

        f.clickMode(opMode_t::AnalyseSensor);
        QTRY_COMPARE(f.t().treeTemplates()->topLevelItemCount(), 2);

        f.sim->setFinger(3, 1);
        f.sim->setMatchingSecurityLevels({0, 1});
        pCancel.reset(modalAnswerer_c::clickingText("Stop"));
        f.t().leMatchIdPid()->setText("3");
        QTRY_VERIFY(f.window->received().endsWith("\r\n"));
        f.t().modeSelected(int(opMode_t::MatchIdAnalysis));
        QTRY_COMPARE_WITH_TIMEOUT(pCancel->count(), 1, 20000);
        pCancel.reset();

        const QStringList lstFacts = {"VD01 V2.13",
                                      "Mar 14 2019",
                                      "10:42:17",
                                      "2 / 500",
                                      f.sim->slavePath(),
                                      "Serial Adapter, Sim, USB 0403:6001",
                                      "=NO DoubleFP",
                                      "=OK Del",
                                      "57%",
                                      "HIGH 1 (100.00%)",
                                      "NORMAL 1 (100.00%)",
                                      "LOW 0 (0.00%)"};
        const QMap<QString, QStringList> mapWords = {
            {"de",
             {"Servicebericht", "Person 3, linker Ringfinger (1)", "Finger bereits eingelernt.",
              "rechter Daumen (5)", "Seite 1 von"}},
            {"en",
             {"Service report", "person 3, left ring finger (1)", "Finger already enrolled.",
              "right thumb (5)", "Page 1 of"}}};
        for (const QString& strLanguage : mapWords.keys())
        {
            const QString strPdf = f.dir->filePath(strLanguage + ".pdf");
            const QStringList lstSeen = saveReport(strLanguage, strPdf);
            QVERIFY2(QRegularExpression("^service-report-[0-9]{8}-[0-9]{6}\\.pdf$")
                         .match(lstSeen.value(0))
                         .hasMatch(),
                     qPrintable(lstSeen.join('|')));
            QCOMPARE(lstSeen.size(), 1);
            // As a reader finds it: the fonts' ligatures ("fi") taken apart.
            const QString strText =
                run("pdftotext", {strPdf, "-"}).normalized(QString::NormalizationForm_KC).simplified();
            for (const QString& strFact : lstFacts + mapWords.value(strLanguage))
                QVERIFY2(strText.contains(wrapped(strFact)),
                         qPrintable(strLanguage + ": " + strFact + " missing in " + strText));
            QVERIFY2(run("pdfimages", {"-list", strPdf})
                         .contains(QRegularExpression("\\n +1 +\\d+ +image +200 +240 ")),
                     "the picture is not in the PDF");
        }
    }

    // Nothing read: the report says so and shows no section. A save that fails says why and leaves nothing.
    void emptySessionAndFailedSave()
    {
        f.start(false);
        f.show();
        const QString strMissing = f.dir->filePath("gone/report.pdf");
        const QStringList lstSeen = saveReport("en", strMissing);
        QCOMPARE(lstSeen.mid(1), QStringList("Save failed|The file " + strMissing +
                                             " could not be saved:\nNo such file or directory"));
        QVERIFY(!QFileInfo::exists(f.dir->filePath("gone")));
        QCOMPARE(saveReport("en", f.dir->filePath("empty.pdf")).size(), 1);
        const QString strText = run("pdftotext", {f.dir->filePath("empty.pdf"), "-"});
        QVERIFY2(strText.contains("Nothing was read from a module in this session.") &&
                     !strText.contains("Module") && !strText.contains("Operations") &&
                     !strText.contains("Statistics"),
                 qPrintable(strText));
    }
};

QTEST_MAIN(tst_serviceReport)
#include "tst_serviceReport.moc"
