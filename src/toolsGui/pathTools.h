// Path text helpers of the GUI tools; a backslash and a slash both separate path components.
#pragma once

#include <QString>
#include <QStringList>

namespace toolsGui_n
{
// Everything before the last separator; empty without a separator.
QString pathDirectory(const QString& p_strPath);
// Everything after the last separator; the whole text without a separator.
QString pathFileName(const QString& p_strPath);
// The file name without its last dot and what follows it.
QString pathBaseName(const QString& p_strPath);
// The components of a path: C:\dir\file.txt gives C:, dir, file.txt. A leading separator gives no empty first
// component, a trailing one an empty last component, two in a row an empty component between them.
QStringList splitPath(QString p_strPath);
QString backslashToUnderscore(const QString& p_str);
} // namespace toolsGui_n
