// Enrolment, identification, match statistics and deletion end to end: the shown window on a real serial
// line to the simulated module, fingers picked by real clicks on the hand pictures.
#include "commandLineTable.h"
#include "fifoInputDevice.h"
#include "modalAnswerer.h"
#include "windowFixture.h"

#include <QClipboard>

#include <memory>

using namespace sensor_n;
using opMode_t = sensor_n::mode_t;
using wire_n::walkOf;

namespace
{
fifoInputDevice_c* g_pMouse = nullptr;
const QByteArrayList g_lstTwoWalksStarted = {"\x03", "LedOff", "\x03", "LedOff"};
} // namespace

class tst_operations : public QObject
{
    Q_OBJECT
    windowFixture_c f;

    vindal01mainWindowTester_c t() const { return f.t(); }
    QByteArray enrollColours() const { return f.colours(t().enrollHand(0), t().enrollHand(1)); }
    QByteArray deleteColours() const { return f.colours(t().deleteHand(0), t().deleteHand(1)); }
    void clickFid(bool p_bEnroll, int p_nFid)
    {
        f.clickFinger(p_bEnroll ? t().enrollHand(p_nFid / 5) : t().deleteHand(p_nFid / 5), p_nFid % 5);
    }
    // The templates ("pid fid" each) are stored, the mode chosen and the person's fingers listed.
    void prepare(const QStringList& p_lstKeys, opMode_t p_nMode, const QString& p_strPid)
    {
        for (const QString& strKey : p_lstKeys)
            QVERIFY(f.sim->addTemplate(strKey.section(' ', 0, 0).toInt(), strKey.section(' ', 1).toInt()));
        if (p_nMode != opMode_t::Info)
            f.clickMode(p_nMode);
        if (!p_strPid.isEmpty())
            f.typePid(p_nMode == opMode_t::Enroll ? t().leEnrollPid() : t().leDeletePid(), p_strPid);
    }

private slots:
    void init()
    {
        f.start();
        f.show();
    }
    void cleanup() { f.stop(); }

    // Both pages number the fingers alike and highlight only the clicked one; picking asks the module
    // nothing, and before any list is read enables no delete button.
    void clickedFingerGivesItsId()
    {
        for (int nFid : {0, 3, 4, 5, 8, 9})
            for (bool bEnroll : {true, false})
            {
                f.clickMode(bEnroll ? opMode_t::Enroll : opMode_t::Delete);
                clickFid(bEnroll, nFid < 5 ? 7 : 2);
                clickFid(bEnroll, nFid);
                QCOMPARE((bEnroll ? t().leEnrollFid() : t().leDeleteFid())->text(), QString::number(nFid));
                QCOMPARE(bEnroll ? enrollColours() : deleteColours(),
                         QByteArray(10, '0').replace(nFid, 1, "w"));
            }
        QVERIFY(!t().btnDeleteSingle()->isEnabled() && !t().btnDeletePerson()->isEnabled());
        QCOMPARE(f.wireSoFar().join(), QByteArray(12, '\x03'));
    }

