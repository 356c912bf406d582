#!/usr/bin/env bash
# The project's install, as root, into a private mount namespace, so that this machine's own
# installation folder, data folder and menu stay untouched: the program files are root's alone,
# the settings their owner's alone, and a reinstall keeps them.
# usage: install.sh BUILD_DIR INSTALL_FOLDER DATA_FOLDER (exit status 77: skipped)
set -euo pipefail
build=$1
folder=$2
data=$3
skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "installing as root and handing files to users needs root"
unshare --mount true 2>/dev/null || skip "no private mount namespace can be made here"
for user in daemon nobody; do
    id "$user" >/dev/null 2>&1 || skip "the user $user is needed"
done
if [ -z "${IN_SCRATCH_NAMESPACE:-}" ]; then
    exec env IN_SCRATCH_NAMESPACE=1 unshare --mount --propagation private bash "$0" "$@"
fi
. "$(dirname "$0")/checks.sh"

menu=(/usr/share/applications /usr/share/icons)
for scratch in $(printf '%s\n' "$(dirname "$folder")" "$(dirname "$data")" "${menu[@]}" | sort -u); do
    mount -t tmpfs -o mode=0755 scratch "$scratch"
done
log=$(mktemp)
install_as() { # how the installing root shell was reached: SUDO_USER=... or PKEXEC_UID=..., or ""
    env -u SUDO_USER -u PKEXEC_UID ${1:+"$1"} cmake --install "$build" >"$log" 2>&1 ||
        fail "the install failed:"$'\n'"$(cat "$log")"
}

echo "--- first install through sudo"
install_as SUDO_USER=daemon
check_program_files "first install" "${menu[@]}"
check_settings "first install" daemon

echo "--- reinstall from a root shell"
install_as ""
check_program_files "reinstall" "${menu[@]}"
check_settings "reinstall" daemon
check_kept "reinstall" "first install"

echo "--- first install from a root shell, then handed over"
rm -rf "$data"
install_as ""
check_settings "root shell install" root
"$folder/revuredaveze-initdb" --owner daemon >"$log" || fail "no hand-over: $(cat "$log")"
check_settings "handed over" daemon
check_kept "handed over" "root shell install"

echo "--- first install through pkexec"
rm -rf "$data"
install_as PKEXEC_UID="$(id -u daemon)"
check_settings "pkexec install" daemon

echo "--- install over an earlier version's folder, given to the users group"
rm -rf "$folder" "$data"
make_earlier_layout "$build/src/RevuredAVeze"
install_as ""
check_program_files "over an earlier version" "${menu[@]}"
cmp -s "$build/src/RevuredAVeze" "$folder/RevuredAVeze" ||
    fail "over an earlier version: a program file that a group member replaced was kept"
check_kept "over an earlier version" "earlier version"
check_settings "over an earlier version" daemon

echo "--- links the desktop user planted where root writes the settings"
outside=$(dirname "$data")/outside # a place only root may write
mkdir -p "$outside"
echo "root's own" >"$outside/existing"
expect_refused() { # STEP, then the command root runs; it must fail and name the plant
    local step=$1
    shift
    if "$@" >"$log" 2>&1; then
        fail "$step: a planted link was taken:"$'\n'"$(cat "$log")"
    fi
    grep -q "$planted" "$log" || fail "$step: the plant was not named:"$'\n'"$(cat "$log")"
    [ ! -e "$outside/created" ] || fail "$step: $outside/created was made through a link"
    [ "$(stat -c '%U %a %s' "$outside/existing")" = "root 644 11" ] ||
        fail "$step: $outside/existing was changed through a link"
    echo "$step: refused: $(grep "$planted" "$log" | tail -n 1)"
}
postinst=$build/packaging/debian/postinst
for target in created existing; do
    what="a link to $outside/$target"
    [ "$target" = existing ] || what="a dangling link to $outside/$target"
    rm -rf "$data"
    install_as SUDO_USER=daemon
    planted="$data/xcopy.mdb"
    runuser -u daemon -- sh -c "rm '$planted' && ln -s '$outside/$target' '$planted'"
    expect_refused "reinstall, $what" cmake --install "$build"
    expect_refused "hand-over, $what" "$folder/revuredaveze-initdb" --owner nobody
    expect_refused "the package's configure step, $what" sh "$postinst" configure
done
rm -rf "$data"
install_as SUDO_USER=daemon
planted="$data"
mv "$data" "$outside/moved"
ln -s "$outside/moved" "$data"
expect_refused "reinstall, a link in place of the data folder" cmake --install "$build"
expect_refused "hand-over, a link in place of the data folder" \
    "$folder/revuredaveze-initdb" --owner nobody
[ "$(stat -c %U "$outside/moved")" = daemon ] || fail "the linked data folder was taken"
rm "$data"

echo "passed"
