// The fixed parts of a release 12 binary drawing: sentinels, tables with their record sizes,
// entity type codes, and the byte stream the sections are written to.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>

#include "drawdb/dwg_bits.h"

namespace tsn::dwg12 {

using dwg::BitWriter;
using dwg::Sentinel;

// The tables in file order.
enum Table : int { kBlock, kLayer, kStyle, kLtype, kView, kUcs, kVport, kAppid, kDimstyle,
                   kVx, kTableCount };

struct TableInfo {
  std::uint16_t record_size = 0;
  std::uint16_t count = 0;
  std::uint32_t address = 0;  // of the first record
};
using Tables = std::array<TableInfo, kTableCount>;

// Bytes of one record of each table, its closing CRC included.
inline constexpr std::array<std::uint16_t, kTableCount> kRecordSize = {45,  41,  198, 191, 153,
                                                                        109, 253, 37,  324, 43};
// The table numbers the auxiliary header lists the tables under.
inline constexpr std::array<std::uint16_t, kTableCount> kAuxTableId = {1, 2, 3, 5, 6,
                                                                        7, 8, 9, 10, 11};
// Where the header variables hold the descriptors of the last five tables; the first five
// follow the file header.
inline constexpr std::array<std::uint32_t, 5> kLateTableAt = {0x3EF, 0x500, 0x512, 0x522, 0x69F};
inline constexpr std::uint32_t kHeaderVarsAt = 0x5E;
inline constexpr std::uint32_t kHeaderVarsEnd = 0x6BD;  // the header CRC follows
inline constexpr std::uint32_t kEntitiesAt = kHeaderVarsEnd + 2 + 16;
// Block and extra entity section sizes carry these in their top bits.
inline constexpr std::uint32_t kBlocksSizeFlag = 0x40000000, kExtrasSizeFlag = 0x80000000;

// Entity type codes (a deleted entity would have the top bit set).
enum EntityType : std::uint8_t {
  kLine = 1, kPoint = 2, kCircle = 3, kText = 7, kSolid = 11, kBlockBegin = 12,
  kBlockEnd = 13, kInsert = 14, kAttdef = 15, kAttrib = 16, kSeqend = 17, kPolyline = 19,
  kVertex = 20, kFace = 22,
};
// Bits of an entity's flag byte.
enum EntityFlag : std::uint8_t {
  kHasColour = 0x01, kHasElevation = 0x04, kHasExtra = 0x40, kFollowed = 0x80,
};
inline constexpr std::uint8_t kExtraHasEed = 0x02;

struct SectionSentinels {
  Sentinel begin, end;
};
const SectionSentinels& table_sentinels(Table t);
const SectionSentinels& entities_sentinels();
const SectionSentinels& blocks_sentinels();
const SectionSentinels& extras_sentinels();
const SectionSentinels& aux_sentinels();

// Where the sections go: bytes pile up in `buf` and go to `file` a megabyte at a time (to
// memory only, when there is no file); offsets count from the start of the drawing.
class Stream {
 public:
  Stream(std::FILE* file, std::uint32_t base) : file_(file), base_(base) {}
  BitWriter& buf() { return buf_; }
  std::uint64_t offset() const { return base_ + flushed_ + dwg::byte_size(buf_); }
  // Writes out what has piled up once it is large; false once a write failed.
  bool maybe_flush() { return dwg::byte_size(buf_) < (1u << 20) || flush(); }
  bool flush();
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  std::uint64_t base_;
  std::uint64_t flushed_ = 0;
  bool failed_ = false;
  BitWriter buf_;
};

// A fixed-width text field: the bytes, cut to fit, then zeros.
void write_fixed_text(BitWriter& w, std::string_view s, std::size_t width);
// RS length and the bytes, cut to kMaxText: a record's size is 16 bits, and three strings
// and the extended data (at most kMaxEed bytes) must fit in one.
inline constexpr std::size_t kMaxText = 16000, kMaxEed = 16000;
void write_tv(BitWriter& w, std::string_view s);

}  // namespace tsn::dwg12
