#!/usr/bin/python3
"""Reads a DWG of release 12 (AC1009) on its own, for the tests: the tables, the model space,
the blocks, and every flaw of the layout found on the way.

Usage: dwg12_read.py FILE.dwg
         prints a JSON summary; exit status 1 when the file has any problem
       dwg12_read.py --compare DXF DWG [DXF DWG ...]
         one line per pair: "DXF DWG same", or "DXF DWG differ: ..." with the differences
         (as tests/e2e/drawing_compare.py finds them, with tables) and the problems

Layout relied on (little-endian throughout):
  0x00  "AC1009" and padding, 0x0D numentity_sections RS, 0x0F table count RS,
  0x11  number of header variables RS, 0x14 entities start RL, 0x18 entities end RL,
  0x1C  blocks start RL, 0x20 blocks size RL, 0x24 extras start RL, 0x28 extras size RL
        (the sizes carry flag bits above bit 23)
  0x2C  table descriptors BLOCK, LAYER, STYLE, LTYPE, VIEW (record size RS, count RS,
        flags RS, address RL); those of UCS, VPORT, APPID, DIMSTYLE and VX sit inside the
        header variables at 0x3EF, 0x500, 0x512, 0x522 and 0x69F
  0x5E  header variables up to 0x6BD, then their CRC, then the entities' begin sentinel;
        then the tables, the block entities, the extra entities, and an auxiliary header.
Every table and entity section is framed by 16-byte sentinels; every table record and
every entity ends with a CRC-16 of its own bytes seeded 0xC0C1, as do the header and the
auxiliary header."""
import collections
import json
import os
import struct
import sys

SENTINELS = {  # name: (begin, end)
    'ENTITIES': ('C46E6854F86E3330633EC1852ADC9401', '3B9197AB0791CCCF9CC13E7AD5236BFE'),
    'BLOCK': ('DBEFB3F0C73E6DA6C9B6245C4C6F32CB', '24104C0F38C192593649DBA3B390CD34'),
    'LAYER': ('0EC4646FBB1DD38B0049C2EF18EA6FFB', 'F13B9B9044E22C74FFB63D10E7159004'),
    'STYLE': ('E23EC182439F617750ABC76696000618', '1DC13E7DBC609E88AF54389969FFF9E7'),
    'LTYPE': ('AC901ACA1CBD951516164C14CE1888AF', '536FE535E3426AEAE9E9B3EB31E77750'),
    'VIEW': ('C13CAA5668F4B41E4B74F408424DBFA5', '3EC355A9970B4BE1B48B0BF7BDB2405A'),
    'UCS': ('604AFA3D8490CC5BEFE7D6A57F1E61CD', '9FB505C27B6F33A41018295A80E19E32'),
    'VPORT': ('F6ED44612ADCE47B4EB92BBB6660638D', '0912BB9ED5231B84B146D444999F9C72'),
    'APPID': ('E125C25036686C0C3BD35D56C1791C3A', '1EDA3DAFC99793F3C42CA2A93E86E3C5'),
    'DIMSTYLE': ('B4183E42C99FFFE5B6E2CBB375C3C3B0', '4BE7C1BD3660001A491D344C8A3C3C4F'),
    'VX': ('E0CA367CCEE7586F2B7D745505F1447F', '1F35C9833118A790D4828BAAFA0EBB80'),
    'BLOCK ENTITIES': ('722B7DEC3E8C886C7A720AFDC86C8426', '8DD48213C1737793858DF50237937BD9'),
    'EXTRA ENTITIES': ('D5F9D3BB0AA969A6CD1C87C7EE804B17', '2A062C44F556965932E37838117FB4E8'),
    'AUX HEADER': ('298DD149A9731FEA99DE32F94D0AE019', 'D6722EB6568CE0156621CD06B2F51FE6'),
}
TABLES = ('BLOCK', 'LAYER', 'STYLE', 'LTYPE', 'VIEW', 'UCS', 'VPORT', 'APPID', 'DIMSTYLE', 'VX')
EMBEDDED_DESCRIPTORS = {'UCS': 0x3EF, 'VPORT': 0x500, 'APPID': 0x512, 'DIMSTYLE': 0x522,
                        'VX': 0x69F}
