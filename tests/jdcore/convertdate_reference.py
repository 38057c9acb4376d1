"""The world calendars against the convertdate package, day by day.

Usage: convertdate_reference.py PATH/TO/world_calendar_dump

For every JDN from 0 to 3,000,000 that convertdate converts, the date printed by
world_calendar_dump must equal convertdate's. convertdate counts in Julian Dates: the civil
day JDN n starts at JD n - 0.5. Persian: convertdate's calendar is astronomical, so only its
new years 1300-1502 AP are compared (with every day of 1300-1501). Ethiopian is not in
convertdate; the C++ tests tie it to the Coptic calendar and to known dates.

Hebrew starts at JDN 276, 1 Tishri -951: convertdate mishandles the year in progress at JD 0
(it gives that year's Tevet 28 days and fails on its last day). A differing day where
convertdate contradicts itself (its to_jd of its own from_jd is another day) is reported and
counted, not failed; so are the French Republican days described at french_excused.
"""
import multiprocessing
import random
import subprocess
import sys

from convertdate import coptic, french_republican, hebrew, indian_civil, islamic, mayan, persian

DUMP = sys.argv[1] if len(sys.argv) > 1 else None
FIRST, LAST = 0, 3_000_000
HEBREW_START = 276      # 1 Tishri -951
FRENCH_START = 2375840  # 1 Vendemiaire I; convertdate converts nothing before it
MAYAN_START = 584283    # 0.0.0.0.0

# convertdate's Romme conversions keep years 100, 200, 300, 500, ... sextile and drop the
# sextile of years 112, 212, 312, 512, ..., though its own french_republican.leap() (and
# Romme's rule) has it the other way round. Days of years c+1 .. c+12 after such a century
# then differ by one day; they are counted and reported, not failed.
def french_excused(year):
    c = (year - 1) // 100 * 100
    return c % 400 != 0 and c < year <= c + 12 and c > 0


def self_contradicting(code, jdn, ref):
    to_jd = {"HEB": hebrew.to_jd, "ISL": islamic.to_jd, "COP": coptic.to_jd,
             "IND": indian_civil.to_jd, "MAY": mayan.to_jd,
             "FRR": lambda *d: french_republican.to_jd(*d, method="romme")}[code]
    try:
        return to_jd(*ref) != jdn - 0.5
    except (ValueError, TypeError):
        return True


def dump(code, first, last):
    out = subprocess.run([DUMP, code, str(first), str(last)], check=True,
                         capture_output=True, text=True).stdout.split("\n")
    return [tuple(map(int, line.split())) for line in out if line]


def reference(code, jdn, ours):
    jd = jdn - 0.5
    if code == "HEB":
        # Per day: convertdate's JD of our date (fast); at every month start also its date.
        if hebrew.to_jd(*ours) != jd:
            return hebrew.from_jd(jd)
        return hebrew.from_jd(jd) if ours[2] == 1 else ours
    if code == "ISL":
        return islamic.from_jd(jd)
    if code == "COP":
        return coptic.from_jd(jd)
    if code == "IND":
        return indian_civil.from_jd(jd)
    if code == "FRR":
        return french_republican.from_jd(jd, method="romme")
    if code == "MAY":
        return mayan.from_jd(jd)
    raise ValueError(code)


def compare(task):
    code, first, last = task
    bad, excused = [], 0
    for offset, ours in enumerate(dump(code, first, last)):
        jdn = first + offset
        try:
            ref = tuple(reference(code, jdn, ours))
        except ValueError as error:  # a day convertdate does not convert
            ref = (str(error),)
        if ref != ours:
            if (code == "FRR" and french_excused(ours[0])) or self_contradicting(code, jdn, ref):
                excused += 1
            else:
                bad.append((jdn, ours, ref))
    return code, last - first + 1, bad, excused


def compare_persian(_):
    """New years 1300..1502 from convertdate; every day of 1300..1501 follows from them by the
    month lengths 31 x 6, 30 x 5, 29 or 30, which convertdate's from_jd confirms on a sample."""
    starts = {y: int(persian.to_jd(y, 1, 1) + 0.5) for y in range(1300, 1503)}
    ours = dump("PER", starts[1300], starts[1502] - 1)
    bad = []
    year = 1300
    sample = set(random.Random(12).sample(range(len(ours)), 150))
    for offset, date in enumerate(ours):
        jdn = starts[1300] + offset
        while jdn >= starts[year + 1]:
            year += 1
        doy = jdn - starts[year]
        month = doy // 31 + 1 if doy < 186 else (doy - 186) // 30 + 7
        day = doy % 31 + 1 if doy < 186 else (doy - 186) % 30 + 1
        ref = (year, month, day)
        if offset in sample:
            ref2 = tuple(persian.from_jd(jdn - 0.5))
            if ref2 != ref:
                bad.append((jdn, ref, ref2, "convertdate's own month lengths differ"))
        if ref != date:
            bad.append((jdn, date, ref))
    return "PER", len(ours), bad, 0


def tasks():
    out = [("PER",)]
    for code, first, pieces in (("HEB", HEBREW_START, 6), ("IND", FIRST, 3), ("ISL", FIRST, 1),
                                ("COP", FIRST, 1), ("FRR", FRENCH_START, 1),
                                ("MAY", MAYAN_START, 1)):
        step = (LAST - first + pieces) // pieces
        for lo in range(first, LAST + 1, step):
            out.append((code, lo, min(lo + step - 1, LAST)))
    return out


def run(task):
    return compare_persian(task) if task[0] == "PER" else compare(task)


def main():
    totals = {}
    with multiprocessing.Pool(2) as pool:
        for code, days, bad, excused in pool.imap_unordered(run, tasks()):
            t = totals.setdefault(code, [0, [], 0])
            t[0] += days
            t[1] += bad
            t[2] += excused
    failed = False
    for code, (days, bad, excused) in sorted(totals.items()):
        print(f"{code}: {days} days compared, {len(bad)} differ"
              + (f", {excused} where convertdate contradicts itself or its leap rule"
                 if excused else ""))
        for b in sorted(bad)[:5]:
            print("   ", b)
        failed |= bool(bad)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
