#!/usr/bin/env bash
# Plants each one-line fault of a list in the sources, builds, and runs the test suite until
# its first failure: a fault that no test notices is reported as "survived". The tree is
# restored after each fault. Faults whose line is not found exactly once are "not applied".
#
#   scripts/mutation_check.sh [BUILD-DIR] [LIST]
#
# BUILD-DIR (default build) must be configured already; LIST defaults to
# scripts/mutants.tsv: file, the line's text, its faulty text, a description, tab-separated.
set -uo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
list=${2:-$top/scripts/mutants.tsv}
py=/usr/bin/python3

restore() { [ -n "${saved:-}" ] && cp "$saved" "$top/$file" && rm -f "$saved"; saved=""; }
trap restore EXIT
trap "exit 130" INT TERM

killed=0 survived=0 skipped=0
while IFS=$'\t' read -r file old new description; do
    [ -n "$file" ] || continue
    saved=$(mktemp)
    cp "$top/$file" "$saved"
    if ! "$py" - "$top/$file" "$old" "$new" <<'PY'; then
import sys
path, old, new = sys.argv[1:]
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
        echo "not applied  $file: $description"
        skipped=$((skipped + 1))
        restore
        continue
    fi
    if ! cmake --build "$build" -j 2 > "$build/mutant.log" 2>&1; then
        # A fault the compiler refuses (a static_assert on a table) counts as noticed.
        verdict="killed by the build: $(grep -m1 -E 'error|static assertion' "$build/mutant.log")"
    elif ctest --test-dir "$build" -j 2 --stop-on-failure -LE reference > "$build/mutant.log" 2>&1 &&
        ctest --test-dir "$build" -j 2 --stop-on-failure -L reference > "$build/mutant.log" 2>&1; then
        # The comparisons with the Python references run last: they are slow and rarely the
        # only test to notice a fault.
        verdict="SURVIVED"
    else
        verdict="killed by $(grep -m1 -oE '[0-9]+ - [A-Za-z0-9_./-]+ \((Failed|SEGFAULT|Subprocess aborted|Timeout)' "$build/mutant.log" | sed 's/^[0-9]* - //')"
    fi
    echo "$verdict  $file: $description"
    case "$verdict" in SURVIVED) survived=$((survived + 1)) ;; *) killed=$((killed + 1)) ;; esac
    restore
done < "$list"
cmake --build "$build" -j 2 > /dev/null 2>&1
echo "killed $killed, survived $survived, not applied $skipped"
[ "$survived" -eq 0 ]
