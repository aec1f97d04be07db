// The port setup dialog over ports that the libudev stand-in shows: its entries, loading and reading
// specifications, refreshing the port list, and the dialog's result.

#include "fakeudev/fakeUdev.h"
#include "serialPort/setupDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace serialPort_n;

namespace
{

enum row_t
{
    rowPort,
    rowBaudRate,
    rowDataBits,
    rowParity,
    rowStopBits,
    rowFlowControl
};

QByteArray illegalMessage(const QByteArray& p_baPortSpec)
{
    return "Illegal serial port specification. Expected "
           "\"<port>;<baudrate> <databits> <parity> <stopbits> <flowcontrol>\", got \"" +
           p_baPortSpec + '"';
}

} // namespace

class tst_setupDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutAndEntries_data();
    void layoutAndEntries();
    void portEntries();
    void specificationAfterConstruction();
    void loadSpecification();
    void loadSpecificationPartly_data();
    void loadSpecificationPartly();
    void illegalSpecificationChangesNothing();
    void userChoices();
    void refreshKeepsChosenPort();
    void refreshAfterChosenPortHasGone();
    void acceptAndReject_data();
    void acceptAndReject();

private:
    QComboBox* combo(int p_nRow) const;
    QStringList texts(int p_nRow) const;
    QStringList data(int p_nRow) const;
    QString currentText(int p_nRow) const { return combo(p_nRow)->currentText(); }
    void clickUpdate();

    QScopedPointer<setupDialog_c> m_pDialog;
};

void tst_setupDialog::init()
{
    QVERIFY2(fakeUdev_n::isActive(), "the libudev stand-in must answer the port enumeration");
    fakeUdev_n::setPorts({
        fakeUdev_n::portEntry("/dev/ttyUSB0", "0403", "6001", "USB_Serial_Adapter", "Maker"),
        fakeUdev_n::portEntry("/dev/ttyS0"),
    });
    m_pDialog.reset(new setupDialog_c());
}

void tst_setupDialog::cleanup()
{
    m_pDialog.reset();
    fakeUdev_n::clearPorts();
}

QComboBox* tst_setupDialog::combo(int p_nRow) const
{
    QGridLayout* pGrid = qobject_cast<QGridLayout*>(m_pDialog->layout());
    if (!pGrid || !pGrid->itemAtPosition(p_nRow, 1))
        return nullptr;
    return qobject_cast<QComboBox*>(pGrid->itemAtPosition(p_nRow, 1)->widget());
}

QStringList tst_setupDialog::texts(int p_nRow) const
{
    QStringList lstTexts;
    for (int n = 0; n < combo(p_nRow)->count(); ++n)
        lstTexts << combo(p_nRow)->itemText(n);
    return lstTexts;
}

QStringList tst_setupDialog::data(int p_nRow) const
{
    QStringList lstData;
    for (int n = 0; n < combo(p_nRow)->count(); ++n)
        lstData << combo(p_nRow)->itemData(n, Qt::UserRole).toString();
    return lstData;
}

void tst_setupDialog::clickUpdate()
{
    QToolButton* pButton = m_pDialog->findChild<QToolButton*>();
    QVERIFY(pButton);
    QCOMPARE(pButton->toolTip(), QStringLiteral("Update serial port list"));
    QTest::mouseClick(pButton, Qt::LeftButton);
}

void tst_setupDialog::layoutAndEntries_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("data");

    const QStringList lstBauds = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    QTest::newRow("baud rate") << int(rowBaudRate) << "Baudrate" << lstBauds << lstBauds;
    QTest::newRow("data bits") << int(rowDataBits) << "Data Bits" << QStringList{"5", "6", "7", "8"}
                               << QStringList{"5", "6", "7", "8"};
    QTest::newRow("parity") << int(rowParity) << "Parity" << QStringList{"No", "Even", "Odd", "Space", "Mark"}
                            << QStringList{"N", "E", "O", "S", "M"};
    QTest::newRow("stop bits") << int(rowStopBits) << "Stop Bits" << QStringList{"1", "1.5", "2"}
                               << QStringList{"1", "1.5", "2"};
    QTest::newRow("flow control") << int(rowFlowControl) << "Flow Control"
                                  << QStringList{"Off", "Hardware", "Software"}
                                  << QStringList{"OFF", "HW", "SW"};
}