HEADER_END = 0x6BD
ENTITY_TYPES = {1: 'LINE', 2: 'POINT', 3: 'CIRCLE', 4: 'SHAPE', 5: 'REPEAT', 6: 'ENDREP',
                7: 'TEXT', 8: 'ARC', 9: 'TRACE', 10: 'LOAD', 11: 'SOLID', 12: 'BLOCK',
                13: 'ENDBLK', 14: 'INSERT', 15: 'ATTDEF', 16: 'ATTRIB', 17: 'SEQEND', 18: 'JUMP',
                19: 'POLYLINE', 20: 'VERTEX', 21: '3DLINE', 22: '3DFACE', 23: 'DIMENSION',
                24: 'VIEWPORT'}
# Common entity flags and the "extra" byte that follows them in paper space entities.
F_COLOR, F_LTYPE, F_ELEVATION, F_THICKNESS, F_HANDLE, F_PSPACE, F_FOLLOW = 1, 2, 4, 8, 32, 64, 128
X_EED, X_VIEWPORT = 2, 4
MAX_ENTITIES = 2_000_000


def _crc_table():
    table = []
    for i in range(256):
        c = i
        for _ in range(8):
            c = (c >> 1) ^ 0xA001 if c & 1 else c >> 1
        table.append(c)
    return table


CRC_TABLE = _crc_table()


def crc16(data, seed=0xC0C1):
    crc = seed
    for b in data:
        crc = (crc >> 8) ^ CRC_TABLE[(crc ^ b) & 0xFF]
    return crc


class Short(Exception):
    """A field would run past the end of the record or of the file."""


class Cursor:
    """Reads fields from data[pos:end], refusing to pass end."""

    def __init__(self, data, pos, end):
        self.data, self.pos, self.end = data, pos, min(end, len(data))

    def take(self, n):
        if n < 0 or self.pos + n > self.end:
            raise Short('field at %#x of %d bytes runs past %#x' % (self.pos, n, self.end))
        b = self.data[self.pos:self.pos + n]
        self.pos += n
        return b

    def unpack(self, fmt):
        return struct.unpack('<' + fmt, self.take(struct.calcsize('<' + fmt)))

    def rc(self):
        return self.take(1)[0]

    def rcd(self):
        return self.unpack('b')[0]

    def rs(self):
        return self.unpack('H')[0]

    def rsd(self):
        return self.unpack('h')[0]

    def rl(self):
        return self.unpack('I')[0]

    def rd(self):
        return self.unpack('d')[0]

    def pt2(self, z=0.0):
        x, y = self.unpack('2d')
        return (x, y, z)

    def pt3(self):
        return self.unpack('3d')

    def tv(self):
        return decode(self.take(self.rs()))

    def fixed_text(self, n):
        return decode(self.take(n).split(b'\0', 1)[0])


# The code page numbers of the header variable at 0x3F9 (28 to 44) and the codecs of their
# names: ANSI_1250, ANSI_1251, ANSI_1252, GB2312, ANSI_1253 ... ANSI_1258.
CODE_PAGES = ['cp1250', 'cp1251', 'cp1252', 'gb2312', 'cp1253', 'cp1254', 'cp1255', 'cp1256',
              'cp1257', 'cp874', 'cp932', 'cp936', 'cp949', 'cp950', 'johab', 'utf-16-le',
              'cp1258']
TEXT_CODEC = ['cp1252']


def decode(raw):
    try:
        return raw.decode(TEXT_CODEC[0])
    except UnicodeDecodeError:
        return raw.decode('latin-1')


