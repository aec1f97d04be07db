// The communication library stand-in against the simulated industrial PC on a pseudo-terminal.
//
// The library blocks its caller while it waits for an answer, so each request runs on a thread of its own
// while the simulator answers in this thread's event loop.

#include "kvcomStandIn.h"
#include "sensorSimulator.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <thread>
#include <unistd.h>

using simulator_n::sensorSimulator_c;

namespace
{
constexpr int c_nChannel = 1;
constexpr int c_nAddress = 254;

struct callResult_s
{
    int m_nResult = -100;
    int m_nError = -100;
    qint64 m_nMs = -1;
};
} // namespace

class tst_kvcomStandIn : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void versionText();
    void openingPortsThatCannotBeOpened_data();
    void openingPortsThatCannotBeOpened();
    void openAndCloseAccepted();
    void nameWithoutSlashIsUnderDev();
    void refusalCarriesTheCode();
    void silentPeerTimesOut();
    void vanishingPeerEndsTheWait();
    void requestsNeedAnOpenChannelAndAModule();
    void simulatorOnItsOwnThreadAnswersABlockingCaller();

private:
    // Runs p_call on a thread while this thread's event loop serves the simulator.
    callResult_s runBlocking(const std::function<int(int*)>& p_call);
    bool openChannel(int p_nTimeoutMs = 800);

    sensorSimulator_c* m_pSim = nullptr;
};

void tst_kvcomStandIn::init()
{
    m_pSim = new sensorSimulator_c;
    QVERIFY2(m_pSim->open(), qPrintable(m_pSim->errorString()));
}

void tst_kvcomStandIn::cleanup()
{
    KVCComClose(c_nChannel);
    delete m_pSim;
    m_pSim = nullptr;
}

bool tst_kvcomStandIn::openChannel(int p_nTimeoutMs)
{
    return KVCComOpenIV(c_nChannel, 0, 1, m_pSim->slavePath().toLocal8Bit().constData(), 38400,
                        p_nTimeoutMs) != 0;
}

callResult_s tst_kvcomStandIn::runBlocking(const std::function<int(int*)>& p_call)
{
    callResult_s result;
    std::atomic<bool> bDone(false);
    QElapsedTimer clock;
    clock.start();
    std::thread worker(
        [&]()
        {
            int nError = -1;
            result.m_nResult = p_call(&nError);
            result.m_nError = nError;
            bDone = true;
        });
    // The stand-in bounds every wait itself; the thread always ends, so join() cannot hang.
    while (!bDone.load())
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    worker.join();
    result.m_nMs = clock.elapsed();
    return result;
}

void tst_kvcomStandIn::versionText()
{
    char szVersion[128];
    QVERIFY(KVCVersionLibrary(szVersion, sizeof(szVersion)) != 0);
    QVERIFY(qstrlen(szVersion) > 0);
    // A short buffer gets a cut, still terminated text.
    char szShort[5] = {'x', 'x', 'x', 'x', 'x'};
    QVERIFY(KVCVersionLibrary(szShort, sizeof(szShort)) != 0);
    QCOMPARE(int(qstrlen(szShort)), 4);
    QCOMPARE(KVCVersionLibrary(nullptr, 10), 0);
    QCOMPARE(KVCVersionLibrary(szShort, 0), 0);
}

void tst_kvcomStandIn::openingPortsThatCannotBeOpened_data()
{
    QTest::addColumn<QByteArray>("port");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("channel");

    QTest::newRow("no such path") << QByteArray("/dev/ttyNoSuchPort97") << 38400 << c_nChannel;
    QTest::newRow("no such name") << QByteArray("ttyNoSuchPort97") << 38400 << c_nChannel;
    QTest::newRow("not a serial port") << QByteArray("/dev/null") << 38400 << c_nChannel;
    QTest::newRow("empty name") << QByteArray("") << 38400 << c_nChannel;
    QTest::newRow("unsupported baud rate") << QByteArray("SIM") << 12345 << c_nChannel;
    QTest::newRow("channel 0") << QByteArray("SIM") << 38400 << 0;
    QTest::newRow("channel beyond the table") << QByteArray("SIM") << 38400 << KVC_MAX_CHANNELS + 1;
}

void tst_kvcomStandIn::openingPortsThatCannotBeOpened()
{
    QFETCH(QByteArray, port);
    QFETCH(int, baud);
    QFETCH(int, channel);
    if (port == "SIM")
    {
        port = m_pSim->slavePath().toLocal8Bit();
    }
    QCOMPARE(KVCComOpenIV(channel, 0, 1, port.constData(), baud, 800), 0);
    // Nothing was opened, so there is nothing to close.
    QCOMPARE(KVCComClose(channel), 0);
}

