#include "serialPort/portRecord.h"

namespace serialPort_n
{

QStringList portNamesByUsbId(const QList<portRecord_c>& p_lstPorts, quint16 p_nVid, quint16 p_nPid)
{
    QStringList lstNames;
    for (const portRecord_c& port : p_lstPorts)
    {
        // A port without an id must not match the id 0 it reads as.
        if (port.m_bHasVendor && port.m_bHasProduct && port.m_nVendor == p_nVid && port.m_nProduct == p_nPid)
            lstNames.append(port.m_strName);
    }
    return lstNames;
}

QString portEntryText(const portRecord_c& p_port)
{
    return p_port.m_strName + QLatin1String(" (") + p_port.m_strDescription + QLatin1String(" / ") +
           p_port.m_strManufacturer + QLatin1Char(')');
}

QString portListText(const QList<portRecord_c>& p_lstPorts)
{
    QString strText;
    for (const portRecord_c& port : p_lstPorts)
    {
        const quint16 nVendor = port.m_bHasVendor ? port.m_nVendor : 0;
        const quint16 nProduct = port.m_bHasProduct ? port.m_nProduct : 0;
        strText += QStringLiteral("* %1 VID 0x%2 PID 0x%3\n")
                       .arg(port.m_strName, QString::number(nVendor, 16), QString::number(nProduct, 16));
    }
    return strText;
}

} // namespace serialPort_n
