#!/usr/bin/env bash
# Compiles every product source for 64-bit Windows with Debian's MinGW-w64
# against the Debian Qt 6 headers, through the project's own CMake files,
# with warnings as errors. Nothing is linked: there is no Windows Qt here.
# Exits non-zero on any error or warning in the project's code.
#   scripts/check-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh g++-mingw-w64-x86-64-posix
build=build-windows
rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/windows/mingw-w64.cmake" \
    -DQt6_DIR="$PWD/cmake/windows/Qt6" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$build" -j2 -- -k 0
echo "ok: every product source compiles for Windows without a warning"
