// The maker's communication library, reached through one small interface so tests can put a fake in its
// place.
#pragma once

#include <QByteArray>
#include <QLibrary>

class kvcomLibrary_c
{
public:
    virtual ~kvcomLibrary_c() = default;

    // Writes a NUL-terminated version text into the buffer; 0 means the library is not available.
    virtual int versionLibrary(char* p_szBuffer, int p_nSize) = 0;
    virtual int comOpenIV(int p_nChannel, int p_nA, int p_nB, const QByteArray& p_baInterface, int p_nBaud,
                          int p_nTimeoutMs) = 0;
    virtual int openComServerMode(int p_nChannel, int p_nAddress, const QByteArray& p_baModule, int p_nBaud,
                                  int p_nDataBits, int p_nParity, int p_nStopBits, int p_nFlow,
                                  int p_nTimeoutS, int* p_pnError) = 0;
    virtual int closeComServerMode(int p_nChannel, int p_nAddress, int* p_pnError) = 0;
    virtual int comClose(int p_nChannel) = 0;

    // The library the program uses: the one bound at run time unless a test installed another.
    static kvcomLibrary_c& instance();
    // Replaces the library the program uses (not owned; nullptr returns to the run-time binding).
    static void setInstance(kvcomLibrary_c* p_pLibrary);
};

// Binds KVCom_x64 at run time, next to the executable first, then on the system's library path.
// A missing library or a missing function reads as result 0, so the program starts without it.
class kvcomRuntimeLibrary_c : public kvcomLibrary_c
{
public:
    kvcomRuntimeLibrary_c();

    bool isLoaded() const { return m_library.isLoaded(); }
    QString fileName() const { return m_library.fileName(); }

    int versionLibrary(char* p_szBuffer, int p_nSize) override;
    int comOpenIV(int p_nChannel, int p_nA, int p_nB, const QByteArray& p_baInterface, int p_nBaud,
                  int p_nTimeoutMs) override;
    int openComServerMode(int p_nChannel, int p_nAddress, const QByteArray& p_baModule, int p_nBaud,
                          int p_nDataBits, int p_nParity, int p_nStopBits, int p_nFlow, int p_nTimeoutS,
                          int* p_pnError) override;
    int closeComServerMode(int p_nChannel, int p_nAddress, int* p_pnError) override;
    int comClose(int p_nChannel) override;

private:
    template <typename F>
    F resolve(const char* p_szName);

    QLibrary m_library;
};
