// The serial watchdog: a stalled dialogue with the simulated module is marked, nothing else changes.
#include "fakeudev/fakeUdev.h"
#include "modalAnswerer.h"
#include "ui/images.h"
#include "viewers/serialLogModel.h"
#include "viewers/serialLogReader.h"
#include "windowFixture.h"

#include <QTreeView>

using namespace sensor_n;

namespace
{
// A timer may fire up to 5 % early; a loaded machine only makes it later, so the wait is generous.
constexpr int g_nEarliestMs = 4700;
constexpr int g_nWaitMs = 30000;

// The last rows of the error-log window as "<direction>:<bytes>", a '*' before the selected ones.
QStringList lastRows(serialLogReader_c* p_pLog, int p_nRows)
{
    QStringList lstRows;
    const int nCount = p_pLog->model()->rowCount();
    for (int nRow = qMax(0, nCount - p_nRows); nRow < nCount; ++nRow)
        lstRows << QString(p_pLog->table()->selectionModel()->isRowSelected(nRow, QModelIndex()) ? "*" : "") +
                       p_pLog->model()->directionText(nRow) + ':' +
                       QString::fromLatin1(p_pLog->model()->bytes(nRow));
    return lstRows;
}
} // namespace

class tst_watchdog : public QObject
{
    Q_OBJECT
    windowFixture_c f;

    // Logging and watchdog on, the information query done: its completed replies stopped the timer.
    void openLogged()
    {
        f.t().enableLogging(true);
        f.window->watchdogAction()->setChecked(true);
        f.openOnSimulator();
        QVERIFY(!f.window->watchdogTimer()->isActive());
    }
    void verifyMarked(serialLogReader_c* p_pLog)
    {
        QVERIFY2(p_pLog->windowTitle().contains(QRegularExpression(R"(^Watchdog at \d{8}-\d{6}\.\d{3}$)")),
                 qPrintable(p_pLog->windowTitle()));
        QVERIFY(f.showsLamp(f.window->portStateLabel(), images_n::lampYellow()));
    }

private slots:
    void initTestCase()
    {
        // No adapter of the system is opened by the window's automatic port choice.
        QVERIFY(fakeUdev_n::isActive());
        fakeUdev_n::clearPorts();
    }
    void init() { f.start(false); }
    void cleanup() { f.stop(); }

    void silentModuleIsMarkedAfterFiveSeconds()
    {
        openLogged();
        f.sim->setSilent(true);
        QSignalSpy spy(f.window->watchdogTimer(), &QTimer::timeout);
        const QString strToolTip = f.window->portStateLabel()->toolTip();
        const state_t nState = f.window->state();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(f.window->sendCommand(command_t::RegCount, {}));
        QVERIFY(spy.wait(g_nWaitMs));
        QVERIFY2(clock.elapsed() >= g_nEarliestMs, qPrintable(QString::number(clock.elapsed())));

        // The error-log window holds the current log, the command that got no answer selected.
        serialLogReader_c* pLog = f.window->serialErrorLogWindow();
        QFile file(f.window->serialPort()->logFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const int nRecords = file.readAll().count('\n');
        QCOMPARE(pLog->model()->rowCount(), nRecords);
        QCOMPARE(lastRows(pLog, 2), QStringList({"R:=OK LedOn\r\n", "*W:reg /count\r\n"}));
        QVERIFY(!pLog->isVisible());
        verifyMarked(pLog);
        QCOMPARE(f.window->portStateLabel()->toolTip(), strToolTip);
        // It only marks: the command keeps running, the state stays, and it does not start again by itself.
        QCOMPARE(f.window->state(), nState);
        QCOMPARE(f.window->command(), command_t::RegCount);
        QVERIFY(!f.window->watchdogTimer()->isActive());
        QCOMPARE(f.wireSoFar(), QByteArrayList{"reg /count"});
    }

    void receivedBytesRestartIt_data()
    {
        QTest::addColumn<bool>("on");
        QTest::newRow("switched on") << true;
        // Switched off, a command without a reply arms nothing; only received bytes do.
        QTest::newRow("switched off") << false;
    }
    // A reply that trickles in and never completes is marked five seconds after its last byte.
    void receivedBytesRestartIt()
    {
        QFETCH(bool, on);
        openLogged();
        f.window->watchdogAction()->setChecked(on);
        f.sim->setSilent(true);
        QSignalSpy spy(f.window->watchdogTimer(), &QTimer::timeout);
        QVERIFY(f.window->sendCommand(command_t::LedOn, {}));
        QCOMPARE(f.window->watchdogTimer()->isActive(), on);
        QElapsedTimer clock;
        QByteArray baSoFar;
        for (const QByteArray& baPiece : {QByteArray("=OK"), QByteArray(" Le"), QByteArray("d")})
        {
            QTest::qWait(1000); // apart, so that a timer not restarted would fire early
            clock.start();
            f.sim->injectBytes(baPiece);
            baSoFar += baPiece;
            QTRY_COMPARE(f.window->received(), baSoFar);
        }
        QVERIFY(spy.wait(g_nWaitMs));
        QVERIFY2(clock.elapsed() >= g_nEarliestMs, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(spy.count(), 1);
        // The last run of records is the trickled reply, piece by piece.
        serialLogReader_c* pLog = f.window->serialErrorLogWindow();
        QCOMPARE(lastRows(pLog, 4), QStringList({"W:LedOn\r\n", "*R:=OK", "*R: Le", "*R:d"}));
        verifyMarked(pLog);
        QCOMPARE(f.window->command(), command_t::LedOn);
    }

    void withoutLogTheWindowKeepsItsContent()
    {
        // An earlier log, loaded by hand: one write, then a reply in two pieces.
        const QString strFile = QStringLiteral("serial_earlier.log");
        {
            serialPort_n::loggingSerialPort_c port(QStringLiteral("earlier"), nullptr);
            QVERIFY(port.openLog(strFile));
            port.logData(1, "scan\r\n");
            port.logData(0, "=NO No");
            port.logData(0, "Finger\r\n");
        }
        serialLogReader_c* pLog = f.window->serialErrorLogWindow();
        QVERIFY(pLog->slotOpenFile(strFile));
        // With no port at all, then with an open port that writes no log.
        for (bool bPort : {false, true})
        {
            if (bPort)
            {
                f.openOnSimulator();
                QVERIFY(f.window->serialPort()->logFileName().isEmpty());
                pLog->selectRows(0);
                pLog->setWindowTitle(QString());
            }
            f.t().watchdog();
            QCOMPARE(lastRows(pLog, 9), QStringList({"W:scan\r\n", "*R:=NO No", "*R:Finger\r\n"}));
            verifyMarked(pLog);
        }
    }

    void aVanishedLogFileIsReported()
    {
        openLogged();
        QVERIFY(QFile::remove(f.window->serialPort()->logFileName()));
        modalAnswerer_c answerer;
        f.t().watchdog();
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().at(0).strTitle, QStringLiteral("File open error"));
        verifyMarked(f.window->serialErrorLogWindow());
    }
};

QTEST_MAIN(tst_watchdog)
#include "tst_watchdog.moc"
