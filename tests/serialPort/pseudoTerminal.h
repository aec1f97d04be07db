// A pseudo-terminal for tests: a real device node that a port list can show and QSerialPort can open.

#pragma once

#include <QString>

#include <pty.h>
#include <unistd.h>

class pseudoTerminal_c
{
public:
    pseudoTerminal_c()
    {
        char aName[128] = {};
        int nSlave = -1;
        if (::openpty(&m_nMaster, &nSlave, aName, nullptr, nullptr) == 0)
        {
            m_strPath = QString::fromLocal8Bit(aName);
            // The device stays as long as the master side is open.
            ::close(nSlave);
        }
    }
    ~pseudoTerminal_c()
    {
        if (m_nMaster >= 0)
            ::close(m_nMaster);
    }
    pseudoTerminal_c(const pseudoTerminal_c&) = delete;
    pseudoTerminal_c& operator=(const pseudoTerminal_c&) = delete;

    bool isValid() const { return m_nMaster >= 0; }
    // The device path, e.g. /dev/pts/5.
    QString path() const { return m_strPath; }
    // The name under which the system lists and QSerialPort reports the port, e.g. pts/5.
    QString portName() const
    {
        return m_strPath.startsWith(QLatin1String("/dev/")) ? m_strPath.mid(5) : m_strPath;
    }

private:
    int m_nMaster = -1;
    QString m_strPath;
};
