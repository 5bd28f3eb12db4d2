#!/usr/bin/python3
"""Polyline and vertex counts of converted drawings against their input, read independently.

Usage: polyline_counts.py SHP DXF [SHP DXF ...]
Prints one line per pair: "DXF shp_lines shp_vertices ogr_lines ogr_vertices audit_errors".
The shapefile is parsed here from its bytes: a record whose part count is not below its point
count is skipped by the converter, every other part is one polyline; a record too short for
its points ends the walk, as it ends the conversion. The drawing is read by
GDAL's ogrinfo (features and the points of their geometries) and audited by ezdxf."""
import re
import struct
import subprocess
import sys

import ezdxf


def shapefile_counts(path):
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
        if parts >= points or parts <= 0:
            continue
        starts = list(struct.unpack('<%di' % parts, content[44:44 + 4 * parts])) + [points]
        lines += parts
        vertices += sum(starts[i + 1] - starts[i] for i in range(parts))
    return lines, vertices


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
    for shp, dxf in zip(args[0::2], args[1::2]):
        audit = ezdxf.readfile(dxf).audit()
        print(dxf, *shapefile_counts(shp), *ogr_counts(dxf), len(audit.errors))


if __name__ == '__main__':
    main(sys.argv[1:])
