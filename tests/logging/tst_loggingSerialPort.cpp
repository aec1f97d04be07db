// Scenarios of the serial log file: what a technician finds in it after an exchange with the module.
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
// One record: time stamp, direction, lower-case hex, "\r\n".
const QRegularExpression
    recordPattern(QStringLiteral("^(\\d{8}-\\d{6}\\.\\d{3}) ([A-Z]|-?\\d+) ((?:[0-9a-f]{2})+)\r\n$"));

QByteArray readAll(const QString& p_strFn)
{
    QFile file(p_strFn);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// The file cut after each "\n", line ends kept.
QList<QByteArray> linesOf(const QByteArray& p_baFile)
{
    QList<QByteArray> lst;
    int nStart = 0;
    while (nStart < p_baFile.size())
    {
        int nEnd = p_baFile.indexOf('\n', nStart);
        nEnd = nEnd < 0 ? p_baFile.size() : nEnd + 1;
        lst.append(p_baFile.mid(nStart, nEnd - nStart));
        nStart = nEnd;
    }
    return lst;
}

struct record_t
{
    QDateTime dtStamp;
    QString strDirection;
    QByteArray baData;
};

// Every line must be a well-formed record, otherwise the test fails.
QList<record_t> recordsOf(const QString& p_strFn)
{
    QList<record_t> lst;
    for (const QByteArray& baLine : linesOf(readAll(p_strFn)))
    {
        const QRegularExpressionMatch match = recordPattern.match(QString::fromLatin1(baLine));
        if (!match.hasMatch())
        {
            qWarning() << "malformed record" << baLine;
            return {};
        }
        lst.append({QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss.zzz")),
                    match.captured(2), QByteArray::fromHex(match.captured(3).toLatin1())});
    }
    return lst;
}

// The module's side of a pseudo-terminal: the test reads what the tool wrote and answers.
class ptyDevice_c
{
public:
    ptyDevice_c()
    {
        char szName[128] = {};
        if (::openpty(&m_nMaster, &m_nSlave, szName, nullptr, nullptr) == 0)
        {
            m_strPort = QString::fromLocal8Bit(szName);
            ::fcntl(m_nMaster, F_SETFL, ::fcntl(m_nMaster, F_GETFL) | O_NONBLOCK);
        }
    }
    ~ptyDevice_c()
    {
        if (m_nMaster >= 0)
            ::close(m_nMaster);
        if (m_nSlave >= 0)
            ::close(m_nSlave);
    }
    QString portPath() const { return m_strPort; }
    // Everything the tool has written so far.
    QByteArray received()
    {
        char aBuffer[4096];
        ssize_t n;
        while ((n = ::read(m_nMaster, aBuffer, sizeof aBuffer)) > 0)
            m_baReceived.append(aBuffer, int(n));
        return m_baReceived;
    }
    bool send(const QByteArray& p_ba)
    {
        return ::write(m_nMaster, p_ba.constData(), size_t(p_ba.size())) == p_ba.size();
    }

private:
    int m_nMaster = -1;
    int m_nSlave = -1;
    QString m_strPort;
    QByteArray m_baReceived;
};
} // namespace

class tst_loggingSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void exchangeOnPseudoTerminal();
    void directionTexts_data();
    void directionTexts();
    void emptyBlocksAreNotRecorded();
    void reopeningAppends();
    void reopeningAfterCutLineStartsNewLine();
    void missingDirectoryKeepsEarlierLog();
    void partialWriteLeavesNoBrokenLine();
    void fileNameHelper_data();
    void fileNameHelper();

private:
    std::unique_ptr<QTemporaryDir> m_pDir;
};

void tst_loggingSerialPort::init()
{
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
}

