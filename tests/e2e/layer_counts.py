#!/usr/bin/python3
"""Entities per layer of a drawing against the records per value of a key field, read here.

Usage: layer_counts.py SHP FIELD DXF
Prints "same" when every value of the key field (a text field whose values are valid layer
names as they stand) has exactly as many entities on its layer as its records have parts, and
the differences otherwise."""
import collections
import struct
import sys

import ezdxf
from shp_records import record_contents


def parts_per_record(shp):
    parts = []
    for content in record_contents(shp):
        parts.append(struct.unpack('<i', content[36:40])[0] if len(content) >= 44 else 0)
    return parts


def field_values(dbf, name):
    with open(dbf, 'rb') as f:
        data = f.read()
    records, header, length = struct.unpack('<IHH', data[4:12])
    fields, at, offset = [], 32, 1
    while data[at] != 0x0D:
        fname = data[at:at + 11].split(b'\0')[0].decode()
        width = data[at + 16]
        fields.append((fname, offset, width))
        offset += width
        at += 32
    _, start, width = next(f for f in fields if f[0] == name)
    return [data[header + r * length + start:header + r * length + start + width]
            .decode('latin-1').strip() for r in range(records)]


def main(shp, field, dxf):
    expected = collections.Counter()
    for value, parts in zip(field_values(shp[:-4] + '.dbf', field), parts_per_record(shp)):
        expected[value.upper()] += parts
    got = collections.Counter(e.dxf.layer for e in ezdxf.readfile(dxf).modelspace())
    print('same' if expected == got else 'expected %s got %s' % (dict(expected), dict(got)))


if __name__ == '__main__':
    main(*sys.argv[1:4])
