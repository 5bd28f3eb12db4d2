// The TABLES section: the drawing's table records as views, written by their declarations.
#include <vector>

#include "drawdb/releases.h"
#include "drawdb/save_context.h"
#include "drawdb/table_fields.h"

namespace tsn {
namespace {

std::vector<RecordView> vport_records(const Drawing& d) {
  RecordView v{d.fixed.vport, "*ACTIVE"};
  v.reals = {d.vport.centre[0], d.vport.centre[1], d.vport.height, d.vport.aspect};
  return {v};
}

std::vector<RecordView> linetype_records(const Drawing& d) {
  std::vector<RecordView> out;
  for (const LinetypeRec& lt : d.linetypes) {
    RecordView v{lt.handle, lt.name};
    v.texts[0] = lt.description;
    v.ints[0] = static_cast<long>(lt.dashes.size());
    for (const double dash : lt.dashes) v.reals[0] += dash < 0 ? -dash : dash;
    v.dashes = lt.dashes;
    out.push_back(v);
  }
  return out;
}

std::vector<RecordView> layer_records(const Drawing& d) {
  std::vector<RecordView> out;
  for (const LayerRec& l : d.layers) {
    RecordView v{l.handle, d.strings.get(l.name), l.flags};
    v.ints[0] = l.colour;
    v.texts[0] = d.linetypes[l.linetype].name;
    out.push_back(v);
  }
  return out;
}

std::vector<RecordView> style_records(const Drawing& d) {
  std::vector<RecordView> out;
  for (const StyleRec& s : d.styles) {
    RecordView v{s.handle, s.name, s.flags};
    v.reals = {s.height, s.width_factor, s.height > 0.0 ? s.height : 2.5, 0.0};
    v.texts[0] = s.font;
    out.push_back(v);
  }
  return out;
}

std::vector<RecordView> app_records(const Drawing& d) {
  std::vector<RecordView> out;
  for (const RegappRec& a : d.regapps) out.push_back({a.handle, a.name, a.flags});
  return out;
}

std::vector<RecordView> block_records(const SaveContext& c) {
  std::vector<RecordView> out;
  for (std::uint32_t i = 0; i < c.d.blocks.size(); ++i) {
    const BlockRec& b = c.d.blocks[i];
    if (b.deleted) continue;
    RecordView v{b.handle, block_name(c, i)};
    v.ref = b.layout;
    out.push_back(v);
  }
  return out;
}

std::vector<RecordView> records_of(const SaveContext& c, int table) {
  switch (table) {
    case kVport: return vport_records(c.d);
    case kLtype: return linetype_records(c.d);
    case kLayer: return layer_records(c.d);
    case kStyle: return style_records(c.d);
    case kAppid: return app_records(c.d);
    case kDimstyle: return {RecordView{c.d.fixed.dimstyle, "STANDARD"}};
    case kBlockRecord: return block_records(c);
    default: return {};  // VIEW and UCS stay empty
  }
}

void write_field(SaveContext& c, const RecordField& f, const RecordView& v) {
  DxfOut& o = c.out;
  switch (f.type) {
    case RecordValue::flags: o.integer(f.code, v.flags); break;
    case RecordValue::real: o.real(f.code, v.reals[f.slot]); break;
    case RecordValue::integer: o.integer(f.code, v.ints[f.slot]); break;
    case RecordValue::text: o.group(f.code, v.texts[f.slot]); break;
    case RecordValue::hex: o.hex(f.code, v.ref); break;
    case RecordValue::constant: o.group(f.code, f.text); break;
    case RecordValue::dashes:
      for (const double dash : v.dashes) {
        o.real(f.code, dash);
        if (c.r2000()) o.integer(74, 0);
      }
      break;
  }
}

void write_record(SaveContext& c, const TableDecl& t, int table, const RecordView& v) {
  DxfOut& o = c.out;
  o.group(0, t.name);
  if (!c.r12()) {
    o.hex(t.handle_code, v.handle);
    if (c.r2000()) o.hex(330, c.d.fixed.tables[table]);
    o.group(100, "AcDbSymbolTableRecord");
    o.group(100, t.record_subclass);
  }
  o.group(2, v.name);
  for (const RecordField& f : t.fields) {
    if ((f.releases & o.release()) != 0) write_field(c, f, v);
  }
}

void write_table(SaveContext& c, int table) {
  const TableDecl& t = table_decls()[static_cast<std::size_t>(table)];
  if ((t.releases & c.out.release()) == 0) return;
  const std::vector<RecordView> records = records_of(c, table);
  DxfOut& o = c.out;
  o.group(0, "TABLE");
  o.group(2, t.name);
  if (!c.r12()) o.hex(5, c.d.fixed.tables[table]);
  if (c.r2000()) o.hex(330, 0);
  if (!c.r12()) o.group(100, "AcDbSymbolTable");
  o.integer(70, static_cast<long>(records.size()));
  if (c.r2000() && table == kDimstyle) o.group(100, "AcDbDimStyleTable");
  for (const RecordView& v : records) write_record(c, t, table, v);
  o.group(0, "ENDTAB");
}

}  // namespace

void write_tables_section(SaveContext& c) {
  c.out.group(0, "SECTION");
  c.out.group(2, "TABLES");
  for (int t = 0; t < kTableCount; ++t) write_table(c, t);
  c.out.group(0, "ENDSEC");
}

}  // namespace tsn
