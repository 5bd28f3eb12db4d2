#!/usr/bin/python3
"""Encoding benchmark: the 7,343 populated places of the test data (UTF-8 with a .cpg, every
field as a block attribute) converted with their text decoded, against the same conversion with
/ENC=1252, which reads the bytes unconverted. Runs alternate; prints the median of the ratios.
Usage: encoding_bench.py TESSARYN_BINARY"""
import os
import shutil
import statistics
import sys
import tempfile

from bench_support import timed

PAIRS = 9
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'shared', 'testdata',
                    'ne-4.1-geographic', 'ne_10m_populated_places_simple.shp')


def main():
    binary = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix='tsn-bench-')
    env = dict(os.environ, TESSARYN_HOME=os.path.join(folder, 'home'))
    out = os.path.join(folder, 'places.dxf')
    ratios = []
    try:
        for _ in range(PAIRS):
            converted = timed([binary, '/AB=-1', DATA, out], env, out)
            plain = timed([binary, '/ENC=1252', '/AB=-1', DATA, out], env, out)
            ratios.append(converted / plain)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(f'encoding: decoded / unconverted time, median of {PAIRS} pairs: '
          f'{statistics.median(ratios):.3f}')


if __name__ == '__main__':
    main()
