#!/usr/bin/env bash
# Runs a Windows program under Wine: CMake's emulator when cross-compiling, for the tools that run
# at build time and for the tests. The Wine prefix is made on first use; Qt's DLLs and the
# compiler's runtime DLLs are found through WINEPATH. No window reaches a desktop: the tools and
# the tests use Qt's offscreen platform.
# usage: wine-run.sh WINE_PREFIX QT_DLL_FOLDER PROGRAM [ARGUMENT...]
set -euo pipefail
prefix=$1
qt_dlls=$2
shift 2

export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
# Wine would offer to download .NET and a browser engine, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# Qt's offscreen platform on Windows reads its fonts from one folder: Debian's DejaVu fonts, which
# the Linux side uses too, so that texts measure alike.
export QT_QPA_FONTDIR=${QT_QPA_FONTDIR:-Z:/usr/share/fonts/truetype/dejavu}
# Wine keeps Linux's QT_ variables from Windows programs; as WINEQT_ they reach them as QT_.
for variable in $(compgen -e | grep '^QT_' || true); do
    export "WINE$variable=${!variable}"
done

# Runs that start together make the prefix once.
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    flock "$prefix.lock" bash -c \
        '[ -f "$WINEPREFIX/system.reg" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1'
fi

windows_path() { # the Windows form of a Linux path, through Wine's drive Z:
    local path=$1
    printf 'Z:%s' "${path//\//\\}"
}
folders=("$qt_dlls")
for runtime in libstdc++-6.dll libwinpthread-1.dll; do
    folders+=("$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name="$runtime")")")
done
WINEPATH=
for folder in "${folders[@]}"; do
    WINEPATH+="$(windows_path "$(realpath "$folder")");"
done
export WINEPATH

exec /usr/lib/wine/wine64 "$@"
