// The symbol tables of a binary drawing: each table's control object and its records.
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "drawdb/dwg_save.h"
#include "drawdb/releases.h"
#include "drawdb/table_fields.h"

namespace tsn::dwg {
namespace {

// How a record field is stored. Its value is the table declaration's field of the same
// group code (a point's Y and Z codes are 10 and 20 above its X code), or the fallback when
// the text format has no such field. `flag_bit` writes whether the record flags have the
// bits of `code`; `width` is the view height (40) times the aspect (41).
enum class Enc : std::uint8_t { b, bb, bits4, rc, bs, bd, rd2, bd3, t, cmc, flag_bit, width };

struct DwgField {
  Enc enc;
  int code;
  std::array<double, 3> fallback{};
  std::uint8_t releases = kR14On;
};

constexpr std::uint8_t k14 = kR14, k2k = kR2000;

constexpr DwgField kVportFields[] = {
    {Enc::bd, 40}, {Enc::width, 0}, {Enc::rd2, 12}, {Enc::bd3, 17}, {Enc::bd3, 16},
    {Enc::bd, 51}, {Enc::bd, 42}, {Enc::bd, 43}, {Enc::bd, 44}, {Enc::bits4, 71},
    {Enc::rc, 281, {}, k2k},  // render mode
    {Enc::rd2, 10}, {Enc::rd2, 11}, {Enc::b, 0},  // UCSFOLLOW
    {Enc::bs, 72}, {Enc::b, 73}, {Enc::bb, 74}, {Enc::b, 76}, {Enc::rd2, 15}, {Enc::b, 75},
    {Enc::b, 77}, {Enc::bs, 78}, {Enc::bd, 50}, {Enc::rd2, 13}, {Enc::rd2, 14},
    {Enc::b, 0, {}, k2k}, {Enc::b, 65, {1}, k2k},  // unknown, UCS saved with the viewport
    {Enc::bd3, 110, {}, k2k}, {Enc::bd3, 111, {1, 0, 0}, k2k}, {Enc::bd3, 112, {0, 1, 0}, k2k},
    {Enc::bd, 146, {}, k2k}, {Enc::bs, 79, {}, k2k}};

constexpr DwgField kLtypeFields[] = {{Enc::t, 3}, {Enc::bd, 40}, {Enc::rc, 72}, {Enc::rc, 73}};

// Bits 1, 4: a shape file, vertical text.
constexpr DwgField kStyleFields[] = {{Enc::flag_bit, 1}, {Enc::flag_bit, 4}, {Enc::bd, 40},
                                     {Enc::bd, 41},      {Enc::bd, 50},      {Enc::rc, 71},
                                     {Enc::bd, 42},      {Enc::t, 3},        {Enc::t, 4}};

constexpr DwgField kAppidFields[] = {{Enc::rc, 71}};

// The dimension variables of STANDARD, at their usual (inch) defaults; release 14 and 2000
// store them in different orders and partly in different forms.
constexpr DwgField kDimstyleFields[] = {
    {Enc::b, 71, {}, k14}, {Enc::b, 72, {}, k14}, {Enc::b, 73, {1}, k14}, {Enc::b, 74, {1}, k14},
    {Enc::b, 75, {}, k14}, {Enc::b, 76, {}, k14}, {Enc::b, 170, {}, k14}, {Enc::b, 172, {}, k14},
    {Enc::b, 173, {}, k14}, {Enc::b, 174, {}, k14}, {Enc::b, 175, {}, k14},
    {Enc::rc, 171, {2}, k14}, {Enc::rc, 78, {}, k14}, {Enc::b, 281, {}, k14},
    {Enc::b, 282, {}, k14}, {Enc::rc, 283, {1}, k14}, {Enc::rc, 280, {}, k14},
    {Enc::rc, 287, {3}, k14}, {Enc::b, 288, {}, k14}, {Enc::rc, 284, {}, k14},
    {Enc::rc, 285, {}, k14}, {Enc::rc, 286, {}, k14}, {Enc::rc, 77, {}, k14},
    {Enc::bs, 270, {2}, k14}, {Enc::bs, 275, {}, k14}, {Enc::bs, 271, {4}, k14},
    {Enc::bs, 272, {4}, k14}, {Enc::bs, 273, {2}, k14}, {Enc::bs, 274, {2}, k14},
    {Enc::t, 3, {}, k2k}, {Enc::t, 4, {}, k2k},
    {Enc::bd, 40, {1}}, {Enc::bd, 41, {0.18}}, {Enc::bd, 42, {0.0625}}, {Enc::bd, 43, {0.38}},
    {Enc::bd, 44, {0.18}}, {Enc::bd, 45}, {Enc::bd, 46}, {Enc::bd, 47}, {Enc::bd, 48},
    {Enc::b, 71, {}, k2k}, {Enc::b, 72, {}, k2k}, {Enc::b, 73, {1}, k2k}, {Enc::b, 74, {1}, k2k},
    {Enc::b, 75, {}, k2k}, {Enc::b, 76, {}, k2k}, {Enc::bs, 77, {}, k2k}, {Enc::bs, 78, {}, k2k},
    {Enc::bs, 79, {}, k2k},
    {Enc::bd, 140, {0.18}}, {Enc::bd, 141, {0.09}}, {Enc::bd, 142}, {Enc::bd, 143, {25.4}},
    {Enc::bd, 144, {1}}, {Enc::bd, 145}, {Enc::bd, 146, {1}}, {Enc::bd, 147, {0.09}},
    {Enc::t, 3, {}, k14}, {Enc::t, 4, {}, k14}, {Enc::t, 5, {}, k14}, {Enc::t, 6, {}, k14},
    {Enc::t, 7, {}, k14}, {Enc::cmc, 176, {}, k14}, {Enc::cmc, 177, {}, k14},
    {Enc::cmc, 178, {}, k14},
    {Enc::bd, 148, {}, k2k}, {Enc::b, 170, {}, k2k}, {Enc::bs, 171, {2}, k2k},
    {Enc::b, 172, {}, k2k}, {Enc::b, 173, {}, k2k}, {Enc::b, 174, {}, k2k}, {Enc::b, 175, {}, k2k},
    {Enc::cmc, 176, {}, k2k}, {Enc::cmc, 177, {}, k2k}, {Enc::cmc, 178, {}, k2k},
    {Enc::bs, 179, {}, k2k}, {Enc::bs, 271, {4}, k2k}, {Enc::bs, 272, {4}, k2k},
    {Enc::bs, 273, {2}, k2k}, {Enc::bs, 274, {2}, k2k}, {Enc::bs, 275, {}, k2k},
    {Enc::bs, 276, {}, k2k}, {Enc::bs, 277, {2}, k2k}, {Enc::bs, 278, {'.'}, k2k},
    {Enc::bs, 279, {}, k2k}, {Enc::bs, 280, {}, k2k}, {Enc::b, 281, {}, k2k},
    {Enc::b, 282, {}, k2k}, {Enc::bs, 283, {1}, k2k}, {Enc::bs, 284, {}, k2k},
    {Enc::bs, 285, {}, k2k}, {Enc::bs, 286, {}, k2k}, {Enc::b, 288, {}, k2k},
    {Enc::bs, 289, {3}, k2k}, {Enc::bs, 371, {-2}, k2k}, {Enc::bs, 372, {-2}, k2k},
    {Enc::flag_bit, 1}};

struct TableTypes {
  std::uint16_t control, record;
};
// By TableId.
constexpr TableTypes kTypes[kTableCount] = {
    {kTypeVportControl, kTypeVport}, {kTypeLtypeControl, kTypeLtype},
    {kTypeLayerControl, kTypeLayer}, {kTypeStyleControl, kTypeStyle},
    {kTypeViewControl, kTypeView},   {kTypeUcsControl, kTypeUcs},
    {kTypeAppidControl, kTypeAppid}, {kTypeDimstyleControl, kTypeDimstyle},
    {kTypeBlockControl, kTypeBlockHeader}};

const RecordField* declared(const TableDecl& t, int code) {
  for (const RecordField& f : t.fields) {
    if (f.code == code) return &f;
  }
  return nullptr;
}

double number(const TableDecl& t, const RecordView& v, int code, double fallback) {
  const RecordField* f = code == 0 ? nullptr : declared(t, code);
  if (f == nullptr) return fallback;
  switch (f->type) {
    case RecordValue::flags: return v.flags;
    case RecordValue::real: return v.reals[static_cast<std::size_t>(f->slot)];
    case RecordValue::integer: return static_cast<double>(v.ints[static_cast<std::size_t>(f->slot)]);
    case RecordValue::constant: {
      double out = fallback;
      std::from_chars(f->text.data(), f->text.data() + f->text.size(), out);
      return out;
    }
    default: return fallback;
  }
}

std::string_view text(const TableDecl& t, const RecordView& v, int code) {
  const RecordField* f = declared(t, code);
  if (f == nullptr) return {};
  if (f->type == RecordValue::text) return v.texts[static_cast<std::size_t>(f->slot)];
  return f->type == RecordValue::constant ? f->text : std::string_view{};
}

std::uint16_t short_of(double v) {
  return static_cast<std::uint16_t>(static_cast<int>(v));
}

void write_fields(DwgSave& s, std::span<const DwgField> fields, const TableDecl& t,
                  const RecordView& v) {
  BitWriter& w = s.object.data();
  const std::uint8_t release = s.r2000 ? kR2000 : kR14;
  for (const DwgField& f : fields) {
    if ((f.releases & release) == 0) continue;
    const auto at = [&](int offset) {
      return number(t, v, f.code == 0 ? 0 : f.code + offset,
                    f.fallback[static_cast<std::size_t>(offset / 10)]);
    };
    switch (f.enc) {
      case Enc::b: write_b(w, at(0) != 0.0); break;
      case Enc::bb: write_bb(w, static_cast<unsigned>(at(0)) & 3u); break;
      case Enc::bits4: write_bits(w, static_cast<unsigned>(at(0)) & 15u, 4); break;
      case Enc::rc: write_rc(w, static_cast<std::uint8_t>(static_cast<int>(at(0)))); break;
      case Enc::bs: write_bs(w, short_of(at(0))); break;
      case Enc::cmc: write_cmc(w, short_of(at(0))); break;
      case Enc::bd: write_bd(w, at(0)); break;
      case Enc::rd2: write_2rd(w, at(0), at(10)); break;
      case Enc::bd3: write_3bd(w, {at(0), at(10), at(20)}); break;
      case Enc::t: write_t(w, text(t, v, f.code)); break;
      case Enc::flag_bit: write_b(w, (v.flags & f.code) != 0); break;
      case Enc::width: write_bd(w, number(t, v, 40, 1.0) * number(t, v, 41, 1.0)); break;
    }
  }
}

// The opening every record shares: name, referenced-by-xref (flag 64), xref index + 1,
// xref-dependent (flag 16).
void record_start(DwgSave& s, int table, const RecordView& v) {
  s.object.begin_object(kTypes[table].record, v.handle, s.d.fixed.tables[table]);
  BitWriter& w = s.object.data();
  write_t(w, v.name);
  write_b(w, (v.flags & 64) != 0);
  write_bs(w, 0);
  write_b(w, (v.flags & 16) != 0);
}

void write_layer(DwgSave& s, const TableDecl& t, const RecordView& v, const LayerRec& l) {
  record_start(s, kLayer, v);
  BitWriter& w = s.object.data();
  const bool off = l.colour < 0;
  if (s.r2000) {
    // Frozen 1, off 2, frozen in new viewports 4, locked 8, plotted 16, line weight index
    // (31: the default) in bits 5 to 9.
    unsigned bits = (l.flags & 1) | (off ? 2u : 0u) | ((l.flags & 2) << 1) | ((l.flags & 4) << 1);
    write_bs(w, static_cast<std::uint16_t>(bits | 16u | (31u << 5)));
  } else {
    // Frozen, off (AutoCAD's own release 14 files hold 0 here for layers that are on),
    // frozen in new viewports, locked.
    write_b(w, (l.flags & 1) != 0);
    write_b(w, off);
    write_b(w, (l.flags & 2) != 0);
    write_b(w, (l.flags & 4) != 0);
  }
  write_cmc(w, short_of(number(t, v, 62, 7)));
  s.object.handle(kHardPointer, 0);  // no xref block
  if (s.r2000) s.object.handle(kHardPointer, s.d.fixed.placeholder);  // plot style "Normal"
  s.object.handle(kHardPointer, s.d.linetypes[l.linetype].handle);
  s.add_object(v.handle);
}

void write_ltype(DwgSave& s, const TableDecl& t, const RecordView& v) {
  record_start(s, kLtype, v);
  write_fields(s, kLtypeFields, t, v);
  BitWriter& w = s.object.data();
  for (const double dash : v.dashes) {
    write_bd(w, dash);
    write_bs(w, 0);      // no shape
    write_rd(w, 0.0);    // shape offset x, y
    write_rd(w, 0.0);
    write_bd(w, 1.0);    // scale
    write_bd(w, 0.0);    // rotation
    write_bs(w, 0);      // shape flags
  }
  for (int i = 0; i < 256; ++i) write_rc(w, 0);  // text area of complex line types
  s.object.handle(kHardPointer, 0);
  for (std::size_t i = 0; i < v.dashes.size(); ++i) s.object.handle(kHardPointer, 0);
  s.add_object(v.handle);
}


// VPORT, STYLE, APPID and DIMSTYLE: the fields, then the null xref block.
void write_plain_record(DwgSave& s, int table, const TableDecl& t, const RecordView& v) {
  record_start(s, table, v);
  switch (table) {
    case kVport: write_fields(s, kVportFields, t, v); break;
    case kStyle: write_fields(s, kStyleFields, t, v); break;
    case kAppid: write_fields(s, kAppidFields, t, v); break;
    case kDimstyle: write_fields(s, kDimstyleFields, t, v); break;
    default: break;
  }
  s.object.handle(kHardPointer, 0);
  if (table == kVport && s.r2000) {
    s.object.handle(kHardPointer, 0);  // named UCS
    s.object.handle(kHardPointer, 0);  // base UCS
  }
  if (table == kDimstyle) {
    s.object.handle(kHardPointer, style_handle(s.d, "STANDARD"));
    if (s.r2000) {
      for (int i = 0; i < 4; ++i) s.object.handle(kHardPointer, 0);  // default arrow blocks
    }
  }
  s.add_object(v.handle);
}

void write_block_record(DwgSave& s, std::uint32_t index, const RecordView& v) {
  const BlockRec& b = s.d.blocks[index];
  record_start(s, kBlockRecord, v);
  BitWriter& w = s.object.data();
  // Anonymous 1, has attributes 2, external reference 4, overlaid 8, (2000) resolved 32.
  for (const int bit : {1, 2, 4, 8}) write_b(w, (b.flags & bit) != 0);
  if (s.r2000) write_b(w, (b.flags & 32) != 0);
  write_3bd(w, b.base);
  write_t(w, "");  // xref path
  if (s.r2000) {
    write_rc(w, 0);  // no inserts
    write_t(w, "");  // description
    write_bl(w, 0);  // no preview
  }
  s.object.handle(kHardPointer, 0);
  s.object.handle(kHardOwner, b.begin_handle);
  if ((b.flags & 12) == 0) {
    const auto [first, last] = block_entity_range(s.d, index);
    s.object.handle(kSoftPointer, first);
    s.object.handle(kSoftPointer, last);
  }
  s.object.handle(kHardOwner, b.end_handle);
  if (s.r2000) s.object.handle(kHardPointer, b.layout);
  s.add_object(v.handle);
}

bool kept_apart(int table, const Drawing& d, const RecordView& v) {
  if (table == kBlockRecord) return v.handle == d.blocks[0].handle || v.handle == d.blocks[1].handle;
  return table == kLtype && (same_name(v.name, "BYLAYER") || same_name(v.name, "BYBLOCK"));
}


void write_control(DwgSave& s, int table, const std::vector<RecordView>& records) {
  std::vector<std::uint32_t> entries;
  for (const RecordView& v : records) {
    if (!kept_apart(table, s.d, v)) entries.push_back(v.handle);
  }
  s.object.begin_object(kTypes[table].control, s.d.fixed.tables[table], 0);
  // The entry count is a BL: readers take it so, and a BS would differ from 256 entries on.
  write_bl(s.object.data(), static_cast<std::uint32_t>(entries.size()));
  if (table == kDimstyle && s.r2000) write_rc(s.object.data(), 0);  // no further handles
  for (const std::uint32_t h : entries) s.object.handle(kSoftOwner, h);
  if (table == kBlockRecord) {
    s.object.handle(kHardOwner, s.d.blocks[0].handle);
    s.object.handle(kHardOwner, s.d.blocks[1].handle);
  }
  if (table == kLtype) {
    s.object.handle(kHardOwner, linetype_handle(s.d, "BYBLOCK"));
    s.object.handle(kHardOwner, linetype_handle(s.d, "BYLAYER"));
  }
  s.add_object(s.d.fixed.tables[table]);
}

void write_table(DwgSave& s, int table) {
  const TableDecl& t = table_decls()[static_cast<std::size_t>(table)];
  const std::vector<RecordView> records = table_records(s.d, table, s.r2000);
  write_control(s, table, records);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const RecordView& v = records[i];
    switch (table) {
      case kLayer: write_layer(s, t, v, s.d.layers[i]); break;
      case kLtype: write_ltype(s, t, v); break;
      case kBlockRecord: write_block_record(s, block_by_handle(s.d, v.handle), v); break;
      default: write_plain_record(s, table, t, v); break;
    }
  }
}

}  // namespace

void write_table_objects(DwgSave& s) {
  for (int t = 0; t < kTableCount; ++t) write_table(s, t);
  s.object.begin_object(kTypeVxControl, s.vx_control, 0);
  write_bl(s.object.data(), 0);
  s.add_object(s.vx_control);
}

}  // namespace tsn::dwg
