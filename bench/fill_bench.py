#!/usr/bin/python3
"""Fill benchmark: a generated polygon shapefile of 100,000 records, each an outer ring of 24
vertices with a square hole, converted with outlines only and with outlines and fill, for DXF
release 12 (triangulated SOLIDs in FIL blocks) and release 14 (HATCH). Prints the time ratio
of the filled conversion to the unfilled one.
Usage: fill_bench.py TESSARYN_BINARY"""
import math
import os
import shutil
import struct
import sys
import tempfile

from bench_support import timed, write_id_table, write_shapefile

RECORDS = 100_000
OUTER = 24  # vertices of the outer ring, before its closing point


def polygon(i):
    """A clockwise star-like outer ring with a wobbling radius and a counter-clockwise hole."""
    cx, cy = (i % 400) * 30.0, (i // 400) * 30.0
    outer = []
    for k in range(OUTER):
        a = -2 * math.pi * k / OUTER
        r = 10.0 + 3.0 * math.sin(5 * a + i)
        outer.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    outer.append(outer[0])
    hole = [(cx - 2, cy - 2), (cx + 2, cy - 2), (cx + 2, cy + 2), (cx - 2, cy + 2), (cx - 2, cy - 2)]
    return [outer, hole]


def write_inputs(folder):
    contents = []
    for i in range(RECORDS):
        rings = polygon(i)
        points = [p for ring in rings for p in ring]
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        content = struct.pack('<i4d2i', 5, min(xs), min(ys), max(xs), max(ys), len(rings),
                              len(points))
        start = 0
        for ring in rings:
            content += struct.pack('<i', start)
            start += len(ring)
        for x, y in points:
            content += struct.pack('<2d', x, y)
        contents.append(content)
    write_shapefile(folder, 'parcels', 5, contents,
                    (-15, -15, 400 * 30 + 15, (RECORDS // 400) * 30 + 15))
    write_id_table(folder, 'parcels', RECORDS)


def main():
    binary = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix='tsn-fill-bench-')
    try:
        write_inputs(folder)
        env = dict(os.environ, TESSARYN_HOME=os.path.join(folder, 'home'))
        shp = os.path.join(folder, 'parcels.shp')
        for release in ('12', '14'):
            times = {}
            for mode, switch in (('outlines', '/C=0'), ('filled', '/C=2')):
                out = os.path.join(folder, f'parcels-{release}-{mode}.dxf')
                command = [binary, shp, out, f'/REL={release}', switch, '/C0=1']
                times[mode] = min(timed(command, env, out) for _ in range(3))
                times[mode + ' size'] = os.path.getsize(out)
            print(f'R{release}: {RECORDS} polygons with a hole: filled {times["filled"]:.2f} s '
                  f'({times["filled size"] / 1e6:.0f} MB), outlines only '
                  f'{times["outlines"]:.2f} s ({times["outlines size"] / 1e6:.0f} MB); '
                  f'fill costs {times["filled"] / times["outlines"]:.2f} x')
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
