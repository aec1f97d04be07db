// What the window tests do not reach of the simulated module: line rate pacing and the program itself.
#include "sensorSimulator.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QtTest>

class tst_sensorSimulator : public QObject
{
    Q_OBJECT

private slots:
    void lineRatePacingTakesTheLineTime();
    void programPrintsThePathAndPlaysTheModule();

private:
    // Writes a command and waits until the answer ends in p_baEnd.
    static QByteArray exchange(QSerialPort* p_pPort, const QByteArray& p_baCommand, const QByteArray& p_baEnd)
    {
        QByteArray baIn;
        p_pPort->write(p_baCommand);
        QElapsedTimer clock;
        clock.start();
        while (!baIn.endsWith(p_baEnd) && clock.elapsed() < 20000)
            if (p_pPort->waitForReadyRead(100))
                baIn += p_pPort->readAll();
        return baIn;
    }
};

void tst_sensorSimulator::lineRatePacingTakesTheLineTime()
{
    // 2304 bytes at 11520 bytes per second take at least 200 ms on the line.
    simulator_n::sensorSimulator_c sim;
    QVERIFY2(sim.open(), qPrintable(sim.errorString()));
    QVERIFY(sim.setImage(48, 48, QByteArray(48 * 48, char(0x7F))));
    sim.setLineRatePacing(true);
    QSerialPort port(sim.slavePath());
    QVERIFY(port.open(QIODevice::ReadWrite));
    QElapsedTimer clock;
    clock.start();
    QByteArray baIn;
    port.write("read_image2\r\n");
    QTRY_VERIFY_WITH_TIMEOUT((baIn += port.readAll()).size() >= 48 * 48 + 20, 20000);
    QVERIFY2(clock.elapsed() >= 190, qPrintable(QString::number(clock.elapsed())));
}

void tst_sensorSimulator::programPrintsThePathAndPlaysTheModule()
{
    QProcess program;
    program.start(
        QCoreApplication::applicationDirPath() + QStringLiteral("/vindal01-simulator"),
        {"--template", "7,3,66,12", "--finger", "7,3", "--search-delay", "0", "--firmware", "FW X"});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(program.canReadLine(), 20000);
    QSerialPort port(QString::fromLocal8Bit(program.readLine()).trimmed());
    QVERIFY(port.open(QIODevice::ReadWrite));
    QCOMPARE(exchange(&port, "model_fw\r\n", "\r\n"), QByteArray("=OK FW X\r\n"));
    QCOMPARE(exchange(&port, "search 0\r\n", "BKNum=3\r\n"),
             QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search ID=7, BKNum=3\r\n"));
    // Console commands on standard input move the finger.
    program.write("finger none\n");
    QTRY_COMPARE_WITH_TIMEOUT(exchange(&port, "scan\r\n", "\r\n"), QByteArray("=NO NoFinger\r\n"), 20000);
    program.write("quit\n");
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(tst_sensorSimulator)
#include "tst_sensorSimulator.moc"
