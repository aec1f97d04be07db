// vindal01-watchdog-bench: the main window logs its dialogue with the simulated module; its running log is
// grown to a million records, then the watchdog fires: once on the whole log (what every firing cost
// before), then again and again with the last 1,000 records new, with the error-log window hidden (as the
// watchdog leaves it) and shown. Time on the GUI thread includes the events the firing leaves behind.
//
//   QT_QPA_PLATFORM=offscreen vindal01-watchdog-bench [records]
#include "benchSupport.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "viewers/serialLogModel.h"
#include "viewers/serialLogReader.h"
#include "windowTester.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using serialPort_n::loggingSerialPort_c;

namespace
{
double residentMB()
{
    return double(bench_n::residentKiB()) / 1024.0;
}

// A dialogue as the tool logs it: a command line written, its reply read in one or two pieces.
void writeRecords(loggingSerialPort_c& p_port, QRandomGenerator& p_random, int p_nCount)
{
    static const QByteArray baCommand("scan\r\n");
    for (int i = 0; i < p_nCount; ++i)
    {
        if (i % 3 == 0)
            p_port.logData(loggingSerialPort_c::directionWrite, baCommand);
        else
            p_port.logData(loggingSerialPort_c::directionRead,
                           QByteArray(1 + int(p_random.bounded(40)), char('A' + p_random.bounded(26))));
    }
}

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) * 1e-6;
}

// Wall-clock and GUI-thread CPU time of one firing with the events it leaves behind. On a machine
// shared with other work the CPU time is the figure that holds; the wall-clock time includes waiting
// for a core.
struct firing_t
{
    double dWallMs;
    double dCpuMs;
};

firing_t fire(vindal01mainWindowTester_c& p_tester)
{
    QElapsedTimer timer;
    timer.start();
    const double dCpu = threadCpuMs();
    p_tester.watchdog();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return {double(timer.nsecsElapsed()) / 1e6, threadCpuMs() - dCpu};
}

void printFirings(const char* p_pszWhat, const std::vector<firing_t>& p_vecFirings)
{
    std::vector<double> vecWall;
    std::vector<double> vecCpu;
    for (const firing_t& firing : p_vecFirings)
    {
        vecWall.push_back(firing.dWallMs);
        vecCpu.push_back(firing.dCpuMs);
    }
    std::sort(vecWall.begin(), vecWall.end());
    std::sort(vecCpu.begin(), vecCpu.end());
    std::printf("%s (%zu firings): CPU median %.2f ms, max %.2f ms; wall median %.2f ms, max %.2f ms\n",
                p_pszWhat, vecCpu.size(), vecCpu[vecCpu.size() / 2], vecCpu.back(),
                vecWall[vecWall.size() / 2], vecWall.back());
}
} // namespace

int main(int argc, char* argv[])
{
    bench_n::useOffscreenUnlessChosen();
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const int nRecords = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    const int nNew = 1000;

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    simulator_n::sensorSimulator_c sim;
    if (!sim.open())
        return 2;
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    window.serialLoggingAction()->setChecked(true);
    tester.portChanged(sim.slavePath());
    tester.enableLogging(true);
    QElapsedTimer wait;
    wait.start();
    while (window.command() != sensor_n::command_t::LedOn && wait.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    loggingSerialPort_c* pPort = window.serialPort();
    if (pPort == nullptr || pPort->logFileName().isEmpty())
        return 2;

    QRandomGenerator random(42);
    writeRecords(*pPort, random, nRecords - nNew);
    const double dFirstMB = double(QFileInfo(pPort->logFileName()).size()) / 1e6;
    const double dBefore = residentMB();
    const firing_t full = fire(tester);
    const double dAfterFull = residentMB();
    const int nFirstRows = window.serialErrorLogWindow()->model()->rowCount();

    std::vector<firing_t> vecHidden;
    for (int i = 0; i < 10; ++i)
    {
        writeRecords(*pPort, random, nNew);
        vecHidden.push_back(fire(tester));
    }
    const double dAfterHidden = residentMB();
    window.serialErrorLogWindow()->resize(1200, 800);
    window.serialErrorLogWindow()->show();
    QCoreApplication::processEvents();
    std::vector<firing_t> vecShown;
    for (int i = 0; i < 10; ++i)
    {
        writeRecords(*pPort, random, nNew);
        vecShown.push_back(fire(tester));
    }
    const double dAfterShown = residentMB();
    const int nRows = window.serialErrorLogWindow()->model()->rowCount();

    std::printf("log: %d rows at the first firing (%.1f MB), %d rows at the end (%.1f MB)\n", nFirstRows,
                dFirstMB, nRows, double(QFileInfo(pPort->logFileName()).size()) / 1e6);
    std::printf("firing on the whole log (fresh load): CPU %.1f ms, wall %.1f ms; VmRSS %.1f -> %.1f MB\n",
                full.dCpuMs, full.dWallMs, dBefore, dAfterFull);
    printFirings("firing with 1,000 new records, window hidden", vecHidden);
    printFirings("firing with 1,000 new records, window shown ", vecShown);
    std::printf("VmRSS after the hidden firings %.1f MB, after the shown firings %.1f MB (20,000 records "
                "added)\n",
                dAfterHidden, dAfterShown);
    std::printf("selected rows after the last firing: %d\n",
                int(window.serialErrorLogWindow()->table()->selectionModel()->selectedRows().size()));
    return 0;
}
