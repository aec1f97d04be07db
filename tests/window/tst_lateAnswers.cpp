// A module that finishes what it was doing although aborted: a search, a match or an enrolment step answers
// 0.1 to 0.3 s after the abort byte, when the next command already runs. Such a line is never the reply of
// that command, and a chain that was left leaves no command behind to take it.
#include "commandLineTable.h"
#include "fakeudev/fakeUdev.h"
#include "modalAnswerer.h"
#include "serialPort/selector.h"
#include "windowFixture.h"

#include <QComboBox>

#include <functional>

using namespace sensor_n;
using sim_t = windowFixture_c::sim_t;
using opMode_t = sensor_n::mode_t;

class tst_lateAnswers : public QObject
{
    Q_OBJECT
    windowFixture_c f;
    QTimer m_lateWatch;

    vindal01mainWindowTester_c t() const { return f.t(); }
    QString unexpected() const { return f.window->unexpectedResponsesWindow()->toPlainText(); }
    // p_fnAct runs as the technician's next action once the module has received p_baCommand p_nNth times.
    void whenReceived(const QByteArray& p_baCommand, int p_nNth, std::function<void()> p_fnAct)
    {
        auto pnSeen = std::make_shared<int>(0);
        connect(f.sim.get(), &sim_t::commandReceived, this,
                [=](const QByteArray& p_baReceived)
                {
                    if (p_baReceived == p_baCommand && ++*pnSeen == p_nNth)
                        QMetaObject::invokeMethod(this, p_fnAct, Qt::QueuedConnection);
                });
    }
    // A module that does one thing at a time: it answers p_baCommand only once its late answer is out.
    void answerAfterTheLateAnswer(const QByteArray& p_baCommand, const QByteArray& p_baReply)
    {
        connect(f.sim.get(), &sim_t::commandReceived, this,
                [=](const QByteArray& p_baReceived)
                {
                    if (p_baReceived != p_baCommand)
                        return;
                    f.sim->silenceNextCommands(1);
                    const int nLate = f.sim->lateAnswers().size();
                    m_lateWatch.disconnect();
                    m_lateWatch.callOnTimeout(
                        [=]()
                        {
                            if (f.sim->lateAnswers().size() == nLate)
                                return;
                            m_lateWatch.stop();
                            f.sim->injectLine(p_baReply);
                        });
                    m_lateWatch.start(2);
                });
    }

private slots:
    void initTestCase() { QVERIFY(fakeUdev_n::isActive()); }
    void init()
    {
        // The module's port is listed, though not as the adapter the window opens by itself.
        f.start(false);
        fakeUdev_n::setPorts({fakeUdev_n::portEntry(f.sim->slavePath(), "0403", "6015")});
        f.window->portSelector()->findChild<QToolButton*>()->click();
        f.sim->setRealTiming(true);
        f.sim->setScanDelay(20);
        f.sim->setSearchDelay(400);
        f.sim->setMatchDelay(300);
        f.sim->setLateAnswer(150);
        f.show();
        f.openOnSimulator();
        QVERIFY(f.sim->addTemplate(7, 0));
        f.sim->setFinger(7, 0);
    }
    void cleanup()
    {
        m_lateWatch.stop();
        f.stop();
        fakeUdev_n::clearPorts();
    }

    // While the search with the LED on runs, the technician asks for the information or chooses the same
    // port again: the module is stopped first, and its late result is no firmware.
    void leavingASearch_data()
    {
        QTest::addColumn<bool>("portAgain");
        QTest::newRow("Info") << false;
        QTest::newRow("the same port chosen again") << true;
    }
    void leavingASearch()
    {
        QFETCH(bool, portAgain);
        answerAfterTheLateAnswer("model_fw", "=OK " + f.sim->firmware().toLatin1());
        whenReceived("search 0", 2,
                     [&]()
                     {
                         auto* pCombo = f.window->portSelector()->findChild<QComboBox*>();
                         portAgain
                             ? emit pCombo->activated(pCombo->findData(f.window->serialPort()->portName()))
                             : f.clickMode(opMode_t::Info);
                     });
        f.clickMode(opMode_t::Train);
        // The query ends with LedOn; a port chosen on the training page goes back to identifying then.
        auto leftAt = [&]()
        { return f.sim->commands().indexOf("search 0", f.sim->commands().indexOf("search 0") + 1); };
        QTRY_VERIFY_WITH_TIMEOUT(leftAt() > 0 && f.sim->commands().mid(leftAt()).contains("LedOn"), 10000);
        QTRY_COMPARE(QStringList({t().lblFirmware()->text(), t().lblBuildDate()->text(),
                                  t().lblBuildTime()->text(), t().lblCapacity()->text()}),
                     QStringList({f.sim->firmware(), f.sim->buildDate(), f.sim->buildTime(), "1 / 500"}));
        QCOMPARE(f.window->sessionRecord().module().strFirmware, f.sim->firmware());
        QVERIFY(unexpected().contains(QLatin1String("=OK Search ID=7, BKNum=0")));
        QCOMPARE(f.sim->overtakingCommands(), QByteArrayList());
        QCOMPARE(f.sim->commands().mid(leftAt() + 1, 7), QByteArrayList{"\x03"} + wire_n::infoQuery);
    }

