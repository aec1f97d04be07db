// vindal01-soak: drives the main window against the simulated module, unpaced, for as long as a shift:
// information queries, finger-list walks, sensor analyses, image captures, match-id chains, match
// statistics (the box answered at once) and a few identifications, with aborts, mode changes in the
// middle of chains, silent replies and garbled lines thrown in. It samples the process's memory and the
// state stack while it runs, and at the end checks that the tool still answers an information query.
//
//   QT_QPA_PLATFORM=offscreen vindal01-soak [--seconds N] [--seed S] [--log] [--low-bounds] [--technician]
//
// --technician replaces the scripted rounds by a random technician who clicks and types through the window
// system's input queue on the shown window (randomTechnician.h): the tool's memory under a shift of hurried
// use, the adapter lost and chosen again among it.
//
// --low-bounds sets the traffic and unexpected-response windows to 500 lines, the state stack to 32
// pairs and the receive buffer to 1 KiB (and garbles with up to 1,500 bytes), so that every bounded
// store reaches its bound within minutes and what still grows afterwards shows.
//
// Prints its figures; the exit code is 0 when the final information query completed.
#include "benchSupport.h"
#include "modalAnswerer.h"
#include "randomTechnician.h"
#include "sensorSimulator.h"
#include "windowTester.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>
#include <functional>
#include <malloc.h>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

namespace
{

// Receive-buffer overflows seen on the debug channel: the receive buffer reached its bound.
int g_nReceiveDrops = 0;

struct sample_t
{
    qint64 nMs;
    qint64 nRssKiB;
    int nStack;
    qint64 nCycles;
    int nUnexpectedLines;
    int nTrafficLines;
    // VmRSS once the allocator has handed its free memory back: what is still in use.
    qint64 nInUseKiB;
};

class soak_c
{
public:
    soak_c(sensorSimulator_c& p_sim, vindal01mainWindow_c& p_window, quint32 p_nSeed)
        : m_sim(p_sim), m_window(p_window), m_tester(p_window), m_random(p_nSeed)
    {
        QObject::connect(&m_sim, &sensorSimulator_c::commandReceived,
                         [this](const QByteArray& p_baCommand)
                         {
                             ++m_nCommands;
                             (void)p_baCommand;
                         });
    }

