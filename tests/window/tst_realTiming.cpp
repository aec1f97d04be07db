// The dialogue against a module that takes its time: replies at the line rate, processing times, the tail
// of a reply after the abort byte. A technician switches modes mid-reply, double clicks and leaves boxes
// open while bytes arrive.
#include "commandLineTable.h"
#include "modalAnswerer.h"
#include "windowFixture.h"

#include <QPlainTextEdit>
#include <QSerialPort>

using namespace sensor_n;
using sim_t = windowFixture_c::sim_t;
using opMode_t = sensor_n::mode_t;

class tst_realTiming : public QObject
{
    Q_OBJECT

    windowFixture_c f;
    const QByteArrayList m_lstQuery = {"model_fw", "date", "time", "reg /count", "max", "LedOn"};

    vindal01mainWindowTester_c t() const { return f.t(); }
    void clickFid(bool p_bEnroll, int p_nFid)
    {
        f.clickFinger(p_bEnroll ? t().enrollHand(p_nFid / 5) : t().deleteHand(p_nFid / 5), p_nFid % 5);
    }
    // Start on the enrolment page and the module's three placements; Start clicked again at once, while
    // the finger list is read again, starts nothing.
    void enrolGoesThrough(int p_nPid, int p_nFid)
    {
        f.sim->setStrangerFinger();
        QTRY_VERIFY(t().btnEnrollStart()->isEnabled());
        QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(f.window->statusBar()->currentMessage(),
                                  QStringLiteral("Mit Qualität 85% eingelernt."), 15000);
        QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
        f.settle();
        QCOMPARE(f.sim->commands().count(
                     QStringLiteral("enroll_dupfp %1 1 %2").arg(p_nPid).arg(p_nFid).toLatin1()),
                 1);
        QVERIFY(f.sim->hasTemplate(p_nPid, p_nFid));
    }

private slots:
    void init()
    {
        f.start(false);
        f.sim->setRealTiming(true);
        f.sim->setScanDelay(20);
        f.sim->setSearchDelay(150);
        f.sim->setMatchDelay(150);
        f.sim->setPlacementDelay(150);
        f.show();
        f.openOnSimulator();
    }
    void cleanup() { f.stop(); }

