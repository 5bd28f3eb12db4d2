#!/usr/bin/python3
"""Labels and feature attributes of a drawing against the input's table, read here.

Usage:
  annotation_check.py attribs SHP DXF LIST [visible]
      One INSERT per record, in record order, each followed by one ATTRIB per selected field
      (field order) with the field name as tag and the trimmed value as text, on the INSERT's
      layer, invisible unless "visible"; the block <BASE>_INFO holds one ATTDEF per selected
      field (tag, prompt "ENTER <name>", the field width, invisible).
  annotation_check.py info-point SHP DXF
      Whether the <BASE>_INFO block holds a POINT at the origin on layer "0".
  annotation_check.py xdata SHP DXF LIST
      Every shape entity (one per part, in record order) carries under TESSARYN the list
      "{", name, value, ..., "}" of the selected fields of its record.
  annotation_check.py labels SHP DXF LIST LAYER
      One TEXT per record and non-blank label field in list order, in record order, with the
      trimmed value as text; on layer LAYER ("@field": the label field's name in upper case,
      "@record": the layer of the record's own shape entities); each near its record's box.
  annotation_check.py overlap SHP DXF LIST
      Point input with one label field: the labels that stay when equal labels (ignoring case)
      whose rectangles overlap are dropped, worked out here; prints the number dropped.
LIST is comma-separated field numbers from 0, -1 for all fields.
Each line printed is "<what> same" (or a count) when the drawing agrees, the differences
otherwise, and the last line is "audit <errors found by ezdxf>".
"""
import struct
import sys

import ezdxf
from shp_records import record_contents


def read_table(dbf):
    """(fields, rows): fields as (name, width), rows as lists of trimmed values (Latin-1)."""
    with open(dbf, 'rb') as f:
        data = f.read()
    count, header, length = struct.unpack('<IHH', data[4:12])
    fields, at = [], 32
    while at < header and data[at] not in (0x0D, 0x0A):
        fields.append((data[at:at + 11].split(b'\0')[0].decode('latin-1'), data[at + 16]))
        at += 32
    rows = []
    for r in range(count):
        raw = data[header + r * length:header + (r + 1) * length]
        if len(raw) < length:
            break
        values, offset = [], 1
        for _, width in fields:
            values.append(raw[offset:offset + width].decode('latin-1').strip(' \0'))
            offset += width
        rows.append(values)
    return fields, rows


def selected(fields, field_list):
    """Indices of the listed fields; -1 gives all of them."""
    wanted = [int(x) for x in field_list.split(',')]
    return list(range(len(fields))) if -1 in wanted else wanted


class Shape:
    def __init__(self, content):
        self.type = struct.unpack('<i', content[:4])[0] if len(content) >= 4 else 0
        if self.type in (1, 11, 21):
            x, y = struct.unpack('<2d', content[4:20])
            self.box = (x, y, x, y)
            self.parts = 1
        elif self.type == 0:
            self.box, self.parts = None, 0
        else:
            self.box = struct.unpack('<4d', content[4:36])
            self.parts = struct.unpack('<i', content[36:40])[0] if self.type not in (8, 18, 28) \
                else 1


def inputs(shp, dxf):
    fields, rows = read_table(shp[:-4] + '.dbf')
    shapes = [Shape(c) for c in record_contents(shp)]
    doc = ezdxf.readfile(dxf)
    return fields, rows[:len(shapes)], shapes, doc


def shape_entities(doc):
    return [e for e in doc.modelspace()
            if e.dxftype() in ('POINT', 'POLYLINE', 'LWPOLYLINE', 'LINE', 'INSERT')]


def differences(name, expected, got):
    if expected == got:
        return '%s same' % name
    if len(expected) != len(got):
        return '%s: expected %d got %d' % (name, len(expected), len(got))
    bad = [i for i, (a, b) in enumerate(zip(expected, got)) if a != b]
    return '%s: %d differ, first #%d expected %r got %r' % (name, len(bad), bad[0],
                                                          expected[bad[0]], got[bad[0]])


def base_name(shp):
    return shp.replace('\\', '/').split('/')[-1][:-4].upper()[:249]


def check_attribs(shp, dxf, field_list, visible=''):
    fields, rows, shapes, doc = inputs(shp, dxf)
    keep = selected(fields, field_list)
    flags = 0 if visible == 'visible' else 1
    expected, got = [], []
    for row, shape in zip(rows, shapes):
        if shape.type != 0:
            expected.append([(fields[i][0], row[i]) for i in keep])
    layers_ok, flags_ok = True, True
    for insert in doc.modelspace().query('INSERT'):
        attribs = list(insert.attribs)
        got.append([(a.dxf.tag, a.dxf.text) for a in attribs])
        layers_ok &= all(a.dxf.layer == insert.dxf.layer for a in attribs)
        flags_ok &= all(a.dxf.flags == flags for a in attribs) and len(attribs) > 0
    print(differences('inserts', expected, got))
    print('layers %s flags %s' % ('same' if layers_ok else 'differ',
                                  'same' if flags_ok else 'differ'))
    block = doc.blocks.get(base_name(shp) + '_INFO')
    if block is None:
        print('info missing')
    else:
        defs = [(d.dxf.tag, d.dxf.prompt, d.dxf.field_length, d.dxf.flags, d.dxf.layer)
                for d in block.query('ATTDEF')]
        print(differences('info', [(fields[i][0], 'ENTER ' + fields[i][0], fields[i][1], 1, '0')
                                   for i in keep], defs))
    print('audit %d' % len(doc.audit().errors))


