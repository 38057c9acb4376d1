#!/usr/bin/python3
"""Reference timing: numpy's busday_count for one pair of dates 1, 1,000 and 1,000,000,000
days apart (the spans of compute_bench), and busday_offset for the same numbers of weekdays.

Run with the Debian python3-numpy: /usr/bin/python3 bench/busday_numpy.py
"""
import sys
import time
import timeit

try:
    import numpy as np
except ImportError:
    sys.exit("numpy is missing: install the Debian package python3-numpy and run "
             "/usr/bin/python3 " + sys.argv[0])

FIRST = np.datetime64("2012-01-06", "D")  # a Friday, as in compute_bench
SPANS = (1, 1000, 1000000000)


def per_call_ns(statement, repeat=5):
    # CPU time of this process, comparable with Google Benchmark's CPU column on a busy machine.
    timer = timeit.Timer(statement, timer=time.process_time)
    number, _ = timer.autorange()
    best = min(timer.repeat(repeat=repeat, number=number))
    return best / number * 1e9


def main():
    print(f"numpy {np.__version__}")
    for span in SPANS:
        second = FIRST + np.timedelta64(span, "D")
        count = np.busday_count(FIRST, second)
        ns = per_call_ns(lambda: np.busday_count(FIRST, second))
        print(f"busday_count  span {span:>13,} days: {ns:10.0f} ns CPU per pair ({count:,} weekdays)")
    for span in SPANS:
        ns = per_call_ns(lambda: np.busday_offset(FIRST, span, roll="forward"))
        print(f"busday_offset {span:>13,} weekdays: {ns:10.0f} ns CPU per pair")


if __name__ == "__main__":
    main()
