#include "toolsGui/pathTools.h"

#include <algorithm>

namespace toolsGui_n
{
namespace
{
int lastSeparator(const QString& p_strPath)
{
    return std::max(p_strPath.lastIndexOf(QLatin1Char('\\')), p_strPath.lastIndexOf(QLatin1Char('/')));
}
} // namespace

QString pathDirectory(const QString& p_strPath)
{
    const int nSep = lastSeparator(p_strPath);
    return nSep < 0 ? QString() : p_strPath.left(nSep);
}

QString pathFileName(const QString& p_strPath)
{
    const int nSep = lastSeparator(p_strPath);
    return nSep < 0 ? p_strPath : p_strPath.mid(nSep + 1);
}

QString pathBaseName(const QString& p_strPath)
{
    const QString strFileName = pathFileName(p_strPath);
    const int nDot = strFileName.lastIndexOf(QLatin1Char('.'));
    return nDot < 0 ? strFileName : strFileName.left(nDot);
}

QStringList splitPath(QString p_strPath)
{
    QStringList lstParts;
    for (int nSep = lastSeparator(p_strPath); nSep >= 0; nSep = lastSeparator(p_strPath))
    {
        lstParts.prepend(p_strPath.mid(nSep + 1));
        p_strPath.truncate(nSep);
    }
    if (!p_strPath.isEmpty())
        lstParts.prepend(p_strPath);
    return lstParts;
}

QString backslashToUnderscore(const QString& p_str)
{
    QString str = p_str;
    return str.replace(QLatin1Char('\\'), QLatin1Char('_'));
}
} // namespace toolsGui_n
