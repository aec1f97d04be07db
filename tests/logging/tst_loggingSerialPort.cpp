// The serial log file: record format, appending, and what failures leave (the window tests log a whole
// exchange with the simulated module). CTest runs this also under Arabic and Persian settings, whose own
// digits must stay out of names and time stamps: the log reader, the watchdog and scripts read them back
// (tst_viewers, run there too, reads logs back through the log reader).
#include "serialPort/loggingSerialPort.h"
#include "ui/keepResults.h"
#include "ui/vindal01mainWindow.h"
#include "viewers/serialLogReader.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

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
        QStringLiteral("^([0-9]{8}-[0-9]{6}\\.[0-9]{3}) ([A-Z]|-?[0-9]+) ((?:[0-9a-f]{2})+)\r$"));
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
    void directionsAndEmptyBlocks()
    {
        loggingSerialPort_c port(QStringLiteral("COM3"));
        const QDateTime dtBefore = QDateTime::currentDateTime().addMSecs(-1);
        QVERIFY(port.openLog(path("codes.log")));
        QCOMPARE(port.logFileName(), path("codes.log"));
        port.logData(0, QByteArray());
        QCOMPARE(QFileInfo(path("codes.log")).size(), qint64(0));
        for (int nDirection : {0, 1, 2, 5, -1})
            port.logData(nDirection, "=OK\r\n");
        port.closeLog();
        port.logData(1, "not logged");
        QVERIFY(port.logFileName().isEmpty());
        QCOMPARE(recordsOf(path("codes.log"), dtBefore, QDateTime::currentDateTime().addMSecs(1)),
                 (QStringList{"R =OK\r\n", "W =OK\r\n", "I =OK\r\n", "5 =OK\r\n", "-1 =OK\r\n"}));
    }
    void reopeningAppendsAndMendsACutLine()
    {
        // A log that ends in the middle of a line (a power cut, say): the next record starts a new line.
        {
            QFile file(path("serial.log"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("20200208-143015.042 R 3d4f4b0d0a\r\n20200208-143015.043 R 3d4f");
        }
        // Logging switched off and on, then the same port chosen again (a new port object): every record
        // stays.
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
    void failuresKeepTheLogWhole()
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
    void namesAndStamps()
    {
        // Relative and without directory: the log lands in the working directory.
        const QDateTime dt(QDate(2020, 2, 8), QTime(14, 30, 15, 42));
        QStringList lstNames{keepResults_n::imageFileName(dt), keepResults_n::tableFileName(dt)};
        for (const char* pszPort : {"COM3", "pts/3", "/tmp/ttyV0", "\\\\.\\COM12"})
            lstNames << loggingSerialPort_c::logFileNameFor(dt, pszPort);
        QCOMPARE(lstNames, QStringList({"fingerprint-20200208-143015.png", "templates-20200208-143015.csv",
                                        "serial_20200208-143015-COM3.log", "serial_20200208-143015-pts_3.log",
                                        "serial_20200208-143015-_tmp_ttyV0.log",
                                        "serial_20200208-143015-__._COM12.log"}));
        // The window's stamps: an unexpected response, the watchdog's mark on the error-log window.
        vindal01mainWindow_c window;
        window.addUnexpectedResponse(QStringLiteral("=OK"));
        QVERIFY(QMetaObject::invokeMethod(&window, "slotWatchdog"));
        const QRegularExpression stamp("[0-9]{4}\\.?[0-9]{2}\\.?[0-9]{2}[ -][0-9:]{6,8}\\.[0-9]{3}");
        QCOMPARE(window.unexpectedResponsesWindow()->toPlainText().count(stamp) +
                     window.serialErrorLogWindow()->windowTitle().count(stamp),
                 2);
    }

private:
    QString path(const char* p_pszName) const { return m_dir.filePath(QString::fromLatin1(p_pszName)); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_loggingSerialPort)
#include "tst_loggingSerialPort.moc"
