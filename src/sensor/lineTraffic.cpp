#include "sensor/replyFormat.h"
#include "serialPort/loggingSerialPort.h"
#include "ui/diagnosticText.h"
#include "ui/vindal01mainWindow.h"

#include <QDebug>
#include <QPlainTextEdit>
#include <QTimer>

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

void vindal01mainWindow_c::writeOrHold(const QByteArray& p_baBytes)
{
    // Held writes keep their order: nothing overtakes a write that waits for the quiet line.
    if (m_bSettling || !m_lstHeldWrites.isEmpty())
    {
        m_lstHeldWrites.append(p_baBytes);
        return;
    }
    writeNow(p_baBytes);
}

void vindal01mainWindow_c::writeNow(const QByteArray& p_baBytes)
{
    const qint64 nWritten = m_pSerialPort->write(p_baBytes);
    if (isAbort(p_baBytes))
    {
        startSettling();
        return;
    }
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
    while (!m_lstHeldWrites.isEmpty() && m_pSerialPort != nullptr && !m_bSettling)
    {
        writeNow(m_lstHeldWrites.takeFirst());
    }
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
        if (m_bSettling)
        {
            // The rest of the interrupted reply: in the log and the traffic window, but in no reply. Past
            // the bound the quiet timer is left to run out, however much still comes.
            if (m_settleClock.elapsed() < maxSettleMs)
            {
                watchLine();
            }
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

void vindal01mainWindow_c::clearReplyBuffer()
{
    m_baReceived.clear();
    m_imageReception.reset();
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
    m_lstReplyLines += lstLines;
    return lstLines;
}
