#include "sensor/replyFormat.h"
#include "serialPort/loggingSerialPort.h"
#include "ui/diagnosticText.h"
#include "ui/vindal01mainWindow.h"

#include <QDebug>
#include <QPlainTextEdit>
#include <QTimer>

#include <algorithm>

using namespace sensor_n;

namespace
{

// After the abort byte the module stops its reply within a few dozen bytes (a few milliseconds at
// 115200 baud), but a USB adapter holds received bytes for up to 16 ms before it passes them on. A line
// quiet for twice that, with room for a busy event loop, has delivered the tail of the interrupted reply.
constexpr int quietMs = 40;
// A module that ignores the abort and keeps sending must not hold the dialogue back for longer than a
// blink: after this the held-back writes go out whatever still arrives.
constexpr int maxSettleMs = 400;
// A search, match or enrolment step the module was working on may still finish after the abort byte and
// answer up to half a second later; with the adapter's latency and a busy event loop on top, an answer
// that has not come after this will not come.
constexpr int lateAnswerMs = 600;

// No reply the dialogue waits for comes near the reply bound (a template list of tens of thousands of
// lines fits), and a picture may be as large as the image reader accepts, with room for its header.
qint64 receiveLimit(command_t p_nCommand, qint64 p_nReplyBytes)
{
    return p_nCommand == command_t::ReadImage ? maxImageBytes + p_nReplyBytes : p_nReplyBytes;
}

bool isAbort(const QByteArray& p_baBytes)
{
    return p_baBytes.size() == 1 && p_baBytes.at(0) == abortByte;
}

} // namespace

void vindal01mainWindow_c::writeOrHold(const QByteArray& p_baBytes, command_t p_nCommand)
{
    // Held writes keep their order: nothing overtakes a write that waits for the quiet line.
    m_lstHeldWrites.append({p_baBytes, p_nCommand, m_nDialogueStep});
    releaseHeldWrites();
}

void vindal01mainWindow_c::releaseHeldWrites()
{
    while (!m_lstHeldWrites.isEmpty() && !m_bSettling && portOpen())
    {
        // A command whose answers look like those of an aborted operation waits until that operation's late
        // answer has come or can no longer come: otherwise the late answer would pass for its own. One of a
        // chain given up meanwhile does not go out at all.
        const heldWrite_t& next = m_lstHeldWrites.first();
        const qint64 nWaitMs = lateAnswerWait(next.nCommand);
        if (nWaitMs > 0 && next.nStep < m_nChainLeftAt)
        {
            m_lstHeldWrites.removeFirst();
            continue;
        }
        if (nWaitMs > 0)
        {
            m_pLateAnswerTimer->start(static_cast<int>(nWaitMs));
            return;
        }
        const heldWrite_t write = m_lstHeldWrites.takeFirst();
        writeNow(write.baBytes, write.nCommand);
    }
}

void vindal01mainWindow_c::noteAbort()
{
    // Only an operation that is out on the line and has not answered yet can answer after the abort, and
    // only once however often it is aborted.
    if (answersLate(m_nOnWire) && !m_bOnWireAnswered)
    {
        m_vecLateAnswers.append({m_nOnWire, m_lateAnswerClock.elapsed() + lateAnswerMs});
    }
    m_bOnWireAnswered = true;
}

qint64 vindal01mainWindow_c::lateAnswerWait(command_t p_nCommand)
{
    const qint64 nNow = m_lateAnswerClock.elapsed();
    m_vecLateAnswers.erase(std::remove_if(m_vecLateAnswers.begin(), m_vecLateAnswers.end(),
                                          [nNow](const lateAnswer_t& p_late)
                                          { return p_late.nDueBy <= nNow; }),
                           m_vecLateAnswers.end());
    qint64 nWaitMs = 0;
    for (const lateAnswer_t& late : qAsConst(m_vecLateAnswers))
    {
        if (sameAnswers(late.nCommand, p_nCommand))
        {
            nWaitMs = qMax(nWaitMs, late.nDueBy - nNow);
        }
    }
    return nWaitMs;
}

