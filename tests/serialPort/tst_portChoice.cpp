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
        fakeUdev_n::clearPorts();
        QCOMPARE(portNamesByUsbId(0x0403, 0x6001), QStringList());
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
    void dialogEntries_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("data");

        const QStringList lstBauds = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
        QTest::newRow("baud rate") << 1 << "Baudrate" << lstBauds << lstBauds;
        QTest::newRow("data bits") << 2 << "Data Bits" << QStringList{"5", "6", "7", "8"}
                                   << QStringList{"5", "6", "7", "8"};
        QTest::newRow("parity") << 3 << "Parity" << QStringList{"No", "Even", "Odd", "Space", "Mark"}
                                << QStringList{"N", "E", "O", "S", "M"};
        QTest::newRow("stop bits") << 4 << "Stop Bits" << QStringList{"1", "1.5", "2"}
                                   << QStringList{"1", "1.5", "2"};
        QTest::newRow("flow control") << 5 << "Flow Control" << QStringList{"Off", "Hardware", "Software"}
                                      << QStringList{"OFF", "HW", "SW"};
    }
    void dialogEntries()
    {
        QFETCH(int, row);
        QFETCH(QString, label);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, data);
        setupDialog_c dialog;
        QGridLayout* pGrid = qobject_cast<QGridLayout*>(dialog.layout());
        QCOMPARE(qobject_cast<QLabel*>(pGrid->itemAtPosition(row, 0)->widget())->text(), label);
        QComboBox* pCombo = qobject_cast<QComboBox*>(pGrid->itemAtPosition(row, 1)->widget());
        QCOMPARE(items(pCombo), texts);
        QCOMPARE(items(pCombo, Qt::UserRole), data);
        // No port chosen at first, every setting its first entry. The port entries are the selector's
        // (shown after a refresh below), without the update entry: the button refreshes.
        QCOMPARE(pCombo->currentIndex(), 0);
        QCOMPARE(dialog.specification(), QStringLiteral(";1200 5 N 1 OFF"));
    }
    void dialogLoadsAndReads_data()
    {
        QTest::addColumn<QString>("portSpec");
        QTest::addColumn<QString>("result");

        // Start from "ttyUSB0;9600 8 E 1 HW"; fields that match no entry keep their entry.
        QTest::newRow("every field") << "ttyS0;115200 7 M 1.5 SW"
                                     << "ttyS0;115200 7 M 1.5 SW";
        QTest::newRow("lower-case parity, flow control text") << "ttyS0;19200 7 n 2 Software"
                                                              << "ttyS0;19200 7 E 2 HW";
        // As formatted for values outside the tables, and the parity's dialog text.
        QTest::newRow("unlisted values") << "ttyS0;-1 -1 Odd ? ?"
                                         << "ttyS0;9600 8 E 1 HW";
        QTest::newRow("port absent or given by its entry text") << "ttyS0 ( / );2400 6 O 1 OFF"
                                                                << "ttyUSB0;2400 6 O 1 OFF";
        QTest::newRow("empty fields") << ";    "
                                      << "ttyUSB0;9600 8 E 1 HW";
        QTest::newRow("illegal: nothing changes") << "ttyS0;115200 8 N 1"
                                                  << "ttyUSB0;9600 8 E 1 HW";
    }
    void dialogLoadsAndReads()
    {
        QFETCH(QString, portSpec);
        QFETCH(QString, result);
        setupDialog_c dialog;
        dialog.setSpecification(QStringLiteral("ttyUSB0;9600 8 E 1 HW"));
        if (QTest::currentDataTag() == QLatin1String("illegal: nothing changes"))
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Illegal serial port")));
        dialog.setSpecification(portSpec);
        QCOMPARE(dialog.specification(), result);
    }
    void dialogUserChoicesAndRefresh()
    {
        setupDialog_c dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QGridLayout* pGrid = qobject_cast<QGridLayout*>(dialog.layout());
        const auto combo = [&](int p_nRow) { return pGrid->itemAtPosition(p_nRow, 1)->widget(); };
        for (const auto& key : QList<QPair<int, Qt::Key>>{{0, Qt::Key_End},
                                                          {1, Qt::Key_End},
                                                          {3, Qt::Key_Down},
                                                          {3, Qt::Key_Down},
                                                          {4, Qt::Key_Down},
                                                          {5, Qt::Key_End}})
            QTest::keyClick(combo(key.first), key.second);
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
