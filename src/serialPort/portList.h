// The system's serial ports: read as port records, looked up by USB ids, and shown in a list window.

#pragma once

#include "serialPort/portRecord.h"

class QTextBrowser;

namespace serialPort_n
{

// The available ports in the order QSerialPortInfo::availablePorts() reports them.
QList<portRecord_c> availablePortRecords();

// The names of the available ports with exactly these USB vendor and product ids, in system order.
QStringList portNamesByUsbId(quint16 p_nVid, quint16 p_nPid);

// A new top-level window without parent that lists every available port with its USB ids; it is shown,
// and the caller owns it.
QTextBrowser* showPortList();

} // namespace serialPort_n
