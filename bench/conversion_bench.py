#!/usr/bin/python3
"""Conversion benchmark: a generated polyline shapefile of 200,000 records converted by
tessaryn (DXF R12 and R14) and by `ogr2ogr -f DXF`, with the I/O floor (reading the inputs
and writing a file of the output's size) for comparison. Prints ratios.
Usage: conversion_bench.py TESSARYN_BINARY"""
import os
import shutil
import struct
import sys
import tempfile
import time

from bench_support import timed, write_id_table, write_shapefile

RECORDS = 200_000
VERTICES = 10


def write_inputs(folder):
    contents = []
    for i in range(RECORDS):
        content = struct.pack('<i4d2ii', 3, 0.0, 0.0, 1.0, 1.0, 1, VERTICES, 0)
        x0, y0 = (i % 1000) * 10.0, (i // 1000) * 10.0
        for k in range(VERTICES):
            content += struct.pack('<2d', x0 + k * 0.7, y0 + (k % 3) * 1.3)
        contents.append(content)
    write_shapefile(folder, 'roads', 3, contents, (0, 0, 10000, 2000))
    write_id_table(folder, 'roads', RECORDS)


def io_floor(folder, output_size):
    start = time.perf_counter()
    for name in ('roads.shp', 'roads.shx', 'roads.dbf'):
        with open(os.path.join(folder, name), 'rb') as f:
            while f.read(1 << 20):
                pass
    block = bytes(1 << 20)
    floor_out = os.path.join(folder, 'floor.out')
    if os.path.exists(floor_out):
        os.remove(floor_out)
    with open(floor_out, 'wb') as f:
        left = output_size
        while left > 0:
            f.write(block[:min(left, len(block))])
            left -= len(block)
    return time.perf_counter() - start


def main():
    binary = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix='tsn-bench-')
    try:
        write_inputs(folder)
        env = dict(os.environ, TESSARYN_HOME=os.path.join(folder, 'home'))
        shp = os.path.join(folder, 'roads.shp')
        results = {}
        for release, args in (('R12', []), ('R14', ['/REL=14'])):
            out = os.path.join(folder, f'roads-{release}.dxf')
            best = min(timed([binary, shp, out] + args, env, out) for _ in range(5))
            size = os.path.getsize(out)
            results[release] = (best, size, min(io_floor(folder, size) for _ in range(5)))
        ogr = None
        if shutil.which('ogr2ogr'):
            out = os.path.join(folder, 'ogr.dxf')
            ogr = timed(['ogr2ogr', '-f', 'DXF', out, shp])
        for release, (best, size, floor) in results.items():
            line = (f'{release}: tessaryn {best:.2f} s for {RECORDS} records ({size / 1e6:.0f} MB);'
                    f' {best / floor:.1f} x the I/O floor')
            if ogr is not None:
                line += f'; ogr2ogr {ogr:.2f} s, tessaryn {ogr / best:.0f} x faster'
            print(line)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