void tst_kvcomStandIn::openAndCloseAccepted()
{
    QVERIFY(openChannel());
    const callResult_s opened = runBlocking(
        [](int* p_pnError) {
            return KVCOpenComServerMode(c_nChannel, c_nAddress, "900103", 115200, 8, 0, 0, 0, 180, p_pnError);
        });
    QVERIFY(opened.m_nResult != 0);
    QCOMPARE(opened.m_nError, 0);
    QVERIFY(m_pSim->isComServerOpen());
    QCOMPARE(m_pSim->comServerModule(), QStringLiteral("900103"));

    const callResult_s closed =
        runBlocking([](int* p_pnError) { return KVCCloseComServerMode(c_nChannel, c_nAddress, p_pnError); });
    QVERIFY(closed.m_nResult != 0);
    QCOMPARE(closed.m_nError, 0);
    QVERIFY(!m_pSim->isComServerOpen());
    QCOMPARE(m_pSim->commands(), (QByteArrayList{"kvc open 254 900103 115200 8 0 0 0 180", "kvc close 254"}));
    QCOMPARE(m_pSim->received(), QByteArray("kvc open 254 900103 115200 8 0 0 0 180\r\nkvc close 254\r\n"));

    QVERIFY(KVCComClose(c_nChannel) != 0);
    QCOMPARE(KVCComClose(c_nChannel), 0);
}

void tst_kvcomStandIn::nameWithoutSlashIsUnderDev()
{
    const QString strPath = m_pSim->slavePath();
    QVERIFY(strPath.startsWith(QLatin1String("/dev/")));
    QVERIFY(KVCComOpenIV(c_nChannel, 0, 1, strPath.mid(5).toLocal8Bit().constData(), 38400, 800) != 0);
    const callResult_s opened = runBlocking(
        [](int* p_pnError) {
            return KVCOpenComServerMode(c_nChannel, c_nAddress, "900103", 115200, 8, 0, 0, 0, 180, p_pnError);
        });
    QVERIFY(opened.m_nResult != 0);
}