void tst_loggingSerialPort::exchangeOnPseudoTerminal()
{
    // Given a module on a pseudo-terminal and a logging port opened on it,
    ptyDevice_c device;
    QVERIFY(!device.portPath().isEmpty());
    loggingSerialPort_c port(device.portPath());
    port.setBaudRate(QSerialPort::Baud115200);
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    const QString strLog = m_pDir->filePath(QStringLiteral("serial_exchange.log"));
    QVERIFY(port.openLog(strLog));
    QCOMPARE(port.logFileName(), strLog);

    // reading as the main window does: chunks of at most 1024 bytes, each handed to the log.
    QByteArray baRead;
    connect(&port, &QSerialPort::readyRead, &port,
            [&]()
            {
                while (port.bytesAvailable() > 0)
                {
                    const QByteArray baChunk = port.read(1024);
                    port.logData(loggingSerialPort_c::directionRead, baChunk);
                    baRead.append(baChunk);
                }
            });

    // when the tool sends a command line and the module answers with text, a line feed inside
    // the data and bytes that need both hex digits,
    const QDateTime dtBefore = QDateTime::currentDateTime().addMSecs(-1);
    QCOMPARE(port.write("model_fw\r\n"), qint64(10));
    QTRY_COMPARE(device.received(), QByteArray("model_fw\r\n"));
    QByteArray baReply("=OK V1.0\r\n\nA");
    baReply.append('\0').append(char(0xff)).append(char(0xab)).append("\r\n");
    QVERIFY(device.send(baReply));
    QTRY_COMPARE(baRead, baReply);
    port.closeLog();
    const QDateTime dtAfter = QDateTime::currentDateTime().addMSecs(1);

    // then the log holds one "W" record with the command line and "R" records that join to the reply.
    const QList<record_t> lstRecords = recordsOf(strLog);
    QVERIFY(lstRecords.size() >= 2);
    QCOMPARE(lstRecords.first().strDirection, QStringLiteral("W"));
    QCOMPARE(lstRecords.first().baData, QByteArray("model_fw\r\n"));
    QByteArray baLogged;
    for (int i = 1; i < lstRecords.size(); ++i)
    {
        QCOMPARE(lstRecords.at(i).strDirection, QStringLiteral("R"));
        baLogged.append(lstRecords.at(i).baData);
    }
    QCOMPARE(baLogged, baReply);
    for (const record_t& record : lstRecords)
    {
        QVERIFY(record.dtStamp.isValid());
        QVERIFY(record.dtStamp >= dtBefore && record.dtStamp <= dtAfter);
    }
    // The command line exactly as written, lower-case hex and the file's own line end.
    QVERIFY(readAll(strLog).contains(" W 6d6f64656c5f66770d0a\r\n"));
    QVERIFY(readAll(strLog).contains("00ffab0d0a\r\n"));
    QVERIFY(port.logFileName().isEmpty());
}

void tst_loggingSerialPort::directionTexts_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("read") << 0 << QByteArray("R");
    QTest::newRow("write") << 1 << QByteArray("W");
    QTest::newRow("third kind") << 2 << QByteArray("I");
    QTest::newRow("other code") << 5 << QByteArray("5");
    QTest::newRow("negative code") << -1 << QByteArray("-1");
}

void tst_loggingSerialPort::directionTexts()
{
    QFETCH(int, direction);
    QFETCH(QByteArray, text);
    loggingSerialPort_c port(QStringLiteral("COM3"));
    const QString strLog = m_pDir->filePath(QStringLiteral("codes.log"));
    QVERIFY(port.openLog(strLog));
    port.logData(direction, QByteArray("=OK\r\n"));
    const QByteArray baFile = readAll(strLog);
    QCOMPARE(baFile.mid(19), " " + text + " 3d4f4b0d0a\r\n");
    QVERIFY(QDateTime::fromString(QString::fromLatin1(baFile.left(19)), QStringLiteral("yyyyMMdd-HHmmss.zzz"))
                .isValid());
}

void tst_loggingSerialPort::emptyBlocksAreNotRecorded()
{
    loggingSerialPort_c port(QStringLiteral("COM3"));
    const QString strLog = m_pDir->filePath(QStringLiteral("empty.log"));
    QVERIFY(port.openLog(strLog));
    port.logData(0, QByteArray());
    QVERIFY(QFileInfo::exists(strLog));
    QCOMPARE(QFileInfo(strLog).size(), qint64(0));
}

