#!/usr/bin/python3
"""The numbers of a drawing, for exact comparison: entity_points.py DXF
Prints "bad N" (real groups, codes 10-59, 110-149, 210-239 and 1010-1059, whose value is no
finite number, plus each "nan" or "inf" that is not part of a word), "audit N" (ezdxf's audit
errors), "extents XMIN YMIN XMAX YMAX", then "X Y Z" per POINT, INSERT and polyline vertex in model
space order (a light-weight polyline's Z is its elevation), all with 17 significant digits."""
import math
import re
import sys

import ezdxf

REAL = [range(10, 60), range(110, 150), range(210, 240), range(1010, 1060)]


def bad_numbers(text):
    lines = text.split('\r\n')
    bad = len(re.findall(r'(?<![a-z])(nan|inf)(?![a-z])', text.lower()))
    for code, value in zip(lines[0::2], lines[1::2]):
        if any(int(code) in r for r in REAL):
            try:
                bad += not math.isfinite(float(value))
            except ValueError:
                bad += 1
    return bad


def points(e):
    if e.dxftype() in ('POINT', 'INSERT'):
        return [e.dxf.location if e.dxftype() == 'POINT' else e.dxf.insert]
    if e.dxftype() == 'LWPOLYLINE':
        return [(x, y, e.dxf.elevation) for x, y in e.get_points('xy')]
    return [v.dxf.location for v in e.vertices] if e.dxftype() == 'POLYLINE' else []


doc = ezdxf.readfile(sys.argv[1])
print('bad', bad_numbers(open(sys.argv[1], newline='').read()))
print('audit', len(doc.audit().errors))
print('extents %.17g %.17g' % doc.header['$EXTMIN'][:2], '%.17g %.17g' % doc.header['$EXTMAX'][:2])
for p in (p for e in doc.modelspace() for p in points(e)):
    print('%.17g %.17g %.17g' % tuple(p))
