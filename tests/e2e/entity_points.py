#!/usr/bin/python3
"""The points of a drawing as ezdxf reads them, for exact comparison.

Usage: entity_points.py DXF
Prints "audit N" (the audit's error count), "extents XMIN YMIN XMAX YMAX" ($EXTMIN, $EXTMAX),
then one line "X Y Z" per POINT location and polyline vertex in model space order (the Z of a
light-weight polyline is its elevation), every number with 17 significant digits."""
import sys

import ezdxf


def points(e):
    kind = e.dxftype()
    if kind == 'POINT':
        return [tuple(e.dxf.location)]
    if kind == 'LWPOLYLINE':
        return [(x, y, e.dxf.elevation) for x, y in e.get_points('xy')]
    if kind == 'POLYLINE':
        return [tuple(v.dxf.location) for v in e.vertices]
    return []


def main(path):
    doc = ezdxf.readfile(path)
    print('audit', len(doc.audit().errors))
    low, high = doc.header['$EXTMIN'], doc.header['$EXTMAX']
    print('extents %.17g %.17g %.17g %.17g' % (low[0], low[1], high[0], high[1]))
    for e in doc.modelspace():
        for p in points(e):
            print('%.17g %.17g %.17g' % tuple(p))


if __name__ == '__main__':
    main(sys.argv[1])
