// A technician who does not wait, for the random technician test and the soak: seeded random clicks and
// keys on the page shown, through the window system's input queue (a FIFO mouse and keyboard, so a wait
// that holds back user input holds them back too), boxes answered after a moment of reading, a finger put
// on and taken off the simulated sensor, and the adapter lost and chosen again through the port list.
// The same seed gives the same actions; log() lists them for a replay.
#pragma once

#include "fakeudev/fakeUdev.h"
#include "fifoInputDevice.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "serialPort/selector.h"
#include "windowTester.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>
#include <QToolButton>
#include <QtCore/qtestsupport_core.h>

#include <functional>
#include <numeric>

class randomTechnician_c : public QObject
{
public:
    using sim_t = simulator_n::sensorSimulator_c;

    randomTechnician_c(vindal01mainWindow_c& p_window, sim_t& p_sim, fifoInputDevice_c& p_mouse,
                       fifoInputDevice_c& p_keyboard, quint32 p_nSeed)
        : m_window(p_window), m_sim(p_sim), m_mouse(p_mouse), m_keyboard(p_keyboard), m_rng(p_nSeed),
          m_rngBoxes(~p_nSeed)
    {
        connect(&m_boxTimer, &QTimer::timeout, this, &randomTechnician_c::answerBox);
        m_boxTimer.start(20);
    }

    const QStringList& log() const { return m_lstLog; }
    vindal01mainWindowTester_c t() const { return vindal01mainWindowTester_c(m_window); }
    int pick(int p_nBelow) { return int(m_rng.bounded(p_nBelow)); }
    bool pageShown(sensor_n::mode_t p_nMode) const
    {
        return t().pageStack()->currentIndex() == t().pageIndex(int(p_nMode));
    }

    // Like a window manager, a click gives its window the keyboard (the offscreen screen has none), unless
    // a box or an open list holds the input.
    static void focus(QWidget* p_pWidget)
    {
        if (QApplication::activeModalWidget() == nullptr && QApplication::activePopupWidget() == nullptr)
            p_pWidget->window()->activateWindow();
    }
    // A left click where the widget is shown; nothing when it is hidden.
    bool click(QWidget* p_pWidget, QPoint p_pt = QPoint(-1, -1))
    {
        focus(p_pWidget);
        return p_pWidget->isVisible() &&
               m_mouse.clickAt(p_pWidget->mapToGlobal(p_pt.x() < 0 ? p_pWidget->rect().center() : p_pt));
    }
    // The finger of this id on the hand picture, where the widget says it lies.
    bool clickFinger(humanHandWidget_c* p_pHand, int p_nFid)
    {
        return click(p_pHand, vindal01mainWindowTester_c::fingerPoints(p_pHand).value(p_nFid % 5));
    }
    void typeNumber(int p_nNumber)
    {
        static const unsigned short anDigitKeys[] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4,
                                                     KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
        for (QChar ch : QString::number(p_nNumber))
            m_keyboard.type(anDigitKeys[ch.digitValue()]);
    }
    // A click repeated until it shows its effect: it may land while a box holds the window, or before a
    // list has opened.
    static bool until(const std::function<bool()>& p_fnDone, const std::function<void()>& p_fnClick)
    {
        for (int nTry = 0; nTry < 50 && !p_fnDone(); ++nTry)
        {
            p_fnClick();
            (void)QTest::qWaitFor(p_fnDone, 500);
        }
        return p_fnDone();
    }
    bool chooseMode(sensor_n::mode_t p_nMode)
    {
        return until([&]() { return m_window.mode() == p_nMode; },
                     [&]() { click(modeButton(int(p_nMode))); });
    }

