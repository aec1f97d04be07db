#!/usr/bin/env bash
# Installs what is missing, builds the tool and starts it. Without the communication library stand-in,
# which speaks only the simulator's protocol: COM server mode needs the maker's libKVCom_x64.so, beside
# the program (build/bin) or on the system's library path.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target vindal01-tool
exec "$root/build/bin/vindal01-tool" "$@"