class Reader:
    def __init__(self, data):
        self.data = data
        self.problems = []
        self.tables = {t: [] for t in TABLES}

    def problem(self, text):
        self.problems.append(text)

    def sentinel(self, name, which, at):
        want = bytes.fromhex(SENTINELS[name][which])
        if at < 0 or self.data[at:at + 16] != want:
            self.problem('%s %s sentinel missing at %#x' % (name, ('begin', 'end')[which], at))

    def read(self):
        d = self.data
        if len(d) < HEADER_END + 18 or not d.startswith(b'AC1009'):
            self.problem('not a release 12 DWG or shorter than its header (%d bytes)' % len(d))
            return self.result({})
        c = Cursor(d, 0x14, 0x2C)
        ent_start, ent_end, blk_start, blk_size, ext_start, ext_size = c.unpack('6I')
        descriptors = {}
        for i, name in enumerate(TABLES[:5]):
            descriptors[name] = Cursor(d, 0x2C + 10 * i, 0x36 + 10 * i).unpack('HhHI')
        for name, at in EMBEDDED_DESCRIPTORS.items():
            descriptors[name] = Cursor(d, at, at + 10).unpack('HhHI')
        page = struct.unpack_from('<H', d, 0x3F9)[0]
        TEXT_CODEC[0] = CODE_PAGES[page - 28] if 28 <= page < 28 + len(CODE_PAGES) else 'cp1252'
        stored = struct.unpack_from('<H', d, HEADER_END)[0]
        if crc16(d[:HEADER_END]) != stored:
            self.problem('header CRC mismatch: stored %04X, computed %04X'
                         % (stored, crc16(d[:HEADER_END])))
        if ent_start != HEADER_END + 18:
            self.problem('entities start at %#x instead of right after the header' % ent_start)
        for name in TABLES:
            self.read_table(name, *descriptors[name])
        model = self.read_section('ENTITIES', ent_start, ent_end)
        blocks = self.read_section('BLOCK ENTITIES', blk_start, blk_start + (blk_size & 0xFFFFFF))
        extras = self.read_section('EXTRA ENTITIES', ext_start, ext_start + (ext_size & 0xFFFFFF))
        self.read_aux_header(ext_start + (ext_size & 0xFFFFFF) + 16)
        return self.result({'model': model, 'blocks': blocks, 'extras': extras})

    def read_aux_header(self, at):
        """The auxiliary header closes the file: a sentinel, data with their CRC, a sentinel."""
        end = len(self.data) - 16
        if at + 18 > end:
            self.problem('auxiliary header at %#x runs past the file' % at)
            return
        self.sentinel('AUX HEADER', 0, at)
        self.sentinel('AUX HEADER', 1, end)
        aux = self.data[at + 16:end]
        if crc16(aux[:-2]) != struct.unpack_from('<H', aux, len(aux) - 2)[0]:
            self.problem('auxiliary header at %#x: CRC mismatch' % at)

    def read_table(self, name, size, count, _flags, address):
        if count < 0 or count > 100000:
            self.problem('%s table count %d is not possible' % (name, count))
            return
        if count and size < 33:
            self.problem('%s table record size %d is too small' % (name, size))
            return
        end = address + count * size
        if end + 16 > len(self.data) or address < 16:
            self.problem('%s table at %#x with %d records of %d bytes runs past the file'
                         % (name, address, count, size))
            return
        self.sentinel(name, 0, address - 16)
        self.sentinel(name, 1, end)
        for i in range(count):
            at = address + i * size
            rec = self.data[at:at + size]
            if crc16(rec[:-2]) != struct.unpack_from('<H', rec, size - 2)[0]:
                self.problem('%s record %d at %#x: CRC mismatch' % (name, i, at))
            try:
                self.tables[name].append(self.table_record(name, Cursor(rec, 0, size - 2)))
            except Short as e:
                self.problem('%s record %d: %s' % (name, i, e))
                self.tables[name].append({'name': ''})

    @staticmethod
    def table_record(name, c):
        flag = c.rc()
        rec = {'name': c.fixed_text(32), 'flag': flag}
        c.rs()  # use count
        if name == 'LAYER':
            rec['color'] = c.rsd()
            rec['ltype_index'] = c.rsd()
        elif name == 'STYLE':
            c.unpack('3d')  # height, width factor, oblique angle
            c.rc()  # generation
            c.rd()  # last height
            rec['font'] = c.fixed_text(64)
            rec['bigfont'] = c.fixed_text(64)
        elif name == 'LTYPE':
            rec['description'] = c.fixed_text(48)
        elif name == 'BLOCK':
            rec['offset'] = c.rl()
        return rec

    def read_section(self, name, start, end):
        if start == end == 0:
            return []
        if start < 16 or end < start or end + 16 > len(self.data):
            self.problem('%s section %#x..%#x runs past the file' % (name, start, end))
            return []
        self.sentinel(name, 0, start - 16)
        self.sentinel(name, 1, end)
        out, pos = [], start
        while pos < end and len(out) < MAX_ENTITIES:
            size = struct.unpack_from('<H', self.data, pos + 2)[0] if pos + 4 <= end else 0
            if size < 4 or pos + size > end:
                self.problem('%s: entity at %#x has size %d running past %#x'
                             % (name, pos, size, end))
                break
            out.append(self.entity(name, pos, size))
            pos += size
        return out

    def entity(self, section, at, size):
        rec = self.data[at:at + size]
        code = rec[0]
        e = {'type': ENTITY_TYPES.get(code & 0x7F, 'UNKNOWN%d' % (code & 0x7F)), 'at': at,
             'deleted': bool(code & 0x80), 'points': [], 'layer_index': None}
        where = '%s entity %s at %#x' % (section, e['type'], at)
        if crc16(rec[:-2]) != struct.unpack_from('<H', rec, size - 2)[0]:
            self.problem(where + ': CRC mismatch')
        if (code & 0x7F) not in ENTITY_TYPES:
            self.problem(where + ': unknown entity type %d' % code)
            return e
        c = Cursor(rec, 1, size - 2)
        try:
            self.entity_fields(e, c)
            if e.get('checked_end') and c.pos != c.end:
                self.problem(where + ': fields end %d bytes before its CRC' % (c.end - c.pos))
        except Short as err:
            self.problem('%s: %s' % (where, err))
        return e

    def entity_fields(self, e, c):
        flag = e['flag'] = c.rc()
        c.rs()  # size, already known
        if e['type'] == 'JUMP':
            return
        e['layer_index'] = c.rs()
        opts = c.rs()
        extra = c.rc() if flag & F_PSPACE else 0
        # The flag bit only says the extra byte is there: block entities with extended data
        # have it too (ACEB10); a paper space entity names its viewport.
        e['paper_space'] = bool(extra & X_VIEWPORT)
        if extra & X_EED:
            e['xdata'] = self.eed(c)
        e['color'] = c.rcd() if flag & F_COLOR else 256
        if flag & F_LTYPE:
            e['ltype_index'] = c.rsd()
        elev = 0.0
        if flag & F_ELEVATION and e['type'] not in ('LINE', 'POINT', '3DFACE'):
            elev = c.rd()
        if flag & F_THICKNESS:
            e['thickness'] = c.rd()
        if flag & F_HANDLE:
            e['handle'] = c.take(c.rc()).hex().upper()
        if extra & X_VIEWPORT:
            c.rs()
        e['follow'] = bool(flag & F_FOLLOW)
        e['checked_end'] = True
        kind, p = e['type'], e['points']
        if kind == 'LINE':
            if flag & F_ELEVATION:
                p += [c.pt2(), c.pt2()]
                e['checked_end'] = False  # some writers leave 16 more bytes here
            else:
                p += [c.pt3(), c.pt3()]
            if opts & 1:
                e['extrusion'] = c.pt3()
        elif kind == 'POINT':
            x, y = c.unpack('2d')
            p.append((x, y, 0.0 if flag & F_ELEVATION else c.rd()))
            if opts & 1:
                e['extrusion'] = c.pt3()
            if opts & 2:
                c.rd()
        elif kind in ('CIRCLE', 'ARC'):
            x, y, e['radius'] = c.unpack('3d')
            if kind == 'ARC':
                e['angles'] = c.unpack('2d')
            if opts & 1:
                e['extrusion'] = c.pt3()
            p.append((x, y, c.rd() if opts & 2 else elev))
        elif kind in ('SOLID', 'TRACE'):
            corners = [c.unpack('2d') for _ in range(4)]
            if opts & 1:
                e['extrusion'] = c.pt3()
            z = c.rd() if opts & 2 else elev
            p += [(x, y, z) for x, y in corners]
        elif kind == '3DFACE':
            p += [c.pt2() if flag & F_ELEVATION else c.pt3() for _ in range(4)]
            if opts & 1:
                c.rs()
        elif kind == '3DLINE':
            p += [c.pt3(), c.pt3()]
            if opts & 1:
                e['extrusion'] = c.pt3()
        elif kind in ('TEXT', 'ATTRIB', 'ATTDEF'):
            self.text_fields(e, c, opts, elev)
        elif kind == 'INSERT':
            e['block_index'] = c.rs()
            p.append(c.pt2(elev))
            for bit, key in ((1, 'sx'), (2, 'sy'), (4, 'rotation'), (8, 'sz')):
                if opts & bit:
                    e[key] = c.rd()
            if opts & 16:
                c.rs()
            if opts & 32:
                c.rs()
            if opts & 64:
                c.rd()
            if opts & 128:
                c.rd()
            if opts & 256:
                e['extrusion'] = c.pt3()
        elif kind == 'BLOCK':
            p.append(c.pt2(elev))
            if opts & 2:
                c.tv()
            if opts & 4:
                e['name'] = c.tv()
        elif kind == 'SEQEND':
            c.rl()
        elif kind == 'POLYLINE':
            e['elevation'] = elev
            e['flags'] = c.rc() if opts & 1 else 0
            for bit, fmt in ((2, 'd'), (4, 'd'), (8, '3d'), (16, 'H'), (32, 'H'), (64, 'H'),
                             (128, 'H'), (256, 'H')):
                if opts & bit:
                    c.unpack(fmt)
            e['checked_end'] = not opts & 0x200  # longer when its data lie in the extras
        elif kind == 'VERTEX':
            x = y = 0.0
            if not opts & 0x4000:
                x, y = c.unpack('2d')
            p.append((x, y, elev))
            for bit in (1, 2, 4):
                if opts & bit:
                    c.rd()
            e['vertex_flags'] = c.rc() if opts & 8 else 0
            if opts & 16:
                c.rd()
            e['checked_end'] = False  # face indices and more, not needed here
        elif kind == 'SHAPE':
            p.append(c.pt2(elev))
            e['checked_end'] = False
        elif kind == 'DIMENSION':
            self.dimension_fields(e, c, opts)
        elif kind != 'ENDBLK':
            e['checked_end'] = False  # VIEWPORT and older kinds: only the common part

    @staticmethod
    def dimension_fields(e, c, opts):
        e['block_index'] = c.rs()
        p = e['points']
        p.append(c.pt3())
        p.append(c.pt2(p[0][2]))  # the text's middle, at the height of the definition point
        if opts & 1:
            p.append(c.pt2(p[0][2]))
        if opts & 2:
            e['dimflags'] = c.rc()
        if opts & 4:
            e['text'] = c.tv()
        for bit in (8, 16, 32):
            if opts & bit:
                p.append(c.pt3())
        if opts & 64:
            p.append(c.pt2(p[0][2]))
        e['checked_end'] = False  # angles, lengths and the style follow by kind

    @staticmethod
    def text_fields(e, c, opts, elev):
        kind = e['type']
        e['points'].append(c.pt2(elev))
        e['height'] = c.rd()
        e['text'] = c.tv()
        if kind == 'ATTDEF':
            e['prompt'] = c.tv()
        if kind != 'TEXT':
            e['tag'] = c.tv()
            e['attflags'] = c.rc()
        shift = 0 if kind == 'TEXT' else 1  # attributes number their options one bit higher
        if opts & (1 << shift):
            e['rotation'] = c.rd()
        if opts & (2 << shift):
            c.rd()
        if opts & (4 << shift):
            c.rd()
        if opts & (8 << shift):
            e['style_index'] = c.rc()
        if opts & (16 << shift):
            c.rc()
        e['halign'] = c.rc() if opts & (32 << shift) else 0
        if opts & (64 << shift):
            e['align_point'] = c.pt2(elev)
        if opts & (128 << shift):
            e['extrusion'] = c.pt3()
        e['valign'] = c.rc() if opts & (256 << shift) else 0

    def eed(self, c):
        """Extended data as the DXF gives it: a list of (application index, [(code, value)])."""
        size = c.rs()
        sub = Cursor(c.take(size), 0, size)
        apps, groups = [], None
        while sub.pos < sub.end:
            code = sub.rc()
            if code == 1:
                groups = []
                apps.append((sub.rs(), groups))
                continue
            if groups is None:
                raise Short('extended data before its application name')
            if code in (0, 4):
                raw = sub.take(sub.rc())
                value = decode(raw) if code == 0 else raw.hex().upper()
            elif code == 2:
                value = '}' if sub.rc() else '{'
            elif code == 3:
                value = ('layer', sub.rs())
            elif code == 5:
                value = sub.take(8).hex().upper().lstrip('0') or '0'
            elif 10 <= code <= 15:
                value = sub.pt3()
            elif code in (40, 41, 42):
                value = sub.rd()
            elif code == 70:
                value = sub.rsd()
            elif code == 71:
                value = sub.unpack('i')[0]
            else:
                raise Short('unknown extended data code %d' % (1000 + code))
            groups.append((1000 + code, value))
        return apps

    def result(self, sections):
        layers = self.tables['LAYER']
        names = {t: [r.get('name', '') for r in self.tables[t]] for t in TABLES}
        # An anonymous block stored as "*D" is "*D<its record number>" in the DXF.
        names['BLOCK'] = [n + str(i) if len(n) == 2 and n[0] == '*' and n[1].isalpha() else n
                          for i, n in enumerate(names['BLOCK'])]
        ltypes = names['LTYPE']

        def name_of(table, index, what):
            if index is None:
                return None
            if 0 <= index < len(names[table]):
                return names[table][index]
            self.problem('%s index %d points to no %s record' % (what, index, table))
            return '?%d' % index

        def resolve(e):
            if e.get('layer_index') is not None:
                e['layer'] = name_of('LAYER', e['layer_index'], e['type'] + ' layer')
            if 'block_index' in e:
                e['block'] = name_of('BLOCK', e['block_index'], 'INSERT block')
            if 'style_index' in e:
                e['style'] = name_of('STYLE', e['style_index'], e['type'] + ' style')
            if 'xdata' in e:
                e['xdata'] = [[name_of('APPID', i, 'extended data application'),
                               [(code, name_of('LAYER', v[1], 'extended data layer'))
                                if code == 1003 else (code, v) for code, v in groups]]
                              for i, groups in e['xdata']]

        for entities in sections.values():
            for e in entities:
                resolve(e)
        self.block_names = names['BLOCK']
        blocks = self.group_blocks(sections.get('blocks', []))
        drawing = {
            'layers': [{'name': r['name'], 'color': r.get('color', 7),
                        'ltype': name_of('LTYPE', r.get('ltype_index'), 'layer line type')
                        if r.get('ltype_index') is not None and r.get('ltype_index') >= 0
                        else None} for r in layers],
            'styles': [{'name': r['name'], 'font': r.get('font', '')}
                       for r in self.tables['STYLE']],
            'ltypes': ltypes, 'appids': names['APPID'],
            'block_records': names['BLOCK'],
            'model': self.nest([e for e in sections.get('model', []) if not e.get('deleted')
                                and not e.get('paper_space')]),
            'paper': self.nest([e for e in sections.get('model', []) if not e.get('deleted')
                                and e.get('paper_space')]),
            'blocks': blocks,
            'extras': self.nest(sections.get('extras', [])),
            'problems': self.problems,
        }
        return drawing

    def group_blocks(self, entities):
        blocks, current = {}, None
        for e in entities:
            if e.get('deleted'):
                continue
            if e['type'] == 'BLOCK':
                name = self.block_name_at(e['at'], e.get('name'))
                current = blocks.setdefault(name, [])
            elif e['type'] == 'ENDBLK':
                current = None
            elif current is None:
                self.problem('block entity %s at %#x is outside any BLOCK' % (e['type'], e['at']))
            else:
                current.append(e)
        return {name: self.nest(ents) for name, ents in blocks.items()}

    def block_name_at(self, at, stored):
        """The name of the block table record pointing at this BLOCK, else its own."""
        blk_start = struct.unpack_from('<I', self.data, 0x1C)[0]
        for i, r in enumerate(self.tables['BLOCK']):
            if (r.get('offset', -1) & 0x3FFFFFFF) == at - blk_start:
                return self.block_names[i]
        self.problem('BLOCK at %#x is in no block table record' % at)
        return stored or '?%#x' % at

    def nest(self, entities):
        """VERTEX and SEQEND go with their POLYLINE, ATTRIB and SEQEND with their INSERT."""
        out, i = [], 0
        while i < len(entities):
            e = entities[i]
            i += 1
            if e['type'] in ('VERTEX', 'ATTRIB', 'SEQEND'):
                self.problem('%s at %#x follows no POLYLINE or INSERT' % (e['type'], e['at']))
                continue
            if e['type'] in ('POLYLINE', 'INSERT') and e.get('follow'):
                sub = 'VERTEX' if e['type'] == 'POLYLINE' else 'ATTRIB'
                key = 'vertices' if sub == 'VERTEX' else 'attribs'
                e[key] = []
                while i < len(entities) and entities[i]['type'] == sub:
                    e[key].append(entities[i])
                    i += 1
                if i < len(entities) and entities[i]['type'] == 'SEQEND':
                    i += 1
                else:
                    self.problem('%s at %#x has no SEQEND' % (e['type'], e['at']))
            out.append(e)
        return out


