// The common start of every object and entity of a binary drawing, and the finished object.
#include "drawdb/dwg_object.h"

namespace tsn::dwg {

void append_bits(BitWriter& w, const BitWriter& src) {
  const std::size_t whole = src.bit / 8;
  write_raw(w, std::span(src.bytes.data(), whole));
  const int rest = static_cast<int>(src.bit % 8);
  if (rest != 0) write_bits(w, src.bytes[whole] >> (8 - rest), rest);
}

// The common parts as declarations: each field in file order with the releases it exists in.
enum class Common : std::uint8_t {
  bit_size,           // RL: where the handles start (release 2000 has it right after the type)
  preview,            // B: no preview graphics
  entity_mode,        // BB: 0 an owner handle follows, 2 model space
  reactor_count,      // BL
  linetype_by_layer,  // B (release 14)
  no_links,           // B: 0, the neighbours are given
  colour,             // CMC
  linetype_scale,     // BD 1.0
  linetype_flags,     // BB 0: by layer (release 2000)
  plot_style_flags,   // BB 0: by layer
  invisible,          // BS 0
  line_weight,        // RC 29: by layer
  // Handle references.
  owner, reactors, xdictionary, layer, neighbours,
};

struct CommonField {
  Common what;
  std::uint8_t releases;
};

namespace {

constexpr std::uint8_t kR14Only = 2, kR2000Only = 4, kBoth = kR14Only | kR2000Only;

// What follows the handle and the extended data of every object that is no entity.
constexpr CommonField kObjectData[] = {{Common::bit_size, kR14Only},
                                       {Common::reactor_count, kBoth}};
constexpr CommonField kObjectRefs[] = {
    {Common::owner, kBoth}, {Common::reactors, kBoth}, {Common::xdictionary, kBoth}};
// The same for entities.
constexpr CommonField kEntityData[] = {
    {Common::preview, kBoth},          {Common::bit_size, kR14Only},
    {Common::entity_mode, kBoth},      {Common::reactor_count, kBoth},
    {Common::linetype_by_layer, kR14Only}, {Common::no_links, kBoth},
    {Common::colour, kBoth},           {Common::linetype_scale, kBoth},
    {Common::linetype_flags, kR2000Only}, {Common::plot_style_flags, kR2000Only},
    {Common::invisible, kBoth},        {Common::line_weight, kR2000Only}};
constexpr CommonField kEntityRefs[] = {
    {Common::owner, kBoth},  {Common::reactors, kBoth},   {Common::xdictionary, kBoth},
    {Common::layer, kR14Only}, {Common::neighbours, kBoth}, {Common::layer, kR2000Only}};

}  // namespace

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

void ObjectBuilder::common(std::span<const CommonField> fields, const EntityCommon& c,
                           std::span<const std::uint32_t> reactors) {
  const std::uint8_t release = r2000_ ? kR2000Only : kR14Only;
  for (const CommonField& f : fields) {
    if ((f.releases & release) == 0) continue;
    switch (f.what) {
      case Common::bit_size: bit_size_ = reserve(data_, 4); break;
      case Common::preview: write_b(data_, false); break;
      case Common::entity_mode: write_bb(data_, c.in_block ? 0 : 2); break;
      case Common::reactor_count: write_bl(data_, static_cast<std::uint32_t>(reactors.size())); break;
      case Common::linetype_by_layer: write_b(data_, true); break;
      case Common::no_links: write_b(data_, false); break;
      case Common::colour: write_cmc(data_, c.colour); break;
      case Common::linetype_scale: write_bd(data_, 1.0); break;
      case Common::linetype_flags:
      case Common::plot_style_flags: write_bb(data_, 0); break;
      case Common::invisible: write_bs(data_, 0); break;
      case Common::line_weight: write_rc(data_, 29); break;
      case Common::owner:
        if (c.in_block) write_h(handles_, kSoftPointer, c.owner);
        break;
      case Common::reactors:
        for (const std::uint32_t r : reactors) write_h(handles_, kSoftPointer, r);
        break;
      case Common::xdictionary: write_h(handles_, kHardOwner, 0); break;  // none
      case Common::layer: write_h(handles_, kHardPointer, c.layer); break;
      case Common::neighbours:
        write_h(handles_, kSoftPointer, c.prev);
        write_h(handles_, kSoftPointer, c.next);
        break;
    }
  }
}

void ObjectBuilder::begin_object(std::uint16_t type, std::uint32_t handle, std::uint32_t owner,
                                 std::span<const std::uint32_t> reactors,
                                 std::span<const EedBlock> eed) {
  begin(type, handle, eed);
  EntityCommon c;
  c.owner = owner;  // every object names its owner, 0 for none
  common(kObjectData, c, reactors);
  common(kObjectRefs, c, reactors);
}

void ObjectBuilder::begin_entity(std::uint16_t type, std::uint32_t handle,
                                 const EntityCommon& c,
                                 std::span<const std::uint32_t> reactors,
                                 std::span<const EedBlock> eed) {
  begin(type, handle, eed);
  common(kEntityData, c, reactors);
  common(kEntityRefs, c, reactors);
}

std::size_t ObjectBuilder::finish(BitWriter& objects) {
  patch(data_, bit_size_, data_.bit);
  append_bits(data_, handles_);
  return append_object(objects, data_);
}

}  // namespace tsn::dwg
