#include "ui/vindal01mainWindow.h"

#include <QLabel>

void vindal01mainWindow_c::clearDeviceInfo()
{
    m_strFirmware.clear();
    m_strBuildTime.clear();
    m_strBuildDate.clear();
    m_strRegCount.clear();
    m_strCapacity.clear();
}

void vindal01mainWindow_c::showDeviceInfo()
{
    m_pLblFirmware->setText(m_strFirmware);
    m_pLblBuildDate->setText(m_strBuildDate);
    m_pLblBuildTime->setText(m_strBuildTime);
    m_pLblCapacity->setText(m_strRegCount + QStringLiteral(" / ") + m_strCapacity);
    m_sessionRecord.noteModule(m_strFirmware, m_strBuildDate, m_strBuildTime, m_strRegCount, m_strCapacity);
}
