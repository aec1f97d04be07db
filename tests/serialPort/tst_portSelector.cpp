// The port selector over ports that the libudev stand-in shows: listed texts, the update entry and
// button, and when portChanged is emitted and when not.

#include "fakeudev/fakeUdev.h"
#include "serialPort/selector.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace serialPort_n;

class tst_portSelector : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noPorts();
    void listedTexts();
    void updateButton();
    void setPortDoesNotEmit();
    void refreshKeepsCurrentPort();
    void refreshAfterCurrentPortHasGone();
    void choosingAPortEmits();
    void choosingTheCurrentPortAgainEmits();
    void choosingTheUpdateEntryRefreshesSilently();

private:
    // Each test gets a fresh selector built over the ports configured before it.
    void createSelector();
    QStringList entryTexts() const;
    QStringList entryData() const;
    // What a technician does: open the list, move to an entry with the keys, press Return.
    void chooseEntry(int p_nIndex);

    QScopedPointer<selector_c> m_pSelector;
    QComboBox* m_pCombo = nullptr;
    QToolButton* m_pButton = nullptr;
    QScopedPointer<QSignalSpy> m_pSpy;
};

void tst_portSelector::init()
{
    QVERIFY2(fakeUdev_n::isActive(), "the libudev stand-in must answer the port enumeration");
    fakeUdev_n::setPorts({
        fakeUdev_n::portEntry("/dev/ttyUSB0", "0403", "6001", "USB_Serial_Adapter", "Maker"),
        fakeUdev_n::portEntry("/dev/ttyUSB1", "0483", "a097", "Interface", ""),
        fakeUdev_n::portEntry("/dev/ttyS0"),
    });
}

void tst_portSelector::cleanup()
{
    m_pSpy.reset();
    m_pSelector.reset();
    fakeUdev_n::clearPorts();
}

void tst_portSelector::createSelector()
{
    m_pSelector.reset(new selector_c());
    m_pCombo = m_pSelector->findChild<QComboBox*>();
    m_pButton = m_pSelector->findChild<QToolButton*>();
    QVERIFY(m_pCombo && m_pButton);
    m_pSpy.reset(new QSignalSpy(m_pSelector.data(), &selector_c::portChanged));
    m_pSelector->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pSelector.data()));
}

QStringList tst_portSelector::entryTexts() const
{
    QStringList lstTexts;
    for (int n = 0; n < m_pCombo->count(); ++n)
        lstTexts << m_pCombo->itemText(n);
    return lstTexts;
}

QStringList tst_portSelector::entryData() const
{
    QStringList lstData;
    for (int n = 0; n < m_pCombo->count(); ++n)
        lstData << m_pCombo->itemData(n, Qt::UserRole).toString();
    return lstData;
}