    // The technician leaves the page while the picture streams. The tail that still arrives after the abort
    // byte belongs to no command: the new mode's dialogue runs as on a quiet line. A module that ignores the
    // abort holds the next command back only briefly, long before the picture would end.
    void leavingTheImagePageMidPicture_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArrayList>("wire");
        QTest::addColumn<bool>("ignoresAbort");
        QTest::newRow("Info") << int(opMode_t::Info) << (QByteArrayList{"\x03"} + m_lstQuery) << false;
        QTest::newRow("Analyse") << int(opMode_t::AnalyseSensor)
                                 << QByteArrayList{"\x03", "reg /count", "reg /list", "temp_set 2",
                                                   "reg /get 3 6"}
                                 << false;
        QTest::newRow("Info, abort ignored")
            << int(opMode_t::Info) << QByteArrayList{"\x03", "model_fw"} << true;
    }
    void leavingTheImagePageMidPicture()
    {
        QFETCH(int, mode);
        QFETCH(QByteArrayList, wire);
        QFETCH(bool, ignoresAbort);
        QVERIFY(f.sim->addTemplate(3, 6));
        if (ignoresAbort)
            f.sim->setAbortTail(1 << 20);
        // A few thousand bytes into a picture of 73728 (six seconds at the line rate).
        QVERIFY(f.sim->setImage(256, 288, QByteArray(256 * 288, char(0x4f))));
        f.sim->setFinger(3, 6);
        f.clickMode(opMode_t::Test);
        QTRY_VERIFY_WITH_TIMEOUT(f.window->received().size() > 3000, 10000);
        f.sim->clearRecording();
        f.clickMode(opMode_t(mode));
        QTRY_COMPARE_WITH_TIMEOUT(f.sim->commands().mid(0, wire.size()), wire, 10000);
        // The next command went out after the tail, measured on the simulator's clock, and soon.
        QVERIFY(f.sim->commandTimes().value(1) - f.sim->lastAbortAt() < (ignoresAbort ? 3000 : 5000));
        if (ignoresAbort)
            return;
        QCOMPARE(f.sim->commands(), wire);
        QVERIFY(f.sim->lastTailSentAt() >= 0);
        QVERIFY(f.sim->commandTimes().value(1) >= f.sim->lastTailSentAt());
        QTRY_COMPARE(f.window->command(), mode == int(opMode_t::Info) ? command_t::LedOn : command_t::RegGet);
        QTRY_VERIFY(f.window->statusBar()->currentMessage().isEmpty());
        if (mode == int(opMode_t::Info))
            QCOMPARE(f.t().lblFirmware()->text() + f.t().lblCapacity()->text(),
                     f.sim->firmware() + "1 / 500");
        else
            QCOMPARE(f.t().treeTemplates()->topLevelItemCount(), 1);
        QCOMPARE(f.window->unexpectedResponsesWindow()->toPlainText(), QString());
    }

    // The abort that ends the LED-less search and its completion come 100 ms apart; a mode change in
    // between starts the information query, which a slow module answers after those timers have run.
    void delayedAbortLeavesTheNextCommandAlone_data()
    {
        QTest::addColumn<QByteArray>("trigger");
        // The mode changes before the abort that cuts the LED-less search short, or between that abort and
        // its completion.
        QTest::newRow("before the abort") << QByteArray("search 0");
        QTest::newRow("before the abort's completion") << QByteArray("\x03");
    }
    void delayedAbortLeavesTheNextCommandAlone()
    {
        QFETCH(QByteArray, trigger);
        QVERIFY(f.sim->addTemplate(7, 2));
        f.sim->setFinger(7, 2);
        int nSearches = 0;
        connect(f.sim.get(), &sim_t::commandReceived, this,
                [&](const QByteArray& p_baCommand)
                {
                    nSearches += p_baCommand == "search 0" ? 1 : 0;
                    if (p_baCommand == trigger && nSearches == 1 && ++nSearches)
                        QMetaObject::invokeMethod(
                            this, [this]() { f.clickMode(opMode_t::Info); }, Qt::QueuedConnection);
                    else if (p_baCommand == "model_fw")
                    {
                        f.sim->silenceNextCommands(1);
                        QTimer::singleShot(500, f.sim.get(),
                                           [this]() { f.sim->injectLine("=OK VD01 slow"); });
                    }
                });
        f.clickMode(opMode_t::Train);
        QTRY_COMPARE_WITH_TIMEOUT(f.sim->commands().mid(f.sim->commands().lastIndexOf("\x03")),
                                  QByteArrayList{"\x03"} + m_lstQuery, 10000);
        QTRY_COMPARE(f.window->command(), command_t::LedOn);
        QCOMPARE(f.t().lblFirmware()->text(), QStringLiteral("VD01 slow"));
        // The LED-less search was not aborted once the query ran: one abort byte, the mode change's.
        QCOMPARE(f.sim->commands().mid(f.sim->commands().indexOf("search 0")).count("\x03"),
                 trigger == "\x03" ? 2 : 1);
        QCOMPARE(f.window->unexpectedResponsesWindow()->toPlainText(), QString());
    }

    // Stray lines while model_fw waits, one per read: each one is recorded once.
    void strayLinesAreRecordedOnce()
    {
        f.sim->silenceNextCommands(1);
        f.t().setState(state_t::QueryDevice);
        QTRY_COMPARE(f.sim->commands(), QByteArrayList{"model_fw"});
        for (int n = 1; n <= 6; ++n)
        {
            f.sim->injectLine("=XX stray " + QByteArray::number(n));
            QTRY_VERIFY(f.window->received().endsWith("=XX stray " + QByteArray::number(n) + "\r\n"));
        }
        f.sim->injectLine("=OK VD01 late");
        f.settle();
        QCOMPARE(f.t().lblFirmware()->text(), QStringLiteral("VD01 late"));
        QCOMPARE(f.window->unexpectedResponsesWindow()->toPlainText().split('\n', Qt::SkipEmptyParts).size(),
                 6);
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(f.window->unexpectedResponsesWindow()->toPlainText().count(
                         QStringLiteral("model_fw ::> =XX stray %1").arg(n)),
                     1);
    }

    // A double click on a button that starts a chain starts it once; the chain ends as after one click.
    void doubleClickStartsOneChain_data()
    {
        QTest::addColumn<int>("button"); // 0 enrolment Start, 1 delete person, 2 delete all
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("enrolment Start") << 0 << QByteArray("enroll_dupfp 4 1 3");
        QTest::newRow("delete the person") << 1 << QByteArray("reg /del 4 0");
        QTest::newRow("delete all") << 2 << QByteArray("reg /clear");
    }
    void doubleClickStartsOneChain()
    {
        QFETCH(int, button);
        QFETCH(QByteArray, command);
        const vindal01mainWindowTester_c t = f.t();
        QVERIFY(f.sim->addTemplate(4, 1));
        f.sim->setStrangerFinger();
        const bool bEnrol = button == 0;
        f.clickMode(bEnrol ? opMode_t::Enroll : opMode_t::Delete);
        QTest::keyClicks(bEnrol ? t.leEnrollPid() : t.leDeletePid(), QStringLiteral("4"));
        QTRY_COMPARE(f.sim->commands().mid(f.sim->commands().lastIndexOf("\x03")).count(), 13);
        QTRY_COMPARE(f.window->state(), bEnrol ? state_t::Enroll : state_t::Delete);
        QTRY_VERIFY(t.btnDeletePerson()->isEnabled() || bEnrol);
        // The enrolment's finger and group; the delete buttons do not read them.
        t.leEnrollFid()->setText(QStringLiteral("3"));
        t.leEnrollGroup()->setText(QStringLiteral("1"));
        std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Yes));
        f.sim->clearRecording();
        QPushButton* const pButton =
            QList<QPushButton*>{t.btnEnrollStart(), t.btnDeletePerson(), t.btnDeleteAll()}[button];
        // What the window system delivers for a double click: a click, then a second press and release.
        QTest::mouseClick(pButton, Qt::LeftButton);
        QTest::mouseDClick(pButton, Qt::LeftButton);
        QTest::mouseRelease(pButton, Qt::LeftButton);

        // The chain ends with the finger walk, which reads the list afresh and ends with LedOn.
        QTRY_VERIFY_WITH_TIMEOUT(f.sim->commands().contains("LedOn"), 10000);
        f.settle();
        QCOMPARE(f.sim->commands().count(command), 1);
        QCOMPARE(f.window->state(), bEnrol ? state_t::Enroll : state_t::Delete);
        QCOMPARE(pAnswerer->count(), bEnrol ? 0 : 1);
        // The person has no fingers left, and the enrolment's finger field was emptied by the new list.
        QCOMPARE(pButton->isEnabled(), button == 2);
        QCOMPARE(f.sim->hasTemplate(4, 3), bEnrol);
        QCOMPARE(f.sim->hasTemplate(4, 1), bEnrol);
        QCOMPARE(f.status.contains(QStringLiteral("Mit Qualität 85% eingelernt.")), bEnrol);
    }

    // A line that arrives while an unknown finger is shown (a wait of four seconds inside the read slot)
    // is read when the wait ends: in the traffic window before the next scan, and no part of its reply.
    void bytesDuringAWaitAreReadBeforeTheNextCommand()
    {
        f.sim->setStrangerFinger();
        bool bInjected = false;
        QTimer watcher;
        watcher.callOnTimeout(
            [&]()
            {
                if (!bInjected && f.t().lblTrainPid()->text() == QStringLiteral("Finger nicht erkannt"))
                {
                    bInjected = true;
                    f.sim->injectLine("=NO NoFinger stray");
                }
            });
        watcher.start(10);
        f.clickMode(opMode_t::Train);
        // The first result, then the next scan, answered with a finger: the LED goes off for the next search.
        QTRY_VERIFY_WITH_TIMEOUT(f.sim->commands().count("LedOff") >= 2, 15000);
        QVERIFY(bInjected);
        const QByteArrayList lstCommands = f.sim->commands();
        const int nResult = lstCommands.lastIndexOf("search 0", lstCommands.lastIndexOf("LedOff"));
        QCOMPARE(lstCommands.mid(nResult + 1, 2), (QByteArrayList{"scan", "LedOff"}));
        const QString strTraffic = f.window->serialCommandsWindow()->toPlainText();
        const int nStray = strTraffic.indexOf(QStringLiteral("R =NO NoFinger stray"));
        QVERIFY(strTraffic.indexOf(QStringLiteral("W scan"), nStray) > nStray);
        // A module that streams while a box stays open cannot fill the memory.
        QVERIFY(f.window->serialPort()->readBufferSize() > 0);
    }

    // Diagnostic windows and the log reader open: closing the main window still ends the program (no
    // window that keeps it running is left visible) and frees the port for the next start.
    void closingTheWindowEndsTheProgram()
    {
        f.window->serialCommandsWindow()->show();
        f.window->unexpectedResponsesWindow()->show();
        reinterpret_cast<QWidget*>(f.window->serialErrorLogWindow())->show();
        QVERIFY(f.window->close());
        for (QWidget* pWidget : QApplication::topLevelWidgets())
            QVERIFY2(!pWidget->isVisible() || !pWidget->testAttribute(Qt::WA_QuitOnClose),
                     pWidget->metaObject()->className());
        QVERIFY(f.window->serialPort() == nullptr || !f.window->serialPort()->isOpen());
        QSerialPort nextStart(f.sim->slavePath());
        QVERIFY2(nextStart.open(QIODevice::ReadWrite), qPrintable(nextStart.errorString()));
    }

    // The adapter is pulled while the image page waits for a finger.
    void lostAdapterIsSaidInTheStatusBar()
    {
        f.clickMode(opMode_t::Test);
        QTRY_VERIFY(f.sim->commands().count("scan") >= 2);
        const QString strLost = QStringLiteral("Verbindung zum Sensor verloren: Der Adapter an Port %1 wurde "
                                               "abgezogen oder ist ausgefallen.")
                                    .arg(f.window->serialPort()->portName());
        f.sim->vanish();
        QTRY_COMPARE(f.window->statusBar()->currentMessage(), strLost);
        QVERIFY(!f.window->serialPort()->isOpen());
        // Said once; the status bar still shows it (checked above), so nothing came after it.
        QCOMPARE(f.status.count(strLost), 1);
    }

    // A technician who does not wait, on the enrolment page of a module that takes 1.5 s a placement.
    void enrolmentPageWithATechnicianWhoDoesNotWait()
    {
        f.sim->setPlacementDelay(1500);
        f.clickMode(opMode_t::Enroll);
        f.typePid(t().leEnrollPid(), QStringLiteral("4"));
        clickFid(true, 1);
        QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
        QTRY_VERIFY(f.sim->isEnrolling());
        // The personal ID corrected while the module waits for the finger: the enrolment ends, the status
        // bar says so, and the page rests for the new person.
        QTest::keyClicks(t().leEnrollPid(), QStringLiteral("5"));
        f.settle();
        QCOMPARE(f.window->state(), state_t::Enroll);
        QVERIFY(!f.sim->isEnrolling() && f.status.contains(QStringLiteral("Einlernen abgebrochen.")));
        QCOMPARE(f.window->sessionRecord().operations().last().nCancelled, sessionRecord_c::cancelPersonalId);
        clickFid(true, 2);
        f.sim->setPlacementDelay(50);
        enrolGoesThrough(45, 2);
        // A new person typed and Start clicked at once, while the list is read: nothing starts, and with the
        // finger field emptied no finger counts as chosen before one is clicked.
        clickFid(true, 3);
        f.sim->clearRecording();
        QTest::keyClicks(t().leEnrollPid(), QStringLiteral("6"));
        QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
        f.settle();
        QVERIFY(!t().btnEnrollStart()->isEnabled());
        QCOMPARE(f.sim->commands(), wire_n::walkOf(456));
        clickFid(true, 3);
        enrolGoesThrough(456, 3);
        QCOMPARE(f.colours(t().enrollHand(0), t().enrollHand(1)), QByteArray("0001000000"));
    }

    // While the person's fingers are deleted, the technician types into the personal ID and clicks an
    // enrolled finger: the deletion deletes all ten, and the buttons follow what the module holds.
    void personDeletionGoesToItsEnd()
    {
        QVERIFY(f.sim->addTemplate(4, 0) && f.sim->addTemplate(4, 5));
        f.clickMode(opMode_t::Delete);
        f.typePid(t().leDeletePid(), QStringLiteral("4"));
        std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Yes));
        bool bSingleEnabled = false;
        connect(f.sim.get(), &sim_t::commandReceived, this,
                [&](const QByteArray& p_baCommand)
                {
                    if (p_baCommand != "reg /del 4 0")
                        return;
                    // The module answers the first deletion only once the technician has acted.
                    f.sim->silenceNextCommands(1);
                    QMetaObject::invokeMethod(
                        this,
                        [&]()
                        {
                            QTest::keyClicks(t().leDeletePid(), QStringLiteral("5"));
                            clickFid(false, 5);
                            bSingleEnabled = t().btnDeleteSingle()->isEnabled();
                            f.sim->removeTemplate(4, 0);
                            f.sim->injectLine("=OK Del");
                        },
                        Qt::QueuedConnection);
                });
        f.sim->clearRecording();
        QTest::mouseClick(t().btnDeletePerson(), Qt::LeftButton);
        QTRY_VERIFY(f.sim->commands().contains("LedOn"));
        f.settle();
        QCOMPARE(f.sim->commands().count(), 1 + 10 + wire_n::walkOf(4).size());
        QVERIFY(!bSingleEnabled && f.sim->templateCount() == 0);
        QCOMPARE(t().leDeletePid()->text(), QStringLiteral("4"));
        QVERIFY(t().btnDeleteAll()->isEnabled() && !t().btnDeletePerson()->isEnabled());
    }

    // The adapter is lost on the enrolment page: nothing that needs the module can be pressed. Once a port
    // is chosen, the page rests for the person shown and an enrolment goes through.
    void noPortBlocksUntilOneIsChosen()
    {
        f.clickMode(opMode_t::Enroll);
        f.typePid(t().leEnrollPid(), QStringLiteral("4"));
        clickFid(true, 3);
        f.sim->vanish();
        QTRY_VERIFY(!f.window->serialPort()->isOpen());
        QVERIFY(!t().btnEnrollStart()->isEnabled());
        t().modeSelected(int(opMode_t::Delete));
        QVERIFY(!t().btnDeleteAll()->isEnabled());
        t().modeSelected(int(opMode_t::Enroll));
        QVERIFY(f.sim->open());
        t().portChanged(f.sim->slavePath());
        enrolGoesThrough(4, 3);
        QCOMPARE(t().lblFirmware()->text(), f.sim->firmware());
    }

    // While the identification result is shown or the statistics box is open, something else takes the
    // dialogue over (here the information query): the waiting chain does not go on after the wait.
    void continuationAfterAWaitBelongsToItsChain_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("identification result") << int(opMode_t::Train);
        QTest::newRow("statistics box") << int(opMode_t::MatchIdAnalysis);
    }
    void continuationAfterAWaitBelongsToItsChain()
    {
        QFETCH(int, mode);
        QVERIFY(f.sim->addTemplate(7, 2));
        f.sim->setFinger(7, 2);
        t().leMatchIdPid()->setText(QStringLiteral("7"));
        int nTakeOver = -1;
        auto takeOver = [&]()
        {
            if (nTakeOver < 0 && (t().lblTrainPid()->text() == QStringLiteral("7") ||
                                  QApplication::activeModalWidget() != nullptr))
            {
                nTakeOver = f.sim->commands().size();
                t().modeSelected(int(opMode_t::Info));
            }
        };
        // The box is answered "Ok" once the query has begun.
        modalAnswerer_c answerer(
            [&](QWidget* p_pBox)
            {
                takeOver();
                for (QAbstractButton* pButton : static_cast<QMessageBox*>(p_pBox)->buttons())
                    if (pButton->text() == QStringLiteral("Ok"))
                        pButton->click();
            });
        QTimer watcher;
        watcher.callOnTimeout(takeOver);
        watcher.start(10);
        t().modeSelected(mode);
        QTRY_VERIFY_WITH_TIMEOUT(nTakeOver >= 0, 15000);
        QTRY_COMPARE(t().lblCapacity()->text(), QStringLiteral("1 / 500"));
        f.settle();
        QCOMPARE(f.wireSoFar().mid(nTakeOver), QByteArrayList{"\x03"} + wire_n::infoQuery);
    }

    // The search reports a finger ID; outside 0..9 it lies on no hand.
    void fingerIdOutsideTheHands_data()
    {
        QTest::addColumn<int>("fid");
        QTest::addColumn<QString>("shown"); // text, left and right hand's highlight
        QTest::newRow("-1") << -1 << "Unknown Finger ID -1|-1|-1";
        QTest::newRow("12") << 12 << "Unknown Finger ID 12|-1|-1";
        QTest::newRow("5 right thumb")
            << 5 << QString("right thumb (5)|-1|%1").arg(humanHandWidget_c::fingerThumb);
        QTest::newRow("1 left ring")
            << 1 << QString("left ring finger (1)|%1|-1").arg(humanHandWidget_c::fingerRing);
    }
    void fingerIdOutsideTheHands()
    {
        QFETCH(int, fid);
        QFETCH(QString, shown);
        f.sim->setStrangerFinger();
        int nSearches = 0;
        connect(f.sim.get(), &sim_t::commandReceived, this,
                [&](const QByteArray& p_baCommand)
                {
                    if (p_baCommand != "search 0" || ++nSearches != 2)
                        return;
                    f.sim->silenceNextCommands(1);
                    f.sim->injectLine("=OK Ready\r\n=OK FP\r\n=OK Search ID=7, BKNum=" +
                                      QByteArray::number(fid));
                });
        QString strShown;
        QTimer watcher;
        watcher.callOnTimeout(
            [&]()
            {
                const vindal01mainWindowTester_c t = f.t();
                if (strShown.isEmpty() && t.lblTrainPid()->text() == QStringLiteral("7"))
                    strShown = QString("%1|%2|%3")
                                   .arg(t.lblTrainFinger()->text())
                                   .arg(t.trainHand(0)->hilight())
                                   .arg(t.trainHand(1)->hilight());
            });
        watcher.start(10);
        f.clickMode(opMode_t::Train);
        QTRY_VERIFY_WITH_TIMEOUT(!strShown.isEmpty(), 10000);
        QCOMPARE(strShown, shown);
    }

    // A slot on commandReceived that runs an event loop while more bytes come: the recording keeps the
    // order of the wire.
    void simulatorRecordsInArrivalOrder()
    {
        connect(f.sim.get(), &sim_t::commandReceived, this,
                [&](const QByteArray& p_baCommand)
                {
                    if (p_baCommand == "first")
                    {
                        f.window->serialPort()->write("third\r");
                        QTest::qWait(100);
                    }
                });
        f.window->serialPort()->write("first\rsecond\r");
        QTRY_COMPARE(f.sim->commands(), (QByteArrayList{"first", "second", "third"}));
        QCOMPARE(f.sim->received(), QByteArray("first\rsecond\rthird\r"));
    }
};

QTEST_MAIN(tst_realTiming)
#include "tst_realTiming.moc"
