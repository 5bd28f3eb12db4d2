#!/usr/bin/python3
"""3DFACE and outline counts of converted MultiPatch drawings against their input.

Usage: face_counts.py SHP DXF [SHP DXF ...]
Prints one line per pair: "DXF expected_faces faces expected_outlines outlines audit_errors".
The MultiPatch file is parsed here from its bytes: a triangle strip or fan of n points gives
n - 2 faces (and, with outlines drawn, n - 2 triangle outlines); an outer, inner, first or plain
ring gives one outline. The drawing, converted with outlines and faces, is read by ezdxf."""
import struct
import sys

import ezdxf


def expected(path):
    with open(path, 'rb') as f:
        data = f.read()
    faces = outlines = 0
    pos = 100
    while pos + 8 <= len(data):
        length = struct.unpack('>i', data[pos + 4:pos + 8])[0] * 2
        content = data[pos + 8:pos + 8 + length]
        pos += 8 + length
        if len(content) < 44 or struct.unpack('<i', content[:4])[0] != 31:
            continue
        parts, points = struct.unpack('<2i', content[36:44])
        if parts <= 0 or points <= 0:
            continue
        starts = list(struct.unpack('<%di' % parts, content[44:44 + 4 * parts])) + [points]
        types = struct.unpack('<%di' % parts, content[44 + 4 * parts:44 + 8 * parts])
        for i, kind in enumerate(types):
            n = starts[i + 1] - starts[i]
            if kind in (0, 1):
                faces += max(n - 2, 0)
                outlines += max(n - 2, 0)
            elif 2 <= kind <= 5:
                outlines += 1
    return faces, outlines


def main(args):
    for shp, dxf in zip(args[0::2], args[1::2]):
        doc = ezdxf.readfile(dxf)
        space = doc.modelspace()
        faces = sum(1 for e in space if e.dxftype() == '3DFACE')
        outlines = sum(1 for e in space if e.dxftype() in ('POLYLINE', 'LWPOLYLINE'))
        want_faces, want_outlines = expected(shp)
        print(dxf, want_faces, faces, want_outlines, outlines, len(doc.audit().errors))


if __name__ == '__main__':
    main(sys.argv[1:])
