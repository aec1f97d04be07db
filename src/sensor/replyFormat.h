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

// What a reply line is to a command, read from that command's table of answer forms.
enum class answerKind_t
{
    None,     // no answer form of this command nor a known answer of another one
    Foreign,  // the known answer of another command: never this command's reply, whatever runs
    Progress, // this command's own line that finishes nothing ("=OK Ready", a placement of an enrolment)
    Final,    // this command's answer: it completes the command with strText
};
struct answer_t
{
    answerKind_t nKind = answerKind_t::None;
    QString strText; // Final: the reply text the completion gets
    // Enrolment lines: 1 to 3 the placement the module waits for now, 4 the third one done, 5 the
    // enrolment finished, 99 refused; 0 for every other command.
    int nStep = 0;
};
answer_t answerTo(command_t p_nCommand, const QString& p_strLine);
// The same in two steps, for a line read for many commands: which commands' forms name it, then what it is
// to one of them.
struct answerNames_t
{
    quint32 nTables = 0;
};
answerNames_t namesOf(const QString& p_strLine);
answer_t answerTo(command_t p_nCommand, const QString& p_strLine, answerNames_t p_names);
// Whether a line that is no answer of the running command is recorded as unexpected also when it has no
// known form at all: the template, image and enrolment readers and a few others pass such lines by.
bool recordsUnknownLines(command_t p_nCommand);
// The operations the module may still finish after the abort byte, and answer late: a search, a match or
// an enrolment step.
bool answersLate(command_t p_nCommand);
// Two commands whose answers have the same forms (Search and SearchNoLed, MatchId and MatchIdNoLed, ...).
bool sameAnswers(command_t p_nFirst, command_t p_nSecond);
// The quality in percent an enrolment line reports: the text 8 characters after "Quality" (the word and
// one separator), as a number (0 when it is none); -1 when the line names no quality.
int enrolmentQuality(const QString& p_strLine);

// A search reply as the window reads it: the person and finger between " ID=" and ", BKNum=", "Search2" for
// a second-stage match, and "=NO" anywhere for a finger not recognised.
struct searchResult_t
{
    bool bNamed = false; // " ID=" (not at the line's start) and ", BKNum=" are there
    QString strPid;
    int nFid = -1;
    bool bSecondStage = false;
    bool bRefused = false;
    bool recognised() const { return bNamed && !bRefused; }
};
searchResult_t readSearchResult(const QString& p_strReply);

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
