// Handles, interned strings and name rules of the in-memory drawing.
#include "drawdb/drawing.h"

#include <algorithm>

namespace tsn {

std::uint64_t handle_value(const DbHandle& h) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | h.bytes[static_cast<std::size_t>(i)];
  return v;
}

DbHandle make_handle(std::uint64_t value) {
  DbHandle h;
  for (auto& b : h.bytes) {
    b = static_cast<std::uint8_t>(value & 0xFFu);
    value >>= 8;
  }
  return h;
}

std::uint32_t StringPool::intern(std::string_view s) {
  const auto [it, inserted] = ids_.try_emplace(std::string(s), 0);
  if (inserted) {
    it->second = static_cast<std::uint32_t>(strings_.size());
    strings_.push_back(&it->first);  // map nodes do not move
  }
  return it->second;
}

std::uint32_t Drawing::issue_handle(bool used) {
  handle_used.push_back(used);  // index next_handle
  return next_handle++;
}

std::string upper_name(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && upper_name(a) == upper_name(b);
}

std::uint32_t live_block(const Drawing& d, DbEntityList list) {
  if (list.block >= d.blocks.size() || d.blocks[list.block].deleted) return kNone;
  return list.block;
}

std::uint32_t block_by_handle(const Drawing& d, std::uint32_t handle) {
  const auto it = d.blocks_by_handle.find(handle);
  return it == d.blocks_by_handle.end() ? kNone : it->second;
}

std::uint32_t add_block_record(Drawing& d, BlockRec b) {
  const auto index = static_cast<std::uint32_t>(d.blocks.size());
  d.block_index.emplace(upper_name(d.strings.get(b.name)), index);
  d.blocks_by_handle.emplace(b.handle, index);
  d.blocks.push_back(std::move(b));
  return index;
}

void forget_block(Drawing& d, std::uint32_t index) {
  BlockRec& b = d.blocks[index];
  b.deleted = true;
  b.entities = {};
  d.block_index.erase(upper_name(d.strings.get(b.name)));
  d.blocks_by_handle.erase(b.handle);
}

double pattern_length(const LinetypeRec& lt) {
  double total = 0.0;
  for (const double dash : lt.dashes) total += dash < 0 ? -dash : dash;
  return total;
}

}  // namespace tsn

namespace tsn {

std::string_view block_display_name(const Drawing& d, std::uint32_t block, bool r2000) {
  if (block == 0) return r2000 ? "*Model_Space" : "*MODEL_SPACE";
  if (block == 1) return r2000 ? "*Paper_Space" : "*PAPER_SPACE";
  return d.strings.get(d.blocks[block].name);
}

std::uint32_t polyline_record_count(const Drawing& d) {
  std::uint32_t n = 0;
  for (const BlockRec& b : d.blocks) {
    if (b.deleted) continue;
    for (const std::uint32_t e : b.entities) {
      if (e != kNone && d.entities[e].type == kDbPolyline) n += d.entities[e].vertex_count + 1;
    }
  }
  return n;
}

std::uint32_t layer_handle(const Drawing& d, std::string_view name) {
  const auto it = d.layer_index.find(upper_name(name));
  return it == d.layer_index.end() ? 0 : d.layers[it->second].handle;
}

std::uint32_t linetype_handle(const Drawing& d, std::string_view name) {
  for (const LinetypeRec& lt : d.linetypes) {
    if (same_name(lt.name, name)) return lt.handle;
  }
  return 0;
}

std::uint32_t style_handle(const Drawing& d, std::string_view name) {
  for (const StyleRec& st : d.styles) {
    if (same_name(st.name, name)) return st.handle;
  }
  return d.styles.empty() ? 0 : d.styles.front().handle;
}

std::uint32_t regapp_handle(const Drawing& d, std::string_view name) {
  for (const RegappRec& a : d.regapps) {
    if (same_name(a.name, name)) return a.handle;
  }
  return 0;
}

}  // namespace tsn
