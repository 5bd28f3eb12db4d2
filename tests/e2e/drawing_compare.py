#!/usr/bin/python3
"""Two drawings of one input compared by content, and checks of single drawings, read by ezdxf.

Usage: drawing_compare.py [--fold-layers] [--tables] [--colours] A B [A B ...]
         one line per pair: "A B same", or "A B differ" and then one indented line per
         difference (what, only in A, only in B); --fold-layers compares layer names as
         releases 12 and 14 write them (upper case, runs of other characters than letters,
         digits, "$" and "-" as one "_"), since release 2000 keeps such characters;
         --tables also compares the layers with their colours, the text styles with their
         fonts, the application ids, the TEXT strings and the HATCH patterns with their loop
         counts, and the coordinates to 1e-9 relative (for a DXF written with 16 decimals
         against a DWG's export); --colours counts the entities by their colour too
       drawing_compare.py --sum [--fold-layers] [--tables] MERGED A [A ...]
         one line: "MERGED sum same" when the drawing of a merge group holds what the single
         drawings A ... hold together, or "MERGED sum differ" and the differences: entities,
         attributes, extended data, texts, hatches and points added up; layers, styles and
         application ids once each; blocks of fixed names once (the first drawing's), blocks
         of generated names (POL, ARC, FIL, MPT and five digits, counted on from input to
         input) compared by their contents; the header extents those of all the drawings
       drawing_compare.py --audit DXF [DXF ...]
         one line per drawing: "DXF audit_errors model_space_entities"
       drawing_compare.py --labels DXF [DXF ...]
         one line per drawing: "DXF blocks=<TEMP_ANNOT blocks> texts=<n> late=<0|1>", late 1
         when every TEXT of model space comes after every other entity there

Compared: model space entities counted by (type, layer); the block names other than the
layout blocks and each block's entities counted by type; the ATTRIB (tag, value) pairs; the
extended data (type, application, groups); the coordinates, sorted per entity type, equal to
half a unit of the sixth decimal (relative once above 1).
Left out on purpose, as the two writers may differ there: handles and owners; the first point
of a justified TEXT, which is an estimate of the writer once an alignment point is given."""
import collections
import re
import sys

import ezdxf

LAYOUT_PREFIXES = ('*model_space', '*paper_space', '$model_space', '$paper_space')
UNCOMPARED_BLOCKS: set = set()


def points_of(e):
    """Every 3D point an entity carries, as tuples."""
    kind = e.dxftype()
    pts = []
    for name, value in e.dxf.all_existing_dxf_attribs().items():
        justified = kind == 'TEXT' and (e.dxf.get('halign', 0) != 0 or
                                        e.dxf.get('valign', 0) != 0)
        if kind == 'TEXT' and name == 'insert' and e.dxf.hasattr('align_point') and justified:
            continue
        if kind == 'TEXT' and name == 'align_point' and not justified:
            continue  # not used by a left-aligned text; readers give it as zeros or leave it out
        if isinstance(value, ezdxf.math.Vec3):
            pts.append(tuple(value))
    if kind == 'LWPOLYLINE':
        pts += [(x, y, 0.0) for x, y, *_ in e.get_points()]
    elif kind == 'POLYLINE':
        pts += [tuple(v.dxf.location) for v in e.vertices]
    elif kind == 'HATCH':
        for path in e.paths:
            for v in getattr(path, 'vertices', []):
                pts.append((v[0], v[1], 0.0))
            for edge in getattr(path, 'edges', []):
                for attr in ('start', 'end', 'center'):
                    if hasattr(edge, attr):
                        p = getattr(edge, attr)
                        pts.append((p[0], p[1], 0.0))
    elif kind == 'INSERT':
        for a in e.attribs:
            pts += [tuple(v) for v in (a.dxf.insert,)]
    return pts


def block_names_written(path):
    """The names of the BLOCK entities in the file itself: ezdxf adds standard blocks of its
    own (arrow heads) when it loads an older release."""
    lines = open(path, encoding='latin-1').read().splitlines()
    names, i = set(), 0
    while i + 1 < len(lines):
        if lines[i].strip() == '0' and lines[i + 1].strip() == 'BLOCK':
            j = i + 2
            while j + 1 < len(lines) and lines[j].strip() != '0':
                if lines[j].strip() == '2':
                    names.add(lines[j + 1].strip().upper())
                    break
                j += 2
        i += 2
    return names


