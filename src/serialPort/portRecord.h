// A serial port as the system reports it, as a plain value, and the list helpers that work on such
// records (Qt Core only, so they are tested with made-up ports).

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace serialPort_n
{

class portRecord_c
{
public:
    QString m_strName;         // the name to open the port with, e.g. COM3
    QString m_strDescription;  // as reported, may be empty
    QString m_strManufacturer; // as reported, may be empty
    QString m_strSerialNumber; // as reported, may be empty
    bool m_bHasVendor = false;
    quint16 m_nVendor = 0;
    bool m_bHasProduct = false;
    quint16 m_nProduct = 0;
};

// The names of the ports that report both USB ids and whose ids equal p_nVid and p_nPid, in list order.
QStringList portNamesByUsbId(const QList<portRecord_c>& p_lstPorts, quint16 p_nVid, quint16 p_nPid);

// The text of a port entry in the selector and the setup dialog: "COM3 (description / manufacturer)".
QString portEntryText(const portRecord_c& p_port);

// One line per port: "* COM3 VID 0x403 PID 0x6001\n" (lower-case hex, 0 for an id not reported).
QString portListText(const QList<portRecord_c>& p_lstPorts);

} // namespace serialPort_n
