// Enrolment, identification, match statistics and deletion end to end: the shown window on a real serial
// line to the simulated module, fingers picked by real clicks on the hand pictures.
#include "fifoInputDevice.h"
#include "modalAnswerer.h"
#include "scratchDirectory.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "windowTester.h"

#include <QClipboard>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;
using hand_t = humanHandWidget_c::hand_t;
using finger_t = humanHandWidget_c::finger_t;
using opMode_t = sensor_n::mode_t;

namespace
{

fifoInputDevice_c* g_pMouse = nullptr;

// The abort byte, then the finger list walk of a person.
QByteArrayList walkOf(int p_nPid)
{
    QByteArrayList lstWire = {"\x03", "LedOff"};
    for (int nFid = 0; nFid < 10; ++nFid)
    {
        lstWire << "reg /find " + QByteArray::number(p_nPid) + ' ' + QByteArray::number(nFid);
    }
    lstWire << "LedOn";
    return lstWire;
}

// The colours of the ten finger IDs of a page, '1' for light gray (enrolled) and '0' for gray.
QByteArray colours(humanHandWidget_c* p_pLeft, humanHandWidget_c* p_pRight)
{
    QByteArray baColours;
    for (int nId = 0; nId < 10; ++nId)
    {
        humanHandWidget_c* pHand = nId < 5 ? p_pLeft : p_pRight;
        const QColor col = pHand->fingerColor(humanHandWidget_c::fingerOfFingerId(nId));
        baColours += col == QColor(Qt::lightGray) ? '1' : col == QColor(Qt::gray) ? '0' : '?';
    }
    return baColours;
}

// What the training page shows at one moment.
struct trainView_t
{
    QString strPid;
    QString strFinger;
    int nLeftHilight = -1;
    int nRightHilight = -1;
    QColor colHilight;
    int nPage = -1;

    bool operator==(const trainView_t& p_other) const
    {
        return strPid == p_other.strPid && strFinger == p_other.strFinger &&
               nLeftHilight == p_other.nLeftHilight && nRightHilight == p_other.nRightHilight &&
               colHilight == p_other.colHilight && nPage == p_other.nPage;
    }
};

} // namespace

class tst_operations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void walkColoursTheEnrolledFingers();
    void clickedFingerGivesItsId_data();
    void clickedFingerGivesItsId();
    void typingTwoDigitsWalksTwice_data();
    void typingTwoDigitsWalksTwice();
    void enrolmentCountsPlacementsAndShowsQuality();
    void enrolmentRefusals_data();
    void enrolmentRefusals();
    void identificationShowsTheFinger_data();
    void identificationShowsTheFinger();
    void statisticsCountMatchesPerSecurityLevel();
    void deletingOneFinger();
    void deletingAPersonWalksAfresh();
    void deletingEverything();
    void clickBeforeAnyWalkOnlyFillsTheField();
    void questionsAnsweredNoSendNothing_data();
    void questionsAnsweredNoSendNothing();

private:
    vindal01mainWindowTester_c tester() const { return vindal01mainWindowTester_c(*m_pWindow); }
    void clickMode(opMode_t p_nMode);
    void clickFinger(humanHandWidget_c* p_pHand, finger_t p_nFinger);
    void typePid(QLineEdit* p_pEdit, const QString& p_strPid);
    trainView_t trainView() const;

    sensorSimulator_c* m_pSim = nullptr;
    vindal01mainWindow_c* m_pWindow = nullptr;
    scratchDirectory_c* m_pDir = nullptr;
    QStringList m_lstStatus;
};

void tst_operations::init()
{
    m_pDir = new scratchDirectory_c();
    m_pSim = new sensorSimulator_c();
    QVERIFY(m_pSim->open());
    m_pWindow = new vindal01mainWindow_c();
    m_pWindow->move(0, 0);
    m_pWindow->resize(760, 560);
    m_pWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pWindow));
    m_lstStatus.clear();
    connect(m_pWindow->statusBar(), &QStatusBar::messageChanged, this,
            [this](const QString& p_strMessage) { m_lstStatus << p_strMessage; });

    tester().portChanged(m_pSim->slavePath());
    QVERIFY(m_pWindow->serialPort()->isOpen());
    // The information query runs to its end before the test goes on.
    QTRY_COMPARE(m_pSim->commands().size(), 6);
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
    m_pSim->clearRecording();
}

void tst_operations::cleanup()
{
    delete m_pWindow;
    delete m_pSim;
    delete m_pDir;
}