void tst_setupDialog::layoutAndEntries()
{
    QFETCH(int, row);
    QFETCH(QString, label);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, data);

    QGridLayout* pGrid = qobject_cast<QGridLayout*>(m_pDialog->layout());
    QVERIFY(pGrid);
    QLabel* pLabel = qobject_cast<QLabel*>(pGrid->itemAtPosition(row, 0)->widget());
    QVERIFY(pLabel);
    QCOMPARE(pLabel->text(), label);
    QVERIFY(combo(row));
    QCOMPARE(this->texts(row), texts);
    QCOMPARE(this->data(row), data);
    QCOMPARE(combo(row)->currentIndex(), 0);
}

void tst_setupDialog::portEntries()
{
    QGridLayout* pGrid = qobject_cast<QGridLayout*>(m_pDialog->layout());
    QCOMPARE(qobject_cast<QLabel*>(pGrid->itemAtPosition(rowPort, 0)->widget())->text(),
             QStringLiteral("Port"));
    QVERIFY(qobject_cast<QToolButton*>(pGrid->itemAtPosition(rowPort, 2)->widget()));
    QCOMPARE(texts(rowPort), (QStringList{"ttyUSB0 (USB Serial Adapter / Maker)", "ttyS0 ( / )"}));
    QCOMPARE(data(rowPort), (QStringList{"ttyUSB0", "ttyS0"}));
    // No update entry here: the button refreshes.
    QCOMPARE(combo(rowPort)->currentIndex(), -1);
}

void tst_setupDialog::specificationAfterConstruction()
{
    QCOMPARE(m_pDialog->specification(), QStringLiteral(";1200 5 N 1 OFF"));

    fakeUdev_n::clearPorts();
    setupDialog_c withoutPorts;
    QCOMPARE(withoutPorts.specification(), QStringLiteral(";1200 5 N 1 OFF"));
}

void tst_setupDialog::loadSpecification()
{
    const QString strSpec = QStringLiteral("ttyUSB0;9600 8 E 1 HW");
    m_pDialog->setSpecification(strSpec);
    QCOMPARE(currentText(rowPort), QStringLiteral("ttyUSB0 (USB Serial Adapter / Maker)"));
    QCOMPARE(currentText(rowBaudRate), QStringLiteral("9600"));
    QCOMPARE(currentText(rowDataBits), QStringLiteral("8"));
    QCOMPARE(currentText(rowParity), QStringLiteral("Even"));
    QCOMPARE(currentText(rowStopBits), QStringLiteral("1"));
    QCOMPARE(currentText(rowFlowControl), QStringLiteral("Hardware"));
    QCOMPARE(m_pDialog->specification(), strSpec);

    m_pDialog->setSpecification(QStringLiteral("ttyS0;115200 7 M 1.5 SW"));
    QCOMPARE(m_pDialog->specification(), QStringLiteral("ttyS0;115200 7 M 1.5 SW"));
}

void tst_setupDialog::loadSpecificationPartly_data()
{
    QTest::addColumn<QString>("portSpec");
    QTest::addColumn<QString>("result");

    // Start from "ttyUSB0;9600 8 E 1 HW"; fields that match no entry keep their entry.
    QTest::newRow("lower-case parity") << "ttyS0;19200 7 n 2 SW"
                                       << "ttyS0;19200 7 E 2 SW";
    QTest::newRow("port not present") << "COM3;19200 7 O 2 SW"
                                      << "ttyUSB0;19200 7 O 2 SW";
    QTest::newRow("unlisted values as formatted") << "ttyS0;-1 -1 U ? ?"
                                                  << "ttyS0;9600 8 E 1 HW";
    QTest::newRow("dialog texts are not tokens") << "ttyS0;9600 8 Odd 1 Software"
                                                 << "ttyS0;9600 8 E 1 HW";
    QTest::newRow("port given by its entry text") << "ttyS0 ( / );2400 8 E 1 HW"
                                                  << "ttyUSB0;2400 8 E 1 HW";
    QTest::newRow("empty fields") << ";    "
                                  << "ttyUSB0;9600 8 E 1 HW";
}

void tst_setupDialog::loadSpecificationPartly()
{
    QFETCH(QString, portSpec);
    QFETCH(QString, result);
    m_pDialog->setSpecification(QStringLiteral("ttyUSB0;9600 8 E 1 HW"));
    m_pDialog->setSpecification(portSpec);
    QCOMPARE(m_pDialog->specification(), result);
}

