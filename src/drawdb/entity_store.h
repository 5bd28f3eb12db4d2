// Copying entity work records into the drawing's compact storage and back.
#pragma once

#include <cstdint>
#include <span>

#include "drawdb/drawing.h"
#include "drawdb/entity_fields.h"

namespace tsn {

// Fills rec's reals, integers and strings from e as the kind declares them.
void store_fields(Drawing& d, const EntityKind& kind, DbEntity& e, EntityRec& rec);
// Stores the bulky parts and reactors; rec.aux stays kNone when there are none.
void store_aux(Drawing& d, const DbAux& aux, EntityRec& rec);
void store_xdata(Drawing& d, const DbEntity& e, EntityRec& rec);
// Appends 2-double vertices.
void store_lw_vertices(Drawing& d, std::span<const double> xy, EntityRec& rec);
// The same from a data list's bytes (16 per vertex).
void store_list_vertices(Drawing& d, const std::vector<std::uint8_t>& bytes, EntityRec& rec);

// Appends one bulge per vertex right behind the vertices just stored, unless all are zero.
void store_bulges(Drawing& d, std::span<const double> bulges, EntityRec& rec);

// Ends the classic polyline being collected: its vertices go behind everything stored.
void close_polyline(Drawing& d);

// The record back as a work record (handles and names resolved), and its bulky parts.
void load_entity(const Drawing& d, const EntityRec& rec, DbEntity& e, DbAux* aux);

}  // namespace tsn