void tst_operations::clickMode(opMode_t p_nMode)
{
    auto* pButton = m_pWindow->findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(int(p_nMode)));
    QVERIFY(pButton != nullptr);
    const int nCommandsBefore = m_pSim->commands().size();
    QTest::mouseClick(pButton, Qt::LeftButton);
    QCOMPARE(m_pWindow->mode(), p_nMode);
    // The abort byte that stops whatever the module was doing.
    QTRY_VERIFY(m_pSim->commands().size() > nCommandsBefore);
    QCOMPARE(m_pSim->commands().at(nCommandsBefore), QByteArray("\x03"));
}

void tst_operations::clickFinger(humanHandWidget_c* p_pHand, finger_t p_nFinger)
{
    QVERIFY(p_pHand->isVisible());
    QTRY_VERIFY(p_pHand->width() > 40 && p_pHand->height() > 40);
    QPoint ptFinger;
    for (const humanHandWidget_c::fingerShape_t& shape :
         humanHandWidget_c::fingerLayout(p_pHand->hand(), p_pHand->size()))
    {
        if (shape.nFinger == p_nFinger)
        {
            // Halfway down the finger's body, away from the fingertip's round edge.
            ptFinger = shape.rectBody.center();
        }
    }
    finger_t nHit = humanHandWidget_c::fingerThumb;
    QVERIFY(humanHandWidget_c::fingerAt(p_pHand->hand(), p_pHand->size(), ptFinger, &nHit));
    QCOMPARE(nHit, p_nFinger);
    QTest::mouseClick(p_pHand, Qt::LeftButton, Qt::NoModifier, ptFinger);
}

// Typing starts a walk per keystroke; the test goes on once the last one has ended.
void tst_operations::typePid(QLineEdit* p_pEdit, const QString& p_strPid)
{
    QTest::keyClicks(p_pEdit, p_strPid);
    QCOMPARE(p_pEdit->text(), p_strPid);
    QTRY_COMPARE(m_pSim->commands().value(m_pSim->commands().size() - 1), QByteArray("LedOn"));
    QTRY_VERIFY(m_pWindow->stateStack().isEmpty());
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
}

trainView_t tst_operations::trainView() const
{
    const vindal01mainWindowTester_c t = tester();
    trainView_t view;
    view.strPid = t.lblTrainPid()->text();
    view.strFinger = t.lblTrainFinger()->text();
    view.nLeftHilight = t.trainHand(0)->hilight();
    view.nRightHilight = t.trainHand(1)->hilight();
    view.colHilight = view.nLeftHilight >= 0    ? t.trainHand(0)->hilightColor()
                      : view.nRightHilight >= 0 ? t.trainHand(1)->hilightColor()
                                                : QColor();
    view.nPage = t.pageStack()->currentIndex();
    return view;
}

// --- Finger list ----------------------------------------------------------------------------------------

void tst_operations::walkColoursTheEnrolledFingers()
{
    QVERIFY(m_pSim->addTemplate(4, 0));
    QVERIFY(m_pSim->addTemplate(4, 5));
    QVERIFY(m_pSim->addTemplate(5, 1));
    clickMode(opMode_t::Enroll);
    QCOMPARE(tester().pageStack()->currentIndex(), tester().pageIndex(int(opMode_t::Enroll)));
    typePid(tester().leEnrollPid(), QStringLiteral("4"));

    QCOMPARE(m_pSim->commands(), QByteArrayList{"\x03"} + walkOf(4));
    QCOMPARE(tester().fingerFlags(), QByteArray("1000010000"));
    QCOMPARE(colours(tester().enrollHand(0), tester().enrollHand(1)), QByteArray("1000010000"));
    QCOMPARE(m_pWindow->state(), state_t::Enroll);
    QCOMPARE(m_pWindow->command(), command_t::LedOn);
}

void tst_operations::clickedFingerGivesItsId_data()
{
    QTest::addColumn<int>("hand");
    QTest::addColumn<finger_t>("finger");
    QTest::addColumn<QString>("fid");
    QTest::newRow("left little finger") << 0 << humanHandWidget_c::fingerLittle << "0";
    QTest::newRow("left index finger") << 0 << humanHandWidget_c::fingerIndex << "3";
    QTest::newRow("left thumb") << 0 << humanHandWidget_c::fingerThumb << "4";
    QTest::newRow("right thumb") << 1 << humanHandWidget_c::fingerThumb << "5";
    QTest::newRow("right ring finger") << 1 << humanHandWidget_c::fingerRing << "8";
    QTest::newRow("right little finger") << 1 << humanHandWidget_c::fingerLittle << "9";
}

