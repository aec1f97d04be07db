#include "sensor/replyFormat.h"
#include "ui/vindal01mainWindow.h"

#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

using namespace sensor_n;

namespace
{

const char* flagText(bool p_bFlag)
{
    return p_bFlag ? "true" : "false";
}

// A copy of the running command's parameters with another finger ID.
QVariantMap withFid(QVariantMap p_mapParams, int p_nFid)
{
    p_mapParams.insert(QStringLiteral("fid"), p_nFid);
    return p_mapParams;
}

} // namespace

void vindal01mainWindow_c::commandCompleted(command_t p_nCommand, const QString& p_strReply, bool p_bAborted)
{
    m_pWatchdogTimer->stop();
    m_bReplyAwaited = false;
    completeInState(p_nCommand, p_strReply, p_bAborted);
    updateControls();
}

void vindal01mainWindow_c::completeInState(command_t p_nCommand, const QString& p_strReply, bool p_bAborted)
{
    switch (m_nState)
    {
    case state_t::Initial:
        unexpectedCommand(p_nCommand, p_strReply, p_bAborted);
        break;
    case state_t::QueryDevice:
        completeQueryDevice(p_nCommand, p_strReply);
        if (p_nCommand != command_t::ModelFw && p_nCommand != command_t::Date &&
            p_nCommand != command_t::Time && p_nCommand != command_t::RegCount &&
            p_nCommand != command_t::Max && p_nCommand != command_t::LedOn)
        {
            unexpectedCommand(p_nCommand, p_strReply, p_bAborted);
        }
        break;
    case state_t::Scan:
        completeScan(p_nCommand, p_strReply, p_bAborted);
        break;
    case state_t::Enroll:
        if (p_nCommand == command_t::LedOn)
        {
            showFingerCollection(m_pEnrollHandLeft, m_pEnrollHandRight);
            qDebug() << "FINGER COLLECTION" << m_baFingerFlags;
        }
        else if (p_nCommand == command_t::EnrollDupFP)
        {
            const quint32 nStep = m_nDialogueStep;
            showEnrollResult(p_strReply);
            // A box waits for the technician; an adapter lost meanwhile has ended the page's dialogue.
            if (nStep == m_nDialogueStep)
            {
                slotEnrollPidChanged(m_pLeEnrollPid->text());
            }
        }
        else
        {
            unexpectedCommand(p_nCommand, p_strReply, p_bAborted);
        }
        break;
    case state_t::Delete:
        if (p_nCommand == command_t::RegClear || p_nCommand == command_t::RegDel)
        {
            slotDeletePidChanged(m_pLeDeletePid->text());
        }
        else if (p_nCommand == command_t::LedOn)
        {
            showDeleteFingers();
        }
        else
        {
            unexpectedCommand(p_nCommand, p_strReply, p_bAborted);
        }
        break;
    case state_t::AnalyseSensor:
        completeAnalyseSensor(p_nCommand, p_strReply, p_bAborted);
        break;
    case state_t::IdentificationStatistics:
        if (p_nCommand == command_t::Scan)
        {
            statusBar()->showMessage(tr("Bitte Finger auflegen"));
            if (p_strReply.toInt() < 1)
            {
                sendCommand(command_t::Scan, QVariantMap());
            }
            else
            {
                m_nCommand = command_t::MatchId;
                slotSetState(state_t::SubMatchId);
            }
        }
        else
        {
            if (p_nCommand == command_t::MatchId)
            {
                qDebug() << "MATCH RESULTED IN" << p_strReply;
            }
            unexpectedCommand(p_nCommand, p_strReply, p_bAborted);
        }
        break;
    case state_t::SubSearch:
    case state_t::SubFingerInfo:
    case state_t::SubDelPersonFingers:
    case state_t::SubMatchId:
    case state_t::SubIdle:
        completeSubState(p_nCommand, p_strReply, p_bAborted);
        break;
    default:
        qDebug() << "Unexpected state" << stateText(m_nState) << "running command" << commandText(p_nCommand)
                 << "DATA" << p_strReply << "Aborted?" << flagText(p_bAborted);
        break;
    }
}

