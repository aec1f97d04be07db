// A technician who does not wait: seeded random sequences of clicks and keys (arriving through the window
// system's input queue, like a person's), boxes answered Yes, No or Escape, a finger put on and taken off
// the sensor and the adapter lost and chosen again, against the module in real timing. After each
// sequence the page left must be usable as it is, the information query must fill its page, and no
// command may have overtaken the one before it.
// VINDAL_TECHNICIAN="<count>[:<first seed>]" runs a long series (default 5 sequences from seed 1).
#include "fakeudev/fakeUdev.h"
#include "fifoInputDevice.h"
#include "serialPort/selector.h"
#include "windowFixture.h"

#include <QComboBox>
#include <QMessageBox>
#include <QRandomGenerator>

#include <functional>
#include <numeric>

using namespace sensor_n;
using opMode_t = sensor_n::mode_t;

namespace
{
fifoInputDevice_c* g_pMouse = nullptr;
fifoInputDevice_c* g_pKeyboard = nullptr;
const unsigned short g_anDigitKeys[] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
} // namespace

class tst_randomTechnician : public QObject
{
    Q_OBJECT
    windowFixture_c f;
    QRandomGenerator m_rng;
    QRandomGenerator m_rngBoxes;
    QStringList m_lstLog;
    bool m_bAdapterLost = false;
    // Boxes: the one seen last, when it is answered, and whether the sequence is over (then at once "no").
    QPointer<QMessageBox> m_pBox;
    QElapsedTimer m_boxClock;
    int m_nBoxDelay = 0;
    bool m_bFinishing = false;
    QTimer m_boxTimer;

