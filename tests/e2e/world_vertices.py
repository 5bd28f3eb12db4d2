"""Compares the world coordinates of every vertex in two DXF drawings.

Usage: world_vertices.py PLAIN.dxf BLOCKS.dxf

Block insertions are expanded (base point, insertion point, scale and rotation applied by
ezdxf), text and attributes are left out, and the sorted vertex lists of the two drawings are
compared. Prints "vertices N M worst D": the counts of both and the largest coordinate
difference, relative to the coordinate's size once above 1.
"""
import sys

import ezdxf

GEOMETRY = {"POINT", "LINE", "POLYLINE", "LWPOLYLINE", "3DFACE", "SOLID"}


def entity_vertices(e):
    kind = e.dxftype()
    if kind == "POINT":
        return [tuple(e.dxf.location)]
    if kind == "LINE":
        return [tuple(e.dxf.start), tuple(e.dxf.end)]
    if kind == "POLYLINE":
        return [tuple(v.dxf.location) for v in e.vertices]
    if kind == "LWPOLYLINE":
        z = e.dxf.elevation
        return [(x, y, z) for x, y in e.get_points("xy")]
    return [tuple(e.dxf.get(f"vtx{i}")) for i in range(4)]


def world(entities, out):
    for e in entities:
        kind = e.dxftype()
        if kind == "INSERT":
            world(e.virtual_entities(), out)
        elif kind in GEOMETRY:
            # These drawings use the world's coordinate system throughout (extrusion 0,0,1).
            out.extend(entity_vertices(e))


def vertices(path):
    out = []
    world(ezdxf.readfile(path).modelspace(), out)
    return sorted(tuple(float(c) for c in v) for v in out)


def main():
    a = vertices(sys.argv[1])
    b = vertices(sys.argv[2])
    worst = 0.0
    for p, q in zip(a, b):
        for u, v in zip(p, q):
            worst = max(worst, abs(u - v) / max(1.0, abs(u)))
    print(f"vertices {len(a)} {len(b)} worst {worst:.3g}")


main()
