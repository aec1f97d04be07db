// The COM server mode: what the window asks, what it passes to the communication library and what it says.
#include "fakeudev/fakeUdev.h"
#include "kvcomStandIn.h"
#include "modalAnswerer.h"
#include "sensor/kvcomLibrary.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "windowTester.h"

#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <QtTest>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

Q_DECLARE_METATYPE(sensorSimulator_c::ipcAnswer_t)

namespace
{

// Answers of the input dialogs: a text to type, or one of these two.
const QString g_strKeep = QStringLiteral("<keep>");
const QString g_strCancel = QStringLiteral("<cancel>");

const QString g_strOpenCall = QStringLiteral("openComServerMode 1 254 %1 115200 8 0 0 0 180 -1");
const QString g_strCloseCalls = QStringLiteral("closeComServerMode 1 254 -1,comClose 1");

QString openIVCall(const QString& p_strInterface)
{
    return QStringLiteral("comOpenIV 1 0 1 %1 38400 800").arg(p_strInterface);
}

// A library that writes down every call with its arguments and answers as told. The error code is written
// down as the tool preset it, before the library writes its own.
class recordingLibrary_c : public kvcomLibrary_c
{
public:
    int versionLibrary(char* p_szBuffer, int p_nSize) override
    {
        qstrncpy(p_szBuffer, "recording", static_cast<uint>(p_nSize));
        return 1;
    }
    int comOpenIV(int p_nChannel, int p_nA, int p_nB, const QByteArray& p_baInterface, int p_nBaud,
                  int p_nTimeoutMs) override
    {
        record(QStringLiteral("comOpenIV %1 %2 %3 %4 %5 %6")
                   .arg(p_nChannel)
                   .arg(p_nA)
                   .arg(p_nB)
                   .arg(QString::fromLocal8Bit(p_baInterface))
                   .arg(p_nBaud)
                   .arg(p_nTimeoutMs));
        return m_nOpenIVResult;
    }
    int openComServerMode(int p_nChannel, int p_nAddress, const QByteArray& p_baModule, int p_nBaud,
                          int p_nDataBits, int p_nParity, int p_nStopBits, int p_nFlow, int p_nTimeoutS,
                          int* p_pnError) override
    {
        record(QStringLiteral("openComServerMode %1 %2 %3 %4 %5 %6 %7 %8 %9 ")
                   .arg(p_nChannel)
                   .arg(p_nAddress)
                   .arg(QString::fromLocal8Bit(p_baModule))
                   .arg(p_nBaud)
                   .arg(p_nDataBits)
                   .arg(p_nParity)
                   .arg(p_nStopBits)
                   .arg(p_nFlow)
                   .arg(p_nTimeoutS) +
               QString::number(*p_pnError));
        if (m_bWriteOpenError)
        {
            *p_pnError = m_nOpenError;
        }
        return m_nOpenResult;
    }
    int closeComServerMode(int p_nChannel, int p_nAddress, int* p_pnError) override
    {
        record(QStringLiteral("closeComServerMode %1 %2 %3").arg(p_nChannel).arg(p_nAddress).arg(*p_pnError));
        *p_pnError = m_nCloseError;
        return m_nCloseResult;
    }
    int comClose(int p_nChannel) override
    {
        record(QStringLiteral("comClose %1").arg(p_nChannel));
        return 1;
    }

    QStringList m_lstCalls;
    int m_nOpenIVResult = 1;
    int m_nOpenResult = 1;
    bool m_bWriteOpenError = true;
    int m_nOpenError = 0;
    int m_nCloseResult = 1;
    int m_nCloseError = 0;

private:
    void record(const QString& p_strCall) { m_lstCalls.append(p_strCall); }
};

// The simulated industrial PC in a thread of its own: the library blocks the GUI thread while it waits
// for the answer, so the peer must go on serving meanwhile.
class ipcPeer_c
{
public:
    ipcPeer_c()
    {
        m_thread.start();
        m_pSim = new sensorSimulator_c();
        m_pSim->moveToThread(&m_thread);
        run([this]() { m_bOpen = m_pSim->open(); });
    }
    ~ipcPeer_c()
    {
        m_pSim->deleteLater();
        m_thread.quit();
        m_thread.wait();
    }
    ipcPeer_c(const ipcPeer_c&) = delete;
    ipcPeer_c& operator=(const ipcPeer_c&) = delete;

