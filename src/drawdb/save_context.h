// What the DXF sections of one save share.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "drawdb/drawing.h"
#include "drawdb/dxf_out.h"
#include "drawdb/entity_fields.h"
#include "drawdb/save_progress.h"

namespace tsn {

struct SaveContext {
  const Drawing& d;
  DxfOut& out;
  std::uint32_t next_handle;  // for the VERTEX and SEQEND records of stored vertex arrays
  std::uint32_t handseed;
  SaveProgress progress;
  std::vector<const FieldDecl*> vertex_fields = {};  // planned at the first vertex
  bool r12() const { return out.release() == 1; }
  bool r2000() const { return out.release() == 4; }
};

// The name a block is written with in this release.
std::string_view block_name(const SaveContext& c, std::uint32_t block);

// Sections.
void write_header_section(SaveContext& c);
void write_classes_section(SaveContext& c);
void write_tables_section(SaveContext& c);
void write_blocks_section(SaveContext& c);
void write_entities_section(SaveContext& c);
void write_objects_section(SaveContext& c);
// One stored entity with its owner; classic polyline vertices and SEQEND follow it.
void write_entity(SaveContext& c, const EntityRec& rec, std::uint32_t owner);

}  // namespace tsn
