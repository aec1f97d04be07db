#include "serialPort/loggingSerialPort.h"
#include "toolsGui/textTools.h"
#include "ui/images.h"
#include "ui/vindal01mainWindow.h"
#include "viewers/serialLogReader.h"

#include <QDateTime>
#include <QLabel>

void vindal01mainWindow_c::slotWatchdog()
{
    m_sessionRecord.noteWatchdogAlarm(sensor_n::commandText(m_nCommand));
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
