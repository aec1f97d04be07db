#include "sensor/imageReception.h"

#include <algorithm>

namespace sensor_n
{

void imageReception_c::reset()
{
    *this = imageReception_c();
}

void imageReception_c::update(const QByteArray& p_baBuffer)
{
    const qint64 nSize = p_baBuffer.size();
    if (!m_header.bComplete)
    {
        if (m_nOk < 0)
        {
            // A marker may straddle the end of the part already searched.
            const int nFrom = static_cast<int>(std::max<qint64>(0, m_nOkSearched - 2));
            m_nOk = p_baBuffer.indexOf("=OK", nFrom);
            m_nOkSearched = nSize;
        }
        // The first "=OK" stays the first: at index 0 the reply is never read, as the whole-buffer parse
        // decides.
        if (m_nOk < 1)
        {
            return;
        }
        const int nFrom = static_cast<int>(std::max<qint64>(m_nOk, m_nEndSearched - 1));
        const bool bEnd = p_baBuffer.indexOf("\r\n", nFrom) >= 0;
        m_nEndSearched = nSize;
        if (!bEnd)
        {
            return;
        }
        m_header = parseImageHeader(p_baBuffer);
        m_nSummed = 0;
        m_nSum = 0;
        if (!m_header.bComplete)
        {
            return;
        }
    }
    const qint64 nStart = m_header.nPayloadOffset + m_nSummed;
    if (nSize > nStart)
    {
        m_nSum += payloadChecksum(p_baBuffer.constData() + nStart, nSize - nStart);
        m_nSummed = nSize - m_header.nPayloadOffset;
    }
}

} // namespace sensor_n