void vindal01mainWindow_c::unexpectedCommand(command_t p_nCommand, const QString& p_strReply, bool p_bAborted)
{
    qDebug() << "Unexpected command" << commandText(p_nCommand) << "in state" << stateText(m_nState) << "DATA"
             << p_strReply << "Aborted?" << flagText(p_bAborted);
}

void vindal01mainWindow_c::unexpectedMode(const char* p_szWhat, command_t p_nCommand,
                                          const QString& p_strReply, bool p_bAborted)
{
    qDebug() << "Unexpected mode" << modeText(m_nMode) << p_szWhat << commandText(p_nCommand) << "in state"
             << stateText(m_nState) << "DATA" << p_strReply << "Aborted?" << flagText(p_bAborted);
}

void vindal01mainWindow_c::completeQueryDevice(command_t p_nCommand, const QString& p_strReply)
{
    statusBar()->showMessage(QString());
    switch (p_nCommand)
    {
    case command_t::ModelFw:
        m_strFirmware = p_strReply;
        showDeviceInfo();
        sendCommand(command_t::Date, QVariantMap());
        break;
    case command_t::Date:
        m_strBuildDate = p_strReply;
        showDeviceInfo();
        sendCommand(command_t::Time, QVariantMap());
        break;
    case command_t::Time:
        m_strBuildTime = p_strReply;
        showDeviceInfo();
        sendCommand(command_t::RegCount, QVariantMap());
        break;
    case command_t::RegCount:
        sendCommand(command_t::Max, QVariantMap());
        m_strRegCount = p_strReply;
        showDeviceInfo();
        break;
    case command_t::Max:
        sendCommand(command_t::LedOn, QVariantMap());
        m_strCapacity = p_strReply;
        showDeviceInfo();
        break;
    case command_t::LedOn:
        // A port chosen on another page: the module is known now, and that page rests again.
        if (m_nMode != mode_t::Info)
        {
            enterModeState();
        }
        break;
    default:
        break;
    }
}

void vindal01mainWindow_c::completeScan(command_t p_nCommand, const QString& p_strReply, bool p_bAborted)
{
    switch (p_nCommand)
    {
    case command_t::Scan:
        statusBar()->showMessage(tr("Bitte Finger auflegen"));
        if (p_strReply.toInt() < 1)
        {
            sendCommand(command_t::Scan, QVariantMap());
        }
        else if (m_nMode == mode_t::Train)
        {
            m_nCommand = command_t::Search;
            slotSetState(state_t::SubSearch);
        }
        else if (m_nMode == mode_t::MatchIdAnalysis)
        {
            m_nCommand = command_t::MatchId;
            slotSetState(state_t::SubMatchId);
        }
        else if (m_nMode == mode_t::Test)
        {
            sendCommand(command_t::ReadImage, {{QStringLiteral("mode"), 2}});
        }
        else
        {
            unexpectedMode("for command", p_nCommand, p_strReply, p_bAborted);
        }
        break;
    case command_t::ReadImage:
        sendCommand(command_t::Scan, QVariantMap());
        break;
    case command_t::Search:
        if (m_nMode != mode_t::Train)
        {
            unexpectedMode("for command reply", p_nCommand, p_strReply, p_bAborted);
        }
        // One scan per result starts the next identification, unless the dialogue was taken over while the
        // result was shown.
        if (m_nMode != mode_t::Train || showIdentificationResult(p_strReply))
        {
            sendCommand(command_t::Scan, QVariantMap());
        }
        break;
    case command_t::MatchId:
        if (p_strReply.startsWith(QLatin1String("=NO")))
        {
            qDebug() << "MATCH NOT OK" << p_strReply;
            matchStatisticsStep(false);
        }
        else if (p_strReply.startsWith(QLatin1String("=OK MatchId")))
        {
            qDebug() << "MATCH OK" << p_strReply;
            matchStatisticsStep(true);
        }
        else
        {
            addUnexpectedResponse(p_strReply);
        }
        break;
    default:
        qDebug() << "Unexpected command" << commandText(p_nCommand) << "in state" << stateText(m_nState)
                 << "/" << modeText(m_nMode) << "DATA" << p_strReply << "Aborted?" << flagText(p_bAborted);
        break;
    }
}

