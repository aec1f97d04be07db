// vindal01-bench-turnaround: the time from the last byte of a reply leaving the module to the next command
// arriving there, over a pseudo-terminal, for a long run of information queries and for an
// identification-like run (scan polling without a finger, then searches). 1.7 ms is what 20 bytes take
// on the wire at 115200 baud; the tool should add far less than that between two commands.
//
// The simulated module runs in the same thread and event loop as the window, so each figure holds the
// window's whole work for the reply plus two passes of the pseudo-terminal (module to window and back).
// Gaps that the dialogue makes on purpose are left out and counted apart: the abort of a search that
// runs without its LED (a 100 ms timer), and the identification display (two 2 s waits).
//
// The scan polling is measured beside its floor: a bare client on the same pseudo-terminal that only
// answers each reply line with the next "scan" command. Rounds of the tool and of the bare client take
// turns, so both see the same load on the machine.
//
//   vindal01-bench-turnaround [queries] [scans] [searches] [rounds]
#include "benchSupport.h"
#include "sensorSimulator.h"
#include "windowTester.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSerialPort>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

namespace
{

class recorder_c
{
public:
    explicit recorder_c(sensorSimulator_c& p_sim)
    {
        m_clock.start();
        QObject::connect(&p_sim, &sensorSimulator_c::outputDrained,
                         [this] { m_nDrained = m_clock.nsecsElapsed(); });
        QObject::connect(&p_sim, &sensorSimulator_c::commandReceived,
                         [this](const QByteArray& p_baCommand)
                         {
                             const qint64 nNow = m_clock.nsecsElapsed();
                             const bool bAbort = p_baCommand == "\x03";
                             const bool bByDesign = bAbort || m_baPrevious == "\x03" ||
                                                    m_baPrevious.startsWith("search") ||
                                                    m_baPrevious.startsWith("matchId");
                             if (m_nDrained >= 0 && m_bRecording)
                             {
                                 (bByDesign ? m_nSkipped : m_nCounted) += 1;
                                 if (!bByDesign)
                                 {
                                     m_vecNs.push_back(nNow - m_nDrained);
                                 }
                             }
                             m_nDrained = -1;
                             m_baPrevious = p_baCommand;
                             ++m_nCommands;
                         });
    }

    void setRecording(bool p_bOn)
    {
        if (p_bOn && !m_bRecording)
        {
            // A reply that drained before the recording began is not this recording's.
            m_nDrained = -1;
            m_dCpuStart = bench_n::cpuSeconds();
        }
        else if (!p_bOn && m_bRecording)
        {
            m_dCpuRecorded += bench_n::cpuSeconds() - m_dCpuStart;
        }
        m_bRecording = p_bOn;
    }

    void report(const char* p_szWhat)
    {
        setRecording(false);
        std::sort(m_vecNs.begin(), m_vecNs.end());
        auto at = [this](double p_dQuantile) {
            return m_vecNs.empty() ? 0.0
                                   : double(m_vecNs[size_t(p_dQuantile * double(m_vecNs.size() - 1))]) / 1e3;
        };
        const double dCpu = m_dCpuRecorded;
        std::printf(
            "%s: %zu turnarounds (%lld gaps by design left out): median %.1f us, 99th percentile %.1f us, "
            "max %.1f us; CPU time of the process (window and module) %.1f us per command\n",
            p_szWhat, m_vecNs.size(), static_cast<long long>(m_nSkipped), at(0.5), at(0.99), at(1.0),
            dCpu / double(qMax<qint64>(1, m_nCounted + m_nSkipped)) * 1e6);
        m_dCpuRecorded = 0;
        m_vecNs.clear();
        m_nSkipped = 0;
        m_nCounted = 0;
    }

    QElapsedTimer m_clock;
    double m_dCpuStart = bench_n::cpuSeconds();
    double m_dCpuRecorded = 0;
    qint64 m_nDrained = -1;
    QByteArray m_baPrevious;
    std::vector<qint64> m_vecNs;
    qint64 m_nSkipped = 0;
    qint64 m_nCounted = 0;
    qint64 m_nCommands = 0;
    bool m_bRecording = true;
};

// The floor: a client that does nothing but answer each reply line with the next command.
class bareClient_c
{
public:
    bool open(const QString& p_strPort)
    {
        m_port.setPortName(p_strPort);
        if (!m_port.open(QIODevice::ReadWrite))
        {
            return false;
        }
        m_port.setBaudRate(QSerialPort::Baud115200);
        QObject::connect(&m_port, &QSerialPort::readyRead,
                         [this]
                         {
                             m_baBuffer += m_port.readAll();
                             for (int nEnd = m_baBuffer.indexOf("\r\n"); nEnd >= 0;
                                  nEnd = m_baBuffer.indexOf("\r\n"))
                             {
                                 m_baBuffer.remove(0, nEnd + 2);
                                 m_port.write("scan\r\n");
                             }
                         });
        m_port.write("scan\r\n");
        return true;
    }

