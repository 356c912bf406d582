#!/usr/bin/env bash
# End-to-end test of the installed program under Xvfb, driven like a person with xdotool:
# fill and lock two pairs and a third whose destination cannot be written, copy them, read the
# copy window left open by the third, switch on and activate the automatic mode, restart, start
# it a second time, and stop the automatic mode. Saves a screenshot of the main window at each
# stage.
# usage: run.sh SOURCE_DIR BUILD_DIR SCREENSHOT_DIR
set -euo pipefail
source_dir=$1
build=$2
shots=$3
work=$(mktemp -d)
install="$work/RevuredAVeze"
home="$work/home"
read_only="$work/read-only stick"
log="$work/state/RevuredAVeze/xcopy.log"
# A runtime folder of its own, so that a program the user runs meanwhile is not the one instance.
export XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$home" "$shots" "$read_only"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
rm -f "$shots"/*.png
xvfb_pid=
program_pid=

finish() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    mountpoint -q "$read_only" && umount "$read_only"
    chmod u+w "$read_only"
    rm -rf "$work"
}
trap finish EXIT
. "$source_dir/tests/e2e/driver.sh"

step "building and installing into $install"
cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF \
    -DINSTALL_DESKTOP_ENTRY=OFF -DINSTALL_FOLDER="$install" >/dev/null
cmake --build "$build" --parallel "$(nproc)" >/dev/null
cmake --install "$build" >/dev/null
[ -f "$install/xcopy.mdb" ] || fail "the install made no settings database"

start_display

db() { sqlite3 "$install/xcopy.mdb" "$1"; }
start_program() {
    (cd "$home" && exec "$install/RevuredAVeze") &
    program_pid=$!
    find_main_window 20
}

# A destination nobody may write into, root included, as a stick mounted read-only is.
failing_pair=yes
if [ "$(id -u)" -ne 0 ]; then
    chmod 555 "$read_only"
elif ! mount -t tmpfs -o ro,size=64k tmpfs "$read_only"; then
    echo "SKIPPED: the pair that fails; root cannot mount a read-only tmpfs here"
    failing_pair=
fi

step "two pairs filled and locked, and a third that cannot be copied"
mkdir -p "$home/docs/sub" "$home/photos" "$home/backup"
echo "letter" >"$home/docs/letter.txt"
echo "notes" >"$home/docs/sub/notes.txt"
echo "holiday" >"$home/photos/beach.jpg"
mkdir -p "$home/letters"
echo "to ann" >"$home/letters/ann.txt"
echo "to bob" >"$home/letters/bob.txt"
start_program
lock_pair 1 "$home/docs" "$home/backup/docs copy"
lock_pair 2 "$home/photos" "$home/backup/photos"
[ -z "$failing_pair" ] || lock_pair 3 "$home/letters" "$read_only"
screenshot 01-pairs-locked

step "XCopy pressed"
click_twips 4860 6420   # Command1 "&XCopy"
wait_for 30 test -f "$home/backup/docs copy/sub/notes.txt" || fail "pair 1 was not copied"
wait_for 30 test -f "$home/backup/photos/beach.jpg" || fail "pair 2 was not copied"
cmp "$home/docs/letter.txt" "$home/backup/docs copy/letter.txt" || fail "a copied file differs"
# The good pairs' copy windows close by themselves.
wait_until_gone 20 --name '^Folder pair [12]: xcopy ' ||
    fail "a copy window of a good pair stayed open"
close_run_notice 02-copied

if [ -n "$failing_pair" ]; then
    step "the copy window of the pair that failed"
    wait_for 20 grep -qs ", exit status 5\\. " "$log" || fail "the log lacks pair 3's copy"
    [[ "$(logged_ending 3)" == *", exit status 5. The copy ended with errors: 2 files could not be copied." ]] ||
        fail "the log has pair 3 end otherwise: $(logged_ending 3)"
    copy_window=$(xdotool search --name '^Folder pair ') || fail "no copy window was left open"
    [ "$(wc -l <<<"$copy_window")" = 1 ] || fail "more than one copy window was left open"
    [ "$(xdotool getwindowname "$copy_window")" = \
        "Folder pair 3: xcopy \"$home/letters\" \"$read_only\" /D /Y /S" ] ||
        fail "the copy window left open is not pair 3's"
    import -window "$copy_window" "$shots/02-copy-failed.png"
    xdotool windowfocus --sync "$copy_window" key ctrl+a ctrl+c
    shown=$(xclip -o -selection clipboard) || fail "nothing could be copied from the copy window"
    [ "$(tail -n 1 <<<"$shown")" = "The copy ended with errors: 2 files could not be copied. Its output is in the run log $log." ] ||
        fail "the copy window does not say what happened: $(tail -n 1 <<<"$shown")"
    xdotool key ctrl+w
    wait_until_gone 10 --name '^Folder pair ' || fail "the copy window did not close"
    for pair in 1 2; do
        [[ "$(logged_ending $pair)" == *", exit status 0. The copy is done." ]] ||
            fail "the log lacks pair $pair's copy"
    done
fi

step "automatic mode switched on and activated"
activate_automatic_mode
[ "$(db 'select Days from tblDays order by id desc limit 1')" = "30" ] || fail "the interval was not saved"
[ "$(db 'select Time from tblTime order by id desc limit 1')" = "11:00:00 PM" ] ||
    fail "the time of day was not saved"
screenshot 03-active

step "closed and started again"
restart_program
screenshot 04-restarted
[ "$(db 'select count(*) from tblPath2')" = "3" ] || fail "pair 1 did not come back locked"
[ "$(db 'select count(*) from tblPath4')" = "3" ] || fail "pair 2 did not come back locked"
[ "$(green_pixels 04-restarted 3240 480 3255 285)" -gt 0 ] || fail "Text1 is not green"
[ "$(green_pixels 04-restarted 3240 1680 3255 285)" -gt 0 ] || fail "Text4 is not green"
[ "$(green_pixels 04-restarted 240 6120 2055 255)" -gt 0 ] || fail "Auto-XCopy is not shown active"

step "started a second time while it runs"
(cd "$home" && timeout 20 "$install/RevuredAVeze") || fail "the second start did not end by itself with success"
[ "$(xdotool search --onlyvisible --name "^Tolvan's XCopy\$" | wc -l)" = 1 ] || fail "there are two main windows"
kill -0 "$program_pid" || fail "the first program ended"

step "automatic mode stopped with OK"
click_twips 360 7020    # CkStopAutoSync
answer_message_box
screenshot 05-stopped
[ "$(db 'select group_concat(AutoSync) from tblAutoSync')" = "0" ] || fail "the flag is not 0"
for table in tblPath1 tblPath2 tblPath3 tblPath4 tblDate tblDays tblTime; do
    [ "$(db "select count(*) from $table")" = "0" ] || fail "$table was not emptied"
done

echo "passed; screenshots in $shots"
