"""Years, months, weeks and days on CE dates against dateutil.relativedelta.

Usage: dateutil_reference.py PATH/TO/unit_dump

100,000 random dates and differences within years 1-9999 (Python's date range): a third as
unit difference texts ("1y2m3w4d", "-3 months", ...) read and added as the window does, a
third as n years, a third as n months. relativedelta adds years and months, clamps the day
to the month's last, then adds weeks and days: the rule the program follows.
"""
import random
import subprocess
import sys
from datetime import date

from dateutil.relativedelta import relativedelta

JDN_OF_ORDINAL_0 = 1721425  # date.toordinal() 1 is 1 January 1, JDN 1721426
COUNT = 100_000


def unit_text(rng, sign, y, m, w, d):
    parts = []
    spelled = rng.random() < 0.5
    for size, letter, word in ((y, "y", "year"), (m, "m", "month"), (w, "w", "week"),
                               (d, "d", "day")):
        if size is not None:
            parts.append(f"{size} {word}s" if spelled else f"{size}{letter}")
    return sign + (" ".join(parts) if spelled else "".join(parts))


def main():
    rng = random.Random(20261207)
    first, last = date(1, 1, 1).toordinal(), date(9999, 12, 31).toordinal()
    cases = []
    while len(cases) < COUNT:
        start = date.fromordinal(rng.randint(first, last))
        kind = "UYM"[len(cases) % 3]
        scale = rng.choice((3, 30, 300, 10000))
        if kind == "U":
            sizes = [rng.randint(0, scale) if rng.random() < 0.7 else None for _ in range(4)]
            if all(s is None for s in sizes):
                sizes[1] = rng.randint(0, scale)
            y, m, w, d = sizes
            negative = rng.random() < 0.5
            k = -1 if negative else 1
            delta = relativedelta(years=k * (y or 0), months=k * (m or 0), weeks=k * (w or 0),
                                  days=k * (d or 0))
            arg = unit_text(rng, "-" if negative else rng.choice(("", "+")), y, m, w, d)
        else:
            n = rng.randint(-scale * 12, scale * 12)
            delta = relativedelta(years=n) if kind == "Y" else relativedelta(months=n)
            arg = str(n)
        try:
            want = (start + delta).toordinal() + JDN_OF_ORDINAL_0
        except (OverflowError, ValueError):
            continue  # beyond Python's years 1-9999: not compared
        cases.append((kind, start.toordinal() + JDN_OF_ORDINAL_0, arg, want))
    text = "".join(f"{k} {j} {a}\n" for k, j, a, _ in cases)
    out = subprocess.run([sys.argv[1]], input=text, capture_output=True, text=True, check=True)
    got = out.stdout.split("\n")
    failures = 0
    for (kind, jdn, arg, want), line in zip(cases, got):
        if line != str(want):
            failures += 1
            if failures <= 20:
                print(f"{kind} {jdn} {arg!r}: got {line}, relativedelta {want}")
    if len(got) - 1 != len(cases):
        print(f"{len(got) - 1} answers for {len(cases)} cases")
        failures += 1
    print(f"{len(cases)} cases, {failures} differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
