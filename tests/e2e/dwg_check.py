#!/usr/bin/python3
"""DWG drawings read back by readers written by others, against the DXF of the same conversion.

Usage: dwg_check.py CADCHECK DXF DWG [DXF DWG ...]
  one line per pair: "DWG ok", "DWG unchecked" when the checker's readers cannot run (not
  installed), or "DWG problem: ..." for each problem. A DWG is ok when the
  checker accepts it (every deciding reader read it, with no CRC, handle, type or size error),
  the layers and colours LibreDWG reads equal the DXF's, and LibreDWG's own DXF export of it
  holds what the DXF holds (drawing_compare.py --tables: tables, entities by type and layer,
  blocks, attributes, texts, hatches, extended data, coordinates to 1e-9 relative). A release
  12 DWG, of which LibreDWG gives the geometry only, is ok when the checker accepts it, its
  model space entities and their points are the DXF's, and our own reader of the layout
  (dwg12_read.py --compare) finds the DXF's tables, blocks, attributes and extended data.
       dwg_check.py --rejects CADCHECK DWG [DWG ...]
  one line per file: "DWG rejected" when a deciding reader refuses it, "DWG unchecked" when
  none can run, else "DWG accepted"."""
import collections
import concurrent.futures
import json
import os
import subprocess
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))


def node_modules():
    """Where the checker keeps its WebAssembly readers (see its README)."""
    if os.environ.get('CADCHECK_NODE_MODULES'):
        return os.environ['CADCHECK_NODE_MODULES']
    cache = os.environ.get('CADCHECK_CACHE') or os.path.join(
        os.environ.get('XDG_CACHE_HOME') or os.path.expanduser('~/.cache'), 'cadcheck')
    return os.path.join(cache, 'node_modules')


def cadcheck(checker, dwg, readers='libredwg-web,libdxfrw-web', entities=0):
    """The checker's verdict with the WebAssembly readers: LibreDWG decides, libdxfrw advises
    (GDAL and LibreDWG's export are run apart: the export below, GDAL by hand)."""
    out = subprocess.run([checker, '--compact', '-n', str(entities), '-r', readers, dwg],
                         capture_output=True, text=True)
    try:
        return out.returncode, json.loads(out.stdout)
    except json.JSONDecodeError:
        return out.returncode, {'problems': [out.stderr.strip()[:300]]}


def layers_of(dxf):
    """The layers of a DXF, less DEFPOINTS, which ezdxf adds when it loads a drawing."""
    return sorted((r.dxf.name.upper(), r.dxf.color) for r in ezdxf.readfile(dxf).layers
                  if r.dxf.name.upper() != 'DEFPOINTS')


# Release 12 keeps the z of most kinds as the record's elevation, which LibreDWG's readers do
# not put back into the points (our own reader checks it): only these kinds are compared in 3D.
FULL_3D = ('LINE', 'POINT', '3DFACE')


def rounded(kind, points):
    return tuple(tuple(round(c, 9) for c in (p if kind in FULL_3D else p[:2])) for p in points)


def dxf_points(e):
    """The points LibreDWG reports of an entity: a polyline's first 50 vertices, corners,
    ends, centres and insertion points."""
    kind = e.dxftype()
    if kind == 'POLYLINE':
        return [tuple(v.dxf.location) for v in list(e.vertices)[:50]]
    if kind in ('SOLID', '3DFACE'):
        return [tuple(e.dxf.get(a)) for a in ('vtx0', 'vtx1', 'vtx2', 'vtx3')]
    if kind == 'LINE':
        return [tuple(e.dxf.start), tuple(e.dxf.end)]
    if kind == 'CIRCLE':
        return [tuple(e.dxf.center)]
    if kind == 'POINT':
        return [tuple(e.dxf.location)]
    if kind in ('TEXT', 'INSERT'):
        return [tuple(e.dxf.insert)]
    return []


def report_points(e):
    kind = e['type']
    if kind == 'POLYLINE':
        return [tuple(v) for v in e.get('vertices', [])[:50]]
    if kind in ('SOLID', '3DFACE'):
        return [tuple(c) for c in e.get('corners', [])]
    if kind == 'LINE':
        return [tuple(e['start']), tuple(e['end'])]
    if kind == 'CIRCLE':
        return [tuple(e['center'])]
    if kind in ('POINT', 'TEXT', 'INSERT'):
        return [tuple(e['at'])]
    return []


