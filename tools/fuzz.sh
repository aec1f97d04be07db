#!/usr/bin/env bash
# Runs the fuzz targets with libFuzzer: tools/fuzz.sh [seconds per target, default 300] [target ...]
# Targets: replyParser replyFormat answerForms serialLogReader portSpecification (all by default).
# Builds them with clang in build-fuzz (AddressSanitizer and UndefinedBehaviorSanitizer included). New
# inputs the fuzzer finds go to build-fuzz/corpus/<target>, crashes and hangs to build-fuzz/artifacts/<target>;
# the committed seeds in tests/fuzz/corpus/<target> are only read. A found crash makes the script fail.
# FUZZ_ARGS adds libFuzzer options, for example FUZZ_ARGS="-max_len=1024 -len_control=0" for long
# replies from the start.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-300}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(replyParser replyFormat answerForms serialLogReader portSpecification)

"$root/tools/install-deps.sh" clang-14 libclang-rt-14-dev
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DVINDAL_FUZZ=ON -DVINDAL_BUILD_BENCH=OFF
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/xdg-runtime"
status=0
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
    # The answer forms are read line by line: a few lines of the module's length are all an input needs.
    defaults=()
    [ "$target" = answerForms ] && defaults=(-max_len=128)
    echo "== fuzz_$target for $seconds s"
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$build/xdg-runtime" \
        ASAN_OPTIONS=detect_leaks=1 \
        LSAN_OPTIONS="suppressions=$root/tools/fuzz-lsan-suppressions.txt:print_suppressions=0" \
        "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target/" "${defaults[@]}" ${FUZZ_ARGS:-} "$build/corpus/$target" "$root/tests/fuzz/corpus/$target" \
        >"$build/fuzz_$target.log" 2>&1 || status=1
    grep -E "^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)|ERROR|SUMMARY" \
        "$build/fuzz_$target.log" || true
done
exit $status
