// The symbol tables as data: each table's name, record subclass, releases and record fields
// (group code, value type, the slot of the record view it comes from, releases). The DXF
// writer walks these; the DWG writers are to walk the same ones.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tsn {

enum class RecordValue : std::uint8_t {
  flags,     // 70 of the record
  real,      // reals[slot]
  integer,   // ints[slot]
  text,      // texts[slot]
  hex,       // a handle: ref
  constant,  // the declared text
  dashes,    // 49 for every dash (and 74 0 after each in release 2000)
};

struct RecordField {
  int code;
  RecordValue type;
  int slot = 0;
  std::uint8_t releases = 7;
  std::string_view text = {};
};

// One table record as the writer sees it; what each slot holds is the table's own (see
// the declarations in table_fields.cpp).
struct RecordView {
  std::uint32_t handle = 0;
  std::string_view name;
  int flags = 0;
  std::array<double, 4> reals{};
  std::array<long, 2> ints{};
  std::array<std::string_view, 2> texts{};
  std::span<const double> dashes{};
  std::uint32_t ref = 0;
};

enum TableId : int { kVport, kLtype, kLayer, kStyle, kView, kUcs, kAppid, kDimstyle,
                     kBlockRecord, kTableCount };

struct TableDecl {
  std::string_view name, record_subclass;
  std::uint8_t releases;
  int handle_code;  // 105 for DIMSTYLE records, 5 for the others
  std::span<const RecordField> fields;
};

// The tables in output order, indexed by TableId (also the order of FixedHandles::tables).
std::span<const TableDecl> table_decls();

struct Drawing;
// The records of one table in the drawing's order (blocks: the live ones), named as
// `r2000` or an earlier release spells them.
std::vector<RecordView> table_records(const Drawing& d, int table, bool r2000);

}  // namespace tsn
