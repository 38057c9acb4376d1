#!/usr/bin/env bash
# Checks that every example of the batch language guide is a golden program: each program block
# of the guide (a code block whose first line is a "//" comment) must equal some golden/guide_*.txt,
# and the code block after the "Output:" that follows it must equal that golden's .out. The
# goldens themselves run the programs, so the guide shows what the programs really write.
#   check_guide.sh GUIDE.md GOLDEN-DIR
set -u
guide=$1
dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Splits the guide into work/block_N (the code blocks) and work/kind_N ("program", "output" or
# "other").
awk -v dir="$work" '
    /^```/ {
        if (inside) { inside = 0; close(file); next }
        inside = 1; n++; file = dir "/block_" n; first = 1
        kind = after_output ? "output" : "other"; after_output = 0
        printf "" > file
        next
    }
    inside {
        if (first && kind == "other" && $0 ~ /^\/\//) kind = "program"
        first = 0
        print > file
        if (kind != "") { print kind > (dir "/kind_" n); close(dir "/kind_" n); kind = "" }
        next
    }
    /^Output:/ { after_output = 1 }
' "$guide"

failed=0
examples=0
program=""
for kind_file in $(ls "$work"/kind_* 2>/dev/null | sort -t_ -k2 -n); do
    n=${kind_file##*_}
    kind=$(cat "$kind_file")
    if [ "$kind" = program ]; then
        program=""
        for txt in "$dir"/guide_*.txt; do
            if cmp -s <(tr -d '\r' < "$txt") "$work/block_$n"; then
                program=$txt
            fi
        done
        if [ -z "$program" ]; then
            echo "== no golden program equals the guide's example:"
            head -n 1 "$work/block_$n"
            failed=1
        fi
        examples=$((examples + 1))
    elif [ "$kind" = output ] && [ -n "$program" ]; then
        expected=${program%.txt}.out
        if ! cmp -s "$expected" "$work/block_$n"; then
            echo "== the guide's output differs from $(basename "$expected"):"
            diff -u "$expected" "$work/block_$n" | head -n 40
            failed=1
        fi
        program=""
    fi
done
if [ "$examples" -eq 0 ]; then
    echo "== no examples found in $guide"
    failed=1
fi
echo "$examples examples checked"
exit $failed
