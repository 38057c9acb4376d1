#!/usr/bin/python3
"""Reference timing for bench/workdays_bench: numpy's busday_count and busday_offset with the
Germany holiday set (data/holidays/germany.txt) given as an array of dates, weekmask Monday to
Friday, from Friday 2012-01-06 over spans of 1, 1,000, 100,000 and 1,000,000,000 days. numpy
is given the holidays of the years the span covers (for the longest span some 26 million dates,
about 200 MB); each call sorts and checks that array again, as a one-call use of numpy does.

Run with the Debian python3-numpy: /usr/bin/python3 bench/workdays_numpy.py
"""
import sys
import time

try:
    import numpy as np
except ImportError:
    sys.exit("numpy is missing: install the Debian package python3-numpy")

FIRST = np.datetime64("2012-01-06", "D")
SPANS = (1, 1000, 100000, 1000000000)
WEEKMASK = "1111100"


def western_easter(years):
    """Easter Sunday of Gregorian years (int64 array) as datetime64[D], Gregorian computus."""
    golden = years % 19
    century = years // 100
    moon = (19 * golden + 15 + century - century // 4 - (8 * century + 13) // 25) % 30
    moon = moon - ((moon == 29) | ((moon == 28) & (golden > 10)))
    jan1 = (years - 1970).astype("datetime64[Y]").astype("datetime64[D]")
    leap = ((years % 4 == 0) & (years % 100 != 0)) | (years % 400 == 0)
    full_moon = jan1 + (79 + leap.astype(np.int64) + moon).astype("timedelta64[D]")  # 21 March + moon
    # The Sunday after: 1970-01-01 was a Thursday (3 with Monday 0).
    weekday = (full_moon.astype(np.int64) + 3) % 7
    return full_moon + (7 - (weekday + 1) % 7).astype("timedelta64[D]")


def germany(first_year, last_year):
    years = np.arange(first_year, last_year + 1, dtype=np.int64)
    jan1 = (years - 1970).astype("datetime64[Y]").astype("datetime64[D]")
    leap = ((years % 4 == 0) & (years % 100 != 0)) | (years % 400 == 0)
    def fixed(month, dom, since=None):
        days_before = [0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334][month - 1]
        offset = days_before + dom - 1 + (leap.astype(np.int64) if month > 2 else 0)
        dates = jan1 + np.asarray(offset, dtype=np.int64).astype("timedelta64[D]")
        return dates if since is None else dates[years >= since]
    easter = western_easter(years)
    parts = [fixed(1, 1), fixed(5, 1, 1919), fixed(10, 3, 1990), fixed(12, 25), fixed(12, 26)]
    parts += [easter + np.timedelta64(k, "D") for k in (-2, 1, 39, 50)]
    parts.append(np.array(["2017-10-31", "1990-11-21", "1991-11-20", "1992-11-18", "1993-11-17",
                           "1994-11-16"], dtype="datetime64[D]"))
    return np.concatenate(parts)


def per_call_ns(call):
    best = None
    for _ in range(3):
        n = 0
        start = time.process_time()
        while True:
            call()
            n += 1
            elapsed = time.process_time() - start
            if elapsed > 0.2 or n >= 100000:
                break
        best = elapsed / n if best is None else min(best, elapsed / n)
    return best * 1e9


def main():
    print(f"numpy {np.__version__}, weekmask {WEEKMASK}, Germany holidays as an array")
    for span in SPANS:
        second = FIRST + np.timedelta64(span, "D")
        last_year = int(str(second.astype("datetime64[Y]"))) if span < 10**8 else 2012 + span // 365 + 2
        holidays = germany(2012, last_year)
        count = np.busday_count(FIRST, second, weekmask=WEEKMASK, holidays=holidays)
        ns = per_call_ns(lambda: np.busday_count(FIRST, second, weekmask=WEEKMASK, holidays=holidays))
        print(f"busday_count  span {span:>13,} days: {ns:14,.0f} ns CPU per call "
              f"({count:,} working days, {holidays.size:,} holidays given)")
        steps = span * 5 // 7 + 1
        ns = per_call_ns(lambda: np.busday_offset(FIRST, steps, roll="forward", weekmask=WEEKMASK,
                                                  holidays=holidays))
        print(f"busday_offset {steps:>13,} days: {ns:14,.0f} ns CPU per call")


if __name__ == "__main__":
    main()
