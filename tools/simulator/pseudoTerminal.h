// The simulated module's end of the line: a pseudo-terminal whose master it reads and writes.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

namespace simulator_n
{

// Serves the master side in the event loop of the owning thread, never blocking. It keeps its own
// descriptor of the slave side open, so a peer may open and close the slave as often as it likes without
// the master seeing a hang-up. Output is queued and leaves at once, in pieces or at the line rate.
class pseudoTerminal_c : public QObject
{
    Q_OBJECT

public:
    // The rate of the real line: 115200 baud, 8N1, ten bit times per byte.
    static constexpr int c_nLineBaud = 115200;

    explicit pseudoTerminal_c(QObject* p_pParent = nullptr);
    ~pseudoTerminal_c() override;

    // Opens a new pseudo-terminal (raw mode, master non-blocking). False (errorString() says why) when it
    // cannot, or when it is already open.
    bool open();
    // Closes master and slave and drops the queued output; the peer sees the device disappear.
    void close();
    bool isOpen() const;
    // The path of the slave side, empty while closed.
    QString slavePath() const;
    // The reason of the last failure of open(), of a read or of a write.
    QString errorString() const;

    // Queues bytes behind whatever output is still queued; nothing while closed.
    void queueOutput(const QByteArray& p_baBytes);
    // Drops the queued output but its first p_nBytes bytes and writes those at once, neither in pieces
    // nor paced: what is already in the adapter and the driver when the sender stops.
    void flushHead(int p_nBytes);
    // Pieces of at most p_nBytes bytes (0: whatever is queued), p_nMs apart (0: the next pass).
    void setChunkSize(int p_nBytes);
    void setChunkInterval(int p_nMs);
    // One byte per ten bit times of c_nLineBaud, driven by a timer.
    void setLineRatePacing(bool p_bOn);

    // Every byte written to the master, in order, until clearSent().
    QByteArray sent() const;
    void clearSent();

signals:
    // Bytes read from the master, in the order of the line. Never emitted while a slot on it still runs:
    // what a slot's own event loop reads waits until that slot returns.
    void bytesReceived(const QByteArray& p_baBytes);
    // All queued output has been written to the master.
    void outputDrained();

private slots:
    void slotMasterReadable();
    void slotMasterWritable();
    void slotPumpOutput();

private:
    void deliver(const QByteArray& p_baBytes);
    void writeSome();
    qint64 writableBudget();

    int m_nMasterFd = -1;
    int m_nSlaveFd = -1;
    QString m_strSlavePath;
    QString m_strError;
    QSocketNotifier* m_pReadNotifier = nullptr;
    QSocketNotifier* m_pWriteNotifier = nullptr;
    QTimer* m_pPumpTimer = nullptr;

    // Bytes read while an earlier read is still being handled (a slot that runs an event loop).
    QByteArray m_baPendingInput;
    bool m_bReceiving = false;

    int m_nChunkSize = 0;
    int m_nChunkIntervalMs = 0;
    bool m_bLineRatePacing = false;
    QElapsedTimer m_pacingClock;
    qint64 m_nPacedBytes = 0;

    QByteArray m_baOutput; // queued, not yet written
    QByteArray m_baSent;
};

} // namespace simulator_n
