"""Working-day counting and stepping against numpy's busday_count and busday_offset.

Usage: numpy_reference.py PATH/TO/busday_dump

Random weekends and holiday lists (single dates, dense ones and stretches of years without a
working day among them), random dates near the holidays and anywhere in the day range, both
include-first settings. The rule in numpy's terms: counting from a first date to a second
counts the valid days after the first (from the first with include-first) up to and including
the second, negative backwards. A date stepped from a first date by d is busday_offset of the
first date by d rolled against the sign (the first date is not counted), or with include-first
by d - 1 (d + 1 backwards) rolled with the sign: so +1 or -1 from a working day is that day,
from another day the nearest working day that way. The first date stepped to a second date by
d lies -d from it, rolled the way it moves (the second date is counted), one less far with
include-first.

The business-day conventions: a day rolled is busday_offset by 0 rolled forward (following) or
backward (preceding); the modified ones roll the other way when that leaves the month; the n-th working day of a month is
busday_offset from its first day by n - 1 rolled forward (from its last day by n + 1 rolled
backward when n is negative), if that lies in the month; its working days are busday_count
from its first day to the next month's.
"""
import subprocess
import sys

try:
    import numpy as np
except ImportError:
    sys.exit("numpy is missing: install the Debian package python3-numpy")

EPOCH_JDN = 2440588  # 1970-01-01, day 0 of numpy's datetime64[D]
SCENARIOS = 400
QUERIES = 150


def days(jdns):
    return (np.asarray(jdns, dtype=np.int64) - EPOCH_JDN).astype("datetime64[D]")


def jdn_of(dates):
    return dates.astype(np.int64) + EPOCH_JDN


def scenario(rng):
    weekend = rng.integers(0, 2, 7)
    if weekend.sum() == 7:
        weekend[rng.integers(0, 7)] = 0
    mask = "".join(str(int(b)) for b in weekend)
    anchor = int(rng.choice([2451545, rng.integers(-2_090_000_000, 2_090_000_000)]))
    kind = rng.integers(0, 4)
    if kind == 0:  # sparse
        holidays = anchor + rng.integers(-400, 400, rng.integers(0, 40))
    elif kind == 1:  # dense: most days of a few months
        holidays = anchor + rng.integers(-60, 60, 100)
    elif kind == 2:  # a stretch of over three years without a working day
        holidays = anchor + np.arange(-600, 600)
    else:
        holidays = np.array([], dtype=np.int64)
    holidays = np.unique(holidays)
    return mask, weekend, anchor, holidays


def queries(rng, anchor):
    out = []
    for _ in range(QUERIES):
        kind = "CFSRQM"[rng.integers(0, 6)]
        a = anchor + int(rng.integers(-700, 700))
        inc = int(rng.integers(0, 2))
        if kind == "R":
            b, inc = int(rng.integers(0, 4)), 0
        elif kind in "QM":
            date = str(days([a])[0]).split("-")
            year, month = (-int(date[1]), int(date[2])) if date[0] == "" else map(int, date[:2])
            a, b = year, month
            inc = int(rng.choice([-1, 1]) * rng.integers(1, 25)) if kind == "Q" else 0
        elif kind == "C":
            b = a + int(rng.integers(-800, 800))
        else:
            b = int(rng.choice([rng.integers(-3, 4), rng.integers(-40, 41), rng.integers(-900, 901)]))
        out.append((kind, a, b, inc))
    return out


def expected(weekend, holidays, kind, a, b, inc):
    weekmask = "".join("0" if w else "1" for w in weekend)
    hol = days(holidays)
    one = lambda x: days([x])
    if kind in "QM":
        first = np.datetime64(f"{a:04d}-{b:02d}", "M")
        start, end = first.astype("datetime64[D]"), (first + 1).astype("datetime64[D]")
        if kind == "M":
            return int(np.busday_count(start, end, weekmask=weekmask, holidays=hol))
        if inc > 0:
            day = np.busday_offset(start, inc - 1, roll="forward", weekmask=weekmask, holidays=hol)
        else:
            day = np.busday_offset(end - 1, inc + 1, roll="backward", weekmask=weekmask,
                                   holidays=hol)
        return int(jdn_of(day)) if start <= day < end else "N"
    if kind == "R":
        # The modified rolls from their meaning: numpy's own compare the month of the year alone
        # (a day two years on counts as the same month).
        rolled = [np.busday_offset(one(a), 0, roll=way, weekmask=weekmask, holidays=hol)
                  for way in ("forward", "backward")]
        if b >= 2 and rolled[b - 2].astype("datetime64[M]") != one(a).astype("datetime64[M]"):
            b = 3 - b
        return int(jdn_of(rolled[b % 2])[0])
    if kind == "C":
        if b >= a:
            return int(np.busday_count(one(a + (0 if inc else 1)), one(b + 1), weekmask=weekmask,
                                       holidays=hol)[0])
        return -int(np.busday_count(one(b), one(a + 1 if inc else a), weekmask=weekmask,
                                    holidays=hol)[0])
    if b == 0:
        return a
    move = -b if kind == "S" else b  # from the known date to the one stepped to
    sign = 1 if move > 0 else -1
    offset = move - sign if inc else move
    # The counting starts on the known date (include-first, or from a second date) or after it.
    rolled_with = inc or kind == "S"
    roll = "forward" if (sign > 0) == rolled_with else "backward"
    return int(jdn_of(np.busday_offset(one(a), offset, roll=roll, weekmask=weekmask,
                                       holidays=hol))[0])


def main():
    rng = np.random.default_rng(20261208)
    text = []
    cases = []
    for _ in range(SCENARIOS):
        mask, weekend, anchor, holidays = scenario(rng)
        text.append(f"W {mask} {len(holidays)}\n" + "".join(f"{int(h)}\n" for h in holidays))
        for q in queries(rng, anchor):
            text.append("%s %d %d %d\n" % q)
            cases.append((weekend, holidays, q))
    out = subprocess.run([sys.argv[1]], input="".join(text), capture_output=True, text=True,
                         check=True)
    got = out.stdout.split()
    if len(got) != len(cases):
        sys.exit(f"{len(got)} answers for {len(cases)} cases")
    wrong = 0
    for (weekend, holidays, q), answer in zip(cases, got):
        want = expected(weekend, holidays, *q)
        if answer != str(want):
            wrong += 1
            if wrong <= 10:
                print(f"weekend {weekend.tolist()} holidays {len(holidays)} case {q}: "
                      f"ours {answer}, numpy {want}")
    print(f"{len(cases)} cases, {wrong} differ")
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
