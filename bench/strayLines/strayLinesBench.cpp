// vindal01-bench-strayLines [lines]: a module that sends reply lines nobody asked for while model_fw waits,
// one line per read. Each line must cost the window one pass over its own bytes and one unexpected-
// response record, whatever came before it: the CPU time per line stays flat as the lines pile up.
// Goal: below 0.1 ms of CPU per line, its record included.
//
// The simulated module runs in the same process, so the figure holds its share too (one write per line).
#include "benchSupport.h"
#include "sensorSimulator.h"
#include "windowTester.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBrowser>

#include <cstdio>
#include <ctime>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

namespace
{

// Runs the event loop until the condition holds; false after ten seconds.
template <typename condition_t>
bool waitFor(condition_t p_condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!p_condition())
    {
        if (timer.elapsed() > 10000)
        {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // The debug channel would measure the terminal, not the window.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    bench_n::useOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const int nLines = argc > 1 ? qMax(1, atoi(argv[1])) : 1000;

    sensorSimulator_c sim;
    if (!sim.open())
    {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    tester.portChanged(sim.slavePath());
    if (!waitFor([&] { return window.command() == command_t::LedOn && window.received().endsWith("\r\n"); }))
    {
        std::fprintf(stderr, "the information query did not end\n");
        return 1;
    }
    sim.silenceNextCommands(1);
    tester.setState(state_t::QueryDevice);
    if (!waitFor([&] { return sim.commands().endsWith("model_fw"); }))
    {
        std::fprintf(stderr, "model_fw did not go out\n");
        return 1;
    }

    const int nSlices = 4;
    std::printf("stray lines, one per read, while model_fw waits (%d lines)\n", nLines);
    std::printf("%12s %16s\n", "lines", "CPU ms per line");
    double dTotal = 0.0;
    int nDone = 0;
    for (int nSlice = 0; nSlice < nSlices; ++nSlice)
    {
        const int nEnd = nLines * (nSlice + 1) / nSlices;
        const double dStart = bench_n::cpuSeconds();
        for (; nDone < nEnd; ++nDone)
        {
            const QByteArray baLine = "=XX stray line " + QByteArray::number(nDone);
            sim.injectLine(baLine);
            if (!waitFor([&] { return window.received().endsWith(baLine + "\r\n"); }))
            {
                std::fprintf(stderr, "line %d did not arrive\n", nDone);
                return 1;
            }
        }
        const double dSlice = bench_n::cpuSeconds() - dStart;
        dTotal += dSlice;
        const int nInSlice = nEnd - nLines * nSlice / nSlices;
        std::printf("%5d..%-6d %16.4f\n", nLines * nSlice / nSlices + 1, nEnd, dSlice * 1000.0 / nInSlice);
    }
    const int nRecords = window.unexpectedResponsesWindow()->document()->blockCount();
    std::printf("all lines: %.4f ms CPU per line (goal below 0.1 ms); %d unexpected-response records\n",
                dTotal * 1000.0 / nLines, nRecords);
    return 0;
}
