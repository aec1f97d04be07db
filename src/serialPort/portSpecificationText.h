// The text side of a port specification "<port>;<baudrate> <databits> <parity> <stopbits> <flowcontrol>":
// token tables, token conversions and the shape check. Qt Core only (the enumerations come from the
// QSerialPort header, nothing of the serial port library is called), so it can be fuzzed on its own.

#pragma once

#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <QVector>

namespace serialPort_n
{

// One line setting as a token in a specification, its QSerialPort value and the text the setup dialog
// shows for it.
struct portToken_c
{
    const char* m_pToken;
    int m_nValue;
    const char* m_pDialogText;
};

// The tables in the order in which tokens are matched and dialog entries listed.
const QVector<portToken_c>& baudRateTokens();
const QVector<portToken_c>& dataBitsTokens();
const QVector<portToken_c>& parityTokens();
const QVector<portToken_c>& stopBitsTokens();
const QVector<portToken_c>& flowControlTokens();

// Text to value: -1 (the Unknown... enumerator) for a text that is not exactly a token.
QSerialPort::BaudRate baudRateFromString(const QString& p_strToken);
QSerialPort::DataBits dataBitsFromString(const QString& p_strToken);
QSerialPort::Parity parityFromString(const QString& p_strToken);
QSerialPort::StopBits stopBitsFromString(const QString& p_strToken);
QSerialPort::FlowControl flowControlFromString(const QString& p_strToken);

// Value to text: the token, or "-1" (baud rate, data bits), "U" (parity), "?" (stop bits, flow control)
// for a value that is not in the table.
QString baudRateToString(qint32 p_nBaudRate);
QString dataBitsToString(QSerialPort::DataBits p_nDataBits);
QString parityToString(QSerialPort::Parity p_nParity);
QString stopBitsToString(QSerialPort::StopBits p_nStopBits);
QString flowControlToString(QSerialPort::FlowControl p_nFlowControl);

// Number of blank-separated fields after the ";".
constexpr int c_nPortSpecificationFields = 5;

// Checks the shape of a specification: a ";" and exactly five fields after the first one, split at
// every single blank (two adjacent blanks make an empty field). On success fills the port name (text
// before the first ";") and the five fields; on failure leaves both untouched and returns false.
// Token contents are not checked.
bool splitPortSpecification(const QString& p_strSpec, QString* p_pStrPort, QStringList* p_pLstFields);

// The port name and the five field texts joined into a specification.
QString joinPortSpecification(const QString& p_strPort, const QStringList& p_lstFields);

// Writes the diagnostic line for a specification of the wrong shape to the debug channel. The
// specification is quoted with quotes and control characters escaped, so it cannot break the line.
void reportIllegalPortSpecification(const QString& p_strSpec);

} // namespace serialPort_n
