#!/usr/bin/env bash
# Installs what is missing, builds the tool and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target vindal01-tool KVCom_x64
exec "$root/build/bin/vindal01-tool" "$@"