    // Processes events until the condition holds or the time is up.
    bool waitUntil(const std::function<bool()>& p_fnDone, int p_nMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (!p_fnDone())
        {
            if (timer.elapsed() > p_nMs)
            {
                ++m_nTimeouts;
                ++m_mapTimeouts[m_szPhase];
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            m_nMaxReceived = qMax(m_nMaxReceived, qint64(m_window.received().size()));
        }
        return true;
    }

    // Waits until the module has received p_nMore commands more than now, or the time is up.
    bool waitCommands(int p_nMore, int p_nMs)
    {
        const qint64 nTarget = m_nCommands + p_nMore;
        return waitUntil([this, nTarget] { return m_nCommands >= nTarget; }, p_nMs);
    }

    bool infoQuery()
    {
        m_szPhase = "information query";
        m_tester.modeSelected(int(sensor_n::mode_t::Info));
        const bool bDone = waitUntil(
            [this]
            {
                return m_window.command() == command_t::LedOn && m_window.received().endsWith("\r\n") &&
                       m_tester.lblFirmware()->text() == m_sim.firmware();
            },
            2000);
        m_nInfoQueries += bDone;
        return bDone;
    }

    bool fingerWalk(int p_nPid)
    {
        m_szPhase = "finger-list walk";
        m_tester.modeSelected(int(sensor_n::mode_t::Enroll));
        const int nStack = m_window.stateStack().size();
        m_tester.leEnrollPid()->setText(
            QString::number(p_nPid == m_tester.leEnrollPid()->text().toInt() ? p_nPid + 1000 : p_nPid));
        const bool bDone = waitUntil(
            [this, nStack]
            {
                return m_window.state() == state_t::Enroll && m_window.stateStack().size() == nStack &&
                       m_window.command() == command_t::LedOn && m_tester.fingerFlags().size() == 10;
            },
            2000);
        m_nFingerWalks += bDone;
        return bDone;
    }

    bool analysis()
    {
        m_szPhase = "analysis";
        m_tester.modeSelected(int(sensor_n::mode_t::AnalyseSensor));
        const int nTemplates = m_sim.templateCount();
        const bool bDone = waitUntil(
            [this, nTemplates]
            {
                return m_tester.treeTemplates()->topLevelItemCount() == nTemplates &&
                       m_window.statusBar()->currentMessage().isEmpty() && m_window.received().size() > 0 &&
                       (m_window.command() == command_t::RegGet ||
                        m_window.command() == command_t::TempalteFormat);
            },
            3000);
        m_nAnalyses += bDone;
        return bDone;
    }

    bool images(int p_nCount)
    {
        m_szPhase = "images";
        m_tester.modeSelected(int(sensor_n::mode_t::Test));
        int nImages = 0;
        const auto connection = QObject::connect(&m_sim, &sensorSimulator_c::commandReceived,
                                                 [&nImages](const QByteArray& p_baCommand)
                                                 { nImages += p_baCommand.startsWith("read_image"); });
        const bool bDone = waitUntil([&nImages, p_nCount] { return nImages > p_nCount; }, 4000);
        QObject::disconnect(connection);
        m_nImages += qMax(0, nImages - 1);
        return bDone;
    }

    // The match-id chain of the statistics without their box: it ends by itself after MatchId.
    bool matchIdChain()
    {
        m_szPhase = "match-id chain";
        m_tester.modeSelected(int(sensor_n::mode_t::MatchIdAnalysis));
        m_tester.setState(state_t::IdentificationStatistics);
        const int nStack = m_window.stateStack().size();
        const bool bDone = waitUntil(
            [this, nStack]
            {
                return m_window.state() == state_t::IdentificationStatistics &&
                       m_window.command() == command_t::MatchId && m_window.stateStack().size() == nStack &&
                       m_window.received().endsWith("\r\n");
            },
            3000);
        m_nMatchIdChains += bDone;
        return bDone;
    }

    // Match statistics for p_nBoxes full rounds of three levels; the last box is answered with Stop.
    bool matchStatistics(int p_nBoxes)
    {
        m_szPhase = "match statistics";
        int nSeen = 0;
        modalAnswerer_c answerer(
            [&nSeen, p_nBoxes](QWidget* p_pWidget)
            {
                auto* pBox = qobject_cast<QMessageBox*>(p_pWidget);
                if (pBox == nullptr)
                {
                    return;
                }
                ++nSeen;
                const QString strWanted = nSeen >= p_nBoxes ? QStringLiteral("Stop") : QStringLiteral("Ok");
                for (QAbstractButton* pButton : pBox->buttons())
                {
                    if (pButton->text() == strWanted)
                    {
                        pButton->click();
                        return;
                    }
                }
                pBox->reject();
            });
        m_tester.modeSelected(int(sensor_n::mode_t::MatchIdAnalysis));
        const bool bDone = waitUntil([&nSeen, p_nBoxes] { return nSeen >= p_nBoxes; }, 3000 * p_nBoxes);
        m_nStatisticsRounds += nSeen;
        return bDone;
    }

    bool identification()
    {
        m_szPhase = "identification";
        m_tester.modeSelected(int(sensor_n::mode_t::Train));
        int nScansAfterSearch = 0;
        bool bSearched = false;
        const auto connection = QObject::connect(&m_sim, &sensorSimulator_c::commandReceived,
                                                 [&](const QByteArray& p_baCommand)
                                                 {
                                                     bSearched =
                                                         bSearched || p_baCommand.startsWith("search");
                                                     nScansAfterSearch += bSearched && p_baCommand == "scan";
                                                 });
        const bool bDone = waitUntil([&nScansAfterSearch] { return nScansAfterSearch > 0; }, 8000);
        QObject::disconnect(connection);
        m_nIdentifications += bDone;
        return bDone;
    }

    // One of the troubles a real line and a real technician bring.
    void disturb()
    {
        m_szPhase = "disturbance";
        switch (m_random.bounded(6))
        {
        case 0: // an abort in the middle of a finger-list walk
            m_tester.modeSelected(int(sensor_n::mode_t::Delete));
            m_tester.leDeletePid()->setText(QString::number(m_random.bounded(1, 5)));
            waitCommands(m_random.bounded(1, 12), 500);
            m_tester.abortCommand();
            waitCommands(3, 500);
            ++m_nAborts;
            break;
        case 1: // another mode in the middle of a walk: the walk's pair stays on the stack
            m_tester.modeSelected(int(sensor_n::mode_t::Enroll));
            m_tester.leEnrollPid()->setText(
                QString::number(m_random.bounded(1, 5) + 10 * m_random.bounded(2)));
            waitCommands(m_random.bounded(1, 12), 500);
            m_tester.modeSelected(int(m_random.bounded(7)));
            waitCommands(2, 500);
            ++m_nModeChanges;
            break;
        case 2: // another mode in the middle of the match-id chain
            m_tester.modeSelected(int(sensor_n::mode_t::MatchIdAnalysis));
            m_tester.setState(state_t::IdentificationStatistics);
            waitCommands(m_random.bounded(1, 6), 800);
            m_tester.modeSelected(int(m_random.bounded(7)));
            waitCommands(2, 500);
            ++m_nModeChanges;
            break;
        case 3: // the module says nothing to a command
            m_sim.silenceNextCommands(2);
            m_tester.modeSelected(int(sensor_n::mode_t::Info));
            m_szPhase = "silence (expected)";
            waitUntil([] { return false; }, 50);
            --m_nTimeouts;
            ++m_nSilences;
            break;
        case 4: // a garbled line in the middle of a query
        {
            m_tester.modeSelected(int(sensor_n::mode_t::Info));
            waitCommands(m_random.bounded(1, 5), 500);
            QByteArray baGarbage;
            for (int i = m_random.bounded(1, 60); i > 0; --i)
            {
                baGarbage.append(char(m_random.bounded(256)));
            }
            m_sim.injectLine(m_random.bounded(2) ? "=OK " + baGarbage : baGarbage);
            waitCommands(2, 500);
            ++m_nGarbled;
            break;
        }
        default: // bytes without a line end, then a mode change
            m_tester.modeSelected(int(sensor_n::mode_t::AnalyseSensor));
            waitCommands(m_random.bounded(1, 4), 500);
            m_sim.injectBytes(
                QByteArray(m_random.bounded(1, m_nGarbageMax), char(m_random.bounded(32, 127))));
            waitCommands(1, 300);
            ++m_nGarbled;
            break;
        }
    }

    void run(qint64 p_nMs)
    {
        QElapsedTimer clock;
        clock.start();
        qint64 nNextSample = 0;
        for (qint64 nRound = 0; clock.elapsed() < p_nMs; ++nRound)
        {
            if (clock.elapsed() >= nNextSample)
            {
                m_lstSamples.append({clock.elapsed(), bench_n::residentKiB(),
                                     int(m_window.stateStack().size()), cycles(), unexpectedLines(),
                                     trafficLines(), inUseKiB()});
                nNextSample += 2000;
            }
            if (m_pTechnician != nullptr)
            {
                for (int n = 0; n < 10; ++n, ++m_nActions)
                    m_pTechnician->act();
                m_sim.clearRecording();
                m_nMaxStack = qMax(m_nMaxStack, int(m_window.stateStack().size()));
                continue;
            }
            m_sim.setFinger(1 + int(nRound % 4), int(nRound % 3));
            infoQuery();
            fingerWalk(1 + int(nRound % 5));
            analysis();
            images(2);
            matchIdChain();
            disturb();
            if (nRound % 4 == 3)
            {
                disturb();
            }
            if (nRound % 40 == 20)
            {
                matchStatistics(2);
            }
            if (nRound % 100 == 50)
            {
                identification();
            }
            m_sim.clearRecording();
            m_nMaxStack = qMax(m_nMaxStack, int(m_window.stateStack().size()));
        }
        m_lstSamples.append({clock.elapsed(), bench_n::residentKiB(), int(m_window.stateStack().size()),
                             cycles(), unexpectedLines(), trafficLines(), inUseKiB()});
    }

    // The unexpected-response window fills up to its limit over a long run, about a kilobyte a line.
    int unexpectedLines() const { return m_window.unexpectedResponsesWindow()->document()->blockCount(); }
    static qint64 inUseKiB()
    {
        malloc_trim(0);
        return bench_n::residentKiB();
    }

    int trafficLines() const { return m_window.serialCommandsWindow()->document()->blockCount(); }

    qint64 cycles() const
    {
        return m_nInfoQueries + m_nFingerWalks + m_nAnalyses + m_nImages + m_nMatchIdChains +
               m_nStatisticsRounds + m_nIdentifications + m_nActions;
    }

    randomTechnician_c* m_pTechnician = nullptr;
    qint64 m_nActions = 0;
    sensorSimulator_c& m_sim;
    vindal01mainWindow_c& m_window;
    vindal01mainWindowTester_c m_tester;
    QRandomGenerator m_random;
    qint64 m_nCommands = 0;
    qint64 m_nInfoQueries = 0;
    qint64 m_nFingerWalks = 0;
    qint64 m_nAnalyses = 0;
    qint64 m_nImages = 0;
    qint64 m_nMatchIdChains = 0;
    qint64 m_nStatisticsRounds = 0;
    qint64 m_nIdentifications = 0;
    qint64 m_nAborts = 0;
    qint64 m_nModeChanges = 0;
    qint64 m_nSilences = 0;
    qint64 m_nGarbled = 0;
    qint64 m_nTimeouts = 0;
    int m_nMaxStack = 0;
    qint64 m_nMaxReceived = 0;
    int m_nGarbageMax = 300;
    const char* m_szPhase = "";
    QMap<QByteArray, int> m_mapTimeouts;
    QList<sample_t> m_lstSamples;
};

} // namespace

int main(int argc, char* argv[])
{
    bench_n::useOffscreenUnlessChosen();
    // The technician's mouse and keyboard must exist before the application object.
    std::unique_ptr<fifoInputDevice_c> pMouse, pKeyboard;
    if (std::find(argv, argv + argc, std::string("--technician")) != argv + argc)
    {
        pMouse = std::make_unique<fifoInputDevice_c>("mouse", ":nocompress");
        pKeyboard = std::make_unique<fifoInputDevice_c>("keyboard");
    }
    QApplication app(argc, argv);
    const QStringList lstArgs = QCoreApplication::arguments();
    const qint64 nSeconds = lstArgs.contains(QStringLiteral("--seconds"))
                                ? lstArgs.value(lstArgs.indexOf(QStringLiteral("--seconds")) + 1).toLongLong()
                                : 60;
    const quint32 nSeed = lstArgs.contains(QStringLiteral("--seed"))
                              ? lstArgs.value(lstArgs.indexOf(QStringLiteral("--seed")) + 1).toUInt()
                              : 1;
    // The dialogue writes a debug line per command; a shift of them is not what is measured here.
    qInstallMessageHandler(
        [](QtMsgType p_nType, const QMessageLogContext&, const QString& p_strMessage)
        {
            g_nReceiveDrops += p_strMessage.startsWith(QLatin1String("slotReadReady(): no complete reply"));
            // The offscreen platform cannot size the statistics box's window, raise or grab, and the FIFO
            // keyboard has no lamps; those notes are not the tool's.
            if (p_nType != QtDebugMsg && p_nType != QtInfoMsg &&
                !p_strMessage.contains(QLatin1String("propagateSizeHints")) &&
                !p_strMessage.startsWith(QLatin1String("This plugin does not support")) &&
                !p_strMessage.startsWith(QLatin1String("evdevkeyboard")))
            {
                std::fprintf(stderr, "%s\n", qPrintable(p_strMessage));
            }
        });

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    sensorSimulator_c sim;
    sim.setImage(64, 48, QByteArray(64 * 48, char(0x80)));
    for (int nPid = 1; nPid <= 4; ++nPid)
    {
        for (int nFid = 0; nFid < 3; ++nFid)
        {
            sim.addTemplate(nPid, nFid);
        }
    }
    if (!sim.open())
    {
        std::fprintf(stderr, "simulator: %s\n", qPrintable(sim.errorString()));
        return 2;
    }
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    if (lstArgs.contains(QStringLiteral("--log")))
    {
        window.serialLoggingAction()->setChecked(true);
    }
    tester.portChanged(sim.slavePath());
    if (lstArgs.contains(QStringLiteral("--log")))
    {
        tester.enableLogging(true);
    }
    window.watchdogAction()->setChecked(true);

    soak_c soak(sim, window, nSeed);
    vindal01mainWindow_c::storeBounds_t bounds;
    if (lstArgs.contains(QStringLiteral("--low-bounds")))
    {
        bounds.nDiagnosticLines = 500;
        bounds.nStateStack = 32;
        bounds.nReplyBytes = 1024;
        window.setStoreBounds(bounds);
        soak.m_nGarbageMax = 1500;
    }
    std::unique_ptr<randomTechnician_c> pTechnician;
    if (pMouse != nullptr)
    {
        if (!pMouse->isOpen() || !pKeyboard->isOpen() || !fakeUdev_n::isActive())
        {
            std::fprintf(stderr,
                         "technician: needs FIFO input devices under /dev/shm and the libudev stand-in\n");
            return 2;
        }
        fakeUdev_n::setPorts({fakeUdev_n::portEntry(sim.slavePath(), "0403", "6001")});
        window.show();
        pTechnician = std::make_unique<randomTechnician_c>(window, sim, *pMouse, *pKeyboard, nSeed);
        soak.m_pTechnician = pTechnician.get();
    }
    soak.run(nSeconds * 1000);
    if (pTechnician != nullptr && !(pTechnician->finish() && pTechnician->chooseMode(sensor_n::mode_t::Info)))
    {
        std::fprintf(stderr, "technician: the window kept a box open or its port lost\n");
    }

    // Afterwards the tool still answers.
    sim.setSilent(false);
    const bool bAnswers = soak.infoQuery();

    const sample_t& first = soak.m_lstSamples.first();
    const sample_t& last = soak.m_lstSamples.last();
    qint64 nPeak = 0;
    for (const sample_t& sample : soak.m_lstSamples)
    {
        nPeak = qMax(nPeak, sample.nRssKiB);
    }
    std::printf("soak: %lld s, seed %u\n", static_cast<long long>(last.nMs / 1000), nSeed);
    std::printf("cycles: %lld total; info queries %lld, finger-list walks %lld, analyses %lld, images %lld, "
                "match-id chains %lld, statistics rounds %lld, identifications %lld\n",
                static_cast<long long>(soak.cycles()), static_cast<long long>(soak.m_nInfoQueries),
                static_cast<long long>(soak.m_nFingerWalks), static_cast<long long>(soak.m_nAnalyses),
                static_cast<long long>(soak.m_nImages), static_cast<long long>(soak.m_nMatchIdChains),
                static_cast<long long>(soak.m_nStatisticsRounds),
                static_cast<long long>(soak.m_nIdentifications));
    if (soak.m_pTechnician != nullptr)
    {
        std::printf("technician actions: %lld\n", static_cast<long long>(soak.m_nActions));
    }
    std::printf(
        "commands sent: %lld; disturbances: aborts %lld, mode changes %lld, silences %lld, garbled %lld; "
        "unexpected waits %lld\n",
        static_cast<long long>(soak.m_nCommands), static_cast<long long>(soak.m_nAborts),
        static_cast<long long>(soak.m_nModeChanges), static_cast<long long>(soak.m_nSilences),
        static_cast<long long>(soak.m_nGarbled), static_cast<long long>(soak.m_nTimeouts));
    for (auto it = soak.m_mapTimeouts.cbegin(); it != soak.m_mapTimeouts.cend(); ++it)
    {
        std::printf("  waits without an answer in %s: %d\n", it.key().constData(), it.value());
    }
    std::printf("memory (VmRSS): first %lld KiB, peak %lld KiB, final %lld KiB\n",
                static_cast<long long>(first.nRssKiB), static_cast<long long>(nPeak),
                static_cast<long long>(last.nRssKiB));
    std::printf("bounds: %d window lines, %d stack pairs, %lld reply bytes\n", bounds.nDiagnosticLines,
                bounds.nStateStack, static_cast<long long>(bounds.nReplyBytes));
    std::printf("state stack: final %d entries, largest %d; receive buffer largest %lld bytes, %d overflows "
                "dropped\n",
                last.nStack, soak.m_nMaxStack, static_cast<long long>(soak.m_nMaxReceived), g_nReceiveDrops);
    std::printf("windows: traffic %d lines, unexpected responses %d lines\n",
                window.serialCommandsWindow()->document()->blockCount(),
                window.unexpectedResponsesWindow()->document()->blockCount());
    std::printf("timeline (s, VmRSS KiB, stack, cycles, unexpected-response lines, traffic lines, VmRSS KiB "
                "after the allocator returned its free memory):\n");
    const int nStep = qMax(1, soak.m_lstSamples.size() / 30);
    for (int i = 0; i < soak.m_lstSamples.size(); i += nStep)
    {
        const sample_t& s = soak.m_lstSamples.at(i);
        std::printf("  %6lld %8lld %6d %8lld %6d %6d %8lld\n", static_cast<long long>(s.nMs / 1000),
                    static_cast<long long>(s.nRssKiB), s.nStack, static_cast<long long>(s.nCycles),
                    s.nUnexpectedLines, s.nTrafficLines, static_cast<long long>(s.nInUseKiB));
    }
    std::printf("  %6lld %8lld %6d %8lld %6d %6d %8lld\n", static_cast<long long>(last.nMs / 1000),
                static_cast<long long>(last.nRssKiB), last.nStack, static_cast<long long>(last.nCycles),
                last.nUnexpectedLines, last.nTrafficLines, static_cast<long long>(last.nInUseKiB));
    std::printf("final information query: %s\n", bAnswers ? "completed" : "FAILED");
    return bAnswers ? 0 : 1;
}
