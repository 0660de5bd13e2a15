#!/usr/bin/env bash
# Compiles every product source for 64-bit Windows with Debian's MinGW-w64
# against the Debian Qt 6 headers, through the project's own CMake files,
# with warnings as errors, and the icon resource with windres from the .ico
# files drawn at build time. Nothing is linked: there is no Windows Qt here.
# Exits non-zero on any error or warning in the project's code.
#   scripts/check-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh --build g++-mingw-w64-x86-64-posix icoutils
build=build-windows
rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/windows/mingw-w64.cmake" \
    -DQt6_DIR="$PWD/cmake/windows/Qt6" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$build" -j2 -- -k 0
echo "ok: every product source compiles for Windows without a warning"

# Each icon holds every size Windows shows, and both programs hold both.
for ico in "$build"/ico/*.ico; do
    sizes=$(icotool -l "$ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
    [ "$sizes" = "16 24 32 48 64 256 " ] || {
        echo "$ico holds the sizes $sizes" >&2
        exit 1
    }
done
resources=$(find "$build" -name 'panelconfig.rc.res')
[ "$(wc -l <<<"$resources")" -eq 2 ] || {
    echo "the icon resource was compiled for: $resources; not for both programs" >&2
    exit 1
}
for resource in $resources; do
    groups=$(x86_64-w64-mingw32-windres -J coff -O rc -i "$resource" | grep -c 'RT_GROUP_ICON')
    [ "$groups" -eq 2 ] || {
        echo "$resource holds $groups icons, not 2" >&2
        exit 1
    }
done
echo "ok: the icon resource (the program's and the .zqc files' icons, 16 to 256 pixels)"
