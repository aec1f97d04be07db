#include "serialPort/loggingSerialPort.h"

#include "toolsGui/textTools.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>

namespace serialPort_n
{

loggingSerialPort_c::loggingSerialPort_c(const QString& p_strPort, QObject* parent) : QSerialPort(parent)
{
    setPortName(p_strPort);
}

loggingSerialPort_c::~loggingSerialPort_c() = default;

bool loggingSerialPort_c::openLog(const QString& p_strFn)
{
    auto pFile = std::make_unique<QFile>(p_strFn);
    // Append: the same name comes up again when logging is switched off and on within one second,
    // and the earlier records must survive that. Unbuffered, so every record reaches the file at once.
    if (!pFile->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;

    qint64 nSize = pFile->size();
    if (nSize > 0)
    {
        // A file that does not end with a line end (written by someone else, or cut off) gets one,
        // so that the first new record starts on a line of its own.
        QFile probe(p_strFn);
        char chLast = '\n';
        if (probe.open(QIODevice::ReadOnly) && probe.seek(nSize - 1))
            probe.getChar(&chLast);
        if (chLast != '\n' && pFile->write("\r\n", 2) == 2)
            nSize += 2;
    }

    m_pLogFile = std::move(pFile);
    m_nLogSize = nSize;
    return true;
}

void loggingSerialPort_c::closeLog()
{
    m_pLogFile.reset();
    m_nLogSize = 0;
}

QString loggingSerialPort_c::logFileName() const
{
    return m_pLogFile ? m_pLogFile->fileName() : QString();
}

QString loggingSerialPort_c::logFileNameFor(const QDateTime& p_dtStart, const QString& p_strPort)
{
    QString strPort = p_strPort;
    strPort.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return QStringLiteral("serial_%1-%2.log")
        .arg(toolsGui_n::timeStampText(p_dtStart, QStringLiteral("yyyyMMdd-HHmmss")), strPort);
}

QByteArray loggingSerialPort_c::directionText(int p_nDirection)
{
    switch (p_nDirection)
    {
    case directionWrite:
        return QByteArrayLiteral("W");
    case directionRead:
        return QByteArrayLiteral("R");
    case directionInfo:
        return QByteArrayLiteral("I");
    default:
        return QByteArray::number(p_nDirection);
    }
}

QByteArray loggingSerialPort_c::timeStampNow()
{
    // The conversion to local time costs far more than a record itself, so it is done once per
    // second; offsets of local time change only at whole seconds.
    const qint64 nNow = QDateTime::currentMSecsSinceEpoch();
    qint64 nSecond = nNow / 1000;
    if (nNow % 1000 < 0)
        --nSecond;
    if (nSecond != m_nStampSecond || m_baStampSecond.isEmpty())
    {
        m_nStampSecond = nSecond;
        m_baStampSecond =
            toolsGui_n::timeStampText(QDateTime::fromMSecsSinceEpoch(nSecond * 1000, Qt::LocalTime),
                                      QStringLiteral("yyyyMMdd-HHmmss."))
                .toLocal8Bit();
    }
    const int nMs = int(nNow - nSecond * 1000);
    QByteArray baStamp = m_baStampSecond;
    baStamp.append(char('0' + nMs / 100)).append(char('0' + nMs / 10 % 10)).append(char('0' + nMs % 10));
    return baStamp;
}

void loggingSerialPort_c::logData(int p_nDirection, const QByteArray& p_baData)
{
    if (p_baData.isEmpty() || !m_pLogFile)
        return;

    const QByteArray baStamp = timeStampNow();
    const QByteArray baDirection = directionText(p_nDirection);
    QByteArray baLine;
    baLine.reserve(baStamp.size() + baDirection.size() + 2 * p_baData.size() + 4);
    baLine.append(baStamp)
        .append(' ')
        .append(baDirection)
        .append(' ')
        .append(p_baData.toHex())
        .append("\r\n");

    const qint64 nWritten = m_pLogFile->write(baLine);
    m_pLogFile->flush();
    if (nWritten == baLine.size())
    {
        m_nLogSize += nWritten;
        return;
    }
    // Disk full or similar: the record is lost, but a half line must not stay behind, or the next
    // record would be glued to it. The next record is attempted as usual.
    m_pLogFile->resize(m_nLogSize);
}

void loggingSerialPort_c::traceTransfer(const char* p_pszWhat, const char* p_pData, qint64 p_nSize) const
{
    const QByteArray baData(p_pData, int(p_nSize));
    qDebug() << p_pszWhat << p_nSize << "bytes:" << baData.toHex() << baData;
}

qint64 loggingSerialPort_c::readData(char* p_pData, qint64 p_nMaxSize)
{
    const qint64 nRead = QSerialPort::readData(p_pData, p_nMaxSize);
    if (nRead < 1)
    {
        qDebug() << "SERIAL READ " << nRead << "bytes";
        return nRead;
    }
    logData(directionRead, QByteArray(p_pData, int(nRead)));
    traceTransfer("SERIAL READ ", p_pData, nRead);
    return nRead;
}

qint64 loggingSerialPort_c::readLineData(char* p_pData, qint64 p_nMaxSize)
{
    const qint64 nRead = QSerialPort::readLineData(p_pData, p_nMaxSize);
    if (nRead <= 0)
        return nRead;
    logData(directionRead, QByteArray(p_pData, int(nRead)));
    traceTransfer("SERIAL READ ", p_pData, nRead);
    return nRead;
}

qint64 loggingSerialPort_c::writeData(const char* p_pData, qint64 p_nSize)
{
    const qint64 nWritten = QSerialPort::writeData(p_pData, p_nSize);
    if (nWritten <= 0)
        return nWritten;
    logData(directionWrite, QByteArray(p_pData, int(nWritten)));
    traceTransfer("SERIAL WRITE", p_pData, nWritten);
    return nWritten;
}

} // namespace serialPort_n
