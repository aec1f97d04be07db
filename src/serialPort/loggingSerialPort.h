// The serial port of the sensor dialogue; on demand it records every block it reads or writes in a serial log
// file.
#pragma once

#include <QSerialPort>

#include <memory>

class QDateTime;
class QFile;

namespace serialPort_n
{

class loggingSerialPort_c : public QSerialPort
{
public:
    // Direction codes of a record; any other code is written in decimal.
    enum direction_t
    {
        directionRead = 0,
        directionWrite = 1,
        directionInfo = 2
    };

    explicit loggingSerialPort_c(const QString& p_strPort, QObject* parent = nullptr);
    ~loggingSerialPort_c() override;

    // Starts logging into the named file; an existing file of that name is continued, never truncated.
    // On failure the earlier log, if any, goes on unchanged.
    bool openLog(const QString& p_strFn);
    void closeLog();
    QString logFileName() const;
    bool isLogging() const { return m_pLogFile != nullptr; }

    // Appends one record; empty blocks are not recorded.
    void logData(int p_nDirection, const QByteArray& p_baData);

    // "serial_<start>-<port>.log" in the working directory; path separators of the port name
    // (pts/3 on Linux) become "_" so that the name never points into another directory.
    static QString logFileNameFor(const QDateTime& p_dtStart, const QString& p_strPort);

    // The text of a direction code in a record: "R", "W", "I" or the code in decimal.
    static QByteArray directionText(int p_nDirection);

protected:
    qint64 readData(char* p_pData, qint64 p_nMaxSize) override;
    qint64 readLineData(char* p_pData, qint64 p_nMaxSize) override;
    qint64 writeData(const char* p_pData, qint64 p_nSize) override;

private:
    void traceTransfer(const char* p_pszWhat, const char* p_pData, qint64 p_nSize) const;

    // The local time now as "yyyyMMdd-HHmmss.zzz".
    QByteArray timeStampNow();

    std::unique_ptr<QFile> m_pLogFile;
    // Size of the log file after the last complete record: a record that could be written only in
    // part is cut off again, so the file never holds a broken line.
    qint64 m_nLogSize = 0;
    qint64 m_nStampSecond = 0;
    QByteArray m_baStampSecond;
};

} // namespace serialPort_n
