// Port specifications: tokens both ways, the shape check, and applying, formatting and creating ports.

#include "serialPort/portSpecification.h"

#include <QObject>
#include <QPointer>
#include <QtTest>

using namespace serialPort_n;

namespace
{

enum setting_t
{
    settingBaudRate,
    settingDataBits,
    settingParity,
    settingStopBits,
    settingFlowControl
};

int valueFromToken(int p_nSetting, const QString& p_strToken)
{
    switch (p_nSetting)
    {
    case settingBaudRate:
        return baudRateFromString(p_strToken);
    case settingDataBits:
        return dataBitsFromString(p_strToken);
    case settingParity:
        return parityFromString(p_strToken);
    case settingStopBits:
        return stopBitsFromString(p_strToken);
    default:
        return flowControlFromString(p_strToken);
    }
}

QString tokenFromValue(int p_nSetting, int p_nValue)
{
    switch (p_nSetting)
    {
    case settingBaudRate:
        return baudRateToString(p_nValue);
    case settingDataBits:
        return dataBitsToString(static_cast<QSerialPort::DataBits>(p_nValue));
    case settingParity:
        return parityToString(static_cast<QSerialPort::Parity>(p_nValue));
    case settingStopBits:
        return stopBitsToString(static_cast<QSerialPort::StopBits>(p_nValue));
    default:
        return flowControlToString(static_cast<QSerialPort::FlowControl>(p_nValue));
    }
}

QByteArray illegalMessage(const QByteArray& p_baQuotedPortSpec)
{
    return "Illegal serial port specification. Expected "
           "\"<port>;<baudrate> <databits> <parity> <stopbits> <flowcontrol>\", got " +
           p_baQuotedPortSpec;
}

// A port whose settings differ from every specification below, to see what a failure leaves alone.
void setUntouchedSettings(QSerialPort* p_pPort)
{
    p_pPort->setPortName(QStringLiteral("BEFORE"));
    p_pPort->setBaudRate(QSerialPort::Baud2400);
    p_pPort->setDataBits(QSerialPort::Data7);
    p_pPort->setParity(QSerialPort::OddParity);
    p_pPort->setStopBits(QSerialPort::TwoStop);
    p_pPort->setFlowControl(QSerialPort::SoftwareControl);
}

} // namespace

class tst_portSpecification : public QObject
{
    Q_OBJECT

private slots:
    void tokenBothWays_data();
    void tokenBothWays();
    void unlistedToken_data();
    void unlistedToken();
    void unlistedValue_data();
    void unlistedValue();
    void apply_data();
    void apply();
    void applyToNoPort();
    void rejectedSpecificationIsQuotedOnOneLine();
    void createPortFromGoodSpecification();
    void createPortFromBadSpecification();
    void formatUnlistedSettings();
    void roundTrip_data();
    void roundTrip();
};

void tst_portSpecification::tokenBothWays_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QString>("token");
    QTest::addColumn<int>("value");

    for (int nBaud : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        QTest::addRow("baud %d", nBaud) << int(settingBaudRate) << QString::number(nBaud) << nBaud;
    for (int nBits : {5, 6, 7, 8})
        QTest::addRow("data bits %d", nBits) << int(settingDataBits) << QString::number(nBits) << nBits;
    QTest::newRow("parity N") << int(settingParity) << "N" << int(QSerialPort::NoParity);
    QTest::newRow("parity E") << int(settingParity) << "E" << int(QSerialPort::EvenParity);
    QTest::newRow("parity O") << int(settingParity) << "O" << int(QSerialPort::OddParity);
    QTest::newRow("parity S") << int(settingParity) << "S" << int(QSerialPort::SpaceParity);
    QTest::newRow("parity M") << int(settingParity) << "M" << int(QSerialPort::MarkParity);
    QTest::newRow("stop 1") << int(settingStopBits) << "1" << 1;
    QTest::newRow("stop 1.5 is value 3") << int(settingStopBits) << "1.5" << 3;
    QTest::newRow("stop 2") << int(settingStopBits) << "2" << 2;
    QTest::newRow("flow OFF") << int(settingFlowControl) << "OFF" << int(QSerialPort::NoFlowControl);
    QTest::newRow("flow HW") << int(settingFlowControl) << "HW" << int(QSerialPort::HardwareControl);
    QTest::newRow("flow SW") << int(settingFlowControl) << "SW" << int(QSerialPort::SoftwareControl);
}

void tst_portSpecification::tokenBothWays()
{
    QFETCH(int, setting);
    QFETCH(QString, token);
    QFETCH(int, value);
    QCOMPARE(valueFromToken(setting, token), value);
    QCOMPARE(tokenFromValue(setting, value), token);
}

