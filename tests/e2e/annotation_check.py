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
      trimmed value as text; on layer LAYER ("@field": the layer named after the label field,
      "@record": the layer of the record's own shape entities); each near its record's box.
  annotation_check.py overlap SHP DXF LIST
      Point input with one label field: the labels that stay when equal labels (ignoring case)
      whose rectangles overlap are dropped, worked out here; prints the number dropped.
  annotation_check.py legend SHP DXF FIELD
      The legend of unique values of field FIELD: the texts on the legend layer are the input's
      file name, the field's name and the field's distinct values.
  annotation_check.py roundtrip SHP LABEL AB12 AE12 T12 AB14 AE14 T14
      The drawings of /AB=-1, /AE=-1 and /T=LABEL of one input in both releases, however its
      geometry is drawn: the attribute lists of the INSERTs are the rows of distinct records in
      record order (the records drawn); the extended data of the entities, runs of equal lists
      taken once, are the rows of the same records ("xdata on k of n" when only some of them
      carry any); the TEXTs are non-blank LABEL values of records in record order, at least
      one for each drawn record with one. One line per release, then the records drawn in
      each and the table's row count.
  annotation_check.py csv CSV AB AE T
      A comma-delimited point table without quotes, converted with /AB=-1, /AE=-1 and /T=-1:
      one INSERT per row with the row's attributes, one POINT per row with its extended data,
      one TEXT per non-blank value in row and field order. Values and names are the bytes
      between the commas (a line ends at LF, a CR right before it is dropped), without
      leading and trailing blanks.
LIST is comma-separated field numbers from 0, -1 for all fields.
Both sides are compared as the bytes they hold: the drawing is decoded as Latin-1, the table's
text as it is converted into the drawing's code page 1252 (from the encoding its .cpg or its
language byte names), and the caret notation of the drawing's texts (control character c as "^" and c + 64,
a caret as "^ ") is undone here. A dBase value ends at its first NUL byte.
Each line printed is "<what> same" (or a count) when the drawing agrees, the differences
otherwise, and the last line is "audit <errors found by ezdxf>".
"""
import os
import struct
import sys

import ezdxf
from shp_records import record_contents


def caret_decode(text):
    """The value a DXF text stands for: "^" and a character from "@" to "_" is that character
    less 64, "^ " is a caret; anything else is itself."""
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == '^' and i + 1 < len(text):
            n = text[i + 1]
            if n == ' ':
                out.append('^')
                i += 2
                continue
            if '@' <= n <= '_':
                out.append(chr(ord(n) - 64))
                i += 2
                continue
        out.append(c)
        i += 1
    return ''.join(out)


def read_dxf(dxf):
    """The drawing with its texts taken as Latin-1 bytes, like the table."""
    return ezdxf.readfile(dxf, encoding='latin-1')


def until_nul(raw):
    return raw.split(b'\0')[0]


def table_beside(shp):
    """The shapefile's table, its extension in lower or upper case."""
    lower = shp[:-4] + '.dbf'
    return lower if os.path.exists(lower) else shp[:-4] + '.DBF'


# Language driver bytes of dBase headers and the code pages they name.
LANGUAGE_BYTES = {0x01: 'cp437', 0x02: 'cp850', 0x03: 'cp1252', 0x4D: 'gbk', 0x4E: 'cp949',
                  0x4F: 'cp950', 0x57: 'cp1252', 0x58: 'cp1252', 0x59: 'cp1252', 0x64: 'cp852',
                  0x65: 'cp866', 0xC8: 'cp1250', 0xC9: 'cp1251', 0xCA: 'cp1254',
                  0xCB: 'cp1253', 0x7B: 'cp932'}


