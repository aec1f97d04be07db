// The dialogue against a module that takes its time: replies at the line rate, processing times, the tail
// of a reply after the abort byte. A technician switches modes mid-reply, double clicks and leaves boxes
// open while bytes arrive.
#include "modalAnswerer.h"
#include "scratchDirectory.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "windowTester.h"

#include <QPlainTextEdit>
#include <QSerialPort>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;
using opMode_t = sensor_n::mode_t;

namespace
{

const QByteArrayList g_lstQuery = {"model_fw", "date", "time", "reg /count", "max", "LedOn"};

// The commands from the last abort byte on.
QByteArrayList fromLastAbort(const QByteArrayList& p_lstCommands)
{
    return p_lstCommands.mid(p_lstCommands.lastIndexOf("\x03"));
}

} // namespace

class tst_realTiming : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void leavingTheImagePageMidPicture_data();
    void leavingTheImagePageMidPicture();
    void moduleIgnoringTheAbortHoldsTheDialogueBackBriefly();
    void delayedAbortLeavesTheNextCommandAlone();
    void strayLinesAreRecordedOnce();
    void doubleClickStartsOneChain_data();
    void doubleClickStartsOneChain();
    void bytesDuringAWaitAreReadBeforeTheNextCommand();
    void closingTheWindowEndsTheProgram();
    void lostAdapterIsSaidInTheStatusBar();
    void fingerIdOutsideTheHands_data();
    void fingerIdOutsideTheHands();
    void simulatorRecordsInArrivalOrder();

private:
    vindal01mainWindowTester_c tester() const { return vindal01mainWindowTester_c(*m_pWindow); }
    void clickMode(opMode_t p_nMode);
    int unexpectedRecords() const;

    sensorSimulator_c* m_pSim = nullptr;
    vindal01mainWindow_c* m_pWindow = nullptr;
    scratchDirectory_c* m_pDir = nullptr;
    QStringList m_lstStatus;
};

void tst_realTiming::init()
{
    m_pDir = new scratchDirectory_c();
    m_pSim = new sensorSimulator_c();
    m_pSim->setRealTiming(true);
    m_pSim->setScanDelay(20);
    m_pSim->setSearchDelay(150);
    m_pSim->setMatchDelay(150);
    m_pSim->setPlacementDelay(150);
    QVERIFY(m_pSim->open());
    m_pWindow = new vindal01mainWindow_c();
    m_pWindow->resize(760, 560);
    m_pWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pWindow));
    m_lstStatus.clear();
    connect(m_pWindow->statusBar(), &QStatusBar::messageChanged, this,
            [this](const QString& p_strMessage) { m_lstStatus << p_strMessage; });
    tester().portChanged(m_pSim->slavePath());
    QVERIFY(m_pWindow->serialPort()->isOpen());
    QTRY_COMPARE(m_pSim->commands(), g_lstQuery);
    QTRY_VERIFY(m_pWindow->received().endsWith("=OK LedOn\r\n"));
    m_pSim->clearRecording();
}

void tst_realTiming::cleanup()
{
    delete m_pWindow;
    delete m_pSim;
    delete m_pDir;
}

void tst_realTiming::clickMode(opMode_t p_nMode)
{
    auto* pButton = m_pWindow->findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(int(p_nMode)));
    QVERIFY(pButton != nullptr);
    QTest::mouseClick(pButton, Qt::LeftButton);
    QCOMPARE(m_pWindow->mode(), p_nMode);
}

int tst_realTiming::unexpectedRecords() const
{
    const QString strText = m_pWindow->unexpectedResponsesWindow()->toPlainText();
    return strText.isEmpty() ? 0 : m_pWindow->unexpectedResponsesWindow()->document()->blockCount();
}

