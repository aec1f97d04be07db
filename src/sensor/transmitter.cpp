#include "serialPort/loggingSerialPort.h"
#include "ui/diagnosticText.h"
#include "ui/images.h"
#include "ui/vindal01mainWindow.h"

#include <QAction>
#include <QDateTime>
#include <QDebug>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

using namespace sensor_n;

namespace
{

// The text of a byte block as the traffic window shows it: up to its first NUL byte.
QString trafficText(const QByteArray& p_baBytes)
{
    return QString::fromLocal8Bit(p_baBytes.constData(), qstrnlen(p_baBytes.constData(), p_baBytes.size()));
}

} // namespace

bool vindal01mainWindow_c::sendCommand(command_t p_nCommand, const QVariantMap& p_mapParams)
{
    if (m_pSerialPort == nullptr || !m_pSerialPort->isOpen())
    {
        return false;
    }
    m_pWatchdogTimer->stop();

    if (p_nCommand == command_t::Cancel)
    {
        // The abort leaves the running command and its buffer alone: its completion comes later.
        m_pSerialPort->write(QByteArray(1, abortByte));
        return true;
    }
    ++m_nCommandsSent;
    if (m_pActWatchdog != nullptr && m_pActWatchdog->isChecked())
    {
        m_pWatchdogTimer->start(5000);
    }

    m_nCommand = p_nCommand;
    m_mapCommandParams = p_mapParams;
    m_baReceived.clear();
    m_imageReception.reset();

    bool bInvalidPid = false;
    const QByteArray baLine = commandLine(p_nCommand, p_mapParams, &bInvalidPid);
    if (p_nCommand == command_t::RegList)
    {
        m_lstRegList.clear();
    }
    else if (p_nCommand == command_t::EnrollDupFP)
    {
        slotSetState(state_t::SubEnroll);
    }
    else if (p_nCommand == command_t::RegFind && bInvalidPid)
    {
        qDebug() << "invalid PID" << p_mapParams.value(QStringLiteral("pid")).toString();
    }
    if (baLine.isEmpty())
    {
        return true;
    }

    qDebug() << "SER CMD" << (QStringLiteral(">") + QString::fromLocal8Bit(baLine) + QStringLiteral("<"));
    const qint64 nWritten = m_pSerialPort->write(baLine);
    diagnosticText_n::appendPlainTextSoon(m_pSerialCommands, QStringLiteral("W ") + trafficText(baLine));
    if (nWritten == baLine.size())
    {
        m_pIdleTimer->stop();
        m_pIdleTimer->start(2500);
    }
    else
    {
        qDebug() << "sendCommand(): Could only send" << nWritten << "of" << baLine.size() << "bytes!";
    }
    return true;
}

void vindal01mainWindow_c::slotAbortSerialCommand()
{
    qDebug() << "slotAbortSerialCommand";
    sendCommand(command_t::Cancel, QVariantMap());
    QTimer::singleShot(100, this, &vindal01mainWindow_c::slotCommandAborted);
}

void vindal01mainWindow_c::slotIdle() {}

void vindal01mainWindow_c::slotPortChanged(QString p_strPort)
{
    delete m_pSerialPort;
    m_pSerialPort = nullptr;
    // Whatever the old port was waiting for is gone with it: its watchdog must not mark the new port.
    m_pWatchdogTimer->stop();
    m_pIdleTimer->stop();
    qDebug() << "Port selected" << p_strPort;
    clearDeviceInfo();
    showDeviceInfo();

    m_pSerialPort = new serialPort_n::loggingSerialPort_c(p_strPort, nullptr);
    slotDebugEnableSerialLogging();

    auto applySettings = [this]()
    {
        m_pSerialPort->setBaudRate(QSerialPort::Baud115200, QSerialPort::AllDirections);
        m_pSerialPort->setDataBits(QSerialPort::Data8);
        m_pSerialPort->setParity(QSerialPort::NoParity);
        m_pSerialPort->setStopBits(QSerialPort::OneStop);
    };
    applySettings();
    if (m_pSerialPort->open(QIODevice::ReadWrite))
    {
        applySettings();
        showPortLamp(images_n::lampGreen(), tr("Port %1 geöffnet").arg(p_strPort));
        connect(m_pSerialPort, &QSerialPort::readyRead, this, &vindal01mainWindow_c::slotReadReady);
        connect(m_pSerialPort, &QSerialPort::errorOccurred, this, &vindal01mainWindow_c::slotPortError);
    }
    else
    {
        showPortLamp(images_n::lampRed(), tr("Öffnen von Port %1 fehlgeschlagen").arg(p_strPort));
    }
    slotSetState(state_t::QueryDevice);
}

void vindal01mainWindow_c::slotPortError()
{
    // A vanished device (an adapter pulled out) reports read errors without end: close once and say so.
    const QSerialPort::SerialPortError nError =
        m_pSerialPort != nullptr ? m_pSerialPort->error() : QSerialPort::NoError;
    if (nError != QSerialPort::ReadError && nError != QSerialPort::ResourceError)
    {
        return;
    }
    const QString strPort = m_pSerialPort->portName();
    const QString strError = m_pSerialPort->errorString();
    disconnect(m_pSerialPort, nullptr, this, nullptr);
    m_pSerialPort->close();
    m_pWatchdogTimer->stop();
    m_pIdleTimer->stop();
    qDebug() << "Port failed" << strPort << strError;
    showPortLamp(images_n::lampRed(), tr("Port %1 ausgefallen: %2").arg(strPort, strError));
}

void vindal01mainWindow_c::slotDebugEnableSerialLogging()
{
    if (m_pActSerialLogging == nullptr || m_pSerialPort == nullptr)
    {
        return;
    }
    if (m_pActSerialLogging->isChecked())
    {
        m_pSerialPort->openLog(serialPort_n::loggingSerialPort_c::logFileNameFor(QDateTime::currentDateTime(),
                                                                                 m_pSerialPort->portName()));
    }
    else
    {
        m_pSerialPort->closeLog();
    }
}