// Both pages number the fingers alike and highlight only the clicked one.
void tst_operations::clickedFingerGivesItsId()
{
    QFETCH(int, hand);
    QFETCH(finger_t, finger);
    QFETCH(QString, fid);
    const vindal01mainWindowTester_c t = tester();

    clickMode(opMode_t::Enroll);
    clickFinger(t.enrollHand(1 - hand), humanHandWidget_c::fingerMiddle);
    clickFinger(t.enrollHand(hand), finger);
    QCOMPARE(t.leEnrollFid()->text(), fid);
    QCOMPARE(t.enrollHand(hand)->hilight(), int(finger));
    QCOMPARE(t.enrollHand(hand)->hilightColor(), QColor(Qt::white));
    QCOMPARE(t.enrollHand(1 - hand)->hilight(), -1);

    clickMode(opMode_t::Delete);
    clickFinger(t.deleteHand(1 - hand), humanHandWidget_c::fingerMiddle);
    clickFinger(t.deleteHand(hand), finger);
    QCOMPARE(t.leDeleteFid()->text(), fid);
    QCOMPARE(t.deleteHand(hand)->hilight(), int(finger));
    QCOMPARE(t.deleteHand(1 - hand)->hilight(), -1);
    // Picking a finger asks the module nothing.
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"\x03", "\x03"}));
}

void tst_operations::typingTwoDigitsWalksTwice_data()
{
    QTest::addColumn<bool>("oneRead");
    // The answer to the first walk's LedOff comes late, in the reply to the second walk's first RegFind.
    QTest::newRow("late LedOff reply") << false;
    // Both LedOff answers come in one read, as they do when the two walks start within a few milliseconds.
    QTest::newRow("both LedOff replies in one read") << true;
}

// Each keystroke starts a walk; the second begins inside the first, and the hands end up coloured from
// the walk for the whole number. The module's two LedOff answers are played by hand so that they arrive
// exactly as the row says.
void tst_operations::typingTwoDigitsWalksTwice()
{
    QFETCH(bool, oneRead);
    QVERIFY(m_pSim->addTemplate(1, 0));
    QVERIFY(m_pSim->addTemplate(1, 4));
    QVERIFY(m_pSim->addTemplate(12, 7));
    QVERIFY(m_pSim->addTemplate(12, 9));
    clickMode(opMode_t::Enroll);
    m_pSim->clearRecording();
    m_pSim->silenceNextCommands(4);
    QTest::keyClicks(tester().leEnrollPid(), QStringLiteral("12"));
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"\x03", "LedOff", "\x03", "LedOff"}));
    QCOMPARE(m_pWindow->stateStack().size(), 2);
    if (oneRead)
    {
        m_pSim->injectBytes("=OK LedOff\r\n=OK LedOff\r\n");
    }
    else
    {
        // Queued before the module's answer to that RegFind.
        connect(m_pSim, &sensorSimulator_c::commandReceived, this,
                [this](const QByteArray& p_baCommand)
                {
                    if (p_baCommand == "reg /find 12 0")
                    {
                        m_pSim->injectLine("=OK LedOff");
                    }
                });
        m_pSim->injectLine("=OK LedOff");
    }
    QTRY_COMPARE(m_pSim->commands().value(m_pSim->commands().size() - 1), QByteArray("LedOn"));
    QTRY_VERIFY(m_pWindow->stateStack().isEmpty());

    QCOMPARE(m_pSim->commands(), QByteArrayList({"\x03", "LedOff", "\x03", "LedOff"}) + walkOf(12).mid(2));
    QCOMPARE(m_pWindow->state(), state_t::Enroll);
    QCOMPARE(m_pWindow->command(), command_t::LedOn);
    if (!oneRead)
    {
        // The late answer is no reply to a RegFind: it is kept as unexpected and completes nothing.
        QVERIFY(m_pWindow->unexpectedResponsesWindow()->toPlainText().contains(
            QLatin1String("reg /find ::> =OK LedOff")));
    }
    QCOMPARE(tester().fingerFlags(), QByteArray("0000000101"));
    QCOMPARE(colours(tester().enrollHand(0), tester().enrollHand(1)), QByteArray("0000000101"));
}

// --- Enrolment ------------------------------------------------------------------------------------------

