#include "serialPort/loggingSerialPort.h"
#include "toolsGui/textTools.h"
#include "ui/images.h"
#include "ui/vindal01mainWindow.h"
#include "viewers/serialLogReader.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>

void vindal01mainWindow_c::slotWatchdog()
{
    // The lamp turns yellow whenever the line stalls; the record keeps an alarm only where the technician
    // asked for the watchdog, and not for an enrolment that waits for the customer's finger.
    if (m_pActWatchdog->isChecked() && m_nCommand != sensor_n::command_t::EnrollDupFP)
    {
        m_sessionRecord.noteWatchdogAlarm(static_cast<int>(m_nCommand));
    }
    if (m_pSerialPort != nullptr && !m_pSerialPort->logFileName().isEmpty())
    {
        m_pSerialErrorLog->slotOpenFile(m_pSerialPort->logFileName());
    }
    m_pSerialErrorLog->selectRows(2);
    m_pSerialErrorLog->setWindowTitle(
        tr("Watchdog at %1")
            .arg(toolsGui_n::timeStampText(QDateTime::currentDateTime(),
                                           QStringLiteral("yyyyMMdd-HHmmss.zzz"))));
    showPortLamp(images_n::lampYellow(), m_pLblPortState->toolTip());
}
