// The entity kinds as data: for every kind its DXF name, the releases it is written in, and its
// fields in output order (group code, value type, the record slot the value comes from, the
// releases it exists in and when it is left out). Storage takes the kinds' record layouts from
// these tables and the DXF writer walks them; the DWG writers are to walk the same ones.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tsn {

// Where a value lives in an entity record.
enum class Slot : std::uint8_t {
  none,
  p0, p1, p2, p3,                                            // points: 3 reals each
  height, width, y_scale, z_scale, rotation, elevation,     // one real each
  start_width, end_width, bulge,
  flags, follow, h_justify, v_justify, field_length, vertex_flags, closed,  // integers
  text, tag, prompt,                                         // strings
  style, block,                                              // names by reference
  count
};
inline constexpr int kSlotCount = static_cast<int>(Slot::count);

enum class FieldType : std::uint8_t {
  entity_name,    // group 0 with the kind's name for the release
  handle,         // group 5
  reactors,       // 102 {ACAD_REACTORS, 330 each, 102 }
  owner,          // 330 of the owner
  layer,          // 8
  colour,         // 62
  subclass,       // 100 with the declared text
  constant,       // the declared text as it is
  point,          // code, code+10 and by the Z rule code+20
  point3,         // always with Z
  elevation_point,  // (0, 0, elevation) by the Z rule
  elevation_point3, // the same, always with Z
  real,
  integer,
  text,
  style_name,
  block_name,
  vertex_count,   // 90 of a light-weight polyline
  lw_vertices,    // the 10/20 pairs, or VERTEX entities and SEQEND where the kind is written
                  // as a classic polyline
  poly_vertices,  // VERTEX entities and SEQEND of a classic polyline
  hatch_body,     // pattern name, flags, boundary paths, pattern lines, seed points
  xdata,          // 1001 and its items
};

enum class When : std::uint8_t { always, nonzero, not_one, justified, is_2d, is_3d };

struct FieldDecl {
  int code;
  FieldType type;
  Slot slot = Slot::none;
  std::uint8_t releases = 7;
  When when = When::always;
  std::string_view text = {};  // subclass name or constant value
};

struct EntityKind {
  int type;                    // entity type code
  std::string_view name;       // DXF name
  std::string_view r12_name;   // the name release 12 writes, when it differs
  std::uint8_t releases;       // releases the kind is written in
  // The fields in output order: a part shared with other kinds (may be empty), then its own.
  std::array<std::span<const FieldDecl>, 2> parts;
  // Position of each real slot in the record's reals, -1 when the kind has none; and their
  // number. Derived from the fields.
  std::int8_t real_offset[kSlotCount];
  std::uint8_t real_count;
};

template <typename Fn>
void for_each_field(const EntityKind& kind, Fn&& fn) {
  for (const auto part : kind.parts) {
    for (const FieldDecl& f : part) fn(f);
  }
}

// The kind of an entity type code the database stores, or nullptr.
const EntityKind* find_kind(int type);
// The fields every entity starts with, and the ones it ends with.
std::span<const FieldDecl> common_head_fields();
std::span<const FieldDecl> common_tail_fields();
// Reals a slot occupies (3 for points, 1 for single reals, 0 otherwise).
int slot_reals(Slot slot);

}  // namespace tsn
