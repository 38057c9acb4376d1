#!/usr/bin/env bash
# Times the ISO week listing (900,000 consecutive days from 1601-01-01) three ways on this
# machine: daybridge-batch running iso_listing.txt, CPython running iso_listing.py and
# dateutils' dseq; checks that the three outputs are the same lines and measures the peak
# memory of daybridge-batch.
#
#   bench/iso_listing.sh [DAYBRIDGE-BATCH] [BENCH-DIR]
#
# DAYBRIDGE-BATCH defaults to build/bin/daybridge-batch, BENCH-DIR (holding iso_listing.txt
# and iso_listing.py) to ../shared/bench beside the checkout. Targets, on CPU time: at least
# 10 times faster than CPython, at most 0.35 times the time of dseq; peak memory below 50 MiB.
# The exit status is 1 when the outputs differ or a target is missed. RUNS sets the number
# of timed runs (default 5). BEFORE names an older daybridge-batch (with its data file beside
# it) to time in the same run, for before/after figures.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
batch=${1:-$top/build/bin/daybridge-batch}
benchdir=${2:-$top/../shared/bench}
program=$benchdir/iso_listing.txt
python_program=$benchdir/iso_listing.py
lines=900000

for f in "$batch" "$program" "$python_program"; do
    [ -e "$f" ] || { echo "missing: $f" >&2; exit 2; }
done
if ! command -v dateutils.dseq > /dev/null || ! command -v hyperfine > /dev/null ||
    [ ! -x /usr/bin/time ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq dateutils hyperfine time
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

batch_cmd=("$batch" --verbose off --today 2026-12-06 "$program")
python_cmd=(python3 "$python_program")
dseq_cmd=(dateutils.dseq 1601-01-01 4065-02-11 -f '%G-W%V-%u ISO')

echo "== outputs"
"${batch_cmd[@]}" > "$work/batch.out"
"${python_cmd[@]}" > "$work/python.out"
"${dseq_cmd[@]}" > "$work/dseq.out"
same=1
for name in batch python dseq; do
    n=$(wc -l < "$work/$name.out")
    echo "$name: $n lines"
    [ "$n" -eq "$lines" ] || same=0
done
cmp -s "$work/batch.out" "$work/python.out" || { echo "daybridge-batch and CPython differ"; same=0; }
cmp -s "$work/batch.out" "$work/dseq.out" || { echo "daybridge-batch and dseq differ"; same=0; }
[ "$same" -eq 1 ] && echo "the three outputs are the same $lines lines"

echo "== times"
quote() { printf '%q ' "$@"; }
before=()
if [ -n "${BEFORE:-}" ]; then
    before=(-n before "$(quote "$BEFORE" "${batch_cmd[@]:1}") > /dev/null")
fi
hyperfine --warmup 1 --runs "${RUNS:-5}" --style basic --export-json "$work/times.json" \
    -n daybridge-batch "$(quote "${batch_cmd[@]}") > /dev/null" \
    -n cpython "$(quote "${python_cmd[@]}") > /dev/null" \
    -n dseq "$(quote "${dseq_cmd[@]}") > /dev/null" "${before[@]}"

echo "== peak memory of daybridge-batch"
/usr/bin/time -v "${batch_cmd[@]}" > /dev/null 2> "$work/time.log"
peak_kib=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$work/time.log")

python3 - "$work/times.json" "$peak_kib" "$same" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
# The targets are judged on CPU time (user + system): on a loaded, shared machine wall times
# say more about the other processes than about the programs.
cpu = {r["command"]: r["user"] + r["system"] for r in results}
for r in results:
    print(f'{r["command"]:16} wall {r["mean"]:.3f} s  cpu {cpu[r["command"]]:.3f} s')
peak_mib = int(sys.argv[2]) / 1024
same = sys.argv[3] == "1"
batch, cpython, dseq = cpu["daybridge-batch"], cpu["cpython"], cpu["dseq"]
if "before" in cpu:
    b = cpu["before"]
    print(f"before: daybridge-batch {b:.3f} s: {cpython / b:.2f} times faster than CPython, "
          f"{b / dseq:.2f} times the time of dseq")
checks = [
    (f"cpu: daybridge-batch {batch:.3f} s, CPython {cpython:.3f} s: {cpython / batch:.2f} times faster",
     cpython / batch >= 10),
    (f"cpu: dseq {dseq:.3f} s: daybridge-batch takes {batch / dseq:.2f} times as long", batch / dseq <= 0.35),
    (f"peak memory of daybridge-batch {peak_mib:.1f} MiB", peak_mib < 50),
    ("outputs the same", same),
]
for text, ok in checks:
    print(("ok    " if ok else "MISS  ") + text)
sys.exit(0 if all(ok for _, ok in checks) else 1)
PY
