// The set-up the window tests share: a main window in a scratch working directory on a real serial line
// (a pseudo-terminal) to the simulated module, the status bar messages recorded, and the technician's
// clicks on mode buttons and hand pictures.
#pragma once

#include "scratchDirectory.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "windowTester.h"

#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

class windowFixture_c
{
public:
    using sim_t = simulator_n::sensorSimulator_c;

    // A new window; with p_bOpen on the simulator, its information query run to its end and forgotten.
    void start(bool p_bOpen = true, int p_nChunk = 0)
    {
        dir = std::make_unique<scratchDirectory_c>();
        sim = std::make_unique<sim_t>();
        QVERIFY(sim->open());
        sim->setChunkSize(p_nChunk);
        window = std::make_unique<vindal01mainWindow_c>();
        status.clear();
        QObject::connect(window->statusBar(), &QStatusBar::messageChanged, window.get(),
                         [this](const QString& p_strText) { status << p_strText; });
        if (p_bOpen)
            openOnSimulator();
    }
    void stop()
    {
        window.reset();
        sim.reset();
        dir.reset();
    }
    void openOnSimulator()
    {
        t().portChanged(sim->slavePath());
        QVERIFY(window->serialPort()->isOpen());
        QTRY_COMPARE(sim->commands().size(), 6);
        settle(sensor_n::command_t::LedOn);
        sim->clearRecording();
        status.clear();
    }
    // Waits until this command has its whole reply and no chain is left half done.
    void settle(sensor_n::command_t p_nLast = sensor_n::command_t::LedOn)
    {
        QTRY_COMPARE(window->command(), p_nLast);
        QTRY_VERIFY(window->received().endsWith("\r\n") && window->stateStack().isEmpty());
    }
    void show()
    {
        window->move(0, 0);
        window->resize(760, 560);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    vindal01mainWindowTester_c t() const { return vindal01mainWindowTester_c(*window); }

    // Everything the window wrote before now: a marker line goes out on the window's own port behind
    // whatever it has queued, and the simulator must record it. A write that should not have happened
    // is then already on the list, without waiting for a time that a slow machine may exceed.
    QByteArrayList wireSoFar()
    {
        const QByteArray baFence = "fence " + QByteArray::number(++m_nFences);
        t().write(baFence + "\r\n");
        const bool bFenced = QTest::qWaitFor([&]() { return sim->commands().contains(baFence); }, 30000);
        const QByteArrayList lstWire = sim->commands();
        return bFenced ? lstWire.mid(0, lstWire.indexOf(baFence)) : QByteArrayList{"no fence"};
    }

    // A click on a mode button, which sends the abort byte first.
    void clickMode(sensor_n::mode_t p_nMode)
    {
        auto* pButton = window->findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(int(p_nMode)));
        QVERIFY(pButton != nullptr);
        const int nBefore = sim->commands().size();
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCOMPARE(window->mode(), p_nMode);
        QCOMPARE(t().pageStack()->currentIndex(), t().pageIndex(int(p_nMode)));
        QTRY_VERIFY(sim->commands().size() > nBefore);
        QCOMPARE(sim->commands().at(nBefore), QByteArray("\x03"));
    }
    // A click on the p_nNth finger from the left of the hand picture, where the widget says it lies.
    static void clickFinger(humanHandWidget_c* p_pHand, int p_nNth)
    {
        QVERIFY(p_pHand->isVisible());
        QTRY_VERIFY(p_pHand->width() > 40 && p_pHand->height() > 40);
        QTest::mouseClick(p_pHand, Qt::LeftButton, Qt::NoModifier,
                          vindal01mainWindowTester_c::fingerPoints(p_pHand).value(p_nNth));
    }
    // Typing starts a finger list walk per keystroke; returns once the last one has ended.
    void typePid(QLineEdit* p_pEdit, const QString& p_strPid)
    {
        QTest::keyClicks(p_pEdit, p_strPid);
        QTRY_COMPARE(sim->commands().value(sim->commands().size() - 1), QByteArray("LedOn"));
        settle();
    }
    // The colour drawn on each finger of both hands, left to right (so in finger id order): '1' light gray
    // (enrolled), '0' gray, 'w' white, 'g' green, '?' anything else.
    static QByteArray colours(humanHandWidget_c* p_pLeft, humanHandWidget_c* p_pRight)
    {
        QByteArray baColours;
        const QList<QColor> lstKnown = {Qt::lightGray, Qt::gray, Qt::white, Qt::green}; // "10wg"
        for (humanHandWidget_c* pHand : {p_pLeft, p_pRight})
        {
            const QImage image = pHand->grab().toImage();
            for (const QPoint& pt : vindal01mainWindowTester_c::fingerPoints(pHand))
                baColours += "?10wg"[lstKnown.indexOf(image.pixelColor(pt)) + 1];
        }
        return baColours;
    }
    static bool showsLamp(const QLabel* p_pLabel, const QPixmap& p_pixLamp)
    {
        return p_pLabel->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32) ==
               p_pixLamp.scaledToHeight(16, Qt::SmoothTransformation)
                   .toImage()
                   .convertToFormat(QImage::Format_ARGB32);
    }

    std::unique_ptr<scratchDirectory_c> dir;
    std::unique_ptr<sim_t> sim;
    std::unique_ptr<vindal01mainWindow_c> window;
    QStringList status;

private:
    int m_nFences = 0;
};