// The picture streams for seconds; the technician leaves the page while it does. The tail that still
// arrives after the abort byte belongs to no command: the new mode's dialogue runs as on a quiet line.
void tst_realTiming::leavingTheImagePageMidPicture_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArrayList>("wire");
    QTest::newRow("Info") << int(opMode_t::Info) << (QByteArrayList{"\x03"} + g_lstQuery);
    QTest::newRow("Analyse") << int(opMode_t::AnalyseSensor)
                             << QByteArrayList{"\x03", "reg /count", "reg /list", "temp_set 2",
                                               "reg /get 3 6"};
}

void tst_realTiming::leavingTheImagePageMidPicture()
{
    QFETCH(int, mode);
    QFETCH(QByteArrayList, wire);
    QVERIFY(m_pSim->addTemplate(3, 6));
    QVERIFY(m_pSim->setImage(256, 288, QByteArray(256 * 288, char(0x4f))));
    m_pSim->setFinger(3, 6);
    clickMode(opMode_t::Test);
    // A few thousand bytes into a picture of 73728 (six seconds at the line rate).
    QTRY_VERIFY_WITH_TIMEOUT(m_pWindow->received().size() > 3000, 10000);
    m_pSim->clearRecording();
    clickMode(opMode_t(mode));

    QTRY_COMPARE_WITH_TIMEOUT(m_pSim->commands(), wire, 10000);
    QTRY_COMPARE(m_pWindow->command(), mode == int(opMode_t::Info) ? command_t::LedOn : command_t::RegGet);
    QTRY_VERIFY(m_pWindow->statusBar()->currentMessage().isEmpty());
    const vindal01mainWindowTester_c t = tester();
    if (mode == int(opMode_t::Info))
    {
        QCOMPARE(t.lblFirmware()->text(), m_pSim->firmware());
        QCOMPARE(t.lblCapacity()->text(), QStringLiteral("1 / 500"));
    }
    else
    {
        QCOMPARE(t.treeTemplates()->topLevelItemCount(), 1);
    }
    QCOMPARE(unexpectedRecords(), 0);
    // The tail came after the abort byte, and the next command went out only after it, measured on the
    // simulator's clock.
    QVERIFY(m_pSim->lastTailSentAt() >= 0);
    QVERIFY(m_pSim->commandTimes().value(1) >= m_pSim->lastTailSentAt());
    QVERIFY(m_pSim->commandTimes().value(1) - m_pSim->lastAbortAt() < 5000);
}

// A module that goes on sending its picture after the abort byte: the next command still goes out soon,
// long before the picture would end.
void tst_realTiming::moduleIgnoringTheAbortHoldsTheDialogueBackBriefly()
{
    m_pSim->setAbortTail(1 << 20);
    QVERIFY(m_pSim->setImage(256, 288, QByteArray(256 * 288, char(0x4f))));
    m_pSim->setFinger(3, 6);
    clickMode(opMode_t::Test);
    QTRY_VERIFY_WITH_TIMEOUT(m_pWindow->received().size() > 3000, 10000);
    m_pSim->clearRecording();
    clickMode(opMode_t::Info);
    QTRY_VERIFY_WITH_TIMEOUT(m_pSim->commands().contains("model_fw"), 10000);
    QVERIFY(m_pSim->commandTimes().value(1) - m_pSim->lastAbortAt() < 3000);
}

// The abort that ends the LED-less search and its completion come 100 ms apart; a mode change in
// between starts the information query, which a slow module answers after those timers have run.
void tst_realTiming::delayedAbortLeavesTheNextCommandAlone()
{
    QVERIFY(m_pSim->addTemplate(7, 2));
    m_pSim->setFinger(7, 2);
    int nSearches = 0;
    connect(m_pSim, &sensorSimulator_c::commandReceived, this,
            [&](const QByteArray& p_baCommand)
            {
                if (p_baCommand == "search 0" && ++nSearches == 1)
                {
                    QMetaObject::invokeMethod(
                        this, [this]() { clickMode(opMode_t::Info); }, Qt::QueuedConnection);
                }
                else if (p_baCommand == "model_fw")
                {
                    m_pSim->silenceNextCommands(1);
                    QTimer::singleShot(500, m_pSim, [this]() { m_pSim->injectLine("=OK VD01 slow"); });
                }
            });
    clickMode(opMode_t::Train);
    QTRY_COMPARE_WITH_TIMEOUT(fromLastAbort(m_pSim->commands()), QByteArrayList{"\x03"} + g_lstQuery, 10000);
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QCOMPARE(tester().lblFirmware()->text(), QStringLiteral("VD01 slow"));
    // The LED-less search was not aborted once the query ran: one abort byte, the mode change's.
    QCOMPARE(m_pSim->commands().mid(m_pSim->commands().indexOf("search 0")).count("\x03"), 1);
    QCOMPARE(unexpectedRecords(), 0);
}

