#include "serialPort/loggingSerialPort.h"
#include "ui/vindal01mainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QTimer>

void vindal01mainWindow_c::closeEvent(QCloseEvent* p_pEvent)
{
    QMainWindow::closeEvent(p_pEvent);
    if (!p_pEvent->isAccepted())
    {
        return;
    }
    // The diagnostic windows and log readers have no parent: left open, they would keep the program
    // running, and with it the port, which the next start could then not open.
    const QWidgetList lstWindows = QApplication::topLevelWidgets();
    for (QWidget* pWindow : lstWindows)
    {
        if (pWindow != this && pWindow->isVisible())
        {
            pWindow->close();
        }
    }
    m_pWatchdogTimer->stop();
    m_pIdleTimer->stop();
    dropHeldWrites();
    qDebug() << "Main window closed, port closed";
    delete m_pSerialPort;
    m_pSerialPort = nullptr;
}
