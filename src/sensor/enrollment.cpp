#include "sensor/replyFormat.h"
#include "ui/vindal01mainWindow.h"

#include <QDebug>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

using namespace sensor_n;

void vindal01mainWindow_c::readFingerList(const QString& p_strPid)
{
    m_nFlagsPid = -1;
    // No one's fingers are shown for an empty field; without a port the walk could not end, and the page
    // reads its list once a port is chosen.
    if (p_strPid.trimmed().isEmpty() || !portOpen())
    {
        if (p_strPid.trimmed().isEmpty())
        {
            // The page's hands as before any list was read.
            m_baFingerFlags = QByteArray(10, '0');
            m_nMode == mode_t::Delete ? showDeleteFingers()
                                      : showFingerCollection(m_pEnrollHandLeft, m_pEnrollHandRight);
            m_baFingerFlags.clear();
        }
        updateControls();
        return;
    }
    m_nDeletePid = p_strPid.toInt();
    // The walk ends with LedOn; the pushed pair lets the page's own row colour the hands afterwards.
    m_nCommand = command_t::LedOn;
    slotSetState(state_t::SubFingerInfo);
}

void vindal01mainWindow_c::showFingerCollection(humanHandWidget_c* p_pLeft, humanHandWidget_c* p_pRight)
{
    for (int nId = 0; nId < 10 && nId < m_baFingerFlags.size(); ++nId)
    {
        humanHandWidget_c* pHand =
            humanHandWidget_c::handOfFingerId(nId) == humanHandWidget_c::handLeft ? p_pLeft : p_pRight;
        pHand->setFingerColor(humanHandWidget_c::fingerOfFingerId(nId),
                              m_baFingerFlags.at(nId) != '0' ? QColor(Qt::lightGray) : QColor(Qt::gray));
    }
}

void vindal01mainWindow_c::slotEnrollPidChanged(QString p_strPid)
{
    qDebug() << "NEW PID" << p_strPid;
    m_pLeEnrollFid->clear();
    m_pEnrollHandLeft->slotClearHilight();
    m_pEnrollHandRight->slotClearHilight();
    // The page shows the new person once the list is read; an enrolment running for the person before
    // is given up, which the abort byte of the walk tells the module.
    if (m_nMode != mode_t::Enroll)
    {
        updateControls();
        return;
    }
    const bool bEnrolling = enrolmentRunning();
    sendCommand(command_t::Cancel, QVariantMap());
    leaveChain(sessionRecord_c::cancelPersonalId);
    slotSetState(state_t::Enroll);
    readFingerList(m_pLeEnrollPid->text());
    if (bEnrolling)
    {
        statusBar()->showMessage(tr("Einlernen abgebrochen."));
    }
}

void vindal01mainWindow_c::slotEnrollFingerClicked(humanHandWidget_c::hand_t p_nHand,
                                                   humanHandWidget_c::finger_t p_nFinger)
{
    qDebug() << "ENROLL FINGER CLICKED" << p_nHand << p_nFinger;
    m_pEnrollHandLeft->setHilight(static_cast<humanHandWidget_c::finger_t>(-1), Qt::white);
    m_pEnrollHandRight->setHilight(static_cast<humanHandWidget_c::finger_t>(-1), Qt::white);
    (p_nHand == humanHandWidget_c::handLeft ? m_pEnrollHandLeft : m_pEnrollHandRight)
        ->setHilight(p_nFinger, Qt::white);
    m_pLeEnrollFid->setText(QString::number(humanHandWidget_c::fingerId(p_nHand, p_nFinger)));
}

void vindal01mainWindow_c::slotEnrollStart()
{
    // One enrolment at a time, on the page at rest: the second click of a double click finds Start
    // disabled by the first one's command.
    if (!m_pBtnEnrollStart->isEnabled())
    {
        return;
    }
    sendCommand(command_t::EnrollDupFP, {{QStringLiteral("pid"), m_pLeEnrollPid->text().toInt()},
                                         {QStringLiteral("fid"), m_pLeEnrollFid->text().toInt()},
                                         {QStringLiteral("group"), m_pLeEnrollGroup->text().toInt()}});
}

void vindal01mainWindow_c::showEnrollResult(const QString& p_strReply)
{
    m_sessionRecord.noteEnrolment(m_mapCommandParams, p_strReply);
    const QString strRefusal = enrollRefusalText(p_strReply);
    if (strRefusal.isEmpty())
    {
        // The window keeps even a success line for the developer; only one without a quality is strange.
        addUnexpectedResponse(p_strReply, !p_strReply.startsWith(QLatin1String("=OK Enroll")) ||
                                              enrolmentQuality(p_strReply) <= 0);
    }
    else
    {
        if (p_strReply.startsWith(QLatin1String("=NO CMDERR")))
        {
            qDebug() << "ERROR FROM ENROLL:" << p_strReply;
        }
        showErrorMessage(tr(strRefusal.toLatin1().constData()));
    }
}