    // Runs p_fn in the peer's thread and returns when it is done.
    template <typename F>
    void run(F p_fn)
    {
        QMetaObject::invokeMethod(m_pSim, p_fn, Qt::BlockingQueuedConnection);
    }

    bool isOpen() const { return m_bOpen; }
    QString slavePath()
    {
        QString strPath;
        run([&]() { strPath = m_pSim->slavePath(); });
        return strPath;
    }
    QByteArrayList commands()
    {
        QByteArrayList lstCommands;
        run([&]() { lstCommands = m_pSim->commands(); });
        return lstCommands;
    }
    bool isComServerOpen()
    {
        bool bOpen = false;
        run([&]() { bOpen = m_pSim->isComServerOpen(); });
        return bOpen;
    }
    QString comServerModule()
    {
        QString strModule;
        run([&]() { strModule = m_pSim->comServerModule(); });
        return strModule;
    }
    void setIpcAnswer(sensorSimulator_c::ipcAnswer_t p_nAnswer, int p_nCode)
    {
        run([=]() { m_pSim->setIpcAnswer(p_nAnswer, p_nCode); });
    }

private:
    QThread m_thread;
    sensorSimulator_c* m_pSim = nullptr;
    bool m_bOpen = false;
};

} // namespace

class tst_comServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void automaticStartFindsTheInterface_data();
    void automaticStartFindsTheInterface();
    void manualStartAsksForInterfaceAndModule();
    void argumentsGivenAskNothing();
    void cancellingADialog_data();
    void cancellingADialog();
    void failedChannelRestartsTheCurrentMode();
    void refusedModeShowsTheErrorCode_data();
    void refusedModeShowsTheErrorCode();
    void stopClosesModeAndChannel_data();
    void stopClosesModeAndChannel();
    void comServerLeavesTheSensorDialogueAlone();

    void standInOnTheIndustrialPc_data();
    void standInOnTheIndustrialPc();
    void standInCannotOpenAMissingInterface();

private:
    // Runs the action while dialogs and boxes are answered; returns what showed up, one line each:
    // "<kind>|<title>|<text>", the kind being "input/<echo>" or "<icon>/<buttons>".
    QStringList answering(const QStringList& p_lstInputs, const std::function<void()>& p_fnAction);
    void openSensorOnSimulator(sensorSimulator_c& p_sim);
    static QString infoBox();

    vindal01mainWindow_c* m_pWindow = nullptr;
    recordingLibrary_c* m_pLibrary = nullptr;
};

void tst_comServer::initTestCase()
{
    QVERIFY(fakeUdev_n::isActive());
}

void tst_comServer::init()
{
    // The window finds no sensor adapter and opens no port at construction.
    fakeUdev_n::clearPorts();
    m_pLibrary = new recordingLibrary_c();
    kvcomLibrary_c::setInstance(m_pLibrary);
    m_pWindow = new vindal01mainWindow_c();
}

void tst_comServer::cleanup()
{
    delete m_pWindow;
    kvcomLibrary_c::setInstance(nullptr);
    delete m_pLibrary;
    fakeUdev_n::clearPorts();
}

QStringList tst_comServer::answering(const QStringList& p_lstInputs, const std::function<void()>& p_fnAction)
{
    QStringList lstSeen;
    QStringList lstInputs = p_lstInputs;
    modalAnswerer_c answerer(
        [&](QWidget* p_pModal)
        {
            const QString strOrphan =
                p_pModal->parentWidget() == m_pWindow ? QString() : QStringLiteral("/orphan");
            if (auto* pInput = qobject_cast<QInputDialog*>(p_pModal))
            {
                lstSeen.append(QStringLiteral("input/%1%2|%3|%4|%5")
                                   .arg(pInput->textEchoMode() == QLineEdit::Normal ? "Normal" : "other",
                                        strOrphan, pInput->windowTitle(), pInput->labelText(),
                                        pInput->textValue()));
                const QString strAnswer = lstInputs.isEmpty() ? g_strCancel : lstInputs.takeFirst();
                if (strAnswer == g_strCancel)
                {
                    pInput->reject();
                    return;
                }
                if (strAnswer != g_strKeep)
                {
                    pInput->setTextValue(strAnswer);
                }
                pInput->accept();
            }
            else if (auto* pBox = qobject_cast<QMessageBox*>(p_pModal))
            {
                const char* szIcon = pBox->icon() == QMessageBox::Warning       ? "warning"
                                     : pBox->icon() == QMessageBox::Information ? "information"
                                                                                : "other";
                const char* szButtons = pBox->standardButtons() == QMessageBox::Cancel ? "Cancel"
                                        : pBox->standardButtons() == QMessageBox::Ok   ? "Ok"
                                                                                       : "other";
                lstSeen.append(QStringLiteral("%1/%2%3|%4|%5")
                                   .arg(szIcon, szButtons, strOrphan, pBox->windowTitle(), pBox->text()));
                pBox->buttons().first()->click();
            }
            else
            {
                lstSeen.append(QStringLiteral("unknown|") + p_pModal->windowTitle());
                p_pModal->close();
            }
        });
    p_fnAction();
    return lstSeen;
}

