#!/usr/bin/python3
"""Checks the polygon fills of a converted drawing against its shapefile, read here from its
bytes and nested here with shapely.

Usage:
  fill_check.py solid SHP DXF [SHP DXF ...]   (release 12: FIL blocks of SOLIDs)
  fill_check.py hatch LINES SHP DXF [SHP DXF ...]   (release 14: HATCH entities with LINES
                                                     pattern lines)
Every summary line starts with the drawing's path.

solid: every ring lying in no other ring is a part, whichever way it turns; inside a part, a
ring is a part again only when both turn clockwise; inside a ring that is no part (a hole), a
ring is a part when it turns clockwise or the other way from the hole. Each part has the rings
directly inside it cut out; a ring lies inside another only when none of it lies
outside (touching allowed), and its parent is the smallest such ring. Each INSERT
of a FIL block is matched to a part by its insertion point, the part's lower-left corner. The
triangles of a matched part must have the part's area (relative error below 1e-9) and no
triangle may reach outside the part by more than 1e-9 of its area. Parts that are not valid
polygons (self-crossing rings, holes crossing each other, rings touching themselves, rings inside
a self-crossing one) are only counted. Prints
"parts P filled F unfilled U mismatched M outside O invalid I audit E" and, per failed part, a
line "unfilled|mismatched|outside RECORD PART FIGURE".

hatch: each HATCH is matched to its record by the first point of its first path. Its paths
must be the record's rings (each ring with at least one edge), every path closed, its edges
the ring's own; an associative hatch's paths must name outlines whose reactor is the hatch;
every hatch must have LINES pattern lines. Prints
"hatches H records R paths_wrong P edges_wrong G links_wrong K lines_wrong L audit E".
"""
import collections
import struct
import sys

import ezdxf
from shapely.geometry import LineString, Point, Polygon
from shapely.prepared import prep
from shapely.validation import explain_validity, make_valid

from shp_records import record_contents

TOLERANCE = 1e-9


def records(path):
    """(record index, [ring point lists]) of every polygon record with points."""
    out = []
    for index, content in enumerate(record_contents(path)):
        if len(content) < 44 or struct.unpack('<i', content[:4])[0] not in (5, 15, 25):
            continue
        nparts, npoints = struct.unpack('<2i', content[36:44])
        if nparts <= 0 or npoints <= 0 or len(content) < 44 + 4 * nparts + 16 * npoints:
            continue
        starts = list(struct.unpack('<%di' % nparts, content[44:44 + 4 * nparts])) + [npoints]
        if starts[0] != 0 or any(a >= b for a, b in zip(starts, starts[1:])):
            continue  # the converter refuses such a record
        xy = 44 + 4 * nparts
        rings = []
        for k in range(nparts):
            a, b = max(starts[k], 0), min(starts[k + 1], npoints)
            rings.append([struct.unpack('<2d', content[xy + 16 * i:xy + 16 * i + 16])
                          for i in range(a, b)])
        out.append((index, rings))
    return out


def signed_area(ring):
    """Shoelace about the first point, so that map coordinates keep their digits."""
    x0, y0 = ring[0]
    return sum((p[0] - x0) * (q[1] - y0) - (q[0] - x0) * (p[1] - y0)
               for p, q in zip(ring, ring[1:] + ring[:1])) / 2


def box(ring):
    xs = [p[0] for p in ring]
    ys = [p[1] for p in ring]
    return min(xs), min(ys), max(xs), max(ys)


def crosses_itself(shape):
    """A ring that crosses itself leaves its inside to the converter's counting rule; one that
    only touches itself does not."""
    return not shape.is_valid and explain_validity(shape).startswith('Self-intersection')


class Outer:
    """A ring that may hold others, prepared once."""

    def __init__(self, ring):
        shape = Polygon(ring)
        self.crossing = crosses_itself(shape)
        self.shape = prep(make_valid(shape) if self.crossing else shape)

    def covers(self, inner):
        """Whether no point of ring inner lies outside (touching allowed); None when this ring
        crosses itself and inner meets what it encloses."""
        line = LineString(inner + inner[:1]) if len(inner) > 1 else Point(inner[0])
        if self.crossing:
            return False if self.shape.disjoint(line) else None
        return self.shape.covers(line)


