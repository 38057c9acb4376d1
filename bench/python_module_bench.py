"""Times the daybridge Python module against python3-convertdate (Hebrew and Julian dates) and
python3-dateutil (a month added) on 1,000,000 random days of years 1600-2400, and checks that
the outputs are the same. Prints a Markdown table.

    /usr/bin/python3 bench/python_module_bench.py BUILD/python [COUNT]
"""
import datetime
import random
import sys
import time

sys.path.insert(0, sys.argv[1])
count = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000

import daybridge  # noqa: E402
import numpy  # noqa: E402
from convertdate import hebrew, julian  # noqa: E402
from dateutil.relativedelta import relativedelta  # noqa: E402

rng = random.Random(8)
first, last = datetime.date(1600, 1, 1).toordinal(), datetime.date(2400, 12, 31).toordinal()
days = [datetime.date.fromordinal(rng.randint(first, last)) for _ in range(count)]
array = numpy.array(days, dtype="datetime64[D]")


def timed(run, repeat=1):
    """The best of `repeat` runs (the module's calls are repeated three times: the first
    pays for the result's fresh memory; the references take minutes and run once). CPU time of
    this process, so that other work on a shared machine does not count against either side."""
    best = None
    for _ in range(repeat):
        start = time.process_time()
        result = run()
        elapsed = time.process_time() - start
        best = elapsed if best is None else min(best, elapsed)
    return best, result


rows = []
for code, module in (("HEB", hebrew), ("JC", julian)):
    ours_s, ours = timed(lambda: daybridge.convert_many(array, code), 3)
    list_s, ours_list = timed(lambda: daybridge.convert_many(days, code), 3)
    ref_s, ref = timed(lambda: [module.from_gregorian(d.year, d.month, d.day) for d in days])
    same = ours[:, :3].tolist() == [list(t) for t in ref] and ours_list == [tuple(t) for t in ref]
    rows.append((f"CE to {code}", "convertdate", ref_s, ours_s, list_s, same))

ours_s, ours = timed(lambda: daybridge.add_many(array, months=1), 3)
list_s, ours_list = timed(lambda: daybridge.add_many(days, months=1), 3)
month = relativedelta(months=1)
ref_s, ref = timed(lambda: [d + month for d in days])
same = ours.tolist() == ref and ours_list == ref
rows.append(("one month added", "dateutil relativedelta", ref_s, ours_s, list_s, same))

print(f"{count:,} days, Python {sys.version.split()[0]}, daybridge {daybridge.__version__}\n")
print("| work | reference | reference s | daybridge array s | speed-up | daybridge list s "
      "| speed-up | same output |")
print("|---|---|---:|---:|---:|---:|---:|---|")
for work, reference, ref_s, ours_s, list_s, same in rows:
    print(f"| {work} | {reference} | {ref_s:.2f} | {ours_s:.3f} | {ref_s / ours_s:.0f}x "
          f"| {list_s:.3f} | {ref_s / list_s:.0f}x | {'yes' if same else 'NO'} |")
sys.exit(0 if all(row[-1] for row in rows) else 1)