bool vindal01mainWindow_c::takeLateAnswer(const QString& p_strLine)
{
    for (int i = 0; i < m_vecLateAnswers.size(); ++i)
    {
        const command_t nAborted = m_vecLateAnswers.at(i).nCommand;
        if (answerTo(nAborted, p_strLine).nKind == answerKind_t::Final)
        {
            qDebug() << "Late answer of the aborted" << commandText(nAborted) << p_strLine;
            m_vecLateAnswers.remove(i);
            m_sessionRecord.noteLateAnswer();
            if (nAborted == command_t::EnrollDupFP)
            {
                m_sessionRecord.noteLateEnrolment(p_strLine);
            }
            return true;
        }
    }
    return false;
}

void vindal01mainWindow_c::slotLateAnswerWindow()
{
    // The late answer may already be in the driver without its readyRead having come.
    if (portOpen())
    {
        m_pSerialPort->waitForReadyRead(0);
    }
    readPending();
    releaseHeldWrites();
}

void vindal01mainWindow_c::strayLine(const QString& p_strLine, bool p_bRecord)
{
    const bool bLate = takeLateAnswer(p_strLine);
    if (bLate || p_bRecord)
    {
        addUnexpectedResponse(unexpectedLabel(m_nCommand) + p_strLine, !bLate);
    }
}

void vindal01mainWindow_c::writeNow(const QByteArray& p_baBytes, command_t p_nCommand)
{
    if (isAbort(p_baBytes))
    {
        noteAbort();
    }
    const qint64 nWritten = m_pSerialPort->write(p_baBytes);
    if (isAbort(p_baBytes))
    {
        startSettling();
        return;
    }
    if (p_nCommand != command_t::NoCommand)
    {
        m_nOnWire = p_nCommand;
        m_bOnWireAnswered = false;
    }
    // What came before this command went out belongs to no reply.
    m_baStray.clear();
    diagnosticText_n::appendPlainTextSoon(m_pSerialCommands, QStringLiteral("W ") + textUpToNul(p_baBytes));
    if (nWritten == p_baBytes.size())
    {
        m_pIdleTimer->stop();
        m_pIdleTimer->start(2500);
    }
    else
    {
        qDebug() << "sendCommand(): Could only send" << nWritten << "of" << p_baBytes.size() << "bytes!";
    }
}

void vindal01mainWindow_c::startSettling()
{
    if (m_pQuietTimer == nullptr)
    {
        m_pQuietTimer = new QTimer(this);
        m_pQuietTimer->setSingleShot(true);
        connect(m_pQuietTimer, &QTimer::timeout, this, &vindal01mainWindow_c::slotLineQuiet);
    }
    m_bSettling = true;
    m_settleClock.start();
    watchLine();
}

void vindal01mainWindow_c::watchLine()
{
    m_pQuietTimer->start(quietMs);
    m_quietClock.start();
}

void vindal01mainWindow_c::dropHeldWrites()
{
    m_bSettling = false;
    m_lstHeldWrites.clear();
    m_baStray.clear();
    m_pLateAnswerTimer->stop();
    if (m_pQuietTimer != nullptr)
    {
        m_pQuietTimer->stop();
    }
}

void vindal01mainWindow_c::slotLineQuiet()
{
    if (m_pSerialPort == nullptr || !m_pSerialPort->isOpen())
    {
        dropHeldWrites();
        return;
    }
    // Bytes the driver holds but whose readyRead has not come yet (or cannot come inside a wait or a box)
    // are activity on the line as well.
    const bool bBusy = m_pSerialPort->bytesToWrite() > 0 || m_pSerialPort->waitForReadyRead(0) ||
                       m_pSerialPort->bytesAvailable() > 0;
    readPending();
    // A timer that comes far too late did not watch the line for its time: the event loop was held up,
    // and a reply on its way may not have been read yet.
    const bool bLate = m_quietClock.elapsed() > 2 * quietMs;
    if ((bBusy || bLate) && m_settleClock.elapsed() < maxSettleMs)
    {
        watchLine();
        return;
    }
    m_bSettling = false;
    releaseHeldWrites();
}