// Stray lines while model_fw waits, one per read: each one is recorded once.
void tst_realTiming::strayLinesAreRecordedOnce()
{
    m_pSim->silenceNextCommands(1);
    tester().setState(state_t::QueryDevice);
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList{"model_fw"});
    const int nStray = 6;
    for (int n = 1; n <= nStray; ++n)
    {
        const QByteArray baLine = "=XX stray " + QByteArray::number(n);
        m_pSim->injectLine(baLine);
        QTRY_VERIFY(m_pWindow->received().endsWith(baLine + "\r\n"));
    }
    m_pSim->injectLine("=OK VD01 late");
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QCOMPARE(tester().lblFirmware()->text(), QStringLiteral("VD01 late"));
    QCOMPARE(unexpectedRecords(), nStray);
    const QString strRecords = m_pWindow->unexpectedResponsesWindow()->toPlainText();
    for (int n = 1; n <= nStray; ++n)
    {
        QCOMPARE(strRecords.count(QStringLiteral("model_fw ::> =XX stray %1").arg(n)), 1);
    }
}

// A double click on a button that starts a chain starts it once; the chain ends as after one click.
void tst_realTiming::doubleClickStartsOneChain_data()
{
    QTest::addColumn<int>("button"); // 0 enrolment Start, 1 delete person, 2 delete all
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("enrolment Start") << 0 << QByteArray("enroll_dupfp 4 1 3");
    QTest::newRow("delete the person") << 1 << QByteArray("reg /del 4 0");
    QTest::newRow("delete all") << 2 << QByteArray("reg /clear");
}

void tst_realTiming::doubleClickStartsOneChain()
{
    QFETCH(int, button);
    QFETCH(QByteArray, command);
    const vindal01mainWindowTester_c t = tester();
    QVERIFY(m_pSim->addTemplate(4, 1));
    m_pSim->setStrangerFinger();
    const bool bEnrol = button == 0;
    clickMode(bEnrol ? opMode_t::Enroll : opMode_t::Delete);
    QTest::keyClicks(bEnrol ? t.leEnrollPid() : t.leDeletePid(), QStringLiteral("4"));
    QTRY_COMPARE(m_pSim->commands().mid(m_pSim->commands().lastIndexOf("\x03")).count(), 13);
    QTRY_COMPARE(m_pWindow->state(), bEnrol ? state_t::Enroll : state_t::Delete);
    QTRY_VERIFY(t.btnDeletePerson()->isEnabled() || bEnrol);
    if (bEnrol)
    {
        t.leEnrollFid()->setText(QStringLiteral("3"));
        t.leEnrollGroup()->setText(QStringLiteral("1"));
    }
    std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Yes));
    m_pSim->clearRecording();
    QPushButton* const apButtons[] = {t.btnEnrollStart(), t.btnDeletePerson(), t.btnDeleteAll()};
    // What the window system delivers for a double click: a click, then a second press and release.
    QTest::mouseClick(apButtons[button], Qt::LeftButton);
    QTest::mouseDClick(apButtons[button], Qt::LeftButton);
    QTest::mouseRelease(apButtons[button], Qt::LeftButton);

    // The chain ends with the finger walk, which reads the list afresh and ends with LedOn.
    QTRY_VERIFY_WITH_TIMEOUT(m_pSim->commands().contains("LedOn"), 10000);
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QTRY_VERIFY(m_pWindow->received().endsWith("=OK LedOn\r\n"));
    QCOMPARE(m_pSim->commands().count(command), 1);
    QCOMPARE(m_pWindow->state(), bEnrol ? state_t::Enroll : state_t::Delete);
    QVERIFY(m_pWindow->stateStack().isEmpty());
    QCOMPARE(pAnswerer->count(), bEnrol ? 0 : 1);
    QCOMPARE(apButtons[button]->isEnabled(), button != 1);
    if (bEnrol)
    {
        QVERIFY(m_pSim->hasTemplate(4, 3));
        QVERIFY(m_lstStatus.contains(QStringLiteral("Mit Qualität 85% eingelernt.")));
    }
    else
    {
        QVERIFY(!m_pSim->hasTemplate(4, 1));
    }
}