void tst_comServer::openSensorOnSimulator(sensorSimulator_c& p_sim)
{
    QVERIFY(p_sim.open());
    vindal01mainWindowTester_c(*m_pWindow).portChanged(p_sim.slavePath());
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
    QTRY_COMPARE(p_sim.commands().size(), 6);
    p_sim.clearRecording();
}

QString tst_comServer::infoBox()
{
    return QStringLiteral(
        "information/Ok|COM-Server-Mode hergestellt|Der COM-Server-Mode für wurde erfolgreich hergestellt.");
}

void tst_comServer::automaticStartFindsTheInterface_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<QString>("interface");

    // Ports that share only one of the two ids, or have none, are no interface of an industrial PC.
    const QStringList lstDecoys{fakeUdev_n::portEntry(QStringLiteral("/dev/ttyDecoy0"), "0483", "5740"),
                                fakeUdev_n::portEntry(QStringLiteral("/dev/ttyDecoy1"), "1234", "a097"),
                                fakeUdev_n::portEntry(QStringLiteral("/dev/ttyDecoy2"))};
    const QString strIpc0 = fakeUdev_n::portEntry(QStringLiteral("/dev/ttyIpc0"), "0483", "a097", "IPC_Port");
    const QString strIpc1 = fakeUdev_n::portEntry(QStringLiteral("/dev/ttyIpc1"), "0483", "A097");
    const QString strAsk = QStringLiteral("input/Normal|Bitte IPC-Schnittstelle auswählen|COM:|");

    QTest::newRow("no interface port: empty preset, the typed name is used")
        << lstDecoys << QStringList{"ttyTyped"} << QStringList{strAsk} << "ttyTyped";
    QTest::newRow("no ports at all") << QStringList() << QStringList{"COM9"} << QStringList{strAsk} << "COM9";
    QTest::newRow("one interface port: no dialog")
        << (lstDecoys + QStringList{strIpc0}) << QStringList() << QStringList() << "ttyIpc0";
    QTest::newRow("two interface ports: preset to the first")
        << QStringList{strIpc1, lstDecoys.at(0), strIpc0} << QStringList{g_strKeep}
        << QStringList{strAsk + "ttyIpc1"} << "ttyIpc1";
    QTest::newRow("two interface ports: the technician picks the second")
        << QStringList{strIpc1, strIpc0} << QStringList{"ttyIpc0"} << QStringList{strAsk + "ttyIpc1"}
        << "ttyIpc0";
}

void tst_comServer::automaticStartFindsTheInterface()
{
    QFETCH(QStringList, ports);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, dialogs);
    QFETCH(QString, interface);
    fakeUdev_n::setPorts(ports);

    const QStringList lstSeen = answering(inputs, [this]() { m_pWindow->startComServerAction()->trigger(); });

    QCOMPARE(lstSeen, dialogs + QStringList{infoBox()});
    QCOMPARE(m_pLibrary->m_lstCalls, QStringList({openIVCall(interface), g_strOpenCall.arg("900103")}));
}

void tst_comServer::manualStartAsksForInterfaceAndModule()
{
    fakeUdev_n::setPorts({fakeUdev_n::portEntry(QStringLiteral("/dev/ttyIpc0"), "0483", "a097")});
    // The entry "Manual" of the start action's drop-down menu.
    QMenu* pMenu = m_pWindow->startComServerAction()->menu();
    QVERIFY(pMenu != nullptr);
    auto* pActManual = pMenu->findChild<QAction*>(QStringLiteral("actionManualStartComServer"));
    QVERIFY(pActManual != nullptr);
    QCOMPARE(pActManual->text(), QStringLiteral("Manual"));

    // Even a single interface port is only offered: the manual start always asks.
    const QStringList lstSeen = answering({"ttyUSB7", "123456"}, [pActManual]() { pActManual->trigger(); });

    QCOMPARE(lstSeen, QStringList({"input/Normal|Bitte IPC-Schnittstelle auswählen|COM:|ttyIpc0",
                                   "input/Normal|Bitte Modul im IPC eingeben:|Modul|900103", infoBox()}));
    QCOMPARE(m_pLibrary->m_lstCalls, QStringList({openIVCall("ttyUSB7"), g_strOpenCall.arg("123456")}));
}

