#include "sensor/kvcomLibrary.h"
#include "ui/vindal01mainWindow.h"

#include <QInputDialog>
#include <QMessageBox>

namespace
{

constexpr int g_nChannel = 1;
constexpr int g_nAddress = 254;
const char* const g_szDefaultModule = "900103";

// The serial interfaces of an industrial PC carry these USB ids.
constexpr quint16 g_nIpcVendorId = 0x0483;
constexpr quint16 g_nIpcProductId = 0xA097;

} // namespace

void vindal01mainWindow_c::slotStartComServer(QString p_strIpcDev, QString p_strDevOnIpc)
{
    QString strInterface = p_strIpcDev;
    if (strInterface.isEmpty())
    {
        const QStringList lstPorts = portNamesByUsbId(g_nIpcVendorId, g_nIpcProductId);
        bool bOk = false;
        strInterface = QInputDialog::getText(this, tr("Bitte IPC-Schnittstelle auswählen"), tr("COM:"),
                                             QLineEdit::Normal, lstPorts.value(0), &bOk);
        if (!bOk)
        {
            return;
        }
    }

    kvcomLibrary_c& library = kvcomLibrary_c::instance();
    if (library.comOpenIV(g_nChannel, 0, 1, strInterface.toLocal8Bit(), 38400, 800) == 0)
    {
        QMessageBox::warning(
            this, tr("Öffnen der Schnittstelle fehlgeschlagen."),
            tr("Das Herstellen der Verbindung zum Gerät %1 ist fehlgeschlagen.").arg(strInterface),
            QMessageBox::Cancel);
        m_sessionRecord.noteComServerStart(strInterface, QString(), false,
                                           sessionRecord_c::interfaceNotOpened);
        slotModeSelected(static_cast<int>(m_nMode));
        return;
    }

    QString strModule = p_strDevOnIpc;
    if (strModule.isEmpty())
    {
        bool bOk = false;
        strModule = QInputDialog::getText(this, tr("Bitte Modul im IPC eingeben:"), tr("Modul"),
                                          QLineEdit::Normal, QString::fromLatin1(g_szDefaultModule), &bOk);
        if (!bOk)
        {
            return;
        }
    }

    int nError = -1;
    const bool bOpened = library.openComServerMode(g_nChannel, g_nAddress, strModule.toLocal8Bit(), 115200, 8,
                                                   0, 0, 0, 180, &nError) != 0;
    m_sessionRecord.noteComServerStart(strInterface, strModule, bOpened, nError);
    if (bOpened)
    {
        QMessageBox::information(this, tr("COM-Server-Mode hergestellt"),
                                 tr("Der COM-Server-Mode für wurde erfolgreich hergestellt."),
                                 QMessageBox::Ok);
    }
    else
    {
        QMessageBox::warning(
            this, tr("COM-Server-Mode fehlgeschlagen."),
            tr("Das Öffnen des COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen").arg(nError),
            QMessageBox::Cancel);
    }
}

void vindal01mainWindow_c::slotStartComServer()
{
    slotStartComServer(QString(), QString());
}

void vindal01mainWindow_c::slotAutoStartComServer()
{
    const QStringList lstPorts = portNamesByUsbId(g_nIpcVendorId, g_nIpcProductId);
    slotStartComServer(lstPorts.size() == 1 ? lstPorts.first() : QString(),
                       QString::fromLatin1(g_szDefaultModule));
}

void vindal01mainWindow_c::slotStopComServer()
{
    kvcomLibrary_c& library = kvcomLibrary_c::instance();
    int nError = -1;
    const bool bClosed = library.closeComServerMode(g_nChannel, g_nAddress, &nError) != 0;
    m_sessionRecord.noteComServerStop(bClosed, nError);
    if (!bClosed)
    {
        QMessageBox::warning(
            this, tr("Schließen des COM-Server-Mode fehlgeschlagen."),
            tr("Das Schließen des COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen").arg(nError),
            QMessageBox::Cancel);
    }
    library.comClose(g_nChannel);
}
