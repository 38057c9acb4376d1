#!/usr/bin/env bash
# Times the runner's filter mode converting dates read from standard input: 1,000,000 CE dates
# (years 1643-2191, the same pseudo-random ones every run) to the Hebrew calendar and back, and
# the first 1 MiB of them alone; prints lines per second on CPU time and checks that the round
# trip gives the input back byte for byte; then the same through formats (--format and
# --input-format with month names), whose round trip must give the input back too.
#
#   bench/filter_convert.sh [DAYBRIDGE-BATCH]
#
# DAYBRIDGE-BATCH defaults to build/bin/daybridge-batch. Target: a 1 MiB input in well under a
# second. The exit status is 1 when the round trip differs or the target is missed. RUNS sets
# the number of timed runs (default 3); the best is reported.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
batch=${1:-$top/build/bin/daybridge-batch}
runs=${RUNS:-3}
lines=1000000
[ -x "$batch" ] || { echo "missing: $batch" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/dates.txt" "$lines" <<'EOF'
import datetime, random, sys
random.seed(20261208)
with open(sys.argv[1], "w") as out:
    for _ in range(int(sys.argv[2])):
        out.write(datetime.date.fromordinal(random.randint(600000, 800000)).isoformat() + "\n")
EOF
head -c 1048576 "$work/dates.txt" | head -n -1 > "$work/mib.txt"  # whole lines only

# The best CPU time (user + system, seconds) of `runs` runs of a command reading a file.
best_cpu() {
    local input=$1 output=$2 best="" t
    shift 2
    for _ in $(seq "$runs"); do
        t=$( { TIMEFORMAT='%U %S'; time "$@" < "$input" > "$output"; } 2>&1 |
            awk '{ print $1 + $2 }')
        if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$t
        fi
    done
    echo "$best"
}

status=0
there=$(best_cpu "$work/dates.txt" "$work/heb.txt" "$batch" --to HEB)
back=$(best_cpu "$work/heb.txt" "$work/back.txt" "$batch" --from HEB --to CE)
mib=$(best_cpu "$work/mib.txt" /dev/null "$batch" --to HEB)
pattern='%A, %-d %B %Y (%j)'
formatted=$(best_cpu "$work/dates.txt" "$work/long.txt" "$batch" --to HEB --format "$pattern")
read_back=$(best_cpu "$work/long.txt" "$work/back2.txt" "$batch" --from HEB \
    --input-format "$pattern" --to CE --format iso)
if cmp -s "$work/dates.txt" "$work/back.txt"; then
    echo "round trip CE -> HEB -> CE: the same $lines lines"
else
    echo "round trip CE -> HEB -> CE differs"
    status=1
fi
if cmp -s "$work/dates.txt" "$work/back2.txt"; then
    echo "round trip CE -> HEB '$pattern' -> CE iso: the same $lines lines"
else
    echo "round trip through '$pattern' differs"
    status=1
fi
awk -v n="$lines" -v t="$there" 'BEGIN { printf "CE -> HEB: %.2f s CPU, %.0f lines/s\n", t, n / t }'
awk -v n="$lines" -v t="$back" 'BEGIN { printf "HEB -> CE: %.2f s CPU, %.0f lines/s\n", t, n / t }'
awk -v n="$lines" -v t="$formatted" -v p="$pattern" \
    'BEGIN { printf "CE -> HEB by \"%s\": %.2f s CPU, %.0f lines/s\n", p, t, n / t }'
awk -v n="$lines" -v t="$read_back" -v p="$pattern" \
    'BEGIN { printf "HEB by \"%s\" -> CE iso: %.2f s CPU, %.0f lines/s\n", p, t, n / t }'
echo "1 MiB ($(wc -l < "$work/mib.txt") lines) CE -> HEB: $mib s CPU"
if ! awk -v t="$mib" 'BEGIN { exit !(t < 0.5) }'; then
    echo "target missed: 1 MiB took $mib s (target: under 0.5 s)"
    status=1
fi
exit $status
