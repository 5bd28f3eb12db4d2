// The seam between the entity primitives and the drawing database: the entity record the
// primitives fill on the database path and the operations they call. The drawing database
// implements DrawingDatabaseHooks; until one is attached the database path writes nothing
// and reports failure.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tsn {

// A drawing-database handle: 8 bytes.
struct DbHandle {
  std::array<std::uint8_t, 8> bytes{};
};

// The fields of the work entity record that the primitives set; the database fills the rest
// with its defaults for the entity type (init_entity).
struct EntityRecord {
  int entity_type = 0;
  DbHandle handle;
  DbHandle layer;
  int colour = 256;  // BYLAYER unless set
  std::array<double, 3> point{};
  int vertex_flags = 0;  // VERTEX: 32 for a 3D polyline vertex, 0 otherwise
};

// Type-specific fields and entity lists belong to the database; the primitives only pass
// them through.
struct AuxRecord;
struct EntityList;

class DrawingDatabaseHooks {
 public:
  virtual ~DrawingDatabaseHooks() = default;
  // db_init_entity: the record's type is set; fills the defaults of that type. Nonzero on success.
  virtual int init_entity(EntityRecord& record, AuxRecord* aux) = 0;
  // db_new_handle: a new handle into the record.
  virtual int new_handle(DbHandle& handle) = 0;
  // db_add_entity: 0 when the database refuses the entity.
  virtual int add_entity(EntityList* list, EntityRecord& record, AuxRecord* aux) = 0;
  // db_list_put on the open vertex data list of a light-weight polyline.
  virtual int list_put(const void* bytes, std::size_t size) = 0;
  // db_close_list on that list.
  virtual int close_list() = 0;
  // db_add_entity_list: adds an entity that owns the data list just closed.
  virtual int add_entity_list(EntityList* list, EntityRecord& record, AuxRecord* aux) = 0;
};

}  // namespace tsn
