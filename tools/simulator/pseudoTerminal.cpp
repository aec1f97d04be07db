#include "pseudoTerminal.h"
#include "sensorSimulator.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
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
} // namespace

// --- The pseudo-terminal -----------------------------------------------------------------------------

pseudoTerminal_c::pseudoTerminal_c(QObject* p_pParent) : QObject(p_pParent), m_pPumpTimer(new QTimer(this))
{
    m_pPumpTimer->setSingleShot(true);
    connect(m_pPumpTimer, &QTimer::timeout, this, &pseudoTerminal_c::slotPumpOutput);
}

pseudoTerminal_c::~pseudoTerminal_c()
{
    close();
}

bool pseudoTerminal_c::open()
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
    m_baPendingInput.clear();

    m_pReadNotifier = new QSocketNotifier(m_nMasterFd, QSocketNotifier::Read, this);
    connect(m_pReadNotifier, &QSocketNotifier::activated, this, &pseudoTerminal_c::slotMasterReadable);
    m_pWriteNotifier = new QSocketNotifier(m_nMasterFd, QSocketNotifier::Write, this);
    m_pWriteNotifier->setEnabled(false);
    connect(m_pWriteNotifier, &QSocketNotifier::activated, this, &pseudoTerminal_c::slotMasterWritable);
    return true;
}

void pseudoTerminal_c::close()
{
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

bool pseudoTerminal_c::isOpen() const
{
    return m_nMasterFd >= 0;
}

QString pseudoTerminal_c::slavePath() const
{
    return m_strSlavePath;
}

QString pseudoTerminal_c::errorString() const
{
    return m_strError;
}

QByteArray pseudoTerminal_c::sent() const
{
    return m_baSent;
}

void pseudoTerminal_c::clearSent()
{
    m_baSent.clear();
}

void pseudoTerminal_c::slotMasterReadable()
{
    char aBuffer[4096];
    for (;;)
    {
        const ssize_t n = ::read(m_nMasterFd, aBuffer, sizeof(aBuffer));
        if (n > 0)
        {
            deliver(QByteArray(aBuffer, int(n)));
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

void pseudoTerminal_c::deliver(const QByteArray& p_baBytes)
{
    // A slot on bytesReceived may run an event loop that reads the master again: those bytes came later
    // and wait until the earlier ones are handled, so the receiver sees the wire order.
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
        emit bytesReceived(baBytes);
    }
    m_baPendingInput.clear();
    m_bReceiving = false;
}

void pseudoTerminal_c::queueOutput(const QByteArray& p_baBytes)
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

void pseudoTerminal_c::flushHead(int p_nBytes)
{
    m_baOutput.truncate(qMax(0, p_nBytes));
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
}

void pseudoTerminal_c::setChunkSize(int p_nBytes)
{
    m_nChunkSize = qMax(0, p_nBytes);
}

void pseudoTerminal_c::setChunkInterval(int p_nMs)
{
    m_nChunkIntervalMs = qMax(0, p_nMs);
}

void pseudoTerminal_c::setLineRatePacing(bool p_bOn)
{
    m_bLineRatePacing = p_bOn;
    m_pacingClock.start();
    m_nPacedBytes = 0;
}

qint64 pseudoTerminal_c::writableBudget()
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

void pseudoTerminal_c::writeSome()
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

void pseudoTerminal_c::slotPumpOutput()
{
    writeSome();
}

void pseudoTerminal_c::slotMasterWritable()
{
    m_pWriteNotifier->setEnabled(false);
    writeSome();
}

// --- The simulator's side of the line ----------------------------------------------------------------

bool sensorSimulator_c::open()
{
    if (!m_pTerminal->open())
    {
        return false;
    }
    m_baLine.clear();
    m_bLastWasCr = false;
    m_clock.start();
    return true;
}

QString sensorSimulator_c::slavePath() const
{
    return m_pTerminal->slavePath();
}

bool sensorSimulator_c::isOpen() const
{
    return m_pTerminal->isOpen();
}

QString sensorSimulator_c::errorString() const
{
    return m_pTerminal->errorString();
}

void sensorSimulator_c::vanish()
{
    if (!m_pTerminal->isOpen())
    {
        return;
    }
    closeDescriptors();
    emit vanished();
}

void sensorSimulator_c::closeDescriptors()
{
    stopOperation();
    dropLateAnswers();
    m_pTerminal->close();
}

void sensorSimulator_c::setChunkSize(int p_nBytes)
{
    m_pTerminal->setChunkSize(p_nBytes);
}

void sensorSimulator_c::setChunkInterval(int p_nMs)
{
    m_pTerminal->setChunkInterval(p_nMs);
}

void sensorSimulator_c::setLineRatePacing(bool p_bOn)
{
    m_pTerminal->setLineRatePacing(p_bOn);
}

void sensorSimulator_c::injectBytes(const QByteArray& p_baBytes)
{
    queueOutput(p_baBytes);
}

void sensorSimulator_c::injectLine(const QByteArray& p_baLine)
{
    queueOutput(p_baLine + "\r\n");
}

void sensorSimulator_c::queueOutput(const QByteArray& p_baBytes)
{
    m_pTerminal->queueOutput(p_baBytes);
}

void sensorSimulator_c::setAbortTail(int p_nBytes)
{
    m_nAbortTail = qMax(0, p_nBytes);
}

int sensorSimulator_c::abortTail() const
{
    return m_nAbortTail;
}

qint64 sensorSimulator_c::lastTailSentAt() const
{
    return m_nLastTailSentAt;
}

void sensorSimulator_c::sendAbortTail()
{
    // The module stops its reply at once, but what is already in the adapter and the driver still arrives,
    // in one piece after the adapter's latency.
    m_pTerminal->flushHead(m_nAbortTail);
    m_nLastTailSentAt = m_clock.elapsed();
}

void sensorSimulator_c::receiveInOrder(const QByteArray& p_baBytes)
{
    m_baReceived += p_baBytes;
    for (char ch : p_baBytes)
    {
        if (!m_pTerminal->isOpen())
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

} // namespace simulator_n
