// A keyboard or mouse for the application under test: a FIFO under /dev/shm (Qt's evdev input only takes
// device paths there) into which the test writes kernel input events. Qt reads them through a socket
// notifier and queues them as user input, exactly as for a real device, so a wait that holds back user
// input holds them back too. Create it before the QApplication: the plugin is chosen at start-up. A
// keyboard and a mouse may be used together.
#pragma once

#include <QByteArray>
#include <QPoint>

#include <array>
#include <iterator>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/stat.h>
#include <unistd.h>

class fifoInputDevice_c
{
public:
    // p_szKind is "keyboard" or "mouse"; p_baOptions are appended to the plugin's device path.
    fifoInputDevice_c(const char* p_szKind, const QByteArray& p_baOptions = QByteArray())
    {
        m_baPath =
            "/dev/shm/vindal01-tst-" + QByteArray(p_szKind) + '-' + QByteArray::number(qint64(::getpid()));
        ::unlink(m_baPath.constData());
        // Kept open for reading and writing, so that the reader never sees the end of the stream.
        if (::mkfifo(m_baPath.constData(), 0600) != 0 ||
            (m_nFd = ::open(m_baPath.constData(), O_RDWR | O_NONBLOCK)) < 0)
            return;
        qunsetenv("QT_QPA_EVDEV_" + QByteArray(p_szKind).toUpper() + "_PARAMETERS");
        const QByteArray baOthers = qgetenv("QT_QPA_GENERIC_PLUGINS");
        qputenv("QT_QPA_GENERIC_PLUGINS", (baOthers.isEmpty() ? QByteArray() : baOthers + ',') + "evdev" +
                                              QByteArray(p_szKind) + ':' + m_baPath + p_baOptions);
    }
    ~fifoInputDevice_c()
    {
        if (m_nFd >= 0)
            ::close(m_nFd);
        ::unlink(m_baPath.constData());
    }
    fifoInputDevice_c(const fifoInputDevice_c&) = delete;
    fifoInputDevice_c& operator=(const fifoInputDevice_c&) = delete;

    bool isOpen() const { return m_nFd >= 0; }

    // A key pressed and released; several keys (a chord such as Ctrl+Shift+M) are pressed in order and
    // released in reverse.
    bool type(unsigned short p_nKeyCode) { return chord({p_nKeyCode}); }
    bool chord(std::initializer_list<unsigned short> p_keys)
    {
        std::vector<std::array<int, 3>> events;
        for (unsigned short nKey : p_keys)
            events.insert(events.end(), {{EV_KEY, nKey, 1}, {EV_SYN, SYN_REPORT, 0}});
        for (auto it = std::rbegin(p_keys); it != std::rend(p_keys); ++it)
            events.insert(events.end(), {{EV_KEY, *it, 0}, {EV_SYN, SYN_REPORT, 0}});
        return write(events);
    }

    // A left click at a point of the screen. The pointer is first pushed into the top left corner (the
    // position is clamped there), then moved by the point's coordinates. The reader ignores the motion
    // of its very first report.
    bool clickAt(const QPoint& p_ptGlobal)
    {
        return write({{EV_REL, REL_X, 1},
                      {EV_SYN, SYN_REPORT, 0},
                      {EV_REL, REL_X, -100000},
                      {EV_REL, REL_Y, -100000},
                      {EV_SYN, SYN_REPORT, 0},
                      {EV_REL, REL_X, p_ptGlobal.x()},
                      {EV_REL, REL_Y, p_ptGlobal.y()},
                      {EV_SYN, SYN_REPORT, 0},
                      {EV_KEY, BTN_LEFT, 1},
                      {EV_SYN, SYN_REPORT, 0},
                      {EV_KEY, BTN_LEFT, 0},
                      {EV_SYN, SYN_REPORT, 0}});
    }

private:
    // All events (type, code, value) in one write, so that the reader never sees half a report.
    bool write(const std::vector<std::array<int, 3>>& p_events)
    {
        QByteArray baEvents;
        for (const auto& e : p_events)
        {
            input_event event = {};
            std::tie(event.type, event.code, event.value) =
                std::make_tuple(quint16(e[0]), quint16(e[1]), e[2]);
            baEvents.append(reinterpret_cast<const char*>(&event), sizeof(event));
        }
        return m_nFd >= 0 && ::write(m_nFd, baEvents.constData(), size_t(baEvents.size())) == baEvents.size();
    }

    QByteArray m_baPath;
    int m_nFd = -1;
};
