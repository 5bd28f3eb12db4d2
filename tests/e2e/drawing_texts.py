#!/usr/bin/python3
"""Prints every text a drawing carries, one per line, as CAD programs show it: TEXT entities,
ATTRIB values and the strings of extended data, read by ezdxf by the drawing's $DWGCODEPAGE,
with \\U+XXXX escapes (and surrogate pairs of them) turned back into characters.
Usage: drawing_texts.py DXF"""
import sys

import ezdxf


def shown(text):
    text = ezdxf.decode_dxf_unicode(text)
    # Characters beyond U+FFFF arrive as two escaped surrogates.
    return text.encode('utf-16', 'surrogatepass').decode('utf-16')


def main():
    doc = ezdxf.readfile(sys.argv[1])
    out = []
    for e in doc.modelspace():
        if e.dxftype() == 'TEXT':
            out.append(shown(e.dxf.text))
        elif e.dxftype() == 'INSERT':
            out.extend(shown(a.dxf.text) for a in e.attribs)
        if e.has_xdata('TESSARYN'):
            out.extend(shown(t.value) for t in e.get_xdata('TESSARYN') if t.code == 1000)
    sys.stdout.buffer.write('\n'.join(out).encode('utf-8') + b'\n')


if __name__ == '__main__':
    main()
