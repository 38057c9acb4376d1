"""The filter's records read back by Python's json and csv modules: every line of an input
with quotes, backslashes, tabs, commas and control characters gives one record whose input
field is that line's text again."""
import csv
import io
import json
import subprocess
import sys

batch = sys.argv[1]
lines = ['2026-12-08', 'say "hi" \\ now', 'a,b;"c"', 'tab\there', 'bell\x07', 'ünï 2026-02-30',
         'ISO 2026-W50-2']
data = ''.join(line + '\n' for line in lines).encode()
failures = []


def run(kind):
    done = subprocess.run([batch, '--to', 'HEB', '--output', kind], input=data,
                          capture_output=True, env={'LC_ALL': 'C.UTF-8'})
    if done.returncode != 1:  # bad lines among them
        failures.append(f'{kind}: exit status {done.returncode}')
    return done.stdout.decode()


records = [json.loads(text) for text in run('json').splitlines()]
rows = list(csv.reader(io.StringIO(run('csv'), newline='')))
if rows[0] != ['line', 'input', 'calendar', 'date', 'jdn', 'error']:
    failures.append(f'csv header {rows[0]}')
rows = rows[1:]
for number, line in enumerate(lines, 1):
    record, row = records[number - 1], rows[number - 1]
    if record['line'] != number or record['input'] != line.strip():
        failures.append(f'json record {record} for {line!r}')
    if row[0] != str(number) or row[1] != line.strip() or len(row) != 6:
        failures.append(f'csv row {row} for {line!r}')
    if ('error' in record) != (row[5] != '') or ('jdn' in record and str(record['jdn']) != row[4]):
        failures.append(f'json {record} and csv {row} disagree')
if len(records) != len(lines) or len(rows) != len(lines):
    failures.append(f'{len(records)} json records, {len(rows)} csv rows for {len(lines)} lines')
print('\n'.join(failures))
sys.exit(1 if failures else 0)
