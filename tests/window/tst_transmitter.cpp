// The command transmitter against the simulated module on a real serial line.
#include "commandLineTable.h"
#include "modalAnswerer.h"
#include "scratchDirectory.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "ui/images.h"
#include "windowTester.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QtTest>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

namespace
{

bool sameImage(const QPixmap& p_pixA, const QPixmap& p_pixB)
{
    return p_pixA.toImage().convertToFormat(QImage::Format_ARGB32) ==
           p_pixB.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class tst_transmitter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingAPortSendsTheFirmwareQuery();
    void everyCommandGoesOutByteForByte_data();
    void everyCommandGoesOutByteForByte();
    void cancelWritesOnlyTheAbortByte();
    void noPortSendsNothing();
    void aPortThatCannotBeOpenedShowsTheRedLamp();
    void aVanishedDeviceClosesThePortOnce();
    void stateStackPushesAndPops();
    void subStatesSendTheirEntryCommand();
    void unexpectedResponseRecord();
    void serialLogRecordsTheExchange();

private:
    void openWindowOnSimulator();

    sensorSimulator_c* m_pSim = nullptr;
    vindal01mainWindow_c* m_pWindow = nullptr;
    scratchDirectory_c* m_pDir = nullptr;
};

void tst_transmitter::init()
{
    m_pDir = new scratchDirectory_c();
    m_pSim = new sensorSimulator_c();
    QVERIFY(m_pSim->open());
    m_pWindow = new vindal01mainWindow_c();
}

void tst_transmitter::cleanup()
{
    delete m_pWindow;
    delete m_pSim;
    delete m_pDir;
}

void tst_transmitter::openWindowOnSimulator()
{
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.portChanged(m_pSim->slavePath());
    QVERIFY(m_pWindow->serialPort()->isOpen());
    // The information query runs to its end before the test goes on.
    QTRY_COMPARE(m_pSim->commands().size(), 6);
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
    m_pSim->clearRecording();
}

void tst_transmitter::openingAPortSendsTheFirmwareQuery()
{
    m_pSim->setSilent(true);
    vindal01mainWindowTester_c(*m_pWindow).portChanged(m_pSim->slavePath());
    QTRY_COMPARE(m_pSim->received(), QByteArray("model_fw\r\n"));
    QCOMPARE(m_pWindow->state(), state_t::QueryDevice);
    QCOMPARE(m_pWindow->command(), command_t::ModelFw);
    QVERIFY(sameImage(m_pWindow->portStateLabel()->pixmap(Qt::ReturnByValue),
                      images_n::lampGreen().scaledToHeight(16, Qt::SmoothTransformation)));
    QCOMPARE(m_pWindow->portStateLabel()->toolTip(),
             QStringLiteral("Port %1 geöffnet").arg(m_pSim->slavePath()));
    QVERIFY(m_pWindow->serialCommandsWindow()->toPlainText().startsWith(QLatin1String("W model_fw")));
}

void tst_transmitter::everyCommandGoesOutByteForByte_data()
{
    addCommandLineRows(false);
}

void tst_transmitter::everyCommandGoesOutByteForByte()
{
    QFETCH(command_t, command);
    QFETCH(QVariantMap, params);
    QFETCH(QByteArray, line);
    openWindowOnSimulator();
    m_pSim->setSilent(true);
    QVERIFY(m_pWindow->sendCommand(command, params));
    QTRY_COMPARE(m_pSim->received(), line);
    QCOMPARE(m_pWindow->command(), command);
    QCOMPARE(m_pWindow->commandParams(), params);
    QVERIFY(m_pWindow->received().isEmpty());
}

void tst_transmitter::cancelWritesOnlyTheAbortByte()
{
    openWindowOnSimulator();
    m_pSim->setSilent(true);
    QVERIFY(m_pWindow->sendCommand(command_t::Scan, {}));
    QTRY_COMPARE(m_pSim->received(), QByteArray("scan\r\n"));
    m_pSim->injectBytes("=NO No");
    QTRY_COMPARE(m_pWindow->received(), QByteArray("=NO No"));
    QVERIFY(m_pWindow->sendCommand(command_t::Cancel, {}));
    QTRY_COMPARE(m_pSim->received(), QByteArray("scan\r\n\x03"));
    QCOMPARE(m_pWindow->command(), command_t::Scan);
    QCOMPARE(m_pWindow->received(), QByteArray("=NO No"));
    QVERIFY(!m_pWindow->watchdogTimer()->isActive());
    // "---" empties the buffer and becomes the running command, but nothing is written.
    QVERIFY(m_pWindow->sendCommand(command_t::NoCommand, {}));
    QCOMPARE(m_pWindow->command(), command_t::NoCommand);
    QVERIFY(m_pWindow->received().isEmpty());
    QTest::qWait(100);
    QCOMPARE(m_pSim->received(), QByteArray("scan\r\n\x03"));
}

void tst_transmitter::noPortSendsNothing()
{
    QVERIFY(!m_pWindow->sendCommand(command_t::ModelFw, {}));
    QCOMPARE(m_pWindow->command(), command_t::NoCommand);
    QVERIFY(m_pWindow->commandParams().isEmpty());
    QCOMPARE(m_pWindow->state(), state_t::Initial);
    QVERIFY(sameImage(m_pWindow->portStateLabel()->pixmap(Qt::ReturnByValue),
                      images_n::lampYellow().scaledToHeight(16, Qt::SmoothTransformation)));
}

void tst_transmitter::aPortThatCannotBeOpenedShowsTheRedLamp()
{
    const QString strMissing = m_pDir->filePath(QStringLiteral("no-such-port"));
    vindal01mainWindowTester_c(*m_pWindow).portChanged(strMissing);
    QVERIFY(!m_pWindow->serialPort()->isOpen());
    QVERIFY(sameImage(m_pWindow->portStateLabel()->pixmap(Qt::ReturnByValue),
                      images_n::lampRed().scaledToHeight(16, Qt::SmoothTransformation)));
    QCOMPARE(m_pWindow->portStateLabel()->toolTip(),
             QStringLiteral("Öffnen von Port %1 fehlgeschlagen").arg(strMissing));
    QCOMPARE(m_pWindow->state(), state_t::QueryDevice);
    QCOMPARE(m_pWindow->command(), command_t::NoCommand);
    QVERIFY(m_pWindow->serialCommandsWindow()->toPlainText().isEmpty());
    QVERIFY(m_pSim->received().isEmpty());
}

void tst_transmitter::aVanishedDeviceClosesThePortOnce()
{
    openWindowOnSimulator();
    const QString strPort = m_pWindow->serialPort()->portName();
    m_pSim->vanish();
    QTRY_VERIFY(!m_pWindow->serialPort()->isOpen());
    QVERIFY(sameImage(m_pWindow->portStateLabel()->pixmap(Qt::ReturnByValue),
                      images_n::lampRed().scaledToHeight(16, Qt::SmoothTransformation)));
    QVERIFY(m_pWindow->portStateLabel()->toolTip().contains(strPort));
    QVERIFY(!m_pWindow->sendCommand(command_t::ModelFw, {}));
    // A new selection starts afresh.
    QVERIFY(m_pSim->open());
    vindal01mainWindowTester_c(*m_pWindow).portChanged(m_pSim->slavePath());
    QVERIFY(m_pWindow->serialPort()->isOpen());
    QTRY_COMPARE(m_pSim->commands().value(0), QByteArray("model_fw"));
}

void tst_transmitter::stateStackPushesAndPops()
{
    openWindowOnSimulator();
    m_pSim->setSilent(true);
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.setState(state_t::Scan);
    QVERIFY(m_pWindow->sendCommand(command_t::Search, {}));
    m_pWindow->pushState();
    QCOMPARE(m_pWindow->stateStack().size(), 1);
    tester.setState(state_t::SubIdle);
    QCOMPARE(m_pWindow->stateStack().size(), 2);
    QCOMPARE(m_pWindow->command(), command_t::ModelFw);
    m_pWindow->popSubState();
    m_pWindow->popSubState();
    QCOMPARE(m_pWindow->state(), state_t::Scan);
    QCOMPARE(m_pWindow->command(), command_t::Search);
    QVERIFY(m_pWindow->stateStack().isEmpty());
    // Pairs left behind by interrupted chains do not pile up without end: the oldest go first.
    for (int i = 0; i < vindal01mainWindow_c::maxStateStackSize + 100; ++i)
    {
        tester.setCommand(static_cast<command_t>(i % 23));
        m_pWindow->pushState();
    }
    QCOMPARE(m_pWindow->stateStack().size(), vindal01mainWindow_c::maxStateStackSize);
    QCOMPARE(m_pWindow->stateStack().last().nCommand, (vindal01mainWindow_c::maxStateStackSize + 99) % 23);
    QCOMPARE(m_pWindow->stateStack().first().nCommand, 100 % 23);
    while (!m_pWindow->stateStack().isEmpty())
    {
        m_pWindow->popSubState();
    }
    tester.setCommand(command_t::Search);
    // An empty stack leaves the running command and says Error.
    m_pWindow->popSubState();
    QCOMPARE(m_pWindow->state(), state_t::Error);
    QCOMPARE(m_pWindow->command(), command_t::Search);
}

void tst_transmitter::subStatesSendTheirEntryCommand()
{
    openWindowOnSimulator();
    m_pSim->setSilent(true);
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.setSecurityLevel(2);
    tester.setState(state_t::SubMatchId);
    QCOMPARE(m_pWindow->stateStack().size(), 1);
    QTRY_COMPARE(m_pSim->received(), QByteArray("FpSecurity 2\r\n"));
    // States without an entry command store the value and send nothing.
    tester.setState(state_t::Enroll);
    QCOMPARE(m_pWindow->state(), state_t::Enroll);
    tester.setState(state_t::SubDelPersonFingers);
    QCOMPARE(m_pWindow->stateStack().size(), 2);
    tester.setState(state_t::AnalyseSensor);
    QTRY_COMPARE(m_pSim->received(), QByteArray("FpSecurity 2\r\nreg /count\r\n"));
}

void tst_transmitter::unexpectedResponseRecord()
{
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.setMode(sensor_n::mode_t::Enroll);
    tester.setState(state_t::Enroll);
    tester.setCommand(command_t::EnrollDupFP);
    m_pWindow->addUnexpectedResponse(QStringLiteral("<b>x</b>"));
    m_pWindow->addUnexpectedResponse(QStringLiteral("second"));
    const QStringList lstRecords =
        m_pWindow->unexpectedResponsesWindow()->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lstRecords.size(), 2);
    const QRegularExpression reRecord(
        QStringLiteral(R"(^\d{4}\.\d\d\.\d\d \d\d:\d\d:\d\d\.\d{3} M1 S3 C15: <b>x</b>$)"));
    QVERIFY2(reRecord.match(lstRecords.at(0)).hasMatch(), qPrintable(lstRecords.at(0)));
    QVERIFY(lstRecords.at(1).endsWith(QLatin1String(" M1 S3 C15: second")));
}

