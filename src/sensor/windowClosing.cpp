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
    // Closed, not deleted: the close may come while a wait runs inside the port's own readyRead.
    if (m_pSerialPort != nullptr)
    {
        disconnect(m_pSerialPort, nullptr, this, nullptr);
        m_pSerialPort->close();
    }
}
