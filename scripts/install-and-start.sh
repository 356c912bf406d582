#!/usr/bin/env bash
# Installs what is missing, builds, installs the program into /opt/RevuredAVeze and starts it.
# Run it as root, or as the desktop user (it asks sudo for the steps that need root).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

install_missing scripts/packages-build.txt
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF \
    -DINSTALL_FOLDER="$INSTALL_FOLDER"
cmake --build build/release --parallel "$(nproc)"
# The program files belong to root. The install creates the settings only where there are none,
# in a data folder of the desktop user's alone: run through sudo (this script's own or
# "sudo ./scripts/install-and-start.sh"), the user who called sudo.
as_root cmake --install build/release
desktop_user=${SUDO_USER:-$(id -un)}
desktop_home=$(getent passwd "$desktop_user" | cut -d: -f6)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Installed into $INSTALL_FOLDER. No desktop display here: start $INSTALL_FOLDER/RevuredAVeze from a desktop session."
    exit 0
fi
# Its folder lists start in the folder it is started from: the home folder, as from a menu.
if [ "$desktop_user" = "$(id -un)" ]; then
    run_as_desktop_user=()
else
    run_as_desktop_user=(runuser -u "$desktop_user" --)
fi
(cd "$desktop_home" && nohup "${run_as_desktop_user[@]}" "$INSTALL_FOLDER/RevuredAVeze" >/dev/null 2>&1 &)
echo "Installed into $INSTALL_FOLDER and started."
