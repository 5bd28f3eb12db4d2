// The BLOCKS and ENTITIES sections: block frames and each block's entities with their owners.
#include "drawdb/save_context.h"

namespace tsn {
namespace {

void block_frame(SaveContext& c, const BlockRec& b, std::uint32_t index, bool begin) {
  DxfOut& o = c.out;
  o.group(0, begin ? "BLOCK" : "ENDBLK");
  if (!c.r12()) o.hex(5, begin ? b.begin_handle : b.end_handle);
  if (c.r2000()) o.hex(330, b.handle);
  if (!c.r12()) o.group(100, "AcDbEntity");
  if (c.r2000() && index == 1) o.integer(67, 1);  // paper space
  o.group(8, "0");
  if (!c.r12()) o.group(100, begin ? "AcDbBlockBegin" : "AcDbBlockEnd");
  if (!begin) return;
  o.group(2, block_name(c, index));
  o.integer(70, b.flags);
  o.point(10, b.base.data());
  o.group(3, block_name(c, index));
  o.group(1, "");
}

// A block's entities in order; attributes and their SEQEND belong to the INSERT before them.
void block_entities(SaveContext& c, const BlockRec& b) {
  std::uint32_t insert = 0;
  for (const std::uint32_t e : b.entities) {
    if (e == kNone) continue;
    const EntityRec& rec = c.d.entities[e];
    const bool attached = insert != 0 && (rec.type == kDbAttrib || rec.type == kDbSeqend);
    write_entity(c, rec, attached ? insert : b.handle);
    if (rec.type == kDbInsert) insert = rec.ints[kIntFollow] != 0 ? rec.handle : 0;
    if (rec.type == kDbSeqend) insert = 0;
    c.progress.entity_done();
  }
}

}  // namespace

std::string_view block_name(const SaveContext& c, std::uint32_t block) {
  return block_display_name(c.d, block, c.r2000());
}

void write_blocks_section(SaveContext& c) {
  c.out.group(0, "SECTION");
  c.out.group(2, "BLOCKS");
  for (std::uint32_t i = 0; i < c.d.blocks.size(); ++i) {
    const BlockRec& b = c.d.blocks[i];
    if (b.deleted || (i < 2 && c.r12())) continue;  // release 12 has no layout blocks
    block_frame(c, b, i, true);
    if (i != 0) block_entities(c, b);  // model space entities go to ENTITIES
    block_frame(c, b, i, false);
  }
  c.out.group(0, "ENDSEC");
}

void write_entities_section(SaveContext& c) {
  c.out.group(0, "SECTION");
  c.out.group(2, "ENTITIES");
  block_entities(c, c.d.blocks[0]);
  c.out.group(0, "ENDSEC");
}

}  // namespace tsn
