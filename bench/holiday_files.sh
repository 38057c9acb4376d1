#!/usr/bin/env bash
# Large holiday rule files read by daybridge-batch (figures, not a test): the time from start to
# end (wall and CPU) and the peak memory of a run that reads the file, counts the working days
# between JDN -1,000,000,000 and 1,000,000,000 (which builds every counting table), steps
# 100,000,000 working days and asks ISHOLIDAY of a day. The files are made here:
#   dates      1 MiB: single dates (YYYY-MM-DD) of 4,000 years and six rules
#   fixed      1 MiB: unbounded rules of fixed days, all in force together
#   changing   the largest kind accepted: rules whose first years differ, each in force
#              from then on (Gregorian rules: a table of 70 kinds of year per stretch)
#   julian     25 Julian and Orthodox rules in force together (one period table)
#   refused-N  N rules from N different years, all in force from then on (refused)
#
#   bench/holiday_files.sh [DAYBRIDGE-BATCH] [BEFORE-DAYBRIDGE-BATCH]
#
# DAYBRIDGE-BATCH defaults to build/bin/daybridge-batch; with BEFORE-DAYBRIDGE-BATCH the same
# runs are made with that program too (a run taking longer than 200 s is stopped).
set -u
exe=${1:-build/bin/daybridge-batch}
before=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'EOF'
import random, sys
work = sys.argv[1]
rng = random.Random(15)
def write(name, lines):
    with open(f"{work}/{name}.txt", "w") as f:
        f.write("".join(lines))
head = ["01-01 observed next : New Year\n", "easter -2 : Good Friday\n", "easter +1 : Easter Monday\n",
        "05-01 : Labour Day\n", "12-25 observed next : Christmas\n", "12-26 observed next : Boxing Day\n"]
lines, size = list(head), sum(map(len, head))
while size < (1 << 20) - 40:
    line = f"{rng.randint(1, 4000)}-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d} : Company day\n"
    lines.append(line); size += len(line)
write("dates", lines)
lines, size = [], 0
while size < (1 << 20) - 40:
    line = f"{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d} : Fixed day\n"
    lines.append(line); size += len(line)
write("fixed", lines)
write("changing", [f"{1 + i % 12:02d}-{1 + i % 28:02d} from {1000 + 3 * i} : Rule {i}\n"
                   for i in range(1600)])
julian = [f"{m:02d}-{d:02d} julian : J{m}{d}\n" for m, d in ((1, 7), (1, 14), (1, 19), (12, 25),
          (1, 1), (3, 8), (5, 1), (5, 9), (8, 28), (9, 11), (10, 14), (11, 21))]
julian += [f"orthodox easter {o:+d} : E{o}\n" for o in (-48, -2, 0, 1, 39, 49, 50)]
julian += [f"{m:02d}-{d:02d} observed next : G{m}{d}\n" for m, d in ((1, 1), (1, 2), (3, 25),
           (5, 1), (11, 11), (12, 31))]
write("julian", julian)
for n in (10000, 20000):
    write(f"refused-{n}", [f"{1 + i % 12:02d}-{1 + i % 28:02d} from {i} : Rule {i}\n"
                           for i in range(n)])
EOF

measure() {
    local program=$1 file=$2
    local start end
    start=$(date +%s.%N)
    timeout 200 /usr/bin/time -f "%U %S %M" -o "$work/time" "$program" --weekends off \
        --first JDN --second JDN -e "HOLIDAYS=$file" -e "-1000000000 # # 1000000000" \
        -e "0 # 100000000 #" -e "OUTPUT: ISHOLIDAY(2461406)" > "$work/out" 2>&1
    local status=$?
    end=$(date +%s.%N)
    read -r user system kb < <(tail -n 1 "$work/time")
    printf "%-12s %-8s wall %6.2f s  cpu %6.2f s  peak %7.1f MB  status %d  %s\n" \
        "$(basename "$file" .txt)" "$3" "$(echo "$end - $start" | bc)" \
        "$(echo "$user + $system" | bc)" "$(echo "$kb / 1024" | bc -l)" "$status" \
        "$( (grep -A 1 "is invalid" "$work/out" | tail -n 1; grep -m 1 " = " "$work/out") |
            head -n 1 | cut -c 1-80)"
}

for file in dates fixed changing julian refused-10000 refused-20000; do
    measure "$exe" "$work/$file.txt" after
    [ -n "$before" ] && measure "$before" "$work/$file.txt" before
done