// A line that arrives while an unknown finger is shown (a wait of four seconds inside the read slot) is
// read when the wait ends: in the traffic window before the next scan, and no part of the scan's reply.
void tst_realTiming::bytesDuringAWaitAreReadBeforeTheNextCommand()
{
    m_pSim->setStrangerFinger();
    const vindal01mainWindowTester_c t = tester();
    bool bInjected = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this,
            [&]()
            {
                if (!bInjected && t.lblTrainPid()->text() == QStringLiteral("Finger nicht erkannt"))
                {
                    bInjected = true;
                    m_pSim->injectLine("=NO NoFinger stray");
                }
            });
    watcher.start(10);
    clickMode(opMode_t::Train);
    // The first result, then the next scan, answered with a finger: the LED goes off for the next search.
    QTRY_VERIFY_WITH_TIMEOUT(m_pSim->commands().count("LedOff") >= 2, 15000);
    QVERIFY(bInjected);
    const QByteArrayList lstCommands = m_pSim->commands();
    const int nResult = lstCommands.lastIndexOf("search 0", lstCommands.lastIndexOf("LedOff"));
    QVERIFY(nResult > 0);
    QCOMPARE(lstCommands.mid(nResult + 1, 2), (QByteArrayList{"scan", "LedOff"}));
    const QString strTraffic = m_pWindow->serialCommandsWindow()->toPlainText();
    const int nStray = strTraffic.indexOf(QStringLiteral("R =NO NoFinger stray"));
    QVERIFY(nStray >= 0);
    QVERIFY(strTraffic.indexOf(QStringLiteral("W scan"), nStray) > nStray);
    // A module that streams while a box stays open cannot fill the memory.
    QVERIFY(m_pWindow->serialPort()->readBufferSize() > 0);
}

// Diagnostic windows and the log reader open: closing the main window still ends the program and frees
// the port for the next start.
void tst_realTiming::closingTheWindowEndsTheProgram()
{
    m_pWindow->serialCommandsWindow()->show();
    m_pWindow->unexpectedResponsesWindow()->show();
    reinterpret_cast<QWidget*>(m_pWindow->serialErrorLogWindow())->show();
    QVERIFY(m_pWindow->close());
    // The program ends when no window that keeps it running is left visible.
    QStringList lstOpen;
    for (QWidget* pWidget : QApplication::topLevelWidgets())
    {
        if (pWidget->isVisible() && pWidget->testAttribute(Qt::WA_QuitOnClose))
        {
            lstOpen << QString::fromLatin1(pWidget->metaObject()->className());
        }
    }
    QCOMPARE(lstOpen, QStringList());
    QVERIFY(m_pWindow->serialPort() == nullptr || !m_pWindow->serialPort()->isOpen());
    QSerialPort nextStart(m_pSim->slavePath());
    QVERIFY2(nextStart.open(QIODevice::ReadWrite), qPrintable(nextStart.errorString()));
}

