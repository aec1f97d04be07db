#include "sensor/replyFormat.h"

namespace sensor_n
{

QStringList replyLines(const QByteArray& p_baBuffer)
{
    QStringList lstLines;
    int nStart = 0;
    for (;;)
    {
        const int nEnd = p_baBuffer.indexOf("\r\n", nStart);
        if (nEnd < 0)
        {
            break;
        }
        const QString strLine = textUpToNul(p_baBuffer.mid(nStart, nEnd - nStart));
        if (!strLine.isEmpty())
        {
            lstLines.append(strLine);
        }
        nStart = nEnd + 2;
    }
    return lstLines;
}

QString textUpToNul(const QByteArray& p_baBytes)
{
    return QString::fromUtf8(p_baBytes.constData(),
                             static_cast<int>(qstrnlen(p_baBytes.constData(), p_baBytes.size())));
}

quint32 payloadChecksum(const char* p_pData, qint64 p_nSize)
{
    quint32 nSum = 0;
    const auto* pBytes = reinterpret_cast<const unsigned char*>(p_pData);
    for (qint64 i = 0; i < p_nSize; ++i)
    {
        nSum += pBytes[i];
    }
    return nSum;
}

QString unexpectedLabel(command_t p_nCommand)
{
    switch (p_nCommand)
    {
    case command_t::ModelFw:
        return QStringLiteral("model_fw ::> ");
    case command_t::Date:
        return QStringLiteral("date ::> ");
    case command_t::Time:
        return QStringLiteral("time ::> ");
    case command_t::LedOn:
    case command_t::LedOff:
        return QStringLiteral("led /on/off ::> ");
    case command_t::Scan:
        return QStringLiteral("scan ::> ");
    case command_t::RegCount:
        return QStringLiteral("reg /count ::> ");
    case command_t::Max:
        return QStringLiteral("max ::> ");
    case command_t::TempalteFormat:
        return QStringLiteral("template format ::> ");
    case command_t::Search:
        return QStringLiteral("search ::> ");
    case command_t::MatchId:
        return QStringLiteral("matchId ::> ");
    case command_t::RegFind:
        return QStringLiteral("reg /find ::> ");
    case command_t::RegClear:
        return QStringLiteral("reg /clear ::> ");
    case command_t::RegDel:
        return QStringLiteral("reg /del ::> ");
    default:
        return QString();
    }
}

QString enrollRefusalText(const QString& p_strLine)
{
    // Longer prefixes stand before the shorter ones they begin with.
    static const char* const aaszRefusals[][2] = {
        {"=NO DoubleFP", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Finger already enrolled.")},
        {"=NO Enroll", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Internal Error")},
        {"=NO ID=0", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Invalid PID specified")},
        {"=NO ID", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "No Personal ID specified")},
        {"=NO Group=0", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Invalid Group ID specified")},
        {"=NO Group", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "No Group ID specified")},
        {"=NO BKNum=OVER", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Invalid Finger ID specified")},
        {"=NO BKNum", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "No Finger ID specified")},
        {"=NO CMDERR", QT_TRANSLATE_NOOP("vindal01mainWindow_c", "Internal Error")},
    };
    for (const auto& aszRefusal : aaszRefusals)
    {
        if (p_strLine.startsWith(QLatin1String(aszRefusal[0])))
        {
            return QString::fromLatin1(aszRefusal[1]);
        }
    }
    return QString();
}

templateHeader_t parseTemplateHeader(const QByteArray& p_baBuffer)
{
    templateHeader_t header;
    const int nBytes = p_baBuffer.indexOf("Bytes=", 3);
    const int nSum = p_baBuffer.indexOf("Sum=", 3);
    const int nLineEnd = p_baBuffer.indexOf("\r\n", 3);
    header.bHasBytes = nBytes >= 0;
    header.bHasSum = nSum >= 0;
    header.bHasLineEnd = nLineEnd >= 0;
    if (!header.bHasBytes || !header.bHasSum || !header.bHasLineEnd)
    {
        return header;
    }
    QString strCount = textUpToNul(p_baBuffer.mid(nBytes + 6));
    const int nBlank = strCount.indexOf(QLatin1Char(' '));
    if (nBlank > 0)
    {
        strCount.truncate(nBlank);
    }
    QString strSum = textUpToNul(p_baBuffer.mid(nSum + 4));
    for (const QChar cCut : {QLatin1Char(' '), QLatin1Char('\r'), QLatin1Char('\n')})
    {
        const int nCut = strSum.indexOf(cCut);
        if (nCut > 0)
        {
            strSum.truncate(nCut);
        }
    }
    header.nCount = strCount.toInt();
    header.strSum = strSum;
    header.nPayloadOffset = nLineEnd + 2;
    return header;
}

qint64 imageHeader_t::expectedSize() const
{
    if (nWidth <= 0 || nHeight <= 0)
    {
        return -1;
    }
    const qint64 nSize = static_cast<qint64>(nWidth) * static_cast<qint64>(nHeight);
    return nSize <= maxImageBytes ? nSize : -1;
}

imageHeader_t parseImageHeader(const QByteArray& p_baBuffer)
{
    imageHeader_t header;
    const int nOk = p_baBuffer.indexOf("=OK");
    if (nOk < 1)
    {
        return header;
    }
    const int nLineEnd = p_baBuffer.indexOf("\r\n", nOk);
    if (nLineEnd < 1)
    {
        return header;
    }
    header.bComplete = true;
    header.strHeader = textUpToNul(p_baBuffer.mid(nOk, nLineEnd - nOk));
    header.nPayloadOffset = nLineEnd + 2;
    for (const QString& strPiece : header.strHeader.split(QLatin1Char(' ')))
    {
        const int nEquals = strPiece.indexOf(QLatin1Char('='));
        if (nEquals < 1)
        {
            continue;
        }
        const QString strKey = strPiece.left(nEquals).trimmed();
        const QString strValue = strPiece.mid(nEquals + 1).trimmed();
        header.lstDebug.append(QStringLiteral("PROCESSING %1 %2").arg(strKey, strValue));
        if (strKey == QLatin1String("Width"))
        {
            header.nWidth = strValue.toInt();
        }
        else if (strKey == QLatin1String("Height"))
        {
            header.nHeight = strValue.toInt();
        }
        else if (strKey == QLatin1String("Sum"))
        {
            header.nSum = strValue.toUInt();
        }
        else
        {
            header.lstDebug.append(QStringLiteral("Ignoring %1").arg(strPiece));
        }
    }
    return header;
}

} // namespace sensor_n
