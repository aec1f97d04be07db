#include "sensorSimulator.h"

#include <QTimer>

namespace simulator_n
{

int sensorSimulator_c::wordToInt(const QList<QByteArray>& p_lstWords, int p_nIndex, bool* p_pbPresent)
{
    if (p_pbPresent)
    {
        *p_pbPresent = p_nIndex < p_lstWords.size();
    }
    // Text that is not a number counts as 0, as it would on the module.
    return p_nIndex < p_lstWords.size() ? p_lstWords.at(p_nIndex).toInt() : 0;
}

sensorSimulator_c::sensorSimulator_c(QObject* p_pParent)
    : QObject(p_pParent), m_pTerminal(new pseudoTerminal_c(this)), m_pOperationTimer(new QTimer(this)),
      m_pScanTimer(new QTimer(this))
{
    m_pOperationTimer->setSingleShot(true);
    m_pScanTimer->setSingleShot(true);
    connect(m_pScanTimer, &QTimer::timeout, this, &sensorSimulator_c::slotScanTimer);
    m_clock.start();
    connect(m_pTerminal, &pseudoTerminal_c::bytesReceived, this, &sensorSimulator_c::receiveInOrder);
    connect(m_pTerminal, &pseudoTerminal_c::outputDrained, this, &sensorSimulator_c::outputDrained);
    connect(m_pOperationTimer, &QTimer::timeout, this, &sensorSimulator_c::slotOperationTimer);
}

sensorSimulator_c::~sensorSimulator_c()
{
    closeDescriptors();
}

// --- Module identity ---------------------------------------------------------------------------------

void sensorSimulator_c::setFirmware(const QString& p_strFirmware)
{
    m_strFirmware = p_strFirmware;
}

QString sensorSimulator_c::firmware() const
{
    return m_strFirmware;
}

void sensorSimulator_c::setBuildDate(const QString& p_strDate)
{
    m_strBuildDate = p_strDate;
}

QString sensorSimulator_c::buildDate() const
{
    return m_strBuildDate;
}

void sensorSimulator_c::setBuildTime(const QString& p_strTime)
{
    m_strBuildTime = p_strTime;
}

QString sensorSimulator_c::buildTime() const
{
    return m_strBuildTime;
}

void sensorSimulator_c::setCapacity(int p_nCapacity)
{
    m_store.setCapacity(p_nCapacity);
}

int sensorSimulator_c::capacity() const
{
    return m_store.capacity();
}

// --- The finger on the sensor ------------------------------------------------------------------------

void sensorSimulator_c::setFinger(int p_nPid, int p_nFid)
{
    m_bFingerPresent = true;
    m_nFingerPid = p_nPid;
    m_nFingerFid = p_nPid == 0 ? -1 : p_nFid;
    if ((m_nOperation == operationSearch || m_nOperation == operationMatchId) && !m_bFingerReported)
    {
        advanceSearch();
    }
}

void sensorSimulator_c::setStrangerFinger()
{
    setFinger(0, -1);
}

void sensorSimulator_c::removeFinger()
{
    m_bFingerPresent = false;
    m_nFingerPid = 0;
    m_nFingerFid = -1;
}

bool sensorSimulator_c::isFingerPresent() const
{
    return m_bFingerPresent;
}

int sensorSimulator_c::fingerPid() const
{
    return m_nFingerPid;
}

int sensorSimulator_c::fingerFid() const
{
    return m_nFingerFid;
}

void sensorSimulator_c::setScanValue(int p_nValue)
{
    m_nScanValue = p_nValue;
}

void sensorSimulator_c::setSearchTwo(bool p_bOn)
{
    m_bSearchTwo = p_bOn;
}

void sensorSimulator_c::setMatchingSecurityLevels(const QSet<int>& p_setLevels)
{
    m_setMatchingLevels = p_setLevels;
}

int sensorSimulator_c::securityLevel() const
{
    return m_nSecurityLevel;
}

bool sensorSimulator_c::isLedOn() const
{
    return m_bLedOn;
}

void sensorSimulator_c::setSearchDelay(int p_nMs)
{
    m_nSearchDelayMs = qMax(0, p_nMs);
}

void sensorSimulator_c::setSearchTimeout(int p_nMs)
{
    m_nSearchTimeoutMs = qMax(0, p_nMs);
}

void sensorSimulator_c::setMatchDelay(int p_nMs)
{
    m_nMatchDelayMs = qMax(-1, p_nMs);
}

void sensorSimulator_c::setScanDelay(int p_nMs)
{
    m_nScanDelayMs = qMax(0, p_nMs);
}

// --- Real timing -------------------------------------------------------------------------------------

void sensorSimulator_c::setRealTiming(bool p_bOn)
{
    m_bRealTiming = p_bOn;
    setLineRatePacing(p_bOn);
}

bool sensorSimulator_c::isRealTiming() const
{
    return m_bRealTiming;
}

qint64 sensorSimulator_c::lastAbortAt() const
{
    return m_nLastAbortAt;
}

QList<qint64> sensorSimulator_c::commandTimes() const
{
    return m_lstCommandTimes;
}

qint64 sensorSimulator_c::elapsed() const
{
    return m_clock.elapsed();
}

// --- Misbehaviour ------------------------------------------------------------------------------------

void sensorSimulator_c::corruptNextChecksum()
{
    m_bCorruptNextChecksum = true;
}

void sensorSimulator_c::setSilent(bool p_bSilent)
{
    m_bSilent = p_bSilent;
}

bool sensorSimulator_c::isSilent() const
{
    return m_bSilent;
}

void sensorSimulator_c::silenceNextCommands(int p_nCommands)
{
    m_nSilentCommands = qMax(0, p_nCommands);
}

quint32 sensorSimulator_c::announcedSum(quint32 p_nSum)
{
    if (!m_bCorruptNextChecksum)
    {
        return p_nSum;
    }
    m_bCorruptNextChecksum = false;
    return p_nSum + 1u;
}

// --- Recording ---------------------------------------------------------------------------------------

QByteArray sensorSimulator_c::received() const
{
    return m_baReceived;
}

QByteArrayList sensorSimulator_c::overtakingCommands() const
{
    return m_lstOvertaking;
}

QByteArrayList sensorSimulator_c::commands() const
{
    return m_lstCommands;
}

QByteArray sensorSimulator_c::sent() const
{
    return m_pTerminal->sent();
}

void sensorSimulator_c::clearRecording()
{
    m_baReceived.clear();
    m_lstCommands.clear();
    m_lstCommandTimes.clear();
    m_lstOvertaking.clear();
    m_lstLateAnswers.clear();
    m_pTerminal->clearSent();
}

quint32 sensorSimulator_c::checksum(const QByteArray& p_baBytes)
{
    quint32 nSum = 0;
    for (char ch : p_baBytes)
    {
        nSum += quint8(ch);
    }
    return nSum;
}

// --- Lines, aborts and silence -----------------------------------------------------------------------

bool sensorSimulator_c::consumeSilence()
{
    if (m_bSilent)
    {
        return true;
    }
    if (m_nSilentCommands > 0)
    {
        --m_nSilentCommands;
        return true;
    }
    return false;
}

void sensorSimulator_c::handleAbort()
{
    const QByteArray baAbort(1, c_chAbort);
    m_lstCommands.append(baAbort);
    m_lstCommandTimes.append(m_clock.elapsed());
    emit commandReceived(baAbort);
    if (!m_pTerminal->isOpen() || consumeSilence())
    {
        return;
    }
    // The module stops what it waits for and says nothing, or answers it later when it finishes late.
    detachOperation();
    stopOperation();
    m_nLastAbortAt = m_clock.elapsed();
    if (m_bRealTiming)
    {
        sendAbortTail();
    }
}

void sensorSimulator_c::handleLine(const QByteArray& p_baLine)
{
    if (p_baLine.isEmpty())
    {
        return;
    }
    m_lstCommands.append(p_baLine);
    m_lstCommandTimes.append(m_clock.elapsed());
    emit commandReceived(p_baLine);
    if (!m_pTerminal->isOpen() || consumeSilence())
    {
        return;
    }
    executeCommand(p_baLine);
}

// --- Commands ----------------------------------------------------------------------------------------

void sensorSimulator_c::executeCommand(const QByteArray& p_baLine)
{
    const QList<QByteArray> lstWords = p_baLine.simplified().split(' ');
    const QByteArray baVerb = lstWords.value(0);
    const QByteArray baSub = lstWords.value(1);

    if (baVerb == "kvc")
    {
        handleIpcRequest(lstWords);
        return;
    }
    // The module does one thing at a time: a new command ends whatever still waits. A peer that sends one
    // while a scan, search, match or enrolment still works, without an abort before, did not wait for
    // the reply.
    if (m_nOperation != operationNone || m_pScanTimer->isActive())
    {
        m_lstOvertaking.append(p_baLine);
    }
    stopOperation();

    if (baVerb == "model_fw")
    {
        reply("=OK " + m_strFirmware.toLocal8Bit());
    }
    else if (baVerb == "date")
    {
        reply("=OK " + m_strBuildDate.toLocal8Bit());
    }
    else if (baVerb == "time")
    {
        reply("=OK " + m_strBuildTime.toLocal8Bit());
    }
    else if (baVerb == "LedOn" || baVerb == "LedOff")
    {
        m_bLedOn = baVerb == "LedOn";
        reply("=OK " + baVerb);
    }
    else if (baVerb == "scan")
    {
        if (m_nScanDelayMs > 0)
        {
            m_pScanTimer->start(m_nScanDelayMs);
        }
        else
        {
            slotScanTimer();
        }
    }
    else if (baVerb == "max")
    {
        reply("=OK " + QByteArray::number(m_store.capacity()));
    }
    else if (baVerb == "temp_set")
    {
        reply(baSub == "1" || baSub == "2" ? "=OK " + baSub : QByteArray("=NO CMDERR"));
    }
    else if (baVerb == "search")
    {
        startSearch(operationSearch, wordToInt(lstWords, 1));
    }
    else if (baVerb == "matchId")
    {
        startSearch(operationMatchId, wordToInt(lstWords, 1));
    }
    else if (baVerb == "FpSecurity")
    {
        bool bOk = false;
        const int nLevel = baSub.toInt(&bOk);
        if (bOk && nLevel >= 0 && nLevel <= 2)
        {
            m_nSecurityLevel = nLevel;
            reply("=OK");
        }
        else
        {
            reply("=NO FpSecurity Range");
        }
    }
    else if (baVerb.startsWith("read_image") && lstWords.size() == 1)
    {
        bool bOk = false;
        const QByteArray baMode = baVerb.mid(int(qstrlen("read_image")));
        const int nMode = baMode.isEmpty() ? 1 : baMode.toInt(&bOk);
        sendImage(baMode.isEmpty() || bOk ? nMode : -1);
    }
    else if (baVerb == "enroll_dupfp")
    {
        startEnroll(lstWords);
    }
    else if (baVerb == "reg")
    {
        executeRegCommand(lstWords);
    }
    else
    {
        reply("=NO CMDERR");
    }
}

// --- Search and matchId ------------------------------------------------------------------------------

void sensorSimulator_c::startSearch(operation_t p_nOperation, int p_nArgument)
{
    m_nOperation = p_nOperation;
    m_nOperationPid = p_nOperation == operationMatchId ? p_nArgument : 0;
    m_nOperationGroup = p_nOperation == operationSearch ? p_nArgument : 0;
    m_bFingerReported = false;
    reply("=OK Ready");
    if (!m_bFingerPresent && m_nSearchTimeoutMs > 0)
    {
        scheduleOperation(m_nSearchTimeoutMs);
    }
    advanceSearch();
}

void sensorSimulator_c::advanceSearch()
{
    if (!m_bFingerPresent || m_bFingerReported)
    {
        return;
    }
    m_bFingerReported = true;
    m_pOperationTimer->stop();
    reply("=OK FP");
    const int nDelayMs =
        m_nOperation == operationMatchId && m_nMatchDelayMs >= 0 ? m_nMatchDelayMs : m_nSearchDelayMs;
    if (nDelayMs > 0)
    {
        scheduleOperation(nDelayMs);
        return;
    }
    finishSearch();
}

void sensorSimulator_c::finishSearch()
{
    const operation_t nOperation = m_nOperation;
    stopOperation();
    if (nOperation == operationSearch || nOperation == operationMatchId)
    {
        reply(searchResult(nOperation, m_nOperationGroup, m_nOperationPid));
    }
}

QByteArray sensorSimulator_c::searchResult(operation_t p_nOperation, int p_nGroup, int p_nPid) const
{
    const storedTemplate_c* pTmpl =
        m_bFingerPresent && m_nFingerPid != 0 ? m_store.find(m_nFingerPid, m_nFingerFid) : nullptr;
    const QByteArray baWho =
        "ID=" + QByteArray::number(m_nFingerPid) + ", BKNum=" + QByteArray::number(m_nFingerFid);
    if (p_nOperation == operationMatchId)
    {
        const bool bMatch = pTmpl && m_nFingerPid == p_nPid && m_setMatchingLevels.contains(m_nSecurityLevel);
        return bMatch ? "=OK MatchId " + baWho : QByteArray("=NO MatchId NotMatched");
    }
    const bool bFound = pTmpl && (p_nGroup == 0 || pTmpl->m_nGroup == p_nGroup);
    return bFound ? (m_bSearchTwo ? "=OK Search2 " : "=OK Search ") + baWho
                  : QByteArray("=NO Search NotFound");
}

QByteArray sensorSimulator_c::searchTimeout(operation_t p_nOperation)
{
    return p_nOperation == operationSearch ? "=NO Search Timeout" : "=NO MatchId Timeout";
}

// --- Operation timing --------------------------------------------------------------------------------

void sensorSimulator_c::scheduleOperation(int p_nMs)
{
    m_pOperationTimer->start(qMax(0, p_nMs));
}

void sensorSimulator_c::stopOperation()
{
    m_nOperation = operationNone;
    m_nPlacements = 0;
    m_bFingerReported = false;
    m_pOperationTimer->stop();
    m_pScanTimer->stop();
}

void sensorSimulator_c::slotScanTimer()
{
    reply(m_bFingerPresent ? "=OK " + QByteArray::number(m_nScanValue) : QByteArray("=NO NoFinger"));
}

void sensorSimulator_c::slotOperationTimer()
{
    switch (m_nOperation)
    {
    case operationSearch:
    case operationMatchId:
        if (m_bFingerReported)
        {
            finishSearch();
        }
        else
        {
            const operation_t nOperation = m_nOperation;
            stopOperation();
            reply(searchTimeout(nOperation));
        }
        break;
    case operationEnroll:
        advanceEnroll();
        break;
    case operationNone:
        break;
    }
}

// --- Sending -----------------------------------------------------------------------------------------

void sensorSimulator_c::reply(const QByteArray& p_baLine)
{
    queueOutput(p_baLine + "\r\n");
}

} // namespace simulator_n
