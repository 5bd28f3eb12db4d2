#!/usr/bin/python3
"""Polyline and vertex counts of converted drawings against their input, read independently.

Usage: polyline_counts.py [--polygons] SHP DXF [SHP DXF ...]
Prints one line per pair: "DXF shp_lines shp_vertices ogr_lines ogr_vertices audit_errors".
The shapefile is parsed here from its bytes: a record whose part count is not below its point
count is skipped by the converter (with --polygons only a record without parts or points), and
so is one whose part starts are out of order; every other part is one polyline; a record too
short for its points ends the walk, as it ends the conversion. With --polygons every ring is a
closed polyline, whose vertex count GDAL gives with the first point repeated at the end. The drawing is read by
GDAL's ogrinfo (features and the points of their geometries) and audited by ezdxf."""
import re
import struct
import subprocess
import sys

import ezdxf


def shapefile_counts(path, polygons=False, release=12):
    lines = vertices = 0
    with open(path, 'rb') as f:
        data = f.read()
    pos = 100
    while pos + 8 <= len(data):
        length = struct.unpack('>i', data[pos + 4:pos + 8])[0] * 2
        content = data[pos + 8:pos + 8 + length]
        pos += 8 + length
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
            n = starts[i + 1] - starts[i]
            lines += 1
            if not polygons:
                vertices += n
                continue
            ring = [tuple(round(v, 6) for v in struct.unpack('<2d', content[base + 16 * k:
                                                                            base + 16 * k + 16]))
                    for k in range(starts[i], starts[i + 1])]
            # A ring is drawn closed: whole in release 12, without its last point in release
            # 14; GDAL adds the first point at the end unless the last drawn one repeats it.
            drawn = ring if release == 12 else ring[:-1]
            if len(drawn) < 2:
                lines -= 1  # GDAL reads no feature from a polyline of one vertex
                continue
            vertices += len(drawn) + (1 if drawn[-1] != drawn[0] else 0)
    return lines, vertices


def release_of(dxf):
    with open(dxf, 'rb') as f:
        head = f.read(200)
    return 14 if b'AC1014' in head else 12


GEOMETRY = re.compile(r'^\s*(MULTI)?LINESTRING[^(]*\((.*)\)\s*$', re.MULTILINE)


def ogr_counts(path):
    out = subprocess.run(['ogrinfo', '-ro', '-al', '-q', path], capture_output=True,
                         text=True, check=False).stdout
    lines = vertices = 0
    for match in GEOMETRY.finditer(out):
        if match.group(1):
            members = re.findall(r'\(([^()]*)\)', match.group(2))
        else:
            members = [match.group(2)]
        for member in members:
            lines += 1
            vertices += member.count(',') + 1
    return lines, vertices


def main(args):
    polygons = bool(args) and args[0] == '--polygons'
    if polygons:
        args = args[1:]
    for shp, dxf in zip(args[0::2], args[1::2]):
        audit = ezdxf.readfile(dxf).audit()
        print(dxf, *shapefile_counts(shp, polygons, release_of(dxf)), *ogr_counts(dxf),
              len(audit.errors))


if __name__ == '__main__':
    main(sys.argv[1:])