void tst_comServer::argumentsGivenAskNothing()
{
    const QStringList lstSeen =
        answering({}, [this]() { vindal01mainWindowTester_c(*m_pWindow).startComServer("ttyS3", "777001"); });
    QCOMPARE(lstSeen, QStringList{infoBox()});
    QCOMPARE(m_pLibrary->m_lstCalls, QStringList({openIVCall("ttyS3"), g_strOpenCall.arg("777001")}));
}

void tst_comServer::cancellingADialog_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QStringList>("calls");

    const QStringList lstOne{fakeUdev_n::portEntry(QStringLiteral("/dev/ttyIpc0"), "0483", "a097")};
    QTest::newRow("interface dialog of the manual start: nothing opened")
        << false << lstOne << QStringList{g_strCancel} << 1 << QStringList();
    QTest::newRow("interface dialog of the automatic start: nothing opened")
        << true << QStringList() << QStringList{g_strCancel} << 1 << QStringList();
    QTest::newRow("module dialog: the channel stays open")
        << false << lstOne << QStringList{g_strKeep, g_strCancel} << 2 << QStringList{openIVCall("ttyIpc0")};
}

void tst_comServer::cancellingADialog()
{
    QFETCH(bool, automatic);
    QFETCH(QStringList, ports);
    QFETCH(QStringList, inputs);
    QFETCH(int, dialogs);
    QFETCH(QStringList, calls);
    fakeUdev_n::setPorts(ports);

    const QStringList lstSeen =
        answering(inputs,
                  [this, automatic]()
                  {
                      vindal01mainWindowTester_c tester(*m_pWindow);
                      automatic ? tester.autoStartComServer() : tester.startComServerManual();
                  });

    // Only the dialogs, no message box.
    QCOMPARE(lstSeen.size(), dialogs);
    for (const QString& strSeen : lstSeen)
    {
        QVERIFY2(strSeen.startsWith(QLatin1String("input/Normal|")), qPrintable(strSeen));
    }
    QCOMPARE(m_pLibrary->m_lstCalls, calls);
}

void tst_comServer::failedChannelRestartsTheCurrentMode()
{
    sensorSimulator_c sim;
    openSensorOnSimulator(sim);
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.setMode(sensor_n::mode_t::AnalyseSensor);
    m_pLibrary->m_nOpenIVResult = 0;

    const QStringList lstSeen = answering({"ttyGone"}, [&tester]() { tester.startComServerManual(); });

    // No module dialog after the failed channel, and no further call.
    QCOMPARE(lstSeen.size(), 2);
    QCOMPARE(lstSeen.at(1),
             QStringLiteral("warning/Cancel|Öffnen der Schnittstelle fehlgeschlagen.|"
                            "Das Herstellen der Verbindung zum Gerät ttyGone ist fehlgeschlagen."));
    QCOMPARE(m_pLibrary->m_lstCalls, QStringList{openIVCall("ttyGone")});
    // The analysis starts again: abort byte, then its first command.
    QTRY_VERIFY(sim.commands().size() >= 2);
    QCOMPARE(sim.commands().mid(0, 2), QByteArrayList({"\x03", "reg /count"}));
    QCOMPARE(m_pWindow->mode(), sensor_n::mode_t::AnalyseSensor);
    QCOMPARE(tester.pageStack()->currentIndex(),
             tester.pageIndex(static_cast<int>(sensor_n::mode_t::AnalyseSensor)));
}

void tst_comServer::refusedModeShowsTheErrorCode_data()
{
    QTest::addColumn<bool>("writesCode");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("code 7") << true << 7 << "7";
    QTest::newRow("negative code") << true << -3 << "-3";
    QTest::newRow("no code written: the preset") << false << 0 << "-1";
}

