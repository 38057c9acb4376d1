"""The daybridge module: a date in other calendars, months added, working days and a column
of dates converted at once."""
import datetime

import daybridge
import numpy

day = datetime.date(2026, 12, 8)
print("Hebrew:", daybridge.convert(day, "HEB"), daybridge.format(day, "HEB"))
print("Back:", daybridge.convert((5787, 9, 28), "CE", from_="HEB"))
print("One month after 31 January 2024:", daybridge.add(datetime.date(2024, 1, 31), months=1))
print("Between:", daybridge.difference(datetime.date(2011, 1, 31), datetime.date(2012, 3, 1)))

germany = daybridge.WorkingDays("sat sun", "germany")
print("10 working days after", day, "in Germany:", germany.add(day, 10))

column = numpy.array(["2026-12-08", "2000-01-01", "1582-10-15"], dtype="datetime64[D]")
print("Islamic years:", daybridge.convert_many(column, "ISL")[:, 0].tolist())

assert daybridge.convert(day, "HEB") == (5787, 9, 28)
assert germany.count(day, germany.add(day, 10)) == 10