void tst_operations::enrolmentCountsPlacementsAndShowsQuality()
{
    const vindal01mainWindowTester_c t = tester();
    QVERIFY(m_pSim->addTemplate(3, 0));
    m_pSim->setPlacementMode(sensorSimulator_c::placementManual);
    m_pSim->setEnrollQuality(57);
    clickMode(opMode_t::Enroll);
    typePid(t.leEnrollPid(), QStringLiteral("3"));
    QCOMPARE(colours(t.enrollHand(0), t.enrollHand(1)), QByteArray("1000000000"));
    clickFinger(t.enrollHand(1), humanHandWidget_c::fingerIndex);
    QCOMPARE(t.leEnrollFid()->text(), QStringLiteral("6"));
    m_pSim->clearRecording();
    m_lstStatus.clear();
    std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Cancel));

    QTest::mouseClick(t.btnEnrollStart(), Qt::LeftButton);
    QTRY_COMPARE(m_pWindow->statusBar()->currentMessage(), QStringLiteral("Bitte Finger auflegen (1/3)"));
    QCOMPARE(m_pSim->commands(), QByteArrayList{"enroll_dupfp 3 1 6"});
    QCOMPARE(m_pWindow->state(), state_t::SubEnroll);
    QVERIFY(m_pSim->placeFinger());
    QTRY_COMPARE(m_pWindow->statusBar()->currentMessage(), QStringLiteral("Bitte Finger auflegen (2/3)"));
    QVERIFY(m_pSim->placeFinger());
    QTRY_COMPARE(m_pWindow->statusBar()->currentMessage(), QStringLiteral("Bitte Finger auflegen (3/3)"));
    QVERIFY(m_pSim->placeFinger());
    QTRY_COMPARE(m_pSim->commands().value(m_pSim->commands().size() - 1), QByteArray("LedOn"));
    QTRY_VERIFY(m_pWindow->stateStack().isEmpty());

    // Every reply chunk is read from the start of the reply again, so earlier placements may flash by once
    // more; the enrolment ends on the third placement and the quality.
    QCOMPARE(m_lstStatus.mid(m_lstStatus.size() - 2),
             QStringList({"Bitte Finger auflegen (3/3)", QStringLiteral("Mit Qualität 57% eingelernt.")}));
    QCOMPARE(m_pSim->commands(), QByteArrayList{"enroll_dupfp 3 1 6"} + walkOf(3));
    QVERIFY(m_pSim->hasTemplate(3, 6));
    // The new finger is shown as enrolled once the list has been read again.
    QTRY_COMPARE(colours(t.enrollHand(0), t.enrollHand(1)), QByteArray("1000001000"));
    QCOMPARE(m_pWindow->state(), state_t::Enroll);
    QCOMPARE(pAnswerer->count(), 0);
}

void tst_operations::enrolmentRefusals_data()
{
    QTest::addColumn<QString>("pid");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QByteArrayList>("reply");
    QTest::addColumn<QString>("box");
    // The module refuses a finger it holds already.
    QTest::newRow("=NO DoubleFP") << "3" << true << QByteArrayList() << "Finger already enrolled.";
    // An empty personal ID goes out as 0, which the module refuses with "=NO ID=0".
    QTest::newRow("=NO ID=0") << "" << false << QByteArrayList() << "Invalid PID specified";
    QTest::newRow("=OK Enroll without quality")
        << "3" << false << QByteArrayList({"=OK Ready", "=OK Enroll ID=3 Group=1 BKNum=6"}) << "";
    QTest::newRow("=OK Enroll with quality 0")
        << "3" << false << QByteArrayList({"=OK Ready", "=FP 1", "=OK Enroll ID=3 Group=1 BKNum=6 Quality=0"})
        << "";
}

void tst_operations::enrolmentRefusals()
{
    QFETCH(QString, pid);
    QFETCH(bool, stored);
    QFETCH(QByteArrayList, reply);
    QFETCH(QString, box);
    const vindal01mainWindowTester_c t = tester();
    if (stored)
    {
        QVERIFY(m_pSim->addTemplate(3, 6));
    }
    clickMode(opMode_t::Enroll);
    if (!pid.isEmpty())
    {
        typePid(t.leEnrollPid(), pid);
    }
    clickFinger(t.enrollHand(1), humanHandWidget_c::fingerIndex);
    m_pSim->clearRecording();
    m_lstStatus.clear();
    std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Cancel));
    if (!reply.isEmpty())
    {
        m_pSim->silenceNextCommands(1);
    }

    QTest::mouseClick(t.btnEnrollStart(), Qt::LeftButton);
    for (const QByteArray& baLine : reply)
    {
        m_pSim->injectLine(baLine);
    }
    const QByteArray baPid = QByteArray::number(pid.toInt());
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList{"enroll_dupfp " + baPid + " 1 6"} + walkOf(pid.toInt()));
    QTRY_VERIFY(m_pWindow->stateStack().isEmpty());
    QCOMPARE(m_pWindow->state(), state_t::Enroll);

    QCOMPARE(m_lstStatus.value(m_lstStatus.size() - 1), QStringLiteral("Fehler beim Einlernen."));
    if (box.isEmpty())
    {
        QCOMPARE(pAnswerer->count(), 0);
        // A success line without a quality is kept as an unexpected reply.
        QVERIFY(m_pWindow->unexpectedResponsesWindow()->toPlainText().contains(
            QString::fromLatin1(reply.last())));
    }
    else
    {
        QCOMPARE(pAnswerer->count(), 1);
        QCOMPARE(pAnswerer->seen().at(0).strTitle, QStringLiteral("Fingerprint Error"));
        QCOMPARE(pAnswerer->seen().at(0).strText, box);
    }
    QCOMPARE(colours(t.enrollHand(0), t.enrollHand(1)), QByteArray(stored ? "0000001000" : "0000000000"));
}

