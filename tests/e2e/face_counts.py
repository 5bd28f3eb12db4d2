#!/usr/bin/python3
"""3DFACE and outline counts of converted MultiPatch drawings against their input.

Usage: face_counts.py SHP DXF [SHP DXF ...]
Prints one line per pair:
"DXF expected_faces faces expected_outlines outlines largest_difference audit_errors".
The MultiPatch file is parsed here from its bytes: a triangle strip or fan of n points gives
n - 2 faces (and, with outlines drawn, n - 2 triangle outlines); an outer, inner, first or plain
ring gives one outline. The drawing, converted with outlines and faces, is counted and audited
by ezdxf; GDAL's ogrinfo reads the faces (as polygons) whose corners are compared with the
triangles' points in order, relative to each coordinate once it is above 1."""
import math
import re
import struct
import subprocess
import sys

import ezdxf
from shp_records import record_contents


def expected(path):
    triangles = []
    outlines = 0
    for content in record_contents(path):
        if len(content) < 44 or struct.unpack('<i', content[:4])[0] != 31:
            continue
        parts, points = struct.unpack('<2i', content[36:44])
        if parts <= 0 or points <= 0:
            continue
        starts = list(struct.unpack('<%di' % parts, content[44:44 + 4 * parts])) + [points]
        types = struct.unpack('<%di' % parts, content[44 + 4 * parts:44 + 8 * parts])
        xy = 44 + 8 * parts
        z = xy + 16 * points + 16
        def point(k):
            x, y = struct.unpack('<2d', content[xy + 16 * k:xy + 16 * k + 16])
            return (x, y, struct.unpack('<d', content[z + 8 * k:z + 8 * k + 8])[0])
        for i, kind in enumerate(types):
            first, n = starts[i], starts[i + 1] - starts[i]
            if kind in (0, 1):
                for t in range(max(n - 2, 0)):
                    corner = first if kind == 1 else first + t
                    triangles.append((point(corner), point(first + t + 1), point(first + t + 2)))
                    outlines += 1
            elif 2 <= kind <= 5:
                outlines += 1
    return triangles, outlines


FACE = re.compile(r'^\s*POLYGON Z \(\(([^)]*)\)\)', re.MULTILINE)


def drawing_faces(path):
    out = subprocess.run(['ogrinfo', '-ro', '-al', '-q', path], capture_output=True, text=True,
                         check=False).stdout
    return [[tuple(float(v) for v in p.split()) for p in m.split(',')]
            for m in FACE.findall(out)]


def largest_difference(triangles, faces):
    worst = 0.0
    for triangle, face in zip(triangles, faces):
        for want, got in zip(triangle, face[:3]):
            for e, g in zip(want, got):
                if math.isfinite(e):
                    worst = max(worst, abs(e - g) / max(1.0, abs(e)))
    return worst


def main(args):
    for shp, dxf in zip(args[0::2], args[1::2]):
        doc = ezdxf.readfile(dxf)
        space = doc.modelspace()
        faces = sum(1 for e in space if e.dxftype() == '3DFACE')
        outlines = sum(1 for e in space if e.dxftype() in ('POLYLINE', 'LWPOLYLINE'))
        triangles, want_outlines = expected(shp)
        difference = largest_difference(triangles, drawing_faces(dxf))
        print(dxf, len(triangles), faces, want_outlines, outlines, '%.3g' % difference,
              len(doc.audit().errors))


if __name__ == '__main__':
    main(sys.argv[1:])
