#!/usr/bin/python3
"""Checks a drawing made with a layer key and a colour key on the same field against the input,
read here without the converter's code.

Usage: class_check.py SHP FIELD DXF COLORS_INI [numeric]
The class layers are the LAYER table's records after "0" (and after LEGEND, when present), in
class order. Each record of the input is put in its class: for a text field the layer named
after its value by the release 12 layer-name rule, for a numeric field the first class whose
upper bound (read from the "lo-hi" layer name) is not below the value. Prints:
  layers N          number of class layers
  entities same     every class layer holds as many entities as its records have rings
  colours same      every entity has its layer's colour, and class i has colour i of scheme 0
  audit N           ezdxf audit errors"""
import collections
import configparser
import re
import struct
import sys

import ezdxf
from layer_counts import field_values, parts_per_record


def layer_name(text):
    """The release 12 layer-name rule."""
    out = ''
    text = text.upper()
    for i, c in enumerate(text):
        nxt = text[i + 1] if i + 1 < len(text) else ''
        if c == '.':
            if nxt != '-' and not out.endswith('_'):
                out += '_'
        elif c == '_':
            if nxt != '-' and not out.endswith('_'):
                out += '_'
        elif c == '$' or c == '-' or c.isalnum():
            out += c
        elif not out.endswith('_') and not out.endswith('-') and nxt != '-':
            out += '_'
    out = out.rstrip('_')[:31].rstrip('_')
    return out or 'UNNAMED'


def scheme0(colors_ini):
    p = configparser.ConfigParser()
    p.read(colors_ini)
    name = p['ColorSchemes']['0']
    colours, line = [], 0
    while str(line) in p[name]:
        numbers = [int(x) for x in p[name][str(line)].split(',') if x.strip()]
        colours += numbers
        if len(numbers) < 20:
            break
        line += 1
    return colours, p[name].get('Grad', '0') == '1'


def class_colour(colours, graded, n, i):
    s = len(colours)
    if not graded or n == s:
        return colours[i % min(n, s)]
    if s < n:
        return colours[int((i + 0.5) * s / n)]
    if i == 0:
        return colours[0]
    if i == n - 1:
        return colours[-1]
    if n == 3:
        return colours[int(s * 0.5 + 0.5) - 1]
    return colours[int(((i + 0.5) * s + 1) / n)]


def main(shp, field, dxf, colors_ini, numeric=''):
    doc = ezdxf.readfile(dxf)
    table = [(l.dxf.name, l.dxf.color) for l in doc.layers
             if l.dxf.name not in ('0', 'LEGEND', 'Defpoints')]
    names = [n for n, _ in table]
    colour_of = dict(table)
    expected = collections.Counter()
    for value, parts in zip(field_values(shp[:-4] + '.dbf', field), parts_per_record(shp)):
        if numeric:
            v = float(value or 0)
            bounds = [float(re.fullmatch(r'(-?[0-9_]+)(?:-(-?[0-9_]+))?', n).group(2) or
                            re.fullmatch(r'(-?[0-9_]+)(?:-(-?[0-9_]+))?', n).group(1))
                      for n in names]
            layer = next((n for n, hi in zip(names, bounds) if hi >= v), None)
        else:
            layer = layer_name(value or 'UNNAMED')
        expected[layer] += parts
    entities = [e for e in doc.modelspace() if e.dxf.layer != 'LEGEND']
    got = collections.Counter(e.dxf.layer for e in entities)
    colours, graded = scheme0(colors_ini)
    good_colours = all(e.dxf.color == colour_of.get(e.dxf.layer) for e in entities) and all(
        c == class_colour(colours, graded, len(names), i) for i, (_, c) in enumerate(table))
    print('layers %d' % len(names))
    print('entities ' + ('same' if expected == got else 'expected %s got %s' % (dict(expected), dict(got))))
    print('colours ' + ('same' if good_colours else 'differ %s' % table))
    print('audit %d' % len(doc.audit().errors))


if __name__ == '__main__':
    main(*sys.argv[1:])