// --- Identification -------------------------------------------------------------------------------------

void tst_operations::identificationShowsTheFinger_data()
{
    QTest::addColumn<int>("fid");
    QTest::addColumn<bool>("searchTwo");
    QTest::addColumn<QString>("pidText");
    QTest::addColumn<QString>("fingerText");
    QTest::addColumn<int>("hand");
    QTest::addColumn<int>("finger");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("left little finger, white")
        << 0 << false << "7"
        << "left little finger (0)" << 0 << int(humanHandWidget_c::fingerLittle) << QColor(Qt::white);
    QTest::newRow("right thumb, green for Search2")
        << 5 << true << "7"
        << "right thumb (5)" << 1 << int(humanHandWidget_c::fingerThumb) << QColor(Qt::green);
    QTest::newRow("unknown finger") << -1 << false << "Finger nicht erkannt"
                                    << "" << -1 << -1 << QColor();
}

// The result stays on the page for two seconds (four for an unknown finger) while user input is held back:
// a mode button clicked meanwhile takes effect only after the next scan has gone out.
void tst_operations::identificationShowsTheFinger()
{
    QFETCH(int, fid);
    QFETCH(bool, searchTwo);
    QFETCH(QString, pidText);
    QFETCH(QString, fingerText);
    QFETCH(int, hand);
    QFETCH(int, finger);
    QFETCH(QColor, colour);
    const vindal01mainWindowTester_c t = tester();
    QVERIFY(m_pSim->addTemplate(7, 0));
    QVERIFY(m_pSim->addTemplate(7, 5));
    m_pSim->setSearchTwo(searchTwo);
    fid >= 0 ? m_pSim->setFinger(7, fid) : m_pSim->setStrangerFinger();

    // Watches the page while the result is shown, and clicks the delete mode button during the wait.
    QList<trainView_t> lstViews;
    bool bClicked = false;
    int nCommandsAtClick = -1;
    auto* pDeleteButton =
        m_pWindow->findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(int(opMode_t::Delete)));
    QVERIFY(pDeleteButton != nullptr);
    const QPoint ptDelete = pDeleteButton->mapToGlobal(pDeleteButton->rect().center());
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this,
            [&]()
            {
                const trainView_t view = trainView();
                if (lstViews.isEmpty() || !(lstViews.last() == view))
                {
                    lstViews << view;
                }
                if (!bClicked && g_pMouse->isOpen() && view.strPid == pidText)
                {
                    bClicked = g_pMouse->clickAt(ptDelete);
                    nCommandsAtClick = m_pSim->commands().size();
                }
            });
    watcher.start(10);

    clickMode(opMode_t::Train);
    QCOMPARE(t.pageStack()->currentIndex(), t.pageIndex(int(opMode_t::Train)));
    // The next scan goes out once the result has been shown.
    QTRY_VERIFY_WITH_TIMEOUT(m_pSim->commands().count("scan") >= 2, 8000);

    // The shown result: labels and highlight of the found finger on its own hand.
    trainView_t shown;
    for (const trainView_t& view : lstViews)
    {
        if (view.strPid == pidText)
        {
            shown = view;
            break;
        }
    }
    QCOMPARE(shown.strPid, pidText);
    QCOMPARE(shown.strFinger, fingerText);
    QCOMPARE(hand == 0 ? shown.nLeftHilight : shown.nRightHilight, finger);
    QCOMPARE(hand == 0 ? shown.nRightHilight : shown.nLeftHilight, -1);
    QCOMPARE(shown.colHilight, colour);
    QCOMPARE(shown.nPage, t.pageIndex(int(opMode_t::Train)));

    // The chain: scan, the search with the LED off cut short by the abort, the search, then the next scan.
    const QByteArrayList lstChain = {"\x03", "scan",  "LedOff",   "search 0",
                                     "\x03", "LedOn", "search 0", "scan"};
    QTRY_VERIFY(m_pSim->commands().size() >= lstChain.size());
    QCOMPARE(m_pSim->commands().mid(0, lstChain.size()), lstChain);
    if (!g_pMouse->isOpen())
    {
        QSKIP("No FIFO mouse under /dev/shm: the held-back click is not checked");
    }
    QVERIFY(bClicked);
    // The click came while the result was shown and took effect only after the wait: the next scan went
    // out before the abort byte of the delete mode.
    QVERIFY(nCommandsAtClick < lstChain.size());
    QTRY_COMPARE(m_pWindow->mode(), opMode_t::Delete);
    QCOMPARE(t.pageStack()->currentIndex(), t.pageIndex(int(opMode_t::Delete)));
    const QByteArrayList lstAfterSearch = m_pSim->commands().mid(lstChain.size() - 1);
    QCOMPARE(lstAfterSearch.count("scan"), 1);
    QVERIFY(lstAfterSearch.indexOf("\x03") > lstAfterSearch.indexOf("scan"));
}

