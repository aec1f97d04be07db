// The COM server mode: what the window asks, what it passes to the communication library and what it says.
#include "fakeudev/fakeUdev.h"
#include "kvcomStandIn.h"
#include "modalAnswerer.h"
#include "sensor/kvcomLibrary.h"
#include "windowFixture.h"

#include <QInputDialog>
#include <QMenu>
#include <QThread>

using namespace sensor_n;
using sim_t = windowFixture_c::sim_t;

Q_DECLARE_METATYPE(sim_t::ipcAnswer_t)

namespace
{
// Answers of the input dialogs: a text to type, or one of these two.
const QString g_strKeep = QStringLiteral("<keep>");
const QString g_strCancel = QStringLiteral("<cancel>");
const QString g_strAsk = QStringLiteral("input/Normal|Bitte IPC-Schnittstelle auswählen|COM:|");
const QString g_strAskModule = QStringLiteral("input/Normal|Bitte Modul im IPC eingeben:|Modul|900103");
const QString g_strInfo = QStringLiteral(
    "information/Ok|COM-Server-Mode hergestellt|Der COM-Server-Mode für wurde erfolgreich hergestellt.");
const QString g_strRefused = QStringLiteral("warning/Cancel|COM-Server-Mode fehlgeschlagen.|Das Öffnen des "
                                            "COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen");
const QString g_strCloseRefused =
    QStringLiteral("warning/Cancel|Schließen des COM-Server-Mode fehlgeschlagen.|Das Schließen des "
                   "COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen");
const QString g_strNoChannel = QStringLiteral("warning/Cancel|Öffnen der Schnittstelle fehlgeschlagen.|Das "
                                              "Herstellen der Verbindung zum Gerät %1 ist fehlgeschlagen.");

// The calls that open the channel to an interface and the mode of a module.
QStringList opening(const QString& p_strInterface, const QString& p_strModule = QStringLiteral("900103"))
{
    return {QStringLiteral("comOpenIV 1 0 1 %1 38400 800").arg(p_strInterface),
            QStringLiteral("openComServerMode 1 254 %1 115200 8 0 0 0 180 -1").arg(p_strModule)};
}

// A library that writes down every call with its arguments and answers as told. An error code is written
// down as the tool preset it, before the library writes its own.
class recordingLibrary_c : public kvcomRuntimeLibrary_c
{
public:
    int comOpenIV(int p_nChannel, int p_nA, int p_nB, const QByteArray& p_baIf, int p_nBaud,
                  int p_nMs) override
    {
        return record({"comOpenIV", p_nChannel, p_nA, p_nB, p_baIf, p_nBaud, p_nMs}), nOpenIV;
    }
    int openComServerMode(int p_nChannel, int p_nAddress, const QByteArray& p_baModule, int p_nBaud,
                          int p_nData, int p_nParity, int p_nStop, int p_nFlow, int p_nTimeoutS,
                          int* p_pnError) override
    {
        record({"openComServerMode", p_nChannel, p_nAddress, p_baModule, p_nBaud, p_nData, p_nParity, p_nStop,
                p_nFlow, p_nTimeoutS, *p_pnError});
        *p_pnError = openError.isValid() ? openError.toInt() : *p_pnError;
        return nOpen;
    }
    int closeComServerMode(int p_nChannel, int p_nAddress, int* p_pnError) override
    {
        record({"closeComServerMode", p_nChannel, p_nAddress, *p_pnError});
        *p_pnError = nClose == 0 ? 7 : 0;
        return nClose;
    }
    int comClose(int p_nChannel) override { return record({"comClose", p_nChannel}), 1; }
    void record(const QVariantList& p_lstCall) { calls << QVariant(p_lstCall).toStringList().join(' '); }

    QStringList calls;
    int nOpenIV = 1;
    int nOpen = 1;
    QVariant openError = 0; // invalid: the library leaves the preset
    int nClose = 1;
};

} // namespace

class tst_comServer : public QObject
{
    Q_OBJECT
    windowFixture_c f;
    recordingLibrary_c* m_pLibrary = nullptr;