def same_layer(name):
    return name.upper()


def folded_layer(name):
    return re.sub(r'[^A-Z0-9$-]+', '_', name.upper()).strip('_')


def tables(doc, layer):
    """The table records and texts --tables compares; standard records a reader adds when it
    exports (the DEFPOINTS layer) are left out."""
    # LibreDWG's DXF export writes every layer of a DWG as switched off (a negative colour),
    # AutoCAD's own files too: the sign is not compared here.
    layers = collections.Counter((layer(r.dxf.name), abs(r.dxf.color)) for r in doc.layers
                                 if r.dxf.name.upper() != 'DEFPOINTS')
    styles = collections.Counter((r.dxf.name.upper(), r.dxf.font.lower()) for r in doc.styles
                                 if r.dxf.name)
    appids = collections.Counter(r.dxf.name.upper() for r in doc.appids)
    return {'layers': layers, 'styles': styles, 'appids': appids,
            'texts': collections.Counter(), 'hatches': collections.Counter()}


def content(path, layer=same_layer, with_tables=False):
    doc = ezdxf.readfile(path)
    written = block_names_written(path)
    c = {'entities': collections.Counter(), 'blocks': {}, 'attribs': collections.Counter(),
         'xdata': collections.Counter(), 'points': collections.defaultdict(list)}
    if with_tables:
        c.update(tables(doc, layer))
    for e in doc.modelspace():
        kind = e.dxftype()
        colour = (e.dxf.color,) if ENTITY_COLOURS['on'] else ()
        c['entities'][(kind, layer(e.dxf.layer)) + colour] += 1
        if with_tables and kind == 'TEXT':
            c['texts'][e.dxf.text] += 1
        if with_tables and kind == 'HATCH':
            c['hatches'][(e.dxf.pattern_name.upper(), len(e.paths))] += 1
        c['points'][kind] += points_of(e)
        if kind == 'INSERT':
            for a in e.attribs:
                c['attribs'][(a.dxf.tag, a.dxf.text)] += 1
        if e.xdata is not None:
            for app, tags in e.xdata.data.items():
                c['xdata'][(kind, app, tuple((t.code, str(t.value)) for t in tags))] += 1
    for block in doc.blocks:
        if block.name.lower().startswith(LAYOUT_PREFIXES) or block.name.upper() not in written:
            continue
        inside = collections.Counter(e.dxftype() for e in block)
        c['blocks'][block.name.upper()] = (collections.Counter()
                                           if block.name.upper() in UNCOMPARED_BLOCKS else inside)
    for kind in c['points']:
        c['points'][kind].sort()
    return c


TOLERANCE = {'relative': 5.1e-7}
ENTITY_COLOURS = {'on': False}


def close(a, b):
    if 'exact' in TOLERANCE:
        return all(abs(x - y) <= 1e-9 * max(1e-300, abs(x)) or x == y for x, y in zip(a, b))
    return all(abs(x - y) <= TOLERANCE['relative'] * max(1.0, abs(x)) for x, y in zip(a, b))


def differences(a, b):
    out = []
    for what in ('entities', 'attribs', 'xdata', 'layers', 'styles', 'appids', 'texts',
                 'hatches', 'generated'):
        if what not in a:
            continue
        only_a, only_b = a[what] - b[what], b[what] - a[what]
        if only_a or only_b:
            out.append('%s: only in A %s; only in B %s' % (what, dict(only_a), dict(only_b)))
    if set(a['blocks']) != set(b['blocks']):
        out.append('block names: only in A %s; only in B %s' %
                   (sorted(set(a['blocks']) - set(b['blocks'])),
                    sorted(set(b['blocks']) - set(a['blocks']))))
    for name in sorted(set(a['blocks']) & set(b['blocks'])):
        if a['blocks'][name] != b['blocks'][name]:
            out.append('block %s: A %s; B %s' % (name, dict(a['blocks'][name]),
                                                 dict(b['blocks'][name])))
    for kind in sorted(set(a['points']) | set(b['points'])):
        pa, pb = a['points'].get(kind, []), b['points'].get(kind, [])
        if len(pa) != len(pb):
            out.append('%s points: %d in A, %d in B' % (kind, len(pa), len(pb)))
            continue
        for i, (p, q) in enumerate(zip(pa, pb)):
            if not close(p, q):
                out.append('%s point %d of %d: A %r; B %r' % (kind, i, len(pa), p, q))
                break
    return out


