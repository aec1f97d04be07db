#!/usr/bin/env bash
# Shows the tool working without hardware: starts the simulated module and the unmodified program,
# with the libudev stand-in preloaded into the program only, so that the simulator looks like the USB
# adapter (0403:6001) the program opens by itself at start, and with the communication library stand-in
# (build/standin) on its library path, so that COM server mode can be tried. Extra arguments go to the
# simulator.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target vindal01-tool vindal01-simulator fakeudev KVCom_x64
bin="$root/build/bin"

if [ $# -eq 0 ]; then
    set -- --template 12,0,57,31 --template 12,5,90,44 --template 300,9,73,38 --finger 12,5 --search-delay 300 \
        --image 256x288
fi
fifo="$(mktemp -u)"
mkfifo "$fifo"
"$bin/vindal01-simulator" "$@" >"$fifo" &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -f "$fifo"' EXIT
exec 3<"$fifo"
read -r pty <&3
echo "Simulated module on $pty"

LD_LIBRARY_PATH="$root/build/standin${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" LD_PRELOAD="$bin/libfakeudev.so" \
    VINDAL_FAKE_UDEV_PORTS="$pty=0403:6001:Demo_adapter:Simulator" "$bin/vindal01-tool"
