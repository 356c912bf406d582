#!/usr/bin/env bash
# The Debian package on this machine: install, reinstall, remove, install again and purge, with the
# program files root's alone and the settings their owner's alone after each step. Runs only where
# no real installation is in the way, and leaves the machine as it found it.
# usage: package.sh BUILD_DIR INSTALL_FOLDER DATA_FOLDER (exit status 77: skipped)
set -euo pipefail
build=$(realpath "$1")
folder=$2
data=$3
skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in dpkg apt-get cpack; do
    command -v "$tool" >/dev/null || skip "$tool is needed"
done
for user in daemon nobody; do
    id "$user" >/dev/null 2>&1 || skip "the user $user is needed"
done
if dpkg-query -W -f='${Status}' revuredaveze 2>/dev/null | grep -q 'ok installed\|config-files'; then
    skip "the package revuredaveze is installed here; a real installation is left alone"
fi
for path in "$folder" "$data"; do
    [ ! -e "$path" ] || skip "$path exists; a real installation is left alone"
done
. "$(dirname "$0")/checks.sh"

work=$(mktemp -d)
log="$work/log"
finish() {
    if dpkg-query -W revuredaveze >/dev/null 2>&1; then
        apt-get purge -y -q -o DPkg::Lock::Timeout=300 revuredaveze >/dev/null 2>&1 || true
    fi
    rm -rf "$folder" "$data" "$work"
}
trap finish EXIT
apt() { # how the root shell was reached: SUDO_USER=... or "", then the apt-get arguments
    local how=$1
    shift
    env -u SUDO_USER -u PKEXEC_UID ${how:+"$how"} DEBIAN_FRONTEND=noninteractive \
        apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$log" 2>&1 ||
        fail "apt-get $* failed:"$'\n'"$(cat "$log")"
}
package_files() { dpkg-query -L revuredaveze | grep '^/usr/share/.*\.'; }

echo "--- building the package"
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$log" 2>&1) ||
    fail "cpack failed:"$'\n'"$(cat "$log")"
deb=$(ls "$work"/revuredaveze_*.deb)

echo "--- install through sudo"
apt SUDO_USER=daemon install "$deb"
check_program_files "install" $(package_files)
check_settings "install" daemon

echo "--- reinstall through another user's sudo"
apt SUDO_USER=nobody install --reinstall "$deb"
check_program_files "reinstall" $(package_files)
check_kept "reinstall" "install"
check_settings "reinstall" daemon

echo "--- remove"
apt "" remove revuredaveze
[ ! -e "$folder" ] || fail "remove: $folder is still there: $(ls -A "$folder")"
check_kept "remove" "reinstall"
[ "$(stat -c %U "$data/xcopy.mdb")" = daemon ] || fail "remove: the settings changed hands"

echo "--- install again"
apt SUDO_USER=nobody install "$deb"
check_program_files "install again" $(package_files)
check_kept "install again" "reinstall"
check_settings "install again" daemon

echo "--- purge"
apt "" purge revuredaveze
for path in "$folder" "$data"; do
    [ ! -e "$path" ] || fail "purge: $path is still there"
done

echo "--- install from a root shell, then handed over"
apt "" install "$deb"
check_settings "root shell install" root
"$folder/revuredaveze-initdb" --owner daemon >"$log" || fail "no hand-over: $(cat "$log")"
check_settings "handed over" daemon
check_kept "handed over" "root shell install"

echo "--- install over an earlier version's folder, given to the users group"
apt "" purge revuredaveze
make_earlier_layout "$build/src/RevuredAVeze"
apt "" install "$deb"
check_program_files "over an earlier version" $(package_files)
cmp -s "$build/src/RevuredAVeze" "$folder/RevuredAVeze" ||
    fail "over an earlier version: a program file that a group member replaced was kept"
check_kept "over an earlier version" "earlier version"
check_settings "over an earlier version" daemon

echo "passed"
