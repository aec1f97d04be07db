#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary folder and starts the unpacked program offscreen
# against the simulated module (made to look like the sensor's USB adapter by the libudev stand-in) until
# its information query has completed. The package must not carry the communication library stand-in, so
# the program must show the library warning and run with the COM server actions disabled.
# Usage: tools/check-package.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
"$root/tools/install-deps.sh"
cmake --build "$build" --target package vindal01-simulator fakeudev packageProbe
deb="$(ls -t "$build"/vindal01-tool_*.deb | head -n 1)"
work="$(mktemp -d)"
sim=""
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "Package: $deb"
dpkg-deb --info "$deb" | sed -n '/Depends/p'
dpkg-deb -x "$deb" "$work/root"
find "$work/root" -type f | sed "s|$work/root||" | sort
for needed in usr/bin/vindal01-tool usr/share/applications/vindal01-tool.desktop \
    usr/share/icons/hicolor/256x256/apps/vindal01-tool.png; do
    [ -f "$work/root/$needed" ] || { echo "FAIL: the package lacks $needed"; exit 1; }
done
if find "$work/root" -iname '*kvcom*' | grep -q .; then
    echo "FAIL: the package carries the communication library stand-in"
    exit 1
fi

mkfifo "$work/pty"
"$build/bin/vindal01-simulator" --capacity 321 >"$work/pty" &
sim=$!
read -r pty <"$work/pty"
echo "Simulated module on $pty"

cd "$work"
status=0
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 XDG_RUNTIME_DIR="$work" VINDAL_PROBE_EXPECT="0 / 321" \
    LD_PRELOAD="$build/bin/libpackageProbe.so:$build/bin/libfakeudev.so" \
    VINDAL_FAKE_UDEV_PORTS="$pty=0403:6001:Package_check:Simulator" \
    timeout 60 "$work/root/usr/bin/vindal01-tool" 2>"$work/stderr" || status=$?
grep '^probe:' "$work/stderr" || true
if [ $status -ne 0 ]; then
    echo "FAIL: the unpacked program did not complete the information query (exit $status)"
    tail -n 20 "$work/stderr"
    exit 1
fi
grep -q '^probe: box "Kommunikations-DLL nicht gefunden"' "$work/stderr" ||
    { echo "FAIL: no library warning"; exit 1; }
grep -q 'COM server start disabled' "$work/stderr" || { echo "FAIL: COM server mode offered"; exit 1; }
echo "Package check passed"