void vindal01mainWindow_c::completeAnalyseSensor(command_t p_nCommand, const QString& p_strReply,
                                                 bool p_bAborted)
{
    switch (p_nCommand)
    {
    case command_t::RegCount:
        statusBar()->showMessage(tr("Sensordaten lesen..."));
        m_nRegCount = p_strReply.toInt();
        qDebug() << "NUM TEMPLATES" << m_nRegCount << ("(was " + p_strReply + ")");
        sendCommand(command_t::RegList, QVariantMap());
        break;
    case command_t::RegList:
        qDebug() << "REG LIST" << p_strReply;
        sendCommand(command_t::TempalteFormat, {{QStringLiteral("format"), 2}});
        break;
    case command_t::TempalteFormat:
    case command_t::RegGet:
        requestNextTemplate();
        break;
    default:
        unexpectedCommand(p_nCommand, p_strReply, p_bAborted);
        break;
    }
}

void vindal01mainWindow_c::requestNextTemplate()
{
    if (m_lstRegList.isEmpty())
    {
        for (int nColumn = 0; nColumn < 4; ++nColumn)
        {
            m_pTreeTemplates->resizeColumnToContents(nColumn);
        }
        statusBar()->showMessage(QString());
        return;
    }
    statusBar()->showMessage(tr("Sensordaten lesen... ") +
                             QString::number(m_nRegCount - m_lstRegList.size()) + QStringLiteral(" / ") +
                             QString::number(m_nRegCount));
    const QStringList lstFields = m_lstRegList.takeFirst().split(QLatin1Char(' '));
    if (lstFields.size() >= 4)
    {
        sendCommand(command_t::RegGet, {{QStringLiteral("pid"), lstFields.at(1).toInt()},
                                        {QStringLiteral("fid"), lstFields.at(3).toInt()}});
    }
}

void vindal01mainWindow_c::completeSubState(command_t p_nCommand, const QString& p_strReply, bool p_bAborted)
{
    const int nFid = m_mapCommandParams.value(QStringLiteral("fid")).toInt();
    const state_t nState = m_nState;
    if (nState == state_t::SubIdle)
    {
        qDebug() << "IDLE COMMAND completed" << p_strReply;
        popSubState();
        return;
    }
    if (nState == state_t::SubSearch && p_nCommand == command_t::LedOff)
    {
        if (m_nMode != mode_t::Train)
        {
            unexpectedMode("for command reply", p_nCommand, p_strReply, p_bAborted);
        }
        sendCommand(command_t::SearchNoLed, QVariantMap());
        abortLater();
    }
    else if (nState == state_t::SubSearch && p_nCommand == command_t::SearchNoLed)
    {
        sendCommand(command_t::LedOn, QVariantMap());
    }
    else if (nState == state_t::SubSearch && p_nCommand == command_t::LedOn)
    {
        m_pLblTrainPid->clear();
        m_pLblTrainFinger->clear();
        statusBar()->showMessage(tr("Identifizieren..."));
        sendCommand(command_t::Search, QVariantMap());
    }
    else if ((nState == state_t::SubSearch && p_nCommand == command_t::Search) ||
             (nState == state_t::SubMatchId && p_nCommand == command_t::MatchId))
    {
        popSubState();
        commandCompleted(m_nCommand, p_strReply, false);
    }
    else if (nState == state_t::SubFingerInfo && p_nCommand == command_t::LedOff)
    {
        m_baFingerFlags.clear();
        sendCommand(command_t::RegFind, {{QStringLiteral("pid"), m_nDeletePid}, {QStringLiteral("fid"), 0}});
    }
    else if (nState == state_t::SubFingerInfo && p_nCommand == command_t::RegFind)
    {
        m_baFingerFlags.append(p_strReply.toInt() != 0 ? '1' : '0');
        if (nFid + 1 < 10)
        {
            sendCommand(command_t::RegFind, withFid(m_mapCommandParams, nFid + 1));
        }
        else
        {
            sendCommand(command_t::LedOn, QVariantMap());
        }
    }
    else if (nState == state_t::SubFingerInfo && p_nCommand == command_t::LedOn)
    {
        m_nFlagsPid = m_nDeletePid;
        popSubState();
        qDebug() << "FINGER COLLECTION STATE" << m_baFingerFlags;
        commandCompleted(m_nCommand, p_strReply, false);
    }
    else if (nState == state_t::SubDelPersonFingers && p_nCommand == command_t::RegDel)
    {
        if (nFid + 1 <= 9)
        {
            sendCommand(command_t::RegDel, withFid(m_mapCommandParams, nFid + 1));
        }
        else
        {
            popSubState();
            commandCompleted(m_nCommand, p_strReply, false);
        }
    }
    else if (nState == state_t::SubMatchId && p_nCommand == command_t::FpSecurity)
    {
        sendCommand(command_t::LedOff, QVariantMap());
    }
    else if (nState == state_t::SubMatchId && p_nCommand == command_t::LedOff)
    {
        sendCommand(command_t::MatchIdNoLed, {{QStringLiteral("pid"), m_pLeMatchIdPid->text().toInt()}});
        abortLater();
    }
    else if (nState == state_t::SubMatchId && p_nCommand == command_t::MatchIdNoLed)
    {
        sendCommand(command_t::LedOn, QVariantMap());
    }
    else if (nState == state_t::SubMatchId && p_nCommand == command_t::LedOn)
    {
        m_pLblTrainPid->clear();
        m_pLblTrainFinger->clear();
        statusBar()->showMessage(tr("Identifizieren..."));
        sendCommand(command_t::MatchId, {{QStringLiteral("pid"), m_pLeMatchIdPid->text().toInt()}});
    }
    else
    {
        unexpectedCommand(p_nCommand, p_strReply, p_bAborted);
    }
}

