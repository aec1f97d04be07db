#include "toolsGui/waitTools.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace toolsGui_n
{
void sleepMs(int p_nMs)
{
    if (p_nMs > 0)
        QThread::msleep(static_cast<unsigned long>(p_nMs));
}

void waitProcessingEvents(int p_nMs, QEventLoop::ProcessEventsFlags p_flags)
{
    // A monotonic clock: a wall clock set back during the wait must not stretch it.
    QElapsedTimer timer;
    timer.start();
    do
    {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(p_flags, 50);
        sleepMs(50);
    } while (timer.elapsed() < p_nMs);
}
} // namespace toolsGui_n
