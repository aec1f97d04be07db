#include "toolsGui/textTools.h"

#include <QDateTime>
#include <QLocale>

#include <charconv>

namespace toolsGui_n
{
namespace
{
// A quotient with a fixed number of decimals, rounded exactly as printf rounds it (an exact tie such as
// 2.25 goes to the even digit) and always with a point: std::to_chars ignores the locale, which the program
// takes from the system.
QString fixedText(double p_d, int p_nDecimals, const char* p_pszUnit)
{
    char acBuffer[64];
    const std::to_chars_result result =
        std::to_chars(acBuffer, acBuffer + sizeof acBuffer, p_d, std::chars_format::fixed, p_nDecimals);
    return QString::fromLatin1(acBuffer, int(result.ptr - acBuffer)) + QLatin1Char(' ') +
           QLatin1String(p_pszUnit);
}
} // namespace

QString sizeText(quint64 p_nBytes)
{
    // The unit and precision follow the truncated quotient, the printed value is rounded: 10239 bytes
    // are 10.00 kB.
    const double dBytes = static_cast<double>(p_nBytes);
    const quint64 nK = p_nBytes / 1024;
    const quint64 nM = p_nBytes / 1048576;
    const quint64 nG = p_nBytes / 1073741824;
    if (p_nBytes <= 1023)
        return QString::number(p_nBytes);
    if (nK <= 9)
        return fixedText(dBytes / 1024.0, 2, "kB");
    if (nK <= 99)
        return fixedText(dBytes / 1024.0, 1, "kB");
    if (nK <= 1023)
        return QString::number(nK) + QStringLiteral(" kB");
    if (nM <= 9)
        return fixedText(dBytes / 1048576.0, 2, "MB");
    if (nM <= 99)
        return fixedText(dBytes / 1048576.0, 1, "MB");
    if (nM <= 1023)
        return QString::number(nM) + QStringLiteral(" MB");
    if (nG <= 9)
        return fixedText(dBytes / 1073741824.0, 2, "GB");
    if (nG <= 99)
        return fixedText(dBytes / 1073741824.0, 1, "GB");
    if (nG <= 1023)
        return QString::number(nG) + QStringLiteral(" GB");
    return fixedText(dBytes / 1099511627776.0, 1, "TB");
}

QString durationText(qint64 p_nSeconds)
{
    QString str;
    // The magnitude is taken unsigned: negating the most negative count would overflow.
    quint64 nT = static_cast<quint64>(p_nSeconds);
    if (p_nSeconds < 0)
    {
        str = QStringLiteral("- ");
        nT = 0 - nT;
    }
    const quint64 nD = nT / 86400;
    const int nH = static_cast<int>(nT / 3600 - 24 * nD);
    const int nM = static_cast<int>(nT / 60 - 60 * (nT / 3600));
    const int nS = static_cast<int>(nT - 60 * (nT / 60));
    if (nD == 0 && nH == 0)
        return str + QString::asprintf("%i:%02i", nM, nS);
    if (nD == 0)
        return str + QString::asprintf("%i:%02i:%02i", nH, nM, nS);
    // Days are written in full; they outgrow 32 bits only for absurd inputs, which still print correctly.
    return str + QString::number(nD) + QString::asprintf("d %i:%02i:%02i", nH, nM, nS);
}

QString timeStampText(const QDateTime& p_dt, const QString& p_strFormat)
{
    // QDateTime::toString(format) writes the system locale's digits (Arabic-Indic under ar_EG).
    return QLocale::c().toString(p_dt, p_strFormat);
}

} // namespace toolsGui_n
