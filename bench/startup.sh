#!/usr/bin/env bash
# Speed and memory of the window (figures, not a test):
#  1. start-up: time from start to the main window on screen (`daybridge --measure-startup`)
#     against an empty Qt window (bench/empty_window.cpp), both under the same virtual display:
#     up to the moment the display has drawn each program's first frame; up to the moment each
#     program first sees its window exposed, before the display has drawn it (the figure of
#     earlier runs); and up to the end of the whole process, which adds each tear-down.
#     The display of those figures resets itself after every program, as xvfb-run's does, and
#     each program starts while it does. The last start-up figure is taken as on a desktop: one
#     display that keeps running, the programs taking turns, each after a pause;
#  2. the ISO week listing (iso_listing.txt, 900,000 output lines) run with Process file in the
#     window (`daybridge --run-batch`) against daybridge-batch writing to /dev/null;
#  3. the window's peak memory (maximum resident set) over that run.
# Each figure is the median of RUNS runs, as wall time and as CPU time (user + system), which
# varies less on a busy machine.
#
#   bench/startup.sh [BUILD-DIR] [BENCH-DIR] [RUNS] [BEFORE-BIN-DIR]
#
# BUILD-DIR defaults to build (configured with -DDAYBRIDGE_BENCH=ON), BENCH-DIR (holding
# iso_listing.txt) to ../shared/bench beside the checkout, RUNS to 10. With BEFORE-BIN-DIR (a
# copy of an earlier build's bin folder) the same figures of those programs come first, taken
# in the same run, for a before/after comparison.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
benchdir=${2:-$top/../shared/bench}
# Absolute: the window changes its working folder at start, so a relative program path would
# no longer name the file when Process file is pressed.
benchdir=$(cd "$benchdir" && pwd)
runs=${3:-10}
before=${4:-}

cmake --build "$build" --target daybridge daybridge-batch empty_window

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The window reads and writes its settings in a folder of its own, never the user's.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME"

cat > "$work/inner.sh" <<'INNER'
#!/usr/bin/env bash
# inner.sh BIN-DIR LISTING RUNS: prints "name wall-ms cpu-ms peak-kB run-ms shown-ms exposed-ms"
# lines, medians of RUNS (run-ms: the window's own report of the batch run's time, without
# start-up; shown-ms and exposed-ms: from start to the moments the program reports its window
# drawn by the display and first seen exposed).
set -euo pipefail
bin=$1 listing=$2 runs=$3
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
one() {  # command...: "wall-ms cpu-ms peak-kB run-ms shown-ms exposed-ms" of one run
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%U %S %M' -o "$TMPDIR/time" "$@" > /dev/null 2> "$TMPDIR/err" || true
    end=$(date +%s%N)
    local run shown exposed
    run=$(grep -o 'batch run: [0-9]*' "$TMPDIR/err" | grep -o '[0-9]*$' || echo 0)
    shown=$(grep -o 'window shown: [0-9]*' "$TMPDIR/err" | grep -o '[0-9]*$' || echo "$start")
    exposed=$(grep -o 'window exposed: [0-9]*' "$TMPDIR/err" | grep -o '[0-9]*$' || echo "$start")
    awk -v wall=$(( (end - start) / 1000000 )) -v run="$run" \
        -v shown=$(( (shown - start) / 1000000 )) -v exposed=$(( (exposed - start) / 1000000 )) \
        '{ printf "%d %d %d %d %d %d\n", wall, ($1 + $2) * 1000, $3, run, shown, exposed }' "$TMPDIR/time"
}
row() {  # name command...
    local name=$1
    shift
    for i in $(seq "$runs"); do one "$@"; done > "$TMPDIR/rows"
    echo "$name $(cut -d' ' -f1 "$TMPDIR/rows" | median) $(cut -d' ' -f2 "$TMPDIR/rows" | median)" \
         "$(cut -d' ' -f3 "$TMPDIR/rows" | median) $(cut -d' ' -f4 "$TMPDIR/rows" | median)" \
         "$(cut -d' ' -f5 "$TMPDIR/rows" | median) $(cut -d' ' -f6 "$TMPDIR/rows" | median)"
}
"$bin/empty_window" > /dev/null 2>&1   # warm the caches once
"$bin/daybridge" --measure-startup > /dev/null 2>&1
row empty "$bin/empty_window"
row window "$bin/daybridge" --measure-startup
row listing "$bin/daybridge" --run-batch "$listing"
row batch "$bin/daybridge-batch" --today 2026-12-06 "$listing"
INNER
chmod +x "$work/inner.sh"

