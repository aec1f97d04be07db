#include "serialPort/loggingSerialPort.h"
#include "serialPort/portList.h"
#include "ui/diagnosticText.h"
#include "ui/images.h"
#include "ui/vindal01mainWindow.h"

#include <QAction>
#include <QDateTime>
#include <QDebug>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>

using namespace sensor_n;

bool vindal01mainWindow_c::sendCommand(command_t p_nCommand, const QVariantMap& p_mapParams)
{
    if (m_pSerialPort == nullptr || !m_pSerialPort->isOpen())
    {
        return false;
    }
    // Bytes that came while a wait or a box ran inside the read slot are read now: logged and shown
    // before the command goes out, and never taken for its reply.
    readPending();
    m_pWatchdogTimer->stop();

    if (p_nCommand == command_t::Cancel)
    {
        // The abort leaves the running command and its buffer alone: its completion comes later.
        writeOrHold(QByteArray(1, abortByte), command_t::Cancel);
        return true;
    }
    ++m_nDialogueStep;
    if (m_pActWatchdog != nullptr && m_pActWatchdog->isChecked())
    {
        m_pWatchdogTimer->start(5000);
    }

    m_nCommand = p_nCommand;
    m_mapCommandParams = p_mapParams;
    clearReplyBuffer();

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
    m_bReplyAwaited = !baLine.isEmpty();
    updateControls();
    if (baLine.isEmpty())
    {
        return true;
    }

    qDebug() << "SER CMD" << (QStringLiteral(">") + QString::fromLocal8Bit(baLine) + QStringLiteral("<"));
    writeOrHold(baLine, p_nCommand);
    return true;
}

void vindal01mainWindow_c::slotAbortSerialCommand()
{
    qDebug() << "slotAbortSerialCommand";
    sendCommand(command_t::Cancel, QVariantMap());
    // The completion belongs to the command aborted here: once another command runs it must not complete
    // that one with an empty reply.
    const quint32 nStep = m_nDialogueStep;
    QTimer::singleShot(100, this,
                       [this, nStep]()
                       {
                           if (nStep == m_nDialogueStep)
                           {
                               slotCommandAborted();
                           }
                           else
                           {
                               qDebug() << "slotCommandAborted(): another command runs, nothing completed";
                           }
                       });
}

void vindal01mainWindow_c::abortLater()
{
    const quint32 nStep = m_nDialogueStep;
    QTimer::singleShot(100, this,
                       [this, nStep]()
                       {
                           if (nStep == m_nDialogueStep)
                           {
                               slotAbortSerialCommand();
                           }
                       });
}

void vindal01mainWindow_c::slotIdle() {}

void vindal01mainWindow_c::slotPortChanged(QString p_strPort)
{
    // The module on the port that was open is stopped first, as a mode change stops it: the rest of its
    // reply and a late answer must not pass for the answers of the information query that follows.
    const bool bStopped = portOpen();
    if (bStopped)
    {
        noteAbort();
        m_pSerialPort->write(QByteArray(1, abortByte));
        m_pSerialPort->flush();
    }
    delete m_pSerialPort;
    m_pSerialPort = nullptr;
    dropHeldWrites();
    // Whatever the old port was waiting for is gone with it: its chain, its finger list and its watchdog,
    // which must not mark the new port.
    leaveChain(sessionRecord_c::cancelPort);
    m_nFlagsPid = -1;
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
    // Bytes that arrive while a wait or a box runs inside the read slot stay in the port until it returns;
    // beyond this the driver holds them, so a module that streams meanwhile cannot fill the memory.
    m_pSerialPort->setReadBufferSize(256 * 1024);
    if (m_pSerialPort->open(QIODevice::ReadWrite))
    {
        applySettings();
        showPortLamp(images_n::lampGreen(), tr("Port %1 geöffnet").arg(p_strPort));
        connect(m_pSerialPort, &QSerialPort::readyRead, this, &vindal01mainWindow_c::slotReadReady);
        connect(m_pSerialPort, &QSerialPort::errorOccurred, this, &vindal01mainWindow_c::slotPortError);
        // The port writes when the event loop lets it: the quiet after an abort counts from the moment the
        // byte has left, not from the moment it was handed over.
        connect(m_pSerialPort, &QSerialPort::bytesWritten, this,
                [this]()
                {
                    if (m_bSettling)
                    {
                        watchLine();
                    }
                });
        if (bStopped)
        {
            startSettling();
        }
    }
    else
    {
        showPortLamp(images_n::lampRed(), tr("Öffnen von Port %1 fehlgeschlagen").arg(p_strPort));
    }
    m_sessionRecord.notePort(p_strPort, serialPort_n::availablePortRecords(), m_pSerialPort->isOpen());
    slotSetState(state_t::QueryDevice);
    updateControls();
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
    dropHeldWrites();
    leaveChain(sessionRecord_c::cancelAdapter);
    m_nFlagsPid = -1;
    updateControls();
    qDebug() << "Port failed" << strPort << strError;
    m_sessionRecord.noteAdapterLost(strPort, strError);
    showPortLamp(images_n::lampRed(), tr("Port %1 ausgefallen: %2").arg(strPort, strError));
    // The lamp is small: the status bar says it where the technician looks, instead of a finger prompt
    // that can no longer be answered.
    statusBar()->showMessage(
        tr("Verbindung zum Sensor verloren: Der Adapter an Port %1 wurde abgezogen oder ist ausgefallen.")
            .arg(strPort));
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