def cpg_encoding(dbf):
    """The Python codec a .cpg beside the table names, or None."""
    for ext in ('.cpg', '.CPG'):
        path = dbf[:-4] + ext
        if os.path.exists(path):
            with open(path, 'rb') as f:
                name = f.read(256).decode('latin-1').strip(' \t\r\n\0').upper()
            if name in ('UTF-8', 'UTF8', '65001'):
                return 'utf-8'
            if name in ('GBK', '936'):
                return 'gbk'
            if name.replace(' ', '').replace('-', '') in ('ISO88591', '88591', 'LATIN1'):
                return 'latin-1'
            digits = name.replace('ANSI', '').replace('CP', '').strip(' _')
            if digits.isdigit() and digits in ('1250', '1251', '1252', '1253', '1254'):
                return 'cp' + digits
            return None
    return None


def drawing_text(enc):
    """How the drawing holds text of a table in encoding enc, as Latin-1: the characters in
    code page 1252, the others as \\U+XXXX (beyond U+FFFF as their two surrogates)."""
    if enc in (None, 'cp1252'):
        return lambda raw: raw.decode('latin-1')

    def convert(raw):
        out = []
        for ch in raw.decode(enc, errors='replace'):
            try:
                out.append(ch.encode('cp1252').decode('latin-1'))
            except UnicodeEncodeError:
                c = ord(ch)
                if c > 0xFFFF:
                    v = c - 0x10000
                    out.append('\\U+%04X\\U+%04X' % (0xD800 + (v >> 10), 0xDC00 + (v & 0x3FF)))
                else:
                    out.append('\\U+%04X' % c)
        return ''.join(out)
    return convert


def read_table(dbf):
    """(fields, rows): fields as (name, width), rows as lists of values up to their first NUL,
    without leading and trailing blanks, as the drawing holds them (drawing_text of the
    encoding the .cpg or the language byte names)."""
    with open(dbf, 'rb') as f:
        data = f.read()
    text = drawing_text(cpg_encoding(dbf) or LANGUAGE_BYTES.get(data[29]))
    count, header, length = struct.unpack('<IHH', data[4:12])
    fields, at = [], 32
    while at < header and data[at] not in (0x0D, 0x0A):
        fields.append((text(until_nul(data[at:at + 11])), data[at + 16]))
        at += 32
    rows = []
    for r in range(count):
        raw = data[header + r * length:header + (r + 1) * length]
        if len(raw) < length:
            break
        values, offset = [], 1
        for _, width in fields:
            values.append(text(until_nul(raw[offset:offset + width]).strip(b' ')))
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
    fields, rows = read_table(table_beside(shp))
    shapes = [Shape(c) for c in record_contents(shp)]
    doc = read_dxf(dxf)
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


def file_name(shp):
    """The input's file name as the bytes it holds, read as Latin-1."""
    return os.fsencode(shp).split(b'/')[-1].decode('latin-1')


def symbol_name(name, limit):
    """The name rule of releases 12 and 14: ASCII upper case; letters, digits, "$" and "-"
    kept; any other character one "_", never two in a row, none right after "-" (but for "."
    and "_"), none right before "-"; no "_" at the end; at most `limit` characters."""
    out = ''
    for i, c in enumerate(name):
        if 'a' <= c <= 'z':
            c = c.upper()
        dash_next = i + 1 < len(name) and name[i + 1] == '-'
        if c in '._':
            if not dash_next and not out.endswith('_'):
                out += '_'
        elif c in '$-' or ('A' <= c <= 'Z') or ('0' <= c <= '9'):
            out += c
        elif not dash_next and not out.endswith('_') and not out.endswith('-'):
            out += '_'
    out = out.rstrip('_')[:limit]
    if out.endswith('_'):
        out = out[:-1]
    return out or 'UNNAMED'


