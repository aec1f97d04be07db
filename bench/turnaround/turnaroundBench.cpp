// vindal01-bench-turnaround: the time from the last byte of a reply leaving the module to the next command
// arriving there, over a pseudo-terminal, for a long run of information queries and for an
// identification-like run (scan polling without a finger, then searches). 1.7 ms is what 20 bytes take
// on the wire at 115200 baud; the tool should add far less than that between two commands.
//
// The simulated module runs in the same thread and event loop as the window, so each figure holds the
// window's whole work for the reply plus two passes of the pseudo-terminal (module to window and back).
// Gaps that the dialogue makes on purpose are left out and counted apart: the abort of a search that
// runs without its LED (a 100 ms timer), and the identification display (two 2 s waits).
#include "sensorSimulator.h"
#include "windowTester.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

namespace
{

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

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

    void report(const char* p_szWhat)
    {
        std::sort(m_vecNs.begin(), m_vecNs.end());
        auto at = [this](double p_dQuantile) {
            return m_vecNs.empty() ? 0.0
                                   : double(m_vecNs[size_t(p_dQuantile * double(m_vecNs.size() - 1))]) / 1e3;
        };
        const double dCpu = cpuSeconds() - m_dCpuStart;
        std::printf(
            "%s: %zu turnarounds (%lld gaps by design left out): median %.1f us, 99th percentile %.1f us, "
            "max %.1f us; CPU time of the process (window and module) %.1f us per command\n",
            p_szWhat, m_vecNs.size(), static_cast<long long>(m_nSkipped), at(0.5), at(0.99), at(1.0),
            dCpu / double(qMax<qint64>(1, m_nCounted + m_nSkipped)) * 1e6);
        m_dCpuStart = cpuSeconds();
        m_vecNs.clear();
        m_nSkipped = 0;
        m_nCounted = 0;
    }

    QElapsedTimer m_clock;
    double m_dCpuStart = cpuSeconds();
    qint64 m_nDrained = -1;
    QByteArray m_baPrevious;
    std::vector<qint64> m_vecNs;
    qint64 m_nSkipped = 0;
    qint64 m_nCounted = 0;
    qint64 m_nCommands = 0;
    bool m_bRecording = true;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const int nQueries = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    const int nScans = argc > 2 ? QByteArray(argv[2]).toInt() : 5000;
    const int nSearches = argc > 3 ? QByteArray(argv[3]).toInt() : 3;

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

    sim.removeFinger();
    tester.modeSelected(int(sensor_n::mode_t::Train));
    if (!waitUntil([&] { return recorder.m_nCommands >= qint64(nQueries) * 7 + nScans; }, 600000))
    {
        std::printf("scan polling stalled\n");
        return 1;
    }
    recorder.report("identification: scan polling without a finger");

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