// The adapter is pulled while the image page waits for a finger.
void tst_realTiming::lostAdapterIsSaidInTheStatusBar()
{
    clickMode(opMode_t::Test);
    QTRY_VERIFY(m_pSim->commands().count("scan") >= 2);
    const QString strLost = QStringLiteral("Verbindung zum Sensor verloren: Der Adapter an Port %1 wurde "
                                           "abgezogen oder ist ausgefallen.")
                                .arg(m_pWindow->serialPort()->portName());
    m_pSim->vanish();
    QTRY_COMPARE(m_pWindow->statusBar()->currentMessage(), strLost);
    QVERIFY(!m_pWindow->serialPort()->isOpen());
    QCOMPARE(m_lstStatus.count(strLost), 1);
    QCOMPARE(m_lstStatus.last(), strLost);
}

// The search reports a finger ID; outside 0..9 it lies on no hand.
void tst_realTiming::fingerIdOutsideTheHands_data()
{
    QTest::addColumn<int>("fid");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("leftHilight");
    QTest::addColumn<int>("rightHilight");
    QTest::newRow("-1") << -1 << "Unknown Finger ID -1" << -1 << -1;
    QTest::newRow("12") << 12 << "Unknown Finger ID 12" << -1 << -1;
    QTest::newRow("5 right thumb") << 5 << "right thumb (5)" << -1 << int(humanHandWidget_c::fingerThumb);
    QTest::newRow("1 left ring") << 1 << "left ring finger (1)" << int(humanHandWidget_c::fingerRing) << -1;
}

void tst_realTiming::fingerIdOutsideTheHands()
{
    QFETCH(int, fid);
    QFETCH(QString, text);
    QFETCH(int, leftHilight);
    QFETCH(int, rightHilight);
    const vindal01mainWindowTester_c t = tester();
    m_pSim->setStrangerFinger();
    int nSearches = 0;
    connect(m_pSim, &sensorSimulator_c::commandReceived, this,
            [&](const QByteArray& p_baCommand)
            {
                if (p_baCommand == "search 0" && ++nSearches == 2)
                {
                    m_pSim->silenceNextCommands(1);
                    m_pSim->injectLine("=OK Ready\r\n=OK FP\r\n=OK Search ID=7, BKNum=" +
                                       QByteArray::number(fid));
                }
            });
    QString strShown;
    int anHilight[2] = {-2, -2};
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this,
            [&]()
            {
                if (strShown.isEmpty() && t.lblTrainPid()->text() == QStringLiteral("7"))
                {
                    strShown = t.lblTrainFinger()->text();
                    anHilight[0] = t.trainHand(0)->hilight();
                    anHilight[1] = t.trainHand(1)->hilight();
                }
            });
    watcher.start(10);
    clickMode(opMode_t::Train);
    QTRY_VERIFY_WITH_TIMEOUT(!strShown.isEmpty(), 10000);
    QCOMPARE(strShown, text);
    QCOMPARE(anHilight[0], leftHilight);
    QCOMPARE(anHilight[1], rightHilight);
}

// A slot on commandReceived that runs an event loop while more bytes come: the recording keeps the order
// of the wire.
void tst_realTiming::simulatorRecordsInArrivalOrder()
{
    QSerialPort* pPort = m_pWindow->serialPort();
    bool bWritten = false;
    connect(m_pSim, &sensorSimulator_c::commandReceived, this,
            [&](const QByteArray& p_baCommand)
            {
                if (p_baCommand == "first" && !bWritten)
                {
                    bWritten = true;
                    pPort->write("third\r");
                    QTest::qWait(100);
                }
            });
    pPort->write("first\rsecond\r");
    QTRY_COMPARE(m_pSim->commands(), (QByteArrayList{"first", "second", "third"}));
    QCOMPARE(m_pSim->received(), QByteArray("first\rsecond\rthird\r"));
}

QTEST_MAIN(tst_realTiming)

#include "tst_realTiming.moc"
