// The plain sleep and the event-processing wait, with real keyboard input queued while the wait runs.
#include "fifoInputDevice.h"
#include "toolsGui/waitTools.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

using namespace toolsGui_n;

namespace
{
fifoInputDevice_c* g_pKeyboard = nullptr;

class paintCounter_c : public QWidget
{
public:
    int m_nPaints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++m_nPaints; }
};
} // namespace

class tst_waitTools : public QObject
{
    Q_OBJECT

private slots:
    void sleepBlocksWithoutProcessingEvents();
    void zeroWaitRunsOnePass();
    void waitLetsTimersAndQueuedCallsRun();
    void waitHoldsBackUserInput();
    void waitWithAllEventsTakesUserInput();
};

void tst_waitTools::sleepBlocksWithoutProcessingEvents()
{
    bool bFired = false;
    QTimer::singleShot(0, this, [&] { bFired = true; });
    QElapsedTimer timer;
    timer.start();
    sleepMs(60);
    QVERIFY(timer.elapsed() >= 60);
    QVERIFY(!bFired);
    sleepMs(0);
    sleepMs(-5);
    QVERIFY(!bFired);
    QTRY_VERIFY(bFired);
}

void tst_waitTools::zeroWaitRunsOnePass()
{
    bool bCalled = false;
    QMetaObject::invokeMethod(
        this, [&] { bCalled = true; }, Qt::QueuedConnection);
    QElapsedTimer timer;
    timer.start();
    waitProcessingEvents(0, QEventLoop::ExcludeUserInputEvents);
    QVERIFY(timer.elapsed() >= 50);
    QVERIFY(bCalled);

    timer.restart();
    waitProcessingEvents(-100);
    QVERIFY(timer.elapsed() >= 50);
}

void tst_waitTools::waitLetsTimersAndQueuedCallsRun()
{
    int nTicks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++nTicks; });
    ticker.start(20);
    bool bSingleShot = false;
    QTimer::singleShot(100, this, [&] { bSingleShot = true; });

    QElapsedTimer timer;
    timer.start();
    waitProcessingEvents(300, QEventLoop::ExcludeUserInputEvents);
    QVERIFY(timer.elapsed() >= 300);
    QVERIFY(bSingleShot);
    QVERIFY2(nTicks >= 2, QByteArray::number(nTicks));
}

// While the wait runs with ExcludeUserInputEvents, typed keys stay queued; the window still repaints and
// timers still fire. Once the wait is over, the keys arrive.
void tst_waitTools::waitHoldsBackUserInput()
{
    if (!g_pKeyboard || !g_pKeyboard->isOpen())
        QSKIP("No FIFO keyboard under /dev/shm on this machine");
    QWidget window;
    QLineEdit* pEdit = new QLineEdit(&window);
    paintCounter_c* pCanvas = new paintCounter_c;
    pCanvas->setParent(&window);
    pCanvas->setGeometry(0, 40, 50, 50);
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    pEdit->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(pCanvas->m_nPaints > 0);

    const int nPaintsBefore = pCanvas->m_nPaints;
    bool bFired = false;
    QTimer::singleShot(60, this, [&] { bFired = true; });
    pCanvas->update();
    QVERIFY(g_pKeyboard->type(KEY_A));
    waitProcessingEvents(300, QEventLoop::ExcludeUserInputEvents);
    QCOMPARE(pEdit->text(), QString());
    QVERIFY(bFired);
    QVERIFY(pCanvas->m_nPaints > nPaintsBefore);

    QTRY_COMPARE(pEdit->text(), QString("a"));
}

void tst_waitTools::waitWithAllEventsTakesUserInput()
{
    if (!g_pKeyboard || !g_pKeyboard->isOpen())
        QSKIP("No FIFO keyboard under /dev/shm on this machine");
    QLineEdit edit;
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&edit));

    QVERIFY(g_pKeyboard->type(KEY_B));
    waitProcessingEvents(300);
    QCOMPARE(edit.text(), QString("b"));
}

// The keyboard must exist before the application object, which loads the input plugins.
int main(int argc, char* argv[])
{
    fifoInputDevice_c keyboard("keyboard");
    g_pKeyboard = &keyboard;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_waitTools test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_waitTools.moc"