// --- Match statistics -----------------------------------------------------------------------------------

void tst_operations::statisticsCountMatchesPerSecurityLevel()
{
    const vindal01mainWindowTester_c t = tester();
    QVERIFY(m_pSim->addTemplate(5, 3));
    m_pSim->setFinger(5, 3);
    m_pSim->setMatchingSecurityLevels({0});
    // The technician stops after the first and the third cycle and goes on after the second.
    QStringList lstAnswers = {QStringLiteral("Stop"), QStringLiteral("Ok"), QStringLiteral("Stop")};
    QList<int> lstWireAtAnswer;
    std::unique_ptr<modalAnswerer_c> pAnswerer(new modalAnswerer_c(
        [&, this](QWidget* p_pModal)
        {
            lstWireAtAnswer << m_pSim->commands().size();
            auto* pBox = qobject_cast<QMessageBox*>(p_pModal);
            const QString strAnswer = lstAnswers.isEmpty() ? QStringLiteral("Stop") : lstAnswers.takeFirst();
            for (QAbstractButton* pButton : pBox != nullptr ? pBox->buttons() : QList<QAbstractButton*>())
            {
                if (pButton->text() == strAnswer)
                {
                    pButton->click();
                }
            }
        }));
    // The ID is typed while the information page is up: the scan it sends ends there.
    QTest::keyClicks(t.leMatchIdPid(), QStringLiteral("5"));
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"\x03", "scan"}));
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
    m_pSim->clearRecording();

    tester().modeSelected(int(opMode_t::MatchIdAnalysis));
    QCOMPARE(t.pageStack()->currentIndex(), t.pageIndex(int(opMode_t::MatchIdAnalysis)));
    QTRY_COMPARE_WITH_TIMEOUT(pAnswerer->count(), 1, 5000);
    QCOMPARE(pAnswerer->seen().at(0).strTitle, QStringLiteral("Bitte neu auflegen"));
    QCOMPARE(pAnswerer->seen().at(0).strText,
             QStringLiteral("Bitte Finger vom Sensor entfernen und neu auflegen!\n\nDann Ok betätigen!"));
    const QString strCycle1 = QStringLiteral("PID: 5\n\n"
                                             "Zyklen:    1\n"
                                             "HIGH:      1 100.00%\n"
                                             "NORMAL:    0   0.00%\n"
                                             "LOW:       0   0.00%\n");
    QCOMPARE(QGuiApplication::clipboard()->text(), strCycle1);
    QCOMPARE(t.matchIdStatistics()->toPlainText(), strCycle1);

    // Each security value once: level, LED off, the match cut short, LED on, the match.
    auto measurements = [](const QByteArray& p_baPid)
    {
        QByteArrayList lstWire;
        for (int nLevel = 0; nLevel < 3; ++nLevel)
        {
            lstWire << "FpSecurity " + QByteArray::number(nLevel) << "LedOff"
                    << "matchId " + p_baPid << "\x03"
                    << "LedOn"
                    << "matchId " + p_baPid;
            if (nLevel < 2)
            {
                lstWire << "scan";
            }
        }
        return lstWire;
    };
    QCOMPARE(m_pSim->commands(), QByteArrayList({"\x03", "scan"}) + measurements("5"));

    // "Stop" ends the loop.
    QSignalSpy spyCommands(m_pSim, &sensorSimulator_c::commandReceived);
    QVERIFY(!spyCommands.wait(300));
    QCOMPARE(m_pWindow->state(), state_t::Scan);

    // A new personal ID resumes it where it stopped: one measurement, then the end of the cycle.
    m_pSim->clearRecording();
    QTest::keyClicks(t.leMatchIdPid(), QStringLiteral("6"));
    QTRY_COMPARE_WITH_TIMEOUT(pAnswerer->count(), 2, 5000);
    QCOMPARE(m_pSim->commands().mid(0, lstWireAtAnswer.at(1)),
             QByteArrayList(
                 {"\x03", "scan", "FpSecurity 2", "LedOff", "matchId 56", "\x03", "LedOn", "matchId 56"}));
    QCOMPARE(t.matchIdStatistics()->toPlainText(), QStringLiteral("PID: 56\n\n"
                                                                  "Zyklen:    2\n"
                                                                  "HIGH:      1  50.00%\n"
                                                                  "NORMAL:    0   0.00%\n"
                                                                  "LOW:       0   0.00%\n"));

    // "Ok" starts the next cycle at the first security value; the counters go on (person 56 matches
    // nowhere).
    QTRY_COMPARE_WITH_TIMEOUT(pAnswerer->count(), 3, 5000);
    QCOMPARE(m_pSim->commands().mid(lstWireAtAnswer.at(1)), QByteArrayList{"scan"} + measurements("56"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("PID: 56\n\n"
                                                                  "Zyklen:    3\n"
                                                                  "HIGH:      1  33.33%\n"
                                                                  "NORMAL:    0   0.00%\n"
                                                                  "LOW:       0   0.00%\n"));
    QVERIFY(!spyCommands.wait(300));
}

