#!/usr/bin/env bash
# Times xcopy against cp and rsync on the same generated tree, side by side in one run, and
# prints seconds, ratios and peak memory.
# Usage: bench/xcopy/run.sh PATH_TO_XCOPY
set -euo pipefail

if [[ $# -ne 1 || ! -x $1 ]]; then
    echo "usage: $0 PATH_TO_XCOPY" >&2
    exit 2
fi
XCOPY=$(realpath "$1")
ROUNDS=3
WORK=$(mktemp -d "${TMPDIR:-/var/tmp}/xcopy-bench.XXXXXX")
cleanup() {
    echo "Removing $WORK (slow where the disk discards freed blocks) ..."
    rm -rf "$WORK"
}
trap cleanup EXIT
SRC=$WORK/src

echo "Making 20,000 small files in 200 folders and four 64 MiB files in $WORK ..."
perl -e '
    my ($root) = @ARGV;
    srand(42);
    open(my $random, "<", "/dev/urandom") or die;
    read($random, my $noise, 16384);
    for my $top (0 .. 19) {
        for my $sub (0 .. 9) {
            my $folder = sprintf("%s/top%02d/sub%d", $root, $top, $sub);
            system("mkdir", "-p", $folder) == 0 or die;
            for my $file (0 .. 99) {
                my $size = 100 + int(rand(8092));
                open(my $out, ">", "$folder/file$file.dat") or die;
                print $out substr($noise, int(rand(8192)), $size);
                close($out);
            }
        }
    }' "$SRC"
for i in 1 2 3 4; do
    head -c 64M /dev/urandom > "$SRC/top0$i/large$i.bin"
done
# Reads everything once so that every tool starts from the same warm cache.
find "$SRC" -type f -exec cat {} + > /dev/null

microseconds() { echo $(($(date +%s%N) / 1000)); }

# Prints the wall time of a command in microseconds. Nothing is deleted while timing: this disk
# discards freed blocks, which would stall whichever tool runs next.
timed() {
    sync
    local start
    start=$(microseconds)
    "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    echo $(($(microseconds) - start))
}

# Waits, at most two minutes, for the machine to be idle: files deleted shortly before (by an
# earlier run, say) are still being discarded by the disk and would slow whatever runs next.
wait_until_quiet() {
    [[ -r /proc/pressure/io ]] || { sleep 10; return; }
    local waited
    for waited in $(seq 120); do
        if awk '/^some/ { split($2, a, "="); if (a[2] > 1.0) busy = 1 } END { exit busy }' \
            /proc/pressure/io /proc/pressure/cpu; then
            return
        fi
        sleep 1
    done
    echo "The machine stayed busy; figures may be noisy." >&2
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(((${#} + 1) / 2))p"; }

# Each full copy runs under time(1), for fairness on both sides; xcopy's peak memory is kept.
xcopy_run() { "$XCOPY" "$SRC" "$1" /D /Y /S; }
xcopy_full() { /usr/bin/time -f %M -a -o "$WORK/peak-full" "$XCOPY" "$SRC" "$1" /D /Y /S; }
cp_full() { /usr/bin/time -f %M -o /dev/null cp -r --preserve=timestamps "$SRC" "$1"; }
cp_update() { cp -ru --preserve=timestamps "$SRC/." "$1"; }
rsync_update() { rsync -rtu "$SRC/" "$1/"; }

# Sets the destination copies of the changed files back to an old time, so they are due again.
make_changed_files_due() {
    local destination
    for destination in "$@"; do
        (cd "$destination" && xargs -d '\n' touch -m -d 2000-01-01 < "$WORK/changed")
    done
}

echo "Waiting for the machine to settle ..."
sync
wait_until_quiet

declare -a full_x full_c same_x same_c same_r changed_x changed_c changed_r
# A first untimed copy by each tool brings the machine to a steady state (fresh memory pages
# cost a virtual machine more on first use); the copies serve the later cases.
xcopy_run "$WORK/warm-x" > /dev/null
cp_full "$WORK/warm-c"
cp -a "$WORK/warm-c" "$WORK/warm-r"

# Into empty folders; who goes first alternates.
for round in $(seq "$ROUNDS"); do
    if ((round % 2)); then
        full_x+=("$(timed xcopy_full "$WORK/full-x$round")")
        full_c+=("$(timed cp_full "$WORK/full-c$round")")
    else
        full_c+=("$(timed cp_full "$WORK/full-c$round")")
        full_x+=("$(timed xcopy_full "$WORK/full-x$round")")
    fi
done

# Nothing changed: each tool only compares, each with its own up-to-date copy.
for round in $(seq "$ROUNDS"); do
    same_x+=("$(timed xcopy_run "$WORK/warm-x")")
    same_c+=("$(timed cp_update "$WORK/warm-c")")
    same_r+=("$(timed rsync_update "$WORK/warm-r")")
done

# One file in a hundred changed.
(cd "$SRC" && find . -name '*.dat' | sort | awk 'NR % 100 == 0') > "$WORK/changed"
(cd "$SRC" && xargs -d '\n' -I{} sh -c 'echo changed >> "{}"' < "$WORK/changed")
for round in $(seq "$ROUNDS"); do
    make_changed_files_due "$WORK/warm-x" "$WORK/warm-c" "$WORK/warm-r"
    changed_x+=("$(timed xcopy_run "$WORK/warm-x")")
    changed_c+=("$(timed cp_update "$WORK/warm-c")")
    changed_r+=("$(timed rsync_update "$WORK/warm-r")")
done

peak_full=$(sort -n "$WORK/peak-full" | tail -1)
peak_same=$(/usr/bin/time -f %M "$XCOPY" "$SRC" "$WORK/warm-x" /D /Y /S 2>&1 > /dev/null | tail -1)

row() { # label, xcopy times, other times, target
    local label=$1 target=$4 mine other
    mine=$(median $2)
    other=$(median $3)
    awk -v l="$label" -v m="$mine" -v o="$other" -v t="$target" \
        'BEGIN { printf "%-34s %9.3f %9.3f %7.2f   %s\n", l, m / 1e6, o / 1e6, m / o, t }'
}

echo
echo "Median of $ROUNDS runs, wall time in seconds."
printf '%-34s %9s %9s %7s   %s\n' "case" "xcopy" "other" "ratio" "target"
row "full copy vs cp -r" "${full_x[*]}" "${full_c[*]}" "<= 1.10"
row "no change vs cp -ru" "${same_x[*]}" "${same_c[*]}" "<= 1.00"
row "no change vs rsync -rtu" "${same_x[*]}" "${same_r[*]}" ""
row "1% changed vs cp -ru" "${changed_x[*]}" "${changed_c[*]}" ""
row "1% changed vs rsync -rtu" "${changed_x[*]}" "${changed_r[*]}" ""
echo
echo "Peak memory of xcopy: full copy ${peak_full} KiB, no change ${peak_same} KiB (target < 16384 KiB)"
