// What the benchmarks share: the process's CPU clock and the platform they run on.
#pragma once

#include <QByteArray>
#include <QFile>

#include <ctime>

namespace bench_n
{

inline double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// The process's resident memory (VmRSS) in KiB, or -1 where the system does not say.
inline qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& baLine : status.readAll().split('\n'))
        if (baLine.startsWith("VmRSS:"))
            return baLine.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Benchmarks measure the tool's own work, so they run offscreen unless a platform is chosen.
inline void useOffscreenUnlessChosen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace bench_n
