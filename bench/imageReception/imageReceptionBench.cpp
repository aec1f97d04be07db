// vindal01-bench-image: the CPU time the main window spends on one 256 x 288 sensor image (73,728 payload
// bytes, 6.4 s on the wire at 115200 baud) when it arrives in 64-byte and in 1-byte chunks.
//
// Three figures per chunk size:
//  - through the serial port: the image written chunk by chunk into a pseudo-terminal whose other side
//    is the window's port; each chunk is read by the window (read handler, serial log, traffic window,
//    timers, reply parser) before the next one is written. The CPU time of the writes, the adapter's
//    part, is measured separately and taken off.
//  - the reply parser alone: the chunks appended to the receive buffer and parsed.
//  - for comparison, the work the image reader did per chunk before it kept its scan position: the whole
//    buffer parsed and summed again for every chunk.
#include "benchSupport.h"
#include "sensor/replyFormat.h"
#include "windowTester.h"

#include <QApplication>
#include <QStatusBar>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace sensor_n;

namespace
{

constexpr int c_nWidth = 256;
constexpr int c_nHeight = 288;

QByteArray imageReply()
{
    QByteArray baPixels(c_nWidth * c_nHeight, '\0');
    for (int i = 0; i < baPixels.size(); ++i)
    {
        baPixels[i] = char((i * 7 + i / c_nWidth) & 0xff);
    }
    return "\r\n=OK Image Width=" + QByteArray::number(c_nWidth) +
           " Height=" + QByteArray::number(c_nHeight) +
           " Sum=" + QByteArray::number(payloadChecksum(baPixels)) + "\r\n" + baPixels;
}

double wireSeconds(const QByteArray& p_baReply)
{
    return p_baReply.size() * 10.0 / 115200.0;
}

// User and system CPU time of the process so far.
void cpuSplit(double* p_pdUser, double* p_pdSystem)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    *p_pdUser = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) * 1e-6;
    *p_pdSystem = double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) * 1e-6;
}

struct portFigures_t
{
    double dTotal = 0;
    double dAdapter = 0;
    double dUser = 0;
    double dSystem = 0;
    bool bComplete = false;
};

