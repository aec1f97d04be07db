#!/usr/bin/env bash
# Prints the lines of test code, the lines of product, tools and benchmark code, and the share of the
# first in the second. Counted: C/C++ files tracked by git, without blank lines and lines that start
# with "//".
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
    git ls-files -z -- "$@" | grep -zE '\.(cpp|h|hpp|cc|c)$' | xargs -0 -r cat |
        grep -vcE '^[[:space:]]*($|//)' || true
}
tests=$(count tests)
code=$(count src tools bench)
echo "tests/:                ${tests}"
echo "src/ + tools/ + bench/: ${code}"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "share:                 %.1f %%\n", 100 * t / c }'
