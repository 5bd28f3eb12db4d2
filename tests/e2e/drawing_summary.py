#!/usr/bin/python3
"""What a drawing holds, for comparing with what its input says.

Usage: drawing_summary.py DXF [DXF ...]
Prints one line per drawing: its path, then the model space's entities by type ("POINT=4"),
the entities inside the blocks its INSERTs name, counted once per INSERT ("in:SOLID=11"),
the boundary paths of its hatches and how many are associative, the ATTRIBs after its
INSERTs, the entities with extended data and the texts of its TEXT entities, joined by "|"."""
import collections
import sys

import ezdxf

for path in sys.argv[1:]:
    doc = ezdxf.readfile(path)
    own, inside = collections.Counter(), collections.Counter()
    paths = associative = attribs = xdata = 0
    texts = []
    for e in doc.modelspace():
        kind = e.dxftype()
        own[kind] += 1
        if kind == 'INSERT':
            attribs += len(e.attribs)
            inside.update(b.dxftype() for b in doc.blocks[e.dxf.name] if b.dxftype() != 'ATTDEF')
        elif kind == 'HATCH':
            paths += len(e.paths)
            associative += e.dxf.associative
        elif kind == 'TEXT':
            texts.append(e.dxf.text)
        if e.xdata is not None and len(e.xdata.data) > 0:
            xdata += 1
    words = ['%s=%d' % kv for kv in sorted(own.items())]
    words += ['in:%s=%d' % kv for kv in sorted(inside.items())]
    if paths:
        words.append('paths=%d associative=%d' % (paths, associative))
    if attribs:
        words.append('attribs=%d' % attribs)
    if xdata:
        words.append('xdata=%d' % xdata)
    if texts:
        words.append('texts=' + '|'.join(texts))
    print(path, ' '.join(words))
