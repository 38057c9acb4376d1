"""The equinox calendars (PEA, FRE, BAH) against convertdate, and astronomy.h against pymeeus.

First the moments of astronomy.h against pymeeus (VSOP87 for the sun, Meeus's full new moon
expression, the same abridged ELP-2000/82 for the moon), in Terrestrial Time so that Delta T
models do not enter: equinoxes and solstices 1600-2400 within a minute, solar longitude within
0.0006 degrees, new moons within 1 s; the moon's apparent position 1800-2300 within 0.0003
degrees in longitude (the nutation models differ), 0.00001 in latitude and 0.01 km.


Usage: convertdate_astronomical_reference.py PATH/TO/astronomical_calendar_dump

For every year of each span, the first day of every month must be convertdate's (so every
day is), and a sample of days must convert to convertdate's dates. convertdate's rules are
not quite the calendars' own, and where a new year differs the reason is checked here with
pymeeus (convertdate's own astronomy) and the difference counted as explained:
- Persian: convertdate starts the year at true noon at 52.5 E (the meridian of Iran's
  standard time), where the law names Tehran's (51 25' E), 4.3 minutes later: an equinox
  between the two noons starts the year a day earlier here. Its to_jd also numbers some
  years by a rounded mean year and starts them a day after its own equinox_jd.
- French: convertdate takes the day of the equinox's instant in Terrestrial Time at
  Greenwich, not in the true time of Paris (about 9 + 7 minutes ahead, and Delta T): an
  equinox within that margin after Paris's midnight falls on the day before there.
- Baha'i: convertdate applies the equinox rule to every year (the fixed 21 March held up to
  171 BE, so only 172 BE on is compared) and compares sunset with the equinox in Terrestrial
  Time: an equinox within a few minutes of sunset may fall the other side. It fixes 2059 by
  hand to the published date.
Any other difference fails.
"""
import math
import subprocess
import sys

from convertdate import bahai, french_republican, persian
from pymeeus.Epoch import Epoch
from pymeeus.Sun import Sun

DUMP = sys.argv[1] if len(sys.argv) > 1 else None
TEHRAN_LONGITUDE = 51 + 25 / 60
PARIS_LONGITUDE = 2 + 20 / 60 + 15 / 3600


def equinox_ut(gyear, season):
    e = Sun.get_equinox_solstice(gyear, season)
    return e.jde() - Epoch.tt2ut(gyear, 3 if season == "spring" else 9) / 86400.0, e


def apparent_hours(jd_ut, longitude):
    """Local apparent time (hours) of a moment at a longitude."""
    eot_minutes = Sun.equation_of_time(Epoch(jd_ut))[0] + Sun.equation_of_time(Epoch(jd_ut))[1] / 60
    local = jd_ut + 0.5 + longitude / 360 + eot_minutes / 1440
    return (local - math.floor(local)) * 24


def explain(code, year, later, ours):
    """Why our new year is `later` days after convertdate's, or None."""
    if code == "PEA":
        ut, _ = equinox_ut(year + 621, "spring")
        hours = apparent_hours(ut, TEHRAN_LONGITUDE)
        if later == 1 and hours >= 12:
            return "equinox at %.2f h true time at Tehran, after noon" % hours
        if later == -1 and persian.equinox_jd(year + 621) == ours:
            return ("convertdate's own equinox_jd gives our day; its to_jd numbers the "
                    "year from a rounded mean year")
        at_52_5 = apparent_hours(ut, 52.5)
        if later == -1 and hours < 12 <= at_52_5:
            return ("equinox at %.3f h true time at Tehran, %.3f h at 52.5 E"
                    % (hours, at_52_5))
    elif code == "FRE":
        ut, _ = equinox_ut(year + 1791, "autumn")
        hours = apparent_hours(ut, PARIS_LONGITUDE)
        if later == 1 and hours < 0.5:
            return "equinox at %.2f h true time at Paris, still the day before at Greenwich" % hours
    else:
        ut, e = equinox_ut(year + 1843, "spring")
        sunsets = [Epoch(year + 1843, 3, day).rise_set(TEHRAN_LATITUDE, TEHRAN_LON_ANGLE)[1]
                   for day in (19, 20, 21)]
        gap = min(abs(e.jde() - s.jde()) for s in sunsets) * 1440
        if gap < 5:
            return "equinox %.1f min from sunset at Tehran" % gap
    return None


def reference_first(code, year, month):
    if code == "PEA":
        return persian.to_jd(year, month, 1)
    if code == "FRE":
        return french_republican.to_jd(year, month, 1)
    return bahai.to_jd(year, month, 1)


def reference_date(code, jdn):
    jd = jdn - 0.5
    if code == "PEA":
        return persian.from_jd(jd)
    if code == "FRE":
        return french_republican.from_jd(jd)
    return bahai.from_jd(jd)


