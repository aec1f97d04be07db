#include "sensor/replyFormat.h"
#include "toolsGui/toolsGui.h"
#include "ui/vindal01mainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

using namespace sensor_n;

bool vindal01mainWindow_c::showIdentificationResult(const QString& p_strReply)
{
    m_sessionRecord.noteIdentification(p_strReply);
    m_pLblTrainPid->clear();
    m_pLblTrainFinger->clear();

    const searchResult_t result = readSearchResult(p_strReply);
    const int nFid = result.bNamed ? result.nFid : -1;
    humanHandWidget_c* pHand = m_pTrainHandLeft;
    if (result.bNamed)
    {
        m_pLblTrainPid->setText(result.strPid);
        m_pLblTrainFinger->setText(humanHandWidget_c::fingerIdText(nFid));
    }
    if (humanHandWidget_c::isFingerId(nFid))
    {
        pHand = humanHandWidget_c::handOfFingerId(nFid) == humanHandWidget_c::handLeft ? m_pTrainHandLeft
                                                                                       : m_pTrainHandRight;
        pHand->setHilight(humanHandWidget_c::fingerOfFingerId(nFid),
                          result.bSecondStage ? QColor(Qt::green) : QColor(Qt::white));
    }
    else
    {
        // A finger ID outside 0 to 9 lies on no hand: neither shows a highlight.
        m_pTrainHandLeft->setHilight(static_cast<humanHandWidget_c::finger_t>(-1), Qt::white);
        m_pTrainHandRight->setHilight(static_cast<humanHandWidget_c::finger_t>(-1), Qt::white);
    }
    QTimer::singleShot(2000, pHand, SLOT(slotClearHilight()));
    // The waits hold back the technician's input, but not the port and the timers: whatever took the
    // dialogue over meanwhile owns it afterwards.
    const quint32 nStep = m_nDialogueStep;
    toolsGui_n::waitProcessingEvents(2000, QEventLoop::ExcludeUserInputEvents);
    m_pLblTrainPid->clear();
    m_pLblTrainFinger->clear();
    if (nStep == m_nDialogueStep && result.bRefused)
    {
        m_pLblTrainPid->setText(tr("Finger nicht erkannt"));
        toolsGui_n::waitProcessingEvents(2000, QEventLoop::ExcludeUserInputEvents);
    }
    // The next identification (the scan) is started by the caller's completion row, once per result.
    return nStep == m_nDialogueStep;
}

void vindal01mainWindow_c::slotMatchIdStatisticsPidChanged(QString p_strPid)
{
    qDebug() << "NEW PID" << p_strPid;
    sendCommand(command_t::Cancel, QVariantMap());
    // A match chain half done is given up: the next measurement starts from the scan.
    leaveChain(sessionRecord_c::cancelNone);
    sendCommand(command_t::Scan, QVariantMap());
}

void vindal01mainWindow_c::matchStatisticsStep(bool p_bIdentified)
{
    // The record counts the match under the person it was sent for.
    m_sessionRecord.noteMatch(m_mapCommandParams.value(QStringLiteral("pid")).toString(), m_nSecurityLevel,
                              p_bIdentified);
    if (p_bIdentified && m_nSecurityLevel >= 0 && m_nSecurityLevel < 3)
    {
        ++m_anMatchCount[m_nSecurityLevel];
    }
    qDebug() << "SECURITY LEVEL" << m_nSecurityLevel << "IDENTIFIED?" << (p_bIdentified ? "true" : "false");
    if (m_nSecurityLevel == 0 || m_nSecurityLevel == 1)
    {
        ++m_nSecurityLevel;
        slotSetState(state_t::Scan);
        return;
    }
    if (m_nSecurityLevel != 2)
    {
        m_nSecurityLevel = 0;
        slotSetState(state_t::Scan);
        return;
    }

    ++m_nMatchCycles;
    // printf formats always write a point as decimal separator, whatever the locale.
    auto line = [this](const char* p_szFormat, int p_nLevel)
    {
        return QString::asprintf(p_szFormat, m_anMatchCount[p_nLevel],
                                 m_anMatchCount[p_nLevel] * 100.0 / m_nMatchCycles);
    };
    const QString strText = QStringLiteral("PID: ") + m_pLeMatchIdPid->text() + QStringLiteral("\n\n") +
                            QString::asprintf("Zyklen: %4i\n", m_nMatchCycles) +
                            line("HIGH:   %4i %6.2f%%\n", 0) + line("NORMAL: %4i %6.2f%%\n", 1) +
                            line("LOW:    %4i %6.2f%%\n", 2);
    m_pMatchIdStatistics->setPlainText(strText);
    QApplication::clipboard()->setText(strText);

    QMessageBox box(QMessageBox::Information, tr("Bitte neu auflegen"),
                    tr("Bitte Finger vom Sensor entfernen und neu auflegen!\n\nDann Ok betätigen!"),
                    QMessageBox::NoButton, this);
    QPushButton* pBtnOk = box.addButton(tr("Ok"), QMessageBox::AcceptRole);
    QPushButton* pBtnStop = box.addButton(tr("Stop"), QMessageBox::RejectRole);
    box.setDefaultButton(pBtnOk);
    box.setEscapeButton(pBtnStop);
    const quint32 nStep = m_nDialogueStep;
    box.exec();
    // The box holds the page, not the port and the timers: a dialogue taken over meanwhile stays so.
    if (box.clickedButton() != pBtnOk || nStep != m_nDialogueStep)
    {
        return;
    }
    m_nSecurityLevel = 0;
    slotSetState(state_t::Scan);
}
