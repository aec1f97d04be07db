// Fuzz target: reply lines, the template and image headers, and the image reception that follows a reply
// chunk by chunk (which must always agree with a parse of the whole buffer).
//
// Input layout: byte 0 chunk size for the reception (1 .. 256), then the reply bytes.
#include "fuzzSupport.h"
#include "sensor/imageReception.h"
#include "sensor/replyFormat.h"

#include <cstdlib>

using namespace sensor_n;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    fuzz_n::quietDebugChannel();
    if (p_nSize < 1)
        return 0;
    const int nChunk = int(p_pData[0]) + 1;
    const QByteArray baReply = fuzz_n::bytes(p_pData + 1, p_nSize - 1);

    for (const QString& strLine : replyLines(baReply))
    {
        if (strLine.isEmpty())
            std::abort();
        enrollRefusalText(strLine);
    }
    textUpToNul(baReply);

    const templateHeader_t templ = parseTemplateHeader(baReply);
    if (templ.bHasBytes && templ.bHasSum && templ.bHasLineEnd &&
        (templ.nPayloadOffset < 5 || templ.nPayloadOffset > baReply.size()))
        std::abort();

    imageReception_c reception;
    QByteArray baBuffer;
    for (int nAt = 0; nAt < baReply.size(); nAt += nChunk)
    {
        baBuffer.append(baReply.mid(nAt, nChunk));
        reception.update(baBuffer);
        const imageHeader_t header = parseImageHeader(baBuffer);
        if (reception.header().bComplete != header.bComplete)
            std::abort();
        if (!header.bComplete)
            continue;
        const qint64 nPayload = baBuffer.size() - header.nPayloadOffset;
        if (header.nPayloadOffset > baBuffer.size() || reception.header().strHeader != header.strHeader ||
            reception.header().nWidth != header.nWidth || reception.header().nHeight != header.nHeight ||
            reception.header().nSum != header.nSum || reception.payloadSize() != nPayload ||
            reception.payloadSum() != payloadChecksum(baBuffer.constData() + header.nPayloadOffset, nPayload))
        {
            std::abort();
        }
        if (header.expectedSize() == 0 || header.expectedSize() > maxImageBytes)
            std::abort();
    }

    // Command lines built from parameter texts the technician might type.
    const QString strText = QString::fromUtf8(baReply.left(32));
    const QVariantMap mapParams{{QStringLiteral("pid"), strText},    {QStringLiteral("fid"), strText},
                                {QStringLiteral("group"), strText},  {QStringLiteral("mode"), strText},
                                {QStringLiteral("format"), strText}, {QStringLiteral("value"), strText}};
    for (int nCommand = -1; nCommand <= 23; ++nCommand)
    {
        bool bInvalidPid = false;
        commandLine(static_cast<command_t>(nCommand), mapParams, &bInvalidPid);
        commandText(static_cast<command_t>(nCommand));
        unexpectedLabel(static_cast<command_t>(nCommand));
    }
    return 0;
}