def read(path):
    """The drawing as a dictionary, with 'problems' listing every flaw found."""
    with open(path, 'rb') as f:
        return Reader(f.read()).read()


def dxf_points(e):
    """The points drawing_compare.points_of gives for the same entity read from a DXF."""
    kind, pts = e['type'], list(e['points'])
    if kind in ('TEXT', 'ATTRIB') and (e.get('halign') or e.get('valign')) \
            and 'align_point' in e:
        pts = [e['align_point']]
    if kind == 'POLYLINE':
        elevation = e.get('elevation', 0.0)
        flat = not e.get('flags', 0) & (8 | 16 | 64)
        # The vertices of a 2D polyline keep its elevation as their z; a DXF may give them 0.
        vertices = [(x, y, 0.0) if flat and z == elevation else (x, y, z)
                    for x, y, z in (v['points'][0] for v in e.get('vertices', []))]
        pts = [(0.0, 0.0, elevation)] + vertices
    if kind == 'INSERT':
        pts += [a['points'][0] for a in e.get('attribs', [])]
    if 'extrusion' in e:
        pts.append(tuple(e['extrusion']))
    return [tuple(float(v) for v in p) for p in pts]


def xdata_tags(app, groups):
    """The groups as ezdxf gives them: (code, str(value)), the application name first."""
    out = [(1001, app)]
    for code, value in groups:
        if isinstance(value, tuple) and len(value) == 3 and code != 1003:
            value = '(%r, %r, %r)' % value
        out.append((code, str(value)))
    return tuple(out)


