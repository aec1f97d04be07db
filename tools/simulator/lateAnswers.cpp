// sensorSimulator_c: late answers, the operations an abort byte detached instead of stopping them.
#include "sensorSimulator.h"

#include <QTimer>

namespace simulator_n
{

void sensorSimulator_c::setLateAnswer(int p_nMs)
{
    m_nLateAnswerMs = qMax(-1, p_nMs);
}

int sensorSimulator_c::lateAnswer() const
{
    return m_nLateAnswerMs;
}

QByteArrayList sensorSimulator_c::lateAnswers() const
{
    return m_lstLateAnswers;
}

void sensorSimulator_c::detachOperation()
{
    if (m_nLateAnswerMs < 0 || m_nOperation == operationNone)
    {
        return;
    }
    lateAnswer_c late;
    late.m_nOperation = m_nOperation;
    late.m_nPid = m_nOperationPid;
    late.m_nGroup = m_nOperationGroup;
    late.m_nFid = m_nOperationFid;
    late.m_nPlacements = m_nPlacements;
    // A search or match looks at the finger it had captured when it was aborted.
    if (m_nOperation != operationEnroll && !m_bFingerPresent)
    {
        late.m_lstLines.append(searchTimeout(m_nOperation));
    }
    else if (m_nOperation != operationEnroll)
    {
        if (!m_bFingerReported)
        {
            late.m_lstLines.append("=OK FP");
        }
        late.m_lstLines.append(searchResult(m_nOperation, m_nOperationGroup, m_nOperationPid));
    }
    // One timer each: several late answers may be pending, each due at its own time.
    QTimer* pTimer = new QTimer(this);
    pTimer->setSingleShot(true);
    connect(pTimer, &QTimer::timeout, this, [this, pTimer]() { sendLateAnswer(pTimer); });
    late.m_pTimer = pTimer;
    m_lstPendingLate.append(late);
    pTimer->start(m_nLateAnswerMs);
}

void sensorSimulator_c::sendLateAnswer(QTimer* p_pTimer)
{
    int nIndex = 0;
    while (nIndex < m_lstPendingLate.size() && m_lstPendingLate.at(nIndex).m_pTimer != p_pTimer)
    {
        ++nIndex;
    }
    if (nIndex == m_lstPendingLate.size())
    {
        return;
    }
    // Taken from the list first: a slot on outputDrained may let the module vanish, dropping the others.
    const lateAnswer_c late = m_lstPendingLate.takeAt(nIndex);
    late.m_pTimer->deleteLater();

    QByteArrayList lstLines = late.m_lstLines;
    if (late.m_nOperation == operationEnroll)
    {
        const int nPlacement = late.m_nPlacements + 1;
        if (nPlacement == 1 && placedFingerIsStored())
        {
            lstLines.append("=NO DoubleFP");
        }
        else
        {
            lstLines.append("=FP " + QByteArray::number(nPlacement));
            if (nPlacement >= 3)
            {
                lstLines.append(storeEnrolled(late.m_nPid, late.m_nGroup, late.m_nFid));
            }
        }
    }
    m_lstLateAnswers += lstLines;
    queueOutput(lstLines.join("\r\n") + "\r\n");
}

void sensorSimulator_c::dropLateAnswers()
{
    for (const lateAnswer_c& late : qAsConst(m_lstPendingLate))
    {
        delete late.m_pTimer;
    }
    m_lstPendingLate.clear();
}

} // namespace simulator_n