def geometry_of_dxf(dxf):
    """Model space entities of a DXF as (type, points) keys, all of them and those LibreDWG's
    reading of a release 12 DWG can give back: its probe of a POLYLINE's kind reads the
    optional fields in another order than the format's when extended data comes with a colour
    or an elevation, so such polylines may be lost or read as another kind."""
    every, readable = collections.Counter(), collections.Counter()
    for e in ezdxf.readfile(dxf).modelspace():
        key = (e.dxftype(), rounded(e.dxftype(), dxf_points(e)))
        every[key] += 1
        probed_wrong = (e.dxftype() == 'POLYLINE' and e.xdata is not None and
                        (e.dxf.get('color', 256) != 256 or e.dxf.elevation[2] != 0.0))
        if not probed_wrong:
            readable[key] += 1
    return every, readable


def geometry_of_report(reader):
    return collections.Counter((e['type'], rounded(e['type'], report_points(e)))
                               for e in reader.get('entities', []))


def check_r12(checker, dxf, dwg):
    """A release 12 DWG: LibreDWG must read it and give the DXF's geometry; its layers,
    blocks, attributes and extended data come from our own reader of the layout."""
    problems = []
    status, report = cadcheck(checker, dwg, 'libredwg-web', -1)
    if status == 3:
        return dwg, None
    if status != 0:
        problems += report.get('problems') or ['checker exit status %d' % status]
    reader = report.get('readers', {}).get('libredwg-web', {})
    (every, readable), got = geometry_of_dxf(dxf), geometry_of_report(reader)
    # Every entity read is the DXF's, and every one LibreDWG can read is there.
    extra, missing = got - every, readable - got
    # A polyline whose kind the probe took wrong comes back with no vertices.
    if extra[('POLYLINE', ())] <= sum((every - readable).values()):
        del extra[('POLYLINE', ())]
    if extra or missing:
        problems.append('geometry: %d entities not in the DXF (%s), %d missing (%s)' %
                        (sum(extra.values()), str(list(extra)[:1])[:200],
                         sum(missing.values()), str(list(missing)[:1])[:200]))
    own = subprocess.run(['/usr/bin/python3', os.path.join(HERE, 'dwg12_read.py'), '--compare',
                          dxf, dwg], capture_output=True, text=True)
    lines = own.stdout.splitlines()
    if not lines or not lines[0].endswith(' same'):
        problems.append('own reader: ' + ' | '.join(lines[:4] or [own.stderr[-300:]]))
    return dwg, problems


def check_pair(checker, dxf, dwg):
    with open(dwg, 'rb') as f:
        if f.read(6) == b'AC1009':
            return check_r12(checker, dxf, dwg)
    problems = []
    status, report = cadcheck(checker, dwg)
    if status == 3:
        return dwg, None
    if status != 0:
        problems += report.get('problems') or ['checker exit status %d' % status]
    reader = report.get('readers', {}).get('libredwg-web', {})
    read_layers = sorted((l['name'].upper(), l['color']) for l in reader.get('layers', []))
    if status == 0 and read_layers != layers_of(dxf):
        problems.append('layers %s, the DXF has %s' % (read_layers, layers_of(dxf)))
    exported = dwg + '.export.dxf'
    wasmread = os.path.join(os.path.dirname(checker), 'wasmread.mjs')
    subprocess.run(['node', wasmread, '--modules', node_modules(), '--reader', 'libredwg-web',
                    '--max-entities', '0', '--dxf-out', exported, dwg],
                   capture_output=True, check=False)
    if not os.path.exists(exported):
        problems.append('LibreDWG wrote no DXF export')
    else:
        compare = subprocess.run(['/usr/bin/python3', os.path.join(HERE, 'drawing_compare.py'),
                                  '--tables', dxf, exported], capture_output=True, text=True)
        lines = compare.stdout.splitlines()
        if not lines or not lines[0].endswith(' same'):
            problems.append('content: ' + ' | '.join(lines[1:4] or [compare.stderr[-300:]]))
    return dwg, problems


def main(args):
    if args[0] == '--rejects':
        for dwg in args[2:]:
            status, _ = cadcheck(args[1], dwg, 'libredwg-web')
            print(dwg, {1: 'rejected', 3: 'unchecked'}.get(status, 'accepted'))
        return
    checker, files = args[0], args[1:]
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        jobs = [pool.submit(check_pair, checker, a, b) for a, b in zip(files[0::2], files[1::2])]
        for job in jobs:
            dwg, problems = job.result()
            if problems is None:
                print(dwg, 'unchecked')
            else:
                print(dwg, 'ok' if not problems else 'problem: ' + '; '.join(problems)[:800])


main(sys.argv[1:])
