// The TABLES section: each table's frame and records, as its release has them.
#include <array>

#include "drawdb/releases.h"
#include "drawdb/save_context.h"

namespace tsn {
namespace {

// The tables in output order, with their record subclass; the index is the one of
// FixedHandles::tables.
struct TableDecl {
  std::string_view name, record_subclass;
  std::uint8_t releases;
};
constexpr std::array<TableDecl, 9> kTables{{
    {"VPORT", "AcDbViewportTableRecord", kAllReleases},
    {"LTYPE", "AcDbLinetypeTableRecord", kAllReleases},
    {"LAYER", "AcDbLayerTableRecord", kAllReleases},
    {"STYLE", "AcDbTextStyleTableRecord", kAllReleases},
    {"VIEW", "AcDbViewTableRecord", kAllReleases},
    {"UCS", "AcDbUCSTableRecord", kAllReleases},
    {"APPID", "AcDbRegAppTableRecord", kAllReleases},
    {"DIMSTYLE", "AcDbDimStyleTableRecord", kAllReleases},
    {"BLOCK_RECORD", "AcDbBlockTableRecord", kR14On},
}};
enum { kVport, kLtype, kLayer, kStyle, kView, kUcs, kAppid, kDimstyle, kBlockRecord };

void begin_table(SaveContext& c, int t, std::size_t count) {
  DxfOut& o = c.out;
  o.group(0, "TABLE");
  o.group(2, kTables[t].name);
  if (!c.r12()) o.hex(5, c.d.fixed.tables[t]);
  if (c.r2000()) o.hex(330, 0);
  if (!c.r12()) o.group(100, "AcDbSymbolTable");
  o.integer(70, static_cast<long>(count));
  if (c.r2000() && t == kDimstyle) o.group(100, "AcDbDimStyleTable");
}

void begin_record(SaveContext& c, int t, std::uint32_t handle, std::string_view name,
                  int flags) {
  DxfOut& o = c.out;
  o.group(0, kTables[t].name);
  if (!c.r12()) {
    o.hex(t == kDimstyle ? 105 : 5, handle);
    if (c.r2000()) o.hex(330, c.d.fixed.tables[t]);
    o.group(100, "AcDbSymbolTableRecord");
    o.group(100, kTables[t].record_subclass);
  }
  o.group(2, name);
  if (t != kBlockRecord) o.integer(70, flags);
}

void write_vport(SaveContext& c) {
  const DbVport& v = c.d.vport;
  DxfOut& o = c.out;
  begin_record(c, kVport, c.d.fixed.vport, "*ACTIVE", 0);
  o.point2(10, 0.0, 0.0);
  o.point2(11, 1.0, 1.0);
  o.point2(12, v.centre[0], v.centre[1]);
  o.point2(13, 0.0, 0.0);
  o.point2(14, 1.0, 1.0);
  o.point2(15, 0.0, 0.0);
  const double direction[3] = {0.0, 0.0, 1.0}, target[3] = {0.0, 0.0, 0.0};
  o.point3(16, direction);
  o.point3(17, target);
  o.real(40, v.height);
  o.real(41, v.aspect);
  o.real(42, 50.0);
  o.real(43, 0.0);
  o.real(44, 0.0);
  o.real(50, 0.0);
  o.real(51, 0.0);
  for (const auto& [code, value] : std::array<std::pair<int, int>, 8>{
           {{71, 0}, {72, 100}, {73, 1}, {74, 3}, {75, 0}, {76, 0}, {77, 0}, {78, 0}}}) {
    o.integer(code, value);
  }
}

void write_linetypes(SaveContext& c) {
  begin_table(c, kLtype, c.d.linetypes.size());
  for (const LinetypeRec& lt : c.d.linetypes) {
    begin_record(c, kLtype, lt.handle, lt.name, 0);
    c.out.group(3, lt.description);
    c.out.integer(72, 65);
    c.out.integer(73, static_cast<long>(lt.dashes.size()));
    double total = 0.0;
    for (const double dash : lt.dashes) total += dash < 0 ? -dash : dash;
    c.out.real(40, total);
    for (const double dash : lt.dashes) {
      c.out.real(49, dash);
      if (c.r2000()) c.out.integer(74, 0);
    }
  }
  c.out.group(0, "ENDTAB");
}

void write_layers(SaveContext& c) {
  begin_table(c, kLayer, c.d.layers.size());
  for (const LayerRec& l : c.d.layers) {
    begin_record(c, kLayer, l.handle, c.d.strings.get(l.name), l.flags);
    c.out.integer(62, l.colour);
    c.out.group(6, c.d.linetypes[l.linetype].name);
  }
  c.out.group(0, "ENDTAB");
}

void write_styles(SaveContext& c) {
  begin_table(c, kStyle, c.d.styles.size());
  for (const StyleRec& s : c.d.styles) {
    begin_record(c, kStyle, s.handle, s.name, s.flags);
    c.out.real(40, s.height);
    c.out.real(41, s.width_factor);
    c.out.real(50, 0.0);
    c.out.integer(71, 0);
    c.out.real(42, s.height > 0.0 ? s.height : 2.5);
    c.out.group(3, s.font);
    c.out.group(4, "");
  }
  c.out.group(0, "ENDTAB");
}

void write_block_records(SaveContext& c) {
  if (c.r12()) return;
  std::size_t live = 0;
  for (const BlockRec& b : c.d.blocks) live += b.deleted ? 0 : 1;
  begin_table(c, kBlockRecord, live);
  for (std::uint32_t i = 0; i < c.d.blocks.size(); ++i) {
    const BlockRec& b = c.d.blocks[i];
    if (b.deleted) continue;
    begin_record(c, kBlockRecord, b.handle, block_name(c, i), 0);
    if (!c.r2000()) continue;
    c.out.hex(340, b.layout);
    c.out.integer(70, 0);
    c.out.integer(280, 1);
    c.out.integer(281, 0);
  }
  c.out.group(0, "ENDTAB");
}

}  // namespace

void write_tables_section(SaveContext& c) {
  c.out.group(0, "SECTION");
  c.out.group(2, "TABLES");
  begin_table(c, kVport, 1);
  write_vport(c);
  c.out.group(0, "ENDTAB");
  write_linetypes(c);
  write_layers(c);
  write_styles(c);
  for (const int t : {kView, kUcs}) {
    begin_table(c, t, 0);
    c.out.group(0, "ENDTAB");
  }
  begin_table(c, kAppid, c.d.regapps.size());
  for (const RegappRec& a : c.d.regapps) begin_record(c, kAppid, a.handle, a.name, a.flags);
  c.out.group(0, "ENDTAB");
  begin_table(c, kDimstyle, 1);
  begin_record(c, kDimstyle, c.d.fixed.dimstyle, "STANDARD", 0);
  c.out.group(0, "ENDTAB");
  write_block_records(c);
  c.out.group(0, "ENDSEC");
}

}  // namespace tsn
