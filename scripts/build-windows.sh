#!/usr/bin/env bash
# Builds the program for 64-bit Windows on this Debian machine: installs what is missing, builds
# Qt 6.4.2 for Windows once into a cache folder outside the tree (scripts/windows/build-qt.sh,
# about half an hour on two cores; later runs reuse it until its recipe changes), then the
# program, its tools and its tests into build/windows/, and the installer
# build/windows/RevuredAVeze-<version>-win64.exe. The tools that run at build time run under Wine,
# in the build's own Wine prefix, as the tests do (ctest --test-dir build/windows).
# Run it from anywhere, as root or as a user who may use sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

install_missing scripts/packages-build.txt scripts/windows/packages.txt
qt=$(scripts/windows/build-qt.sh | tail -n 1)

build=build/windows
project=$(pwd)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64.cmake" -DQT_WINDOWS_PREFIX="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$project/scripts/windows/wine-run.sh;$project/$build/wine;$qt/bin" \
    -DINSTALL_FOLDER="C:/Program Files/RevuredAVeze"
cmake --build "$build" --parallel "$(nproc)"
# One installer, of this version.
rm -f "$build"/RevuredAVeze-*-win64.exe
(cd "$build" && cpack -G NSIS64)
ls -l "$build"/RevuredAVeze-*-win64.exe
