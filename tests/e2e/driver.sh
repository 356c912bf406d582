# Shared by the end-to-end tests: an X display of their own, and the program's main window driven
# like a person with xdotool. Sourced; the test sets $shots (the screenshot folder) and $log (the
# run log), and starts the program before find_main_window.

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $*"; }
wait_for() { # seconds, then a command that succeeds when done
    local limit=$1
    shift
    for ((i = 0; i < limit * 10; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

start_display() { # sets xvfb_pid, for the test to end it
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 20 display_number <&"$display_fd" || fail "Xvfb did not start"
    export DISPLAY=":$display_number"
    unset WAYLAND_DISPLAY
}

# Prints the first visible window whose name matches, waiting for it. A window that goes away
# while xdotool looks at it (as when a program ends or starts) ends xdotool with an X error:
# then it looks again.
find_window() { # seconds to wait, then the name's pattern
    local found tries
    for ((tries = 0; tries < $1 * 10; tries++)); do
        found=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n 1) &&
            [ -n "$found" ] && echo "$found" && return 0
        sleep 0.1
    done
    return 1
}

# Waits until no window whose name matches is left. An X error, from a window that goes away while
# xdotool looks at it, is no answer: it looks again.
wait_until_gone() { # seconds to wait, then xdotool search's options and the name's pattern
    local seconds=$1 tries errors
    shift
    for ((tries = 0; tries < seconds * 10; tries++)); do
        ! errors=$(xdotool search "$@" 2>&1 >/dev/null) && [ -z "$errors" ] && return 0
        sleep 0.1
    done
    return 1
}

# The main window's client area is 635 x 481 pixels (9528 x 7212 twips) below the menu bar.
main_window=
client_top=
find_main_window() { # seconds to wait for it
    main_window=$(find_window "$1" "^Tolvan's XCopy$") || fail "the main window did not appear"
    sleep 1 # until it is drawn where it stays
    eval "$(xdotool getwindowgeometry --shell "$main_window")"
    client_top=$((HEIGHT - 481))
    window_x=$X
    window_y=$Y
}
# Clicks the point (x, y) of the client area, in twips as the window's design gives them.
click_twips() {
    xdotool mousemove --sync $((window_x + $1 / 15)) $((window_y + client_top + $2 / 15)) click 1
    sleep 0.5
}
type_into() { # left top of a text box in twips, then the text
    click_twips $(($1 + 300)) $(($2 + 140))
    xdotool key --clearmodifiers ctrl+a BackSpace
    xdotool type --delay 30 "$3"
}
screenshot() { import -window root "$shots/$1.png"; }
answer_message_box() { # presses the default button of the message box that shows up
    local box
    box=$(find_window 20 '^RevuredAVeze$') || fail "no message box appeared"
    xdotool windowfocus --sync "$box" key Return
    sleep 1
}
# The notice a copy run shows is a window of its own, which would keep the program running after
# the main window closes: a screenshot with it, then "&Close", its default button.
close_run_notice() { # the screenshot's name
    local notice
    notice=$(find_window 20 '^XCopy Notify$') || fail "no run notice"
    screenshot "$1"
    xdotool windowfocus --sync "$notice" key Return
    wait_until_gone 10 --onlyvisible --name '^XCopy Notify$' || fail "the notice did not close"
}
# Ends the program with File > Exit and starts it again (the test's start_program).
restart_program() {
    xdotool windowfocus --sync "$main_window" key alt+f e
    wait_for 30 bash -c "! kill -0 $program_pid 2>/dev/null" || fail "File > Exit did not end the program"
    program_pid=
    start_program
    sleep 2 # until the restored pairs are drawn
}
# Fills pair N's From and To boxes (840 twips below the pair before), locks it and finds both
# folders saved in the pair's tables; the test's db reads the settings.
lock_pair() { # N FROM TO
    local top=$((480 + ($1 - 1) * 840)) from_table=$((2 * $1 - 1)) to_table=$((2 * $1))
    type_into 3240 "$top" "$2"
    type_into 3240 $((top + 360)) "$3"
    click_twips 6780 $((top + 300)) # Check N
    [ "$(db "select Path$from_table from tblPath$from_table")" = "$2" ] &&
        [ "$(db "select Path$to_table from tblPath$to_table")" = "$3" ] ||
        fail "pair $1 was not saved"
}
# Switches the automatic mode on, picks the last interval (30 days) and the last time of day
# (11:00:00 PM), activates and answers the confirmation; the test's db reads the settings.
activate_automatic_mode() {
    click_twips 360 6180  # ckUseTimer
    [ "$(db 'select AutoSync from tblAutoSync')" = "1" ] || fail "the automatic flag was not saved"
    click_twips 1140 6630 # cmbDays: open the list, pick its last entry
    xdotool key End Return
    sleep 0.5
    click_twips 3180 6630 # Combo1
    xdotool key End Return
    sleep 0.5
    click_twips 4800 6660 # cmdActivateAS
    answer_message_box
}
green_pixels() { # counts pixels of the locked green 0x008000 in a twips rectangle of a screenshot
    convert "$shots/$1.png" -crop "$(($4 / 15))x$(($5 / 15))+$((window_x + $2 / 15))+$((window_y + client_top + $3 / 15))" \
        +repage txt:- | grep -c '#008000' || true
}
logged_ending() { # the line that ends a pair's entry in the run log
    [ -f "$log" ] && awk -v head="==== Folder pair $1: " \
        'index($0, head) == 1 { entry = 1 } entry && /^Ended / { print; exit }' "$log"
}
