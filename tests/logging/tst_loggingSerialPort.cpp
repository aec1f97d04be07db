// The serial log file: what a technician finds in it after an exchange with the module.
#include "serialPort/loggingSerialPort.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

using serialPort_n::loggingSerialPort_c;

namespace
{
QByteArray readAll(const QString& p_strFn)
{
    QFile file(p_strFn);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The records as "direction data", with the data decoded; a line that is no well-formed record (time
// stamp, direction, lower-case hex, CR LF) or a stamp outside the given span yields "bad line".
QStringList recordsOf(const QString& p_strFn, const QDateTime& p_dtFrom = QDateTime(),
                      const QDateTime& p_dtTo = QDateTime())
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{8}-\\d{6}\\.\\d{3}) ([A-Z]|-?\\d+) ((?:[0-9a-f]{2})+)\r$"));
    QStringList lst;
    for (const QByteArray& baLine : readAll(p_strFn).split('\n'))
    {
        const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(baLine));
        const QDateTime dtStamp =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss.zzz"));
        if (baLine.isEmpty())
            continue;
        const bool bInSpan = !p_dtFrom.isValid() || (dtStamp >= p_dtFrom && dtStamp <= p_dtTo);
        lst << (match.hasMatch() && dtStamp.isValid() && bInSpan
                    ? match.captured(2) + ' ' +
                          QString::fromLatin1(QByteArray::fromHex(match.captured(3).toLatin1()))
                    : QStringLiteral("bad line ") + QString::fromLatin1(baLine));
    }
    return lst;
}
} // namespace

class tst_loggingSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void exchangeOnPseudoTerminal();
    void directionsAndEmptyBlocks();
    void reopeningAppendsAndMendsACutLine();
    void failuresKeepTheLogWhole();
    void fileNameHelper_data();
    void fileNameHelper();

private:
    QString path(const char* p_pszName) const { return m_dir.filePath(QString::fromLatin1(p_pszName)); }
    QTemporaryDir m_dir;
};

void tst_loggingSerialPort::exchangeOnPseudoTerminal()
{
    // Given a module on a pseudo-terminal and a logging port opened on it,
    int nMaster = -1, nSlave = -1;
    char aName[128] = {};
    QCOMPARE(::openpty(&nMaster, &nSlave, aName, nullptr, nullptr), 0);
    loggingSerialPort_c port(QString::fromLocal8Bit(aName));
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    QVERIFY(port.openLog(path("serial.log")));
    QCOMPARE(port.logFileName(), path("serial.log"));
    // reading as the main window does: chunks of at most 1024 bytes, each handed to the log,
    QByteArray baRead;
    connect(&port, &QSerialPort::readyRead, &port,
            [&]()
            {
                const QByteArray baChunk = port.read(1024);
                port.logData(loggingSerialPort_c::directionRead, baChunk);
                baRead.append(baChunk);
            });
    // when the tool sends a command line and the module answers with bytes of every kind,
    const QDateTime dtBefore = QDateTime::currentDateTime().addMSecs(-1);
    QCOMPARE(port.write("model_fw\r\n"), qint64(10));
    ::fcntl(nMaster, F_SETFL, ::fcntl(nMaster, F_GETFL) | O_NONBLOCK);
    QByteArray baWire;
    const auto wire = [&]()
    {
        char aBuffer[64];
        for (ssize_t n; (n = ::read(nMaster, aBuffer, sizeof aBuffer)) > 0;)
            baWire.append(aBuffer, int(n));
        return baWire;
    };
    QTRY_COMPARE(wire(), QByteArray("model_fw\r\n"));
    const QByteArray baReply("=OK V1.0\r\n\nA\0\xff\xab\r\n", 16);
    QCOMPARE(::write(nMaster, baReply.constData(), 16), ssize_t(16));
    QTRY_COMPARE(baRead, baReply);
    port.closeLog();
    QVERIFY(port.logFileName().isEmpty());
    ::close(nSlave);
    ::close(nMaster);

    // then the log holds the command line as written and read records that join to the reply.
    QStringList lstRecords =
        recordsOf(path("serial.log"), dtBefore, QDateTime::currentDateTime().addMSecs(1));
    QCOMPARE(lstRecords.takeFirst(), QStringLiteral("W model_fw\r\n"));
    QString strRead;
    for (const QString& strRecord : lstRecords)
        strRead += strRecord.startsWith(QLatin1String("R ")) ? strRecord.mid(2) : QStringLiteral("!");
    QCOMPARE(strRead, QString::fromLatin1(baReply));
    QVERIFY(readAll(path("serial.log")).contains(" W 6d6f64656c5f66770d0a\r\n"));
}