    // The adapter plugged in again: the port list opened, updated through its last entry and the adapter
    // chosen with the keys. (A new pseudo-terminal may get the number of the old one.)
    bool chooseAdapterAgain()
    {
        if (!m_sim.isOpen() && !m_sim.open())
            return false;
        fakeUdev_n::setPorts({fakeUdev_n::portEntry(m_sim.slavePath(), "0403", "6001")});
        auto* pCombo = m_window.portSelector()->findChild<QComboBox*>();
        auto chooseEntry = [&](unsigned short p_nKey) {
            pCombo->view()->isVisible() ? m_keyboard.type(p_nKey) && m_keyboard.type(KEY_ENTER)
                                        : click(pCombo);
        };
        const QString strPort = m_sim.slavePath().mid(int(qstrlen("/dev/")));
        m_bAdapterLost =
            !until([&]() { return pCombo->itemData(0) == strPort; }, [&]() { chooseEntry(KEY_END); }) ||
            !until([&]() { return m_window.serialPort()->isOpen(); }, [&]() { chooseEntry(KEY_HOME); });
        return !m_bAdapterLost;
    }

    // One thing the technician does on the page shown, then a pause of none to a few seconds.
    void act()
    {
        using opMode_t = sensor_n::mode_t;
        const bool bEnroll = pageShown(opMode_t::Enroll), bDelete = pageShown(opMode_t::Delete);
        const int nPid = 1 + pick(12), nFid = pick(10), nHow = pick(3);
        // Weights of: mode, personal ID, finger, Start, delete button, sensor, adapter, nothing, report.
        switch (bEnroll   ? pickWeighted({10, 25, 25, 25, 0, 10, 5, 0, 3})
                : bDelete ? pickWeighted({15, 20, 25, 0, 30, 5, 5, 0, 3})
                          : pickWeighted({45, 10, 0, 0, 0, 35, 5, 5, 3}))
        {
        case 0:
        {
            const int nMode = pickWeighted({10, 30, 8, 12, 30, 5, 5});
            m_lstLog << QStringLiteral("mode %1").arg(nMode);
            focus(&m_window);
            // The statistics have no button, only their key chord.
            nMode == int(opMode_t::MatchIdAnalysis) ? m_keyboard.chord({KEY_LEFTCTRL, KEY_LEFTSHIFT, KEY_M})
                                                    : click(modeButton(nMode));
            break;
        }
        case 1:
            m_lstLog << (nHow == 0 ? QStringLiteral("personal ID: backspace")
                                   : QStringLiteral("personal ID %1").arg(nPid));
            if (click(bEnroll ? t().leEnrollPid() : bDelete ? t().leDeletePid() : t().leMatchIdPid()))
                nHow == 0 ? void(m_keyboard.chord({KEY_END}) && m_keyboard.type(KEY_BACKSPACE))
                          : void(m_keyboard.chord({KEY_LEFTCTRL, KEY_A}) && (typeNumber(nPid), true));
            break;
        case 2:
            m_lstLog << QStringLiteral("finger %1").arg(nFid);
            clickFinger(bEnroll ? t().enrollHand(nFid / 5) : t().deleteHand(nFid / 5), nFid);
            break;
        case 3:
            m_lstLog << (nHow == 0 ? QStringLiteral("Start twice") : QStringLiteral("Start"));
            click(t().btnEnrollStart()) && nHow == 0 && click(t().btnEnrollStart());
            break;
        case 4:
            m_lstLog << QStringLiteral("delete button %1").arg(nHow);
            click(
                QList<QPushButton*>{t().btnDeleteSingle(), t().btnDeletePerson(), t().btnDeleteAll()}[nHow]);
            break;
        case 5:
            m_lstLog << QStringLiteral("sensor: %1")
                            .arg(QStringList{QStringLiteral("%1/%2").arg(nPid).arg(nFid), "stranger",
                                             "no finger"}[nHow]);
            nHow == 0   ? m_sim.setFinger(nPid, nFid)
            : nHow == 1 ? m_sim.setStrangerFinger()
                        : m_sim.removeFinger();
            break;
        case 6:
            m_lstLog << (m_bAdapterLost ? QStringLiteral("adapter chosen again")
                                        : QStringLiteral("adapter lost"));
            m_bAdapterLost ? void(chooseAdapterAgain()) : m_sim.vanish();
            m_bAdapterLost = !m_sim.isOpen();
            break;
        case 8:
            // Its form and its preview are answered like the boxes, while the dialogue goes on beneath.
            m_lstLog << QStringLiteral("service report");
            focus(&m_window);
            m_keyboard.chord({KEY_LEFTCTRL, KEY_P});
            break;
        }
        const int nPause = QList<int>{0, pick(200), pick(1000), pick(3000)}[pickWeighted({50, 35, 10, 5})];
        m_lstLog << QStringLiteral("pause %1 ms").arg(nPause);
        QTest::qWait(nPause);
    }

