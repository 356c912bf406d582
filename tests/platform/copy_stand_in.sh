#!/bin/sh
# Stands in for a copy command with a given output and ending:
#   copy_stand_in.sh LABEL OUT_LINES ERR_LINES ENDING [HOLD_FILE]
# prints OUT_LINES lines "LABEL line N" to its output and ERR_LINES lines naming a file it could
# not copy to its error output, the last of them without its line end, then ends with the exit
# status ENDING, or by the signal -ENDING when that is negative. With HOLD_FILE it creates that
# file, as a copy makes its temporary file, and holds until SIGTERM, which removes it and ends
# with status 2, or for a minute at most, so that a test that dies leaves no stand-in behind.
if [ -n "$5" ]; then
    trap 'rm -f "$5"; kill $! 2>/dev/null; exit 2' TERM
    : >"$5"
fi
seq -f "$1 line %g" "$2"
seq -f "Cannot read $1/file%g: Permission denied" "$3" | head -c -1 >&2
if [ -n "$5" ]; then
    sleep 60 >/dev/null &
    wait
fi
[ "$4" -ge 0 ] || kill "$4" $$
exit "$4"
