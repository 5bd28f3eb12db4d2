#!/usr/bin/python3
"""Polyline and vertex counts of converted drawings against their input, read independently.

Usage: polyline_counts.py [--polygons] SHP DXF [SHP DXF ...]
Prints one line per pair:
"DXF shp_lines shp_vertices ogr_lines ogr_vertices largest_difference audit_errors",
the difference between the input's and GDAL's coordinates, polyline by polyline in order,
relative to the coordinate once it is above 1.
The shapefile is parsed here from its bytes: a record whose part count is not below its point
count is skipped by the converter (with --polygons only a record without parts or points), and
so is one whose part starts are out of order; every other part is one polyline; a record too
short for its points ends the walk, as it ends the conversion. With --polygons every ring is a
closed polyline, which GDAL gives with the first point repeated at the end. The drawing is read
by GDAL's ogrinfo (features and the points of their geometries) and audited by ezdxf."""
import math
import re
import struct
import subprocess
import sys

import ezdxf
from shp_records import record_contents


def shapefile_lines(path, polygons=False, release=12):
    """The coordinate lists GDAL should read back, one per drawn polyline."""
    lines = []
    for content in record_contents(path):
        if len(content) < 44 or struct.unpack('<i', content[:4])[0] == 0:
            continue
        parts, points = struct.unpack('<2i', content[36:44])
        if parts >= 0 and points >= 0 and len(content) < 44 + 4 * parts + 16 * points:
            break  # a record too short for its points ends the conversion's walk
        if parts <= 0 or points <= 0 or (not polygons and parts >= points):
            continue
        starts = list(struct.unpack('<%di' % parts, content[44:44 + 4 * parts])) + [points]
        if any(starts[i] >= starts[i + 1] for i in range(parts)) or starts[0] < 0:
            continue  # part starts out of order: the converter refuses the record
        base = 44 + 4 * parts
        for i in range(parts):
            part = [struct.unpack('<2d', content[base + 16 * k:base + 16 * k + 16])
                    for k in range(starts[i], starts[i + 1])]
            if not polygons:
                lines.append(part)
                continue
            # A ring is drawn closed: whole in release 12, without its last point in release
            # 14; GDAL adds the first point at the end unless the last drawn one repeats it
            # (as written, with six decimals).
            drawn = part if release == 12 else part[:-1]
            if len(drawn) < 2:
                continue  # GDAL reads no feature from a polyline of one vertex
            rounded = [tuple(round(v, 6) for v in p) for p in (drawn[0], drawn[-1])]
            lines.append(drawn + ([drawn[0]] if rounded[0] != rounded[1] else []))
    return lines


def release_of(dxf):
    with open(dxf, 'rb') as f:
        head = f.read(200)
    return 14 if b'AC1014' in head else 12


GEOMETRY = re.compile(r'^\s*(MULTI)?LINESTRING[^(]*\((.*)\)\s*$', re.MULTILINE)


def ogr_lines(path):
    out = subprocess.run(['ogrinfo', '-ro', '-al', '-q', path], capture_output=True,
                         text=True, check=False).stdout
    lines = []
    for match in GEOMETRY.finditer(out):
        if match.group(1):
            members = re.findall(r'\(([^()]*)\)', match.group(2))
        else:
            members = [match.group(2)]
        for member in members:
            lines.append([tuple(float(v) for v in p.split()[:2]) for p in member.split(',')])
    return lines


def largest_difference(expected, got):
    worst = 0.0
    for want_line, got_line in zip(expected, got):
        for (ex, ey), (gx, gy) in zip(want_line, got_line):
            for e, g in ((ex, gx), (ey, gy)):
                if math.isfinite(e):
                    worst = max(worst, abs(e - g) / max(1.0, abs(e)))
    return worst


def main(args):
    polygons = bool(args) and args[0] == '--polygons'
    if polygons:
        args = args[1:]
    for shp, dxf in zip(args[0::2], args[1::2]):
        expected = shapefile_lines(shp, polygons, release_of(dxf))
        got = ogr_lines(dxf)
        audit = ezdxf.readfile(dxf).audit()
        print(dxf, len(expected), sum(map(len, expected)), len(got), sum(map(len, got)),
              '%.3g' % largest_difference(expected, got), len(audit.errors))


if __name__ == '__main__':
    main(sys.argv[1:])
