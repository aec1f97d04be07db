#include "sensor/replyFormat.h"

#include <QVector>

#include <algorithm>

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

namespace
{

// How a form is matched against a reply line, always case-sensitively.
enum class match_t : quint8
{
    Prefix,  // the line begins with the text
    Equal,   // the line is the text
    Trimmed, // the line without white space at its ends is the text
    Any,     // every line
};

// What the command gets from a line of this form.
enum class take_t : quint8
{
    Skip,  // an intermediate line (Progress)
    Rest,  // Final: the line without its first three characters, trimmed
    Line,  // Final: the whole line
    One,   // Final: "1"
    Zero,  // Final: "0"
    Ok,    // Final: "=OK"
    Step1, // Progress, enrolment steps 1 to 4 (the placement the module waits for; 4: the third done)
    Step2,
    Step3,
    Step4,
    Enrolled, // Final, enrolment step 5
    Refused,  // Final, enrolment step 99
};

struct answerForm_t
{
    match_t nMatch;
    QLatin1String strText;
    take_t nTake;
    // The form names its command: a line of it is that command's answer and no other's. The others are
    // general ("=OK" and a value, "=NO" and a reason) and take a line only when no command names it.
    bool bNames;
};

// Each command's answer forms, those that name their command first.
const answerForm_t g_aInfoValue[] = {{match_t::Prefix, QLatin1String("=OK"), take_t::Rest, false}};
const answerForm_t g_aLed[] = {{match_t::Prefix, QLatin1String("=OK Led"), take_t::Line, true}};
const answerForm_t g_aScan[] = {{match_t::Prefix, QLatin1String("=NO NoFinger"), take_t::Rest, true},
                                {match_t::Prefix, QLatin1String("=NO Scan"), take_t::Rest, true},
                                {match_t::Prefix, QLatin1String("=OK"), take_t::Rest, false}};
const answerForm_t g_aSearch[] = {{match_t::Prefix, QLatin1String("=OK Ready"), take_t::Skip, true},
                                  {match_t::Prefix, QLatin1String("=OK FP"), take_t::Skip, true},
                                  {match_t::Prefix, QLatin1String("=OK Search"), take_t::Line, true},
                                  {match_t::Prefix, QLatin1String("=NO Search"), take_t::Line, true}};
const answerForm_t g_aMatch[] = {{match_t::Prefix, QLatin1String("=OK Ready"), take_t::Skip, true},
                                 {match_t::Prefix, QLatin1String("=OK FP"), take_t::Skip, true},
                                 {match_t::Prefix, QLatin1String("=OK MatchId"), take_t::Line, true},
                                 {match_t::Prefix, QLatin1String("=NO MatchId"), take_t::Line, true},
                                 {match_t::Prefix, QLatin1String("=NO"), take_t::Line, false}};
const answerForm_t g_aRegFind[] = {{match_t::Prefix, QLatin1String("=OK Group"), take_t::One, true},
                                   {match_t::Prefix, QLatin1String("=NO Unreg"), take_t::Zero, true}};
const answerForm_t g_aRegDel[] = {{match_t::Prefix, QLatin1String("=OK Del"), take_t::Line, true},
                                  {match_t::Prefix, QLatin1String("=NO Unreg"), take_t::Line, true},
                                  {match_t::Prefix, QLatin1String("=OK"), take_t::Line, false},
                                  {match_t::Prefix, QLatin1String("=NO"), take_t::Line, false}};
const answerForm_t g_aRegClear[] = {{match_t::Prefix, QLatin1String("=OK Clear"), take_t::Line, true},
                                    {match_t::Prefix, QLatin1String("=OK"), take_t::Line, false},
                                    {match_t::Prefix, QLatin1String("=NO"), take_t::Line, false}};
const answerForm_t g_aSecurity[] = {{match_t::Trimmed, QLatin1String("=OK"), take_t::Ok, false}};
// The refusals of an enrolment name it, but for the internal error, which the module gives any command
// it cannot read.
const answerForm_t g_aEnroll[] = {{match_t::Equal, QLatin1String("=OK Ready"), take_t::Step1, true},
                                  {match_t::Equal, QLatin1String("=FP 1"), take_t::Step2, true},
                                  {match_t::Equal, QLatin1String("=FP 2"), take_t::Step3, true},
                                  {match_t::Equal, QLatin1String("=FP 3"), take_t::Step4, true},
                                  {match_t::Prefix, QLatin1String("=OK Enroll"), take_t::Enrolled, true},
                                  {match_t::Prefix, QLatin1String("=NO DoubleFP"), take_t::Refused, true},
                                  {match_t::Prefix, QLatin1String("=NO Enroll"), take_t::Refused, true},
                                  {match_t::Prefix, QLatin1String("=NO ID"), take_t::Refused, true},
                                  {match_t::Prefix, QLatin1String("=NO Group"), take_t::Refused, true},
                                  {match_t::Prefix, QLatin1String("=NO BKNum"), take_t::Refused, true},
                                  {match_t::Prefix, QLatin1String("=NO"), take_t::Refused, false}};
const answerForm_t g_aRegList[] = {{match_t::Any, QLatin1String(""), take_t::Line, false}};
// The template and image readers follow their payloads themselves; before the header, a line is theirs
// when it could begin their answer.
const answerForm_t g_aPayload[] = {{match_t::Prefix, QLatin1String("=OK"), take_t::Line, false},
                                   {match_t::Prefix, QLatin1String("=NO"), take_t::Line, false}};

struct answerTable_t
{
    const answerForm_t* pForms = nullptr;
    int nForms = 0;
    bool bRecordsUnknown = true;
};

template <int N>
constexpr answerTable_t table(const answerForm_t (&p_aForms)[N], bool p_bRecordsUnknown = true)
{
    return {p_aForms, N, p_bRecordsUnknown};
}

answerTable_t answerTable(command_t p_nCommand)
{
    switch (p_nCommand)
    {
    case command_t::ModelFw:
    case command_t::Date:
    case command_t::Time:
    case command_t::RegCount:
    case command_t::Max:
    case command_t::TempalteFormat:
        return table(g_aInfoValue);
    case command_t::LedOn:
    case command_t::LedOff:
        return table(g_aLed);
    case command_t::Scan:
        return table(g_aScan);
    case command_t::Search:
        return table(g_aSearch);
    case command_t::SearchNoLed:
        return table(g_aSearch, false);
    case command_t::MatchId:
        return table(g_aMatch);
    case command_t::MatchIdNoLed:
        return table(g_aMatch, false);
    case command_t::RegFind:
        return table(g_aRegFind);
    case command_t::RegDel:
        return table(g_aRegDel);
    case command_t::RegClear:
        return table(g_aRegClear);
    case command_t::FpSecurity:
        return table(g_aSecurity, false);
    case command_t::EnrollDupFP:
        return table(g_aEnroll, false);
    case command_t::RegList:
        return table(g_aRegList, false);
    case command_t::RegGet:
    case command_t::ReadImage:
        return table(g_aPayload, false);
    default:
        // No command runs (or none the module knows): every line is unexpected.
        return {};
    }
}

bool matches(const answerForm_t& p_form, const QString& p_strLine)
{
    switch (p_form.nMatch)
    {
    case match_t::Prefix:
        return p_strLine.startsWith(p_form.strText);
    case match_t::Equal:
        return p_strLine == p_form.strText;
    case match_t::Trimmed:
        return p_strLine.trimmed() == p_form.strText;
    case match_t::Any:
        return true;
    }
    return false;
}

// The tables whose forms may name a line, by their bit in answerNames_t.
const answerTable_t g_aNamingTables[] = {table(g_aLed),      table(g_aScan),    table(g_aSearch),
                                         table(g_aMatch),    table(g_aRegFind), table(g_aRegDel),
                                         table(g_aRegClear), table(g_aEnroll)};

quint32 tableBit(const answerForm_t* p_pTable)
{
    for (int i = 0; i < int(sizeof(g_aNamingTables) / sizeof(g_aNamingTables[0])); ++i)
    {
        if (g_aNamingTables[i].pForms == p_pTable)
        {
            return 1u << i;
        }
    }
    return 0;
}

answer_t taken(take_t p_nTake, const QString& p_strLine)
{
    switch (p_nTake)
    {
    case take_t::Skip:
        return {answerKind_t::Progress, QString(), 0};
    case take_t::Rest:
        return {answerKind_t::Final, p_strLine.midRef(3).trimmed().toString(), 0};
    case take_t::Line:
        return {answerKind_t::Final, p_strLine, 0};
    case take_t::One:
        return {answerKind_t::Final, QStringLiteral("1"), 0};
    case take_t::Zero:
        return {answerKind_t::Final, QStringLiteral("0"), 0};
    case take_t::Ok:
        return {answerKind_t::Final, QStringLiteral("=OK"), 0};
    case take_t::Step1:
    case take_t::Step2:
    case take_t::Step3:
    case take_t::Step4:
        return {answerKind_t::Progress, QString(),
                1 + static_cast<int>(p_nTake) - static_cast<int>(take_t::Step1)};
    case take_t::Enrolled:
        return {answerKind_t::Final, p_strLine, 5};
    case take_t::Refused:
        return {answerKind_t::Final, p_strLine, 99};
    }
    return {};
}

} // namespace