    void typingTwoDigitsWalksTwice_data()
    {
        QTest::addColumn<bool>("oneRead");
        // The answer to the first walk's LedOff comes late, in the reply to the second walk's first RegFind.
        QTest::newRow("late LedOff reply") << false;
        // Both LedOff answers in one read, as when the two walks start within a few milliseconds.
        QTest::newRow("both LedOff replies in one read") << true;
    }
    // Each keystroke starts a walk, the second inside the first; the hands end up coloured from the walk
    // for the whole number. The LedOff answers are played by hand so that they arrive as the row says.
    void typingTwoDigitsWalksTwice()
    {
        QFETCH(bool, oneRead);
        prepare({"1 0", "1 4", "12 7", "12 9"}, opMode_t::Enroll, QString());
        f.sim->clearRecording();
        f.sim->silenceNextCommands(4);
        QTest::keyClicks(t().leEnrollPid(), QStringLiteral("12"));
        QTRY_COMPARE(f.sim->commands(), g_lstTwoWalksStarted);
        // The second walk replaces the first.
        QCOMPARE(f.window->stateStack().size(), 1);
        if (oneRead)
            f.sim->injectBytes("=OK LedOff\r\n=OK LedOff\r\n");
        else
        {
            connect(f.sim.get(), &windowFixture_c::sim_t::commandReceived, this,
                    [this](const QByteArray& p_baCommand)
                    {
                        if (p_baCommand == "reg /find 12 0")
                            f.sim->injectLine("=OK LedOff"); // queued before the module's answer
                    });
            f.sim->injectLine("=OK LedOff");
        }
        QTRY_COMPARE(f.sim->commands(), g_lstTwoWalksStarted + walkOf(12).mid(2));
        f.settle();
        QCOMPARE(f.window->state(), state_t::Enroll);
        // The late answer is no reply to a RegFind: kept as unexpected, it completes nothing.
        QCOMPARE(f.window->unexpectedResponsesWindow()->toPlainText().contains("reg /find ::> =OK LedOff"),
                 !oneRead);
        QCOMPARE(enrollColours(), QByteArray("0000000101"));
    }

