// The command transmitter against the simulated module on a real serial line.
#include "commandLineTable.h"
#include "ui/images.h"
#include "windowFixture.h"

#include <QPlainTextEdit>
#include <QRegularExpression>

using namespace sensor_n;

class tst_transmitter : public QObject
{
    Q_OBJECT
    windowFixture_c f;

private slots:
    void init() { f.start(false); }
    void cleanup() { f.stop(); }

    void everyCommandGoesOutByteForByte_data() { addCommandLineRows(false); }
    void everyCommandGoesOutByteForByte()
    {
        QFETCH(command_t, command);
        QFETCH(QVariantMap, params);
        QFETCH(QByteArray, line);
        f.openOnSimulator();
        f.sim->setSilent(true);
        QVERIFY(f.window->sendCommand(command, params));
        QTRY_COMPARE(f.sim->received(), line);
        QCOMPARE(f.window->command(), command);
        QCOMPARE(f.window->commandParams(), params);
        QVERIFY(f.window->received().isEmpty());
    }

    void cancelWritesOnlyTheAbortByte()
    {
        f.openOnSimulator();
        f.sim->setSilent(true);
        QVERIFY(f.window->sendCommand(command_t::Scan, {}));
        f.sim->injectBytes("=NO No");
        QTRY_COMPARE(f.window->received(), QByteArray("=NO No"));
        QVERIFY(f.window->sendCommand(command_t::Cancel, {}));
        QTRY_COMPARE(f.sim->received(), QByteArray("scan\r\n\x03"));
        QCOMPARE(f.window->command(), command_t::Scan);
        QCOMPARE(f.window->received(), QByteArray("=NO No"));
        QVERIFY(!f.window->watchdogTimer()->isActive());
        // "---" empties the buffer and becomes the running command, but nothing is written.
        QVERIFY(f.window->sendCommand(command_t::NoCommand, {}));
        QVERIFY(f.window->command() == command_t::NoCommand && f.window->received().isEmpty());
        QCOMPARE(f.wireSoFar(), QByteArrayList({"scan", "\x03"}));
        // A vanished device closes the port; a new selection starts afresh.
        const QString strPort = f.window->serialPort()->portName();
        f.sim->vanish();
        QTRY_VERIFY(!f.window->serialPort()->isOpen());
        QVERIFY(f.showsLamp(f.window->portStateLabel(), images_n::lampRed()));
        QVERIFY(f.window->portStateLabel()->toolTip().contains(strPort));
        QVERIFY(!f.window->sendCommand(command_t::ModelFw, {}));
        QVERIFY(f.sim->open());
        f.t().portChanged(f.sim->slavePath());
        QTRY_VERIFY(f.sim->commands().contains("model_fw"));
    }

    void withoutAPortNothingIsSentAndTheSerialLogRecordsTheExchange()
    {
        QVERIFY(!f.window->sendCommand(command_t::ModelFw, {}));
        QVERIFY(f.window->command() == command_t::NoCommand && f.window->commandParams().isEmpty() &&
                f.window->state() == state_t::Initial);
        QVERIFY(f.showsLamp(f.window->portStateLabel(), images_n::lampYellow()));
        // A port that cannot be opened: the red lamp.
        const QString strMissing = f.dir->filePath(QStringLiteral("no-such-port"));
        f.t().portChanged(strMissing);
        QVERIFY(!f.window->serialPort()->isOpen());
        QVERIFY(f.showsLamp(f.window->portStateLabel(), images_n::lampRed()));
        QCOMPARE(f.window->portStateLabel()->toolTip(),
                 QStringLiteral("Öffnen von Port %1 fehlgeschlagen").arg(strMissing));
        QCOMPARE(f.window->state(), state_t::QueryDevice);
        QCOMPARE(f.window->command(), command_t::NoCommand);
        QVERIFY(f.window->serialCommandsWindow()->toPlainText().isEmpty());
        f.t().enableLogging(true);
        f.t().portChanged(f.sim->slavePath());
        QTRY_COMPARE(f.sim->commands().size(), 6);
        f.settle();
        // Opening the port starts the information query, and the lamp says so.
        QCOMPARE(f.window->state(), state_t::QueryDevice);
        QVERIFY(f.showsLamp(f.window->portStateLabel(), images_n::lampGreen()));
        QCOMPARE(f.window->portStateLabel()->toolTip(),
                 QStringLiteral("Port %1 geöffnet").arg(f.sim->slavePath()));
        QVERIFY(f.window->serialCommandsWindow()->toPlainText().startsWith(QLatin1String("W model_fw")));
        const QString strLog = f.window->serialPort()->logFileName();
        QVERIFY(strLog.startsWith(QLatin1String("serial_")) && !strLog.contains('/'));
        QFile file(strLog);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray abaBytes[2]; // read, written
        const QRegularExpression reRecord(R"(^\d{8}-\d{6}\.\d{3} ([RW]) ([0-9a-f]+)\r$)");
        for (const QByteArray& baRecord : file.readAll().split('\n'))
        {
            const QRegularExpressionMatch match = reRecord.match(QString::fromLatin1(baRecord));
            QVERIFY2(baRecord.isEmpty() || match.hasMatch(), baRecord.constData());
            abaBytes[match.captured(1) == "W"] += QByteArray::fromHex(match.captured(2).toLatin1());
        }
        QCOMPARE(abaBytes[1], wire_n::infoQuery.join("\r\n") + "\r\n");
        QCOMPARE(abaBytes[0], f.sim->sent());
        // Switching logging off and on within the same second keeps the earlier records.
        const qint64 nSizeBefore = file.size();
        f.t().enableLogging(false);
        f.t().enableLogging(true);
        QVERIFY(f.window->serialPort()->logFileName() != strLog || QFileInfo(strLog).size() == nSizeBefore);
    }

    void stateStackPushesAndPops()
    {
        vindal01mainWindow_c& w = *f.window;
        // A pop gives back state and command of its push.
        f.t().setState(state_t::Scan);
        f.t().setCommand(command_t::Search);
        w.pushState();
        f.t().setState(state_t::Enroll);
        f.t().setCommand(command_t::LedOn);
        w.popSubState();
        QCOMPARE(std::make_pair(w.state(), w.command()), std::make_pair(state_t::Scan, command_t::Search));
        // Pairs left behind by interrupted chains do not pile up without end: the oldest go first.
        const int nMax = vindal01mainWindow_c::maxStateStackSize;
        for (int i = 0; i < nMax + 100; ++i)
            f.t().setCommand(static_cast<command_t>(i % 23)), w.pushState();
        QCOMPARE(w.stateStack().size(), nMax);
        QCOMPARE(w.stateStack().last().nCommand, (nMax + 99) % 23);
        QCOMPARE(w.stateStack().first().nCommand, 100 % 23);
        while (!w.stateStack().isEmpty())
            w.popSubState();
        // An empty stack leaves the running command and says Error.
        f.t().setCommand(command_t::Search);
        w.popSubState();
        QCOMPARE(std::make_pair(w.state(), w.command()), std::make_pair(state_t::Error, command_t::Search));
    }
};

QTEST_MAIN(tst_transmitter)
#include "tst_transmitter.moc"
