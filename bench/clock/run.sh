#!/bin/sh
# Runs the clock benchmark while one core is kept busy, on a virtual display when Xvfb is there.
#   bench/clock/run.sh BUILD_DIR [seconds]
set -eu
build=${1:?usage: run.sh BUILD_DIR [seconds]}
seconds=${2:-600}
program="$build/bench/clock/bench_clock"

sh -c 'while :; do :; done' &
busy=$!
trap 'kill "$busy"' EXIT INT TERM

if command -v xvfb-run >/dev/null 2>&1; then
    xvfb-run -a "$program" "$seconds"
else
    QT_QPA_PLATFORM=offscreen "$program" "$seconds"
fi