answerNames_t namesOf(const QString& p_strLine)
{
    answerNames_t names;
    // Every form that names a command begins with "=".
    if (!p_strLine.startsWith(QLatin1Char('=')))
    {
        return names;
    }
    for (int nTable = 0; nTable < int(sizeof(g_aNamingTables) / sizeof(g_aNamingTables[0])); ++nTable)
    {
        const answerTable_t& naming = g_aNamingTables[nTable];
        for (int i = 0; i < naming.nForms; ++i)
        {
            if (naming.pForms[i].bNames && matches(naming.pForms[i], p_strLine))
            {
                names.nTables |= 1u << nTable;
                break;
            }
        }
    }
    return names;
}

answer_t answerTo(command_t p_nCommand, const QString& p_strLine, answerNames_t p_names)
{
    const answerTable_t own = answerTable(p_nCommand);
    // Named by a command answering with other forms than these.
    const bool bNamedElsewhere = (p_names.nTables & ~tableBit(own.pForms)) != 0;
    for (int i = 0; i < own.nForms; ++i)
    {
        const answerForm_t& form = own.pForms[i];
        if (!matches(form, p_strLine))
        {
            continue;
        }
        if (!form.bNames && bNamedElsewhere)
        {
            return {answerKind_t::Foreign, QString(), 0};
        }
        return taken(form.nTake, p_strLine);
    }
    return {bNamedElsewhere ? answerKind_t::Foreign : answerKind_t::None, QString(), 0};
}

