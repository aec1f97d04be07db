// Reply lines and payload headers of the sensor module (Qt Core only, so they can be tested and fuzzed
// alone).
#pragma once

#include "sensor/sensorProtocol.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace sensor_n
{

// The reply lines in a buffer: cut at every CR LF, each decoded up to its first NUL byte, empty ones dropped.
// Bytes after the last CR LF are not looked at.
QStringList replyLines(const QByteArray& p_baBuffer);

// Text of a byte block up to its first NUL byte.
QString textUpToNul(const QByteArray& p_baBytes);

// The additive payload checksum: unsigned bytes summed into a wrapping 32-bit value.
quint32 payloadChecksum(const char* p_pData, qint64 p_nSize);
inline quint32 payloadChecksum(const QByteArray& p_baData)
{
    return payloadChecksum(p_baData.constData(), p_baData.size());
}

// The label an unexpected reply line of this command is recorded with; empty where lines are not recorded.
QString unexpectedLabel(command_t p_nCommand);

// The message for an enrolment refusal line, or an empty text when the line is no known refusal.
QString enrollRefusalText(const QString& p_strLine);

// The header of a template transfer ("=OK ... Bytes=n Sum=s" CR LF, then the payload).
struct templateHeader_t
{
    bool bHasBytes = false;
    bool bHasSum = false;
    bool bHasLineEnd = false;
    qint32 nCount = 0;         // announced payload size (0 when not a number)
    QString strSum;            // announced checksum text
    qint32 nPayloadOffset = 0; // first byte after the header's CR LF
};
templateHeader_t parseTemplateHeader(const QByteArray& p_baBuffer);

// The header of an image transfer: at least one byte, then "=OK ... Width=w Height=h Sum=s" CR LF.
struct imageHeader_t
{
    bool bComplete = false; // header and its CR LF have arrived
    QString strHeader;      // from "=OK" up to the CR LF
    qint32 nWidth = -1;
    qint32 nHeight = -1;
    quint32 nSum = 0;
    qint32 nPayloadOffset = 0;
    QStringList lstDebug; // "PROCESSING"/"Ignoring" notes, one per token

    // Width x height in 64 bits; -1 when the header cannot describe a picture (missing, zero, negative
    // or too large a size), so no payload is ever accepted for it.
    qint64 expectedSize() const;
};
imageHeader_t parseImageHeader(const QByteArray& p_baBuffer);

// The largest picture the image reader accepts, in bytes (far above any sensor's image).
constexpr qint64 maxImageBytes = 64 * 1024 * 1024;

} // namespace sensor_n
