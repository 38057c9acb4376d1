#!/usr/bin/env bash
# Speed of the window (figures, not a test):
#  1. start-up: time from start to the main window on screen (`daybridge --measure-startup`)
#     against an empty Qt window (bench/empty_window.cpp), both under the same virtual display;
#  2. the ISO week listing (iso_listing.txt, 900,000 output lines) run with Process file in the
#     window (`daybridge --run-batch`) against daybridge-batch writing to /dev/null.
#
#   bench/startup.sh [BUILD-DIR] [BENCH-DIR] [RUNS]
#
# BUILD-DIR defaults to build (configured with -DDAYBRIDGE_BENCH=ON), BENCH-DIR (holding
# iso_listing.txt) to ../shared/bench beside the checkout, RUNS to 10.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
benchdir=${2:-$top/../shared/bench}
runs=${3:-10}

cmake --build "$build" --target daybridge daybridge-batch empty_window

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The window reads and writes its settings in a folder of its own, never the user's.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME"

cat > "$work/inner.sh" <<INNER
#!/usr/bin/env bash
set -euo pipefail
median() { sort -n | awk '{ a[NR] = \$1 } END { print a[int((NR + 1) / 2)] }'; }
time_ms() {  # command...: wall time in milliseconds
    local start end
    start=\$(date +%s%N)
    "\$@" > /dev/null 2>&1
    end=\$(date +%s%N)
    echo \$(( (end - start) / 1000000 ))
}
"$build/bin/empty_window" > /dev/null 2>&1   # warm the caches once
"$build/bin/daybridge" --measure-startup > /dev/null 2>&1
for i in \$(seq $runs); do time_ms "$build/bin/empty_window"; done | median > "$work/empty"
for i in \$(seq $runs); do time_ms "$build/bin/daybridge" --measure-startup; done | median > "$work/window"
"$build/bin/daybridge" --run-batch "$benchdir/iso_listing.txt" 2> "$work/batch_window" || true
time_ms "$build/bin/daybridge" --run-batch "$benchdir/iso_listing.txt" > "$work/batch_window_wall"
INNER
chmod +x "$work/inner.sh"
xvfb-run -a -s "-screen 0 1366x768x24" "$work/inner.sh"

start=$(date +%s%N)
"$build/bin/daybridge-batch" --today 2026-12-06 "$benchdir/iso_listing.txt" > /dev/null
end=$(date +%s%N)
cli=$(( (end - start) / 1000000 ))

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
echo "Start-up (median of $runs, to the window on screen):"
echo "  empty Qt window        $(cat "$work/empty") ms"
echo "  daybridge main window  $(cat "$work/window") ms"
echo "ISO week listing (900,000 lines):"
echo "  in the window          $(grep -o 'batch run: [0-9]* ms' "$work/batch_window" | grep -o '[0-9]*') ms" \
     "(run only), $(cat "$work/batch_window_wall") ms wall incl. start-up"
echo "  daybridge-batch        $cli ms wall (to /dev/null)"