    vindal01mainWindowTester_c t() const { return f.t(); }
    int pick(int p_nBelow) { return int(m_rng.bounded(p_nBelow)); }
    void log(const QString& p_strAction) { m_lstLog << p_strAction; }
    bool pageShown(opMode_t p_nMode) const
    {
        return t().pageStack()->currentIndex() == t().pageIndex(int(p_nMode));
    }
    QToolButton* modeButton(int p_nMode) const
    {
        return f.window->findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(p_nMode));
    }
    // The window manager gives the keyboard to a window clicked into (the offscreen screen has none), unless
    // a box or an open list holds the input.
    static void focus(QWidget* p_pWidget)
    {
        if (QApplication::activeModalWidget() == nullptr && QApplication::activePopupWidget() == nullptr)
            p_pWidget->window()->activateWindow();
    }
    // A left click where the widget is shown on the screen; nothing when it is hidden.
    static bool click(QWidget* p_pWidget, QPoint p_pt = QPoint(-1, -1))
    {
        focus(p_pWidget);
        return p_pWidget->isVisible() &&
               g_pMouse->clickAt(p_pWidget->mapToGlobal(p_pt.x() < 0 ? p_pWidget->rect().center() : p_pt));
    }
    void typeNumber(int p_nNumber)
    {
        for (QChar ch : QString::number(p_nNumber))
            g_pKeyboard->type(g_anDigitKeys[ch.digitValue()]);
    }
    // The fingers of a person as the module holds them, '1' enrolled, in finger id order.
    QByteArray storedFingers(int p_nPid) const
    {
        QByteArray baFlags(10, '0');
        for (int nFid = 0; nFid < 10; ++nFid)
            baFlags[nFid] = f.sim->hasTemplate(p_nPid, nFid) ? '1' : '0';
        return baFlags;
    }
    static QByteArray withoutHighlight(QByteArray p_baColours, const QByteArray& p_baStored)
    {
        for (int n = 0; n < p_baColours.size(); ++n)
            p_baColours[n] = p_baColours.at(n) == 'w' ? p_baStored.at(n) : p_baColours.at(n);
        return p_baColours;
    }

    // Answers the box shown, after a while the technician takes to read it.
    void answerBox()
    {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (pBox == nullptr)
            return;
        if (pBox != m_pBox)
        {
            m_pBox = pBox;
            m_boxClock.start();
            m_nBoxDelay = m_bFinishing || m_rngBoxes.bounded(3) == 0 ? 0 : int(m_rngBoxes.bounded(1500));
            return;
        }
        // A key that does not reach the box is followed by a click.
        if (m_boxClock.elapsed() < m_nBoxDelay || (m_nBoxDelay < 0 && m_boxClock.elapsed() < -m_nBoxDelay))
            return;
        const QList<QAbstractButton*> lstButtons = pBox->buttons();
        const int nChoice = m_bFinishing || m_nBoxDelay < 0 ? 2 : int(m_rngBoxes.bounded(3));
        QAbstractButton* pButton = nChoice == 2 && !m_bFinishing
                                       ? lstButtons.value(int(m_rngBoxes.bounded(lstButtons.size())))
                                       : pBox->escapeButton();
        log(QStringLiteral("box \"%1\": %2")
                .arg(pBox->windowTitle(), nChoice == 0   ? QStringLiteral("Enter")
                                          : nChoice == 1 ? QStringLiteral("Escape")
                                                         : pButton->text()));
        if (nChoice < 2)
            g_pKeyboard->type(nChoice == 0 ? KEY_ENTER : KEY_ESC);
        else if (pButton != nullptr)
            click(pButton);
        m_nBoxDelay = -(int(m_boxClock.elapsed()) + 2000);
    }

    // The technician repeats a click until it shows its effect: it may land while a box holds the window,
    // or before a list has opened.
    static bool until(const std::function<bool()>& p_fnDone, const std::function<void()>& p_fnClick)
    {
        for (int nTry = 0; nTry < 50 && !p_fnDone(); ++nTry)
        {
            p_fnClick();
            (void)QTest::qWaitFor(p_fnDone, 500);
        }
        return p_fnDone();
    }

    // The adapter plugged in again: the port list opened with a click, updated through its last entry and
    // the adapter chosen with the keys. (A new pseudo-terminal may get the number of the old one.)
    void chooseAdapterAgain()
    {
        QVERIFY(f.sim->open());
        fakeUdev_n::setPorts({fakeUdev_n::portEntry(f.sim->slavePath(), "0403", "6001")});
        auto* pCombo = f.window->portSelector()->findChild<QComboBox*>();
        auto chooseEntry = [pCombo](unsigned short p_nKey) {
            pCombo->view()->isVisible() ? g_pKeyboard->type(p_nKey) && g_pKeyboard->type(KEY_ENTER)
                                        : click(pCombo);
        };
        const QString strPort = f.sim->slavePath().mid(int(qstrlen("/dev/")));
        QVERIFY(until([&]() { return pCombo->itemData(0) == strPort; }, [&]() { chooseEntry(KEY_END); }));
        QVERIFY(until([&]() { return f.window->serialPort()->isOpen(); }, [&]() { chooseEntry(KEY_HOME); }));
        m_bAdapterLost = false;
    }

    // One action of the technician, then a pause of none to a few seconds.
    // Picks an index by weight.
    int pickWeighted(std::initializer_list<int> p_weights)
    {
        int nDraw = pick(std::accumulate(p_weights.begin(), p_weights.end(), 0)), nIndex = 0;
        for (int nWeight : p_weights)
        {
            if ((nDraw -= nWeight) < 0)
                return nIndex;
            ++nIndex;
        }
        return nIndex - 1;
    }

    void act()
    {
        const bool bEnrollPage = pageShown(opMode_t::Enroll), bDeletePage = pageShown(opMode_t::Delete);
        // What a technician does on the page shown: mode, person, finger, Start, delete button, sensor,
        // adapter, nothing.
        const int nKind = bEnrollPage   ? pickWeighted({10, 25, 25, 25, 0, 10, 5, 0})
                          : bDeletePage ? pickWeighted({15, 20, 25, 0, 30, 5, 5, 0})
                                        : pickWeighted({45, 10, 0, 0, 0, 35, 5, 5});
        if (nKind == 0)
        {
            const int nMode = pickWeighted({10, 30, 8, 12, 30, 5, 5});
            log(QStringLiteral("mode %1").arg(nMode));
            focus(f.window.get());
            nMode == int(opMode_t::MatchIdAnalysis) ? g_pKeyboard->chord({KEY_LEFTCTRL, KEY_LEFTSHIFT, KEY_M})
                                                    : click(modeButton(nMode));
        }
        else if (nKind == 1)
        {
            QLineEdit* pPid = bEnrollPage   ? t().leEnrollPid()
                              : bDeletePage ? t().leDeletePid()
                                            : t().leMatchIdPid();
            const int nHow = pick(5), nPid = 1 + pick(12);
            log(QStringLiteral("personal ID: ") +
                (nHow == 0   ? QStringLiteral("backspace")
                 : nHow == 1 ? "append "
                             : "") +
                (nHow == 0 ? QString() : QString::number(nPid)));
            if (click(pPid))
            {
                g_pKeyboard->chord({KEY_END});
                if (nHow == 0)
                    g_pKeyboard->type(KEY_BACKSPACE);
                else
                {
                    if (nHow > 1)
                        g_pKeyboard->chord({KEY_LEFTCTRL, KEY_A});
                    typeNumber(nPid);
                }
            }
        }
        else if (nKind == 2)
        {
            const int nFid = pick(10);
            humanHandWidget_c* pHand = bEnrollPage ? t().enrollHand(nFid / 5) : t().deleteHand(nFid / 5);
            log(QStringLiteral("finger %1").arg(nFid));
            click(pHand, windowFixture_c::fingerPoints(pHand).value(nFid % 5));
        }
        else if (nKind == 3)
        {
            const bool bDouble = pick(3) == 0;
            log(bDouble ? QStringLiteral("Start twice") : QStringLiteral("Start"));
            click(t().btnEnrollStart()) && bDouble&& click(t().btnEnrollStart());
        }
        else if (nKind == 4)
        {
            const int nButton = pick(3);
            log(QStringLiteral("delete button %1").arg(nButton));
            click(QList<QPushButton*>{t().btnDeleteSingle(), t().btnDeletePerson(),
                                      t().btnDeleteAll()}[nButton]);
        }
        else if (nKind == 5)
        {
            const int nHow = pick(3), nPid = 1 + pick(12), nFid = pick(10);
            log(nHow == 0   ? QStringLiteral("finger %1/%2 on the sensor").arg(nPid).arg(nFid)
                : nHow == 1 ? QStringLiteral("stranger on the sensor")
                            : QStringLiteral("finger off"));
            nHow == 0   ? f.sim->setFinger(nPid, nFid)
            : nHow == 1 ? f.sim->setStrangerFinger()
                        : f.sim->removeFinger();
        }
        else if (nKind == 6)
        {
            log(m_bAdapterLost ? QStringLiteral("adapter chosen again") : QStringLiteral("adapter lost"));
            if (m_bAdapterLost)
                chooseAdapterAgain();
            else
                f.sim->vanish();
            m_bAdapterLost = !f.sim->isOpen();
        }
        const int nPause = pick(10) < 5   ? 0
                           : pick(10) < 7 ? pick(200)
                           : pick(10) < 8 ? pick(1000)
                                          : pick(3000);
        if (nPause > 0)
            log(QStringLiteral("pause %1 ms").arg(nPause));
        QTest::qWait(nPause);
    }

    // The page left must be usable as it is once the line is quiet.
    void checkPageAtRest()
    {
        const bool bEnroll = f.window->mode() == opMode_t::Enroll;
        QLineEdit* pPid = bEnroll ? t().leEnrollPid() : t().leDeletePid();
        QTRY_VERIFY_WITH_TIMEOUT(!f.window->chainRunning() && f.window->stateStack().isEmpty(), 20000);
        if (pPid->text().isEmpty())
        {
            QVERIFY(click(pPid));
            typeNumber(1 + pick(12));
            QTRY_VERIFY(!pPid->text().isEmpty());
            QTRY_VERIFY_WITH_TIMEOUT(!f.window->chainRunning(), 20000);
        }
        const int nPid = pPid->text().toInt();
        const QByteArray baStored = storedFingers(nPid);
        humanHandWidget_c* apHands[] = {bEnroll ? t().enrollHand(0) : t().deleteHand(0),
                                        bEnroll ? t().enrollHand(1) : t().deleteHand(1)};
        QCOMPARE(withoutHighlight(f.colours(apHands[0], apHands[1]), baStored), baStored);
        const int nFid = bEnroll ? baStored.indexOf('0', pick(10)) : pick(10);
        if (nFid < 0)
            return;
        QVERIFY(click(apHands[nFid / 5], windowFixture_c::fingerPoints(apHands[nFid / 5]).value(nFid % 5)));
        QTRY_COMPARE((bEnroll ? t().leEnrollFid() : t().leDeleteFid())->text(), QString::number(nFid));
        if (!bEnroll)
        {
            QVERIFY(t().btnDeleteAll()->isEnabled());
            QCOMPARE(t().btnDeleteSingle()->isEnabled(), baStored.at(nFid) == '1');
            QCOMPARE(t().btnDeletePerson()->isEnabled(), baStored.contains('1'));
            return;
        }
        // An enrolment goes through.
        f.sim->setStrangerFinger();
        QVERIFY(t().btnEnrollStart()->isEnabled());
        QVERIFY(click(t().btnEnrollStart()));
        QTRY_VERIFY_WITH_TIMEOUT(f.sim->hasTemplate(nPid, nFid), 15000);
        QTRY_COMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("Mit Qualität 85% eingelernt."));
        QTRY_VERIFY_WITH_TIMEOUT(!f.window->chainRunning(), 20000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(fakeUdev_n::isActive());
        m_boxTimer.callOnTimeout(this, &tst_randomTechnician::answerBox);
    }
    void init() { m_boxTimer.start(20); }
    void cleanup()
    {
        if (QTest::currentTestFailed())
            qWarning().noquote() << "To replay: VINDAL_TECHNICIAN=1:" +
                                        QString(QTest::currentDataTag()).mid(5)
                                 << "\nActions:" << m_lstLog.join(QStringLiteral("; "));
        m_bFinishing = true;
        f.stop();
        m_boxTimer.stop();
        fakeUdev_n::clearPorts();
    }

    void sequence_data()
    {
        QTest::addColumn<quint32>("seed");
        const QList<QByteArray> lstRun = qgetenv("VINDAL_TECHNICIAN").split(':');
        const quint32 nCount = lstRun.value(0).isEmpty() ? 5 : lstRun.value(0).toUInt();
        const quint32 nFirst = lstRun.value(1).isEmpty() ? 1 : lstRun.value(1).toUInt();
        for (quint32 nSeed = nFirst; nSeed < nFirst + nCount; ++nSeed)
            QTest::addRow("seed %u", nSeed) << nSeed;
    }
    void sequence()
    {
        QFETCH(quint32, seed);
        if (!g_pMouse->isOpen() || !g_pKeyboard->isOpen())
            QSKIP("No FIFO input devices under /dev/shm");
        m_rng.seed(seed);
        m_rngBoxes.seed(~seed);
        m_lstLog.clear();
        m_bAdapterLost = m_bFinishing = false;
        f.start(false);
        f.sim->setRealTiming(true);
        f.sim->setScanDelay(20);
        f.sim->setSearchDelay(150);
        f.sim->setMatchDelay(150);
        f.sim->setPlacementDelay(200);
        for (int n = 0; n < 12; ++n)
            f.sim->addTemplate(1 + pick(12), pick(10));
        fakeUdev_n::setPorts({fakeUdev_n::portEntry(f.sim->slavePath(), "0403", "6001")});
        f.show();
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.openOnSimulator();

        for (int n = 0; n < 25; ++n)
            act();

        m_bFinishing = true;
        log(QStringLiteral("-- at rest"));
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 10000);
        if (m_bAdapterLost)
            chooseAdapterAgain();
        if (f.window->mode() == opMode_t::Enroll || f.window->mode() == opMode_t::Delete)
            checkPageAtRest();
        // The information query fills its page with the module's values.
        QVERIFY(until([this]() { return f.window->mode() == opMode_t::Info; },
                      [this]() { click(modeButton(int(opMode_t::Info))); }));
        QTRY_VERIFY_WITH_TIMEOUT(!f.window->chainRunning() && f.window->state() == state_t::QueryDevice,
                                 20000);
        QVERIFY(f.window->stateStack().isEmpty());
        QCOMPARE(QStringList({t().lblFirmware()->text(), t().lblBuildDate()->text(),
                              t().lblBuildTime()->text(), t().lblCapacity()->text()}),
                 QStringList({f.sim->firmware(), f.sim->buildDate(), f.sim->buildTime(),
                              QStringLiteral("%1 / %2").arg(f.sim->templateCount()).arg(f.sim->capacity())}));
        QCOMPARE(f.sim->overtakingCommands(), QByteArrayList());
    }
};

// The input devices must exist before the application object, which loads the input plugins.
int main(int argc, char* argv[])
{
    fifoInputDevice_c mouse("mouse", ":nocompress");
    fifoInputDevice_c keyboard("keyboard");
    g_pMouse = &mouse;
    g_pKeyboard = &keyboard;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_randomTechnician test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_randomTechnician.moc"
