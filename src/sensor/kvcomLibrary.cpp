#include "kvcomLibrary.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

namespace
{

const char* const g_szLibraryName = "KVCom_x64";

kvcomLibrary_c* g_pInstalledLibrary = nullptr;

using versionLibrary_t = int (*)(char*, int);
using comOpenIV_t = int (*)(int, int, int, const char*, int, int);
using openComServerMode_t = int (*)(int, int, const char*, int, int, int, int, int, int, int*);
using closeComServerMode_t = int (*)(int, int, int*);
using comClose_t = int (*)(int);

} // namespace

kvcomLibrary_c& kvcomLibrary_c::instance()
{
    if (g_pInstalledLibrary != nullptr)
    {
        return *g_pInstalledLibrary;
    }
    static kvcomRuntimeLibrary_c s_runtimeLibrary;
    return s_runtimeLibrary;
}

void kvcomLibrary_c::setInstance(kvcomLibrary_c* p_pLibrary)
{
    g_pInstalledLibrary = p_pLibrary;
}

kvcomRuntimeLibrary_c::kvcomRuntimeLibrary_c()
{
    // The copy shipped beside the program wins over one somewhere on the system.
    const QString strBeside = QCoreApplication::instance() != nullptr
                                  ? QDir(QCoreApplication::applicationDirPath()).filePath(g_szLibraryName)
                                  : QString();
    if (!strBeside.isEmpty())
    {
        m_library.setFileName(strBeside);
        if (m_library.load())
        {
            return;
        }
    }
    m_library.setFileName(QString::fromLatin1(g_szLibraryName));
    if (!m_library.load())
    {
        qDebug() << "KVCom library not loaded:" << m_library.errorString();
    }
}

template <typename F>
F kvcomRuntimeLibrary_c::resolve(const char* p_szName)
{
    if (!m_library.isLoaded())
    {
        return nullptr;
    }
    return reinterpret_cast<F>(m_library.resolve(p_szName));
}

int kvcomRuntimeLibrary_c::versionLibrary(char* p_szBuffer, int p_nSize)
{
    const auto pfn = resolve<versionLibrary_t>("KVCVersionLibrary");
    return pfn != nullptr ? pfn(p_szBuffer, p_nSize) : 0;
}

int kvcomRuntimeLibrary_c::comOpenIV(int p_nChannel, int p_nA, int p_nB, const QByteArray& p_baInterface,
                                     int p_nBaud, int p_nTimeoutMs)
{
    const auto pfn = resolve<comOpenIV_t>("KVCComOpenIV");
    return pfn != nullptr ? pfn(p_nChannel, p_nA, p_nB, p_baInterface.constData(), p_nBaud, p_nTimeoutMs) : 0;
}

int kvcomRuntimeLibrary_c::openComServerMode(int p_nChannel, int p_nAddress, const QByteArray& p_baModule,
                                             int p_nBaud, int p_nDataBits, int p_nParity, int p_nStopBits,
                                             int p_nFlow, int p_nTimeoutS, int* p_pnError)
{
    const auto pfn = resolve<openComServerMode_t>("KVCOpenComServerMode");
    return pfn != nullptr ? pfn(p_nChannel, p_nAddress, p_baModule.constData(), p_nBaud, p_nDataBits,
                                p_nParity, p_nStopBits, p_nFlow, p_nTimeoutS, p_pnError)
                          : 0;
}

int kvcomRuntimeLibrary_c::closeComServerMode(int p_nChannel, int p_nAddress, int* p_pnError)
{
    const auto pfn = resolve<closeComServerMode_t>("KVCCloseComServerMode");
    return pfn != nullptr ? pfn(p_nChannel, p_nAddress, p_pnError) : 0;
}

int kvcomRuntimeLibrary_c::comClose(int p_nChannel)
{
    const auto pfn = resolve<comClose_t>("KVCComClose");
    return pfn != nullptr ? pfn(p_nChannel) : 0;
}