GENERATED_BLOCK = re.compile(r'^(POL|ARC|FIL|MPT)[0-9A-Z]{5}$')
ONCE_EACH = ('layers', 'styles', 'appids')


def extents(path):
    header = ezdxf.readfile(path).header
    return tuple(header['$EXTMIN'])[:2], tuple(header['$EXTMAX'])[:2]


def by_contents(c):
    """The content with its generated blocks as a count of their contents."""
    c['generated'] = collections.Counter(
        tuple(sorted(inside.items())) for name, inside in c['blocks'].items()
        if GENERATED_BLOCK.match(name))
    c['blocks'] = {name: inside for name, inside in c['blocks'].items()
                   if not GENERATED_BLOCK.match(name)}
    return c


def added_up(parts):
    total = parts[0]
    for c in parts[1:]:
        for what, value in c.items():
            if what == 'blocks':
                for name, inside in value.items():
                    total['blocks'].setdefault(name, inside)
            elif what == 'points':
                for kind, pts in value.items():
                    total['points'][kind] = sorted(total['points'].get(kind, []) + pts)
            elif what in ONCE_EACH:
                total[what] |= value
            else:
                total[what] += value
    return total


def sum_differences(merged, parts, layer, with_tables):
    diff = differences(by_contents(content(merged, layer, with_tables)),
                       added_up([by_contents(content(p, layer, with_tables)) for p in parts]))
    boxes = [extents(p) for p in parts]
    union = (tuple(min(b[0][i] for b in boxes) for i in (0, 1)),
             tuple(max(b[1][i] for b in boxes) for i in (0, 1)))
    if not all(close(p, q) for p, q in zip(extents(merged), union)):
        diff.append('extents: merged %r; of the parts %r' % (extents(merged), union))
    return diff


def main(args):
    if args[0] == '--sum':
        layer, with_tables = same_layer, False
        args = args[1:]
        while args[0] in ('--fold-layers', '--tables'):
            layer = folded_layer if args[0] == '--fold-layers' else layer
            with_tables = with_tables or args[0] == '--tables'
            args = args[1:]
        diff = sum_differences(args[0], args[1:], layer, with_tables)
        print(args[0], 'sum', 'differ' if diff else 'same')
        for line in diff:
            print('   ', line[:600])
    elif args[0] == '--audit':
        for path in args[1:]:
            doc = ezdxf.readfile(path)
            print(path, len(doc.audit().errors), len(doc.modelspace()))
    elif args[0] == '--labels':
        for path in args[1:]:
            doc = ezdxf.readfile(path)
            temp = sum(1 for b in doc.blocks if b.name.upper() == 'TEMP_ANNOT')
            kinds = [e.dxftype() for e in doc.modelspace()]
            texts = kinds.count('TEXT')
            first_text = kinds.index('TEXT') if texts else len(kinds)
            late = int(all(k == 'TEXT' for k in kinds[first_text:]))
            print(path, 'blocks=%d texts=%d late=%d' % (temp, texts, late))
    else:
        layer, with_tables = same_layer, False
        while args[0] in ('--fold-layers', '--tables', '--colours'):
            if args[0] == '--fold-layers':
                layer = folded_layer
            elif args[0] == '--colours':
                ENTITY_COLOURS['on'] = True
            else:
                with_tables = True
                TOLERANCE['exact'] = True
            args = args[1:]
        for a, b in zip(args[0::2], args[1::2]):
            diff = differences(content(a, layer, with_tables), content(b, layer, with_tables))
            print(a, b, 'differ' if diff else 'same')
            for line in diff:
                print('   ', line[:600])


if __name__ == '__main__':
    main(sys.argv[1:])
