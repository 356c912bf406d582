#!/bin/sh
# Stands in for a started program: writes the path it was started by and each argument, every one
# followed by a NUL byte, to the file named by RECORD_TO.
printf '%s\0' "$0" "$@" >"$RECORD_TO"