namespace
{
struct modeEntry_t
{
    const char* szStatus;
    state_t nState;
};
const modeEntry_t g_aModes[] = {
    {QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Informationen auslesen"), state_t::QueryDevice},
    {QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Einlernen"), state_t::Enroll},
    {QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Bild erfassen"), state_t::Scan},
    {QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Identifizieren und Trainiern"), state_t::Scan},
    {QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Finger löschen"), state_t::Delete},
    {QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Sensordaten analysieren"), state_t::AnalyseSensor},
    {QT_TRANSLATE_NOOP("vindal01mainWindow_c", "MatchID Statistical Analysis"), state_t::Scan},
};
constexpr int g_nModes = static_cast<int>(sizeof(g_aModes) / sizeof(g_aModes[0]));
} // namespace

void vindal01mainWindow_c::slotModeSelected(int p_nMode)
{
    m_nMode = static_cast<mode_t>(p_nMode);
    sendCommand(command_t::Cancel, QVariantMap());
    qDebug() << "Mode selected" << p_nMode;
    if (p_nMode < 0 || p_nMode >= g_nModes)
    {
        return;
    }
    // Whatever ran is given up (the abort byte has stopped the module), and a finger list read on another
    // visit describes no one shown now.
    leaveChain(sessionRecord_c::cancelPageLeft);
    m_nFlagsPid = -1;
    statusBar()->showMessage(tr(g_aModes[p_nMode].szStatus));
    m_pPageStack->setCurrentIndex(m_anPageIndex[p_nMode]);
    if (m_nMode == mode_t::Info)
    {
        m_pLblFirmware->clear();
        m_pLblBuildDate->clear();
        m_pLblBuildTime->clear();
        m_pLblCapacity->clear();
    }
    enterModeState();
}

void vindal01mainWindow_c::enterModeState()
{
    const int nMode = static_cast<int>(m_nMode);
    if (nMode < 0 || nMode >= g_nModes)
    {
        return;
    }
    if (m_nMode == mode_t::MatchIdAnalysis)
    {
        m_nSecurityLevel = 0;
    }
    slotSetState(g_aModes[nMode].nState);
    // The enrolment and delete pages show the fingers of the person in their field, the finger chosen
    // staying chosen.
    const QLineEdit* pPid =
        m_nMode == mode_t::Enroll ? m_pLeEnrollPid : (m_nMode == mode_t::Delete ? m_pLeDeletePid : nullptr);
    if (pPid != nullptr)
    {
        readFingerList(pPid->text());
    }
    updateControls();
}

void vindal01mainWindow_c::slotCommandAborted()
{
    qDebug() << "slotCommandAborted";
    commandCompleted(m_nCommand, QString(), true);
}
