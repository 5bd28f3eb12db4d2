#!/usr/bin/python3
"""DWG drawings read back by readers written by others, against the DXF of the same conversion.

Usage: dwg_check.py CADCHECK DXF DWG [DXF DWG ...]
  one line per pair: "DWG ok", "DWG unchecked" when the checker's readers cannot run (not
  installed), or "DWG problem: ..." for each problem. A DWG is ok when the
  checker accepts it (every deciding reader read it, with no CRC, handle, type or size error),
  the layers and colours LibreDWG reads equal the DXF's, and LibreDWG's own DXF export of it
  holds what the DXF holds (drawing_compare.py --tables: tables, entities by type and layer,
  blocks, attributes, texts, hatches, extended data, coordinates to 1e-9 relative).
       dwg_check.py --rejects CADCHECK DWG [DWG ...]
  one line per file: "DWG rejected" when a deciding reader refuses it, "DWG unchecked" when
  none can run, else "DWG accepted"."""
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


def cadcheck(checker, dwg, readers='libredwg-web,libdxfrw-web'):
    """The checker's verdict with the WebAssembly readers: LibreDWG decides, libdxfrw advises
    (GDAL and LibreDWG's export are run apart: the export below, GDAL by hand)."""
    out = subprocess.run([checker, '--compact', '-n', '0', '-r', readers, dwg],
                         capture_output=True, text=True)
    try:
        return out.returncode, json.loads(out.stdout)
    except json.JSONDecodeError:
        return out.returncode, {'problems': [out.stderr.strip()[:300]]}


def layers_of(dxf):
    """The layers of a DXF, less DEFPOINTS, which ezdxf adds when it loads a drawing."""
    return sorted((r.dxf.name.upper(), r.dxf.color) for r in ezdxf.readfile(dxf).layers
                  if r.dxf.name.upper() != 'DEFPOINTS')


def check_pair(checker, dxf, dwg):
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
