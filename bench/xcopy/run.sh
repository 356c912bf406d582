#!/usr/bin/env bash
# Times xcopy against cp on generated trees, on disk and in memory (tmpfs), and prints medians,
# ratios and peak memory. xcopy runs with its pool of threads and in its single-threaded mode
# (XCOPY_THREADS=1). Cold cases drop the page cache before each timed run (root only).
# Usage: bench/xcopy/run.sh PATH_TO_XCOPY
set -euo pipefail

if [[ $# -ne 1 || ! -x $1 ]]; then
    echo "usage: $0 PATH_TO_XCOPY" >&2
    exit 2
fi
XCOPY=$(realpath "$1")
ROUNDS=3
DISK=$(mktemp -d "${TMPDIR:-/var/tmp}/xcopy-bench.XXXXXX")
MEMORY=""
MOUNTED=""
cleanup() {
    [[ -n $MOUNTED ]] && umount "$MOUNTED"
    [[ -n $MEMORY && -z $MOUNTED ]] && rm -rf "$MEMORY"
    echo "Removing $DISK (slow where the disk discards freed blocks) ..."
    rm -rf "$DISK"
}
trap cleanup EXIT

if [[ $(stat -f -c %T "$DISK") == tmpfs ]]; then
    echo "$DISK is in memory; set TMPDIR to a folder on a disk." >&2
    exit 2
fi
if [[ $(stat -f -c %T /dev/shm 2>/dev/null) == tmpfs ]]; then
    MEMORY=$(mktemp -d /dev/shm/xcopy-bench.XXXXXX)
elif [[ $EUID -eq 0 ]]; then
    MEMORY=$DISK/memory
    mkdir "$MEMORY"
    mount -t tmpfs -o size=8g tmpfs "$MEMORY"
    MOUNTED=$MEMORY
else
    echo "No tmpfs at /dev/shm and no root to mount one: the cases in memory are left out." >&2
fi
COLD=0
if [[ $EUID -eq 0 && -w /proc/sys/vm/drop_caches ]]; then
    COLD=1
else
    echo "Not root: the cold cases (page cache dropped before each run) are left out." >&2
fi

# make_tree ROOT FOLDERS FILES_PER_FOLDER MAX_SIZE: files of 0..MAX_SIZE bytes, in twenty top folders.
make_tree() {
    perl -e '
        my ($root, $folders, $files, $max) = @ARGV;
        srand(42);
        open(my $random, "<", "/dev/urandom") or die;
        read($random, my $noise, 16384);
        for my $f (0 .. $folders - 1) {
            my $folder = sprintf("%s/top%02d/sub%04d", $root, $f % 20, $f);
            system("mkdir", "-p", $folder) == 0 or die;
            for my $file (0 .. $files - 1) {
                open(my $out, ">", "$folder/file$file.dat") or die;
                print $out substr($noise, int(rand(8192)), int(rand($max + 1)));
                close($out);
            }
        }' "$@"
}

microseconds() { echo $(($(date +%s%N) / 1000)); }

# Prints the wall time of a command in microseconds. Nothing is deleted while timing: this disk
# discards freed blocks, which would stall whichever tool runs next.
timed() {
    sync
    if [[ $CASE_IS_COLD == 1 ]]; then
        echo 3 > /proc/sys/vm/drop_caches
    fi
    local start
    start=$(microseconds)
    "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    echo $(($(microseconds) - start))
}
CASE_IS_COLD=0

# Waits, at most half a minute, for the machine to be idle: files deleted shortly before (by an
# earlier run, say) are still being discarded by the disk and would slow whatever runs next. A
# machine shared with other work seldom gets quieter by waiting longer.
wait_until_quiet() {
    [[ -r /proc/pressure/io ]] || { sleep 10; return; }
    local waited
    for waited in $(seq 30); do
        if awk '/^some/ { split($2, a, "="); if (a[2] > 1.0) busy = 1 } END { exit busy }' \
            /proc/pressure/io /proc/pressure/cpu; then
            return
        fi
        sleep 1
    done
    echo "The machine stayed busy; figures may be noisy." >&2
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(((${#} + 1) / 2))p"; }

# Each full copy runs under time(1), on both sides; xcopy's peak memory is kept in $PEAKS.
xcopy_full() { /usr/bin/time -f %M -a -o "$PEAKS" "$XCOPY" "$SRC" "$1" /D /Y /S; }
xcopy_single_full() { XCOPY_THREADS=1 xcopy_full "$1"; }
xcopy_update() { /usr/bin/time -f %M -a -o "$PEAKS_SAME" "$XCOPY" "$SRC" "$1" /D /Y /S; }
xcopy_single_update() { XCOPY_THREADS=1 xcopy_update "$1"; }
cp_full() { /usr/bin/time -f %M -o /dev/null cp -r --preserve=timestamps "$SRC" "$1"; }
# On a disk cp's copy is made durable the way xcopy makes its own: one flush of its file system.
cp_full_durable() { cp_full "$1" && sync -f "$1"; }
cp_update() { cp -ru --preserve=timestamps "$SRC/." "$1"; }

row() { # label, pool times, single-threaded times, cp times, target
    local pool single other
    pool=$(median $2)
    single=$(median $3)
    other=$(median $4)
    awk -v l="$1" -v p="$pool" -v s="$single" -v o="$other" -v t="$5" 'BEGIN {
        printf "%-30s %8.3f %8.3f %8.3f %7.2f %7.2f   %s\n", l, p / 1e6, s / 1e6, o / 1e6,
            p / o, s / o, t }'
}

# bench_tree PLACE KIND ROOT FULL_ROUNDS FOLDERS FILES MAX_SIZE [LARGE_FILES]
bench_tree() {
    local place=$1 kind=$2 root=$3 full_rounds=$4 cp_copy
    SRC=$root/src-$kind
    PEAKS=$root/peaks-$kind
    PEAKS_SAME=$root/peaks-same-$kind
    echo "Making the $kind tree in $root ..."
    make_tree "$SRC" "$5" "$6" "$7"
    local i
    for ((i = 1; i <= ${8:-0}; i++)); do
        head -c 64M /dev/urandom > "$SRC/top0$i/large$i.bin"
    done
    # Reads everything once so that every tool starts from the same warm cache.
    find "$SRC" -type f -exec cat {} + > /dev/null
    sync
    wait_until_quiet

    local -a full_p=() full_s=() full_c=() same_p=() same_s=() same_c=() cold_p=() cold_s=()
    local -a cold_c=()
    cp_copy=cp_full
    [[ $place == disk ]] && cp_copy=cp_full_durable
    # Into empty folders; who goes first turns round. The first copies serve the later cases.
    local round
    for round in $(seq "$full_rounds"); do
        local order=(c p s)
        ((round % 3 == 2)) && order=(p s c)
        ((round % 3 == 0)) && order=(s c p)
        for tool in "${order[@]}"; do
            case $tool in
                c) full_c+=("$(timed $cp_copy "$root/$kind-c$round")") ;;
                p) full_p+=("$(timed xcopy_full "$root/$kind-p$round")") ;;
                s) full_s+=("$(timed xcopy_single_full "$root/$kind-s$round")") ;;
            esac
        done
        if ((round > 1)) && [[ $place == memory ]]; then
            rm -rf "$root/$kind-c$round" "$root/$kind-p$round" "$root/$kind-s$round"
        fi
    done

    # Nothing changed: each tool only compares, with its own up-to-date copy.
    for round in $(seq "$ROUNDS"); do
        same_p+=("$(timed xcopy_update "$root/$kind-p1")")
        same_s+=("$(timed xcopy_single_update "$root/$kind-p1")")
        same_c+=("$(timed cp_update "$root/$kind-c1")")
    done
    if ((COLD)); then
        CASE_IS_COLD=1
        for round in $(seq "$ROUNDS"); do
            cold_c+=("$(timed cp_update "$root/$kind-c1")")
            cold_p+=("$(timed xcopy_update "$root/$kind-p1")")
            cold_s+=("$(timed xcopy_single_update "$root/$kind-p1")")
        done
        CASE_IS_COLD=0
    fi

    local full_target="<= 0.90" full_label="full copy vs cp -r"
    if [[ $place == disk ]]; then
        full_target="<= 1.20"
        full_label="full copy vs cp -r && sync"
    fi
    {
        echo
        echo "$kind tree on $place: median wall time in seconds ($full_rounds full, $ROUNDS other runs)"
        printf '%-30s %8s %8s %8s %7s %7s   %s\n' case pool single cp pool/cp single/cp target
        row "$full_label" "${full_p[*]}" "${full_s[*]}" "${full_c[*]}" "$full_target"
        row "warm no change vs cp -ru" "${same_p[*]}" "${same_s[*]}" "${same_c[*]}" "<= 0.60"
        if ((COLD)); then
            local note=""
            [[ $place == memory ]] && note=" (tmpfs stays in memory)"
            row "cold no change vs cp -ru" "${cold_p[*]}" "${cold_s[*]}" "${cold_c[*]}" \
                "<= 0.60$note"
        fi
        echo "Peak memory of xcopy (pool and single): full copy $(sort -n "$PEAKS" | tail -1) KiB," \
            "no change $(sort -n "$PEAKS_SAME" | tail -1) KiB (target < 16384 KiB)"
    } >> "$REPORT"
}

# The disk can answer several requests at once: what each number of threads buys on a cold tree.
thread_sweep() {
    SRC=$DISK/src-20k
    PEAKS_SAME=/dev/null
    CASE_IS_COLD=$COLD
    local threads round
    {
        echo
        echo "Threads on the 20k tree on disk, $([[ $COLD == 1 ]] && echo cold || echo warm)," \
            "no change: median seconds of $ROUNDS"
        for threads in 1 2 4 8 16; do
            local -a times=()
            for round in $(seq "$ROUNDS"); do
                times+=("$(XCOPY_THREADS=$threads timed xcopy_update "$DISK/20k-p1")")
            done
            awk -v n="$threads" -v t="$(median "${times[@]}")" \
                'BEGIN { printf "  %2d threads %8.3f\n", n, t / 1e6 }'
        done
    } >> "$REPORT"
    CASE_IS_COLD=0
}

REPORT=$DISK/report
: > "$REPORT"
echo "Waiting for the machine to settle ..."
sync
wait_until_quiet
# 20,000 files of 0-8 KB in 200 folders and four 64 MiB files; 200,000 files of 0-4 KB.
bench_tree disk 20k "$DISK" "$ROUNDS" 200 100 8192 4
bench_tree disk 200k "$DISK" 1 2000 100 4096
thread_sweep
if [[ -n $MEMORY ]]; then
    bench_tree memory 20k "$MEMORY" "$ROUNDS" 200 100 8192 4
    rm -rf "$MEMORY"/*-20k "$MEMORY"/20k-*
    bench_tree memory 200k "$MEMORY" 1 2000 100 4096
fi
echo "xcopy's pool: XCOPY_THREADS unset (the program's own choice); single: XCOPY_THREADS=1."
cat "$REPORT"
