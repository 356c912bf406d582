#!/usr/bin/env bash
# Start-up benchmark: the program against a minimal Qt Widgets window, built and measured the
# same way in the same run. Prints the median time from launch to the window shown and the peak
# memory of each, and their ratios.
# usage: bench/startup/run.sh BUILD_DIR [RUNS]    (QT_QPA_PLATFORM selects the display)
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-21}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

program() { "$build/bench/startup/bench_startup_program" "$1" "$work"; }
minimal() { "$build/bench/startup/bench_startup_minimal" "$1"; }

# Alternate the two so that both see the same machine state; one warm-up each.
program "$(date +%s%N)" >/dev/null 2>&1
minimal "$(date +%s%N)" >/dev/null 2>&1
: >"$work/program.txt"
: >"$work/minimal.txt"
for ((i = 0; i < runs; i++)); do
    program "$(date +%s%N)" >>"$work/program.txt" 2>/dev/null
    minimal "$(date +%s%N)" >>"$work/minimal.txt" 2>/dev/null
done

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
p_ms=$(cut -d' ' -f1 "$work/program.txt" | median)
m_ms=$(cut -d' ' -f1 "$work/minimal.txt" | median)
p_kb=$(cut -d' ' -f2 "$work/program.txt" | median)
m_kb=$(cut -d' ' -f2 "$work/minimal.txt" | median)
echo "platform: ${QT_QPA_PLATFORM:-default}, runs: $runs (medians)"
printf '%-22s %10s %12s\n' "" "start (ms)" "peak (KiB)"
printf '%-22s %10s %12s\n' "minimal Qt window" "$m_ms" "$m_kb"
printf '%-22s %10s %12s\n' "RevuredAVeze" "$p_ms" "$p_kb"
awk -v a="$p_ms" -v b="$m_ms" -v c="$p_kb" -v d="$m_kb" \
    'BEGIN {printf "ratio: start %.2f, peak memory %.2f (target: at most 1.5 each)\n", a/b, c/d}'