def info_block(shp):
    """The attribute-definition block's name: the base name by the name rule, then _INFO."""
    return symbol_name(file_name(shp)[:-4], 249) + '_INFO'


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
        got.append([(caret_decode(a.dxf.tag), caret_decode(a.dxf.text)) for a in attribs])
        layers_ok &= all(a.dxf.layer == insert.dxf.layer for a in attribs)
        flags_ok &= all(a.dxf.flags == flags for a in attribs) and len(attribs) > 0
    print(differences('inserts', expected, got))
    print('layers %s flags %s' % ('same' if layers_ok else 'differ',
                                  'same' if flags_ok else 'differ'))
    print(info_differences(doc, shp, fields, keep))
    print('audit %d' % len(doc.audit().errors))


def info_differences(doc, shp, fields, keep):
    block = doc.blocks.get(info_block(shp))
    if block is None:
        return 'info missing'
    defs = [(caret_decode(d.dxf.tag), caret_decode(d.dxf.prompt), d.dxf.field_length,
             d.dxf.flags, d.dxf.layer) for d in block.query('ATTDEF')]
    return differences('info', [(fields[i][0], 'ENTER ' + fields[i][0], fields[i][1], 1, '0')
                                for i in keep], defs)


def check_info_point(shp, dxf):
    doc = read_dxf(dxf)
    block = doc.blocks.get(info_block(shp))
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
    got = [entity_xdata(e) for e in shape_entities(doc)]
    print(differences('xdata', expected, got))
    print('appid %s' % ('yes' if doc.appids.has_entry('TESSARYN') else 'no'))
    print('audit %d' % len(doc.audit().errors))


def entity_xdata(e):
    """The TESSARYN list of an entity, strings decoded; None without one."""
    if not e.has_xdata('TESSARYN'):
        return None
    return [(t.code, caret_decode(t.value) if isinstance(t.value, str) else t.value)
            for t in e.get_xdata('TESSARYN')]


def text_point(t):
    """Where a TEXT stands: the insertion point itself, which is the second alignment point
    of a justified text."""
    return t.dxf.align_point if t.dxf.get('halign', 0) != 0 and t.dxf.hasattr('align_point') \
        else t.dxf.insert


def check_labels(shp, dxf, field_list, layer):
    fields, rows, shapes, doc = inputs(shp, dxf)
    order = selected(fields, field_list)
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
                      [caret_decode(t.dxf.text) for t in texts]))
    if len(texts) != len(expected):
        print('audit %d' % len(doc.audit().errors))
        return
    if layer == '@field':
        wanted = [symbol_name(f, 31) for _, f in expected]
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
        # A record's label of n lines stands within 2n heights of its box.
        lines = record_of.count(record_of[k])
        p, margin = text_point(t), 2 * lines * t.dxf.height
        if not (t.dxf.height > 0 and box[0] - margin <= p.x <= box[2] + margin and
                box[1] - margin <= p.y <= box[3] + margin):
            far.append((k, caret_decode(t.dxf.text), (p.x, p.y), box))
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


def check_legend(shp, dxf, field):
    fields, rows, shapes, doc = inputs(shp, dxf)
    field = int(field)
    texts = [caret_decode(t.dxf.text) for t in doc.modelspace().query('TEXT')]
    values = sorted(set(row[field] or 'UNNAMED' for row, shape in zip(rows, shapes)
                        if shape.type != 0))
    print(differences('title', [file_name(shp), fields[field][0]], texts[:2]))
    print(differences('labels', values, sorted(texts[2:])))
    print('audit %d' % len(doc.audit().errors))


def matched_records(rows, lists):
    """The records, in order, whose rows the lists are, each list a later record than the one
    before; None when some list is no such row."""
    found, r = [], 0
    for got in lists:
        while r < len(rows) and rows[r] != got:
            r += 1
        if r == len(rows):
            return None
        found.append(r)
        r += 1
    return found


def runs(lists):
    """Equal neighbours taken once."""
    return [x for k, x in enumerate(lists) if k == 0 or lists[k - 1] != x]