    // An enrolment or a search is left for the delete page with an empty personal ID, and "Remove all
    // finger" is pressed while the late answer is still to come: the late answer changes nothing, the
    // deletion is answered by its own reply, and no one's fingers are read afterwards.
    void leavingForTheDeletePage_data()
    {
        QTest::addColumn<bool>("enrolment");
        QTest::addColumn<QByteArray>("late");
        QTest::newRow("an enrolment at its third placement")
            << true << QByteArray("=OK Enroll ID=4 Group=1 BKNum=3 Quality=85");
        QTest::newRow("the search with the LED on") << false << QByteArray("=OK Search ID=7, BKNum=0");
    }
    void leavingForTheDeletePage()
    {
        QFETCH(bool, enrolment);
        QFETCH(QByteArray, late);
        if (enrolment)
        {
            f.sim->setStrangerFinger();
            f.sim->setPlacementMode(sim_t::placementManual);
            f.clickMode(opMode_t::Enroll);
            f.typePid(t().leEnrollPid(), QStringLiteral("4"));
            f.clickFinger(t().enrollHand(0), 3);
            QTest::mouseClick(t().btnEnrollStart(), Qt::LeftButton);
            QTRY_VERIFY(f.sim->isEnrolling());
            QVERIFY(f.sim->placeFinger() && f.sim->placeFinger());
            QTRY_COMPARE(f.window->statusBar()->currentMessage(),
                         QStringLiteral("Bitte Finger auflegen (3/3)"));
            f.clickMode(opMode_t::Delete);
        }
        else
        {
            whenReceived("search 0", 2, [&]() { f.clickMode(opMode_t::Delete); });
            f.clickMode(opMode_t::Train);
            QTRY_COMPARE_WITH_TIMEOUT(f.window->mode(), opMode_t::Delete, 10000);
        }
        std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Yes));
        if (!enrolment)
        {
            answerAfterTheLateAnswer("reg /clear", "=OK Clear");
            QTest::mouseClick(t().btnDeleteAll(), Qt::LeftButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(f.sim->lateAnswers().contains(late), 10000);
        QTRY_VERIFY(unexpected().endsWith(QString::fromLatin1(late)));
        if (enrolment)
        {
            QVERIFY(f.sim->hasTemplate(4, 3));
            QTRY_VERIFY(t().btnDeleteAll()->isEnabled());
            QTest::mouseClick(t().btnDeleteAll(), Qt::LeftButton);
        }
        QTRY_VERIFY(f.sim->commands().contains("reg /clear") && !f.window->chainRunning());
        QCOMPARE(f.window->state(), state_t::Delete);
        QVERIFY(f.window->stateStack().isEmpty() && t().btnDeleteAll()->isEnabled());
        const QByteArrayList lstWire = f.wireSoFar();
        QCOMPARE(lstWire.mid(lstWire.indexOf("reg /clear") - 1),
                 (QByteArrayList{"\x03", "reg /clear", "\x03"}));
        QCOMPARE(f.window->sessionRecord().operations().last().lstAnswers, QStringList{"=OK Clear"});
    }

    // The match sent with the LED off is cut short by the abort and answers late, here for another finger
    // than the one the match with the LED on sees: only the latter counts.
    void statisticsCountTheMatchWithTheLedOn()
    {
        QVERIFY(f.sim->addTemplate(7, 2));
        f.sim->setStrangerFinger();
        connect(f.sim.get(), &sim_t::commandReceived, this,
                [&](const QByteArray& p_baCommand)
                {
                    if (p_baCommand == "LedOff")
                        f.sim->setStrangerFinger();
                    else if (p_baCommand == "LedOn")
                        f.sim->setFinger(7, 2);
                });
        std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clickingText(QStringLiteral("Stop")));
        t().leMatchIdPid()->setText(QStringLiteral("7"));
        t().modeSelected(int(opMode_t::MatchIdAnalysis));
        QTRY_COMPARE_WITH_TIMEOUT(pAnswerer->count(), 1, 20000);
        QCOMPARE(t().matchIdStatistics()->toPlainText(),
                 QStringLiteral("PID: 7\n\nZyklen:    1\nHIGH:      1 100.00%\nNORMAL:    1 100.00%\n"
                                "LOW:       1 100.00%\n"));
        QCOMPARE(f.sim->lateAnswers().join('|'),
                 QByteArray("=NO MatchId NotMatched|").repeated(3).chopped(1));
        QCOMPARE(unexpected().count(QLatin1String("=NO MatchId NotMatched")), 3);
    }
};

QTEST_MAIN(tst_lateAnswers)
#include "tst_lateAnswers.moc"
