#!/usr/bin/env bash
# Plants hand-made faults into a scratch copy of the sources, one at a time, rebuilds, runs the
# unit tests and prints which faults no test caught. Each fault is one literal change listed in
# faults.txt as "file @@ text @@ replacement @@ what it breaks". Run from anywhere; it changes
# nothing in the working tree.
#   tests/faults/plant.sh [pattern]     only the faults whose line matches the pattern (a bash
#                                       regular expression)
set -uo pipefail
project=$(cd "$(dirname "$0")/../.." && pwd)
list="$project/tests/faults/faults.txt"
filter=${1:-}
scratch=$(mktemp -d /tmp/faults.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch" # some tests run programs of the build as another user

echo "Copying the sources to $scratch"
(cd "$project" && git ls-files -z | xargs -0 cp --parents -t "$scratch") || exit 1
generator=()
command -v ninja >/dev/null && generator=(-G Ninja) # quicker to find the one file to rebuild
cmake -S "$scratch" -B "$scratch/build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    >/dev/null || exit 1
echo "Building the unfaulted copy"
cmake --build "$scratch/build" --parallel "$(nproc)" >"$scratch/build.log" 2>&1 ||
    { tail -20 "$scratch/build.log"; exit 1; }
# The unit tests, without the end-to-end and package tests, which try the whole product on the
# machine; a fault in the copy command reaches only the tests that run it. The tests of the
# fault's own subsystem run first (the tests mirror the code), and a run ends at the first
# failure: one is enough to catch a fault.
run_tests() { # [source file]
    local file=${1:-} only=.
    [[ "$file" == xcopy/* ]] && only='xcopy|copywindow'
    if [[ "$file" == src/*/* ]] && (cd "$scratch/build" && ctest -N -L "^$(cut -d/ -f2 <<<"$file")\$" |
        grep -q 'Total Tests: [1-9]'); then
        (cd "$scratch/build" && timeout 900 ctest -L "^$(cut -d/ -f2 <<<"$file")\$" --stop-on-failure \
            --timeout 120 >"$scratch/test.log" 2>&1) || return 1
    fi
    (cd "$scratch/build" && timeout 900 ctest -R "$only" -E 'e2e|install_package' --stop-on-failure \
        --parallel "$(nproc)" --timeout 120 >"$scratch/test.log" 2>&1)
}
run_tests || { echo "The unit tests fail without a fault:"; tail -8 "$scratch/test.log"; exit 1; }

# Replaces exactly one occurrence of a literal text; fails when it is not there exactly once.
plant() { # file search replacement
    perl -0777 -i -e '
        my ($search, $replacement) = (shift, shift);
        s/\\n/\n/g for $search, $replacement; # "\n" stands for a line break
        local $/; my $text = <>;
        my $count = () = $text =~ /\Q$search\E/g;
        die "found $count times\n" unless $count == 1;
        $text =~ s/\Q$search\E/$replacement/;
        print $text;' "$2" "$3" "$1"
}

total=0; caught=0; missed=(); broken=()
while IFS= read -r line; do
    [[ -z "$line" || "$line" == \#* ]] && continue
    [[ -n "$filter" && ! "$line" =~ $filter ]] && continue
    file=${line%% @@ *}; rest=${line#* @@ }
    search=${rest%% @@ *}; rest=${rest#* @@ }
    replacement=${rest%% @@ *}; what=${rest#* @@ }
    total=$((total + 1))
    cp "$scratch/$file" "$scratch/pristine"
    if ! error=$(plant "$scratch/$file" "$search" "$replacement" 2>&1); then
        broken+=("$file: $what (the text to change was $error)")
    elif ! cmake --build "$scratch/build" --parallel "$(nproc)" >"$scratch/build.log" 2>&1; then
        broken+=("$file: $what (does not compile)")
    elif run_tests "$file"; then
        missed+=("$file: $what")
    else
        caught=$((caught + 1))
        printf 'caught  %s: %s (%s)\n' "$file" "$what" \
            "$(grep -oE '[0-9]+ - [a-z_0-9]+' "$scratch/test.log" | head -3 | sed 's/^[0-9]* - //' | paste -sd, -)"
    fi
    cp "$scratch/pristine" "$scratch/$file"
done <"$list"

for fault in "${missed[@]}"; do echo "MISSED  $fault"; done
for fault in "${broken[@]}"; do echo "BROKEN  $fault"; done
echo "$caught of $total planted faults were caught by the unit tests."
[ "$caught" -eq "$total" ]
