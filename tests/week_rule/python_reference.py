"""Week numbers against Python's datetime, day by day from 1800 to 2200.

Usage: python_reference.py PATH/TO/week_number_dump

ISO 8601 weeks against isocalendar(). strftime's %U (%W) numbers the weeks of a calendar year
from its first Sunday (Monday) as week 1, the days before it week 0. So the calendar-year weeks
of WEEKNUM types 1 and 2 (week 1 holds 1 January) are %U (%W) plus one unless 1 January is a
Sunday (Monday); under the first-full-week rule a day is in week %U (%W) of its year, a day of
week 0 in the week of the year before's 31 December.
"""
import datetime
import subprocess
import sys

FIRST, LAST = datetime.date(1800, 1, 1), datetime.date(2200, 12, 31)


def expected(day):
    u, w = int(day.strftime("%U")), int(day.strftime("%W"))
    jan1 = day.replace(month=1, day=1)
    dec31 = datetime.date(day.year - 1, 12, 31)
    return (tuple(day.isocalendar()) + (u + (jan1.weekday() != 6), w + (jan1.weekday() != 0))
            + ((day.year, u) if u else (day.year - 1, int(dec31.strftime("%U"))))
            + ((day.year, w) if w else (day.year - 1, int(dec31.strftime("%W")))))


def main():
    first, last = (d.toordinal() + 1721425 for d in (FIRST, LAST))  # ordinal 1 is JDN 1721426
    out = subprocess.run([sys.argv[1], str(first), str(last)], check=True,
                         capture_output=True, text=True).stdout.split("\n")
    ours = [tuple(map(int, line.split())) for line in out if line]
    days = (FIRST + datetime.timedelta(days=k) for k in range(len(ours)))
    bad = [(d.isoformat(), got, want) for d, got in zip(days, ours) if got != (want := expected(d))]
    print(f"{len(ours)} days compared (of {last - first + 1}), {len(bad)} differ")
    for b in bad[:10]:
        print("   ", b)
    return 1 if bad or len(ours) != last - first + 1 else 0


if __name__ == "__main__":
    sys.exit(main())
