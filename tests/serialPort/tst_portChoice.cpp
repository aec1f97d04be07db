// Choosing a port: the port list, the selector and the setup dialog over ports that the libudev
// stand-in shows, including pseudo-terminals dressed up as USB adapters.
#include "fakeudev/fakeUdev.h"
#include "serialPort/portList.h"
#include "serialPort/selector.h"
#include "serialPort/setupDialog.h"

#include "modalAnswerer.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace serialPort_n;
using fakeUdev_n::portEntry;

namespace
{
QStringList items(const QComboBox* p_pCombo, int p_nRole = Qt::DisplayRole)
{
    QStringList lst;
    for (int n = 0; n < p_pCombo->count(); ++n)
        lst << p_pCombo->itemData(n, p_nRole).toString();
    return lst;
}

// What a technician does: open the list, move to an entry with the keys, press Return.
void chooseEntry(QComboBox* p_pCombo, int p_nIndex)
{
    p_pCombo->showPopup();
    QAbstractItemView* pView = p_pCombo->view();
    QTRY_VERIFY(pView->isVisible());
    const int nSteps = p_nIndex - pView->currentIndex().row();
    for (int n = 0; n < qAbs(nSteps); ++n)
        QTest::keyClick(pView, nSteps > 0 ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(pView, Qt::Key_Return);
    QTRY_VERIFY(!pView->isVisible());
}

const QStringList g_lstPorts = {portEntry("/dev/ttyUSB0", "0403", "6001", "USB_Serial_Adapter", "Maker"),
                                portEntry("/dev/ttyUSB1", "0483", "a097", "Interface", ""),
                                portEntry("/dev/ttyS0")};
} // namespace

class tst_portChoice : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY2(fakeUdev_n::isActive(), "the libudev stand-in must answer the port enumeration");
        fakeUdev_n::setPorts(g_lstPorts);
    }
    void cleanup() { fakeUdev_n::clearPorts(); }

    void namesByUsbId()
    {
        fakeUdev_n::setPorts(
            {portEntry("/dev/ttyUSB3", "0483", "a097"), portEntry("/dev/ttyUSB1", "0403", "6001"),
             portEntry("/dev/ttyS0"), portEntry("/dev/ttyUSB2", "0483", "A097"),
             portEntry("/dev/ttyACM0", "0483", ""), portEntry("/dev/ttyACM1", "", "a097"),
             portEntry("/dev/ttyUSB4", "a097", "0483"), portEntry("/dev/ttyUSB5", "0000", "0000")});
        QCOMPARE(portNamesByUsbId(0x0483, 0xA097), (QStringList{"ttyUSB3", "ttyUSB2"}));
        QCOMPARE(portNamesByUsbId(0x0403, 0x6001), QStringList{"ttyUSB1"});
        QCOMPARE(portNamesByUsbId(0x0483, 0x6001), QStringList());
        // Ports without ids must not match a lookup for 0.
        QCOMPARE(portNamesByUsbId(0x0000, 0x0000), QStringList{"ttyUSB5"});
    }
    void selectorLists()
    {
        selector_c selector;
        QComboBox* pCombo = selector.findChild<QComboBox*>();
        QToolButton* pButton = selector.findChild<QToolButton*>();
        QCOMPARE(items(pCombo), (QStringList{"ttyUSB0 (USB Serial Adapter / Maker)", "ttyUSB1 (Interface / )",
                                             "ttyS0 ( / )", "Update serial port list"}));
        QCOMPARE(items(pCombo, Qt::UserRole), (QStringList{"ttyUSB0", "ttyUSB1", "ttyS0", "--update--"}));
        QCOMPARE(selector.port(), QStringLiteral("ttyUSB0"));
        QCOMPARE(pButton->toolTip(), QStringLiteral("Update serial port list"));
        QVERIFY(!pButton->icon().isNull());
        selector.show();
        QVERIFY(pButton->isVisible());
        selector.setUpdateButtonVisible(false);
        QVERIFY(!pButton->isVisible());

        // Only names of listed ports (or the update entry) are taken.
        for (const char* pszPort : {"ttyS0", "ttyUSB9", "ttyUSB0 (USB Serial Adapter / Maker)"})
            selector.setPort(pszPort);
        QCOMPARE(selector.port(), QStringLiteral("ttyS0"));
        // Cut short in a narrow tool bar, the chosen entry is whole in the tool tip and in the open list.
        selector.setPort(QStringLiteral("ttyUSB0"));
        selector.setMaximumWidth(60);
        QCOMPARE(pCombo->toolTip(), items(pCombo).at(0));
        QVERIFY(pCombo->view()->minimumWidth() >= pCombo->view()->sizeHintForColumn(0));
        selector.setPort(QStringLiteral("--update--"));
        QCOMPARE(pCombo->currentIndex(), 3);
    }
    void selectorRefreshesAndEmitsOnlyForAChoice()
    {
        selector_c selector;
        QSignalSpy spy(&selector, &selector_c::portChanged);
        QComboBox* pCombo = selector.findChild<QComboBox*>();
        QToolButton* pButton = selector.findChild<QToolButton*>();
        selector.show();
        QVERIFY(QTest::qWaitForWindowExposed(&selector));
        selector.setPort(QStringLiteral("ttyUSB1"));
        // A port appears in front of the current one: the current one stays.
        fakeUdev_n::setPorts(QStringList{portEntry("/dev/ttyACM0", "1234", "5678", "Modem", "Maker")} +
                             g_lstPorts);
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCOMPARE(items(pCombo).first(), QStringLiteral("ttyACM0 (Modem / Maker)"));
        QCOMPARE(selector.port(), QStringLiteral("ttyUSB1"));
        // The current one is gone: the first entry; no port left: the update entry alone.
        fakeUdev_n::setPorts({portEntry("/dev/ttyS0"), portEntry("/dev/ttyUSB0")});
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCOMPARE(items(pCombo, Qt::UserRole), (QStringList{"ttyS0", "ttyUSB0", "--update--"}));
        QCOMPARE(selector.port(), QStringLiteral("ttyS0"));
        fakeUdev_n::clearPorts();
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCOMPARE(items(pCombo), QStringList{"Update serial port list"});
        QCOMPARE(selector.port(), QStringLiteral("--update--"));
        fakeUdev_n::setPorts(g_lstPorts);
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCOMPARE(spy.count(), 0);

        // Only a technician's choice signals, even of the current port again.
        chooseEntry(pCombo, 2);
        chooseEntry(pCombo, 2);
        QTest::keyClick(pCombo, Qt::Key_Up);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(QStringList({spy[0][0].toString(), spy[1][0].toString(), spy[2][0].toString()}),
                 (QStringList{"ttyS0", "ttyS0", "ttyUSB1"}));
        // The update entry refreshes the list and makes its first entry current, without a signal.
        fakeUdev_n::setPorts({portEntry("/dev/ttyACM0", "1234", "5678"), g_lstPorts[1]});
        chooseEntry(pCombo, 3);
        QCOMPARE(items(pCombo),
                 (QStringList{"ttyACM0 ( / )", "ttyUSB1 (Interface / )", "Update serial port list"}));
        QCOMPARE(selector.port(), QStringLiteral("ttyACM0"));
        QCOMPARE(spy.count(), 3);

        // Signals blocked by the owner stay blocked after a refresh.
        selector.blockSignals(true);
        QTest::mouseClick(pButton, Qt::LeftButton);
        QVERIFY(selector.signalsBlocked());
        selector.blockSignals(false);
        chooseEntry(pCombo, 1);
        QCOMPARE(spy.count(), 4);
    }
    void dialogEntries()
    {
        setupDialog_c dialog;
        QGridLayout* pGrid = qobject_cast<QGridLayout*>(dialog.layout());
        // Per row: label, entry texts, entry data.
        const QString strBauds = "1200 2400 4800 9600 19200 38400 57600 115200";
        const QList<QStringList> lstRows = {{"Baudrate", strBauds, strBauds},
                                            {"Data Bits", "5 6 7 8", "5 6 7 8"},
                                            {"Parity", "No Even Odd Space Mark", "N E O S M"},
                                            {"Stop Bits", "1 1.5 2", "1 1.5 2"},
                                            {"Flow Control", "Off Hardware Software", "OFF HW SW"}};
        for (int nRow = 1; nRow <= lstRows.size(); ++nRow)
        {
            const QStringList& lstRow = lstRows.at(nRow - 1);
            QCOMPARE(qobject_cast<QLabel*>(pGrid->itemAtPosition(nRow, 0)->widget())->text(), lstRow[0]);
            QComboBox* pCombo = qobject_cast<QComboBox*>(pGrid->itemAtPosition(nRow, 1)->widget());
            QCOMPARE(QStringList({items(pCombo).join(' '), items(pCombo, Qt::UserRole).join(' ')}),
                     lstRow.mid(1));
        }
        // No port chosen at first, every setting its first entry. The port entries are the selector's
        // (shown after a refresh below), without the update entry: the button refreshes.
        QCOMPARE(dialog.specification(), QStringLiteral(";1200 5 N 1 OFF"));
    }
    void dialogLoadsAndReads()
    {
        // From "ttyUSB0;9600 8 E 1 HW": every field; lower-case parity and flow control text; values as
        // formatted outside the tables and the parity's dialog text; port absent or given by its entry text;
        // empty fields; illegal (nothing changes). Fields that match no entry keep their entry.
        for (const QStringList& lstCase :
             QList<QStringList>{{"ttyS0;115200 7 M 1.5 SW", "ttyS0;115200 7 M 1.5 SW"},
                                {"ttyS0;19200 7 n 2 Software", "ttyS0;19200 7 E 2 HW"},
                                {"ttyS0;-1 -1 Odd ? ?", "ttyS0;9600 8 E 1 HW"},
                                {"ttyS0 ( / );2400 6 O 1 OFF", "ttyUSB0;2400 6 O 1 OFF"},
                                {";    ", "ttyUSB0;9600 8 E 1 HW"},
                                {"ttyS0;115200 8 N 1", "ttyUSB0;9600 8 E 1 HW"}})
        {
            setupDialog_c dialog;
            dialog.setSpecification(QStringLiteral("ttyUSB0;9600 8 E 1 HW"));
            if (lstCase[0] == "ttyS0;115200 8 N 1")
                QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Illegal serial port")));
            dialog.setSpecification(lstCase[0]);
            QCOMPARE(dialog.specification(), lstCase[1]);
        }
    }
    void dialogUserChoicesAndRefresh()
    {
        setupDialog_c dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QGridLayout* pGrid = qobject_cast<QGridLayout*>(dialog.layout());
        const auto combo = [&](int p_nRow) { return pGrid->itemAtPosition(p_nRow, 1)->widget(); };
        for (int nRow : {0, 1, 3, 3, 4, 5})
            QTest::keyClick(combo(nRow), nRow == 3 || nRow == 4 ? Qt::Key_Down : Qt::Key_End);
        QCOMPARE(dialog.specification(), QStringLiteral("ttyS0;115200 5 O 1.5 SW"));

        // Refreshing keeps the chosen port while it is there, and changes only the port list.
        QToolButton* pButton = qobject_cast<QToolButton*>(pGrid->itemAtPosition(0, 2)->widget());
        fakeUdev_n::setPorts(
            {portEntry("/dev/ttyACM0", "1234", "5678", "Modem", "Maker"), portEntry("/dev/ttyS0")});
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCOMPARE(items(static_cast<QComboBox*>(combo(0))),
                 (QStringList{"ttyACM0 (Modem / Maker)", "ttyS0 ( / )"}));
        QCOMPARE(items(static_cast<QComboBox*>(combo(0)), Qt::UserRole), (QStringList{"ttyACM0", "ttyS0"}));
        QCOMPARE(dialog.specification(), QStringLiteral("ttyS0;115200 5 O 1.5 SW"));
        fakeUdev_n::setPorts({portEntry("/dev/ttyUSB0")});
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCOMPARE(dialog.specification(), QStringLiteral(";115200 5 O 1.5 SW"));
    }
    void dialogAcceptAndReject()
    {
        for (const QString& strButton : {QStringLiteral("Accept"), QStringLiteral("Reject")})
        {
            setupDialog_c dialog;
            dialog.setSpecification(QStringLiteral("ttyUSB0;57600 8 N 1 OFF"));
            // The first box is the dialog; a missing button fails the test instead of leaving it waiting.
            modalAnswerer_c answerer(
                [&](QWidget* p_pModal)
                {
                    for (QPushButton* pButton : p_pModal->findChildren<QPushButton*>())
                        if (pButton->text() == strButton)
                            return QTest::mouseClick(pButton, Qt::LeftButton);
                    p_pModal->close();
                    QFAIL(qPrintable("no button " + strButton));
                });
            QCOMPARE(dialog.exec(), strButton == "Accept" ? int(QDialog::Accepted) : int(QDialog::Rejected));
            QCOMPARE(dialog.specification(), QStringLiteral("ttyUSB0;57600 8 N 1 OFF"));
        }
    }
};

QTEST_MAIN(tst_portChoice)
#include "tst_portChoice.moc"
