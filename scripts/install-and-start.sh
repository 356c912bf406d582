#!/usr/bin/env bash
# Installs what is missing, builds, installs the program into /opt/RevuredAVeze and starts it.
# Run it as root, or as the desktop user (it asks sudo for the steps that need root).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

install_missing scripts/packages-build.txt
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DINSTALL_FOLDER="$INSTALL_FOLDER"
cmake --build build/release --parallel "$(nproc)"
# The install creates the settings database only where none exists.
as_root cmake --install build/release

# SQLite writes its journal beside the database, so the desktop user needs both writable.
desktop_user=$(id -un)
as_root chown "$desktop_user:" "$INSTALL_FOLDER" "$INSTALL_FOLDER/xcopy.mdb"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Installed into $INSTALL_FOLDER. No desktop display here: start $INSTALL_FOLDER/RevuredAVeze from a desktop session."
    exit 0
fi
nohup "$INSTALL_FOLDER/RevuredAVeze" >/dev/null 2>&1 &
echo "Installed into $INSTALL_FOLDER and started."