    void close()
    {
        QObject::disconnect(&m_port, nullptr, nullptr, nullptr);
        m_port.close();
        m_baBuffer.clear();
    }

private:
    QSerialPort m_port;
    QByteArray m_baBuffer;
};

bool waitUntil(const std::function<bool()>& p_fnDone, int p_nMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!p_fnDone())
    {
        if (timer.elapsed() > p_nMs)
        {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    bench_n::useOffscreenUnlessChosen();
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const int nQueries = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    const int nScans = argc > 2 ? QByteArray(argv[2]).toInt() : 5000;
    const int nSearches = argc > 3 ? QByteArray(argv[3]).toInt() : 3;
    const int nRounds = qMax(1, argc > 4 ? QByteArray(argv[4]).toInt() : 10);

    sensorSimulator_c sim;
    sim.addTemplate(7, 3);
    if (!sim.open())
    {
        return 2;
    }
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    recorder_c recorder(sim);
    tester.portChanged(sim.slavePath());

    for (int i = 0; i < nQueries; ++i)
    {
        const qint64 nBefore = recorder.m_nCommands;
        tester.modeSelected(int(sensor_n::mode_t::Info));
        if (!waitUntil([&]
                       { return recorder.m_nCommands >= nBefore + 7 && window.received().endsWith("\r\n"); },
                       2000))
        {
            std::printf("information query %d did not complete\n", i);
            return 1;
        }
        if (i % 50 == 49)
        {
            sim.clearRecording();
        }
    }
    recorder.report("information queries (model_fw, date, time, reg /count, max, LedOn)");

    // Scan polling, the tool and the bare client in turns.
    recorder.setRecording(false);
    recorder_c tool(sim);
    recorder_c bare(sim);
    bareClient_c client;
    tool.setRecording(false);
    bare.setRecording(false);
    sim.removeFinger();
    for (int nRound = 0; nRound < nRounds; ++nRound)
    {
        const qint64 nPerRound = nScans / nRounds;
        tester.modeSelected(int(sensor_n::mode_t::Train));
        tool.setRecording(true);
        const qint64 nToolTarget = tool.m_nCommands + nPerRound;
        if (!waitUntil([&] { return tool.m_nCommands >= nToolTarget; }, 600000))
        {
            std::printf("scan polling stalled\n");
            return 1;
        }
        tool.setRecording(false);
        tester.portChanged(QString());
        if (!client.open(sim.slavePath()))
        {
            std::printf("bare client: cannot open the pseudo-terminal\n");
            return 1;
        }
        bare.setRecording(true);
        const qint64 nBareTarget = bare.m_nCommands + nPerRound;
        if (!waitUntil([&] { return bare.m_nCommands >= nBareTarget; }, 600000))
        {
            std::printf("bare client stalled\n");
            return 1;
        }
        bare.setRecording(false);
        client.close();
        sim.clearRecording();
        tester.portChanged(sim.slavePath());
        waitUntil([&] { return window.command() == command_t::LedOn && window.received().endsWith("\r\n"); },
                  2000);
    }
    tool.report("identification: scan polling without a finger, the tool");
    bare.report("identification: scan polling without a finger, bare client (floor)");
    recorder.setRecording(true);

    tester.modeSelected(int(sensor_n::mode_t::Train));
    for (int i = 0; i < nSearches; ++i)
    {
        sim.setFinger(7, 3);
        const qint64 nBefore = recorder.m_nCommands;
        // scan, LedOff, search (no LED), abort, LedOn, search, then scan again after the display.
        waitUntil([&] { return recorder.m_nCommands >= nBefore + 7; }, 10000);
        sim.removeFinger();
        waitUntil([&] { return recorder.m_nCommands >= nBefore + 9; }, 10000);
    }
    recorder.report("identification: searches (scan, LedOff, LedOn, search, scan)");
    tester.modeSelected(int(sensor_n::mode_t::Info));
    return 0;
}
