// Where each slot of the declarations lives in the caller's entity record.
#pragma once

#include "drawdb/db_records.h"
#include "drawdb/drawing.h"
#include "drawdb/entity_fields.h"

namespace tsn {

// The first real of a point or real slot in the record; nullptr for other slots.
double* entity_reals(DbEntity& e, Slot slot);
// The integer slot index of the stored record for an integer slot, -1 otherwise.
int int_slot(Slot slot);
int* entity_int(DbEntity& e, Slot slot);
// The string field of a string slot, or nullptr.
std::string* entity_text(DbEntity& e, Slot slot);
int string_slot(Slot slot);  // 0..2 for text, tag, prompt; -1 otherwise

// A stored entity's values by slot, for the writers: its record, its kind, and the reals its
// values start at (the drawing's, or the caller's own for a record made on the fly).
struct StoredEntity {
  const Drawing& d;
  const EntityRec& rec;
  const EntityKind& kind;
  const double* values;

  // The first real of a point or real slot, or nullptr when the kind has none there.
  const double* reals(Slot slot) const {
    const int at = kind.real_offset[static_cast<int>(slot)];
    return at < 0 ? nullptr : values + at;
  }
  double real(Slot slot, double fallback = 0.0) const {
    const double* p = reals(slot);
    return p == nullptr ? fallback : *p;
  }
  DbPoint point(Slot slot) const {
    const double* p = reals(slot);
    return p == nullptr ? DbPoint{} : DbPoint{p[0], p[1], p[2]};
  }
  int integer(Slot slot) const {
    if (slot == Slot::closed) return rec.closed;
    const int i = int_slot(slot);
    return i < 0 ? 0 : rec.ints[i];
  }
  std::string_view text(Slot slot) const {
    const int i = string_slot(slot);
    return i < 0 ? std::string_view{} : d.strings.get(rec.strings[i]);
  }
  // The bulge of vertex i of a polyline with `per` reals a vertex (0 without bulges).
  double bulge(std::uint32_t per, std::uint32_t i) const {
    return rec.bulged == 0 ? 0.0 : d.reals[rec.verts + per * rec.vertex_count + i];
  }
};

}  // namespace tsn
