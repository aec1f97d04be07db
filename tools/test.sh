#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test through CTest, checks the package and compiles the
# sources as Windows code; then builds the suite again with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# it there too.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
# The Debian package, checked by lintian, unpacked and started against the simulated module.
"$root/tools/check-package.sh" "$root/build"
# Every source compiled as Windows code (syntax only), where no Qt for Windows can be installed.
"$root/tools/check-windows-compile.sh"

# The sanitizer build: -O1 keeps the run fast and the reports exact; benchmarks are not needed there.
# Leaks are reported, except exactly the frames of Qt's offscreen platform plugin listed in the file.
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DVINDAL_SANITIZE=ON -DVINDAL_BUILD_BENCH=OFF
cmake --build "$root/build-asan"
cd "$root/build-asan"
# verify_asan_link_order=0: some tests preload a libudev stand-in ahead of the sanitizer runtime.
ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS="suppressions=$root/tools/lsan-suppressions.txt:print_suppressions=0" \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
