// What every fuzz target shares: a quiet debug channel and, for the window, one offscreen application.
#pragma once

#include <QApplication>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace fuzz_n
{

// The tool writes a debug line for almost every byte it looks at; the lines are still formatted, only not
// printed, so that the fuzzer spends its time in the parsing.
inline void quietDebugChannel()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

// The one application of the process, on the offscreen platform.
inline QApplication& application()
{
    static int s_nArgc = 1;
    static char s_szName[] = "fuzz";
    static char* s_apArgv[] = {s_szName, nullptr};
    static QApplication* s_pApp = []
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        quietDebugChannel();
        return new QApplication(s_nArgc, s_apArgv);
    }();
    return *s_pApp;
}

// What a target keeps across inputs and must give back before the application ends, as a program would.
inline std::vector<std::function<void()>>& endOfRun()
{
    static std::vector<std::function<void()>> s_vecEnd;
    return s_vecEnd;
}

inline QByteArray bytes(const uint8_t* p_pData, size_t p_nSize)
{
    return QByteArray(reinterpret_cast<const char*>(p_pData), static_cast<int>(p_nSize));
}

} // namespace fuzz_n

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize);
