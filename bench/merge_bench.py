#!/usr/bin/python3
"""Merge group benchmark: 20 generated shapefiles of 50,000 polylines each (ten vertices, an ID
table, each file in a place of its own) converted one by one, and as one merge group of a
command file, to DWG release 2000 and to DXF release 12; interleaved in one run. Prints, per
format, the group's time against the sum of the single conversions (medians of the runs) and
the peak memory of the group and of one single conversion, per polyline.
Usage: merge_bench.py TESSARYN_BINARY"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from bench_support import write_id_table, write_shapefile

INPUTS = 20
RECORDS = 50_000
VERTICES = 10
RUNS = 3
FORMATS = (('dwg', '/REL=2000'), ('dxf', '/REL=12'))


def write_input(folder, number):
    contents = []
    x_base, y_base = (number % 5) * 20000.0, (number // 5) * 10000.0
    for i in range(RECORDS):
        content = struct.pack('<i4d2ii', 3, 0.0, 0.0, 1.0, 1.0, 1, VERTICES, 0)
        x0, y0 = x_base + (i % 1000) * 10.0, y_base + (i // 1000) * 10.0
        for k in range(VERTICES):
            content += struct.pack('<2d', x0 + k * 0.7, y0 + (k % 3) * 1.3)
        contents.append(content)
    name = 'part%02d' % number
    write_shapefile(folder, name, 3, contents, (x_base, y_base, x_base + 10000, y_base + 500))
    write_id_table(folder, name, RECORDS)


def write_inputs(folder):
    """The inputs, written in a process of their own: a child's peak counts the memory of the
    process it was forked from, and the generator holds a whole input."""
    here = os.path.dirname(os.path.abspath(__file__))
    code = ('import merge_bench as m; '
            f'[m.write_input({folder!r}, n) for n in range({INPUTS})]')
    subprocess.run([sys.executable, '-c', code], cwd=here, check=True)
    return [os.path.join(folder, 'part%02d.shp' % n) for n in range(INPUTS)]


def run(command, env):
    """Seconds and peak resident kilobytes of one run, which must succeed."""
    start = time.perf_counter()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    if status != 0:
        sys.exit(f'failed: {" ".join(command)}')
    return time.perf_counter() - start, usage.ru_maxrss


def median(values):
    return sorted(values)[len(values) // 2]


def main():
    binary = os.path.abspath(sys.argv[1])
    root = tempfile.mkdtemp(prefix='tsn-mergebench-')
    try:
        inputs = write_inputs(root)
        env = dict(os.environ, TESSARYN_HOME=os.path.join(root, 'home'))
        for ext, release in FORMATS:
            group_out = os.path.join(root, 'group.' + ext)
            commands = os.path.join(root, 'group-%s.txt' % ext)
            with open(commands, 'w') as f:
                f.write('/G\n' + ''.join('%s %s\n' % (i, release) for i in inputs) +
                        '/O %s\n' % group_out)
            singles, groups, single_peak, group_peak = [], [], 0, 0
            for _ in range(RUNS):
                total = 0.0
                for shp in inputs:
                    out = os.path.join(root, 'single.' + ext)
                    seconds, peak = run([binary, shp, out, release], env)
                    total += seconds
                    single_peak = max(single_peak, peak)
                    os.remove(out)
                singles.append(total)
                if os.path.exists(group_out):
                    os.remove(group_out)
                seconds, peak = run([binary, '@' + commands], env)
                groups.append(seconds)
                group_peak = max(group_peak, peak)
            polylines = INPUTS * RECORDS
            print(f'{ext.upper()} {release[5:]}: a group of {INPUTS} inputs takes'
                  f' {median(groups) / median(singles):.2f} x the sum of their single'
                  f' conversions (medians of {RUNS} interleaved runs, {RECORDS} polylines of'
                  f' {VERTICES} vertices each); peak memory {group_peak * 1024 / polylines:.0f}'
                  f' bytes per polyline for the group, {single_peak * 1024 / RECORDS:.0f} for'
                  f' one input alone')
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == '__main__':
    main()
