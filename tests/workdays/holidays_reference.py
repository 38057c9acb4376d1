"""The shipped holiday sets against python3-holidays and workalendar, year by year.

Every set with a @region that a package covers is compared over its @years (within
1950-2100), on the days that are not weekend days of the set (a holiday on a weekend day
changes no count): each date that one side has as a holiday and the other not must be covered
by a row of data/holidays/differences.tsv for the region, naming the package in `theirs`: a
row with ours "-" covers a date only the package has, a row with theirs "PACKAGE: -" a date
only the set has; the date column is one date or a range FIRST..LAST, which covers the dates
of the holiday it names (the package's in `theirs`, ours in `ours`). A year in which a package gives no
holiday at all, or raises for want of tables, is not compared with it.
Sets listed in holidays_unverified.txt (beside this script; set, tab, why) are compared too,
but their differences not in differences.tsv are only counted: their data is not yet checked.
Usage: holidays_reference.py HOLIDAY_DUMP DATA_HOLIDAYS_FOLDER [--all]
"""
import datetime
import multiprocessing
import os
import subprocess
import sys
import warnings

FIRST_YEAR, LAST_YEAR = 1950, 2100
MOST_SHOWN = 30


def read_differences(path):
    rows = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            fields = line.rstrip("\n").split("\t")
            if number == 1 or not line.strip():
                continue
            if len(fields) != 5:
                sys.exit(f"{path}:{number}: not five columns")
            region, dates, ours, theirs, _source = fields
            package = theirs.split(":", 1)[0]
            first, _, last = dates.partition("..")
            side = "theirs" if ours == "-" else "ours"
            rows.setdefault((region, package), []).append(
                (datetime.date.fromisoformat(first), datetime.date.fromisoformat(last or first),
                 side, ours if side == "ours" else theirs.split(":", 1)[1].strip()))
    return rows


def dump_sets(dump, folder, names):
    request = "".join(f"{n} {FIRST_YEAR} {LAST_YEAR}\n" for n in names)
    out = subprocess.run([dump, folder], input=request, capture_output=True, text=True,
                         check=True).stdout
    sets, refused = {}, []
    current = None
    for line in out.splitlines():
        if line.startswith("! "):
            refused.append(line[2:])
        elif line.startswith("= "):
            _, name, region, first, last = line.split()
            current = {"region": region, "years": (first, last), "days": {}, "weekends": []}
            sets[name] = current
        elif line.startswith("w "):
            current["weekends"].append(tuple(int(x) for x in line.split()[1:]))
        elif line != ".":
            day, names = line.split("\t")
            current["days"][datetime.date.fromisoformat(day)] = names.split("; ")
    return sets, refused


def by_year(holidays_of_year, years):
    """The days of the years the package answers (it raises for years beyond its tables)."""
    days, answered = {}, set()
    for year in years:
        try:
            year_days = [(d if type(d) is datetime.date else d.date(), name)
                         for d, name in holidays_of_year(year)]
            if year_days:  # no holiday at all: a year before the package's rules begin
                for d, name in year_days:
                    days.setdefault(d, set()).add(name)
                answered.add(year)
        except Exception as e:  # only the kinds of "no table for that year"
            if type(e).__name__ not in ("CalendarError", "NotImplementedError", "IndexError",
                                        "KeyError", "ValueError"):
                raise
    return {d: n for d, n in days.items() if d.year in answered}, answered


def python_holidays_days(region, years):
    import holidays
    country, _, sub = region.partition("-")
    try:
        kind = holidays.CountryHoliday(country)
    except (KeyError, AttributeError):
        return None
    # Norway's and Sweden's classes count every Sunday unless told not to.
    args = {"include_sundays": False} if country in ("NO", "SE") else {}
    if sub:
        if sub in getattr(kind, "PROVINCES", ()):
            args["prov"] = sub
        elif sub in getattr(kind, "STATES", ()):
            args["state"] = sub
        else:
            return None
    return by_year(lambda year: type(kind)(years=year, **args).items(), years)


def workalendar_days(region, years):
    from workalendar.registry import registry
    kind = registry.get(region)
    if kind is None:
        return None
    calendar = kind()
    return by_year(lambda year: calendar.holidays(year), years)


def is_weekend_day(day, weekends):
    jdn = day.toordinal() + 1721425
    return any(first <= jdn <= last and days >> day.weekday() & 1
               for days, first, last in weekends)


def package_days(job):
    region, first, last = job
    years = range(first, last + 1)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return {"python-holidays": python_holidays_days(region, years),
                "workalendar": workalendar_days(region, years)}


def main():
    dump, folder = sys.argv[1], sys.argv[2]
    names = sorted(f[:-4] for f in os.listdir(folder) if f.endswith(".txt"))
    differences = read_differences(os.path.join(folder, "differences.tsv"))
    sets, refused = dump_sets(dump, folder, names)
    compared = [(n, s) for n, s in sets.items()
                if s["region"] != "-" and s["years"][0] != "-"
                and max(FIRST_YEAR, int(s["years"][0])) <= min(LAST_YEAR, int(s["years"][1]))]
    jobs = [(s["region"], max(FIRST_YEAR, int(s["years"][0])),
             min(LAST_YEAR, int(s["years"][1]))) for _, s in compared]
    with multiprocessing.Pool(2) as pool:
        theirs = pool.map(package_days, jobs, chunksize=4)

    unverified_file = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                   "holidays_unverified.txt")
    with open(unverified_file, encoding="utf-8") as f:
        unverified = {line.split("\t")[0]: 0 for line in f
                      if line.strip() and not line.startswith("#")}
    uncovered, covered, set_count, year_count = [], 0, 0, 0
    for (name, ours), (region, first, last), by_package in zip(compared, jobs, theirs):
        for package, answer in by_package.items():
            if answer is None:
                continue
            their_names, years = answer
            days = {d for d in their_names
                    if d.year in years and not is_weekend_day(d, ours["weekends"])}
            mine = {d for d in ours["days"] if d.year in years}
            set_count += 1
            year_count += len(years)
            rows = differences.get((region, package), [])
            for day, side in sorted([(d, "ours") for d in mine - days] +
                                    [(d, "theirs") for d in days - mine]):
                day_names = ours["days"][day] if side == "ours" else their_names[day]
                # A range row covers the days of the holiday it names.
                if any(a <= day <= b and s == side and (a == b or any(n in named
                                                                      for n in day_names))
                       for a, b, s, named in rows):
                    covered += 1
                elif name in unverified:
                    unverified[name] += 1
                else:
                    uncovered.append(f"{name} ({region}) {day}: " +
                                     ("only in the set, not in " if side == "ours" else
                                      "only in ") + package)
    print(f"{set_count} comparisons of {len(compared)} sets with a package, {year_count} years, "
          f"{covered} differences covered by differences.tsv, {len(uncovered)} not")
    for name, count in unverified.items():
        print(f"unverified: {name}, {count} differences not in differences.tsv")
    for line in refused:
        print("refused:", line)
    for line in uncovered if "--all" in sys.argv else uncovered[:MOST_SHOWN]:
        print("not in differences.tsv:", line)
    if len(uncovered) > MOST_SHOWN and "--all" not in sys.argv:
        print(f"... and {len(uncovered) - MOST_SHOWN} more")
    return 1 if uncovered or refused else 0


if __name__ == "__main__":
    sys.exit(main())
