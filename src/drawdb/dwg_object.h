// One object of a binary drawing (releases 14 and 2000) as it is built: its data stream, its
// handle stream, the common parts every object and entity opens with, and the finished bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "drawdb/dwg_bits.h"

namespace tsn::dwg {

// Handle reference codes.
inline constexpr unsigned kSoftOwner = 2, kHardOwner = 3, kSoftPointer = 4, kHardPointer = 5;

// Extended data of one application, items already encoded as the format stores them.
struct EedBlock {
  std::uint32_t appid = 0;
  std::vector<std::uint8_t> bytes;
};

// Where an entity sits and how it looks, as the common entity data says it.
struct EntityCommon {
  std::uint32_t owner = 0;   // the block record, or the polyline of a vertex or SEQEND
  bool in_block = true;      // false: a model-space entity (owner implied)
  std::uint32_t layer = 0;   // the layer record
  std::uint16_t colour = 256;
  std::uint32_t prev = 0, next = 0;  // neighbours in the owner's entity list (0 none)
};

struct CommonField;

class ObjectBuilder {
 public:
  explicit ObjectBuilder(bool r2000) : r2000_(r2000) {}
  bool r2000() const { return r2000_; }

  // Opens a non-entity object: type, size in bits, handle, extended data, reactor count; the
  // handle stream gets the owner, the reactors and a null extension dictionary.
  void begin_object(std::uint16_t type, std::uint32_t handle, std::uint32_t owner,
                    std::span<const std::uint32_t> reactors = {},
                    std::span<const EedBlock> eed = {});
  // Opens an entity: the same start, then the common entity data and its handles (which come
  // before the entity's own in the handle stream).
  void begin_entity(std::uint16_t type, std::uint32_t handle, const EntityCommon& common,
                    std::span<const std::uint32_t> reactors = {},
                    std::span<const EedBlock> eed = {});
  // The object's own fields, and its own handle references, in the order the format has them.
  BitWriter& data() { return data_; }
  void handle(unsigned code, std::uint32_t value) { write_h(handles_, code, value); }

  // Appends the finished object (MS size, data and handles, CRC) to `objects`, a byte-aligned
  // stream; returns its byte offset there. The builder can then be reused.
  std::size_t finish(BitWriter& objects);

 private:
  void begin(std::uint16_t type, std::uint32_t handle, std::span<const EedBlock> eed);
  // Writes the declared common fields of an object or an entity this release has.
  void common(std::span<const CommonField> fields, const EntityCommon& c,
              std::span<const std::uint32_t> reactors);
  bool r2000_;
  BitWriter data_;
  BitWriter handles_;
  Reserved bit_size_{};
};

// Appends the bits of `src` to `w`.
void append_bits(BitWriter& w, const BitWriter& src);

}  // namespace tsn::dwg