bool vindal01mainWindow_c::readPending()
{
    bool bRead = false;
    while (m_pSerialPort != nullptr)
    {
        const QByteArray baChunk = m_pSerialPort->read(1024);
        if (baChunk.isEmpty())
        {
            break;
        }
        bRead = true;
        m_pSerialPort->logData(0, baChunk);
        diagnosticText_n::appendPlainTextSoon(m_pSerialCommands, QStringLiteral("R ") + textUpToNul(baChunk));
        m_pWatchdogTimer->stop();
        m_pWatchdogTimer->start(5000);
        m_pIdleTimer->stop();
        m_pIdleTimer->start(2500);
        if (m_bSettling && m_settleClock.elapsed() < maxSettleMs)
        {
            // The rest of the interrupted reply is still on its way. Past the bound the quiet timer is left
            // to run out, however much still comes.
            watchLine();
        }
        if (m_bSettling || !m_lstHeldWrites.isEmpty())
        {
            // Before the running command has gone out nothing is its reply: the rest of an interrupted
            // reply, or the late answer of an aborted operation.
            takeStrayBytes(baChunk);
            continue;
        }
        m_baReceived.append(baChunk);
        if (m_baReceived.size() > receiveLimit(m_nCommand, m_storeBounds.nReplyBytes))
        {
            // A module that sends without end must not fill the memory during a long shift; the bytes
            // stay in the serial log, and a reply that follows is read from a fresh start.
            qDebug() << "slotReadReady(): no complete reply in" << m_baReceived.size() << "bytes, dropped";
            addUnexpectedResponse(
                QStringLiteral("%1 bytes without a complete reply dropped").arg(m_baReceived.size()));
            clearReplyBuffer();
        }
    }
    return bRead;
}

void vindal01mainWindow_c::takeStrayBytes(const QByteArray& p_baBytes)
{
    m_baStray.append(p_baBytes);
    bool bLate = false;
    for (int nEnd = m_baStray.indexOf("\r\n"); nEnd >= 0; nEnd = m_baStray.indexOf("\r\n"))
    {
        const QString strLine = textUpToNul(m_baStray.left(nEnd));
        m_baStray.remove(0, nEnd + 2);
        if (strLine.isEmpty())
        {
            continue;
        }
        // The tail of an interrupted reply is expected and not recorded; a late answer is, also there.
        const bool bLateAnswer = takeLateAnswer(strLine);
        bLate = bLate || bLateAnswer;
        if (bLateAnswer || !m_bSettling)
        {
            addUnexpectedResponse(strLine, !bLateAnswer);
        }
    }
    // Bounded like a reply: a module that streams while its line settles cannot fill the memory.
    if (m_baStray.size() > m_storeBounds.nReplyBytes)
    {
        m_baStray.clear();
    }
    if (bLate)
    {
        releaseHeldWrites();
    }
}

void vindal01mainWindow_c::clearReplyBuffer()
{
    m_baReceived.clear();
    m_imageReception.reset();
    m_bBadChecksumNoted = false;
    m_nParsedBytes = 0;
    m_nLineSearchFrom = 0;
    m_lstReplyLines.clear();
}

QStringList vindal01mainWindow_c::takeNewReplyLines()
{
    // Each line is taken once, and the search for a line end never walks the same bytes twice.
    QStringList lstLines;
    for (;;)
    {
        const int nEnd = m_baReceived.indexOf("\r\n", m_nLineSearchFrom);
        if (nEnd < 0)
        {
            m_nLineSearchFrom = qMax(m_nParsedBytes, m_baReceived.size() - 1);
            break;
        }
        const QString strLine = textUpToNul(m_baReceived.mid(m_nParsedBytes, nEnd - m_nParsedBytes));
        if (!strLine.isEmpty())
        {
            lstLines.append(strLine);
        }
        m_nParsedBytes = nEnd + 2;
        m_nLineSearchFrom = m_nParsedBytes;
    }
    return lstLines;
}
