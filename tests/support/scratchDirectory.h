// A temporary working directory for one test function: serial logs land there and vanish with it.
#pragma once

#include <QDir>
#include <QTemporaryDir>

class scratchDirectory_c
{
public:
    scratchDirectory_c() : m_strOldCwd(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~scratchDirectory_c() { QDir::setCurrent(m_strOldCwd); }
    scratchDirectory_c(const scratchDirectory_c&) = delete;
    scratchDirectory_c& operator=(const scratchDirectory_c&) = delete;

    QString filePath(const QString& p_strName) const { return m_dir.filePath(p_strName); }

private:
    QString m_strOldCwd;
    QTemporaryDir m_dir;
};
