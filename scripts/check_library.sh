#!/usr/bin/env bash
# Builds the library example (docs/examples) against an installed libdaybridge in PREFIX, once
# with find_package(Daybridge) and once with pkg-config, runs both and compares their output
# with the conversion the library must give; then runs the Python example when the module is
# installed there too.
#
#   scripts/check_library.sh PREFIX WORKDIR
set -euo pipefail
prefix=$1
work=$2
top=$(cd "$(dirname "$0")/.." && pwd)
libdir=$(dirname "$(find "$prefix" -name 'libdaybridge.so.0' -print -quit)")
export LD_LIBRARY_PATH=$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}

cmake -S "$top/docs/examples" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null
PKG_CONFIG_PATH=$libdir/pkgconfig c++ -std=c++20 -o "$work/convert-pc" \
    "$top/docs/examples/convert.cpp" $(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --cflags --libs daybridge)

expected_first="CE 2026-12-08 = HEB 5787-09-28 (JDN 2461383)"
for program in "$work/cmake/convert" "$work/convert-pc"; do
    out=$("$program" CE 2026-12-08 HEB)
    echo "$out"
    test "$(head -1 <<<"$out")" = "$expected_first" || { echo "unexpected: $out"; exit 1; }
    # A refused date is an error with a message, not a result.
    if "$program" CE 2026-02-30 HEB 2>/dev/null; then echo "30 February accepted"; exit 1; fi
done

site=$(find "$prefix" -name 'daybridge*.so' -path '*-packages/*' -printf '%h\n' -quit)
if [ -n "$site" ]; then
    PYTHONPATH=$site /usr/bin/python3 "$top/docs/examples/example.py"
fi
echo "== library example passed"