answer_t answerTo(command_t p_nCommand, const QString& p_strLine)
{
    return answerTo(p_nCommand, p_strLine, namesOf(p_strLine));
}

bool recordsUnknownLines(command_t p_nCommand)
{
    return answerTable(p_nCommand).bRecordsUnknown;
}

bool answersLate(command_t p_nCommand)
{
    return p_nCommand == command_t::Search || p_nCommand == command_t::SearchNoLed ||
           p_nCommand == command_t::MatchId || p_nCommand == command_t::MatchIdNoLed ||
           p_nCommand == command_t::EnrollDupFP;
}

bool sameAnswers(command_t p_nFirst, command_t p_nSecond)
{
    const answerTable_t first = answerTable(p_nFirst);
    return first.pForms != nullptr && first.pForms == answerTable(p_nSecond).pForms;
}

int enrolmentQuality(const QString& p_strLine)
{
    const int nIndex = p_strLine.indexOf(QLatin1String("Quality"));
    return nIndex < 0 ? -1 : p_strLine.mid(nIndex + 8).trimmed().toInt();
}

searchResult_t readSearchResult(const QString& p_strReply)
{
    searchResult_t result;
    const int nIdPos = p_strReply.indexOf(QLatin1String(" ID="));
    const int nBkPos = p_strReply.indexOf(QLatin1String(", BKNum="));
    if (nIdPos >= 1 && nBkPos >= 0)
    {
        result.bNamed = true;
        result.strPid = p_strReply.mid(nIdPos + 4, nBkPos - (nIdPos + 4)).trimmed();
        result.nFid = p_strReply.mid(nBkPos + 8).trimmed().toInt();
    }
    result.bSecondStage = p_strReply.contains(QLatin1String("Search2"));
    result.bRefused = p_strReply.contains(QLatin1String("=NO"), Qt::CaseInsensitive);
    return result;
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