void tst_comServer::refusedModeShowsTheErrorCode()
{
    QFETCH(bool, writesCode);
    QFETCH(int, code);
    QFETCH(QString, shown);
    fakeUdev_n::setPorts({fakeUdev_n::portEntry(QStringLiteral("/dev/ttyIpc0"), "0483", "a097")});
    m_pLibrary->m_nOpenResult = 0;
    m_pLibrary->m_bWriteOpenError = writesCode;
    m_pLibrary->m_nOpenError = code;

    const QStringList lstSeen = answering({}, [this]() { m_pWindow->startComServerAction()->trigger(); });

    QCOMPARE(lstSeen,
             QStringList{QStringLiteral("warning/Cancel|COM-Server-Mode fehlgeschlagen.|Das Öffnen des "
                                        "COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen")
                             .arg(shown)});
    // The channel stays open: no close follows.
    QCOMPARE(m_pLibrary->m_lstCalls, QStringList({openIVCall("ttyIpc0"), g_strOpenCall.arg("900103")}));
}

void tst_comServer::stopClosesModeAndChannel_data()
{
    QTest::addColumn<bool>("startFirst");
    QTest::addColumn<int>("closeResult");
    QTest::addColumn<QStringList>("boxes");

    const QString strRefused =
        QStringLiteral("warning/Cancel|Schließen des COM-Server-Mode fehlgeschlagen.|"
                       "Das Schließen des COM-Server-Modes ist mit Fehlercode 7 fehlgeschlagen");
    QTest::newRow("without a start") << false << 1 << QStringList();
    QTest::newRow("after a start") << true << 1 << QStringList();
    QTest::newRow("refused without a start") << false << 0 << QStringList{strRefused};
    QTest::newRow("refused after a start") << true << 0 << QStringList{strRefused};
}

void tst_comServer::stopClosesModeAndChannel()
{
    QFETCH(bool, startFirst);
    QFETCH(int, closeResult);
    QFETCH(QStringList, boxes);
    QStringList lstCalls;
    if (startFirst)
    {
        fakeUdev_n::setPorts({fakeUdev_n::portEntry(QStringLiteral("/dev/ttyIpc0"), "0483", "a097")});
        QCOMPARE(answering({}, [this]() { m_pWindow->startComServerAction()->trigger(); }),
                 QStringList{infoBox()});
        lstCalls << openIVCall("ttyIpc0") << g_strOpenCall.arg("900103");
    }
    m_pLibrary->m_nCloseResult = closeResult;
    m_pLibrary->m_nCloseError = closeResult == 0 ? 7 : 0;

    QCOMPARE(answering({}, [this]() { m_pWindow->stopComServerAction()->trigger(); }), boxes);
    // The channel is closed in every case, after the mode.
    QCOMPARE(m_pLibrary->m_lstCalls, lstCalls + g_strCloseCalls.split(QLatin1Char(',')));
}

void tst_comServer::comServerLeavesTheSensorDialogueAlone()
{
    sensorSimulator_c sim;
    openSensorOnSimulator(sim);
    vindal01mainWindowTester_c tester(*m_pWindow);
    auto* pPort = m_pWindow->serialPort();
    const state_t nState = m_pWindow->state();
    const command_t nCommand = m_pWindow->command();
    const QByteArray baReceived = m_pWindow->received();
    const QString strToolTip = m_pWindow->portStateLabel()->toolTip();
    const int nPage = tester.pageStack()->currentIndex();
    fakeUdev_n::setPorts({fakeUdev_n::portEntry(QStringLiteral("/dev/ttyIpc0"), "0483", "a097")});

    QCOMPARE(answering({}, [&tester]() { tester.autoStartComServer(); }), QStringList{infoBox()});
    m_pLibrary->m_nOpenResult = 0;
    QCOMPARE(answering({}, [&tester]() { tester.autoStartComServer(); }).size(), 1);
    QVERIFY(answering({}, [&tester]() { tester.stopComServer(); }).isEmpty());
    m_pLibrary->m_nCloseResult = 0;
    QCOMPARE(answering({}, [&tester]() { tester.stopComServer(); }).size(), 1);
    QCOMPARE(m_pLibrary->m_lstCalls.size(), 8);

    // Give a stray write the time to arrive before looking for its absence.
    QTest::qWait(100);
    QVERIFY(sim.received().isEmpty());
    QCOMPARE(m_pWindow->serialPort(), pPort);
    QVERIFY(pPort->isOpen());
    QCOMPARE(m_pWindow->state(), nState);
    QCOMPARE(m_pWindow->command(), nCommand);
    QCOMPARE(m_pWindow->received(), baReceived);
    QVERIFY(m_pWindow->stateStack().isEmpty());
    QCOMPARE(m_pWindow->portStateLabel()->toolTip(), strToolTip);
    QCOMPARE(tester.pageStack()->currentIndex(), nPage);
}