    void enrolment_data()
    {
        QTest::addColumn<QString>("pid");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QByteArrayList>("reply"); // played by hand instead of the module's
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("status"); // the last messages
        QTest::addColumn<QByteArray>("colours"); // afterwards, finger 6 still picked
        const QString strBox = QStringLiteral("Fingerprint Error|");
        const QStringList lstFailed = {"Fehler beim Einlernen."};
        // Each reply chunk is read from the reply's start again, so earlier placements may flash by once
        // more; the enrolment ends on the third placement and the quality.
        QTest::newRow("three placements")
            << "3" << QStringList{"3 0"} << QByteArrayList() << QStringList()
            << QStringList({"Bitte Finger auflegen (3/3)", QStringLiteral("Mit Qualität 57% eingelernt.")})
            << QByteArray("1000001000");
        QTest::newRow("=NO DoubleFP")
            << "3" << QStringList{"3 6"} << QByteArrayList()
            << QStringList{strBox + "Finger already enrolled."} << lstFailed << QByteArray("0000001000");
        // Person 0 is refused by the module.
        QTest::newRow("=NO ID=0") << "0" << QStringList() << QByteArrayList()
                                  << QStringList{strBox + "Invalid PID specified"} << lstFailed
                                  << QByteArray("0000000000");
        // A success line without a quality is kept as an unexpected reply.
        QTest::newRow("=OK Enroll without quality")
            << "3" << QStringList() << QByteArrayList({"=OK Ready", "=OK Enroll ID=3 Group=1 BKNum=6"})
            << QStringList() << lstFailed << QByteArray("0000000000");
        QTest::newRow("=OK Enroll with quality 0")
            << "3" << QStringList()
            << QByteArrayList({"=OK Ready", "=FP 1", "=OK Enroll ID=3 Group=1 BKNum=6 Quality=0"})
            << QStringList() << lstFailed << QByteArray("0000000000");
    }
    void enrolment()
    {
        QFETCH(QString, pid);
        QFETCH(QStringList, stored);
        QFETCH(QByteArrayList, reply);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, status);
        QFETCH(QByteArray, colours);
        const bool bEnrols = status.size() > 1;
        prepare(stored, opMode_t::Enroll, pid);
        f.sim->setPlacementMode(windowFixture_c::sim_t::placementManual);
        f.sim->setEnrollQuality(57);
        clickFid(true, 6);
        f.sim->clearRecording();
        f.status.clear();
        std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Cancel));
        f.sim->silenceNextCommands(reply.isEmpty() ? 0 : 1);
        QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
        for (const QByteArray& baLine : reply)
            f.sim->injectLine(baLine);
        for (int nPlacement = 1; bEnrols && nPlacement <= 3; ++nPlacement)
        {
            QTRY_COMPARE(f.window->statusBar()->currentMessage(),
                         QStringLiteral("Bitte Finger auflegen (%1/3)").arg(nPlacement));
            QCOMPARE(f.window->state(), state_t::SubEnroll);
            QVERIFY(f.sim->placeFinger());
        }
        const int nPid = pid.toInt();
        QTRY_COMPARE(f.sim->commands(),
                     QByteArrayList{"enroll_dupfp " + QByteArray::number(nPid) + " 1 6"} + walkOf(nPid));
        f.settle();
        QCOMPARE(f.window->state(), state_t::Enroll);
        QCOMPARE(f.status.mid(f.status.size() - status.size()), status);
        QCOMPARE(pAnswerer->messages(), boxes);
        QVERIFY(reply.isEmpty() ||
                f.window->unexpectedResponsesWindow()->toPlainText().contains(reply.last()));
        QCOMPARE(f.sim->hasTemplate(nPid, 6), bEnrols || stored.contains("3 6"));
        QCOMPARE(enrollColours().replace('w', colours.at(6)), colours);
    }

    void identificationShowsTheFinger_data()
    {
        QTest::addColumn<int>("fid");
        QTest::addColumn<bool>("searchTwo");
        QTest::addColumn<QString>("fingerText");
        QTest::newRow("left little finger, white") << 0 << false << "left little finger (0)";
        QTest::newRow("right thumb, green for Search2") << 5 << true << "right thumb (5)";
        QTest::newRow("unknown finger") << -1 << false << "";
    }
    // The result stays on the page while user input is held back: a mode button clicked meanwhile takes
    // effect only after the next scan has gone out.
    void identificationShowsTheFinger()
    {
        QFETCH(int, fid);
        QFETCH(bool, searchTwo);
        QFETCH(QString, fingerText);
        const QString pidText = fid < 0 ? QStringLiteral("Finger nicht erkannt") : QStringLiteral("7");
        prepare({"7 0", "7 5"}, opMode_t::Info, QString());
        f.sim->clearRecording();
        f.sim->setSearchTwo(searchTwo);
        fid >= 0 ? f.sim->setFinger(7, fid) : f.sim->setStrangerFinger();
        // Looks at the page while the result is shown, and clicks the delete mode button then.
        QString strShown;
        int nWireAtClick = -1;
        bool bClicked = false;
        auto* pDelete =
            f.window->findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(int(opMode_t::Delete)));
        const QPoint ptDelete = pDelete->mapToGlobal(pDelete->rect().center());
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this,
                [&]()
                {
                    if (nWireAtClick >= 0 || t().lblTrainPid()->text() != pidText ||
                        t().pageStack()->currentIndex() != t().pageIndex(int(opMode_t::Train)))
                        return;
                    strShown =
                        t().lblTrainFinger()->text() + '|' + f.colours(t().trainHand(0), t().trainHand(1));
                    nWireAtClick = f.sim->commands().size();
                    bClicked = g_pMouse->isOpen() && g_pMouse->clickAt(ptDelete);
                });
        watcher.start(10);
        f.clickMode(opMode_t::Train);
        // The chain: scan, the search with the LED off cut short by the abort, the search, the next scan.
        const QByteArrayList lstChain = {"\x03", "scan",  "LedOff",   "search 0",
                                         "\x03", "LedOn", "search 0", "scan"};
        QTRY_VERIFY_WITH_TIMEOUT(f.sim->commands().count("scan") >= 2, 20000);
        QCOMPARE(f.sim->commands().mid(0, lstChain.size()), lstChain);
        QCOMPARE(strShown,
                 fingerText + '|' + QByteArray(10, '0').replace(fid, fid < 0 ? 0 : 1, searchTwo ? "g" : "w"));
        if (!g_pMouse->isOpen())
            QSKIP("No FIFO mouse under /dev/shm: the held-back click is not checked");
        // The click came while the result was shown and took effect only after the wait: the next scan
        // went out before the abort byte of the delete mode.
        QVERIFY(bClicked && nWireAtClick < lstChain.size());
        QTRY_COMPARE(f.window->mode(), opMode_t::Delete);
        QCOMPARE(t().pageStack()->currentIndex(), t().pageIndex(int(opMode_t::Delete)));
        // Everything written so far: the abort byte of the mode change may still be on its way.
        const QByteArrayList lstAfterSearch = f.wireSoFar().mid(lstChain.size() - 1);
        QCOMPARE(lstAfterSearch.count("scan"), 1);
        QVERIFY2(lstAfterSearch.indexOf("\x03") > lstAfterSearch.indexOf("scan"),
                 lstAfterSearch.join(',').toHex().constData());
    }

    void statisticsCountMatchesPerSecurityLevel()
    {
        prepare({"5 3"}, opMode_t::Info, QString());
        f.sim->setFinger(5, 3);
        f.sim->setMatchingSecurityLevels({0});
        // The technician stops after the first and the third cycle and goes on after the second.
        QStringList lstAnswers = {"Stop", "Ok", "Stop"};
        QList<int> lstWireAtAnswer;
        modalAnswerer_c answerer(
            [&, this](QWidget* p_pModal)
            {
                lstWireAtAnswer << f.sim->commands().size();
                const QString strAnswer =
                    lstAnswers.isEmpty() ? QStringLiteral("Stop") : lstAnswers.takeFirst();
                for (QAbstractButton* pButton : p_pModal->findChildren<QAbstractButton*>())
                    if (pButton->text() == strAnswer)
                        pButton->click();
            });
        // The ID is typed while the information page is up: the scan it sends ends there.
        f.sim->clearRecording();
        QTest::keyClicks(t().leMatchIdPid(), QStringLiteral("5"));
        QTRY_COMPARE(f.sim->commands(), QByteArrayList({"\x03", "scan"}));
        QTRY_VERIFY(f.window->received().endsWith("\r\n"));
        f.sim->clearRecording();
        f.t().modeSelected(int(opMode_t::MatchIdAnalysis));
        QCOMPARE(t().pageStack()->currentIndex(), t().pageIndex(int(opMode_t::MatchIdAnalysis)));
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 20000);
        QCOMPARE(answerer.messages(),
                 QStringList(QStringLiteral("Bitte neu auflegen|Bitte Finger vom Sensor entfernen "
                                            "und neu auflegen!\n\nDann Ok betätigen!")));
        const QString strStats = QStringLiteral("PID: %1\n\nZyklen:    %2\nHIGH:      1 %3%\n"
                                                "NORMAL:    0   0.00%\nLOW:       0   0.00%\n");
        QCOMPARE(QGuiApplication::clipboard()->text() + t().matchIdStatistics()->toPlainText(),
                 strStats.arg("5", "1", "100.00").repeated(2));
        // "Stop" ends the loop.
        QCOMPARE(f.wireSoFar(), QByteArrayList({"\x03", "scan"}) + wire_n::matchCycle("5"));
        QCOMPARE(f.window->state(), state_t::Scan);
        // A new personal ID resumes it where it stopped: one measurement, then the end of the cycle.
        f.sim->clearRecording();
        QTest::keyClicks(t().leMatchIdPid(), QStringLiteral("6"));
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 2, 20000);
        QCOMPARE(f.sim->commands().mid(0, lstWireAtAnswer.at(1)),
                 QByteArrayList({"\x03", "scan"}) + wire_n::matchCycle("56", 2));
        QCOMPARE(t().matchIdStatistics()->toPlainText(), strStats.arg("56", "2", " 50.00"));
        // "Ok" starts the next cycle at the first level; the counters go on (person 56 matches nowhere).
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 3, 20000);
        QCOMPARE(f.wireSoFar().mid(lstWireAtAnswer.at(1)), QByteArrayList{"scan"} + wire_n::matchCycle("56"));
        QCOMPARE(QGuiApplication::clipboard()->text(), strStats.arg("56", "3", " 33.33"));
    }

    void deletion_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("left");
        const int nYes = QMessageBox::Yes;
        QTest::newRow("one finger") << 0 << nYes << QStringList{"4 0", "4 5"} << QStringList{"4 5"};
        // Ten deletions whatever the module answers, then the list is read afresh.
        QTest::newRow("a person") << 1 << nYes << QStringList{"4 3", "4 9", "5 3"} << QStringList{"5 3"};
        QTest::newRow("everything") << 2 << nYes << QStringList{"4 2", "9 7"} << QStringList();
        const char* const aszButtons[] = {"one finger", "a person", "everything"};
        for (int nButton = 0; nButton < 3; ++nButton)
            for (int nAnswer : {int(QMessageBox::No), int(QMessageBox::Escape)})
                QTest::addRow("%s, %s", aszButtons[nButton], nAnswer == QMessageBox::No ? "No" : "Escape")
                    << nButton << nAnswer << QStringList{"4 0"} << QStringList{"4 0"};
    }
    // The question, and after a Yes the deletion and the list read afresh; nothing at all after No or Escape.
    void deletion()
    {
        QFETCH(int, button);
        QFETCH(int, answer);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, left);
        prepare(stored, opMode_t::Delete, "4");
        QVERIFY(!t().btnDeleteSingle()->isEnabled() && t().btnDeletePerson()->isEnabled());
        // A finger the module does not hold cannot be deleted alone.
        clickFid(false, 1);
        QVERIFY(!t().btnDeleteSingle()->isEnabled());
        clickFid(false, 0);
        // The person's fingers stored, finger 0 picked.
        QByteArray baBefore(10, '0');
        for (const QString& strKey : stored)
            if (strKey.startsWith("4 "))
                baBefore[strKey.section(' ', 1).toInt()] = '1';
        QCOMPARE(deleteColours(), baBefore.replace(0, 1, "w"));
        QCOMPARE(t().btnDeleteSingle()->isEnabled(), stored.contains("4 0"));
        f.sim->clearRecording();
        std::unique_ptr<modalAnswerer_c> pAnswerer(
            answer == QMessageBox::Escape
                ? new modalAnswerer_c([](QWidget* p_pBox) { QTest::keyClick(p_pBox, Qt::Key_Escape); })
                : modalAnswerer_c::clicking(QMessageBox::StandardButton(answer)));
        QPushButton* const apButtons[] = {t().btnDeleteSingle(), t().btnDeletePerson(), t().btnDeleteAll()};
        QTest::mouseClick(apButtons[button], Qt::LeftButton);
        const QStringList lstQuestions = {
            "Einzelnen Finger löschen?|Wollen Sie wirklich den Finger 0 der Person 4 löschen?",
            "Finger einer Person löschen?|Wollen Sie wirklich alle Finger der Person 4 löschen?",
            "Alle Finger löschen?|Wollen Sie wirklich alle Finger vom Sensor löschen?"};
        QCOMPARE(pAnswerer->messages(), QStringList{lstQuestions.at(button)});
        QByteArrayList lstWire = {"\x03", button == 2 ? "reg /clear" : "reg /del 4 0"};
        for (int nFid = 1; button == 1 && nFid < 10; ++nFid)
            lstWire << "reg /del 4 " + QByteArray::number(nFid);
        lstWire = answer == QMessageBox::Yes ? lstWire + walkOf(4) : QByteArrayList();
        QTRY_COMPARE(f.sim->commands(), lstWire);
        f.settle();
        QCOMPARE(f.wireSoFar(), lstWire);
        QStringList lstLeft;
        for (const auto& key : f.sim->templateKeys())
            lstLeft << QStringLiteral("%1 %2").arg(key.first).arg(key.second);
        QCOMPARE(lstLeft, left);
        QCOMPARE(f.window->state(), state_t::Delete);
        if (lstWire.isEmpty())
            return;
        QCOMPARE(deleteColours(),
                 QByteArray(left.isEmpty() || left.at(0) != "4 5" ? "0000000000" : "0000010000"));
        QVERIFY(t().leDeleteFid()->text().isEmpty() && !t().btnDeleteSingle()->isEnabled());
        QCOMPARE(t().btnDeletePerson()->isEnabled(), left.value(0).startsWith("4 "));
    }
};

// The mouse must exist before the application object, which loads the input plugins.
int main(int argc, char* argv[])
{
    fifoInputDevice_c mouse("mouse", ":nocompress"); // every report an event of its own
    g_pMouse = &mouse;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_operations test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_operations.moc"
