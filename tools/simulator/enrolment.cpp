// sensorSimulator_c: enrolment, from "enroll_dupfp" through its three placements to the stored template.
#include "sensorSimulator.h"

#include <QTimer>

namespace simulator_n
{

void sensorSimulator_c::setPlacementMode(placement_t p_nMode)
{
    m_nPlacementMode = p_nMode;
}

sensorSimulator_c::placement_t sensorSimulator_c::placementMode() const
{
    return m_nPlacementMode;
}

void sensorSimulator_c::setPlacementDelay(int p_nMs)
{
    m_nPlacementDelayMs = qMax(0, p_nMs);
}

int sensorSimulator_c::placementDelay() const
{
    return m_nPlacementDelayMs;
}

bool sensorSimulator_c::placeFinger()
{
    if (m_nOperation != operationEnroll)
    {
        return false;
    }
    m_pOperationTimer->stop();
    advanceEnroll();
    return true;
}

void sensorSimulator_c::setEnrollQuality(int p_nQuality)
{
    m_nEnrollQuality = p_nQuality;
}

void sensorSimulator_c::setEnrollMinutiae(int p_nMinutiae)
{
    m_nEnrollMinutiae = p_nMinutiae;
}

bool sensorSimulator_c::isEnrolling() const
{
    return m_nOperation == operationEnroll;
}

int sensorSimulator_c::placementsDone() const
{
    return m_nOperation == operationEnroll ? m_nPlacements : 0;
}

void sensorSimulator_c::startEnroll(const QList<QByteArray>& p_lstWords)
{
    if (p_lstWords.size() < 4)
    {
        reply("=NO CMDERR");
        return;
    }
    const int nPid = wordToInt(p_lstWords, 1);
    const int nGroup = wordToInt(p_lstWords, 2);
    const int nFid = wordToInt(p_lstWords, 3);
    if (nPid == 0)
    {
        reply("=NO ID=0");
    }
    else if (nGroup == 0)
    {
        reply("=NO Group=0");
    }
    else if (nFid < 0 || nFid > 9)
    {
        reply("=NO BKNum=OVER");
    }
    else if (m_store.contains(nPid, nFid))
    {
        reply("=NO DoubleFP");
    }
    else if (m_store.isFull())
    {
        reply("=NO Enroll Full");
    }
    else
    {
        m_nOperation = operationEnroll;
        m_nOperationPid = nPid;
        m_nOperationGroup = nGroup;
        m_nOperationFid = nFid;
        m_nPlacements = 0;
        reply("=OK Ready");
        if (m_nPlacementMode == placementAutomatic)
        {
            if (m_nPlacementDelayMs > 0)
            {
                scheduleOperation(m_nPlacementDelayMs);
            }
            else
            {
                while (m_nOperation == operationEnroll && m_pTerminal->isOpen())
                {
                    advanceEnroll();
                }
            }
        }
    }
}

void sensorSimulator_c::advanceEnroll()
{
    ++m_nPlacements;
    if (m_nPlacements == 1 && placedFingerIsStored())
    {
        stopOperation();
        reply("=NO DoubleFP");
        return;
    }
    reply("=FP " + QByteArray::number(m_nPlacements));
    if (m_nPlacements < 3)
    {
        if (m_nPlacementMode == placementAutomatic && m_nPlacementDelayMs > 0)
        {
            scheduleOperation(m_nPlacementDelayMs);
        }
        return;
    }
    const int nPid = m_nOperationPid;
    const int nGroup = m_nOperationGroup;
    const int nFid = m_nOperationFid;
    stopOperation();
    reply(storeEnrolled(nPid, nGroup, nFid));
}

bool sensorSimulator_c::placedFingerIsStored() const
{
    // The placed finger is compared with the store on its first placement, as the "dupfp" check does.
    return m_bFingerPresent && m_nFingerPid != 0 && m_store.contains(m_nFingerPid, m_nFingerFid);
}

QByteArray sensorSimulator_c::storeEnrolled(int p_nPid, int p_nGroup, int p_nFid)
{
    // The store may have changed while the placements went on.
    if (m_store.contains(p_nPid, p_nFid))
    {
        return "=NO DoubleFP";
    }
    if (!m_store.add(p_nPid, p_nFid, m_nEnrollQuality, m_nEnrollMinutiae, p_nGroup, QByteArray()))
    {
        return "=NO Enroll Full";
    }
    // A stranger's finger now belongs to the person it was enrolled for.
    if (m_bFingerPresent && m_nFingerPid == 0)
    {
        m_nFingerPid = p_nPid;
        m_nFingerFid = p_nFid;
    }
    return "=OK Enroll ID=" + QByteArray::number(p_nPid) + " Group=" + QByteArray::number(p_nGroup) +
           " BKNum=" + QByteArray::number(p_nFid) + " Quality=" + QByteArray::number(m_nEnrollQuality);
}

} // namespace simulator_n
