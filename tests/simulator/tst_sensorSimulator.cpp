// What the window tests do not reach of the simulated module: the program itself (line rate pacing runs
// in the real timing window tests).
#include <QProcess>
#include <QSerialPort>
#include <QtTest>

class tst_sensorSimulator : public QObject
{
    Q_OBJECT

private slots:
    void programPrintsThePathAndPlaysTheModule()
    {
        QProcess program;
        program.start(
            QCoreApplication::applicationDirPath() + QStringLiteral("/vindal01-simulator"),
            {"--template", "7,3,66,12", "--finger", "7,3", "--search-delay", "0", "--firmware", "FW X"});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(program.canReadLine(), 20000);
        QSerialPort port(QString::fromLocal8Bit(program.readLine()).trimmed());
        QVERIFY(port.open(QIODevice::ReadWrite));
        QByteArray baIn;
        // Writes a command and waits until everything read ends in p_baEnd.
        const auto exchange = [&](const QByteArray& p_baCommand, const QByteArray& p_baEnd)
        {
            baIn.clear();
            port.write(p_baCommand);
            QTRY_VERIFY_WITH_TIMEOUT((baIn += port.readAll()).endsWith(p_baEnd), 20000);
        };
        exchange("model_fw\r\n", "\r\n");
        QCOMPARE(baIn, QByteArray("=OK FW X\r\n"));
        exchange("search 0\r\n", "BKNum=3\r\n");
        QCOMPARE(baIn, QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search ID=7, BKNum=3\r\n"));
        // Console commands on standard input move the finger.
        program.write("finger none\n");
        QTRY_VERIFY_WITH_TIMEOUT((exchange("scan\r\n", "\r\n"), baIn == "=NO NoFinger\r\n"), 20000);
        program.write("quit\n");
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_sensorSimulator)
#include "tst_sensorSimulator.moc"
