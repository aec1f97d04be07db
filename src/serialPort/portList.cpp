#include "serialPort/portList.h"

#include <QSerialPortInfo>
#include <QTextBrowser>

namespace serialPort_n
{

QList<portRecord_c> availablePortRecords()
{
    QList<portRecord_c> lstPorts;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    {
        portRecord_c port;
        port.m_strName = info.portName();
        port.m_strDescription = info.description();
        port.m_strManufacturer = info.manufacturer();
        port.m_strSerialNumber = info.serialNumber();
        port.m_bHasVendor = info.hasVendorIdentifier();
        port.m_nVendor = info.vendorIdentifier();
        port.m_bHasProduct = info.hasProductIdentifier();
        port.m_nProduct = info.productIdentifier();
        lstPorts.append(port);
    }
    return lstPorts;
}

QStringList portNamesByUsbId(quint16 p_nVid, quint16 p_nPid)
{
    return portNamesByUsbId(availablePortRecords(), p_nVid, p_nPid);
}

QTextBrowser* showPortList()
{
    QTextBrowser* pBrowser = new QTextBrowser();
    pBrowser->setPlainText(portListText(availablePortRecords()));
    pBrowser->show();
    return pBrowser;
}

} // namespace serialPort_n
