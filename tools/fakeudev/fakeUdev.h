// Test-side helpers for the libudev stand-in: describe fake USB serial ports for QSerialPortInfo.
//
// Use in a test:
//   CMake:  vindal_add_test(NAME tst_x SOURCES tst_x.cpp LIBS fakeudev)
//           Linking the stand-in puts its udev_* symbols before those of the real libudev, so
//           QSerialPortInfo::availablePorts() lists exactly the configured ports (none by default).
//   Code:   #include "fakeudev/fakeUdev.h"
//           QVERIFY(fakeUdev_n::isActive());
//           fakeUdev_n::setPorts({fakeUdev_n::portEntry(pty.slavePath(), "0403", "6001", "Model",
//           "Vendor")});
//           ... QSerialPortInfo::availablePorts() now lists it (the variable is read at every enumeration)
//           ... fakeUdev_n::clearPorts();
// A program that does not link the stand-in gets it with LD_PRELOAD=<build>/bin/libfakeudev.so and the
// variable VINDAL_FAKE_UDEV_PORTS set in its environment (format in fakeudev.cpp).

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

extern "C" int vindalFakeUdevActive(void);

namespace fakeUdev_n
{

inline const char* portsVariable()
{
    return "VINDAL_FAKE_UDEV_PORTS";
}

// True when the stand-in answers the udev calls of this process.
inline bool isActive()
{
    return vindalFakeUdevActive() == 1;
}

// One entry of the variable: a device path and what the port reports. An empty vendor or product id
// means the port reports none.
inline QString portEntry(const QString& p_strDevice, const QString& p_strVendorId = QString(),
                         const QString& p_strProductId = QString(), const QString& p_strModel = QString(),
                         const QString& p_strVendor = QString(), const QString& p_strSerial = QString())
{
    return p_strDevice + QLatin1Char('=') +
           QStringList{p_strVendorId, p_strProductId, p_strModel, p_strVendor, p_strSerial}.join(
               QLatin1Char(':'));
}

// Replaces the configured ports; the next enumeration lists exactly these, in this order.
inline void setPorts(const QStringList& p_lstEntries)
{
    qputenv(portsVariable(), p_lstEntries.join(QLatin1Char(';')).toLocal8Bit());
}

// No ports at all.
inline void clearPorts()
{
    qunsetenv(portsVariable());
}

} // namespace fakeUdev_n