// --- Deletion -------------------------------------------------------------------------------------------

void tst_operations::deletingOneFinger()
{
    const vindal01mainWindowTester_c t = tester();
    QVERIFY(m_pSim->addTemplate(4, 0));
    QVERIFY(m_pSim->addTemplate(4, 5));
    clickMode(opMode_t::Delete);
    QCOMPARE(t.pageStack()->currentIndex(), t.pageIndex(int(opMode_t::Delete)));
    typePid(t.leDeletePid(), QStringLiteral("4"));
    QCOMPARE(colours(t.deleteHand(0), t.deleteHand(1)), QByteArray("1000010000"));
    QVERIFY(t.btnDeletePerson()->isEnabled());
    QVERIFY(!t.btnDeleteSingle()->isEnabled());
    // A finger the module does not hold cannot be deleted alone.
    clickFinger(t.deleteHand(0), humanHandWidget_c::fingerRing);
    QCOMPARE(t.leDeleteFid()->text(), QStringLiteral("1"));
    QVERIFY(!t.btnDeleteSingle()->isEnabled());
    clickFinger(t.deleteHand(0), humanHandWidget_c::fingerLittle);
    QCOMPARE(t.leDeleteFid()->text(), QStringLiteral("0"));
    QVERIFY(t.btnDeleteSingle()->isEnabled());
    m_pSim->clearRecording();

    std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Yes));
    QTest::mouseClick(t.btnDeleteSingle(), Qt::LeftButton);
    QCOMPARE(pAnswerer->count(), 1);
    QCOMPARE(pAnswerer->seen().at(0).strTitle, QStringLiteral("Einzelnen Finger löschen?"));
    QCOMPARE(pAnswerer->seen().at(0).strText,
             QStringLiteral("Wollen Sie wirklich den Finger 0 der Person 4 löschen?"));
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"\x03", "reg /del 4 0"}) + walkOf(4));
    QTRY_VERIFY(m_pWindow->stateStack().isEmpty());
    QVERIFY(!m_pSim->hasTemplate(4, 0));
    QTRY_COMPARE(colours(t.deleteHand(0), t.deleteHand(1)), QByteArray("0000010000"));
    QVERIFY(t.leDeleteFid()->text().isEmpty());
    QVERIFY(!t.btnDeleteSingle()->isEnabled());
    QVERIFY(t.btnDeletePerson()->isEnabled());
    QCOMPARE(m_pWindow->state(), state_t::Delete);
}

// Ten deletions whatever the module answers, then the list is read afresh: the deleted fingers show as
// deleted and the person button goes grey.
void tst_operations::deletingAPersonWalksAfresh()
{
    const vindal01mainWindowTester_c t = tester();
    QVERIFY(m_pSim->addTemplate(4, 3));
    QVERIFY(m_pSim->addTemplate(4, 9));
    QVERIFY(m_pSim->addTemplate(5, 3));
    clickMode(opMode_t::Delete);
    typePid(t.leDeletePid(), QStringLiteral("4"));
    QCOMPARE(colours(t.deleteHand(0), t.deleteHand(1)), QByteArray("0001000001"));
    m_pSim->clearRecording();

    std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Yes));
    QTest::mouseClick(t.btnDeletePerson(), Qt::LeftButton);
    QCOMPARE(pAnswerer->count(), 1);
    QCOMPARE(pAnswerer->seen().at(0).strTitle, QStringLiteral("Finger einer Person löschen?"));
    QCOMPARE(pAnswerer->seen().at(0).strText,
             QStringLiteral("Wollen Sie wirklich alle Finger der Person 4 löschen?"));
    QByteArrayList lstWire = {"\x03"};
    for (int nFid = 0; nFid < 10; ++nFid)
    {
        lstWire << "reg /del 4 " + QByteArray::number(nFid);
    }
    QTRY_COMPARE(m_pSim->commands(), lstWire + walkOf(4));
    QTRY_VERIFY(m_pWindow->stateStack().isEmpty());
    QCOMPARE(m_pSim->templateKeys(), (QList<QPair<int, int>>{{5, 3}}));
    QTRY_COMPARE(colours(t.deleteHand(0), t.deleteHand(1)), QByteArray("0000000000"));
    QVERIFY(!t.btnDeletePerson()->isEnabled());
    QVERIFY(!t.btnDeleteSingle()->isEnabled());
    QCOMPARE(m_pWindow->state(), state_t::Delete);
}

