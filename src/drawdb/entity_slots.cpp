// The mapping from declaration slots to the fields of DbEntity and EntityRec.
#include "drawdb/entity_slots.h"

namespace tsn {

double* entity_reals(DbEntity& e, Slot slot) {
  switch (slot) {
    case Slot::p0: return e.points[0].data();
    case Slot::p1: return e.points[1].data();
    case Slot::p2: return e.points[2].data();
    case Slot::p3: return e.points[3].data();
    case Slot::height: return &e.height;
    case Slot::width: return &e.width_factor;
    case Slot::y_scale: return &e.y_scale;
    case Slot::z_scale: return &e.z_scale;
    case Slot::rotation: return &e.rotation;
    case Slot::elevation: return &e.elevation;
    case Slot::start_width: return &e.start_width;
    case Slot::end_width: return &e.end_width;
    case Slot::bulge: return &e.bulge;
    default: return nullptr;
  }
}

int int_slot(Slot slot) {
  switch (slot) {
    case Slot::flags: return kIntFlags;
    case Slot::follow: return kIntFollow;
    case Slot::h_justify: return kIntHJust;
    case Slot::v_justify: return kIntVJust;
    case Slot::field_length: return kIntFieldLength;
    case Slot::vertex_flags: return kIntVertex;
    default: return -1;
  }
}

int* entity_int(DbEntity& e, Slot slot) {
  switch (slot) {
    case Slot::flags: return &e.flags;
    case Slot::follow: return &e.attributes_follow;
    case Slot::h_justify: return &e.h_justify;
    case Slot::v_justify: return &e.v_justify;
    case Slot::field_length: return &e.field_length;
    case Slot::vertex_flags: return &e.vertex_flags;
    default: return nullptr;
  }
}

std::string* entity_text(DbEntity& e, Slot slot) {
  switch (slot) {
    case Slot::text: return &e.text;
    case Slot::tag: return &e.tag;
    case Slot::prompt: return &e.prompt;
    default: return nullptr;
  }
}

int string_slot(Slot slot) {
  return slot == Slot::text ? 0 : slot == Slot::tag ? 1 : slot == Slot::prompt ? 2 : -1;
}

}  // namespace tsn
