#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows from Debian's own source package, once, into a cache folder
# outside the tree, and prints that folder's path as its last line. The folder's name carries a
# hash of this recipe, so a changed recipe builds anew and an unchanged one is reused.
# It takes about half an hour on two cores.
set -euo pipefail
cd "$(dirname "$0")/../.."
project=$(pwd)
. scripts/common.sh

cache_root=${REVUREDAVEZE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/revuredaveze}
recipe_hash=$(cat scripts/windows/build-qt.sh cmake/mingw-w64.cmake | sha256sum | cut -c1-12)
prefix="$cache_root/qt-6.4.2-win64-$recipe_hash"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# Debian's source packages: a sources entry of the project's own, beside the machine's.
sources_entry=/etc/apt/sources.list.d/revuredaveze-sources.sources
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version: 6\.4\.2'; then
    as_root tee "$sources_entry" >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    as_root apt-get update -q
fi

echo "Building Qt 6.4.2 for Windows into $prefix (once; about 30 minutes on two cores)" >&2
work="$cache_root/work-$recipe_hash"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
{
    apt-get source -q qt6-base=6.4.2+dfsg-10
    apt-get source -q sqlite3
} >&2
qt_source=$(find . -maxdepth 1 -type d -name 'qt6-base-6.4.2*' | head -n1)
sqlite_source=$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)

# Debian's tarball leaves out the SQLite amalgamation that Qt's SQLite driver compiles in.
(cd "$sqlite_source" && ./configure -q >/dev/null && make -s sqlite3.c) >&2
mkdir -p "$qt_source/src/3rdparty/sqlite"
cp "$sqlite_source/sqlite3.c" "$sqlite_source/sqlite3.h" "$qt_source/src/3rdparty/sqlite/"

# The build's own output goes to a log; a line every few hundred steps shows how far it is.
log="$work/build.log"
show_progress() { awk 'NR % 400 == 0 { print "Qt for Windows: " $1; fflush() }' >&2; }
mkdir build
cd build
if ! {
    "../$qt_source/configure" -prefix "$prefix" -release -shared -qt-host-path /usr \
        -nomake examples -nomake tests -no-opengl -no-dbus -no-icu -no-feature-vulkan \
        -no-feature-concurrent -no-feature-printsupport -no-feature-xml \
        -no-feature-sql-odbc -no-feature-tabletevent -no-feature-direct2d \
        -no-feature-directwrite3 -qt-sqlite \
        -- -DCMAKE_TOOLCHAIN_FILE="$project/cmake/mingw-w64.cmake" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake &&
        cmake --build . --parallel "$(nproc)" &&
        cmake --install .
} 2>&1 | tee "$log" | show_progress; then
    tail -n 40 "$log" >&2
    echo "Building Qt for Windows failed; the whole log is $log" >&2
    exit 1
fi
touch "$prefix/.complete"
cd "$cache_root"
rm -rf "$work"
echo "$prefix"