void tst_portSpecification::unlistedToken_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QString>("token");

    QTest::newRow("baud empty") << int(settingBaudRate) << "";
    QTest::newRow("baud not standard") << int(settingBaudRate) << "250000";
    QTest::newRow("baud leading blank") << int(settingBaudRate) << " 9600";
    QTest::newRow("baud leading zero") << int(settingBaudRate) << "09600";
    QTest::newRow("baud unlisted text -1") << int(settingBaudRate) << "-1";
    QTest::newRow("data bits 1.5") << int(settingDataBits) << "1.5";
    QTest::newRow("data bits 9") << int(settingDataBits) << "9";
    QTest::newRow("parity lower case") << int(settingParity) << "n";
    QTest::newRow("parity word") << int(settingParity) << "No";
    QTest::newRow("parity unlisted text U") << int(settingParity) << "U";
    QTest::newRow("stop bits 15") << int(settingStopBits) << "15";
    QTest::newRow("stop bits 3") << int(settingStopBits) << "3";
    QTest::newRow("stop bits 1,5") << int(settingStopBits) << "1,5";
    QTest::newRow("flow lower case") << int(settingFlowControl) << "off";
    QTest::newRow("flow dialog text") << int(settingFlowControl) << "Hardware";
}

void tst_portSpecification::unlistedToken()
{
    QFETCH(int, setting);
    QFETCH(QString, token);
    QCOMPARE(valueFromToken(setting, token), -1);
}

void tst_portSpecification::unlistedValue_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("token");

    QTest::newRow("baud 250000") << int(settingBaudRate) << 250000 << "-1";
    QTest::newRow("baud 0") << int(settingBaudRate) << 0 << "-1";
    QTest::newRow("baud -1") << int(settingBaudRate) << -1 << "-1";
    QTest::newRow("data bits 9") << int(settingDataBits) << 9 << "-1";
    QTest::newRow("data bits -1") << int(settingDataBits) << -1 << "-1";
    QTest::newRow("parity 1") << int(settingParity) << 1 << "U";
    QTest::newRow("parity -1") << int(settingParity) << -1 << "U";
    QTest::newRow("stop bits 15") << int(settingStopBits) << 15 << "?";
    QTest::newRow("stop bits -1") << int(settingStopBits) << -1 << "?";
    QTest::newRow("flow 3") << int(settingFlowControl) << 3 << "?";
    QTest::newRow("flow -1") << int(settingFlowControl) << -1 << "?";
}

void tst_portSpecification::unlistedValue()
{
    QFETCH(int, setting);
    QFETCH(int, value);
    QFETCH(QString, token);
    QCOMPARE(tokenFromValue(setting, value), token);
}

void tst_portSpecification::apply_data()
{
    QTest::addColumn<QString>("portSpec");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("portName");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<int>("flowControl");

    // Rejected rows expect the port's earlier settings (see setUntouchedSettings).
    const auto rejected = [](const char* p_pName, const QString& p_strSpec)
    { QTest::newRow(p_pName) << p_strSpec << false << "BEFORE" << 2400 << 7 << 3 << 2 << 2; };

    QTest::newRow("all listed") << "COM3;115200 8 N 1 OFF" << true << "COM3" << 115200 << 8 << 0 << 1 << 0;
    QTest::newRow("lower-case parity")
        << "COM3;115200 8 n 1 OFF" << true << "COM3" << 115200 << 8 << -1 << 1 << 0;
    QTest::newRow("1.5 stop bits") << "COM3;9600 8 N 1.5 HW" << true << "COM3" << 9600 << 8 << 0 << 3 << 1;
    QTest::newRow("mark parity, software flow")
        << "COM7;57600 5 M 2 SW" << true << "COM7" << 57600 << 5 << 5 << 2 << 2;
    QTest::newRow("empty port name") << ";9600 8 N 1 OFF" << true << "" << 9600 << 8 << 0 << 1 << 0;
    QTest::newRow("second ; is in the baud token")
        << "A;B;9600 8 N 1 OFF" << true << "A" << -1 << 8 << 0 << 1 << 0;
    QTest::newRow("five empty fields") << "COM3;    " << true << "COM3" << -1 << -1 << -1 << -1 << -1;
    rejected("two blanks between tokens", QStringLiteral("COM3;115200  8 N 1 OFF"));
    rejected("four tokens", QStringLiteral("COM3;115200 8 N 1"));
    rejected("six tokens", QStringLiteral("COM3;115200 8 N 1 OFF X"));
    rejected("trailing blank", QStringLiteral("COM3;115200 8 N 1 OFF "));
    rejected("blank instead of ;", QStringLiteral("COM3 115200 8 N 1 OFF"));
    rejected("empty", QString());
    rejected("only ;", QStringLiteral(";"));
    rejected("tab separated", QStringLiteral("COM3;115200\t8\tN\t1\tOFF"));
}

void tst_portSpecification::apply()
{
    QFETCH(QString, portSpec);
    QFETCH(bool, accepted);
    QFETCH(QString, portName);
    QFETCH(int, baudRate);
    QFETCH(int, dataBits);
    QFETCH(int, parity);
    QFETCH(int, stopBits);
    QFETCH(int, flowControl);

    QSerialPort port;
    setUntouchedSettings(&port);
    if (!accepted)
        QTest::ignoreMessage(QtDebugMsg,
                             illegalMessage('"' + portSpec.toLatin1().replace('\t', "\\t") + '"'));

    QCOMPARE(applyPortSpecification(portSpec, &port), accepted);
    QCOMPARE(port.portName(), portName);
    QCOMPARE(port.baudRate(QSerialPort::Input), baudRate);
    QCOMPARE(port.baudRate(QSerialPort::Output), baudRate);
    QCOMPARE(int(port.dataBits()), dataBits);
    QCOMPARE(int(port.parity()), parity);
    QCOMPARE(int(port.stopBits()), stopBits);
    QCOMPARE(int(port.flowControl()), flowControl);
    QVERIFY(!port.isOpen());
}

