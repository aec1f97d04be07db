// Runs a fuzz target without the fuzzer: every file named on the command line, or found in a folder named
// there, is handed to the target once. This is how the committed corpora are replayed by the test suite.
#include "fuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

int main(int p_nArgc, char** p_apArgv)
{
    std::vector<std::filesystem::path> vecFiles;
    for (int i = 1; i < p_nArgc; ++i)
    {
        const std::filesystem::path path(p_apArgv[i]);
        if (!std::filesystem::is_directory(path))
            vecFiles.push_back(path);
        else
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    vecFiles.push_back(entry.path());
    }
    std::sort(vecFiles.begin(), vecFiles.end());
    for (const auto& path : vecFiles)
    {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return std::fprintf(stderr, "cannot read %s\n", path.c_str()), 1;
        const std::vector<char> vecBytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(vecBytes.data()), vecBytes.size());
    }
    std::printf("replayed %zu inputs\n", vecFiles.size());
    // The application of a target that made one ends here, as in a program, so that the leak check at
    // exit sees what a program leaves and not what a running application still holds.
    delete QCoreApplication::instance();
    return vecFiles.empty() ? 1 : 0;
}