cat > "$work/turns.sh" <<'TURNS'
#!/usr/bin/env bash
# turns.sh BIN-DIR RUNS: "empty-ms window-ms", medians from start to the window drawn by the
# display, the two programs taking turns, each after a pause that lets the display settle.
set -euo pipefail
bin=$1 runs=$2
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
shown() {  # command...: ms from start to "window shown" (0 from a program that does not tell)
    local start shown
    sleep 0.25
    start=$(date +%s%N)
    shown=$("$@" 2>&1 > /dev/null | grep -o 'window shown: [0-9]*' | grep -o '[0-9]*$' || true)
    echo $(( ${shown:-$start} / 1000000 - start / 1000000 ))
}
"$bin/empty_window" > /dev/null 2>&1   # warm the caches once
"$bin/daybridge" --measure-startup > /dev/null 2>&1
for i in $(seq "$runs"); do
    echo "$(shown "$bin/empty_window") $(shown "$bin/daybridge" --measure-startup)"
done > "$TMPDIR/turns"
echo "$(cut -d' ' -f1 "$TMPDIR/turns" | median) $(cut -d' ' -f2 "$TMPDIR/turns" | median)"
TURNS
chmod +x "$work/turns.sh"

measure() {  # BIN-DIR LABEL
    TMPDIR=$work xvfb-run -a -s "-screen 0 1366x768x24" \
        "$work/inner.sh" "$1" "$benchdir/iso_listing.txt" "$runs" > "$work/figures"
    TMPDIR=$work xvfb-run -a -s "-screen 0 1366x768x24 -noreset" \
        "$work/turns.sh" "$1" "$runs" | awk '{ print "turns", $1, $2 }' >> "$work/figures"
    awk -v label="$2" '
        $1 == "turns" { turnEmpty = $2; turnWindow = $3; next }
        { wall[$1] = $2; cpu[$1] = $3; peak[$1] = $4; run[$1] = $5; shown[$1] = $6; exposed[$1] = $7 }
        END {
            printf "%s\n", label
            if (shown["empty"] > 0 && shown["window"] > 0) {
                printf "  start to the window on screen (drawn by the display): empty Qt window %d ms, daybridge %d ms: %.2fx\n",
                       shown["empty"], shown["window"], shown["window"] / shown["empty"]
            }
            if (turnEmpty > 0 && turnWindow > 0) {
                printf "  the same on a display that keeps running, taking turns after a pause: empty Qt window %d ms, daybridge %d ms: %.2fx\n",
                       turnEmpty, turnWindow, turnWindow / turnEmpty
            }
            if (exposed["empty"] > 0 && exposed["window"] > 0) {
                printf "  start to the window first seen exposed (not yet drawn): empty Qt window %d ms, daybridge %d ms: %.2fx\n",
                       exposed["empty"], exposed["window"], exposed["window"] / exposed["empty"]
            }
            printf "  start-up, whole process (to its end): empty Qt window %d ms wall, %d ms CPU;", wall["empty"], cpu["empty"]
            printf " daybridge %d ms wall, %d ms CPU: %.2fx wall, %.2fx CPU\n", wall["window"], cpu["window"],
                   wall["window"] / wall["empty"], cpu["window"] / cpu["empty"]
            printf "  ISO week listing (900,000 lines), whole process: in the window %d ms wall, %d ms CPU;", wall["listing"], cpu["listing"]
            printf " daybridge-batch %d ms wall, %d ms CPU: %.2fx wall, %.2fx CPU\n", wall["batch"], cpu["batch"],
                   wall["listing"] / wall["batch"], cpu["listing"] / cpu["batch"]
            printf "  the run alone in the window (its own report) %d ms: %.2fx daybridge-batch wall\n",
                   run["listing"], run["listing"] / wall["batch"]
            printf "  peak memory: window after the listing %.1f MB (empty Qt window %.1f MB, daybridge started %.1f MB)\n",
                   peak["listing"] / 1024, peak["empty"] / 1024, peak["window"] / 1024
        }' "$work/figures"
}

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
     "load $(cut -d' ' -f1-3 /proc/loadavg); medians of $runs runs"
if [ -n "$before" ]; then
    measure "$before" "Before ($before):"
fi
measure "$build/bin" "This build ($build/bin):"