portFigures_t throughPort(const QByteArray& p_baReply, int p_nChunk)
{
    int nMaster = -1;
    int nSlave = -1;
    char szName[256] = {};
    if (openpty(&nMaster, &nSlave, szName, nullptr, nullptr) != 0)
    {
        return {};
    }
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    tester.portChanged(QString::fromLocal8Bit(szName));
    tester.setMode(sensor_n::mode_t::Test);
    tester.setState(state_t::Scan);
    window.sendCommand(command_t::ReadImage, {{QStringLiteral("mode"), 2}});
    QCoreApplication::processEvents();
    char aDrain[4096];
    fcntl(nMaster, F_SETFL, fcntl(nMaster, F_GETFL) | O_NONBLOCK);
    while (read(nMaster, aDrain, sizeof aDrain) > 0)
    {
    }

    portFigures_t figures;
    double dUser0 = 0;
    double dSystem0 = 0;
    cpuSplit(&dUser0, &dSystem0);
    const double dStart = bench_n::cpuSeconds();
    qint64 nFed = 0;
    for (int nAt = 0; nAt < p_baReply.size(); nAt += p_nChunk)
    {
        const int nSize = qMin(p_nChunk, p_baReply.size() - nAt);
        const double dWrite = bench_n::cpuSeconds();
        if (write(nMaster, p_baReply.constData() + nAt, size_t(nSize)) != nSize)
        {
            break;
        }
        figures.dAdapter += bench_n::cpuSeconds() - dWrite;
        nFed += nSize;
        // The window reads each chunk before the next one leaves, as with a slow line.
        while (window.command() == command_t::ReadImage && window.received().size() < nFed)
        {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    figures.dTotal = bench_n::cpuSeconds() - dStart;
    cpuSplit(&figures.dUser, &figures.dSystem);
    figures.dUser -= dUser0;
    figures.dSystem -= dSystem0;
    figures.bComplete =
        window.command() == command_t::Scan && !tester.lblImage()->pixmap(Qt::ReturnByValue).isNull();
    close(nMaster);
    close(nSlave);
    return figures;
}

double parserAlone(const QByteArray& p_baReply, int p_nChunk, bool* p_pbComplete)
{
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    tester.setMode(sensor_n::mode_t::Test);
    tester.setCommand(command_t::ReadImage);
    const double dStart = bench_n::cpuSeconds();
    for (int nAt = 0; nAt < p_baReply.size(); nAt += p_nChunk)
    {
        tester.feed(p_baReply.mid(nAt, p_nChunk));
    }
    const double dTotal = bench_n::cpuSeconds() - dStart;
    *p_pbComplete = !tester.lblImage()->pixmap(Qt::ReturnByValue).isNull();
    return dTotal;
}

double wholeBufferRescan(const QByteArray& p_baReply, int p_nChunk)
{
    const double dStart = bench_n::cpuSeconds();
    QByteArray baBuffer;
    quint64 nKeep = 0;
    for (int nAt = 0; nAt < p_baReply.size(); nAt += p_nChunk)
    {
        baBuffer.append(p_baReply.constData() + nAt, qMin(p_nChunk, p_baReply.size() - nAt));
        const imageHeader_t header = parseImageHeader(baBuffer);
        if (header.bComplete)
        {
            nKeep += payloadChecksum(baBuffer.constData() + header.nPayloadOffset,
                                     baBuffer.size() - header.nPayloadOffset);
        }
    }
    const double dTotal = bench_n::cpuSeconds() - dStart;
    if (nKeep == 1)
    {
        std::printf(" ");
    }
    return dTotal;
}

} // namespace

int main(int argc, char* argv[])
{
    bench_n::useOffscreenUnlessChosen();
    QApplication app(argc, argv);
    // One debug line per chunk is part of the reader's work; it goes nowhere here, as when nobody watches.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});

    const QByteArray baReply = imageReply();
    const double dWire = wireSeconds(baReply);
    std::printf("image %d x %d: %d bytes with header, %.2f s on the wire at 115200 baud (1%% = %.1f ms)\n",
                c_nWidth, c_nHeight, int(baReply.size()), dWire, dWire * 10.0);
    for (int nChunk : {64, 1})
    {
        const portFigures_t port = throughPort(baReply, nChunk);
        bool bParsed = false;
        const double dParser = parserAlone(baReply, nChunk, &bParsed);
        const double dRescan = wholeBufferRescan(baReply, nChunk);
        const double dTool = port.dTotal - port.dAdapter;
        std::printf("%2d-byte chunks (%d):\n", nChunk, int((baReply.size() + nChunk - 1) / nChunk));
        std::printf("  through the serial port: %8.1f ms CPU = %6.3f %% of wire time (adapter writes %.1f ms "
                    "taken off; image %s)\n",
                    dTool * 1e3, dTool / dWire * 100.0, port.dAdapter * 1e3,
                    port.bComplete ? "shown" : "NOT shown");
        std::printf(
            "    of the process's CPU time: %.1f ms in user space (the window, Qt), %.1f ms in the kernel "
            "(pseudo-terminal reads and writes of both sides, polling)\n",
            port.dUser * 1e3, port.dSystem * 1e3);
        std::printf("  reply parser alone:      %8.1f ms CPU = %6.3f %% of wire time (image %s)\n",
                    dParser * 1e3, dParser / dWire * 100.0, bParsed ? "shown" : "NOT shown");
        std::printf(
            "  whole-buffer rescan per chunk (the former reader's header parse and sum): %8.1f ms CPU = "
            "%6.3f %% of wire time\n",
            dRescan * 1e3, dRescan / dWire * 100.0);
    }
    return 0;
}
