#!/usr/bin/env bash
# Runs one golden batch program and compares stdout, stderr and the exit status exactly.
#   run_golden.sh DAYBRIDGE-BATCH GOLDEN-DIR NAME
# The program runs in GOLDEN-DIR under the C locale, with today fixed to 2026-12-06 (a Sunday)
# unless NAME.args names another day. With NAME.signal the runner sends SIGINT (Ctrl+C) after
# the number of seconds it holds.
set -u
exe=$1
dir=$2
name=$3
cd "$dir" || exit 2

args=(--today 2026-12-06)
if [ -f "$name.args" ]; then
    while IFS= read -r line || [ -n "$line" ]; do
        args+=("${line%$'\r'}")
    done < "$name.args"
fi
[ -f "$name.txt" ] && args+=("$name.txt")
input=/dev/null
[ -f "$name.in" ] && input=$name.in
expected_status=0
[ -f "$name.status" ] && expected_status=$(tr -d ' \r\n' < "$name.status")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -f "$name.signal" ]; then
    # Ctrl+C after the delay in NAME.signal: the run must stop after the current line.
    LC_ALL=C.UTF-8 LANG=C.UTF-8 "$exe" "${args[@]}" < "$input" > "$work/stdout" \
        2> "$work/stderr" &
    pid=$!
    sleep "$(tr -d ' \r\n' < "$name.signal")"
    kill -INT "$pid"
    wait "$pid"
    status=$?
else
    LC_ALL=C.UTF-8 LANG=C.UTF-8 "$exe" "${args[@]}" < "$input" > "$work/stdout" \
        2> "$work/stderr"
    status=$?
fi

failed=0
if ! cmp -s "$name.out" "$work/stdout"; then
    echo "== stdout differs from $name.out:"
    diff -u "$name.out" "$work/stdout" | cat -A | head -n 80
    failed=1
fi
expected_err=/dev/null
[ -f "$name.err" ] && expected_err=$name.err
if ! cmp -s "$expected_err" "$work/stderr"; then
    echo "== stderr differs from ${expected_err}:"
    diff -u "$expected_err" "$work/stderr" | cat -A | head -n 80
    failed=1
fi
if [ "$status" != "$expected_status" ]; then
    echo "== exit status $status, expected $expected_status"
    failed=1
fi
exit $failed
