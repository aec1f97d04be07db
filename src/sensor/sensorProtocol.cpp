#include "sensorProtocol.h"

namespace sensor_n
{

namespace
{

const char* const g_aszCommandNames[] = {
    "---",       "Cancel",  "ModelFw",      "Date",        "Time",           "LedOn",
    "LedOff",    "Scan",    "RegCount",     "Max",         "TempalteFormat", "Search",
    "ReadImage", "RegList", "RegGet",       "EnrollDupFP", "SearchNoLed",    "RegFind",
    "RegClear",  "RegDel",  "MatchIdNoLed", "MatchId",     "FpSecurity",
};

const char* const g_aszStateNames[] = {
    "Error",     "Initial",       "QueryDevice",         "Scan",
    "Enroll",    "Delete",        "AnalyseSensor",       "IdentificationStatistics",
    "SubSearch", "SubFingerInfo", "SubDelPersonFingers", "SubMatchId",
    "SubIdle",
};

const char* const g_aszModeNames[] = {
    "Info", "Enroll", "Test", "Train", "Delete", "AnalyseSensor", "MatchIdAnalysis",
};

template <int N>
QString nameOf(const char* const (&p_aszNames)[N], int p_nIndex)
{
    return (p_nIndex >= 0 && p_nIndex < N) ? QString::fromLatin1(p_aszNames[p_nIndex]) : QString();
}

QString diagnosticsText(const QString& p_strName, char p_cKind, qint32 p_nValue)
{
    return QStringLiteral("%1 (%2%3)").arg(p_strName, QChar::fromLatin1(p_cKind)).arg(p_nValue);
}

QString paramText(const QVariantMap& p_mapParams, const QString& p_strKey, const QString& p_strDefault)
{
    const auto it = p_mapParams.constFind(p_strKey);
    return it == p_mapParams.constEnd() ? p_strDefault : it.value().toString();
}

} // namespace

QString modeText(mode_t p_nMode)
{
    const qint32 nValue = static_cast<qint32>(p_nMode);
    return diagnosticsText(nameOf(g_aszModeNames, nValue), 'M', nValue);
}

QString stateText(state_t p_nState)
{
    const qint32 nValue = static_cast<qint32>(p_nState);
    // The table starts at Error (-1); SubEnroll has no name.
    return diagnosticsText(nameOf(g_aszStateNames, nValue + 1), 'S', nValue);
}

QString commandText(command_t p_nCommand)
{
    const qint32 nValue = static_cast<qint32>(p_nCommand);
    return diagnosticsText(nameOf(g_aszCommandNames, nValue), 'C', nValue);
}

QByteArray commandLine(command_t p_nCommand, const QVariantMap& p_mapParams, bool* p_pbInvalidPid)
{
    const QString strZero = QStringLiteral("0");
    auto param = [&](const char* p_szKey, const QString& p_strDefault)
    { return paramText(p_mapParams, QString::fromLatin1(p_szKey), p_strDefault); };
    // The multi-argument arg() replaces all placeholders in one pass, so a parameter text that itself
    // contains "%2" is sent as typed.
    QString strLine;
    switch (p_nCommand)
    {
    case command_t::NoCommand:
        return QByteArray();
    case command_t::Cancel:
        return QByteArray(1, abortByte);
    case command_t::ModelFw:
        strLine = QStringLiteral("model_fw\r\n");
        break;
    case command_t::Date:
        strLine = QStringLiteral("date\r\n");
        break;
    case command_t::Time:
        strLine = QStringLiteral("time\r\n");
        break;
    case command_t::LedOn:
        strLine = QStringLiteral("LedOn\r\n");
        break;
    case command_t::LedOff:
        strLine = QStringLiteral("LedOff\r\n");
        break;
    case command_t::Scan:
        strLine = QStringLiteral("scan\r\n");
        break;
    case command_t::RegCount:
        strLine = QStringLiteral("reg /count\r\n");
        break;
    case command_t::Max:
        strLine = QStringLiteral("max\r\n");
        break;
    case command_t::TempalteFormat:
        strLine = QStringLiteral("temp_set %1\r\n").arg(param("format", QString()));
        break;
    case command_t::Search:
    case command_t::SearchNoLed:
        strLine = QStringLiteral("search %1\r\n").arg(param("group", strZero));
        break;
    case command_t::ReadImage:
        strLine = QStringLiteral("read_image%1\r\n").arg(param("mode", QStringLiteral("1")));
        break;
    case command_t::RegList:
        strLine = QStringLiteral("reg /list\r\n");
        break;
    case command_t::RegGet:
        strLine = QStringLiteral("reg /get %1 %2\r\n").arg(param("pid", strZero), param("fid", strZero));
        break;
    case command_t::EnrollDupFP:
        strLine = QStringLiteral("enroll_dupfp %1 %2 %3\r\n")
                      .arg(param("pid", strZero), param("group", strZero), param("fid", strZero));
        break;
    case command_t::RegFind:
    {
        const QString strPid = param("pid", strZero);
        if (p_pbInvalidPid != nullptr)
        {
            *p_pbInvalidPid = strPid.toInt() == 0;
        }
        strLine = QStringLiteral("reg /find %1 %2\r\n").arg(strPid, param("fid", strZero));
        break;
    }
    case command_t::RegClear:
        strLine = QStringLiteral("reg /clear\r\n");
        break;
    case command_t::RegDel:
        strLine = QStringLiteral("reg /del %1 %2\r\n").arg(param("pid", strZero), param("fid", strZero));
        break;
    case command_t::MatchIdNoLed:
    case command_t::MatchId:
        strLine = QStringLiteral("matchId %1\r\n").arg(param("pid", strZero));
        break;
    case command_t::FpSecurity:
        strLine = QStringLiteral("FpSecurity %1\r\n").arg(param("value", strZero));
        break;
    }
    return strLine.toLocal8Bit();
}

} // namespace sensor_n
