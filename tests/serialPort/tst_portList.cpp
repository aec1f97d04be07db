// Port records: lookup by USB ids over made-up ports, the entry and list texts, and the system's port
// list as pseudo-terminals dressed up as USB adapters by the libudev stand-in.

#include "fakeudev/fakeUdev.h"
#include "pseudoTerminal.h"
#include "serialPort/portList.h"

#include <QProcess>
#include <QScopedPointer>
#include <QSerialPort>
#include <QTextBrowser>
#include <QtTest>

using namespace serialPort_n;

Q_DECLARE_METATYPE(serialPort_n::portRecord_c)

namespace
{

portRecord_c record(const QString& p_strName, bool p_bHasVendor, quint16 p_nVendor, bool p_bHasProduct,
                    quint16 p_nProduct)
{
    portRecord_c port;
    port.m_strName = p_strName;
    port.m_bHasVendor = p_bHasVendor;
    port.m_nVendor = p_nVendor;
    port.m_bHasProduct = p_bHasProduct;
    port.m_nProduct = p_nProduct;
    return port;
}

} // namespace

class tst_portList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void namesByUsbId_data();
    void namesByUsbId();
    void entryText();
    void listText();

    void noPortsWithoutConfiguration();
    void fakeAdaptersAreListed();
    void configurationIsReadAtEveryEnumeration();
    void listedNameOpensThePseudoTerminal();
    void namesByUsbIdOverSystemPorts();
    void portListWindow();
    void preloadedIntoAnotherProgram();
};

void tst_portList::init()
{
    QVERIFY2(fakeUdev_n::isActive(), "the libudev stand-in must answer the port enumeration");
    fakeUdev_n::clearPorts();
}

void tst_portList::cleanup()
{
    fakeUdev_n::clearPorts();
}

void tst_portList::namesByUsbId_data()
{
    QTest::addColumn<QList<portRecord_c>>("ports");
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QStringList>("names");

    const QList<portRecord_c> lstMixed = {
        record("COM1", false, 0, false, 0),          record("COM3", true, 0x0403, true, 0x6001),
        record("COM4", true, 0x0483, true, 0xA097),  record("COM5", true, 0x0403, true, 0x6015),
        record("COM6", true, 0x0403, false, 0x6001), record("COM7", false, 0x0403, true, 0x6001),
        record("COM8", true, 0x0403, true, 0x6001),  record("COM9", true, 0x6001, true, 0x0403),
    };
    QTest::newRow("no ports") << QList<portRecord_c>() << 0x0403 << 0x6001 << QStringList();
    QTest::newRow("several in list order") << lstMixed << 0x0403 << 0x6001 << QStringList{"COM3", "COM8"};
    QTest::newRow("other pair") << lstMixed << 0x0483 << 0xA097 << QStringList{"COM4"};
    QTest::newRow("no match") << lstMixed << 0x0483 << 0x6001 << QStringList();
    // Ports without ids read as 0; they must not match a lookup for 0.
    QTest::newRow("missing ids are not zero") << lstMixed << 0 << 0 << QStringList();
    QTest::newRow("ids of value zero")
        << QList<portRecord_c>{record("COM2", true, 0, true, 0)} << 0 << 0 << QStringList{"COM2"};
    QTest::newRow("highest ids") << QList<portRecord_c>{record("X", true, 0xFFFF, true, 0xFFFF)} << 0xFFFF
                                 << 0xFFFF << QStringList{"X"};
}

void tst_portList::namesByUsbId()
{
    QFETCH(QList<portRecord_c>, ports);
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QStringList, names);
    QCOMPARE(portNamesByUsbId(ports, quint16(vid), quint16(pid)), names);
}

void tst_portList::entryText()
{
    portRecord_c port = record("COM3", true, 0x0403, true, 0x6001);
    port.m_strDescription = QStringLiteral("D");
    port.m_strManufacturer = QStringLiteral("M");
    QCOMPARE(portEntryText(port), QStringLiteral("COM3 (D / M)"));
    QCOMPARE(portEntryText(record("COM1", false, 0, false, 0)), QStringLiteral("COM1 ( / )"));
}

void tst_portList::listText()
{
    const QList<portRecord_c> lstPorts = {
        record("COM3", true, 0x0403, true, 0x6001),
        record("COM4", true, 0x0483, true, 0xA097),
        record("COM1", false, 0x1234, false, 0x5678),
    };
    QCOMPARE(portListText(lstPorts), QStringLiteral("* COM3 VID 0x403 PID 0x6001\n"
                                                    "* COM4 VID 0x483 PID 0xa097\n"
                                                    "* COM1 VID 0x0 PID 0x0\n"));
    QCOMPARE(portListText({}), QString());
}

void tst_portList::noPortsWithoutConfiguration()
{
    // Not even the machine's own ports: a test sees exactly what it configured.
    QVERIFY(availablePortRecords().isEmpty());
    fakeUdev_n::setPorts({});
    QVERIFY(availablePortRecords().isEmpty());
}

