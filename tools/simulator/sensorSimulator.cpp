#include "sensorSimulator.h"

#include "fingerprintImage.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace simulator_n
{

namespace
{
// A command line longer than this is no command of the module; the excess is dropped.
constexpr int c_nMaxLineBytes = 4096;
constexpr char c_chAbort = 0x03;

int wordToInt(const QList<QByteArray>& p_lstWords, int p_nIndex, bool* p_pbPresent = nullptr)
{
    if (p_pbPresent)
    {
        *p_pbPresent = p_nIndex < p_lstWords.size();
    }
    // Text that is not a number counts as 0, as it would on the module.
    return p_nIndex < p_lstWords.size() ? p_lstWords.at(p_nIndex).toInt() : 0;
}
} // namespace

sensorSimulator_c::sensorSimulator_c(QObject* p_pParent)
    : QObject(p_pParent), m_pPumpTimer(new QTimer(this)), m_pOperationTimer(new QTimer(this)),
      m_pScanTimer(new QTimer(this))
{
    m_pPumpTimer->setSingleShot(true);
    m_pOperationTimer->setSingleShot(true);
    m_pScanTimer->setSingleShot(true);
    connect(m_pScanTimer, &QTimer::timeout, this, &sensorSimulator_c::slotScanTimer);
    m_clock.start();
    connect(m_pPumpTimer, &QTimer::timeout, this, &sensorSimulator_c::slotPumpOutput);
    connect(m_pOperationTimer, &QTimer::timeout, this, &sensorSimulator_c::slotOperationTimer);
}

sensorSimulator_c::~sensorSimulator_c()
{
    closeDescriptors();
}

// --- Pseudo-terminal ---------------------------------------------------------------------------------

bool sensorSimulator_c::open()
{
    if (m_nMasterFd >= 0)
    {
        m_strError = QStringLiteral("The simulator is already open on %1.").arg(m_strSlavePath);
        return false;
    }
    struct termios tio;
    std::memset(&tio, 0, sizeof(tio));
    cfmakeraw(&tio);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    cfsetispeed(&tio, B115200);
    cfsetospeed(&tio, B115200);
    int nMaster = -1;
    int nSlave = -1;
    if (::openpty(&nMaster, &nSlave, nullptr, &tio, nullptr) != 0)
    {
        m_strError =
            QStringLiteral("Cannot open a pseudo-terminal: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    char szName[256] = {};
    if (::ptsname_r(nMaster, szName, sizeof(szName)) != 0)
    {
        m_strError = QStringLiteral("Cannot name the pseudo-terminal: %1")
                         .arg(QString::fromLocal8Bit(strerror(errno)));
        ::close(nMaster);
        ::close(nSlave);
        return false;
    }
    ::fcntl(nMaster, F_SETFL, ::fcntl(nMaster, F_GETFL) | O_NONBLOCK);
    ::fcntl(nMaster, F_SETFD, FD_CLOEXEC);
    ::fcntl(nSlave, F_SETFD, FD_CLOEXEC);

    m_nMasterFd = nMaster;
    m_nSlaveFd = nSlave;
    m_strSlavePath = QString::fromLocal8Bit(szName);
    m_strError.clear();
    m_baLine.clear();
    m_bLastWasCr = false;
    m_baPendingInput.clear();
    m_clock.start();

    m_pReadNotifier = new QSocketNotifier(m_nMasterFd, QSocketNotifier::Read, this);
    connect(m_pReadNotifier, &QSocketNotifier::activated, this, &sensorSimulator_c::slotMasterReadable);
    m_pWriteNotifier = new QSocketNotifier(m_nMasterFd, QSocketNotifier::Write, this);
    m_pWriteNotifier->setEnabled(false);
    connect(m_pWriteNotifier, &QSocketNotifier::activated, this, &sensorSimulator_c::slotMasterWritable);
    return true;
}

QString sensorSimulator_c::slavePath() const
{
    return m_strSlavePath;
}

bool sensorSimulator_c::isOpen() const
{
    return m_nMasterFd >= 0;
}

QString sensorSimulator_c::errorString() const
{
    return m_strError;
}

void sensorSimulator_c::vanish()
{
    if (m_nMasterFd < 0)
    {
        return;
    }
    closeDescriptors();
    emit vanished();
}

void sensorSimulator_c::closeDescriptors()
{
    stopOperation();
    m_pPumpTimer->stop();
    m_baOutput.clear();
    // Notifiers go before their descriptor, or Qt polls a closed (and maybe reused) number.
    delete m_pReadNotifier;
    m_pReadNotifier = nullptr;
    delete m_pWriteNotifier;
    m_pWriteNotifier = nullptr;
    if (m_nMasterFd >= 0)
    {
        ::close(m_nMasterFd);
    }
    if (m_nSlaveFd >= 0)
    {
        ::close(m_nSlaveFd);
    }
    m_nMasterFd = -1;
    m_nSlaveFd = -1;
    m_strSlavePath.clear();
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
    m_nCapacity = qMax(0, p_nCapacity);
}

int sensorSimulator_c::capacity() const
{
    return m_nCapacity;
}

// --- Template store ----------------------------------------------------------------------------------

bool sensorSimulator_c::addTemplate(int p_nPid, int p_nFid, int p_nQuality, int p_nMinutiae, int p_nGroup,
                                    const QByteArray& p_baPayload)
{
    if (p_nPid == 0 || p_nFid < 0 || p_nFid > 9 || p_nGroup == 0 || hasTemplate(p_nPid, p_nFid) ||
        m_mapTemplates.size() >= m_nCapacity)
    {
        return false;
    }
    storedTemplate_c tmpl;
    tmpl.m_nPid = p_nPid;
    tmpl.m_nFid = p_nFid;
    tmpl.m_nGroup = p_nGroup;
    tmpl.m_nQuality = qBound(0, p_nQuality, 255);
    tmpl.m_nMinutiae = qBound(0, p_nMinutiae, 255);
    if (p_baPayload.isEmpty())
    {
        tmpl.m_baPayload = storedTemplate_c::makePayload(p_nPid, p_nFid, p_nQuality, p_nMinutiae);
    }
    else
    {
        tmpl.m_baPayload = p_baPayload;
        if (tmpl.m_baPayload.size() > storedTemplate_c::c_nQualityOffset)
        {
            tmpl.m_baPayload[storedTemplate_c::c_nQualityOffset] = char(tmpl.m_nQuality);
        }
        if (tmpl.m_baPayload.size() > storedTemplate_c::c_nMinutiaeOffset)
        {
            tmpl.m_baPayload[storedTemplate_c::c_nMinutiaeOffset] = char(tmpl.m_nMinutiae);
        }
    }
    m_mapTemplates.insert(qMakePair(p_nPid, p_nFid), tmpl);
    return true;
}

bool sensorSimulator_c::hasTemplate(int p_nPid, int p_nFid) const
{
    return m_mapTemplates.contains(qMakePair(p_nPid, p_nFid));
}

storedTemplate_c sensorSimulator_c::storedTemplate(int p_nPid, int p_nFid) const
{
    return m_mapTemplates.value(qMakePair(p_nPid, p_nFid));
}

bool sensorSimulator_c::removeTemplate(int p_nPid, int p_nFid)
{
    return m_mapTemplates.remove(qMakePair(p_nPid, p_nFid)) > 0;
}

void sensorSimulator_c::clearTemplates()
{
    m_mapTemplates.clear();
}

int sensorSimulator_c::templateCount() const
{
    return m_mapTemplates.size();
}

QList<QPair<int, int>> sensorSimulator_c::templateKeys() const
{
    return m_mapTemplates.keys();
}

const storedTemplate_c* sensorSimulator_c::findTemplate(int p_nPid, int p_nFid) const
{
    auto it = m_mapTemplates.constFind(qMakePair(p_nPid, p_nFid));
    return it == m_mapTemplates.constEnd() ? nullptr : &it.value();
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

void sensorSimulator_c::setAbortTail(int p_nBytes)
{
    m_nAbortTail = qMax(0, p_nBytes);
}

int sensorSimulator_c::abortTail() const
{
    return m_nAbortTail;
}

qint64 sensorSimulator_c::lastAbortAt() const
{
    return m_nLastAbortAt;
}

qint64 sensorSimulator_c::lastTailSentAt() const
{
    return m_nLastTailSentAt;
}

QList<qint64> sensorSimulator_c::commandTimes() const
{
    return m_lstCommandTimes;
}

qint64 sensorSimulator_c::elapsed() const
{
    return m_clock.elapsed();
}

// --- Enrolment ---------------------------------------------------------------------------------------

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

// --- Image -------------------------------------------------------------------------------------------

bool sensorSimulator_c::setImage(int p_nWidth, int p_nHeight, const QByteArray& p_baPixels)
{
    if (p_nWidth < 0 || p_nHeight < 0 || qint64(p_nWidth) * p_nHeight != p_baPixels.size())
    {
        return false;
    }
    m_nImageWidth = p_nWidth;
    m_nImageHeight = p_nHeight;
    m_baImage = p_baPixels;
    return true;
}

int sensorSimulator_c::imageWidth() const
{
    return m_nImageWidth;
}

int sensorSimulator_c::imageHeight() const
{
    return m_nImageHeight;
}

QByteArray sensorSimulator_c::imagePixels() const
{
    // The default picture is drawn only when somebody asks for it: most simulators never send one.
    return m_baImage.isNull() ? fingerprintImage(m_nImageWidth, m_nImageHeight) : m_baImage;
}

// --- Misbehaviour ------------------------------------------------------------------------------------

void sensorSimulator_c::setChunkSize(int p_nBytes)
{
    m_nChunkSize = qMax(0, p_nBytes);
}

void sensorSimulator_c::setChunkInterval(int p_nMs)
{
    m_nChunkIntervalMs = qMax(0, p_nMs);
}

void sensorSimulator_c::setLineRatePacing(bool p_bOn)
{
    m_bLineRatePacing = p_bOn;
    m_pacingClock.start();
    m_nPacedBytes = 0;
}

void sensorSimulator_c::injectBytes(const QByteArray& p_baBytes)
{
    queueOutput(p_baBytes);
}

void sensorSimulator_c::injectLine(const QByteArray& p_baLine)
{
    queueOutput(p_baLine + "\r\n");
}

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

// --- Industrial PC side ------------------------------------------------------------------------------

void sensorSimulator_c::setIpcAnswer(ipcAnswer_t p_nAnswer, int p_nErrorCode)
{
    m_nIpcAnswer = p_nAnswer;
    m_nIpcErrorCode = p_nErrorCode;
}

bool sensorSimulator_c::isComServerOpen() const
{
    return m_bComServerOpen;
}

QString sensorSimulator_c::comServerModule() const
{
    return m_strComServerModule;
}

void sensorSimulator_c::handleIpcRequest(const QList<QByteArray>& p_lstWords)
{
    const QByteArray baVerb = p_lstWords.value(1);
    const bool bOpen = baVerb == "open" && p_lstWords.size() == 10;
    const bool bClose = baVerb == "close" && p_lstWords.size() == 3;
    if (!bOpen && !bClose)
    {
        reply("=NO Error=" + QByteArray::number(c_nIpcMalformed));
        return;
    }
    switch (m_nIpcAnswer)
    {
    case ipcSilent:
        return;
    case ipcRefuse:
        reply("=NO Error=" + QByteArray::number(m_nIpcErrorCode));
        return;
    case ipcAccept:
        break;
    }
    m_bComServerOpen = bOpen;
    if (bOpen)
    {
        m_strComServerModule = QString::fromLatin1(p_lstWords.at(3));
    }
    reply("=OK ComServer");
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
    return m_baSent;
}

void sensorSimulator_c::clearRecording()
{
    m_baReceived.clear();
    m_lstCommands.clear();
    m_lstCommandTimes.clear();
    m_lstOvertaking.clear();
    m_baSent.clear();
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

// --- Receiving ---------------------------------------------------------------------------------------

void sensorSimulator_c::slotMasterReadable()
{
    char aBuffer[4096];
    for (;;)
    {
        const ssize_t n = ::read(m_nMasterFd, aBuffer, sizeof(aBuffer));
        if (n > 0)
        {
            receiveBytes(QByteArray(aBuffer, int(n)));
            // A test may have let the module vanish while it handled a command.
            if (m_nMasterFd < 0)
            {
                return;
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
        {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        {
            return;
        }
        // End of file or a hard error: the own slave descriptor should prevent both; stop listening rather
        // than spin on a descriptor that stays readable.
        m_strError = QStringLiteral("Reading the pseudo-terminal failed: %1")
                         .arg(QString::fromLocal8Bit(strerror(n < 0 ? errno : EIO)));
        m_pReadNotifier->setEnabled(false);
        return;
    }
}

void sensorSimulator_c::receiveBytes(const QByteArray& p_baBytes)
{
    // A slot on commandReceived or outputDrained may run an event loop that reads the master again: those
    // bytes came later and wait until the earlier ones are handled, so the recording keeps the wire order.
    m_baPendingInput += p_baBytes;
    if (m_bReceiving)
    {
        return;
    }
    m_bReceiving = true;
    while (!m_baPendingInput.isEmpty() && m_nMasterFd >= 0)
    {
        const QByteArray baBytes = m_baPendingInput;
        m_baPendingInput.clear();
        receiveInOrder(baBytes);
    }
    m_baPendingInput.clear();
    m_bReceiving = false;
}

void sensorSimulator_c::receiveInOrder(const QByteArray& p_baBytes)
{
    m_baReceived += p_baBytes;
    for (char ch : p_baBytes)
    {
        if (m_nMasterFd < 0)
        {
            return;
        }
        const bool bWasCr = m_bLastWasCr;
        m_bLastWasCr = false;
        if (ch == c_chAbort)
        {
            m_baLine.clear();
            handleAbort();
        }
        else if (ch == '\r')
        {
            m_bLastWasCr = true;
            handleLine(m_baLine);
            m_baLine.clear();
        }
        else if (ch == '\n')
        {
            // LF after CR ends nothing more; LF alone ends a line.
            if (!bWasCr)
            {
                handleLine(m_baLine);
                m_baLine.clear();
            }
        }
        else if (m_baLine.size() < c_nMaxLineBytes)
        {
            m_baLine.append(ch);
        }
    }
}

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
    if (m_nMasterFd < 0 || consumeSilence())
    {
        return;
    }
    // The module stops what it waits for and says nothing.
    stopOperation();
    m_nLastAbortAt = m_clock.elapsed();
    if (m_bRealTiming)
    {
        sendAbortTail();
    }
}

void sensorSimulator_c::sendAbortTail()
{
    // The module stops its reply at once, but what is already in the adapter and the driver still arrives,
    // in one piece after the adapter's latency.
    m_baOutput.truncate(m_nAbortTail);
    m_pPumpTimer->stop();
    const bool bPacing = m_bLineRatePacing;
    const int nChunkSize = m_nChunkSize;
    m_bLineRatePacing = false;
    m_nChunkSize = 0;
    writeSome();
    m_bLineRatePacing = bPacing;
    m_nChunkSize = nChunkSize;
    m_pacingClock.start();
    m_nPacedBytes = 0;
    m_nLastTailSentAt = m_clock.elapsed();
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
    if (m_nMasterFd < 0 || consumeSilence())
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
        reply("=OK " + QByteArray::number(m_nCapacity));
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

void sensorSimulator_c::executeRegCommand(const QList<QByteArray>& p_lstWords)
{
    const QByteArray baSub = p_lstWords.value(1);
    bool bHasPid = false;
    bool bHasFid = false;
    const int nPid = wordToInt(p_lstWords, 2, &bHasPid);
    const int nFid = wordToInt(p_lstWords, 3, &bHasFid);
    const bool bHasBoth = bHasPid && bHasFid;

    if (baSub == "/count")
    {
        reply("=OK " + QByteArray::number(m_mapTemplates.size()));
    }
    else if (baSub == "/list")
    {
        QByteArray baList;
        for (const storedTemplate_c& tmpl : qAsConst(m_mapTemplates))
        {
            baList += "=LIST " + QByteArray::number(tmpl.m_nPid) + ' ' + QByteArray::number(tmpl.m_nGroup) +
                      ' ' + QByteArray::number(tmpl.m_nFid) + ' ' + QByteArray::number(tmpl.m_nQuality) +
                      "\r\n";
        }
        // The empty line closes the list; a reader counting lines never sees it.
        queueOutput(baList + "\r\n");
    }
    else if (baSub == "/get" && bHasBoth)
    {
        sendTemplate(nPid, nFid);
    }
    else if (baSub == "/find" && bHasBoth)
    {
        const storedTemplate_c* pTmpl = findTemplate(nPid, nFid);
        reply(pTmpl ? "=OK Group=" + QByteArray::number(pTmpl->m_nGroup) : QByteArray("=NO Unreg"));
    }
    else if (baSub == "/clear")
    {
        m_mapTemplates.clear();
        reply("=OK Clear");
    }
    else if (baSub == "/del" && bHasBoth)
    {
        reply(removeTemplate(nPid, nFid) ? "=OK Del" : "=NO Unreg");
    }
    else
    {
        reply("=NO CMDERR");
    }
}

void sensorSimulator_c::sendTemplate(int p_nPid, int p_nFid)
{
    const storedTemplate_c* pTmpl = findTemplate(p_nPid, p_nFid);
    if (!pTmpl)
    {
        reply("=NO Unreg");
        return;
    }
    const QByteArray baHeader =
        "=OK Template ID=" + QByteArray::number(p_nPid) + " BKNum=" + QByteArray::number(p_nFid) +
        " Bytes=" + QByteArray::number(pTmpl->m_baPayload.size()) +
        " Sum=" + QByteArray::number(announcedSum(checksum(pTmpl->m_baPayload))) + "\r\n";
    queueOutput(baHeader + pTmpl->m_baPayload);
}

void sensorSimulator_c::sendImage(int p_nMode)
{
    if (p_nMode != 1 && p_nMode != 2)
    {
        queueOutput("\r\n=NO Image Mode\r\n");
        return;
    }
    const QByteArray baImage = imagePixels();
    // The reader expects at least one byte before the header line.
    const QByteArray baHeader = "\r\n=OK Image Width=" + QByteArray::number(m_nImageWidth) +
                                " Height=" + QByteArray::number(m_nImageHeight) +
                                " Sum=" + QByteArray::number(announcedSum(checksum(baImage))) + "\r\n";
    queueOutput(baHeader + baImage);
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
    const storedTemplate_c* pTmpl =
        m_bFingerPresent && m_nFingerPid != 0 ? findTemplate(m_nFingerPid, m_nFingerFid) : nullptr;
    const QByteArray baWho =
        "ID=" + QByteArray::number(m_nFingerPid) + ", BKNum=" + QByteArray::number(m_nFingerFid);
    if (nOperation == operationSearch)
    {
        const bool bFound = pTmpl && (m_nOperationGroup == 0 || pTmpl->m_nGroup == m_nOperationGroup);
        if (bFound)
        {
            reply((m_bSearchTwo ? "=OK Search2 " : "=OK Search ") + baWho);
        }
        else
        {
            reply("=NO Search NotFound");
        }
    }
    else if (nOperation == operationMatchId)
    {
        const bool bMatch =
            pTmpl && m_nFingerPid == m_nOperationPid && m_setMatchingLevels.contains(m_nSecurityLevel);
        reply(bMatch ? "=OK MatchId " + baWho : QByteArray("=NO MatchId NotMatched"));
    }
}

// --- Enrolment ---------------------------------------------------------------------------------------

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
    else if (hasTemplate(nPid, nFid))
    {
        reply("=NO DoubleFP");
    }
    else if (m_mapTemplates.size() >= m_nCapacity)
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
                while (m_nOperation == operationEnroll && m_nMasterFd >= 0)
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
    // The placed finger is compared with the store on its first placement, as the "dupfp" check does.
    const bool bKnownFinger =
        m_bFingerPresent && m_nFingerPid != 0 && hasTemplate(m_nFingerPid, m_nFingerFid);
    if (m_nPlacements == 1 && bKnownFinger)
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
    // The store may have changed while the placements went on.
    if (hasTemplate(nPid, nFid))
    {
        reply("=NO DoubleFP");
        return;
    }
    if (!addTemplate(nPid, nFid, m_nEnrollQuality, m_nEnrollMinutiae, nGroup))
    {
        reply("=NO Enroll Full");
        return;
    }
    // A stranger's finger now belongs to the person it was enrolled for.
    if (m_bFingerPresent && m_nFingerPid == 0)
    {
        m_nFingerPid = nPid;
        m_nFingerFid = nFid;
    }
    reply("=OK Enroll ID=" + QByteArray::number(nPid) + " Group=" + QByteArray::number(nGroup) +
          " BKNum=" + QByteArray::number(nFid) + " Quality=" + QByteArray::number(m_nEnrollQuality));
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
            reply(nOperation == operationSearch ? "=NO Search Timeout" : "=NO MatchId Timeout");
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

void sensorSimulator_c::queueOutput(const QByteArray& p_baBytes)
{
    if (m_nMasterFd < 0 || p_baBytes.isEmpty())
    {
        return;
    }
    if (m_baOutput.isEmpty() && m_bLineRatePacing)
    {
        // Pacing counts from the moment the line starts to carry bytes again.
        m_pacingClock.start();
        m_nPacedBytes = 0;
    }
    m_baOutput += p_baBytes;
    writeSome();
}

qint64 sensorSimulator_c::writableBudget()
{
    qint64 nBudget = m_baOutput.size();
    if (m_nChunkSize > 0)
    {
        nBudget = qMin<qint64>(nBudget, m_nChunkSize);
    }
    if (m_bLineRatePacing)
    {
        // Ten bit times per byte (start, eight data, stop).
        const qint64 nDue = m_pacingClock.nsecsElapsed() * (c_nLineBaud / 10) / 1000000000LL;
        nBudget = qMin(nBudget, nDue - m_nPacedBytes);
    }
    return qMax<qint64>(0, nBudget);
}

void sensorSimulator_c::writeSome()
{
    // A piece waits for its interval or the line rate, and a full pseudo-terminal for the write notifier.
    if (m_nMasterFd < 0 || m_pPumpTimer->isActive() || (m_pWriteNotifier && m_pWriteNotifier->isEnabled()))
    {
        return;
    }
    bool bWrote = false;
    while (!m_baOutput.isEmpty())
    {
        const qint64 nBudget = writableBudget();
        if (nBudget == 0)
        {
            m_pPumpTimer->start(1);
            return;
        }
        const ssize_t n = ::write(m_nMasterFd, m_baOutput.constData(), size_t(nBudget));
        if (n < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK)
            {
                m_pWriteNotifier->setEnabled(true);
                return;
            }
            m_strError = QStringLiteral("Writing the pseudo-terminal failed: %1")
                             .arg(QString::fromLocal8Bit(strerror(errno)));
            m_baOutput.clear();
            return;
        }
        bWrote = true;
        m_baSent += m_baOutput.left(int(n));
        m_baOutput.remove(0, int(n));
        m_nPacedBytes += n;
        if (m_nChunkSize > 0 && !m_baOutput.isEmpty())
        {
            m_pPumpTimer->start(m_nChunkIntervalMs);
            return;
        }
    }
    if (bWrote)
    {
        emit outputDrained();
    }
}

void sensorSimulator_c::slotPumpOutput()
{
    writeSome();
}

void sensorSimulator_c::slotMasterWritable()
{
    m_pWriteNotifier->setEnabled(false);
    writeSome();
}

} // namespace simulator_n
