// Typed entities as the drawing database's work records: the entity record and its bulky
// parts, with the layer, style and block already found by the caller.
#pragma once

#include "drawdb/db_records.h"
#include "drawing/drawing_entities.h"
#include "drawing/release_traits.h"

namespace tsn {

// What the records refer to, found by the caller: the layer of the entity, and for an INSERT
// the block it names.
struct DatabaseRefs {
  DbHandle layer;
  DbHandle block;
};

// The records of one entity: fills `e` and `aux` and returns true; false for a filled disc
// (disc_record) and for extended data the database refuses.
bool database_records(const Entity& entity, const DatabaseRefs& refs, DbEntity& e, DbAux& aux);

// The failure context a refused entity of this shape is reported with.
int database_context(const EntityShape& shape);

// The records of an entity made apart from database_records.
struct DatabaseRecord {
  DbEntity entity;
  DbAux aux;
  bool has_aux = false;
};

// A filled disc as the text writer draws it: a solid hatch bounded by the circle where the
// release has hatches, otherwise a closed polyline of two half circles as wide as the radius.
DatabaseRecord disc_record(const ReleaseTraits& release, const Entity& entity,
                           const DatabaseRefs& refs);

}  // namespace tsn
