// Fuzz target: the whole sensor dialogue of the main window fed arbitrary reply bytes under every command,
// state and mode. One window serves every input, brought back to its start before each.
//
// Input layout:
//   byte 0  running command (-1 .. 23, values outside the enum included)
//   byte 1  state entered through the window's own slot (-2 .. 12)
//   byte 2  mode (-1 .. 7)
//   byte 3  bit 0: an open port on a pseudo-terminal; bit 1: boxes answered with their escape button
//           instead of their default; bit 2: a sub-state pushed first; bit 3: control chunks (below);
//           bits 4..7: the number of templates the analysis expects
//   byte 4  security level of the statistics (-1 .. 2)
//   byte 5  chunk size (1 .. 64)
//   rest    the reply bytes, fed in chunks as the serial port delivers them. With bit 3 a chunk that
//           begins with 0x1b selects the mode of its next byte, and one that begins with 0x7f completes
//           the running command as aborted.
#include "fakeudev/fakeUdev.h"
#include "fuzzSupport.h"
#include "toolsGui/waitTools.h"
#include "windowTester.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace sensor_n;

// The identification display waits two seconds, twice, for the technician's eyes; the fuzzer has none.
// These stand in for the library's waiting helpers (the linker then leaves out the library's own), with
// one pass of the event loop where the wait would run many.
namespace toolsGui_n
{
void sleepMs(int) {}

void waitProcessingEvents(int, QEventLoop::ProcessEventsFlags p_flags)
{
    QCoreApplication::processEvents(p_flags);
}
} // namespace toolsGui_n

namespace
{

// Closes every modal box the dialogue opens as soon as it is shown, without a timer.
class boxCloser_c : public QObject
{
public:
    bool m_bEscape = false;

protected:
    bool eventFilter(QObject* p_pObject, QEvent* p_pEvent) override
    {
        auto* pBox = p_pEvent->type() == QEvent::Show ? qobject_cast<QMessageBox*>(p_pObject) : nullptr;
        QAbstractButton* pButton = pBox == nullptr ? nullptr
                                   : m_bEscape     ? pBox->escapeButton()
                                                   : pBox->defaultButton();
        pButton = pButton == nullptr && pBox != nullptr ? pBox->buttons().value(0) : pButton;
        if (p_pEvent->type() == QEvent::Show && pButton != nullptr)
            QMetaObject::invokeMethod(pButton, "click", Qt::QueuedConnection);
        else if (p_pEvent->type() == QEvent::Show && qobject_cast<QDialog*>(p_pObject) != nullptr)
            QMetaObject::invokeMethod(p_pObject, "reject", Qt::QueuedConnection);
        return false;
    }
};

struct harness_t
{
    boxCloser_c closer;
    int nMaster = -1;
    QString strSlave;

    harness_t()
    {
        fuzz_n::application().installEventFilter(&closer);
        int nSlave = -1;
        char szName[256] = {};
        // The slave stays open here too, so the master never sees a hang-up between inputs.
        if (openpty(&nMaster, &nSlave, szName, nullptr, nullptr) == 0)
            fcntl(nMaster, F_SETFL, fcntl(nMaster, F_GETFL) | O_NONBLOCK),
                strSlave = QString::fromLocal8Bit(szName);
        // The libudev stand-in lists this one port, without USB ids, so the window's automatic port choice
        // passes it by; an empty list would send Qt's serial port module scanning the whole device tree.
        qputenv(fakeUdev_n::portsVariable(),
                strSlave.isEmpty() ? QByteArray("/dev/null") : strSlave.toLocal8Bit());
        if (!fakeUdev_n::isActive())
            qWarning("the libudev stand-in is not active: every input enumerates the system's ports");
    }
    // What the window wrote to the module is of no interest.
    void drain() const
    {
        char aBuffer[4096];
        while (nMaster >= 0 && read(nMaster, aBuffer, sizeof aBuffer) > 0)
            continue;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    if (p_nSize < 6)
        return 0;
    static harness_t h;
    const uint8_t nFlags = p_pData[3];
    const int nChunk = int(p_pData[5] % 64) + 1;
    h.closer.m_bEscape = (nFlags & 2) != 0;

    static auto* s_pWindow = []
    {
        auto* pWindow = new vindal01mainWindow_c();
        fuzz_n::endOfRun().push_back([pWindow]() { delete pWindow; });
        return pWindow;
    }();
    vindal01mainWindow_c* const pWindow = s_pWindow;
    vindal01mainWindowTester_c tester(*pWindow);
    // Opening a port takes a lock file written through to the disk: an open one is kept, and the information
    // query its opening starts is started again instead.
    const bool bPort = (nFlags & 1) != 0 && !h.strSlave.isEmpty();
    tester.backToStart(bPort);
    if (bPort && pWindow->serialPort() != nullptr)
        tester.setState(state_t::QueryDevice);
    else if (bPort)
        tester.portChanged(h.strSlave);
    tester.setMode(static_cast<sensor_n::mode_t>(int(p_pData[2] % 9) - 1));
    tester.setSecurityLevel(int(p_pData[4] % 4) - 1);
    tester.setRegCount(nFlags >> 4);
    if ((nFlags & 4) != 0)
        tester.setState(state_t::SubIdle);
    tester.setState(static_cast<state_t>(int(p_pData[1] % 15) - 2));
    tester.setCommand(static_cast<command_t>(int(p_pData[0] % 25) - 1));

    const QByteArray baData = fuzz_n::bytes(p_pData + 6, p_nSize - 6);
    for (int nAt = 0; nAt < baData.size(); nAt += nChunk)
    {
        const QByteArray baChunk = baData.mid(nAt, nChunk);
        if ((nFlags & 8) != 0 && baChunk.startsWith('\x1b') && baChunk.size() > 1)
            tester.modeSelected(int(quint8(baChunk.at(1)) % 9) - 1);
        else if ((nFlags & 8) != 0 && baChunk.startsWith('\x7f'))
            pWindow->commandCompleted(pWindow->command(), QString(), true);
        else
            tester.feed(baChunk);
    }

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    h.drain();
    return 0;
}
