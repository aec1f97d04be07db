#include "toolsGui/textTools.h"
#include "ui/diagnosticText.h"
#include "ui/vindal01mainWindow.h"

#include <QDateTime>
#include <QDebug>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>

using namespace sensor_n;
using toolsGui_n::timeStampText;

void vindal01mainWindow_c::slotSetState(state_t p_nStateId)
{
    const qint32 nState = static_cast<qint32>(p_nStateId);
    if (nState >= static_cast<qint32>(state_t::SubSearch) &&
        nState <= static_cast<qint32>(state_t::SubEnroll))
    {
        pushState();
    }
    m_nState = p_nStateId;

    switch (p_nStateId)
    {
    case state_t::Initial:
    case state_t::Enroll:
    case state_t::Delete:
    case state_t::SubDelPersonFingers:
    case state_t::SubEnroll:
        break;
    case state_t::QueryDevice:
    case state_t::SubIdle:
        sendCommand(command_t::ModelFw, QVariantMap());
        break;
    case state_t::Scan:
    case state_t::IdentificationStatistics:
        sendCommand(command_t::Scan, QVariantMap());
        break;
    case state_t::AnalyseSensor:
        m_pTreeTemplates->clear();
        sendCommand(command_t::RegCount, QVariantMap());
        break;
    case state_t::SubSearch:
    case state_t::SubFingerInfo:
        sendCommand(command_t::LedOff, QVariantMap());
        break;
    case state_t::SubMatchId:
        sendCommand(command_t::FpSecurity, {{QStringLiteral("value"), QString::number(m_nSecurityLevel)}});
        break;
    default:
        qDebug() << "Unexpected state " << stateText(p_nStateId) << "to be set";
        break;
    }
}

void vindal01mainWindow_c::setStoreBounds(const storeBounds_t& p_bounds)
{
    m_storeBounds = p_bounds;
    // The traffic and unexpected-response windows keep only their newest lines: the tool runs for whole
    // shifts, and the serial log file is the complete record anyway.
    m_pUnexpectedResponses->document()->setMaximumBlockCount(p_bounds.nDiagnosticLines);
    m_pSerialCommands->document()->setMaximumBlockCount(p_bounds.nDiagnosticLines);
}

void vindal01mainWindow_c::pushState()
{
    const QString strOld = stateText(m_nState);
    // A mode change in the middle of a sub-state leaves its pair behind; over a whole shift these must not
    // pile up without end. Chains nest a few levels deep, so dropping the oldest of very many changes none.
    while (!m_vecPrevStates.isEmpty() && m_vecPrevStates.size() >= m_storeBounds.nStateStack)
    {
        m_vecPrevStates.removeFirst();
    }
    m_vecPrevStates.append({static_cast<qint32>(m_nState), static_cast<qint32>(m_nCommand)});
    qDebug() << "pushState(): SIZE PREV STATE STACK" << m_vecPrevStates.size() << "OLD_STATE" << strOld;
}

void vindal01mainWindow_c::leaveChain(sessionRecord_c::cancel_t p_nWhy)
{
    if (enrolmentRunning())
    {
        m_sessionRecord.noteEnrolmentCancelled(m_mapCommandParams, p_nWhy);
    }
    if (deletionRunning())
    {
        m_sessionRecord.closeDeletions();
    }
    // The oldest pair holds the page's own state; the chains pushed on it are given up, and the abort byte
    // sent before stops the module. No command is left running: whatever the module still answers for the
    // chain is no reply of the page.
    if (!m_vecPrevStates.isEmpty())
    {
        m_nState = static_cast<state_t>(m_vecPrevStates.first().nState);
        m_vecPrevStates.clear();
    }
    m_nCommand = command_t::NoCommand;
    m_mapCommandParams.clear();
    m_bReplyAwaited = false;
    clearReplyBuffer();
    ++m_nDialogueStep;
    m_nChainLeftAt = m_nDialogueStep;
    releaseHeldWrites();
}

void vindal01mainWindow_c::popSubState()
{
    const QString strOld = stateText(m_nState);
    if (m_vecPrevStates.isEmpty())
    {
        m_nState = state_t::Error;
    }
    else
    {
        const prevState_t prev = m_vecPrevStates.takeLast();
        m_nState = static_cast<state_t>(prev.nState);
        m_nCommand = static_cast<command_t>(prev.nCommand);
    }
    qDebug() << "popSubState(): SIZE PREV STATE STACK" << m_vecPrevStates.size() << "OLD_STATE" << strOld
             << "NEW_STATE" << stateText(m_nState);
}

void vindal01mainWindow_c::showErrorMessage(const QString& p_strText)
{
    QMessageBox box(QMessageBox::Critical, tr("Fingerprint Error"), p_strText, QMessageBox::Cancel, this);
    box.exec();
}

void vindal01mainWindow_c::addUnexpectedResponse(const QString& p_strText, bool p_bUnexpected)
{
    if (p_bUnexpected)
    {
        m_sessionRecord.noteUnexpectedResponse();
    }
    // Inserted as plain text: a reply line must never be taken for markup.
    const QString strRecord =
        QStringLiteral("%1 M%2 S%3 C%4: %5")
            .arg(timeStampText(QDateTime::currentDateTime(), QStringLiteral("yyyy.MM.dd HH:mm:ss.zzz")))
            .arg(static_cast<qint32>(m_nMode))
            .arg(static_cast<qint32>(m_nState))
            .arg(static_cast<qint32>(m_nCommand))
            .arg(p_strText);
    diagnosticText_n::makeRoom(m_pUnexpectedResponses->document(), diagnosticText_n::blocksOf(strRecord));
    QTextCursor cursor(m_pUnexpectedResponses->document());
    cursor.movePosition(QTextCursor::End);
    if (!m_pUnexpectedResponses->document()->isEmpty())
    {
        cursor.insertBlock();
    }
    cursor.insertText(strRecord);
}