void tst_loggingSerialPort::directionsAndEmptyBlocks()
{
    loggingSerialPort_c port(QStringLiteral("COM3"));
    QVERIFY(port.openLog(path("codes.log")));
    port.logData(0, QByteArray());
    QCOMPARE(QFileInfo(path("codes.log")).size(), qint64(0));
    for (int nDirection : {0, 1, 2, 5, -1})
        port.logData(nDirection, "=OK\r\n");
    QCOMPARE(recordsOf(path("codes.log")),
             (QStringList{"R =OK\r\n", "W =OK\r\n", "I =OK\r\n", "5 =OK\r\n", "-1 =OK\r\n"}));
}

void tst_loggingSerialPort::reopeningAppendsAndMendsACutLine()
{
    // A log that ends in the middle of a line (a power cut, say): the next record starts a new line.
    {
        QFile file(path("serial.log"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("20200208-143015.042 R 3d4f4b0d0a\r\n20200208-143015.043 R 3d4f");
    }
    // Logging switched off and on, then the same port chosen again (a new port object): every record stays.
    {
        loggingSerialPort_c port(QStringLiteral("COM3"));
        QVERIFY(port.openLog(path("serial.log")));
        port.logData(1, "first");
        port.closeLog();
        port.logData(1, "not logged");
        QVERIFY(port.openLog(path("serial.log")));
        port.logData(0, "second");
    }
    loggingSerialPort_c portAgain(QStringLiteral("COM3"));
    QVERIFY(portAgain.openLog(path("serial.log")));
    portAgain.logData(1, "third");
    QCOMPARE(recordsOf(path("serial.log")),
             (QStringList{"R =OK\r\n", "R =O", "W first", "R second", "W third"}));
}

void tst_loggingSerialPort::failuresKeepTheLogWhole()
{
    loggingSerialPort_c port(QStringLiteral("COM3"));
    QVERIFY(port.openLog(path("running.log")));
    port.logData(1, "before");
    // A log in a missing directory is refused; the earlier log goes on.
    QVERIFY(!port.openLog(path("missing/serial.log")));
    QCOMPARE(port.logFileName(), path("running.log"));
    QVERIFY(!QFileInfo::exists(path("missing")));

    // A full disk, made real with a file size limit (which binds root too): the record that does not fit
    // is lost as a whole, and the log goes on with the next one.
    struct rlimit limitOld;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limitOld), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limitSmall = limitOld;
    limitSmall.rlim_cur = rlim_t(QFileInfo(path("running.log")).size() + 20);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limitSmall), 0);
    port.logData(0, QByteArray(100, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &limitOld);
    std::signal(SIGXFSZ, oldHandler);
    port.logData(0, "after");
    QCOMPARE(recordsOf(path("running.log")), (QStringList{"W before", "R after"}));
}

void tst_loggingSerialPort::fileNameHelper_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("Windows port") << "COM3"
                                  << "serial_20200208-143015-COM3.log";
    QTest::newRow("Linux pseudo-terminal") << "pts/3"
                                           << "serial_20200208-143015-pts_3.log";
    QTest::newRow("port outside /dev") << "/tmp/ttyV0"
                                       << "serial_20200208-143015-_tmp_ttyV0.log";
    QTest::newRow("Windows device path") << "\\\\.\\COM12"
                                         << "serial_20200208-143015-__._COM12.log";
}

void tst_loggingSerialPort::fileNameHelper()
{
    QFETCH(QString, port);
    QFETCH(QString, fileName);
    // Relative and without directory: the log lands in the working directory.
    QCOMPARE(loggingSerialPort_c::logFileNameFor(QDateTime(QDate(2020, 2, 8), QTime(14, 30, 15, 42)), port),
             fileName);
}

QTEST_GUILESS_MAIN(tst_loggingSerialPort)
#include "tst_loggingSerialPort.moc"