def content(path):
    """The structure drawing_compare.content(path, with_tables=True) gives for a DXF.
    Release 12 keeps layer, style and block names in upper case, so are they compared."""
    d = read(path)
    c = {'entities': collections.Counter(), 'blocks': {}, 'attribs': collections.Counter(),
         'xdata': collections.Counter(), 'points': collections.defaultdict(list),
         'texts': collections.Counter(), 'hatches': collections.Counter()}
    c['layers'] = collections.Counter((r['name'].upper(), abs(r['color'])) for r in d['layers']
                                      if r['name'].upper() != 'DEFPOINTS')
    c['styles'] = collections.Counter((r['name'].upper(), r['font'].lower()) for r in d['styles']
                                      if r['name'])
    c['appids'] = collections.Counter(n.upper() for n in d['appids'])
    for e in d['model']:
        kind = e['type']
        c['entities'][(kind, (e.get('layer') or '').upper())] += 1
        if kind == 'TEXT':
            c['texts'][e['text']] += 1
        c['points'][kind] += dxf_points(e)
        for a in e.get('attribs', []):
            c['attribs'][(a['tag'], a['text'])] += 1
        for app, groups in e.get('xdata', []):
            c['xdata'][(kind, app, xdata_tags(app, groups))] += 1
    for name, ents in d['blocks'].items():
        if name.lower().startswith(('*model_space', '*paper_space', '$model_space',
                                    '$paper_space')):
            continue
        c['blocks'][name.upper()] = collections.Counter(e['type'] for e in ents)
    for kind in c['points']:
        c['points'][kind].sort()
    return c, d['problems']