def parents(rings):
    """The smallest ring wholly containing each ring (None for a ring in no other ring), and
    the rings whose containment could not be decided. Of two equal rings the first holds the
    second."""
    boxes = [box(r) if r else None for r in rings]
    areas = [abs(signed_area(r)) if len(r) >= 3 else 0.0 for r in rings]
    # A grid of the boxes: a ring's box lies in the cells that hold its lower-left corner.
    known = [b for b in boxes if b]
    x0 = min(b[0] for b in known)
    y0 = min(b[1] for b in known)
    size = max(max(b[2] for b in known) - x0, max(b[3] for b in known) - y0, 1e-300)
    side = max(1, int(len(known) ** 0.5))

    def cell(v, origin):
        return min(side - 1, max(0, int((v - origin) / size * side)))
    grid = collections.defaultdict(list)
    for j, b in enumerate(boxes):
        if b and len(rings[j]) >= 3:
            for cx in range(cell(b[0], x0), cell(b[2], x0) + 1):
                for cy in range(cell(b[1], y0), cell(b[3], y0) + 1):
                    grid[cx, cy].append(j)
    out, undecided, outers = [], set(), {}
    for i, r in enumerate(rings):
        best = None
        if r:
            bi = boxes[i]
            around = []
            for j in grid[cell(bi[0], x0), cell(bi[1], y0)]:
                bo = boxes[j]
                if (j != i and bo[0] <= bi[0] and bo[1] <= bi[1] and
                        bi[2] <= bo[2] and bi[3] <= bo[3] and
                        (areas[j] > areas[i] or (areas[j] == areas[i] and j < i))):
                    around.append(j)
            for j in sorted(around, key=lambda j: (areas[j], -j)):
                if j not in outers:
                    outers[j] = Outer(rings[j])
                inside = outers[j].covers(r)
                if inside is None:
                    undecided.add(i)
                elif inside:
                    best = j
                    break
        out.append(best)
    return out, undecided


def key(x, y):
    return round(x, 9), round(y, 9)


def solid_check(shp, dxf):
    doc = ezdxf.readfile(dxf)
    parts = collections.defaultdict(list)  # corner -> [(record, part, shape, valid)]
    total = invalid = 0
    for index, rings in records(shp):
        parent, undecided = parents(rings)
        part_of = {}

        def is_part(k):
            if k not in part_of:
                p = parent[k]
                clockwise = signed_area(rings[k]) < 0
                if p is None:
                    part_of[k] = True
                elif is_part(p):
                    part_of[k] = clockwise and signed_area(rings[p]) < 0
                else:
                    part_of[k] = clockwise or clockwise != (signed_area(rings[p]) < 0)
            return part_of[k]

        holes_of = collections.defaultdict(list)
        for h, p in enumerate(parent):
            if p is not None and len(rings[h]) >= 3:
                holes_of[p].append(rings[h])
        for k, ring in enumerate(rings):
            if len(ring) < 3:
                continue
            shape = Polygon(ring, holes_of[k])
            valid = shape.is_valid and Polygon(ring).is_valid and k not in undecided
            # A self-crossing ring has no direction to trust, and may be filled or not.
            if valid and not is_part(k):
                continue
            b = box(ring)
            parts[key(b[0], b[1])].append((index, k, shape, valid))
            total += valid
            invalid += not valid
    filled = mismatched = outside = 0
    failures = []
    for insert in doc.modelspace().query('INSERT'):
        name = insert.dxf.name
        if not name.startswith('FIL'):
            continue
        ox, oy = insert.dxf.insert[0], insert.dxf.insert[1]
        triangles = []
        for solid in doc.blocks[name].query('SOLID'):
            v = [solid.dxf.get(c) for c in ('vtx0', 'vtx1', 'vtx3', 'vtx2')]
            pts = [(p[0] + ox, p[1] + oy) for p in v]
            triangles.append(Polygon(pts))
        area = sum(t.area for t in triangles)
        candidates = parts.get(key(ox, oy), [])
        if not candidates:
            failures.append('unmatched %s %r %r' % (name, ox, oy))
            mismatched += 1
            continue
        best = min(range(len(candidates)), key=lambda c: abs(candidates[c][2].area - area))
        index, k, shape, valid = candidates.pop(best)
        if not valid:
            continue
        filled += 1
        error = abs(area - shape.area) / shape.area if shape.area > 0 else area
        if error >= TOLERANCE:
            mismatched += 1
            failures.append('mismatched %d %d %.3g' % (index, k, error))
            continue
        # Triangles along the part's edges meet them only to the last digit: the part widened
        # by a hair decides which triangles to measure.
        b = shape.bounds
        fitted = prep(shape.buffer(TOLERANCE * max(b[2] - b[0], b[3] - b[1])))
        spill = sum(t.difference(shape).area for t in triangles if not fitted.covers(t))
        if spill >= TOLERANCE * shape.area:
            outside += 1
            failures.append('outside %d %d %.3g' % (index, k, spill / shape.area))
    unfilled = 0
    for group in parts.values():
        for index, k, shape, valid in group:
            if valid:
                unfilled += 1
                failures.append('unfilled %d %d %d' % (index, k, len(shape.exterior.coords)))
    print('%s parts %d filled %d unfilled %d mismatched %d outside %d invalid %d audit %d' %
          (dxf, total, filled, unfilled, mismatched, outside, invalid, len(doc.audit().errors)))
    for line in failures:
        print(line)


