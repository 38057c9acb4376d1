#!/usr/bin/env bash
# Runs every fuzz target in BIN for SECONDS each (the batch program target twice as long),
# starting from the seed corpus in fuzz/corpus/<name> when there is one.
set -euo pipefail
bin=$1
seconds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for target in "$bin"/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    name=${name#fuzz_}
    budget=$seconds
    [ "$name" = batch_program ] && budget=$((seconds * 2))
    work=$(mktemp -d)
    seeds=()
    [ -d "$here/corpus/$name" ] && seeds=("$here/corpus/$name")
    echo "== fuzz_$name for ${budget}s"
    if ! "$target" -max_total_time="$budget" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$work" "${seeds[@]}" > "$work.log" 2>&1; then
        tail -n 60 "$work.log"
        status=1
    else
        grep -E "stat::number_of_executed_units|Done" "$work.log" | tail -n 2 || true
    fi
    rm -rf "$work"
done
exit $status