    // Runs the action while dialogs and boxes are answered; returns what showed up, one line each:
    // "<kind>|<title>|<text>", the kind being "input/<echo>" or "<icon>/<buttons>", "/orphan" added when
    // the window is not the parent.
    QStringList answering(QStringList p_lstInputs, const std::function<void()>& p_fnAction)
    {
        QStringList lstSeen;
        modalAnswerer_c answerer(
            [&](QWidget* p_pModal)
            {
                const QString strOrphan = p_pModal->parentWidget() == f.window.get() ? "" : "/orphan";
                auto* pInput = qobject_cast<QInputDialog*>(p_pModal);
                auto* pBox = qobject_cast<QMessageBox*>(p_pModal);
                if (pInput != nullptr)
                {
                    const QString strAnswer = p_lstInputs.isEmpty() ? g_strCancel : p_lstInputs.takeFirst();
                    lstSeen << QStringLiteral("input/%1%2|%3|%4|%5")
                                   .arg(pInput->textEchoMode() == QLineEdit::Normal ? "Normal" : "other",
                                        strOrphan, pInput->windowTitle(), pInput->labelText(),
                                        pInput->textValue());
                    pInput->setTextValue(strAnswer == g_strKeep ? pInput->textValue() : strAnswer);
                    return strAnswer == g_strCancel ? pInput->reject() : pInput->accept();
                }
                const QMap<int, QString> mapKinds = {{QMessageBox::Warning, "warning"},
                                                     {QMessageBox::Information, "information"},
                                                     {QMessageBox::Cancel, "Cancel"},
                                                     {QMessageBox::Ok, "Ok"}};
                lstSeen << (pBox == nullptr ? "unknown|" + p_pModal->windowTitle()
                                            : QStringLiteral("%1/%2%3|%4|%5")
                                                  .arg(mapKinds.value(pBox->icon(), "other"),
                                                       mapKinds.value(pBox->standardButtons(), "other"),
                                                       strOrphan, pBox->windowTitle(), pBox->text()));
                pBox != nullptr ? pBox->buttons().first()->click() : void(p_pModal->close());
            });
        p_fnAction();
        return lstSeen;
    }

private slots:
    void initTestCase() { QVERIFY(fakeUdev_n::isActive()); }
    void init()
    {
        // The window finds no sensor adapter and opens no port at construction.
        fakeUdev_n::clearPorts();
        m_pLibrary = new recordingLibrary_c();
        kvcomLibrary_c::setInstance(m_pLibrary);
        f.start(false);
    }
    void cleanup()
    {
        f.stop();
        kvcomLibrary_c::setInstance(nullptr);
        delete m_pLibrary;
        fakeUdev_n::clearPorts();
    }

