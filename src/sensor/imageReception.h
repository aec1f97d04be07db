// Follows an image reply while it grows chunk by chunk, so that each chunk costs only its own bytes.
#pragma once

#include "sensor/replyFormat.h"

namespace sensor_n
{

// Remembers where the header was found, what it says and the checksum of the payload bytes summed so far.
// Its results equal parseImageHeader and payloadChecksum applied to the whole buffer after every chunk;
// it only spares the image reader from scanning and summing the same bytes again for every chunk, which
// with small chunks made the reception of one picture cost time in the square of its size.
class imageReception_c
{
public:
    // Forgets everything: the next update starts on a new buffer.
    void reset();

    // Catches up with the buffer. It must hold the bytes of the previous call unchanged, possibly followed
    // by more; a buffer that was emptied or replaced needs reset() first.
    void update(const QByteArray& p_baBuffer);

    const imageHeader_t& header() const { return m_header; }
    // Bytes after the header's CR LF (0 while the header is incomplete).
    qint64 payloadSize() const { return m_nSummed; }
    // The checksum of those bytes.
    quint32 payloadSum() const { return m_nSum; }

private:
    imageHeader_t m_header;
    qint64 m_nOk = -1;         // index of the first "=OK", -1 while none has arrived
    qint64 m_nOkSearched = 0;  // bytes searched for "=OK" without finding it
    qint64 m_nEndSearched = 0; // bytes searched for the header's CR LF without finding it
    qint64 m_nSummed = 0;
    quint32 m_nSum = 0;
};

} // namespace sensor_n