void tst_transmitter::serialLogRecordsTheExchange()
{
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.enableLogging(true);
    tester.portChanged(m_pSim->slavePath());
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
    const QString strLog = m_pWindow->serialPort()->logFileName();
    QVERIFY(!strLog.contains(QLatin1Char('/')));
    QVERIFY(strLog.startsWith(QLatin1String("serial_")));
    QFile file(strLog);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lstRecords = file.readAll().split('\n');
    QByteArray baWritten;
    QByteArray baRead;
    const QRegularExpression reRecord(QStringLiteral(R"(^\d{8}-\d{6}\.\d{3} ([RW]) ([0-9a-f]+)\r$)"));
    for (const QByteArray& baRecord : lstRecords)
    {
        if (baRecord.isEmpty())
        {
            continue;
        }
        const QRegularExpressionMatch match = reRecord.match(QString::fromLatin1(baRecord));
        QVERIFY2(match.hasMatch(), baRecord.constData());
        (match.captured(1) == QLatin1String("W") ? baWritten : baRead) +=
            QByteArray::fromHex(match.captured(2).toLatin1());
    }
    QCOMPARE(baWritten, QByteArray("model_fw\r\ndate\r\ntime\r\nreg /count\r\nmax\r\nLedOn\r\n"));
    QCOMPARE(baRead, m_pSim->sent());
    // Switching logging off and on within the same second keeps the earlier records.
    const qint64 nSizeBefore = file.size();
    tester.enableLogging(false);
    tester.enableLogging(true);
    if (m_pWindow->serialPort()->logFileName() == strLog)
    {
        QCOMPARE(QFileInfo(strLog).size(), nSizeBefore);
    }
}

QTEST_MAIN(tst_transmitter)
#include "tst_transmitter.moc"
