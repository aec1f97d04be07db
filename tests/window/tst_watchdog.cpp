// The serial watchdog: a stalled dialogue with the simulated module is marked, nothing else changes.
#include "fakeudev/fakeUdev.h"
#include "modalAnswerer.h"
#include "scratchDirectory.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "ui/images.h"
#include "viewers/serialLogModel.h"
#include "viewers/serialLogReader.h"
#include "windowTester.h"

#include <QRegularExpression>
#include <QTreeView>
#include <QtTest>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

namespace
{

// The watchdog's interval, and how long a test waits for it at most.
constexpr int g_nWatchdogMs = 5000;
constexpr int g_nWaitMs = 8000;
// A coarse timer may fire up to 5 % early.
constexpr int g_nEarliestMs = 4700;

bool showsLamp(const QLabel* p_pLabel, const QPixmap& p_pixLamp)
{
    return p_pLabel->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32) ==
           p_pixLamp.scaledToHeight(16, Qt::SmoothTransformation)
               .toImage()
               .convertToFormat(QImage::Format_ARGB32);
}

// The rows selected in the error-log window, as first and last row (-1, -1 for none).
QPair<int, int> selectedRows(serialLogReader_c* p_pReader)
{
    const QModelIndexList lstRows = p_pReader->table()->selectionModel()->selectedRows();
    int nFirst = -1;
    int nLast = -1;
    for (const QModelIndex& index : lstRows)
    {
        nFirst = nFirst < 0 ? index.row() : qMin(nFirst, index.row());
        nLast = qMax(nLast, index.row());
    }
    // The selection is one run: as many rows as the range holds.
    return lstRows.size() == (nLast - nFirst + 1) || lstRows.isEmpty() ? qMakePair(nFirst, nLast)
                                                                       : qMakePair(-2, -2);
}

} // namespace

class tst_watchdog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void silentModuleIsMarkedAfterFiveSeconds();
    void replyWithinFiveSecondsNeverFires();
    void switchedOffOnlyReceivedBytesArmIt();
    void withoutLogTheWindowKeepsItsContent();
    void aVanishedLogFileIsReported();

private:
    void openOnSimulator();

    sensorSimulator_c* m_pSim = nullptr;
    vindal01mainWindow_c* m_pWindow = nullptr;
    scratchDirectory_c* m_pDir = nullptr;
};

void tst_watchdog::initTestCase()
{
    // No adapter of the system is opened by the window's automatic port choice.
    QVERIFY(fakeUdev_n::isActive());
    fakeUdev_n::clearPorts();
}

void tst_watchdog::init()
{
    m_pDir = new scratchDirectory_c();
    m_pSim = new sensorSimulator_c();
    QVERIFY(m_pSim->open());
    m_pWindow = new vindal01mainWindow_c();
}

void tst_watchdog::cleanup()
{
    delete m_pWindow;
    delete m_pSim;
    delete m_pDir;
}

// Logging and watchdog on, the information query done: the dialogue is idle and the timer stopped.
void tst_watchdog::openOnSimulator()
{
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.enableLogging(true);
    m_pWindow->watchdogAction()->setChecked(true);
    tester.portChanged(m_pSim->slavePath());
    QVERIFY(m_pWindow->serialPort()->isOpen());
    QVERIFY(!m_pWindow->serialPort()->logFileName().isEmpty());
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
    QVERIFY(!m_pWindow->watchdogTimer()->isActive());
    QVERIFY(showsLamp(m_pWindow->portStateLabel(), images_n::lampGreen()));
    m_pSim->clearRecording();
}

