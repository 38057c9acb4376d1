#!/usr/bin/env bash
# Builds the window, types a few dates, computes and saves a picture of it to
# docs/screenshot.png, under a virtual X display (xvfb-run).
#
#   scripts/screenshot.sh [BUILD_DIR]     (default: build)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac

if [ ! -d "$build" ]; then
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target daybridge_screenshot

mkdir -p "$top/docs"
xvfb-run -a -s "-screen 0 1366x768x24" "$build/bin/daybridge_screenshot" "$top/docs/screenshot.png"
echo "Wrote $top/docs/screenshot.png"
