#!/usr/bin/env bash
# Compiles every source of src/ as Windows code, syntax only: Debian's MinGW-w64 compiler against the Qt 5
# headers installed for the Linux build. The compiler defines _WIN32, from which Qt's own headers decide
# Q_OS_WIN, so a POSIX-only header or call, a clash with a Windows macro (min, max, ERROR, interface) or a
# type that is narrower on Windows (long is 32 bits there) fails here before a Windows build meets it.
# It proves that the code compiles for Windows, not that it links, deploys or runs there.
# Usage: tools/check-windows-compile.sh [source files...]   (default: every .cpp under src/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh" g++-mingw-w64-x86-64-posix
cxx="${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}"
multiarch="$(gcc -dumpmachine)"
qt="/usr/include/$multiarch/qt5"
# The Windows platform definitions of Qt's MinGW configuration instead of the Linux ones, and the defines
# that configuration gives every Windows program (wide-character Windows API).
flags=(-std=c++17 -fsyntax-only -Wall -Wextra -Werror
    -DUNICODE -D_UNICODE -DWIN32 -DMINGW_HAS_SECURE_API=1
    -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_SERIALPORT_LIB -DQT_PRINTSUPPORT_LIB -DQT_NO_DEBUG
    -I"$root/src" -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets"
    -isystem "$qt/QtSerialPort" -isystem "$qt/QtPrintSupport" -isystem "/usr/lib/$multiarch/qt5/mkspecs/win32-g++")

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The check itself must see Windows: Qt has to take the compiler for a Windows one, and a POSIX-only header
# has to be missing. Otherwise every file would pass for the wrong reason.
cat >"$work/windows.cpp" <<'EOF'
#include <QtGlobal>
#if !defined(Q_OS_WIN) || defined(Q_OS_UNIX)
#error "Qt does not take this compiler for a Windows one"
#endif
static_assert(sizeof(long) == 4, "not the Windows data model");
EOF
printf '#include <termios.h>\n' >"$work/posix.cpp"
"$cxx" "${flags[@]}" "$work/windows.cpp" || { echo "FAIL: the compiler does not compile for Windows"; exit 1; }
if "$cxx" "${flags[@]}" "$work/posix.cpp" 2>/dev/null; then
    echo "FAIL: a POSIX-only header compiles; this is no Windows compiler"
    exit 1
fi

if [ $# -gt 0 ]; then
    sources=("$@")
else
    mapfile -t sources < <(cd "$root" && find src -name '*.cpp' | sort)
fi
# Two files at a time, one log each; a file's log is kept only when it fails.
export cxx work root
printf '%s\n' "${sources[@]}" | xargs -P 2 -I{} bash -c '
    log="$work/$(echo "$1" | tr / _).log"
    cd "$root" && "$cxx" "${@:2}" "$1" >"$log" 2>&1 && rm -f "$log"
    exit 0' _ {} "${flags[@]}"

failed=("$work"/*.log)
if [ -e "${failed[0]}" ]; then
    for log in "${failed[@]}"; do
        cat "$log"
    done
    echo "FAIL: ${#failed[@]} of ${#sources[@]} files do not compile for Windows"
    exit 1
fi
echo "Windows compile check passed: ${#sources[@]} files ($("$cxx" -dumpversion), Qt $(sed -n \
    's/^#define QT_VERSION_STR "\(.*\)"/\1/p' "$qt/QtCore/qconfig.h") headers)"
