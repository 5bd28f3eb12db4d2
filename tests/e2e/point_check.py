#!/usr/bin/python3
"""Points of converted drawings against their input, read independently.

Usage: point_check.py SHP DXF [SHP DXF ...]
Prints one line per pair: "DXF shp_points ogr_points largest_difference audit_errors".
The shapefile is parsed here from its bytes (Point, PointZ, PointM: one point per record;
MultiPoint: each of its points; null records none; a record too short for its points ends the
walk, as it ends the conversion). The drawing is read by GDAL's ogrinfo, whose POINT features
are compared with the input's points in order, and audited by ezdxf."""
import math
import re
import struct
import subprocess
import sys

import ezdxf
from shp_records import record_contents


def shapefile_points(path):
    points = []
    for content in record_contents(path):
        if len(content) < 4:
            break
        kind = struct.unpack('<i', content[:4])[0]
        if kind == 0:
            continue
        if kind in (1, 11, 21):
            if len(content) < 20:
                break
            points.append(struct.unpack('<2d', content[4:20]))
        elif kind == 8:
            if len(content) < 40:
                break
            count = struct.unpack('<i', content[36:40])[0]
            if count < 0 or len(content) < 40 + 16 * count:
                break
            for i in range(count):
                points.append(struct.unpack('<2d', content[40 + 16 * i:56 + 16 * i]))
    return points


POINT = re.compile(r'^\s*POINT(?: Z)? \(([^ )]+) ([^ )]+)', re.MULTILINE)


def drawing_points(path):
    out = subprocess.run(['ogrinfo', '-ro', '-al', '-q', path], capture_output=True, text=True,
                         check=False).stdout
    return [(float(x), float(y)) for x, y in POINT.findall(out)]


def largest_difference(expected, got):
    worst = 0.0
    for (ex, ey), (gx, gy) in zip(expected, got):
        for e, g in ((ex, gx), (ey, gy)):
            if math.isfinite(e):
                worst = max(worst, abs(e - g) / max(1.0, abs(e)))
    return worst


def main(args):
    for shp, dxf in zip(args[0::2], args[1::2]):
        expected = shapefile_points(shp)
        got = drawing_points(dxf)
        audit = ezdxf.readfile(dxf).audit()
        print(dxf, len(expected), len(got), '%.3g' % largest_difference(expected, got),
              len(audit.errors))


if __name__ == '__main__':
    main(sys.argv[1:])