def check_info_point(shp, dxf):
    doc = ezdxf.readfile(dxf)
    block = doc.blocks.get(base_name(shp) + '_INFO')
    points = [] if block is None else [
        p for p in block.query('POINT')
        if p.dxf.layer == '0' and tuple(p.dxf.location) == (0.0, 0.0, 0.0)]
    print('point %s' % ('yes' if points else 'no'))


def check_xdata(shp, dxf, field_list):
    fields, rows, shapes, doc = inputs(shp, dxf)
    keep = selected(fields, field_list)
    expected = []
    for row, shape in zip(rows, shapes):
        pairs = [(1002, '{')]
        for i in keep:
            pairs += [(1000, fields[i][0]), (1000, row[i])]
        expected += [pairs + [(1002, '}')]] * shape.parts
    got = []
    for e in shape_entities(doc):
        got.append([(t.code, t.value) for t in e.get_xdata('TESSARYN')]
                   if e.has_xdata('TESSARYN') else None)
    print(differences('xdata', expected, got))
    print('appid %s' % ('yes' if doc.appids.has_entry('TESSARYN') else 'no'))
    print('audit %d' % len(doc.audit().errors))


def text_point(t):
    """Where a TEXT stands: the insertion point itself, which is the second alignment point
    of a justified text."""
    return t.dxf.align_point if t.dxf.get('halign', 0) != 0 and t.dxf.hasattr('align_point') \
        else t.dxf.insert


def check_labels(shp, dxf, field_list, layer):
    fields, rows, shapes, doc = inputs(shp, dxf)
    order = [int(x) for x in field_list.split(',')]
    expected, boxes, record_of = [], [], []
    for r, (row, shape) in enumerate(zip(rows, shapes)):
        if shape.type == 0:
            continue
        for i in order:
            if row[i] != '':
                expected.append((row[i], fields[i][0].upper()))
                boxes.append(shape.box)
                record_of.append(r)
    texts = list(doc.modelspace().query('TEXT'))
    print(differences('texts %d' % len(expected), [t for t, _ in expected],
                      [t.dxf.text for t in texts]))
    if len(texts) != len(expected):
        print('audit %d' % len(doc.audit().errors))
        return
    if layer == '@field':
        wanted = [f for _, f in expected]
    elif layer == '@record':
        # The layer of each record's first shape entity (one entity per part, record order).
        first, at = {}, 0
        entities = shape_entities(doc)
        for r, shape in enumerate(shapes):
            if shape.type != 0 and at < len(entities):
                first[r] = entities[at].dxf.layer
            at += shape.parts
        wanted = [first.get(r) for r in record_of]
    else:
        wanted = [layer] * len(expected)
    print(differences('layers', wanted, [t.dxf.layer for t in texts]))
    far = []
    for k, (t, box) in enumerate(zip(texts, boxes)):
        p, margin = text_point(t), 2 * t.dxf.height
        if not (t.dxf.height > 0 and box[0] - margin <= p.x <= box[2] + margin and
                box[1] - margin <= p.y <= box[3] + margin):
            far.append((k, t.dxf.text, (p.x, p.y), box))
    print('near same' if not far else 'far %d, first %r' % (len(far), far[0]))
    print('audit %d' % len(doc.audit().errors))


def check_overlap(shp, dxf, field_list):
    """Default point placement of a one-line label: baseline 0.5 h below the point and 1.0 h to
    its right; the overlap rectangle of a label of L characters is L h wide (centred on the
    insertion point) and h high (from the baseline up). With equal sizes two rectangles
    overlap when they are no more than a width apart in x and a height apart in y."""
    fields, rows, shapes, doc = inputs(shp, dxf)
    field = int(field_list)
    texts = list(doc.modelspace().query('TEXT'))
    h = texts[0].dxf.height
    kept, stored, dropped = [], {}, 0
    for row, shape in zip(rows, shapes):
        text = row[field]
        if shape.type == 0 or text == '':
            continue
        x, y = shape.box[0] + h, shape.box[1] - 0.5 * h
        width = len(text) * h
        group = stored.setdefault(text.lower(), [])
        if any(abs(x - gx) <= width and abs(y - gy) <= h for gx, gy in group):
            dropped += 1
            continue
        group.append((x, y))
        kept.append((text, x, y))
    print('eliminated %d' % dropped)
    got = [(t.dxf.text, t.dxf.insert.x, t.dxf.insert.y) for t in texts]
    # Coordinates are written with six decimals.
    close = len(kept) == len(got) and all(
        a[0] == b[0] and abs(a[1] - b[1]) < 1e-5 and abs(a[2] - b[2]) < 1e-5
        for a, b in zip(kept, got))
    print('kept same' if close else differences('kept', kept, got))
    print('audit %d' % len(doc.audit().errors))


if __name__ == '__main__':
    {'attribs': check_attribs, 'info-point': check_info_point, 'xdata': check_xdata,
     'labels': check_labels, 'overlap': check_overlap}[sys.argv[1]](*sys.argv[2:])