    // The technician stops: every box is answered at once with its escape button, and a lost adapter is
    // chosen again. Returns whether the window is free of boxes and on its port.
    bool finish()
    {
        m_bFinishing = true;
        m_lstLog << QStringLiteral("-- at rest");
        return QTest::qWaitFor([]() { return QApplication::activeModalWidget() == nullptr; }, 10000) &&
               (!m_bAdapterLost || chooseAdapterAgain());
    }

private:
    int pickWeighted(std::initializer_list<int> p_weights)
    {
        int nDraw = pick(std::accumulate(p_weights.begin(), p_weights.end(), 0)), nIndex = 0;
        for (auto it = p_weights.begin(); (nDraw -= *it) >= 0; ++it)
            ++nIndex;
        return nIndex;
    }
    QToolButton* modeButton(int p_nMode) const
    {
        return m_window.findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(p_nMode));
    }

    // The box shown is answered after a moment of reading: Escape or one of its buttons, once finished its
    // escape button at once. A key that does not reach the box is followed by another answer.
    void answerBox()
    {
        QWidget* pModal = QApplication::activeModalWidget();
        auto* pBox = qobject_cast<QMessageBox*>(pModal);
        if (pModal != m_pBox)
        {
            m_pBox = pModal;
            m_boxClock.start();
            m_nBoxDelay = m_bFinishing ? 0 : int(m_rngBoxes.bounded(1500));
        }
        if (pModal == nullptr || m_boxClock.elapsed() < m_nBoxDelay)
            return;
        if (pBox == nullptr)
        {
            // The report's form is sent with Enter or given up with Escape; its preview is closed.
            const bool bEnter = !m_bFinishing &&
                                pModal->findChild<QWidget*>(QStringLiteral("visitTechnician")) != nullptr &&
                                m_rngBoxes.bounded(2) == 0;
            m_lstLog << QStringLiteral("\"%1\": %2").arg(pModal->windowTitle(), bEnter ? "Enter" : "Escape");
            m_keyboard.type(bEnter ? KEY_ENTER : KEY_ESC);
        }
        else
        {
            const QList<QAbstractButton*> lstButtons = pBox->buttons();
            const int nChoice = m_bFinishing ? lstButtons.indexOf(pBox->escapeButton())
                                             : int(m_rngBoxes.bounded(lstButtons.size() + 1)) - 1;
            m_lstLog << QStringLiteral("box \"%1\": %2")
                            .arg(pBox->windowTitle(),
                                 nChoice < 0 ? QStringLiteral("Escape") : lstButtons[nChoice]->text());
            nChoice < 0 ? void(m_keyboard.type(KEY_ESC)) : void(click(lstButtons[nChoice]));
        }
        m_boxClock.start();
        m_nBoxDelay = 2000;
    }

    vindal01mainWindow_c& m_window;
    sim_t& m_sim;
    fifoInputDevice_c& m_mouse;
    fifoInputDevice_c& m_keyboard;
    QRandomGenerator m_rng, m_rngBoxes;
    QStringList m_lstLog;
    bool m_bAdapterLost = false, m_bFinishing = false;
    QTimer m_boxTimer;
    QPointer<QWidget> m_pBox;
    QElapsedTimer m_boxClock;
    int m_nBoxDelay = 0;
};