void tst_kvcomStandIn::refusalCarriesTheCode()
{
    QVERIFY(openChannel());
    // Bytes that were waiting before the request are not taken for its answer. The kernel hands them to
    // the slave side a moment after the write; a look through a second descriptor makes sure they are there.
    m_pSim->injectLine("=OK ComServer");
    const int nLook = ::open(m_pSim->slavePath().toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    QVERIFY(nLook >= 0);
    struct pollfd pfd = {nLook, POLLIN, 0};
    const int nReady = ::poll(&pfd, 1, 5000);
    ::close(nLook);
    QCOMPARE(nReady, 1);
    m_pSim->setIpcAnswer(sensorSimulator_c::ipcRefuse, 7);
    const callResult_s opened = runBlocking(
        [](int* p_pnError) {
            return KVCOpenComServerMode(c_nChannel, c_nAddress, "900103", 115200, 8, 0, 0, 0, 180, p_pnError);
        });
    QCOMPARE(opened.m_nResult, 0);
    QCOMPARE(opened.m_nError, 7);
    QVERIFY(!m_pSim->isComServerOpen());

    m_pSim->setIpcAnswer(sensorSimulator_c::ipcRefuse, -31);
    const callResult_s closed =
        runBlocking([](int* p_pnError) { return KVCCloseComServerMode(c_nChannel, c_nAddress, p_pnError); });
    QCOMPARE(closed.m_nResult, 0);
    QCOMPARE(closed.m_nError, -31);
}

void tst_kvcomStandIn::silentPeerTimesOut()
{
    QVERIFY(openChannel(300));
    m_pSim->setIpcAnswer(sensorSimulator_c::ipcSilent);
    const callResult_s opened = runBlocking(
        [](int* p_pnError) {
            return KVCOpenComServerMode(c_nChannel, c_nAddress, "900103", 115200, 8, 0, 0, 0, 180, p_pnError);
        });
    QCOMPARE(opened.m_nResult, 0);
    QCOMPARE(opened.m_nError, KVC_ERR_TIMEOUT);
    QVERIFY2(opened.m_nMs >= 250 && opened.m_nMs < 3000, qPrintable(QString::number(opened.m_nMs)));
    QCOMPARE(m_pSim->commands().size(), 1);

    // The request is there; a peer that says nothing at all behaves the same.
    m_pSim->setIpcAnswer(sensorSimulator_c::ipcAccept);
    m_pSim->setSilent(true);
    const callResult_s closed =
        runBlocking([](int* p_pnError) { return KVCCloseComServerMode(c_nChannel, c_nAddress, p_pnError); });
    QCOMPARE(closed.m_nResult, 0);
    QCOMPARE(closed.m_nError, KVC_ERR_TIMEOUT);
}

void tst_kvcomStandIn::vanishingPeerEndsTheWait()
{
    QVERIFY(openChannel(5000));
    m_pSim->setIpcAnswer(sensorSimulator_c::ipcSilent);
    // The peer disappears as soon as the request has arrived.
    connect(m_pSim, &sensorSimulator_c::commandReceived, m_pSim, &sensorSimulator_c::vanish,
            Qt::QueuedConnection);
    const callResult_s opened = runBlocking(
        [](int* p_pnError) {
            return KVCOpenComServerMode(c_nChannel, c_nAddress, "900103", 115200, 8, 0, 0, 0, 180, p_pnError);
        });
    QCOMPARE(opened.m_nResult, 0);
    QCOMPARE(opened.m_nError, KVC_ERR_IO);
    QVERIFY2(opened.m_nMs < 4000, qPrintable(QString::number(opened.m_nMs)));
}

void tst_kvcomStandIn::requestsNeedAnOpenChannelAndAModule()
{
    int nError = -1;
    QCOMPARE(KVCOpenComServerMode(2, c_nAddress, "900103", 115200, 8, 0, 0, 0, 180, &nError), 0);
    QCOMPARE(nError, KVC_ERR_NOT_OPEN);
    nError = -1;
    QCOMPARE(KVCCloseComServerMode(2, c_nAddress, &nError), 0);
    QCOMPARE(nError, KVC_ERR_NOT_OPEN);
    QCOMPARE(KVCCloseComServerMode(2, c_nAddress, nullptr), 0);

    QVERIFY(openChannel());
    nError = -1;
    QCOMPARE(KVCOpenComServerMode(c_nChannel, c_nAddress, "900 103", 115200, 8, 0, 0, 0, 180, &nError), 0);
    QCOMPARE(nError, KVC_ERR_ARGUMENT);
    QCOMPARE(KVCOpenComServerMode(c_nChannel, c_nAddress, nullptr, 115200, 8, 0, 0, 0, 180, &nError), 0);
    QCOMPARE(KVCOpenComServerMode(c_nChannel, c_nAddress, "", 115200, 8, 0, 0, 0, 180, &nError), 0);
    // Nothing went over the line.
    QCoreApplication::processEvents();
    QVERIFY(m_pSim->received().isEmpty());
}

void tst_kvcomStandIn::simulatorOnItsOwnThreadAnswersABlockingCaller()
{
    // As the tool does: the library is called on the GUI thread and blocks it, so the simulated
    // industrial PC must answer from a thread of its own.
    QThread thread;
    auto* pSim = new sensorSimulator_c;
    QVERIFY(pSim->open());
    pSim->setIpcAnswer(sensorSimulator_c::ipcRefuse, 12);
    const QByteArray baPath = pSim->slavePath().toLocal8Bit();
    pSim->moveToThread(&thread);
    connect(&thread, &QThread::finished, pSim, &QObject::deleteLater);
    thread.start();

    QVERIFY(KVCComOpenIV(2, 0, 1, baPath.constData(), 38400, 2000) != 0);
    int nError = -1;
    QCOMPARE(KVCOpenComServerMode(2, c_nAddress, "900103", 115200, 8, 0, 0, 0, 180, &nError), 0);
    QCOMPARE(nError, 12);
    // Settings change through a call queued to the simulator's thread.
    QMetaObject::invokeMethod(
        pSim, [pSim]() { pSim->setIpcAnswer(sensorSimulator_c::ipcAccept); }, Qt::BlockingQueuedConnection);
    QVERIFY(KVCOpenComServerMode(2, c_nAddress, "900103", 115200, 8, 0, 0, 0, 180, &nError) != 0);
    QCOMPARE(nError, 0);
    QByteArrayList lstCommands;
    QMetaObject::invokeMethod(
        pSim, [pSim, &lstCommands]() { lstCommands = pSim->commands(); }, Qt::BlockingQueuedConnection);
    QCOMPARE(lstCommands.size(), 2);
    QVERIFY(KVCComClose(2) != 0);

    thread.quit();
    QVERIFY(thread.wait(5000));
}

QTEST_GUILESS_MAIN(tst_kvcomStandIn)
#include "tst_kvcomStandIn.moc"
