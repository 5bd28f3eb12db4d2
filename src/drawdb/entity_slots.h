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

}  // namespace tsn
