#!/usr/bin/env bash
# Start-up benchmark: the program against a minimal Qt Widgets window that opens an SQLite file,
# each timed from its start until its window is mapped on an X server of the benchmark's own
# (Xvfb, no window manager), alternating the two. Prints the medians of time and peak memory and
# their ratios.
# usage: bench/startup/run.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-15}
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(cat "$work/display")" XDG_RUNTIME_DIR="$work"
cd "$work"

mapped() { "$build/bench/startup/bench_mapwait" "$@"; }
program() { mapped "$build/bench/startup/bench_startup_program" "$work"; }
minimal() { mapped "$build/bench/startup/bench_startup_minimal" "$work/xcopy.mdb"; }

# One warm-up each (the program's makes the settings database), then alternately, so that both see the same machine state.
program >/dev/null
minimal >/dev/null
for ((i = 0; i < runs; i++)); do
    program >>"$work/program.txt"
    minimal >>"$work/minimal.txt"
done

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
p_ms=$(cut -d' ' -f1 "$work/program.txt" | median)
m_ms=$(cut -d' ' -f1 "$work/minimal.txt" | median)
p_kb=$(cut -d' ' -f2 "$work/program.txt" | median)
m_kb=$(cut -d' ' -f2 "$work/minimal.txt" | median)
echo "start until the window is mapped on Xvfb, runs: $runs (medians)"
printf '%-34s %10s %12s\n' "" "start (ms)" "peak (KiB)"
printf '%-34s %10s %12s\n' "minimal Qt window opening SQLite" "$m_ms" "$m_kb"
printf '%-34s %10s %12s\n' "RevuredAVeze" "$p_ms" "$p_kb"
awk -v a="$p_ms" -v b="$m_ms" -v c="$p_kb" -v d="$m_kb" \
    'BEGIN {printf "ratio: start %.2f (target at most 1.3), peak memory %.2f\n", a/b, c/d}'