    void start_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<int>("openIV");
        QTest::addColumn<QVariant>("openError");
        QTest::addColumn<QStringList>("seen");
        QTest::addColumn<QStringList>("calls");
        // Ports that share only one of the two ids, or have none, are no interface of an industrial PC.
        const QStringList lstDecoys{fakeUdev_n::portEntry("/dev/ttyDecoy0", "0483", "5740"),
                                    fakeUdev_n::portEntry("/dev/ttyDecoy1", "1234", "a097"),
                                    fakeUdev_n::portEntry("/dev/ttyDecoy2")};
        const QString strIpc0 = fakeUdev_n::portEntry("/dev/ttyIpc0", "0483", "a097", "IPC_Port");
        const QString strIpc1 = fakeUdev_n::portEntry("/dev/ttyIpc1", "0483", "A097");
        const QStringList lstNone;
        const QVariant ok = 0;
        QTest::newRow("no interface port: the typed name")
            << "auto" << lstDecoys << QStringList{"ttyTyped"} << 1 << ok << QStringList{g_strAsk, g_strInfo}
            << opening("ttyTyped");
        QTest::newRow("one interface port: no dialog")
            << "auto" << (lstDecoys + QStringList{strIpc0}) << lstNone << 1 << ok << QStringList{g_strInfo}
            << opening("ttyIpc0");
        QTest::newRow("two interface ports: preset to the first")
            << "auto" << QStringList{strIpc1, lstDecoys.at(0), strIpc0} << QStringList{g_strKeep} << 1 << ok
            << QStringList{g_strAsk + "ttyIpc1", g_strInfo} << opening("ttyIpc1");
        QTest::newRow("two interface ports: the second picked")
            << "auto" << QStringList{strIpc1, strIpc0} << QStringList{"ttyIpc0"} << 1 << ok
            << QStringList{g_strAsk + "ttyIpc1", g_strInfo} << opening("ttyIpc0");
        // Even a single interface port is only offered: the manual start always asks, the module too.
        QTest::newRow("manual") << "manual" << QStringList{strIpc0} << QStringList{"ttyUSB7", "123456"} << 1
                                << ok << QStringList{g_strAsk + "ttyIpc0", g_strAskModule, g_strInfo}
                                << opening("ttyUSB7", "123456");
        QTest::newRow("arguments given: nothing asked")
            << "given" << lstNone << lstNone << 1 << ok << QStringList{g_strInfo}
            << opening("ttyS3", "777001");
        QTest::newRow("manual, interface cancelled")
            << "manual" << QStringList{strIpc0} << QStringList{g_strCancel} << 1 << ok
            << QStringList{g_strAsk + "ttyIpc0"} << lstNone;
        QTest::newRow("automatic, interface cancelled")
            << "auto" << lstNone << QStringList{g_strCancel} << 1 << ok << QStringList{g_strAsk} << lstNone;
        QTest::newRow("module cancelled: the channel stays open")
            << "manual" << QStringList{strIpc0} << QStringList{g_strKeep, g_strCancel} << 1 << ok
            << QStringList{g_strAsk + "ttyIpc0", g_strAskModule} << QStringList(opening("ttyIpc0").mid(0, 1));
        // No module dialog after a failed channel, and no further call.
        QTest::newRow("channel failed") << "manual" << lstNone << QStringList{"ttyGone"} << 0 << ok
                                        << QStringList{g_strAsk, g_strNoChannel.arg("ttyGone")}
                                        << QStringList(opening("ttyGone").mid(0, 1));
        // A refused mode leaves the channel open: no close follows.
        for (const QVariant& code : {QVariant(7), QVariant(-3), QVariant()})
            QTest::addRow("mode refused, code %s", qPrintable(code.toString()))
                << "auto" << QStringList{strIpc0} << lstNone << 1 << code
                << QStringList{g_strRefused.arg(code.isValid() ? code.toString() : "-1")}
                << opening("ttyIpc0");
    }
    // The sensor port meanwhile stays as it is, and the current mode starts again only after a failed
    // channel.
    void start()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, ports);
        QFETCH(QStringList, inputs);
        QFETCH(int, openIV);
        QFETCH(QVariant, openError);
        QFETCH(QStringList, seen);
        QFETCH(QStringList, calls);
        f.openOnSimulator();
        f.t().setMode(sensor_n::mode_t::AnalyseSensor);
        const QString strToolTip = f.window->portStateLabel()->toolTip();
        fakeUdev_n::setPorts(ports);
        m_pLibrary->nOpenIV = openIV;
        m_pLibrary->nOpen = openError.toInt() == 0 && openError.isValid() ? 1 : 0;
        m_pLibrary->openError = openError;
        QAction* pActManual =
            f.window->startComServerAction()->menu()->findChild<QAction*>("actionManualStartComServer");
        QCOMPARE(pActManual->text(), QStringLiteral("Manual"));
        QCOMPARE(answering(inputs,
                           [&]()
                           {
                               how == "auto"     ? f.window->startComServerAction()->trigger()
                               : how == "manual" ? pActManual->trigger()
                                                 : f.t().startComServer("ttyS3", "777001");
                           }),
                 seen);
        QCOMPARE(m_pLibrary->calls, calls);
        QVERIFY(f.window->serialPort()->isOpen() && f.window->stateStack().isEmpty());
        QCOMPARE(f.window->portStateLabel()->toolTip(), strToolTip);
        QCOMPARE(f.window->mode(), sensor_n::mode_t::AnalyseSensor);
        QCOMPARE(f.wireSoFar().mid(0, 2),
                 openIV == 0 ? QByteArrayList({"\x03", "reg /count"}) : QByteArrayList());
        QVERIFY(openIV != 0 ||
                f.t().pageStack()->currentIndex() == f.t().pageIndex(int(sensor_n::mode_t::AnalyseSensor)));
    }

    // The channel is closed in every case, after the mode; a refusal is said.
    void stop()
    {
        for (bool bStartFirst : {false, true})
            for (int nCloseResult : {1, 0})
            {
                if (bStartFirst)
                    QCOMPARE(answering({}, [this]() { f.t().startComServer("ttyIpc0", "900103"); }),
                             QStringList{g_strInfo});
                m_pLibrary->calls.clear();
                m_pLibrary->nClose = nCloseResult;
                QCOMPARE(answering({}, [this]() { f.window->stopComServerAction()->trigger(); }),
                         nCloseResult == 0 ? QStringList{g_strCloseRefused.arg(7)} : QStringList());
                QCOMPARE(m_pLibrary->calls, QStringList({"closeComServerMode 1 254 -1", "comClose 1"}));
            }
    }

    void standInOnTheIndustrialPc_data()
    {
        QTest::addColumn<sim_t::ipcAnswer_t>("answer");
        QTest::addColumn<int>("code"); // the peer's, then the one the boxes say
        QTest::addColumn<int>("shown");
        QTest::newRow("accepted") << sim_t::ipcAccept << 0 << 0;
        QTest::newRow("refused with code 7") << sim_t::ipcRefuse << 7 << 7;
        QTest::newRow("silent peer") << sim_t::ipcSilent << 0 << int(KVC_ERR_TIMEOUT);
    }
    // The program's own binding: the library stand-in found on the library path (build/standin), the
    // interface found by its USB ids and reached by the port name the platform gives (pts/N).
    void standInOnTheIndustrialPc()
    {
        QFETCH(sim_t::ipcAnswer_t, answer);
        QFETCH(int, code);
        QFETCH(int, shown);
        kvcomLibrary_c::setInstance(nullptr);
        auto* pRuntime = dynamic_cast<kvcomRuntimeLibrary_c*>(&kvcomLibrary_c::instance());
        QVERIFY2(pRuntime != nullptr && pRuntime->isLoaded(),
                 "libKVCom_x64.so is found on the library path (build/standin)");
        // The simulated industrial PC in a thread of its own: the library blocks the GUI thread while it
        // waits for the answer, so the peer must go on serving meanwhile.
        QThread thread;
        auto* pPeer = new sim_t();
        pPeer->moveToThread(&thread);
        thread.start();
        QObject::connect(&thread, &QThread::finished, pPeer, &QObject::deleteLater);
        const auto guard = qScopeGuard([&]() { thread.quit(), thread.wait(); });
        const auto run = [&](auto p_fn)
        {
            decltype(p_fn(nullptr)) result{};
            QMetaObject::invokeMethod(
                pPeer, [&]() { result = p_fn(pPeer); }, Qt::BlockingQueuedConnection);
            return result;
        };
        QVERIFY(
            run([=](sim_t* p_pSim) { return p_pSim->open() && (p_pSim->setIpcAnswer(answer, code), true); }));
        fakeUdev_n::setPorts(
            {fakeUdev_n::portEntry(run([](sim_t* p_pSim) { return p_pSim->slavePath(); }), "0483", "a097")});
        auto state = [&]()
        {
            return run(
                [](sim_t* p_pSim)
                {
                    return p_pSim->commands()
                           << (p_pSim->isComServerOpen() ? p_pSim->comServerModule().toLatin1()
                                                         : QByteArray("closed"));
                });
        };
        const QByteArray baOpen = "kvc open 254 900103 115200 8 0 0 0 180";
        QCOMPARE(answering({}, [this]() { f.window->startComServerAction()->trigger(); }),
                 QStringList{answer == sim_t::ipcAccept ? g_strInfo : g_strRefused.arg(shown)});
        QCOMPARE(state(), QByteArrayList({baOpen, answer == sim_t::ipcAccept ? QByteArray("900103")
                                                                             : QByteArray("closed")}));
        QCOMPARE(answering({}, [this]() { f.window->stopComServerAction()->trigger(); }),
                 answer == sim_t::ipcAccept ? QStringList() : QStringList{g_strCloseRefused.arg(shown)});
        QCOMPARE(state(), QByteArrayList({baOpen, "kvc close 254", "closed"}));
        // The channel was closed whatever the peer said: a second stop finds none and sends nothing.
        QCOMPARE(answering({}, [this]() { f.window->stopComServerAction()->trigger(); }),
                 QStringList{g_strCloseRefused.arg(KVC_ERR_NOT_OPEN)});
        QCOMPARE(state().size(), 3);
    }

    void standInCannotOpenAMissingInterface()
    {
        kvcomLibrary_c::setInstance(nullptr);
        const QString strMissing = QStringLiteral("/dev/vindal-no-such-port");
        QCOMPARE(answering({strMissing}, [this]() { f.window->startComServerAction()->trigger(); }),
                 QStringList({g_strAsk, g_strNoChannel.arg(strMissing)}));
    }
};

QTEST_MAIN(tst_comServer)
#include "tst_comServer.moc"
