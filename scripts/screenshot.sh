#!/usr/bin/env bash
# Builds the window, types a few dates, computes and saves pictures of it under a virtual X
# display (xvfb-run): docs/screenshot.png, docs/screenshot-dark.png (a dark desktop palette),
# docs/screenshot-french.png (the window in French),
# docs/screenshot-200.png (200% scaling, QT_SCALE_FACTOR=2), docs/help.png (the help window),
# docs/month-hebrew.png and month-chinese.png (the month display on a Hebrew month and on a
# Chinese leap month), docs/month-fiscal.png (period 12 of retail fiscal 2023, with its 53rd
# week), docs/holidays-configure.png (the configuration dialog's list of holiday sets, a country
# and its subdivisions) and the window on a 1024 x 600 screen, at 100% and 200% (docs/screenshot-1024x600*.png).
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
shot="$build/bin/daybridge_screenshot"
xvfb-run -a -s "-screen 0 1366x768x24" "$shot" "$top/docs/screenshot.png"
xvfb-run -a -s "-screen 0 1366x768x24" "$shot" "$top/docs/screenshot-dark.png" --dark
xvfb-run -a -s "-screen 0 1366x768x24" "$shot" "$top/docs/screenshot-french.png" --french
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2732x1536x24" "$shot" "$top/docs/screenshot-200.png"
xvfb-run -a -s "-screen 0 1366x768x24" "$shot" "$top/docs/help.png" --guide
xvfb-run -a -s "-screen 0 1366x768x24" "$shot" "$top/docs/month-hebrew.png" --month HEB 5787 1
xvfb-run -a -s "-screen 0 1366x768x24" "$shot" "$top/docs/month-chinese.png" --month CHN 2033 12
xvfb-run -a -s "-screen 0 1366x768x24" "$shot" "$top/docs/month-fiscal.png" --month FYW 2023 12 --sunday
xvfb-run -a -s "-screen 0 1366x768x24" "$shot" "$top/docs/holidays-configure.png" --holidays germany
xvfb-run -a -s "-screen 0 1024x600x24" "$shot" "$top/docs/screenshot-1024x600.png"
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2048x1200x24" "$shot" "$top/docs/screenshot-1024x600-200.png"
echo "Wrote $top/docs/screenshot.png, screenshot-dark.png, screenshot-french.png," \
    "screenshot-200.png, help.png," \
    "month-hebrew.png, month-chinese.png, month-fiscal.png, holidays-configure.png and" \
    "screenshot-1024x600.png, screenshot-1024x600-200.png"
