// The TABLES section: the drawing's table records as views, written by their declarations.
#include <vector>

#include "drawdb/releases.h"
#include "drawdb/save_context.h"
#include "drawdb/table_fields.h"

namespace tsn {
namespace {

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
  const std::vector<RecordView> records = table_records(c.d, table, c.r2000());
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