void tst_setupDialog::illegalSpecificationChangesNothing()
{
    m_pDialog->setSpecification(QStringLiteral("ttyUSB0;9600 8 E 1 HW"));
    QTest::ignoreMessage(QtDebugMsg, illegalMessage("ttyS0;115200 8 N 1"));
    m_pDialog->setSpecification(QStringLiteral("ttyS0;115200 8 N 1"));
    QTest::ignoreMessage(QtDebugMsg, illegalMessage("ttyS0 115200 8 N 1 OFF"));
    m_pDialog->setSpecification(QStringLiteral("ttyS0 115200 8 N 1 OFF"));
    QCOMPARE(m_pDialog->specification(), QStringLiteral("ttyUSB0;9600 8 E 1 HW"));
}

void tst_setupDialog::userChoices()
{
    m_pDialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pDialog.data()));
    QTest::keyClick(combo(rowPort), Qt::Key_End);
    QTest::keyClick(combo(rowBaudRate), Qt::Key_End);
    QTest::keyClick(combo(rowParity), Qt::Key_Down);
    QTest::keyClick(combo(rowParity), Qt::Key_Down);
    QTest::keyClick(combo(rowStopBits), Qt::Key_Down);
    QTest::keyClick(combo(rowFlowControl), Qt::Key_End);
    QCOMPARE(m_pDialog->specification(), QStringLiteral("ttyS0;115200 5 O 1.5 SW"));
}

void tst_setupDialog::refreshKeepsChosenPort()
{
    m_pDialog->setSpecification(QStringLiteral("ttyS0;9600 8 E 1 HW"));
    fakeUdev_n::setPorts({fakeUdev_n::portEntry("/dev/ttyACM0", "1234", "5678", "Modem", "Maker"),
                          fakeUdev_n::portEntry("/dev/ttyS0")});
    clickUpdate();
    QCOMPARE(texts(rowPort), (QStringList{"ttyACM0 (Modem / Maker)", "ttyS0 ( / )"}));
    QCOMPARE(m_pDialog->specification(), QStringLiteral("ttyS0;9600 8 E 1 HW"));
}

void tst_setupDialog::refreshAfterChosenPortHasGone()
{
    m_pDialog->setSpecification(QStringLiteral("ttyS0;9600 8 E 1 HW"));
    fakeUdev_n::setPorts({fakeUdev_n::portEntry("/dev/ttyUSB0")});
    clickUpdate();
    QCOMPARE(data(rowPort), QStringList{"ttyUSB0"});
    QCOMPARE(combo(rowPort)->currentIndex(), -1);
    // Only the port list changes.
    QCOMPARE(m_pDialog->specification(), QStringLiteral(";9600 8 E 1 HW"));

    fakeUdev_n::clearPorts();
    clickUpdate();
    QCOMPARE(combo(rowPort)->count(), 0);
    QCOMPARE(m_pDialog->specification(), QStringLiteral(";9600 8 E 1 HW"));
}

void tst_setupDialog::acceptAndReject_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("accept") << "Accept" << int(QDialog::Accepted);
    QTest::newRow("reject") << "Reject" << int(QDialog::Rejected);
}

void tst_setupDialog::acceptAndReject()
{
    QFETCH(QString, button);
    QFETCH(int, result);

    // The modal dialog is answered from a timer, as a technician would click it.
    QString strClicked;
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, this,
            [&]()
            {
                QWidget* pModal = QApplication::activeModalWidget();
                if (!pModal)
                    return;
                for (QPushButton* pButton : pModal->findChildren<QPushButton*>())
                {
                    if (pButton->text() == button)
                    {
                        strClicked = pButton->text();
                        answer.stop();
                        QTest::mouseClick(pButton, Qt::LeftButton);
                        return;
                    }
                }
            });
    answer.start();
    m_pDialog->setSpecification(QStringLiteral("ttyUSB0;57600 8 N 1 OFF"));
    QCOMPARE(m_pDialog->exec(), result);
    QCOMPARE(strClicked, button);
    QCOMPARE(m_pDialog->specification(), QStringLiteral("ttyUSB0;57600 8 N 1 OFF"));
}

QTEST_MAIN(tst_setupDialog)
#include "tst_setupDialog.moc"
