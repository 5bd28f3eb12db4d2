// The entity kinds' own data as a binary drawing stores it: per kind its type and its fields in
// file order, each with the encoding, the record slot it comes from and the releases it exists
// in. The slots are the ones the DXF declarations use, so both writers read the same record.
#pragma once

#include <cstdint>
#include <span>

#include "drawdb/entity_fields.h"

namespace tsn::dwg {

enum class Bits : std::uint8_t {
  bd, bs, rc,           // one value of the slot (integers from the integer slots)
  angle,                // BD in radians of a slot in degrees
  point3,               // 3BD
  point2,               // 2RD of the slot's x and y
  z_bd,                 // BD of the slot's z
  text,                 // T of a string slot
  zero_bd,              // BD 0.0 (an angle or width the program never sets)
  thickness,            // BT 0.0
  extrusion,            // BE (0, 0, 1)
  extrusion3,           // 3BD (0, 0, 1)
  line_ends,            // the two ends of a line (p0, p1), as the release stores them
  face_corners,         // the four corners of a 3D face and its edge flags
  text_body,            // what TEXT, ATTRIB and ATTDEF share, as the release stores it
  insert_scale,         // the three scale factors of an INSERT
  has_attribs,          // B: attributes follow the INSERT
  // Release 12 forms: raw values; an optional one is written, with its bit in the record's
  // option word, only where it differs from the format's default.
  r12_rd,               // RD of a real slot
  r12_rd2,              // 2RD of a point slot's x and y
  r12_rd3,              // 3RD of a point slot
  r12_angle,            // RD in radians of a slot in degrees
  r12_rc,               // RC of an integer slot
  r12_rs,               // RS of an integer slot
  r12_tv,               // RS length and the bytes of a string slot
  r12_style,            // RC index of the text style
  r12_block,            // RS index of the inserted block
  r12_align,            // 2RD alignment point of a justified text
};

struct DwgField {
  Bits bits;
  Slot slot = Slot::none;
  std::uint8_t releases = 6;  // kR14 | kR2000
  std::uint16_t option = 0;    // release 12: the option bit of an optional field, 0 for always
  double fallback = 0.0;       // release 12: the default an optional field is left out at
};

// The handle references a kind adds after the common entity handles.
enum class DwgRefs : std::uint8_t { none, style, insert, polyline };

struct DwgKind {
  int type;  // the database's entity type
  std::uint16_t dwg_type;  // 0: given by the save (a class number in release 14)
  std::span<const DwgField> fields;
  DwgRefs refs;
  // Release 12 keeps the z of a kind whose body is two-dimensional as the record's elevation.
  bool r12_elevation = false;
};

// The kind of a stored entity type, or nullptr for one written by its own code (polylines,
// hatches) or not at all.
const DwgKind* find_dwg_kind(int type);

}  // namespace tsn::dwg