def check_astronomy():
    from pymeeus.Moon import Moon
    seasons = {0: "spring", 90: "summer", 180: "autumn", 270: "winter"}
    worst = {"S": 0.0, "N": 0.0, "L": 0.0, "M": [0.0, 0.0, 0.0]}
    out = subprocess.run([DUMP, "ASTRO"], check=True, capture_output=True, text=True).stdout
    for line in out.split("\n"):
        f = line.split()
        if not f:
            continue
        if f[0] == "S":
            ref = Sun.get_equinox_solstice(int(f[1]), seasons[int(f[2])]).jde()
            worst["S"] = max(worst["S"], abs(float(f[3]) - ref) * 86400)
        elif f[0] == "M":
            ref = [float(x) for x in Moon.apparent_ecliptical_pos(Epoch(float(f[1])))[:3]]
            ours = [float(x) for x in f[2:5]]
            gaps = [abs((ours[0] - ref[0] + 180) % 360 - 180), abs(ours[1] - ref[1]),
                    abs(ours[2] - ref[2])]
            worst["M"] = [max(w, g) for w, g in zip(worst["M"], gaps)]
        elif f[0] == "N":
            ref = Moon.moon_phase(Epoch(float(f[2])), target="new").jde()
            worst["N"] = max(worst["N"], abs(float(f[2]) - ref) * 86400)
        else:
            ref = Sun.apparent_geocentric_position(Epoch(float(f[1])))[0]()
            worst["L"] = max(worst["L"], abs((float(f[2]) - ref + 180) % 360 - 180))
    moon = worst["M"]
    ok = (worst["S"] < 60 and worst["N"] < 1 and worst["L"] < 0.0006 and moon[0] < 0.0003
          and moon[1] < 0.00001 and moon[2] < 0.01)
    print("astronomy: seasons within %.1f s, new moons within %.2f s, solar longitude within "
          "%.5f degrees; the moon within %.5f degrees in longitude, %.7f in latitude, %.4f km%s"
          % (worst["S"], worst["N"], worst["L"], moon[0], moon[1], moon[2],
             "" if ok else "  <- too far"))
    return 0 if ok else 1


def main():
    from pymeeus.Angle import Angle
    global TEHRAN_LATITUDE, TEHRAN_LON_ANGLE
    TEHRAN_LATITUDE = Angle(35 + 41 / 60)
    TEHRAN_LON_ANGLE = Angle(TEHRAN_LONGITUDE)
    failures = check_astronomy()
    for code in ("PEA", "FRE", "BAH"):
        lines = subprocess.run([DUMP, code], check=True, capture_output=True,
                               text=True).stdout.split("\n")
        months, days = [], []
        for line in lines:
            f = line.split()
            if not f or f[0] == "end":
                continue
            if f[0] == "day":
                days.append(tuple(map(int, f[1:])))
            else:
                months.append(tuple(map(int, f)))
        first_year = 172 if code == "BAH" else months[0][0]
        # New years of every year; every month start of every tenth year (convertdate's
        # astronomy takes some milliseconds a call).
        new_years = {year: jdn for year, month, jdn in months if month == 1}
        differing = {}
        for year, ours in sorted(new_years.items()):
            if year < first_year:
                continue
            ref = reference_first(code, year, 1) + 0.5
            if ref != ours:
                why = explain(code, year, ours - ref, ours)
                print("  %s %s year %d begins on JDN %d, convertdate %d: %s"
                      % ("explained" if why else "UNEXPLAINED", code, year, ours, ref, why or ""))
                failures += 0 if why else 1
                differing[year] = why
        compared = agree = 0
        for year, month, jdn in months:
            if year < first_year or year % 10 != 0 or year in differing:
                continue
            compared += 1
            if reference_first(code, year, month) + 0.5 == jdn:
                agree += 1
            else:
                print("  UNEXPLAINED %s %d-%d begins on JDN %d, convertdate %d"
                      % (code, year, month, jdn, reference_first(code, year, month) + 0.5))
                failures += 1
        sampled = sample_agree = invalid = 0
        for jdn, year, month, day in days[::4]:
            if year < first_year or year in differing or year + 1 in differing:
                continue
            sampled += 1
            ref = tuple(reference_date(code, jdn))
            if ref == (year, month, day):
                sample_agree += 1
            elif ref[2] < 1:
                # convertdate's Baha'i from_jd finds 'Ala from the Naw-Ruz of the Gregorian
                # year of the day, not of the Baha'i year's end, and gives days 0, -1 ...
                invalid += 1
            else:
                print("  UNEXPLAINED %s day %d: ours %s, convertdate %s"
                      % (code, jdn, (year, month, day), ref))
                failures += 1
        print("%s: %d new years, %d differ (explained above); %d month starts of every tenth "
              "year, %d agree; %d sampled days, %d agree, %d where convertdate gives a day < 1"
              % (code, len([y for y in new_years if y >= first_year]), len(differing), compared,
                 agree, sampled, sample_agree, invalid))
    print("%d passed, %d failed" % (1 if failures == 0 else 0, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
