#!/usr/bin/python3
"""Drawing database benchmark: the 200,000-polyline shapefile of conversion_bench.py converted
to DXF release 14 by the text writer and to release 2000 through the drawing database, the two
interleaved in one run. Prints the time ratio and the database's peak memory beyond the text
writer's, per vertex and per entity (the text writer streams, so its peak is the program's own
floor).
Usage: database_bench.py TESSARYN_BINARY"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from conversion_bench import RECORDS, VERTICES

RUNS = 5


def run(command, env, output):
    """Seconds and peak resident kilobytes of one conversion."""
    if os.path.exists(output):
        os.remove(output)
    start = time.perf_counter()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if status != 0 or not os.path.exists(output):
        sys.exit(f'conversion failed: {" ".join(command)}')
    return seconds, usage.ru_maxrss


def main():
    binary = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix='tsn-dbbench-')
    try:
        # In a process of its own: a child's peak counts the memory of the process it was
        # forked from, and the generator holds the whole input.
        here = os.path.dirname(os.path.abspath(__file__))
        subprocess.run([sys.executable, '-c',
                        f'from conversion_bench import write_inputs; write_inputs({folder!r})'],
                       cwd=here, check=True)
        env = dict(os.environ, TESSARYN_HOME=os.path.join(folder, 'home'))
        shp = os.path.join(folder, 'roads.shp')
        text_out = os.path.join(folder, 'roads-r14.dxf')
        db_out = os.path.join(folder, 'roads-r2000.dxf')
        text, database = [], []
        for _ in range(RUNS):
            text.append(run([binary, shp, text_out, '/REL=14'], env, text_out))
            database.append(run([binary, shp, db_out, '/REL=2000'], env, db_out))
        text_time = sorted(t for t, _ in text)[RUNS // 2]
        db_time = sorted(t for t, _ in database)[RUNS // 2]
        text_peak = max(k for _, k in text) * 1024
        db_peak = max(k for _, k in database) * 1024
        beyond = db_peak - text_peak
        vertices = RECORDS * VERTICES
        print(f'R2000 through the database: {db_time / text_time:.2f} x the R14 text path'
              f' (medians of {RUNS} interleaved runs, {RECORDS} polylines of {VERTICES} vertices)')
        print(f'peak memory: text path {text_peak / 1e6:.0f} MB, database {db_peak / 1e6:.0f} MB;'
              f' beyond the text path {beyond / 1e6:.0f} MB = {beyond / vertices:.1f} bytes per'
              f' vertex if all of it is counted per vertex, {beyond / RECORDS:.0f} bytes per'
              f' entity if all of it is counted per entity')
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
