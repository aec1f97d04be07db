#include "serialPort/loggingSerialPort.h"
#include "ui/vindal01mainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

void vindal01mainWindow_c::closeEvent(QCloseEvent* p_pEvent)
{
    // The run keeps its record in memory only: work on the module that is in no report yet would be lost.
    if (m_sessionRecord.workSinceReport())
    {
        QMessageBox box(
            QMessageBox::Question, tr("Service report"),
            tr("Enrolments, deletions or other work of this visit are in no saved or printed service "
               "report yet. Make the report before closing?"),
            QMessageBox::NoButton, this);
        QPushButton* pMake = box.addButton(tr("Make the report"), QMessageBox::AcceptRole);
        QPushButton* pClose = box.addButton(tr("Close without it"), QMessageBox::DestructiveRole);
        QPushButton* pStay = box.addButton(tr("Stay"), QMessageBox::RejectRole);
        box.setDefaultButton(pMake);
        box.setEscapeButton(pStay);
        box.exec();
        if (box.clickedButton() == pMake)
        {
            slotServiceReport();
        }
        // Closing goes on once the report is kept, or when the technician does without it.
        if (box.clickedButton() != pClose && m_sessionRecord.workSinceReport())
        {
            p_pEvent->ignore();
            return;
        }
    }
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