void tst_operations::deletingEverything()
{
    const vindal01mainWindowTester_c t = tester();
    QVERIFY(m_pSim->addTemplate(4, 2));
    QVERIFY(m_pSim->addTemplate(9, 7));
    clickMode(opMode_t::Delete);
    typePid(t.leDeletePid(), QStringLiteral("4"));
    m_pSim->clearRecording();

    std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Yes));
    QTest::mouseClick(t.btnDeleteAll(), Qt::LeftButton);
    QCOMPARE(pAnswerer->count(), 1);
    QCOMPARE(pAnswerer->seen().at(0).strTitle, QStringLiteral("Alle Finger löschen?"));
    QCOMPARE(pAnswerer->seen().at(0).strText,
             QStringLiteral("Wollen Sie wirklich alle Finger vom Sensor löschen?"));
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"\x03", "reg /clear"}) + walkOf(4));
    QTRY_VERIFY(m_pWindow->stateStack().isEmpty());
    QCOMPARE(m_pSim->templateCount(), 0);
    QTRY_COMPARE(colours(t.deleteHand(0), t.deleteHand(1)), QByteArray("0000000000"));
    QVERIFY(!t.btnDeletePerson()->isEnabled());
}

void tst_operations::clickBeforeAnyWalkOnlyFillsTheField()
{
    const vindal01mainWindowTester_c t = tester();
    clickMode(opMode_t::Delete);
    QVERIFY(tester().fingerFlags().isEmpty());
    clickFinger(t.deleteHand(1), humanHandWidget_c::fingerLittle);
    QCOMPARE(t.leDeleteFid()->text(), QStringLiteral("9"));
    QVERIFY(!t.btnDeleteSingle()->isEnabled());
    QVERIFY(!t.btnDeletePerson()->isEnabled());
}

void tst_operations::questionsAnsweredNoSendNothing_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<QString>("title");
    const char* const aszTitles[] = {"Einzelnen Finger löschen?", "Finger einer Person löschen?",
                                     "Alle Finger löschen?"};
    for (int nButton = 0; nButton < 3; ++nButton)
    {
        for (bool bEscape : {false, true})
        {
            QTest::addRow("%s %s", aszTitles[nButton], bEscape ? "Escape" : "No")
                << nButton << bEscape << QString::fromUtf8(aszTitles[nButton]);
        }
    }
}

void tst_operations::questionsAnsweredNoSendNothing()
{
    QFETCH(int, button);
    QFETCH(bool, escape);
    QFETCH(QString, title);
    const vindal01mainWindowTester_c t = tester();
    QVERIFY(m_pSim->addTemplate(4, 0));
    clickMode(opMode_t::Delete);
    typePid(t.leDeletePid(), QStringLiteral("4"));
    clickFinger(t.deleteHand(0), humanHandWidget_c::fingerLittle);
    QPushButton* const apButtons[] = {t.btnDeleteSingle(), t.btnDeletePerson(), t.btnDeleteAll()};
    QVERIFY(apButtons[button]->isEnabled());

    std::unique_ptr<modalAnswerer_c> pAnswerer(
        escape ? new modalAnswerer_c([](QWidget* p_pBox) { QTest::keyClick(p_pBox, Qt::Key_Escape); })
               : modalAnswerer_c::clicking(QMessageBox::No));
    QSignalSpy spyCommands(m_pSim, &sensorSimulator_c::commandReceived);
    QTest::mouseClick(apButtons[button], Qt::LeftButton);
    QCOMPARE(pAnswerer->count(), 1);
    QCOMPARE(pAnswerer->seen().at(0).strTitle, title);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(!spyCommands.wait(200));
    QVERIFY(m_pSim->hasTemplate(4, 0));
    QCOMPARE(m_pWindow->state(), state_t::Delete);
}

// The mouse must exist before the application object, which loads the input plugins.
int main(int argc, char* argv[])
{
    // Without compression every report becomes an event of its own.
    fifoInputDevice_c mouse("mouse", ":nocompress");
    g_pMouse = &mouse;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_operations test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_operations.moc"