void tst_portSpecification::applyToNoPort()
{
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("no port")));
    QVERIFY(!applyPortSpecification(QStringLiteral("COM3;115200 8 N 1 OFF"), nullptr));
}

void tst_portSpecification::rejectedSpecificationIsQuotedOnOneLine()
{
    // A line break or quote inside a rejected specification must not break or fake the diagnostic line.
    QSerialPort port;
    QTest::ignoreMessage(QtDebugMsg, illegalMessage("\"COM3\\n\\\"x\\\" 115200 8 N 1 OFF\""));
    QVERIFY(!applyPortSpecification(QStringLiteral("COM3\n\"x\" 115200 8 N 1 OFF"), &port));
}

void tst_portSpecification::createPortFromGoodSpecification()
{
    QObject parent;
    QPointer<QSerialPort> pPort = createPort(QStringLiteral("COM4;19200 6 S 2 HW"), &parent);
    QVERIFY(pPort);
    QCOMPARE(pPort->parent(), &parent);
    QVERIFY(!pPort->isOpen());
    QCOMPARE(portSpecification(*pPort), QStringLiteral("COM4;19200 6 S 2 HW"));

    // Unlisted tokens still give a port, with those settings at -1.
    QScopedPointer<QSerialPort> pOwn(createPort(QStringLiteral("COM5;300 8 x 1 OFF"), nullptr));
    QVERIFY(pOwn);
    QCOMPARE(pOwn->parent(), nullptr);
    QCOMPARE(pOwn->baudRate(), -1);
    QCOMPARE(int(pOwn->parity()), -1);
    QCOMPARE(portSpecification(*pOwn), QStringLiteral("COM5;-1 8 U 1 OFF"));
}

void tst_portSpecification::createPortFromBadSpecification()
{
    QObject parent;
    QTest::ignoreMessage(QtDebugMsg, illegalMessage("\"COM4;19200 6 S 2\""));
    QCOMPARE(createPort(QStringLiteral("COM4;19200 6 S 2"), &parent), nullptr);
    QVERIFY(parent.children().isEmpty());
}

void tst_portSpecification::formatUnlistedSettings()
{
    QSerialPort port;
    port.setPortName(QStringLiteral("COM3"));
    port.setBaudRate(250000);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::EvenParity);
    port.setStopBits(QSerialPort::TwoStop);
    port.setFlowControl(QSerialPort::SoftwareControl);
    QCOMPARE(portSpecification(port), QStringLiteral("COM3;-1 8 E 2 SW"));

    port.setBaudRate(9600);
    port.setParity(static_cast<QSerialPort::Parity>(1));
    port.setStopBits(static_cast<QSerialPort::StopBits>(15));
    port.setFlowControl(static_cast<QSerialPort::FlowControl>(7));
    QCOMPARE(portSpecification(port), QStringLiteral("COM3;9600 8 U ? ?"));
}

void tst_portSpecification::roundTrip_data()
{
    QTest::addColumn<QString>("portSpec");
    QTest::addColumn<QString>("formatted");

    QTest::newRow("default line") << "COM3;115200 8 N 1 OFF"
                                  << "COM3;115200 8 N 1 OFF";
    QTest::newRow("every field unusual") << "COM12;1200 5 S 1.5 HW"
                                         << "COM12;1200 5 S 1.5 HW";
    QTest::newRow("empty port") << ";38400 7 O 2 SW"
                                << ";38400 7 O 2 SW";
    // QSerialPort reports a device under /dev by its short name; the short name opens the same device.
    QTest::newRow("device path") << "/dev/ttyUSB0;4800 6 M 1 OFF"
                                 << "ttyUSB0;4800 6 M 1 OFF";
}

void tst_portSpecification::roundTrip()
{
    QFETCH(QString, portSpec);
    QFETCH(QString, formatted);

    QSerialPort first;
    QVERIFY(applyPortSpecification(portSpec, &first));
    QCOMPARE(portSpecification(first), formatted);

    QSerialPort second;
    QVERIFY(applyPortSpecification(portSpecification(first), &second));
    QCOMPARE(portSpecification(second), formatted);
    QCOMPARE(second.portName(), first.portName());
    QCOMPARE(second.baudRate(), first.baudRate());
    QCOMPARE(second.dataBits(), first.dataBits());
    QCOMPARE(second.parity(), first.parity());
    QCOMPARE(second.stopBits(), first.stopBits());
    QCOMPARE(second.flowControl(), first.flowControl());
}

QTEST_GUILESS_MAIN(tst_portSpecification)
#include "tst_portSpecification.moc"
