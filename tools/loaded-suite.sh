#!/usr/bin/env bash
# Runs the whole suite several times in a row while the machine is kept busy by two CPU-bound
# processes per core, in the normal and the sanitizer build that tools/test.sh made before.
# A test that passes only on an idle machine is flaky; this is how such a test is found.
# Usage: tools/loaded-suite.sh [runs per build, default 5] [build folders, default "build build-asan"]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-5}"
builds="${2:-build build-asan}"
"$root/tools/install-deps.sh" stress-ng
stress-ng --cpu $((2 * $(nproc))) --timeout 7200 --quiet &
stress=$!
trap 'kill $stress 2>/dev/null || true' EXIT
for b in $builds; do
    for i in $(seq 1 "$runs"); do
        start=$(date +%s)
        ( cd "$root/$b" &&
          ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 \
          UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
          LSAN_OPTIONS="suppressions=$root/tools/lsan-suppressions.txt:print_suppressions=0" \
          QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 ctest --output-on-failure -j2 >"/tmp/loaded-$b-$i.log" 2>&1 ) &&
            result=passed || result=FAILED
        echo "$b run $i: $result in $(( $(date +%s) - start )) s (load $(cut -d' ' -f1 /proc/loadavg)); log /tmp/loaded-$b-$i.log"
    done
done