void tst_portSelector::chooseEntry(int p_nIndex)
{
    m_pCombo->showPopup();
    QAbstractItemView* pView = m_pCombo->view();
    QTRY_VERIFY(pView->isVisible());
    const int nSteps = p_nIndex - pView->currentIndex().row();
    for (int n = 0; n < qAbs(nSteps); ++n)
        QTest::keyClick(pView, nSteps > 0 ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(pView->currentIndex().row(), p_nIndex);
    QTest::keyClick(pView, Qt::Key_Return);
    QTRY_VERIFY(!pView->isVisible());
}

void tst_portSelector::noPorts()
{
    fakeUdev_n::clearPorts();
    createSelector();
    QCOMPARE(entryTexts(), QStringList{"Update serial port list"});
    QCOMPARE(m_pSelector->port(), QStringLiteral("--update--"));
    QCOMPARE(selector_c::updateMarker(), QStringLiteral("--update--"));

    chooseEntry(0);
    QCOMPARE(m_pSpy->count(), 0);
    QCOMPARE(m_pSelector->port(), QStringLiteral("--update--"));
}

void tst_portSelector::listedTexts()
{
    createSelector();
    QCOMPARE(entryTexts(), (QStringList{"ttyUSB0 (USB Serial Adapter / Maker)", "ttyUSB1 (Interface / )",
                                        "ttyS0 ( / )", "Update serial port list"}));
    QCOMPARE(entryData(), (QStringList{"ttyUSB0", "ttyUSB1", "ttyS0", "--update--"}));
    QCOMPARE(m_pSelector->port(), QStringLiteral("ttyUSB0"));
    QCOMPARE(m_pSpy->count(), 0);
}

void tst_portSelector::updateButton()
{
    createSelector();
    QCOMPARE(m_pButton->toolTip(), QStringLiteral("Update serial port list"));
    QVERIFY(!m_pButton->icon().isNull());
    QVERIFY(m_pButton->isVisible());

    // The main window hides the button; the update entry still refreshes the list.
    m_pSelector->setUpdateButtonVisible(false);
    QVERIFY(!m_pButton->isVisible());
    QCOMPARE(entryData().last(), QStringLiteral("--update--"));
    m_pSelector->setUpdateButtonVisible(true);
    QVERIFY(m_pButton->isVisible());

    fakeUdev_n::setPorts({fakeUdev_n::portEntry("/dev/ttyACM0", "1234", "5678", "Modem", "Maker")});
    QTest::mouseClick(m_pButton, Qt::LeftButton);
    QCOMPARE(entryTexts(), (QStringList{"ttyACM0 (Modem / Maker)", "Update serial port list"}));
    QCOMPARE(m_pSpy->count(), 0);
}

void tst_portSelector::setPortDoesNotEmit()
{
    createSelector();
    m_pSelector->setPort(QStringLiteral("ttyS0"));
    QCOMPARE(m_pSelector->port(), QStringLiteral("ttyS0"));
    m_pSelector->setPort(QStringLiteral("ttyUSB9"));
    QCOMPARE(m_pSelector->port(), QStringLiteral("ttyS0"));
    // The description is not the name.
    m_pSelector->setPort(QStringLiteral("ttyUSB0 (USB Serial Adapter / Maker)"));
    QCOMPARE(m_pSelector->port(), QStringLiteral("ttyS0"));
    m_pSelector->setPort(QStringLiteral("--update--"));
    QCOMPARE(m_pCombo->currentIndex(), m_pCombo->count() - 1);
    QCOMPARE(m_pSpy->count(), 0);
}

void tst_portSelector::refreshKeepsCurrentPort()
{
    createSelector();
    m_pSelector->setPort(QStringLiteral("ttyUSB1"));
    // A port appears in front of the current one.
    fakeUdev_n::setPorts({
        fakeUdev_n::portEntry("/dev/ttyACM0"),
        fakeUdev_n::portEntry("/dev/ttyUSB0", "0403", "6001", "USB_Serial_Adapter", "Maker"),
        fakeUdev_n::portEntry("/dev/ttyUSB1", "0483", "a097", "Interface", ""),
    });
    QTest::mouseClick(m_pButton, Qt::LeftButton);
    QCOMPARE(entryData(), (QStringList{"ttyACM0", "ttyUSB0", "ttyUSB1", "--update--"}));
    QCOMPARE(m_pSelector->port(), QStringLiteral("ttyUSB1"));
    QCOMPARE(m_pSpy->count(), 0);
}

void tst_portSelector::refreshAfterCurrentPortHasGone()
{
    createSelector();
    m_pSelector->setPort(QStringLiteral("ttyUSB1"));
    fakeUdev_n::setPorts({fakeUdev_n::portEntry("/dev/ttyS0"), fakeUdev_n::portEntry("/dev/ttyUSB0")});
    QTest::mouseClick(m_pButton, Qt::LeftButton);
    QCOMPARE(entryData(), (QStringList{"ttyS0", "ttyUSB0", "--update--"}));
    QCOMPARE(m_pSelector->port(), QStringLiteral("ttyS0"));
    QCOMPARE(m_pSpy->count(), 0);

    // Nothing left: only the update entry, and still no signal.
    fakeUdev_n::clearPorts();
    QTest::mouseClick(m_pButton, Qt::LeftButton);
    QCOMPARE(m_pSelector->port(), QStringLiteral("--update--"));
    QCOMPARE(m_pSpy->count(), 0);
}

void tst_portSelector::choosingAPortEmits()
{
    createSelector();
    chooseEntry(2);
    QCOMPARE(m_pSpy->count(), 1);
    QCOMPARE(m_pSpy->at(0).at(0).toString(), QStringLiteral("ttyS0"));
    QCOMPARE(m_pSelector->port(), QStringLiteral("ttyS0"));

    // Keys on the closed combo box are choices as well.
    QTest::keyClick(m_pCombo, Qt::Key_Up);
    QCOMPARE(m_pSpy->count(), 2);
    QCOMPARE(m_pSpy->at(1).at(0).toString(), QStringLiteral("ttyUSB1"));
}

void tst_portSelector::choosingTheCurrentPortAgainEmits()
{
    createSelector();
    m_pSelector->setPort(QStringLiteral("ttyUSB1"));
    chooseEntry(1);
    chooseEntry(1);
    QCOMPARE(m_pSpy->count(), 2);
    QCOMPARE(m_pSpy->at(0).at(0).toString(), QStringLiteral("ttyUSB1"));
    QCOMPARE(m_pSpy->at(1).at(0).toString(), QStringLiteral("ttyUSB1"));
}

void tst_portSelector::choosingTheUpdateEntryRefreshesSilently()
{
    createSelector();
    m_pSelector->setPort(QStringLiteral("ttyUSB1"));
    fakeUdev_n::setPorts({fakeUdev_n::portEntry("/dev/ttyACM0", "1234", "5678"),
                          fakeUdev_n::portEntry("/dev/ttyUSB1", "0483", "a097", "Interface", "")});

    chooseEntry(3);
    // The list is new and its first entry current, but the port in use is not changed.
    QCOMPARE(entryTexts(),
             (QStringList{"ttyACM0 ( / )", "ttyUSB1 (Interface / )", "Update serial port list"}));
    QCOMPARE(m_pSelector->port(), QStringLiteral("ttyACM0"));
    QCOMPARE(m_pSpy->count(), 0);

    // Signals blocked by the owner stay blocked after a refresh.
    m_pSelector->blockSignals(true);
    QTest::mouseClick(m_pButton, Qt::LeftButton);
    QVERIFY(m_pSelector->signalsBlocked());
    m_pSelector->blockSignals(false);
    chooseEntry(1);
    QCOMPARE(m_pSpy->count(), 1);
}

QTEST_MAIN(tst_portSelector)
#include "tst_portSelector.moc"