def near(p):
    """A point as the drawing gives it back: 16 decimals keep 10 of any map coordinate."""
    return round(p[0], 10), round(p[1], 10)


def distinct(ring):
    """The start points of the ring's edges, in ring order, without the edges whose ends are
    closer than 1e-10 in both X and Y."""
    def edge(p, q):
        return abs(p[0] - q[0]) >= 1e-10 or abs(p[1] - q[1]) >= 1e-10
    return [near(p) for i, p in enumerate(ring) if edge(p, ring[(i + 1) % len(ring)])]


def path_points(path):
    """The start points of a path's line edges, and whether the edges join up and close."""
    starts = [near(e.start) for e in path.edges]
    ends = [near(e.end) for e in path.edges]
    joined = all(ends[i] == starts[(i + 1) % len(starts)] for i in range(len(starts)))
    return starts, joined


def path_errors(paths, rings):
    """Whether the paths are not one per ring with an edge, and how many paths are not a ring's
    own closed edges."""
    want = [r for r in rings if distinct(r)]
    edges_of = {tuple(distinct(r)) for r in want}
    wrong = 0
    for path in paths:
        starts, joined = path_points(path)
        if not joined or tuple(starts) not in edges_of:
            wrong += 1
    return len(paths) != len(want), wrong


def hatch_check(shp, dxf, lines):
    doc = ezdxf.readfile(dxf)
    by_first = collections.defaultdict(list)
    for index, rings in records(shp):
        for ring in rings:
            by_first[tuple(distinct(ring)[:3])].append((index, rings))
    hatches = paths_wrong = edges_wrong = links_wrong = lines_wrong = 0
    matched = set()
    for hatch in doc.modelspace().query('HATCH'):
        hatches += 1
        if hatch.dxf.solid_fill == 0 and len(hatch.pattern.lines) != lines:
            lines_wrong += 1
        paths = list(hatch.paths)
        if not paths or not paths[0].edges:
            paths_wrong += 1
            continue
        # Neighbouring records may start alike: the first whose rings the paths are.
        candidates = by_first.get(tuple(near(e.start) for e in paths[0].edges[:3]), [])
        if not candidates:
            paths_wrong += 1
            continue
        results = [(path_errors(paths, rings), index) for index, rings in candidates]
        (count_wrong, wrong), index = min(results, key=lambda r: (r[0][0], r[0][1]))
        matched.add(index)
        paths_wrong += count_wrong
        edges_wrong += wrong
        if hatch.dxf.associative:
            for path in paths:
                handles = path.source_boundary_objects
                outline = doc.entitydb.get(handles[0]) if len(handles) == 1 else None
                if (outline is None or outline.dxftype() != 'LWPOLYLINE' or
                        hatch.dxf.handle not in outline.get_reactors()):
                    links_wrong += 1
    print('%s hatches %d records %d paths_wrong %d edges_wrong %d links_wrong %d lines_wrong %d '
          'audit %d' % (dxf, hatches, len(matched), paths_wrong, edges_wrong, links_wrong,
                        lines_wrong, len(doc.audit().errors)))


if __name__ == '__main__':
    if sys.argv[1] == 'solid':
        for shp, dxf in zip(sys.argv[2::2], sys.argv[3::2]):
            solid_check(shp, dxf)
    else:
        for shp, dxf in zip(sys.argv[3::2], sys.argv[4::2]):
            hatch_check(shp, dxf, int(sys.argv[2]))
