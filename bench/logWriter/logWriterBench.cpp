// vindal01-bench-logwriter: how many records per second the serial log file takes, each flushed to the
// file at once as the logging port does it, for short command lines, replies of a chunk and 1-byte chunks.
// At 115200 baud the line carries at most 11,520 bytes per second, so 11,520 one-byte records per second
// is the most a port could ever ask of the log.
#include "serialPort/loggingSerialPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/logbench-XXXXXX")
                               : QString());
    const QString strFn = dir.filePath(QStringLiteral("serial_bench.log"));
    struct case_t
    {
        const char* szWhat;
        int nBytes;
        int nRecords;
    };
    for (const case_t& c :
         {case_t{"1-byte records", 1, 50000}, case_t{"10-byte records (a command line)", 10, 50000},
          case_t{"1024-byte records (a full read chunk)", 1024, 10000}})
    {
        serialPort_n::loggingSerialPort_c port(QStringLiteral("bench"));
        if (!port.openLog(strFn))
        {
            std::printf("cannot open %s\n", qPrintable(strFn));
            return 1;
        }
        const QByteArray baData(c.nBytes, '=');
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < c.nRecords; ++i)
        {
            port.logData(i % 2, baData);
        }
        const double dSeconds = double(timer.nsecsElapsed()) / 1e9;
        port.closeLog();
        std::printf(
            "%-40s %7d records in %.3f s: %9.0f records/s, %6.1f us each, %.1f MB/s of log file (%lld "
            "bytes)\n",
            c.szWhat, c.nRecords, dSeconds, c.nRecords / dSeconds, dSeconds / c.nRecords * 1e6,
            QFileInfo(strFn).size() / dSeconds / 1e6, static_cast<long long>(QFileInfo(strFn).size()));
        QFile::remove(strFn);
    }
    return 0;
}
