// The common start of every object and entity of a binary drawing, and the finished object.
#include "drawdb/dwg_object.h"

namespace tsn::dwg {

void append_bits(BitWriter& w, const BitWriter& src) {
  const std::size_t whole = src.bit / 8;
  write_raw(w, std::span(src.bytes.data(), whole));
  const int rest = static_cast<int>(src.bit % 8);
  if (rest != 0) write_bits(w, src.bytes[whole] >> (8 - rest), rest);
}

void ObjectBuilder::begin(std::uint16_t type, std::uint32_t handle,
                          std::span<const EedBlock> eed) {
  // Cleared, not freed: the buffers serve every object of the save.
  for (BitWriter* w : {&data_, &handles_}) {
    w->bytes.clear();
    w->bit = 0;
  }
  write_bs(data_, type);
  if (r2000_) bit_size_ = reserve(data_, 4);
  write_h(data_, 0, handle);
  for (const EedBlock& block : eed) {
    write_bs(data_, static_cast<std::uint16_t>(block.bytes.size()));
    write_h(data_, kHardPointer, block.appid);
    write_raw(data_, block.bytes);
  }
  write_bs(data_, 0);
}

void ObjectBuilder::begin_object(std::uint16_t type, std::uint32_t handle, std::uint32_t owner,
                                 std::span<const std::uint32_t> reactors,
                                 std::span<const EedBlock> eed) {
  begin(type, handle, eed);
  if (!r2000_) bit_size_ = reserve(data_, 4);
  write_bl(data_, static_cast<std::uint32_t>(reactors.size()));
  write_h(handles_, kSoftPointer, owner);
  for (const std::uint32_t r : reactors) write_h(handles_, kSoftPointer, r);
  write_h(handles_, kHardOwner, 0);  // no extension dictionary
}

void ObjectBuilder::begin_entity(std::uint16_t type, std::uint32_t handle,
                                 const EntityCommon& common,
                                 std::span<const std::uint32_t> reactors,
                                 std::span<const EedBlock> eed) {
  begin(type, handle, eed);
  write_b(data_, false);  // no preview graphics
  if (!r2000_) bit_size_ = reserve(data_, 4);
  // Entity mode: 0 an owner handle follows, 2 model space.
  write_bb(data_, common.in_block ? 0 : 2);
  write_bl(data_, static_cast<std::uint32_t>(reactors.size()));
  if (!r2000_) write_b(data_, true);  // line type by layer
  write_b(data_, false);              // neighbours given
  write_cmc(data_, common.colour);
  write_bd(data_, 1.0);  // line type scale
  if (r2000_) {
    write_bb(data_, 0);  // line type by layer
    write_bb(data_, 0);  // plot style by layer
  }
  write_bs(data_, 0);  // visible
  if (r2000_) write_rc(data_, 29);  // line weight by layer

  if (common.in_block) write_h(handles_, kSoftPointer, common.owner);
  for (const std::uint32_t r : reactors) write_h(handles_, kSoftPointer, r);
  write_h(handles_, kHardOwner, 0);  // no extension dictionary
  if (!r2000_) write_h(handles_, kHardPointer, common.layer);
  write_h(handles_, kSoftPointer, common.prev);
  write_h(handles_, kSoftPointer, common.next);
  if (r2000_) write_h(handles_, kHardPointer, common.layer);
}

std::size_t ObjectBuilder::finish(BitWriter& objects) {
  patch(data_, bit_size_, data_.bit);
  append_bits(data_, handles_);
  return append_object(objects, data_);
}

}  // namespace tsn::dwg
