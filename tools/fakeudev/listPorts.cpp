// Prints the serial ports that Qt reports, one per line, so that a libudev stand-in configuration can be
// checked from a shell:  LD_PRELOAD=build/bin/libfakeudev.so VINDAL_FAKE_UDEV_PORTS=... fakeudev-list-ports
// Line format: name|system location|description|manufacturer|serial number|vid|pid
// (vid and pid as four hexadecimal digits, or "-" when the port reports none).

#include <QCoreApplication>
#include <QSerialPortInfo>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const auto idText = [](bool p_bHas, quint16 p_nId)
    { return p_bHas ? QStringLiteral("%1").arg(p_nId, 4, 16, QLatin1Char('0')) : QStringLiteral("-"); };
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    {
        out << info.portName() << '|' << info.systemLocation() << '|' << info.description() << '|'
            << info.manufacturer() << '|' << info.serialNumber() << '|'
            << idText(info.hasVendorIdentifier(), info.vendorIdentifier()) << '|'
            << idText(info.hasProductIdentifier(), info.productIdentifier()) << '\n';
    }
    return 0;
}
