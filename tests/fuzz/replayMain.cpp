// Runs a fuzz target without the fuzzer: every file named on the command line, or found in a folder named
// there, is handed to the target once. This is how the committed corpora are replayed by the test suite.
#include "fuzzSupport.h"

#include <QDir>

#include <cstdio>

int main(int p_nArgc, char** p_apArgv)
{
    QFileInfoList lstFiles;
    for (int i = 1; i < p_nArgc; ++i)
    {
        const QFileInfo info(QString::fromLocal8Bit(p_apArgv[i]));
        lstFiles +=
            info.isDir() ? QDir(info.filePath()).entryInfoList(QDir::Files, QDir::Name) : QFileInfoList{info};
    }
    for (const QFileInfo& info : lstFiles)
    {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            return std::fprintf(stderr, "cannot read %s\n", qPrintable(info.filePath())), 1;
        const QByteArray baBytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(baBytes.constData()), size_t(baBytes.size()));
    }
    std::printf("replayed %d inputs\n", int(lstFiles.size()));
    // The application of a target that made one ends here, as in a program, so that the leak check at
    // exit sees what a program leaves and not what a running application still holds.
    for (const auto& fnEnd : fuzz_n::endOfRun())
        fnEnd();
    delete QCoreApplication::instance();
    return lstFiles.isEmpty() ? 1 : 0;
}
