// Text helpers of the GUI tools for byte sizes, durations and time stamps.
#pragma once

#include <QString>
#include <QtGlobal>

class QDateTime;

namespace toolsGui_n
{
// A byte count in binary units (1 kB = 1024 bytes) with three significant digits, e.g. 1023, 1.00 kB, 100 kB.
QString sizeText(quint64 p_nBytes);
// A number of seconds as m:ss, h:mm:ss or "<d>d h:mm:ss"; negative values start with "- ".
QString durationText(qint64 p_nSeconds);
// A date and time in a QDateTime format with ASCII digits whatever the system's locale: file names and
// time stamps are read back by the log reader, the watchdog and scripts.
QString timeStampText(const QDateTime& p_dt, const QString& p_strFormat);
} // namespace toolsGui_n
