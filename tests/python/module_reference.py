"""The daybridge module against python3-convertdate (conversions) and python3-dateutil (years
and months added), on random days, one at a time and through the vectorised calls; refusals
raise ValueError. Run with the module's folder as the first argument."""
import datetime
import random
import sys

sys.path.insert(0, sys.argv[1])

import daybridge  # noqa: E402
import numpy  # noqa: E402
from convertdate import coptic, hebrew, islamic, julian  # noqa: E402
from dateutil.relativedelta import relativedelta  # noqa: E402

REFERENCES = {"JC": julian, "HEB": hebrew, "ISL": islamic, "COP": coptic}
failures = []


def check(what, ours, theirs):
    if ours != theirs:
        failures.append(f"{what}: ours {ours!r}, reference {theirs!r}")


rng = random.Random(20261208)
days = [datetime.date.fromordinal(rng.randint(1, 3652059)) for _ in range(4000)]
days += [datetime.date(1, 1, 1), datetime.date(9999, 12, 31), datetime.date(2024, 2, 29)]

for code, module in REFERENCES.items():
    many = daybridge.convert_many(days, code)
    for day, vectorised in zip(days, many):
        ours = daybridge.convert(day, code)
        check(f"{code} {day}", ours, tuple(module.from_gregorian(day.year, day.month, day.day)))
        check(f"{code} list {day}", vectorised, ours)
        check(f"{code} back {day}", daybridge.convert(ours, "CE", from_=code),
              (day.year, day.month, day.day))
    array = daybridge.convert_many(numpy.array(days, dtype="datetime64[D]"), code)
    check(f"{code} array", [tuple(row[:3]) for row in array.tolist()],
          [tuple(t[:3]) for t in many])

for day in days[:2000]:
    years, months = rng.randint(-50, 50), rng.randint(-30, 30)
    try:
        expected = day + relativedelta(years=years, months=months)
    except (ValueError, OverflowError):
        continue
    if not 1 <= expected.year <= 9999:
        continue
    ours = daybridge.add(day, years=years, months=months)
    # relativedelta adds years and months at once and clamps the day once, as we do.
    check(f"{day} + {years}y{months}m", ours, expected)

sample = days[:1000]
moved = daybridge.add_many(numpy.array(sample, dtype="datetime64[D]"), months=1, days=3)
check("add_many array", moved.tolist(),
      [d + relativedelta(months=1) + datetime.timedelta(days=3)
       if d.year < 9999 or d.month < 12 else None for d in sample])

# Working days (Friday-Saturday weekend, no holidays) against numpy's business days, which
# count [a, b) where the program counts (a, b] (and [b, a), negative, backwards).
workdays = daybridge.WorkingDays("fri sat")
mask = [1, 1, 1, 1, 0, 0, 1]
one = datetime.timedelta(days=1)
for day in days[:3000]:
    ordinal = day.toordinal() + rng.randint(-400, 400)
    if not 2 <= ordinal <= 3652058 or not 2 <= day.toordinal() <= 3652058:
        continue
    other = datetime.date.fromordinal(ordinal)
    if other >= day:
        expected = int(numpy.busday_count(day + one, other + one, weekmask=mask))
    else:
        expected = int(numpy.busday_count(day, other, weekmask=mask))
    check(f"count {day} {other}", workdays.count(day, other), expected)
    if expected != 0:
        check(f"add {day} {expected}", workdays.count(day, workdays.add(day, expected)), expected)

# Formats on CE dates against Python's own strftime (C locale names), and read back; from the
# year 1000, as glibc writes %Y unpadded and we write four digits.
for _ in range(2000):
    day = datetime.date.fromordinal(rng.randint(364878, 3652059))
    for form in ["%A, %d %B %Y (%j)", "%a %b %d %y", "%G-W%V-%u"]:
        text = daybridge.strftime(day, form)
        check(f"strftime {day} {form}", text, day.strftime(form))
        if "%y" not in form or 1969 <= day.year <= 2068:  # two-digit years: one century
            check(f"strptime {text} {form}", daybridge.strptime(text, form),
                  day.toordinal() + 1721425)

# A calendar's rule, chosen for the process: the US week rule puts Sunday first.
check("rule", daybridge.set_calendar_rule("WK", "us"), "US")
check("US week", daybridge.format(datetime.date(2026, 12, 6), "WK"), "2026-W50-1")
check("rule back", daybridge.set_calendar_rule("WK", "ISO"), "ISO")

for bad in [lambda: daybridge.convert((2023, 2, 29), "HEB"),
            lambda: daybridge.set_calendar_rule("CE", "ISO"),
            lambda: daybridge.convert(datetime.date(2000, 1, 1), "XYZ"),
            lambda: daybridge.parse("2012-1O-31"),
            lambda: daybridge.strftime(datetime.date(2000, 1, 1), "%d", "MAY"),
            lambda: daybridge.WorkingDays("sat sun", "atlantis")]:
    try:
        bad()
        failures.append("a refusal returned a value")
    except ValueError:
        pass

for line in failures[:20]:
    print(line)
print(f"{len(failures)} differences")
sys.exit(1 if failures else 0)
