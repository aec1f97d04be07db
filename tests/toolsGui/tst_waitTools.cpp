// The plain sleep and the event-processing wait, with real keyboard input queued while the wait runs.
#include "toolsGui/waitTools.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <linux/input.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace toolsGui_n;

namespace
{
// A keyboard for the application: a FIFO under /dev (the evdev keyboard input of Qt only takes device paths
// there) into which the test writes kernel input events. Qt reads them through a socket notifier and queues
// them as user input, exactly as it does for a real keyboard.
class fifoKeyboard_c
{
public:
    fifoKeyboard_c()
    {
        m_baPath = "/dev/shm/vindal01-tst-keyboard-" + QByteArray::number(qint64(::getpid()));
        ::unlink(m_baPath.constData());
        if (::mkfifo(m_baPath.constData(), 0600) != 0)
            return;
        // Kept open for reading and writing, so that the reader never sees the end of the stream.
        m_nFd = ::open(m_baPath.constData(), O_RDWR | O_NONBLOCK);
        if (m_nFd < 0)
            return;
        qunsetenv("QT_QPA_EVDEV_KEYBOARD_PARAMETERS");
        qputenv("QT_QPA_GENERIC_PLUGINS", "evdevkeyboard:" + m_baPath);
    }
    ~fifoKeyboard_c()
    {
        if (m_nFd >= 0)
            ::close(m_nFd);
        ::unlink(m_baPath.constData());
    }
    bool isOpen() const { return m_nFd >= 0; }

    bool type(unsigned short p_nKeyCode)
    {
        return event(EV_KEY, p_nKeyCode, 1) && event(EV_SYN, SYN_REPORT, 0) && event(EV_KEY, p_nKeyCode, 0) &&
               event(EV_SYN, SYN_REPORT, 0);
    }

private:
    bool event(unsigned short p_nType, unsigned short p_nCode, int p_nValue)
    {
        input_event ev{};
        ev.type = p_nType;
        ev.code = p_nCode;
        ev.value = p_nValue;
        return ::write(m_nFd, &ev, sizeof ev) == ssize_t(sizeof ev);
    }

    QByteArray m_baPath;
    int m_nFd = -1;
};

fifoKeyboard_c* g_pKeyboard = nullptr;

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
    fifoKeyboard_c keyboard;
    g_pKeyboard = &keyboard;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_waitTools test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_waitTools.moc"