void tst_watchdog::silentModuleIsMarkedAfterFiveSeconds()
{
    openOnSimulator();
    m_pSim->setSilent(true);
    QSignalSpy spy(m_pWindow->watchdogTimer(), &QTimer::timeout);
    const QString strToolTip = m_pWindow->portStateLabel()->toolTip();
    const state_t nState = m_pWindow->state();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(m_pWindow->sendCommand(command_t::RegCount, {}));
    QVERIFY(m_pWindow->watchdogTimer()->isActive());

    QVERIFY(spy.wait(g_nWaitMs));
    QVERIFY2(clock.elapsed() >= g_nEarliestMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_pSim->commands(), QByteArrayList{"reg /count"});

    // The error-log window holds the current log, the command that got no answer selected.
    serialLogReader_c* pLog = m_pWindow->serialErrorLogWindow();
    QFile file(m_pWindow->serialPort()->logFileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const int nRecords = file.readAll().count('\n');
    QCOMPARE(pLog->model()->rowCount(), nRecords);
    QCOMPARE(selectedRows(pLog), qMakePair(nRecords - 1, nRecords - 1));
    QCOMPARE(pLog->model()->directionText(nRecords - 1), QStringLiteral("W"));
    QCOMPARE(pLog->model()->bytes(nRecords - 1), QByteArray("reg /count\r\n"));
    QVERIFY(pLog->model()->directionText(nRecords - 2) == QStringLiteral("R"));
    const QRegularExpression reTitle(QStringLiteral(R"(^Watchdog at \d{8}-\d{6}\.\d{3}$)"));
    QVERIFY2(reTitle.match(pLog->windowTitle()).hasMatch(), qPrintable(pLog->windowTitle()));
    QVERIFY(!pLog->isVisible());
    QVERIFY(showsLamp(m_pWindow->portStateLabel(), images_n::lampYellow()));
    QCOMPARE(m_pWindow->portStateLabel()->toolTip(), strToolTip);

    // It only marks: the command keeps running, the state stays, and it does not fire again by itself.
    QCOMPARE(m_pWindow->state(), nState);
    QCOMPARE(m_pWindow->command(), command_t::RegCount);
    QVERIFY(!m_pWindow->watchdogTimer()->isActive());
    QCOMPARE(spy.count(), 1);
}

void tst_watchdog::replyWithinFiveSecondsNeverFires()
{
    openOnSimulator();
    m_pSim->setSilent(true);
    QSignalSpy spy(m_pWindow->watchdogTimer(), &QTimer::timeout);
    QElapsedTimer clock;
    clock.start();
    // The last command of the information query: its completion sends nothing more.
    QVERIFY(m_pWindow->sendCommand(command_t::LedOn, {}));
    QTimer::singleShot(g_nWatchdogMs / 2, m_pSim, [this]() { m_pSim->injectLine("=OK LedOn"); });

    QTRY_COMPARE(m_pWindow->received(), QByteArray("=OK LedOn\r\n"));
    // The received bytes restarted the timer; the completion stopped it.
    QVERIFY(!m_pWindow->watchdogTimer()->isActive());
    QVERIFY(!spy.wait(g_nWatchdogMs + 500 - static_cast<int>(clock.elapsed())));
    QVERIFY(showsLamp(m_pWindow->portStateLabel(), images_n::lampGreen()));
    QVERIFY(m_pWindow->serialErrorLogWindow()->windowTitle().isEmpty());
}

void tst_watchdog::switchedOffOnlyReceivedBytesArmIt()
{
    openOnSimulator();
    m_pWindow->watchdogAction()->setChecked(false);
    m_pSim->setSilent(true);
    QSignalSpy spy(m_pWindow->watchdogTimer(), &QTimer::timeout);

    // No reply at all: nothing marks it.
    QVERIFY(m_pWindow->sendCommand(command_t::LedOn, {}));
    QVERIFY(!m_pWindow->watchdogTimer()->isActive());
    QVERIFY(!spy.wait(g_nWatchdogMs + 500));
    QVERIFY(showsLamp(m_pWindow->portStateLabel(), images_n::lampGreen()));

    // A reply that trickles in and never completes: 5 s after its last byte.
    const QByteArrayList lstPieces{"=OK", " Le", "d"};
    QByteArray baSoFar;
    for (const QByteArray& baPiece : lstPieces)
    {
        m_pSim->injectBytes(baPiece);
        baSoFar += baPiece;
        QTRY_COMPARE(m_pWindow->received(), baSoFar);
        QVERIFY(m_pWindow->watchdogTimer()->isActive());
    }
    QElapsedTimer clock;
    clock.start();
    QVERIFY(spy.wait(g_nWaitMs));
    QVERIFY2(clock.elapsed() >= g_nEarliestMs, qPrintable(QString::number(clock.elapsed())));

    // The last run of records is the trickled reply, piece by piece.
    serialLogReader_c* pLog = m_pWindow->serialErrorLogWindow();
    const int nRows = pLog->model()->rowCount();
    QCOMPARE(selectedRows(pLog), qMakePair(nRows - 3, nRows - 1));
    QCOMPARE(pLog->model()->bytesOfRows(nRows - 3, nRows - 1), QByteArray("=OK Led"));
    QCOMPARE(pLog->model()->bytes(nRows - 4), QByteArray("LedOn\r\n"));
    QVERIFY(pLog->windowTitle().startsWith(QLatin1String("Watchdog at ")));
    QVERIFY(showsLamp(m_pWindow->portStateLabel(), images_n::lampYellow()));
    QCOMPARE(m_pWindow->command(), command_t::LedOn);
}

void tst_watchdog::withoutLogTheWindowKeepsItsContent()
{
    // An earlier log, loaded by hand: one write, then a reply in two pieces.
    QFile file(QStringLiteral("serial_earlier.log"));
    {
        serialPort_n::loggingSerialPort_c port(QStringLiteral("earlier"), nullptr);
        QVERIFY(port.openLog(file.fileName()));
        port.logData(1, "scan\r\n");
        port.logData(0, "=NO No");
        port.logData(0, "Finger\r\n");
    }
    serialLogReader_c* pLog = m_pWindow->serialErrorLogWindow();
    QVERIFY(pLog->slotOpenFile(file.fileName()));
    vindal01mainWindowTester_c tester(*m_pWindow);

    // No port at all.
    QVERIFY(m_pWindow->serialPort() == nullptr);
    tester.watchdog();
    QCOMPARE(pLog->model()->rowCount(), 3);
    QCOMPARE(selectedRows(pLog), qMakePair(1, 2));
    QVERIFY(pLog->windowTitle().startsWith(QLatin1String("Watchdog at ")));
    QVERIFY(showsLamp(m_pWindow->portStateLabel(), images_n::lampYellow()));

    // An open port that writes no log.
    tester.portChanged(m_pSim->slavePath());
    QVERIFY(m_pWindow->serialPort()->isOpen());
    QVERIFY(m_pWindow->serialPort()->logFileName().isEmpty());
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    pLog->selectRows(0);
    pLog->setWindowTitle(QString());
    tester.watchdog();
    QCOMPARE(pLog->model()->rowCount(), 3);
    QCOMPARE(selectedRows(pLog), qMakePair(1, 2));
    QVERIFY(pLog->windowTitle().startsWith(QLatin1String("Watchdog at ")));
    QVERIFY(showsLamp(m_pWindow->portStateLabel(), images_n::lampYellow()));
}

void tst_watchdog::aVanishedLogFileIsReported()
{
    openOnSimulator();
    QVERIFY(QFile::remove(m_pWindow->serialPort()->logFileName()));
    QScopedPointer<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Ok));
    vindal01mainWindowTester_c(*m_pWindow).watchdog();
    QCOMPARE(pAnswerer->count(), 1);
    QCOMPARE(pAnswerer->seen().at(0).strTitle, QStringLiteral("File open error"));
    serialLogReader_c* pLog = m_pWindow->serialErrorLogWindow();
    QVERIFY(pLog->windowTitle().startsWith(QLatin1String("Watchdog at ")));
    QVERIFY(showsLamp(m_pWindow->portStateLabel(), images_n::lampYellow()));
}

QTEST_MAIN(tst_watchdog)
#include "tst_watchdog.moc"