void tst_portList::fakeAdaptersAreListed()
{
    pseudoTerminal_c pty1, pty2, pty3;
    QVERIFY(pty1.isValid() && pty2.isValid() && pty3.isValid());
    fakeUdev_n::setPorts({
        fakeUdev_n::portEntry(pty1.path(), "0403", "6001", "USB_Serial_Adapter", "Maker", "SN0001"),
        fakeUdev_n::portEntry(pty2.path(), "0483", "a097"),
        QString(), // empty entries are ignored
        pty3.path(),
    });

    const QList<portRecord_c> lstPorts = availablePortRecords();
    QCOMPARE(lstPorts.size(), 3);

    QCOMPARE(lstPorts[0].m_strName, pty1.portName());
    QCOMPARE(lstPorts[0].m_strDescription, QStringLiteral("USB Serial Adapter"));
    QCOMPARE(lstPorts[0].m_strManufacturer, QStringLiteral("Maker"));
    QCOMPARE(lstPorts[0].m_strSerialNumber, QStringLiteral("SN0001"));
    QVERIFY(lstPorts[0].m_bHasVendor && lstPorts[0].m_bHasProduct);
    QCOMPARE(lstPorts[0].m_nVendor, quint16(0x0403));
    QCOMPARE(lstPorts[0].m_nProduct, quint16(0x6001));

    QCOMPARE(lstPorts[1].m_strName, pty2.portName());
    QCOMPARE(lstPorts[1].m_nVendor, quint16(0x0483));
    QCOMPARE(lstPorts[1].m_nProduct, quint16(0xA097));
    QVERIFY(lstPorts[1].m_strDescription.isEmpty() && lstPorts[1].m_strManufacturer.isEmpty());

    QCOMPARE(lstPorts[2].m_strName, pty3.portName());
    QVERIFY(!lstPorts[2].m_bHasVendor && !lstPorts[2].m_bHasProduct);
}

void tst_portList::configurationIsReadAtEveryEnumeration()
{
    fakeUdev_n::setPorts({fakeUdev_n::portEntry("/dev/ttyUSB0", "0403", "6001")});
    QCOMPARE(availablePortRecords().size(), 1);
    fakeUdev_n::setPorts({fakeUdev_n::portEntry("/dev/ttyUSB1", "0403", "6001"),
                          fakeUdev_n::portEntry("/dev/ttyUSB0", "0403", "6001")});
    QCOMPARE(portNamesByUsbId(0x0403, 0x6001), (QStringList{"ttyUSB1", "ttyUSB0"}));
    fakeUdev_n::clearPorts();
    QVERIFY(availablePortRecords().isEmpty());
}

void tst_portList::listedNameOpensThePseudoTerminal()
{
    // The main window opens the port by the listed name; that name must reach the very device.
    pseudoTerminal_c pty;
    QVERIFY(pty.isValid());
    fakeUdev_n::setPorts({fakeUdev_n::portEntry(pty.path(), "0403", "6001")});
    const QStringList lstNames = portNamesByUsbId(0x0403, 0x6001);
    QCOMPARE(lstNames.size(), 1);

    QSerialPort port(lstNames.first());
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    QCOMPARE(port.portName(), pty.portName());
}

void tst_portList::namesByUsbIdOverSystemPorts()
{
    fakeUdev_n::setPorts({
        fakeUdev_n::portEntry("/dev/ttyUSB3", "0483", "a097"),
        fakeUdev_n::portEntry("/dev/ttyUSB1", "0403", "6001"),
        fakeUdev_n::portEntry("/dev/ttyS0"),
        fakeUdev_n::portEntry("/dev/ttyUSB2", "0483", "A097"),
        fakeUdev_n::portEntry("/dev/ttyACM0", "0483", ""),
    });
    QCOMPARE(portNamesByUsbId(0x0483, 0xA097), (QStringList{"ttyUSB3", "ttyUSB2"}));
    QCOMPARE(portNamesByUsbId(0x0403, 0x6001), QStringList{"ttyUSB1"});
    QCOMPARE(portNamesByUsbId(0x0483, 0x0000), QStringList());
    QCOMPARE(portNamesByUsbId(0x0000, 0x0000), QStringList());
}

void tst_portList::portListWindow()
{
    fakeUdev_n::setPorts({fakeUdev_n::portEntry("/dev/ttyUSB1", "0403", "6001", "Model", "Maker"),
                          fakeUdev_n::portEntry("/dev/ttyS0")});
    QScopedPointer<QTextBrowser> pWindow(showPortList());
    QVERIFY(pWindow);
    QVERIFY(pWindow->isWindow());
    QCOMPARE(pWindow->parent(), nullptr);
    QVERIFY(pWindow->isVisible());
    QCOMPARE(pWindow->toPlainText(), QStringLiteral("* ttyUSB1 VID 0x403 PID 0x6001\n"
                                                    "* ttyS0 VID 0x0 PID 0x0\n"));
}

void tst_portList::preloadedIntoAnotherProgram()
{
    // The way a demonstration puts the stand-in under the real program: LD_PRELOAD and the variable.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VINDAL_FAKE_UDEV_LIBRARY));
    env.insert(QString::fromLatin1(fakeUdev_n::portsVariable()),
               QStringLiteral("/dev/pts/90=0403:6001:USB_Serial:Maker;/dev/ttyS4"));
    // A sanitizer runtime insists on coming first; the preloaded stand-in comes before it.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));

    QProcess lister;
    lister.setProcessEnvironment(env);
    lister.start(QStringLiteral(VINDAL_FAKE_UDEV_LISTER), QStringList());
    QVERIFY(lister.waitForFinished(10000));
    QCOMPARE(lister.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(lister.readAllStandardOutput()),
             QStringLiteral("pts/90|/dev/pts/90|USB Serial|Maker||0403|6001\n"
                            "ttyS4|/dev/ttyS4||||-|-\n"));
}

QTEST_MAIN(tst_portList)
#include "tst_portList.moc"
