#!/usr/bin/python3
"""Points of a converted X/Y table against the table itself, read independently.

Usage: table_point_check.py TABLE DXF XNAME YNAME [DELIMITER [NOHEADER]]
TABLE is a dBase table (".dbf", parsed here from its bytes) or a delimited text table read with
Python's csv module (DELIMITER "comma", "semicolon" or "tab"; NOHEADER "noheader" names the
columns FIELD1, FIELD2, ...). A row is a point when both named fields hold finite numbers.
The drawing is read by ezdxf: its POINT entities, in order, against those rows.
Prints one line: "points drawn without difference audit_errors EXT BOX text" where `without`
counts the rows left out, `difference` is the largest difference relative to the coordinate's
size once above 1, EXT is the drawing's $EXTMIN and $EXTMAX (x y x y), BOX the same of the rows'
points, and `text` that box as "x, y to x, y" in plain decimals (at most six,
trailing zeros dropped)."""
import csv
import math
import struct
import sys

import ezdxf


def plain(v):
    """A number as people read it: fixed with six decimals, trailing zeros cut."""
    text = '%.6f' % v
    text = text.rstrip('0').rstrip('.')
    return '0' if text == '-0' else text


def dbf_rows(path):
    data = open(path, 'rb').read()
    count = struct.unpack('<i', data[4:8])[0]
    header, length = struct.unpack('<HH', data[8:12])
    fields = []
    offset = 32
    while data[offset] not in (0x0D, 0x0A):
        name = data[offset:offset + 11].split(b'\0')[0].decode('latin-1')
        fields.append((name, data[offset + 16]))
        offset += 32
    names = [name for name, _ in fields]
    rows = []
    for r in range(count):
        start = header + r * length
        record = data[start:start + length]
        if len(record) < length:
            break
        pos = 1
        row = []
        for _, width in fields:
            row.append(record[pos:pos + width].split(b'\0')[0].decode('latin-1'))
            pos += width
        rows.append(row)
    return names, rows


def text_rows(path, delimiter, header):
    with open(path, newline='', encoding='latin-1') as f:
        lines = list(csv.reader(f, delimiter=delimiter))
    # The table ends at its first empty line.
    for i, line in enumerate(lines):
        if not line:
            lines = lines[:i]
            break
    if header:
        return lines[0], lines[1:]
    width = len(lines[0]) if lines else 0
    return ['FIELD%d' % (i + 1) for i in range(width)], lines


def number(text):
    try:
        value = float(text.strip())
    except ValueError:
        return None
    return value if math.isfinite(value) else None


def table_points(args):
    path, _, xname, yname = args[:4]
    if path.lower().endswith('.dbf'):
        names, rows = dbf_rows(path)
    else:
        delimiter = {'comma': ',', 'semicolon': ';', 'tab': '\t'}[args[4]]
        names, rows = text_rows(path, delimiter, len(args) < 6 or args[5] != 'noheader')
    xi = names.index(xname)
    yi = names.index(yname)
    points = []
    without = 0
    for row in rows:
        x = number(row[xi]) if xi < len(row) else None
        y = number(row[yi]) if yi < len(row) else None
        if x is None or y is None:
            without += 1
        else:
            points.append((x, y))
    return points, without


def main(args):
    expected, without = table_points(args)
    doc = ezdxf.readfile(args[1])
    got = [(e.dxf.location.x, e.dxf.location.y) for e in doc.modelspace().query('POINT')]
    worst = 0.0 if len(got) == len(expected) else 1e300
    for (ex, ey), (gx, gy) in zip(expected, got):
        for e, g in ((ex, gx), (ey, gy)):
            worst = max(worst, abs(e - g) / max(1.0, abs(e)))
    extmin = doc.header.get('$EXTMIN', (math.nan, math.nan))
    extmax = doc.header.get('$EXTMAX', (math.nan, math.nan))
    xs = [p[0] for p in expected] or [math.nan]
    ys = [p[1] for p in expected] or [math.nan]
    box = '%s, %s to %s, %s' % tuple(plain(v) for v in (min(xs), min(ys), max(xs), max(ys)))
    print(len(expected), len(got), without, '%.3g' % worst, len(doc.audit().errors),
          '%.17g %.17g %.17g %.17g' % (extmin[0], extmin[1], extmax[0], extmax[1]),
          '%.17g %.17g %.17g %.17g' % (min(xs), min(ys), max(xs), max(ys)), box)


if __name__ == '__main__':
    main(sys.argv[1:])