def check_release(shp, fields, rows, label, ab, ae, t):
    keep = list(range(len(fields)))
    records = [[(fields[i][0], row[i]) for i in keep] for row in rows]
    out = []
    doc = read_dxf(ab)
    inserts = [[(caret_decode(a.dxf.tag), caret_decode(a.dxf.text)) for a in i.attribs]
               for i in doc.modelspace().query('INSERT')]
    drawn = matched_records(records, inserts)
    out.append('attribs same' if drawn is not None else
               'attribs: ' + differences('', records, inserts))
    drawn = drawn or []
    out.append(info_differences(doc, shp, fields, keep))
    audits = [len(doc.audit().errors)]
    doc = read_dxf(ae)
    xdata = runs([x for x in (entity_xdata(e) for e in doc.modelspace()) if x is not None])
    wanted = runs([[(1002, '{')] + [(1000, v) for pair in records[r] for v in pair] +
                   [(1002, '}')] for r in drawn])
    if xdata == wanted:
        out.append('xdata same')
    elif matched_records(wanted, xdata) is not None:
        out.append('xdata on %d of %d' % (len(xdata), len(wanted)))
    else:
        out.append(differences('xdata', wanted, xdata))
    audits.append(len(doc.audit().errors))
    doc = read_dxf(t)
    texts = [[caret_decode(x.dxf.text)] for x in doc.modelspace().query('TEXT')]
    labelled = [[row[label]] if row[label] != '' else None for row in rows]
    out.append('labels same' if matched_records(labelled, texts) is not None and
               len(texts) >= sum(1 for r in drawn if labelled[r] is not None) else
               differences('labels', [labelled[r] for r in drawn if labelled[r]], texts))
    audits.append(len(doc.audit().errors))
    out.append('audit %d %d %d' % tuple(audits))
    return ', '.join(out), len(drawn)


def check_roundtrip(shp, label, ab12, ae12, t12, ab14, ae14, t14):
    fields, rows = read_table(table_beside(shp))
    drawn = []
    for release, drawings in (('12', (ab12, ae12, t12)), ('14', (ab14, ae14, t14))):
        line, n = check_release(shp, fields, rows, int(label), *drawings)
        print('R%s %s' % (release, line))
        drawn.append(n)
    print('drawn %d %d of %d' % (drawn[0], drawn[1], len(rows)))


def read_csv(path):
    with open(path, 'rb') as f:
        lines = f.read().decode('latin-1').split('\n')
    lines = [x[:-1] if x.endswith('\r') else x for x in lines]
    lines = lines[:lines.index('')] if '' in lines else lines
    split = [[v.strip(' ') for v in x.split(',')] for x in lines]
    return split[0], split[1:]


def check_csv(csv, ab, ae, t):
    names, rows = read_csv(csv)
    records = [list(zip(names, row)) for row in rows]
    doc = read_dxf(ab)
    inserts = [[(caret_decode(a.dxf.tag), caret_decode(a.dxf.text)) for a in i.attribs]
               for i in doc.modelspace().query('INSERT')]
    print(differences('inserts', records, inserts))
    audits = [len(doc.audit().errors)]
    doc = read_dxf(ae)
    print(differences('xdata', [[(1002, '{')] + [(1000, v) for pair in r for v in pair] +
                                [(1002, '}')] for r in records],
                      [entity_xdata(e) for e in doc.modelspace().query('POINT')]))
    audits.append(len(doc.audit().errors))
    doc = read_dxf(t)
    print(differences('texts', [v for row in rows for v in row if v != ''],
                      [caret_decode(x.dxf.text) for x in doc.modelspace().query('TEXT')]))
    audits.append(len(doc.audit().errors))
    print('audit %d %d %d' % tuple(audits))


if __name__ == '__main__':
    {'attribs': check_attribs, 'info-point': check_info_point, 'xdata': check_xdata,
     'labels': check_labels, 'overlap': check_overlap, 'legend': check_legend,
     'roundtrip': check_roundtrip, 'csv': check_csv}[sys.argv[1]](*sys.argv[2:])
