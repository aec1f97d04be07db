#include "ui/vindal01mainWindow.h"

#include <QDebug>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace sensor_n;

namespace
{

bool askYesNo(QWidget* p_pParent, const QString& p_strTitle, const QString& p_strText)
{
    QMessageBox box(QMessageBox::Question, p_strTitle, p_strText, QMessageBox::Yes | QMessageBox::No,
                    p_pParent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void vindal01mainWindow_c::slotDeletePidChanged(QString p_strPid)
{
    qDebug() << "NEW PID" << p_strPid;
    m_pLeDeleteFid->clear();
    m_pDeleteHandLeft->slotClearHilight();
    m_pDeleteHandRight->slotClearHilight();
    if (m_nMode != mode_t::Delete)
    {
        updateControls();
        return;
    }
    sendCommand(command_t::Cancel, QVariantMap());
    leaveChain(sessionRecord_c::cancelNone);
    slotSetState(state_t::Delete);
    readFingerList(m_pLeDeletePid->text());
}

void vindal01mainWindow_c::showDeleteFingers()
{
    for (int nId = 0; nId < 10; ++nId)
    {
        humanHandWidget_c* pHand = humanHandWidget_c::handOfFingerId(nId) == humanHandWidget_c::handLeft
                                       ? m_pDeleteHandLeft
                                       : m_pDeleteHandRight;
        const humanHandWidget_c::finger_t nFinger = humanHandWidget_c::fingerOfFingerId(nId);
        const bool bEnrolled = nId < m_baFingerFlags.size() && m_baFingerFlags.at(nId) != '0';
        pHand->setFingerColor(nFinger, bEnrolled ? QColor(Qt::lightGray) : QColor(Qt::gray));
    }
}

void vindal01mainWindow_c::slotDeleteFingerClicked(humanHandWidget_c::hand_t p_nHand,
                                                   humanHandWidget_c::finger_t p_nFinger)
{
    qDebug() << "DELETE FINGER CLICKED" << p_nHand << p_nFinger;
    m_pDeleteHandLeft->setHilight(static_cast<humanHandWidget_c::finger_t>(-1), Qt::white);
    m_pDeleteHandRight->setHilight(static_cast<humanHandWidget_c::finger_t>(-1), Qt::white);
    (p_nHand == humanHandWidget_c::handLeft ? m_pDeleteHandLeft : m_pDeleteHandRight)
        ->setHilight(p_nFinger, Qt::white);
    m_pLeDeleteFid->setText(QString::number(humanHandWidget_c::fingerId(p_nHand, p_nFinger)));
}

void vindal01mainWindow_c::slotDeleteSingleFinger()
{
    const int nPid = m_pLeDeletePid->text().toInt();
    const int nFid = m_pLeDeleteFid->text().toInt();
    const quint32 nStep = m_nDialogueStep;
    if (!m_pBtnDeleteSingle->isEnabled() ||
        !askYesNo(this, tr("Einzelnen Finger löschen?"),
                  tr("Wollen Sie wirklich den Finger %1 der Person %2 löschen?").arg(nFid).arg(nPid)) ||
        nStep != m_nDialogueStep)
    {
        return;
    }
    m_sessionRecord.noteDeletion(sessionRecord_c::opDeleteFinger, nPid, nFid);
    sendCommand(command_t::Cancel, QVariantMap());
    sendCommand(command_t::RegDel, {{QStringLiteral("pid"), m_pLeDeletePid->text().toInt()},
                                    {QStringLiteral("fid"), m_pLeDeleteFid->text().toInt()}});
}

void vindal01mainWindow_c::slotDeletePersonFingers()
{
    const int nPid = m_pLeDeletePid->text().toInt();
    const quint32 nStep = m_nDialogueStep;
    if (!m_pBtnDeletePerson->isEnabled() ||
        !askYesNo(this, tr("Finger einer Person löschen?"),
                  tr("Wollen Sie wirklich alle Finger der Person %2 löschen?").arg(nPid)) ||
        nStep != m_nDialogueStep)
    {
        return;
    }
    m_sessionRecord.noteDeletion(sessionRecord_c::opDeletePerson, nPid, -1);
    sendCommand(command_t::Cancel, QVariantMap());
    m_nDeletePid = nPid;
    // The pair restored after the tenth RegDel makes the page's RegDel row read the finger list afresh,
    // so the hands show the deleted fingers as deleted.
    m_nCommand = command_t::RegDel;
    slotSetState(state_t::SubDelPersonFingers);
    sendCommand(command_t::RegDel, {{QStringLiteral("pid"), nPid}, {QStringLiteral("fid"), 0}});
}

void vindal01mainWindow_c::slotDeleteAllFingers()
{
    const quint32 nStep = m_nDialogueStep;
    if (!m_pBtnDeleteAll->isEnabled() ||
        !askYesNo(this, tr("Alle Finger löschen?"),
                  tr("Wollen Sie wirklich alle Finger vom Sensor löschen?")) ||
        nStep != m_nDialogueStep)
    {
        return;
    }
    m_sessionRecord.noteDeletion(sessionRecord_c::opDeleteAll, -1, -1);
    sendCommand(command_t::Cancel, QVariantMap());
    sendCommand(command_t::RegClear, QVariantMap());
}
