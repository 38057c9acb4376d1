"""The holiday export read back by python3-icalendar.

Usage: icalendar_reference.py PATH/TO/daybridge-batch

For every shipped set in one of a few years (the years in turn: with hundreds of sets, each
year is still checked on many), and for a rule file whose names need escaping and
folding, `--list YEAR --ical` must be a calendar that icalendar parses, with one all-day event
per line of `--list YEAR`: the same day, name and category, UIDs unique and the same in a
second export, content lines of at most 75 octets ended by CRLF.
"""
import datetime
import os
import re
import subprocess
import sys
import tempfile

try:
    import icalendar
except ImportError:
    sys.exit("icalendar is missing: install the Debian package python3-icalendar")

RUNNER = sys.argv[1]
SETS = os.path.join(os.path.dirname(RUNNER), "holidays")
YEARS = (1950, 2000, 2027, 2100)
# Not a backslash before n, N, a comma or a semicolon: python3-icalendar 4.0.3 (Debian 12) reads
# an escaped backslash followed by those wrongly.
ODD_NAME = ("Fête de la Fédération; a day, with commas, back\\slashes (a\\b) and a name long enough "
            "to be folded more than once: ÄÖÜ äöü ß — 祝日 " * 2).strip()


def run(*args):
    out = subprocess.run([RUNNER, "--today", "2026-12-08", *args], capture_output=True,
                         check=True)
    return out.stdout


def check(holidays, year, problems):
    listed = [line.split("\t") for line in run("--holidays", holidays, "--list", str(year))
              .decode("utf-8").splitlines()]
    raw = run("--holidays", holidays, "--list", str(year), "--ical", "-")
    where = f"{os.path.basename(holidays)} {year}"
    if raw != run("--holidays", holidays, "--list", str(year), "--ical", "-"):
        problems.append(f"{where}: two exports differ")
    lines = raw.split(b"\r\n")
    if lines[-1] != b"" or any(b"\n" in line or len(line) > 75 for line in lines):
        problems.append(f"{where}: a line over 75 octets or not ended by CRLF")
    # Every backslash of a text value begins one of TEXT's escapes (RFC 5545, 3.3.11).
    unfolded = raw.replace(b"\r\n ", b"").decode("utf-8").split("\r\n")
    for line in unfolded:
        name, _, value = line.partition(":")
        if name in ("SUMMARY", "CATEGORIES", "X-WR-CALNAME") and \
                not re.fullmatch(r"(?:[^\\;,]|\\[\\;,nN])*", value):
            problems.append(f"{where}: not escaped: {line}")
    calendar = icalendar.Calendar.from_ical(raw)
    events = [c for c in calendar.walk() if c.name == "VEVENT"]
    got = [[e.decoded("DTSTART").isoformat(), str(e.get("SUMMARY")),
            e.get("CATEGORIES").to_ical().decode()] for e in events]
    if got != listed:
        problems.append(f"{where}: the events are not the list: {got[:3]} / {listed[:3]}")
    if any(not isinstance(e.decoded("DTSTART"), datetime.date) or
           isinstance(e.decoded("DTSTART"), datetime.datetime) for e in events):
        problems.append(f"{where}: an event is not an all-day event")
    uids = [str(e.get("UID")) for e in events]
    if len(set(uids)) != len(uids):
        problems.append(f"{where}: UIDs repeat")
    return len(events)


def main():
    problems = []
    count = 0
    sets = sorted(os.path.join(SETS, name) for name in os.listdir(SETS) if name.endswith(".txt"))
    for index, path in enumerate(sets):
        count += check(path, YEARS[index % len(YEARS)], problems)
    with tempfile.TemporaryDirectory() as folder:
        odd = os.path.join(folder, "odd.txt")
        with open(odd, "w", encoding="utf-8") as f:
            f.write(f"07-14 : {ODD_NAME}\n07-14 : Second, on the same day\n")
        count += check(odd, 2027, problems)
    print(f"{len(sets)} sets, {count} events")
    for problem in problems[:10]:
        print(problem)
    sys.exit(1 if problems or count == 0 else 0)


if __name__ == "__main__":
    main()
