#!/usr/bin/env bash
# The batch run cycle, before and after a change, with our own runner only: the ISO week
# listing (iso_listing.txt, 900,000 lines), the same listing ten times in one program, and
# batch_statements.txt (conditions, calls, assignments). For each program and each runner:
# the instructions executed (valgrind's callgrind, the same on a busy machine) and the best
# and median CPU time (user + system) of RUNS interleaved runs. Both runners must write the
# same text.
#
#   bench/batch_run_cycle.sh BEFORE-DAYBRIDGE-BATCH [AFTER-DAYBRIDGE-BATCH] [BENCH-DIR] [RUNS]
#
# Each runner needs its text data file beside it. AFTER defaults to build/bin/daybridge-batch,
# BENCH-DIR (holding iso_listing.txt) to ../shared/bench beside the checkout, RUNS to 15.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
before=${1:?usage: batch_run_cycle.sh BEFORE [AFTER] [BENCH-DIR] [RUNS]}
after=${2:-$top/build/bin/daybridge-batch}
benchdir=${3:-$top/../shared/bench}
runs=${4:-15}
for tool in valgrind /usr/bin/time; do
    command -v "$tool" > /dev/null || { echo "missing: $tool" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
    echo "// The ISO listing ten times"
    echo "DO 10"
    grep -v '^//' "$benchdir/iso_listing.txt"
    echo "ENDDO"
} > "$work/iso_listing_10.txt"
programs=("$benchdir/iso_listing.txt" "$work/iso_listing_10.txt" "$top/bench/batch_statements.txt")

run() { "$1" --verbose off --today 2026-12-06 "$2"; }

status=0
for program in "${programs[@]}"; do
    name=$(basename "$program" .txt)
    if ! cmp -s <(run "$before" "$program") <(run "$after" "$program"); then
        echo "$name: the outputs differ" >&2
        status=1
    fi
    for which in before after; do
        exe=${!which}
        instructions=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null \
            "$exe" --verbose off --today 2026-12-06 "$program" 2>&1 > /dev/null |
            sed -n 's/.*Collected : //p')
        echo "$name $which instructions $instructions"
    done
    for ((i = 0; i < runs; i++)); do
        for which in before after; do
            /usr/bin/time -f "$which %U %S" -a -o "$work/$name.times" \
                "${!which}" --verbose off --today 2026-12-06 "$program" > /dev/null
        done
    done
    for which in before after; do
        grep "^$which " "$work/$name.times" | awk '{print $2 + $3}' | sort -n |
            awk -v n="$name" -v w="$which" '{t[NR] = $1}
                END {printf "%s %s cpu best %.2f s median %.2f s\n", n, w, t[1], t[int((NR + 1) / 2)]}'
    done
done
exit $status
