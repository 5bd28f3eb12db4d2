#!/usr/bin/python3
"""3DFACE and outline counts of converted MultiPatch and PolygonZ drawings against their input.

Usage: face_counts.py SHP DXF [SHP DXF ...]
Prints one line per pair: "DXF unmatched_faces faces expected_outlines outlines
largest_difference largest_area_difference unfilled_rings audit_errors".
The MultiPatch file is parsed here from its bytes. The drawing's faces are walked in part
order: a triangle strip or fan of n points must give n - 2 faces whose corners are the
triangles' points in order (compared relative to each coordinate once it is above 1); an outer,
inner, first or plain ring (and every ring of a PolygonZ) takes the following faces whose
corners are all its own vertices until they have its area, and their vector areas must add up
to the ring's. Faces left over
or taken by no part are unmatched. Every strip or fan triangle and every ring also gives one outline."""
import math
import struct
import sys

import ezdxf
from shp_records import record_contents

AREA_TOLERANCE = 1e-5


def parts_of(path):
    """Each part as ('faces', triangles) or ('ring', points), and the outline count."""
    parts = []
    outlines = 0
    for content in record_contents(path):
        shape_type = struct.unpack('<i', content[:4])[0] if len(content) >= 44 else 0
        if shape_type not in (15, 31):
            continue
        nparts, points = struct.unpack('<2i', content[36:44])
        if nparts <= 0 or points <= 0:
            continue
        starts = list(struct.unpack('<%di' % nparts, content[44:44 + 4 * nparts])) + [points]
        if shape_type == 31:
            types = struct.unpack('<%di' % nparts, content[44 + 4 * nparts:44 + 8 * nparts])
            xy = 44 + 8 * nparts
        else:  # every part of a PolygonZ is a ring
            types = [5] * nparts
            xy = 44 + 4 * nparts
        z = xy + 16 * points + 16
        def point(k):
            x, y = struct.unpack('<2d', content[xy + 16 * k:xy + 16 * k + 16])
            return (x, y, struct.unpack('<d', content[z + 8 * k:z + 8 * k + 8])[0])
        for i, kind in enumerate(types):
            first, n = starts[i], starts[i + 1] - starts[i]
            if kind in (0, 1):
                triangles = []
                for t in range(max(n - 2, 0)):
                    corner = first if kind == 1 else first + t
                    triangles.append((point(corner), point(first + t + 1), point(first + t + 2)))
                parts.append(('faces', triangles))
                outlines += len(triangles)
            elif 2 <= kind <= 5:
                parts.append(('ring', [point(first + k) for k in range(n)]))
                outlines += 1
    return parts, outlines


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def sub(a, b):
    return tuple(p - q for p, q in zip(a, b))


def norm(v):
    return math.sqrt(sum(c * c for c in v))


def vector_area(points):
    """Half the sum of the cross products round the points (Newell): the area of a plane ring
    times its normal. It adds up over faces that tile a ring, whatever plane they were cut in,
    since the faces' inner edges cancel."""
    n = [0.0, 0.0, 0.0]
    o = points[0]
    for p, q in zip(points, points[1:] + points[:1]):
        c = cross(sub(p, o), sub(q, o))
        n = [n[k] + c[k] / 2 for k in range(3)]
    return n


def relative(e, g):
    return abs(e - g) / max(1.0, abs(e))


def on_ring(corner, points):
    return any(all(relative(e, g) <= 1e-6 for e, g in zip(p, corner)) for p in points)


def main(args):
    for shp, dxf in zip(args[0::2], args[1::2]):
        doc = ezdxf.readfile(dxf)
        space = doc.modelspace()
        faces = [tuple(tuple(e.dxf.get(k)) for k in ('vtx0', 'vtx1', 'vtx2', 'vtx3'))
                 for e in space if e.dxftype() == '3DFACE']
        outlines = sum(1 for e in space if e.dxftype() in ('POLYLINE', 'LWPOLYLINE'))
        parts, want_outlines = parts_of(shp)
        i = 0
        unmatched = 0
        worst = 0.0
        worst_area = 0.0
        unfilled = 0
        for kind, data in parts:
            if kind == 'faces':
                for triangle in data:
                    if i >= len(faces):
                        unmatched += 1
                        continue
                    for want, got in zip(triangle, faces[i][:3]):
                        for e, g in zip(want, got):
                            if math.isfinite(e):
                                worst = max(worst, relative(e, g))
                    i += 1
                continue
            want = vector_area(data)
            got = [0.0, 0.0, 0.0]
            first = i
            # A ring repeated in the next part shares its vertices: the faces stop once they
            # have the ring's area.
            while (i < len(faces) and norm(got) < norm(want) * (1 - 1e-6) and
                   all(on_ring(c, data) for c in faces[i])):
                got = [g + f for g, f in zip(got, vector_area(list(faces[i])))]
                i += 1
            size = norm(want)
            if i == first and size > 0.0:
                unfilled += 1
            elif size > 0.0:
                # The faces run the ring's way or, where it was reversed, the other way.
                error = min(norm(sub(got, want)), norm([g + w for g, w in zip(got, want)]))
                worst_area = max(worst_area, error / size)
        unmatched += len(faces) - i
        print(dxf, unmatched, len(faces), want_outlines, outlines, '%.3g' % worst,
              '%.3g' % worst_area, unfilled, len(doc.audit().errors))


if __name__ == '__main__':
    main(sys.argv[1:])
