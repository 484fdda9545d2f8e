#!/usr/bin/env python3
"""Writes a demo station list (.320) from the broadcast schedule in shared/data.

    make-demo-list.py SCHEDULE.csv OUTPUT.320 [COUNT]

Takes the broadcast-band entries of the schedule (ISO-8859-1, ';'-separated,
first line a header) and writes them as station-list lines, CR LF, in the
single-byte encoding the program reads.
"""
import sys

BANDS = [(2300, 2495), (3200, 3400), (3900, 4000), (4750, 5060), (5900, 6200), (7200, 7450),
         (9400, 9900), (11600, 12100), (13570, 13870), (15100, 15800), (17480, 17900),
         (18900, 19020), (21450, 21850), (25670, 26100)]


def clean(text, size):
    # Double quotes cannot stand inside a quoted field of a station list.
    return text.replace('"', "'").replace(',', ' ')[:size] if size else text.replace('"', "'")


def main():
    schedule, output = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 400
    lines = []
    with open(schedule, encoding='latin-1', newline='') as f:
        next(f)
        for raw in f:
            fields = raw.rstrip('\r\n').split(';')
            if len(fields) < 8:
                continue
            try:
                khz = float(fields[0])
            except ValueError:
                continue
            if not any(lo <= khz <= hi for lo, hi in BANDS):
                continue
            times = fields[1].split('-')
            if len(times) != 2 or not all(t.isdigit() and len(t) == 4 for t in times):
                continue
            name = clean(fields[4], 20)
            location = clean(fields[3], 15)
            language = clean(fields[5], 10)
            notes = clean(('to ' + fields[6]) if fields[6] else '', 64)
            lines.append(f'"{name}",{khz / 1000:.6f},AM,6000,2,5000,0,"{location}","{language}",'
                         f'"{times[0]}","{times[1]}","{notes}",0,0')
    step = max(1, len(lines) // count)
    with open(output, 'w', encoding='latin-1', newline='') as out:
        for line in lines[::step][:count]:
            out.write(line + '\r\n')


if __name__ == '__main__':
    main()