void tst_comServer::standInOnTheIndustrialPc_data()
{
    QTest::addColumn<sensorSimulator_c::ipcAnswer_t>("answer");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("startBoxes");
    QTest::addColumn<bool>("modeOpen");
    QTest::addColumn<QStringList>("stopBoxes");

    const QString strOpenRefused = QStringLiteral("warning/Cancel|COM-Server-Mode fehlgeschlagen.|Das Öffnen "
                                                  "des COM-Server-Modes ist mit Fehlercode %1 "
                                                  "fehlgeschlagen");
    const QString strCloseRefused =
        QStringLiteral("warning/Cancel|Schließen des COM-Server-Mode fehlgeschlagen.|Das Schließen des "
                       "COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen");
    QTest::newRow("accepted") << sensorSimulator_c::ipcAccept << 0 << QStringList{infoBox()} << true
                              << QStringList();
    QTest::newRow("refused with code 7")
        << sensorSimulator_c::ipcRefuse << 7 << QStringList{strOpenRefused.arg(7)} << false
        << QStringList{strCloseRefused.arg(7)};
    QTest::newRow("silent peer") << sensorSimulator_c::ipcSilent << 0
                                 << QStringList{strOpenRefused.arg(KVC_ERR_TIMEOUT)} << false
                                 << QStringList{strCloseRefused.arg(KVC_ERR_TIMEOUT)};
}

void tst_comServer::standInOnTheIndustrialPc()
{
    QFETCH(sensorSimulator_c::ipcAnswer_t, answer);
    QFETCH(int, code);
    QFETCH(QStringList, startBoxes);
    QFETCH(bool, modeOpen);
    QFETCH(QStringList, stopBoxes);

    // The program's own binding: the stand-in next to the executable.
    kvcomLibrary_c::setInstance(nullptr);
    auto* pRuntime = dynamic_cast<kvcomRuntimeLibrary_c*>(&kvcomLibrary_c::instance());
    QVERIFY(pRuntime != nullptr);
    QVERIFY2(pRuntime->isLoaded(), "libKVCom_x64.so is built into the test's directory");

    ipcPeer_c peer;
    QVERIFY(peer.isOpen());
    peer.setIpcAnswer(answer, code);
    // The interface is found by its USB ids and reached by the port name the platform gives (pts/N).
    fakeUdev_n::setPorts({fakeUdev_n::portEntry(peer.slavePath(), "0483", "a097")});

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(answering({}, [this]() { m_pWindow->startComServerAction()->trigger(); }), startBoxes);
    // Even a peer that never answers must not hold the window for long.
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(peer.commands(), QByteArrayList{"kvc open 254 900103 115200 8 0 0 0 180"});
    QCOMPARE(peer.isComServerOpen(), modeOpen);
    if (modeOpen)
    {
        QCOMPARE(peer.comServerModule(), QStringLiteral("900103"));
    }

    clock.restart();
    QCOMPARE(answering({}, [this]() { m_pWindow->stopComServerAction()->trigger(); }), stopBoxes);
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(peer.commands(), QByteArrayList({"kvc open 254 900103 115200 8 0 0 0 180", "kvc close 254"}));
    QVERIFY(!peer.isComServerOpen());

    // The channel was closed whatever the peer said: a second stop finds none and sends nothing.
    const QStringList lstSecond = answering({}, [this]() { m_pWindow->stopComServerAction()->trigger(); });
    QCOMPARE(lstSecond.size(), 1);
    QVERIFY2(lstSecond.at(0).endsWith(QStringLiteral("Fehlercode %1 fehlgeschlagen").arg(KVC_ERR_NOT_OPEN)),
             qPrintable(lstSecond.at(0)));
    QCOMPARE(peer.commands().size(), 2);
}

void tst_comServer::standInCannotOpenAMissingInterface()
{
    kvcomLibrary_c::setInstance(nullptr);
    const QString strMissing = QStringLiteral("/dev/vindal-no-such-port");
    const QStringList lstSeen =
        answering({strMissing}, [this]() { m_pWindow->startComServerAction()->trigger(); });
    QCOMPARE(lstSeen.size(), 2);
    QCOMPARE(lstSeen.at(1),
             QStringLiteral("warning/Cancel|Öffnen der Schnittstelle fehlgeschlagen.|Das Herstellen "
                            "der Verbindung zum Gerät %1 ist fehlgeschlagen.")
                 .arg(strMissing));
}

QTEST_MAIN(tst_comServer)
#include "tst_comServer.moc"
