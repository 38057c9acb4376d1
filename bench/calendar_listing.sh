#!/usr/bin/env bash
# Times daybridge-batch through each calendar's reader, writer and built-ins: for every
# calendar of years, months and days, 3,000,000 consecutive days from 1601-01-01 are taken apart
# (YEAROF, MONTHOF, DAYOF), put together again (DATE) and written (DATEVAL); MAY and MJD are
# only written. The ISO week listing of iso_listing.sh (900,000 days, run ten times) is timed
# beside them.
#
#   bench/calendar_listing.sh AFTER-BATCH BEFORE-BATCH [ROUNDS]
#

# Each round runs before and after one after the other (interleaved, so that a loaded machine
# weighs on both alike) and checks that both write the same text; the best CPU time (user +
# system) of the rounds is reported. ROUNDS defaults to 5.
set -euo pipefail

after=$1
before=$2
rounds=${3:-5}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

codes=(CE JC HEB ISL PER COP ETH FRR IND MAY MJD)
for code in "${codes[@]}"; do
    {
        echo "D = CE 1601-01-01"
        echo "DO 100"
        echo "DO 30000"
        if [ "$code" = MAY ] || [ "$code" = MJD ]; then
            echo "OUTPUT: DATEVAL(D, $code)"
        else
            echo "Y = YEAROF(D, $code)"
            echo "M = MONTHOF(D, $code)"
            echo "T = DAYOF(D, $code)"
            echo "E = DATE($code, Y, M, T)"
            echo "OUTPUT: DATEVAL(E, $code)"
        fi
        echo "D += 1"
        echo "ENDDO"
        echo "ENDDO"
    } > "$work/$code.txt"
done
# The ISO week listing of iso_listing.sh, ten times over (too fast to time once).
{
    echo "DO 10"
    echo "D = CE 1601-01-01"
    echo "DO 30"
    echo "DO 30000"
    echo "OUTPUT: DATEVAL(D, ISO)"
    echo "D += 1"
    echo "ENDDO"
    echo "ENDDO"
    echo "ENDDO"
} > "$work/ISO-listing.txt"
programs=("${codes[@]}" ISO-listing)

# CPU seconds of one run, its output kept in $work/$2.out.
cpu() {
    local batch=$1 name=$2 program=$3
    /usr/bin/time -f '%U %S' -o "$work/time" "$batch" --verbose off --today 2026-12-06 \
        "$program" > "$work/$name.out"
    awk '{ printf "%.3f", $1 + $2 }' "$work/time"
}

printf '%-12s %10s %10s %7s\n' program before after ratio
for name in "${programs[@]}"; do
    best_before=999
    best_after=999
    for ((i = 0; i < rounds; ++i)); do
        b=$(cpu "$before" before "$work/$name.txt")
        a=$(cpu "$after" after "$work/$name.txt")
        cmp -s "$work/before.out" "$work/after.out" || { echo "$name: outputs differ" >&2; exit 1; }
        best_before=$(echo "$b $best_before" | awk '{ print ($1 < $2) ? $1 : $2 }')
        best_after=$(echo "$a $best_after" | awk '{ print ($1 < $2) ? $1 : $2 }')
    done
    echo "$name $best_before $best_after" |
        awk '{ printf "%-12s %9.3fs %9.3fs %7.3f\n", $1, $2, $3, $3 / $2 }'
done