def summary(d):
    def brief(e):
        out = {k: v for k, v in e.items() if k not in ('at', 'layer_index', 'block_index',
                                                       'style_index', 'checked_end', 'follow',
                                                       'deleted', 'paper_space', 'flag')}
        for key in ('vertices', 'attribs'):
            if key in out:
                out[key] = [brief(v) for v in out[key]]
        return out

    return {'layers': d['layers'], 'styles': d['styles'], 'ltypes': d['ltypes'],
            'appids': d['appids'], 'block_records': d['block_records'],
            'model': [brief(e) for e in d['model']],
            'paper': collections.Counter(e['type'] for e in d['paper']),
            'blocks': {n: [brief(e) for e in ents] for n, ents in d['blocks'].items()},
            'extras': collections.Counter(e['type'] for e in d['extras']),
            'problems': d['problems']}


def compare(pairs):
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import drawing_compare as dc
    dc.TOLERANCE['exact'] = True
    for dxf, dwg in pairs:
        b, problems = content(dwg)
        diff = dc.differences(dc.content(dxf, with_tables=True), b)
        diff += ['problem: ' + p for p in problems]
        print(dxf, dwg, ('DWG differ: ' + '; '.join(d[:600] for d in diff)) if diff
              else 'DWG same')
    return 0


def main(args):
    if len(args) >= 3 and args[0] == '--compare' and len(args) % 2 == 1:
        return compare(list(zip(args[1::2], args[2::2])))
    if len(args) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    d = read(args[0])
    print(json.dumps(summary(d), indent=1, default=str))
    return 1 if d['problems'] else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