void tst_loggingSerialPort::reopeningAppends()
{
    // Logging switched off and on within one second, then the same port chosen again (a new port
    // object): the same file name comes up three times and every record stays.
    const QString strLog = m_pDir->filePath(QStringLiteral("serial_20200208-143015-COM3.log"));
    {
        loggingSerialPort_c port(QStringLiteral("COM3"));
        QVERIFY(port.openLog(strLog));
        port.logData(1, "first");
        port.closeLog();
        port.logData(1, "not logged");
        QVERIFY(port.openLog(strLog));
        port.logData(0, "second");
    }
    loggingSerialPort_c portAgain(QStringLiteral("COM3"));
    QVERIFY(portAgain.openLog(strLog));
    portAgain.logData(1, "third");

    const QList<record_t> lstRecords = recordsOf(strLog);
    QCOMPARE(lstRecords.size(), 3);
    QCOMPARE(lstRecords.at(0).baData, QByteArray("first"));
    QCOMPARE(lstRecords.at(1).baData, QByteArray("second"));
    QCOMPARE(lstRecords.at(1).strDirection, QStringLiteral("R"));
    QCOMPARE(lstRecords.at(2).baData, QByteArray("third"));
}

void tst_loggingSerialPort::reopeningAfterCutLineStartsNewLine()
{
    // A log that ends in the middle of a line (the program was killed by a power cut, say):
    // the next record must not be glued to the broken line.
    const QString strLog = m_pDir->filePath(QStringLiteral("cut.log"));
    {
        QFile file(strLog);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("20200208-143015.042 R 3d4f4b0d0a\r\n20200208-143015.043 R 3d4f");
    }
    loggingSerialPort_c port(QStringLiteral("COM3"));
    QVERIFY(port.openLog(strLog));
    port.logData(1, "next");
    const QList<QByteArray> lstLines = linesOf(readAll(strLog));
    QCOMPARE(lstLines.size(), 3);
    QCOMPARE(lstLines.at(1), QByteArray("20200208-143015.043 R 3d4f\r\n"));
    QVERIFY(lstLines.at(2).endsWith(" W 6e657874\r\n"));
}

void tst_loggingSerialPort::missingDirectoryKeepsEarlierLog()
{
    loggingSerialPort_c port(QStringLiteral("COM3"));
    const QString strLog = m_pDir->filePath(QStringLiteral("running.log"));
    QVERIFY(port.openLog(strLog));
    port.logData(1, "before");

    QVERIFY(!port.openLog(m_pDir->filePath(QStringLiteral("missing/serial.log"))));
    QCOMPARE(port.logFileName(), strLog);
    QVERIFY(!QFileInfo::exists(m_pDir->filePath(QStringLiteral("missing"))));
    port.logData(0, "after");

    const QList<record_t> lstRecords = recordsOf(strLog);
    QCOMPARE(lstRecords.size(), 2);
    QCOMPARE(lstRecords.at(1).baData, QByteArray("after"));
}

void tst_loggingSerialPort::partialWriteLeavesNoBrokenLine()
{
    // A full disk, made real with a file size limit (which binds root as well): the record that
    // does not fit is lost as a whole, and the log goes on with the next one.
    loggingSerialPort_c port(QStringLiteral("COM3"));
    const QString strLog = m_pDir->filePath(QStringLiteral("full.log"));
    QVERIFY(port.openLog(strLog));
    port.logData(1, "first");
    const qint64 nSize = QFileInfo(strLog).size();

    struct rlimit limitOld;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limitOld), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limitSmall = limitOld;
    limitSmall.rlim_cur = rlim_t(nSize + 20);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limitSmall), 0);
    port.logData(0, QByteArray(100, 'x'));
    const qint64 nSizeFull = QFileInfo(strLog).size();
    ::setrlimit(RLIMIT_FSIZE, &limitOld);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(nSizeFull, nSize);

    port.logData(1, "after");
    const QList<record_t> lstRecords = recordsOf(strLog);
    QCOMPARE(lstRecords.size(), 2);
    QCOMPARE(lstRecords.at(1).baData, QByteArray("after"));
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
    const QDateTime dtStart(QDate(2020, 2, 8), QTime(14, 30, 15, 42));
    const QString strName = loggingSerialPort_c::logFileNameFor(dtStart, port);
    QCOMPARE(strName, fileName);
    // Relative and without directory: the log lands in the working directory.
    QCOMPARE(QFileInfo(strName).fileName(), strName);
}

QTEST_GUILESS_MAIN(tst_loggingSerialPort)
#include "tst_loggingSerialPort.moc"
