#!/usr/bin/env bash
# End-to-end test of the Windows installer and the installed program under Wine, in a fresh Wine
# prefix and a real X window under Xvfb, driven like a person with xdotool: install silently, lock
# two pairs (the To folder of the second does not exist yet), copy them with Windows's own
# xcopy.exe (Wine's), open both Help documents, switch on and activate the automatic mode, restart
# and find the pairs locked again, then uninstall silently, which keeps the settings. Saves
# screenshots of the stages.
# usage: run.sh INSTALLER SCREENSHOT_DIR
set -euo pipefail
installer=$(realpath "$1")
shots=$2
work=$(mktemp -d)
mkdir -p "$shots"
rm -f "$shots"/*.png

export WINEPREFIX="$work/wine" WINEARCH=win64 WINEDEBUG=-all
# Wine would offer to download .NET and a browser engine, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
drive_c="$WINEPREFIX/drive_c"
install="$drive_c/Program Files/RevuredAVeze"
xvfb_pid=
program_pid=

finish() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
. "$(dirname "$0")/../driver.sh"
start_display

step "a fresh Wine prefix"
"$wine" wineboot --init >/dev/null 2>&1 || fail "Wine could not make its prefix"
user_folder="$drive_c/users/$(id -un)"

step "the installer, run silently"
"$wine" "$installer" /S || fail "the installer ended with status $?"
/usr/lib/wine/wineserver -w
for file in RevuredAVeze.exe revuredaveze-initdb.exe XCopyInstruct.txt XCopyInstuctions.pdf \
    xcopy.mdb xcopy.mdb-journal Uninstall.exe Qt6Core.dll libstdc++-6.dll \
    platforms/qwindows.dll sqldrivers/qsqlite.dll styles/qwindowsvistastyle.dll; do
    [ -f "$install/$file" ] || fail "the installer left out $file"
done
shortcut="$user_folder/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tolvan's XCopy.lnk"
[ -f "$shortcut" ] || fail "no Start-menu entry \"Tolvan's XCopy\""
db() { sqlite3 "$install/xcopy.mdb" "$1"; }
[ "$(db 'select count(*) from tblPath1')" = 0 ] || fail "the new settings are not empty"
echo "installed: $(du -sh "$install" | cut -f1) in C:\\Program Files\\RevuredAVeze"

log="$user_folder/AppData/Local/RevuredAVeze/xcopy.log"
start_program() {
    (cd "$user_folder" && exec "$wine" 'C:\Program Files\RevuredAVeze\RevuredAVeze.exe') &
    program_pid=$!
    find_main_window 60
}
copy_done() { [[ "$(logged_ending "$1")" == *", exit status 0. The copy is done." ]]; }
help_entry() { # opens the Help menu with the mouse and picks its nth entry
    xdotool mousemove --sync $((window_x + 55)) $((window_y + client_top / 2)) click 1
    sleep 0.5
    for ((entry = 0; entry < $1; entry++)); do xdotool key Down; done
    xdotool key Return
}

step "two pairs filled and locked, the second's To folder not made yet"
mkdir -p "$drive_c/data/my docs/sub" "$drive_c/data/photos" "$drive_c/backup/docs copy"
echo "letter" >"$drive_c/data/my docs/letter.txt"
echo "notes" >"$drive_c/data/my docs/sub/notes.txt"
echo "holiday" >"$drive_c/data/photos/beach.jpg"
start_program
lock_pair 1 'C:\data\my docs' 'C:\backup\docs copy'
lock_pair 2 'C:\data\photos' 'C:\backup\new\photos'
screenshot 01-pairs-locked

step "XCopy pressed"
click_twips 4860 6420   # Command1 "&XCopy"
wait_for 60 test -f "$drive_c/backup/docs copy/sub/notes.txt" || fail "pair 1 was not copied"
cmp "$drive_c/data/my docs/letter.txt" "$drive_c/backup/docs copy/letter.txt" ||
    fail "a copied file differs"
wait_for 60 test -f "$drive_c/backup/new/photos/beach.jpg" ||
    fail "pair 2 was not copied into its new To folder"
for pair in 1 2; do
    wait_for 20 copy_done $pair || fail "the run log lacks pair $pair's copy: $(logged_ending $pair)"
done
grep -qxF '==== Folder pair 1: xcopy.exe "C:\data\my docs" "C:\backup\docs copy" /D /Y /S' "$log" ||
    fail "the run log does not name pair 1's command line"
grep -qxF 'C:\data\my docs\sub\notes.txt' "$log" || fail "the run log lacks xcopy.exe's output"
# The copy windows close by themselves.
wait_until_gone 20 --onlyvisible --name '^Folder pair ' || fail "a copy window stayed open"
close_run_notice 02-copied

step "Help: the text in Notepad, the pdf in the program of pdf files"
help_entry 2   # XCopy Instructions (txt)
find_window 30 '^XCopyInstruct.txt - Notepad$' >/dev/null ||
    fail "Notepad did not show the text instructions"
screenshot 03-help-text
"$wine" taskkill /im notepad.exe >/dev/null 2>&1
# Wine hands pdf files to the Linux desktop, which has no viewer here: Notepad stands in.
"$wine" reg add 'HKCR\pdffile\shell\open\command' /ve /d 'notepad.exe "%1"' /f >/dev/null 2>&1
help_entry 1   # XCopy Instructions (pdf)
find_window 30 '^XCopyInstuctions.pdf - Notepad$' >/dev/null ||
    fail "the pdf instructions were not opened in the program of pdf files"
"$wine" taskkill /im notepad.exe >/dev/null 2>&1

step "automatic mode switched on and activated"
activate_automatic_mode
[ "$(db 'select Days from tblDays order by id desc limit 1')" = "30" ] ||
    fail "the interval was not saved"
screenshot 04-active

step "closed and started again"
# The restart locks each saved pair again, which saves its folders anew.
saved_to_1=$(db 'select count(*) from tblPath2')
saved_to_2=$(db 'select count(*) from tblPath4')
restart_program
screenshot 05-restarted
for table in tblPath2:$saved_to_1:1 tblPath4:$saved_to_2:2; do
    IFS=: read -r name before pair <<<"$table"
    records=$(db "select count(*) from $name")
    [ "$records" -gt "$before" ] ||
        fail "pair $pair did not come back locked: $name holds $records records, $before before"
done
[ "$(green_pixels 05-restarted 3240 480 3255 285)" -gt 0 ] || fail "Text1 is not green"
[ "$(green_pixels 05-restarted 3240 1680 3255 285)" -gt 0 ] || fail "Text4 is not green"
xdotool windowfocus --sync "$main_window" key alt+f e
wait_for 30 bash -c "! kill -0 $program_pid 2>/dev/null" || fail "File > Exit did not end the program"
program_pid=

step "uninstalled silently: the program files go, the settings stay"
"$wine" 'C:\Program Files\RevuredAVeze\Uninstall.exe' /S || fail "the uninstaller ended with status $?"
/usr/lib/wine/wineserver -w
[ ! -e "$install/RevuredAVeze.exe" ] && [ ! -e "$install/platforms" ] ||
    fail "the uninstaller left program files"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu entry"
[ "$(db 'select count(*) from tblPath2')" -gt "$saved_to_1" ] ||
    fail "the uninstaller did not keep the settings"

echo "passed; screenshots in $shots"
