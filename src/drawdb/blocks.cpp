// Block headers and the reading, deleting and dissolving of a block's entities.
#include "drawdb/db_errors.h"
#include "drawdb/drawdb.h"
#include "drawdb/entity_store.h"
#include "drawdb/session.h"

namespace tsn {
namespace {

DbBlockHeader header_record(const Drawing& d, std::uint32_t index) {
  const BlockRec& b = d.blocks[index];
  return {std::string(d.strings.get(b.name)), b.flags, b.base, make_handle(b.handle),
          DbEntityList{index}};
}

// A BLOCK or ENDBLK record of the block for reading.
void frame_entity(const Drawing& d, const BlockRec& b, bool begin, DbEntity& out) {
  out = DbEntity{};
  out.type = begin ? kDbBlock : kDbEndblk;
  out.handle = make_handle(begin ? b.begin_handle : b.end_handle);
  out.layer = make_handle(d.layers[0].handle);
  out.points[0] = b.base;
  out.text = std::string(d.strings.get(b.name));
}

}  // namespace

int db_init_blockheader(Drawing* d, DbBlockHeader& block) {
  if (!db_open_drawing(d)) return 0;
  block = DbBlockHeader{};
  return 1;
}

int adAddBlockheader(Drawing* d, DbBlockHeader& block) {
  if (!db_open_drawing(d)) return 0;
  if (block.name.empty() || block.name.size() > 255) return db_fail(kErrBadName);
  DbHandle existing;
  if (db_find_block(d, block.name, existing) != 0) return db_fail(kErrDuplicateName);
  BlockRec b;
  b.name = d->strings.intern(block.name);
  b.flags = block.flags;
  b.base = block.base;
  b.handle = d->issue_handle();
  b.begin_handle = d->issue_handle();
  b.end_handle = d->issue_handle();
  block.handle = make_handle(b.handle);
  block.entities = DbEntityList{add_block_record(*d, std::move(b))};
  db_clear_error();
  return 1;
}

int adSeekBlockheader(Drawing* d, const DbHandle& handle, DbBlockHeader& out) {
  if (!db_open_drawing(d)) return 0;
  const std::uint32_t index = block_by_handle(*d, static_cast<std::uint32_t>(handle_value(handle)));
  if (index == kNone) return db_fail(kErrNoBlock);
  out = header_record(*d, index);
  return 1;
}

int db_find_block(Drawing* d, std::string_view name, DbHandle& out) {
  if (!db_open_drawing(d)) return 0;
  const auto it = d->block_index.find(upper_name(name));
  if (it == d->block_index.end()) return db_fail(kErrNoBlock);
  out = make_handle(d->blocks[it->second].handle);
  return 1;
}

int db_block_entities(Drawing* d, const DbHandle& block, DbEntityList& out) {
  if (!db_open_drawing(d)) return 0;
  const std::uint32_t index = block_by_handle(*d, static_cast<std::uint32_t>(handle_value(block)));
  if (index == kNone) return db_fail(kErrNoBlock);
  out = DbEntityList{index};
  return 1;
}

int db_read_block_entity(Drawing* d, DbEntityList list, DbCursor& cursor, DbEntity& out,
                         DbAux* aux) {
  if (!db_open_drawing(d)) return 0;
  const std::uint32_t index = live_block(*d, list);
  if (index == kNone) return db_fail(kErrNoList);
  const BlockRec& b = d->blocks[index];
  // Position 0 is BLOCK, 1..n the entity slots, n + 1 ENDBLK.
  while (cursor.next >= 1 && cursor.next <= b.entities.size() &&
         b.entities[cursor.next - 1] == kNone) {
    ++cursor.next;
  }
  if (cursor.next > b.entities.size() + 1) return 0;
  const std::uint32_t at = cursor.next++;
  if (at == 0 || at == b.entities.size() + 1) {
    frame_entity(*d, b, at == 0, out);
    if (aux != nullptr) *aux = DbAux{};
    return 1;
  }
  load_entity(*d, d->entities[b.entities[at - 1]], out, aux);
  return 1;
}

int db_delete_entity(Drawing* d, DbEntityList list, const DbHandle& entity) {
  if (!db_open_drawing(d)) return 0;
  const std::uint32_t index = live_block(*d, list);
  if (index == kNone) return db_fail(kErrNoList);
  BlockRec& b = d->blocks[index];
  const std::uint64_t h = handle_value(entity);
  if (h == b.begin_handle || h == b.end_handle) return 1;  // the frame goes with the block
  // Searched from the first live entity: deleting in order costs one step each.
  for (std::size_t i = b.first_live; i < b.entities.size(); ++i) {
    const std::uint32_t e = b.entities[i];
    if (e == kNone || d->entities[e].handle != h) continue;
    b.entities[i] = kNone;
    while (b.first_live < b.entities.size() && b.entities[b.first_live] == kNone) {
      ++b.first_live;
    }
    return 1;
  }
  return db_fail(kErrNoEntity);
}

int db_delete_block(Drawing* d, const DbHandle& block) {
  if (!db_open_drawing(d)) return 0;
  const std::uint32_t index = block_by_handle(*d, static_cast<std::uint32_t>(handle_value(block)));
  if (index == kNone) return db_fail(kErrNoBlock);
  if (index < 2) return db_fail(kErrLayoutBlock);
  forget_block(*d, index);
  return 1;
}

}  // namespace tsn
