#include "serialPort/portSpecification.h"

#include <QDebug>

namespace serialPort_n
{

namespace
{

void applyFields(const QString& p_strPort, const QStringList& p_lstFields, QSerialPort* p_pPort)
{
    p_pPort->setPortName(p_strPort);
    p_pPort->setBaudRate(baudRateFromString(p_lstFields.at(0)), QSerialPort::AllDirections);
    p_pPort->setDataBits(dataBitsFromString(p_lstFields.at(1)));
    p_pPort->setParity(parityFromString(p_lstFields.at(2)));
    p_pPort->setStopBits(stopBitsFromString(p_lstFields.at(3)));
    p_pPort->setFlowControl(flowControlFromString(p_lstFields.at(4)));
}

} // namespace

QString portSpecification(const QSerialPort& p_port)
{
    return joinPortSpecification(
        p_port.portName(), {baudRateToString(p_port.baudRate(QSerialPort::AllDirections)),
                            dataBitsToString(p_port.dataBits()), parityToString(p_port.parity()),
                            stopBitsToString(p_port.stopBits()), flowControlToString(p_port.flowControl())});
}

bool applyPortSpecification(const QString& p_strSpec, QSerialPort* p_pPort)
{
    QString strPort;
    QStringList lstFields;
    if (!splitPortSpecification(p_strSpec, &strPort, &lstFields))
    {
        reportIllegalPortSpecification(p_strSpec);
        return false;
    }
    if (!p_pPort)
    {
        qDebug() << "applyPortSpecification(): no port for" << p_strSpec;
        return false;
    }
    applyFields(strPort, lstFields, p_pPort);
    return true;
}

QSerialPort* createPort(const QString& p_strSpec, QObject* p_pParent)
{
    QString strPort;
    QStringList lstFields;
    if (!splitPortSpecification(p_strSpec, &strPort, &lstFields))
    {
        reportIllegalPortSpecification(p_strSpec);
        return nullptr;
    }
    QSerialPort* pPort = new QSerialPort(p_pParent);
    applyFields(strPort, lstFields, pPort);
    return pPort;
}

} // namespace serialPort_n
