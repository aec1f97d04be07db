#include "serialPort/portSpecificationText.h"

#include <QDebug>

namespace serialPort_n
{

namespace
{

// Values not in a table come out as these texts; each parameter has its own so that a formatted
// specification still shows which setting was unusual.
const char* const c_pUnknownBaudRate = "-1";
const char* const c_pUnknownDataBits = "-1";
const char* const c_pUnknownParity = "U";
const char* const c_pUnknownStopBits = "?";
const char* const c_pUnknownFlowControl = "?";

int valueOfToken(const QVector<portToken_c>& p_vecTable, const QString& p_strToken)
{
    for (const portToken_c& token : p_vecTable)
    {
        if (p_strToken == QLatin1String(token.m_pToken))
            return token.m_nValue;
    }
    return -1;
}

QString tokenOfValue(const QVector<portToken_c>& p_vecTable, int p_nValue, const char* p_pUnknown)
{
    for (const portToken_c& token : p_vecTable)
    {
        if (token.m_nValue == p_nValue)
            return QString::fromLatin1(token.m_pToken);
    }
    return QString::fromLatin1(p_pUnknown);
}

} // namespace

const QVector<portToken_c>& baudRateTokens()
{
    static const QVector<portToken_c> s_vecTable = {
        {"1200", QSerialPort::Baud1200, "1200"},    {"2400", QSerialPort::Baud2400, "2400"},
        {"4800", QSerialPort::Baud4800, "4800"},    {"9600", QSerialPort::Baud9600, "9600"},
        {"19200", QSerialPort::Baud19200, "19200"}, {"38400", QSerialPort::Baud38400, "38400"},
        {"57600", QSerialPort::Baud57600, "57600"}, {"115200", QSerialPort::Baud115200, "115200"},
    };
    return s_vecTable;
}

const QVector<portToken_c>& dataBitsTokens()
{
    static const QVector<portToken_c> s_vecTable = {
        {"5", QSerialPort::Data5, "5"},
        {"6", QSerialPort::Data6, "6"},
        {"7", QSerialPort::Data7, "7"},
        {"8", QSerialPort::Data8, "8"},
    };
    return s_vecTable;
}

const QVector<portToken_c>& parityTokens()
{
    static const QVector<portToken_c> s_vecTable = {
        {"N", QSerialPort::NoParity, "No"},     {"E", QSerialPort::EvenParity, "Even"},
        {"O", QSerialPort::OddParity, "Odd"},   {"S", QSerialPort::SpaceParity, "Space"},
        {"M", QSerialPort::MarkParity, "Mark"},
    };
    return s_vecTable;
}

const QVector<portToken_c>& stopBitsTokens()
{
    // One and a half stop bits is the enumeration value 3.
    static const QVector<portToken_c> s_vecTable = {
        {"1", QSerialPort::OneStop, "1"},
        {"1.5", QSerialPort::OneAndHalfStop, "1.5"},
        {"2", QSerialPort::TwoStop, "2"},
    };
    return s_vecTable;
}

const QVector<portToken_c>& flowControlTokens()
{
    static const QVector<portToken_c> s_vecTable = {
        {"OFF", QSerialPort::NoFlowControl, "Off"},
        {"HW", QSerialPort::HardwareControl, "Hardware"},
        {"SW", QSerialPort::SoftwareControl, "Software"},
    };
    return s_vecTable;
}

QSerialPort::BaudRate baudRateFromString(const QString& p_strToken)
{
    return static_cast<QSerialPort::BaudRate>(valueOfToken(baudRateTokens(), p_strToken));
}

QSerialPort::DataBits dataBitsFromString(const QString& p_strToken)
{
    return static_cast<QSerialPort::DataBits>(valueOfToken(dataBitsTokens(), p_strToken));
}

QSerialPort::Parity parityFromString(const QString& p_strToken)
{
    return static_cast<QSerialPort::Parity>(valueOfToken(parityTokens(), p_strToken));
}

QSerialPort::StopBits stopBitsFromString(const QString& p_strToken)
{
    return static_cast<QSerialPort::StopBits>(valueOfToken(stopBitsTokens(), p_strToken));
}

QSerialPort::FlowControl flowControlFromString(const QString& p_strToken)
{
    return static_cast<QSerialPort::FlowControl>(valueOfToken(flowControlTokens(), p_strToken));
}

QString baudRateToString(qint32 p_nBaudRate)
{
    return tokenOfValue(baudRateTokens(), p_nBaudRate, c_pUnknownBaudRate);
}

QString dataBitsToString(QSerialPort::DataBits p_nDataBits)
{
    return tokenOfValue(dataBitsTokens(), p_nDataBits, c_pUnknownDataBits);
}

QString parityToString(QSerialPort::Parity p_nParity)
{
    return tokenOfValue(parityTokens(), p_nParity, c_pUnknownParity);
}

QString stopBitsToString(QSerialPort::StopBits p_nStopBits)
{
    return tokenOfValue(stopBitsTokens(), p_nStopBits, c_pUnknownStopBits);
}

QString flowControlToString(QSerialPort::FlowControl p_nFlowControl)
{
    return tokenOfValue(flowControlTokens(), p_nFlowControl, c_pUnknownFlowControl);
}

bool splitPortSpecification(const QString& p_strSpec, QString* p_pStrPort, QStringList* p_pLstFields)
{
    const int nSemicolon = p_strSpec.indexOf(QLatin1Char(';'));
    if (nSemicolon < 0)
        return false;
    const QStringList lstFields = p_strSpec.mid(nSemicolon + 1).split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (lstFields.size() != c_nPortSpecificationFields)
        return false;
    if (p_pStrPort)
        *p_pStrPort = p_strSpec.left(nSemicolon);
    if (p_pLstFields)
        *p_pLstFields = lstFields;
    return true;
}

QString joinPortSpecification(const QString& p_strPort, const QStringList& p_lstFields)
{
    return p_strPort + QLatin1Char(';') + p_lstFields.join(QLatin1Char(' '));
}

void reportIllegalPortSpecification(const QString& p_strSpec)
{
    QDebug debug = qDebug();
    debug.noquote() << "Illegal serial port specification. Expected "
                       "\"<port>;<baudrate> <databits> <parity> <stopbits> <flowcontrol>\", got";
    debug.quote() << p_strSpec;
}

} // namespace serialPort_n
