#!/usr/bin/env python3
"""Helper of coverage-per-test.sh.
  covered          reads gcov JSON documents on stdin, prints the covered lines
                   and taken branches of src/ (without src/ui), one a line
  report FOLDER    lists the cases of FOLDER/cases that have nothing of their own
"""
import collections
import json
import os
import re
import sys

# The files scripts/coverage.sh leaves out of its figures.
LEFT_OUT = ('src/ui/', 'src/sim/tool/', 'src/app/qt/main.cpp', 'src/app/remote/ondaris_remote_main.cpp')


def covered():
    text = sys.stdin.read()
    decoder = json.JSONDecoder()
    position, found = 0, set()
    while True:
        while position < len(text) and text[position].isspace():
            position += 1
        if position >= len(text):
            break
        document, position = decoder.raw_decode(text, position)
        for source in document.get('files', []):
            match = re.search(r'(?:^|/)(src/.*)$', os.path.normpath(source['file']))
            if not match or match.group(1).startswith(LEFT_OUT):
                continue
            name = match.group(1)
            for line in source['lines']:
                if line['count'] > 0:
                    found.add(f"L {name}:{line['line_number']}")
                for index, branch in enumerate(line['branches']):
                    if branch['count'] > 0 and not branch.get('throw'):
                        found.add(f"B {name}:{line['line_number']}:{index}")
    print('\n'.join(sorted(found)))


def report(folder):
    cases = [line.split(' ', 2) for line in open(os.path.join(folder, 'cases')).read().splitlines()]
    sets = {}
    for number, _, name in cases:
        path = os.path.join(folder, number, 'covered')
        text = open(path).read() if os.path.exists(path) else ''
        sets[name] = frozenset(line for line in text.splitlines() if line)
        if os.path.exists(os.path.join(folder, number, 'failed')):
            print(f'FAILED {name}')
    times = collections.Counter()
    for items in sets.values():
        times.update(items)
    lines = sum(1 for item in times if item[0] == 'L')
    print(f'{len(sets)} cases; together {lines} lines and {len(times) - lines} branches')
    empty = [name for name, items in sets.items() if not items]
    print(f'{len(empty)} cases reach only src/ui or nothing measured; left out below')
    without = [name for name, items in sets.items() if items and all(times[item] > 1 for item in items)]
    print(f'{len(without)} cases cover nothing of their own:')
    for name in sorted(without):
        wider = next((other for other in sets if other != name and sets[name] <= sets[other]), None)
        print(f'  {name} ({len(sets[name])})' + (f' within {wider}' if wider else ''))


if __name__ == '__main__':
    if sys.argv[1:2] == ['covered']:
        covered()
    elif sys.argv[1:2] == ['report'] and len(sys.argv) == 3:
        report(sys.argv[2])
    else:
        sys.exit(__doc__)
