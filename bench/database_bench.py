#!/usr/bin/python3
"""Drawing database benchmark: the 200,000-polyline shapefile of conversion_bench.py converted
to DXF release 14 by the text writer, and to DXF and DWG release 2000 through the drawing
database; and to DXF release 12 by the text writer against DWG release 12 through the database;
interleaved in one run. Prints the time ratios and the files' sizes, and the database's peak memory beyond the text
writer's (which streams, so its peak is the program's own floor) split into bytes per entity and
bytes per vertex from a second input of twice as many vertices per polyline.
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


def make_input(folder, vertices):
    """The benchmark input with `vertices` vertices per polyline, written in a process of its own:
    a child's peak counts the memory of the process it was forked from, and the generator holds
    the whole input."""
    os.makedirs(folder)
    here = os.path.dirname(os.path.abspath(__file__))
    code = (f'import conversion_bench as c; c.VERTICES = {vertices}; '
            f'c.write_inputs({folder!r})')
    subprocess.run([sys.executable, '-c', code], cwd=here, check=True)


def peak_beyond_text(binary, folder, env):
    """Bytes of peak memory the database path takes beyond the text path."""
    shp = os.path.join(folder, 'roads.shp')
    text = run([binary, shp, os.path.join(folder, 't.dxf'), '/REL=14'], env,
               os.path.join(folder, 't.dxf'))[1]
    database = run([binary, shp, os.path.join(folder, 'd.dxf'), '/REL=2000'], env,
                   os.path.join(folder, 'd.dxf'))[1]
    return (database - text) * 1024


def main():
    binary = os.path.abspath(sys.argv[1])
    root = tempfile.mkdtemp(prefix='tsn-dbbench-')
    try:
        folder = os.path.join(root, 'v10')
        make_input(folder, VERTICES)
        env = dict(os.environ, TESSARYN_HOME=os.path.join(root, 'home'))
        shp = os.path.join(folder, 'roads.shp')
        text_out = os.path.join(folder, 'roads-r14.dxf')
        db_out = os.path.join(folder, 'roads-r2000.dxf')
        dwg_out = os.path.join(folder, 'roads-r2000.dwg')
        text12_out = os.path.join(folder, 'roads-r12.dxf')
        dwg12_out = os.path.join(folder, 'roads-r12.dwg')
        text, database, dwg, text12, dwg12 = [], [], [], [], []
        for _ in range(RUNS):
            text.append(run([binary, shp, text_out, '/REL=14'], env, text_out))
            database.append(run([binary, shp, db_out, '/REL=2000'], env, db_out))
            dwg.append(run([binary, shp, dwg_out, '/REL=2000'], env, dwg_out))
            text12.append(run([binary, shp, text12_out, '/REL=12'], env, text12_out))
            dwg12.append(run([binary, shp, dwg12_out, '/REL=12'], env, dwg12_out))
        text_time = sorted(t for t, _ in text)[RUNS // 2]
        db_time = sorted(t for t, _ in database)[RUNS // 2]
        dwg_time = sorted(t for t, _ in dwg)[RUNS // 2]
        print(f'R2000 DXF through the database: {db_time / text_time:.2f} x the R14 text path'
              f' (medians of {RUNS} interleaved runs, {RECORDS} polylines of {VERTICES} vertices)')
        sizes = {path: os.path.getsize(path) / 1e6 for path in (text_out, db_out, dwg_out)}
        print(f'R2000 DWG through the database: {dwg_time / text_time:.2f} x the R14 text path;'
              f' {sizes[dwg_out]:.1f} MB against {sizes[text_out]:.1f} MB of R14 DXF and'
              f' {sizes[db_out]:.1f} MB of R2000 DXF')
        text12_time = sorted(t for t, _ in text12)[RUNS // 2]
        dwg12_time = sorted(t for t, _ in dwg12)[RUNS // 2]
        print(f'R12 DWG through the database: {dwg12_time / text12_time:.2f} x the R12 text path;'
              f' {os.path.getsize(dwg12_out) / 1e6:.1f} MB against'
              f' {os.path.getsize(text12_out) / 1e6:.1f} MB of R12 DXF')
        twice = os.path.join(root, 'v20')
        make_input(twice, 2 * VERTICES)
        beyond = peak_beyond_text(binary, folder, env)
        beyond_twice = peak_beyond_text(binary, twice, env)
        per_vertex = (beyond_twice - beyond) / (RECORDS * VERTICES)
        per_entity = (beyond - per_vertex * RECORDS * VERTICES) / RECORDS
        print(f'peak memory beyond the text path: {beyond / 1e6:.0f} MB for {VERTICES} vertices'
              f' per polyline, {beyond_twice / 1e6:.0f} MB for {2 * VERTICES}:'
              f' {per_entity:.0f} bytes per entity and {per_vertex:.1f} bytes per vertex')
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == '__main__':
    main()
