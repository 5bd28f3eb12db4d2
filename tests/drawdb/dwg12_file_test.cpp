// The release 12 binary layout checked byte by byte: the header with its CRC and section
// places, each table's records at their fixed size with their CRCs, the entity records of
// every kind (built here field by field from the layout), SEQENDs pointing back at their
// owners, block offsets, and the auxiliary header.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "drawdb/db_errors.h"
#include "drawdb/dwg_bits.h"
#include "sample_drawing.h"
#include "saved_bytes.h"

namespace tsn::test {
namespace {

namespace fs = std::filesystem;

// Little-endian fields appended one by one.
struct Fields {
  Bytes b;
  Fields& rc(unsigned v) { return b.push_back(static_cast<std::uint8_t>(v)), *this; }
  Fields& rs(unsigned v) { return rc(v & 0xFF).rc(v >> 8 & 0xFF); }
  Fields& rl(std::uint32_t v) { return rs(v & 0xFFFF).rs(v >> 16); }
  Fields& rd(double v) {
    const auto u = std::bit_cast<std::uint64_t>(v);
    return rl(static_cast<std::uint32_t>(u)).rl(static_cast<std::uint32_t>(u >> 32));
  }
  Fields& pts(std::initializer_list<double> v) {
    for (double x : v) rd(x);
    return *this;
  }
  Fields& bytes(std::string_view s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
};

// An entity record: type, flags, size, layer, options, then `rest`, then the CRC.
Bytes record(unsigned type, unsigned flags, unsigned layer, unsigned options, const Fields& rest) {
  Fields f;
  f.rc(type).rc(flags).rs(static_cast<unsigned>(8 + rest.b.size() + 2)).rs(layer).rs(options);
  f.b.insert(f.b.end(), rest.b.begin(), rest.b.end());
  const std::uint16_t c = dwg::crc16(f.b, dwg::kCrcSeed);
  return f.rs(c).b;
}

Bytes saved_sample(const ScratchDir& dir) {
  Drawing* d = sample_drawing(6);
  const fs::path path = dir / "every-12.dwg";
  EXPECT_NE(adSaveFile(d, path.string(), 0, 4, 0, 0), 0) << db_error_text(db_last_error());
  EXPECT_EQ(db_hatches_left_out(), 3);  // release 12 has none
  db_close_drawing(d);
  return file_bytes(path);
}

TEST(Dwg12File, HeaderTablesEntitiesAndAuxiliaryHeaderAreLaidOutAsTheFormatFixesThem) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  const Bytes b = saved_sample(dir);
  ASSERT_GT(b.size(), 0x6CFu);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "AC1009");
  EXPECT_EQ(le(b, 0x11, 2), 205u);  // header variables
  EXPECT_EQ(le(b, 0x6BD, 2), crc(b, 0, 0x6BD));
  const std::uint32_t entities = le(b, 0x14, 4), entities_end = le(b, 0x18, 4);
  const std::uint32_t blocks = le(b, 0x1C, 4), blocks_size = le(b, 0x20, 4);
  EXPECT_EQ(entities, 0x6CFu);
  EXPECT_EQ(blocks_size >> 30, 1u);  // the block section's flag

  // The ten tables: five descriptors after the file header, five in the header variables;
  // each table's records at their size, each ending in its CRC, between sentinels 16 bytes
  // apart from the records.
  const std::size_t descriptors[10] = {0x2C, 0x36, 0x40, 0x4A, 0x54,
                                       0x3EF, 0x500, 0x512, 0x522, 0x69F};
  const unsigned sizes[10] = {45, 41, 198, 191, 153, 109, 253, 37, 324, 43};
  std::size_t expected_at = entities_end + 32;
  std::vector<std::size_t> first(10);
  for (int t = 0; t < 10; ++t) {
    const std::size_t at = descriptors[t];
    EXPECT_EQ(le(b, at, 2), sizes[t]) << "table " << t;
    const std::uint32_t count = le(b, at + 2, 2), address = le(b, at + 6, 4);
    EXPECT_EQ(address, expected_at) << "table " << t;
    first[t] = address;
    for (std::uint32_t r = 0; r < count; ++r) {
      const std::size_t rec = address + r * sizes[t];
      EXPECT_EQ(le(b, rec + sizes[t] - 2, 2), crc(b, rec, rec + sizes[t] - 2))
          << "table " << t << " record " << r;
    }
    expected_at = address + count * sizes[t] + 32;
  }
  EXPECT_EQ(blocks, expected_at);  // after the last table's end sentinel and its own

  // Records of the layer and application tables, byte for byte: flags, name, -1, then the
  // layer's colour and line type index (CONTINUOUS), and the CRC.
  const auto table_record = [](std::string_view name, const Fields& rest) {
    Fields f;
    f.rc(0).bytes(name);
    f.b.resize(33, 0);
    f.rs(0xFFFF);
    f.b.insert(f.b.end(), rest.b.begin(), rest.b.end());
    const std::uint16_t c = dwg::crc16(f.b, dwg::kCrcSeed);
    return f.rs(c).b;
  };
  EXPECT_EQ(Bytes(b.begin() + first[1] + 41, b.begin() + first[1] + 82),
            table_record("ROADS", Fields().rs(3).rs(0)));
  EXPECT_EQ(Bytes(b.begin() + first[7] + 37, b.begin() + first[7] + 74),
            table_record("TESSARYN", Fields()));

  // The model space records in order, built from the layout. The TEXT's points come from
  // the database's alignment and are left out of the comparison.
  Fields eed;
  eed.rc(1).rs(1)                              // the application TESSARYN, by index
      .rc(0).rc(11).bytes("Main Street")        // 1000
      .rc(40).rd(12.5).rc(70).rs(7).rc(71).rl(70000);  // 1040, 1070, 1071
  Fields point;
  point.rc(0x02).rs(static_cast<unsigned>(eed.b.size())).bytes(
      std::string(eed.b.begin(), eed.b.end()));
  point.pts({1.5, 2.25, 0.0});
  struct Expected {
    const char* what;
    Bytes bytes;  // empty: compared by type only
    unsigned type;
  };
  std::vector<Expected> want = {
      {"point with extended data", record(2, 0x40, 1, 0, point), 2},
      {"line of colour 1", record(1, 0x01, 1, 0, Fields().rc(1).pts({0, 0, 0, 10, 5, 0})), 1},
      {"circle", record(3, 0, 1, 0, Fields().pts({4, 4, 2})), 3},
      {"text", {}, 7},
      {"solid", record(11, 0, 1, 0, Fields().pts({0, 0, 1, 0, 0, 1, 1, 1})), 11},
      {"3D face with edge flags", record(22, 0, 1, 1, Fields().pts({0, 0, 1, 1, 0, 2, 1, 1, 3, 0, 1, 4}).rs(5)), 22},
      {"closed polyline", record(19, 0x80, 1, 1, Fields().rc(1)), 19},
      {"vertex", record(20, 0, 1, 0, Fields().pts({0, 2})), 20},
      {"vertex with a bulge", record(20, 0, 1, 4, Fields().pts({1, 3, 0.5})), 20},
      {"vertex", record(20, 0, 1, 0, Fields().pts({2, 4})), 20},
      {"seqend", {}, 17},
      {"3D polyline", record(19, 0x80, 1, 1, Fields().rc(8)), 19},
      {"3D vertex at z 0", record(20, 0, 1, 8, Fields().pts({0, 2}).rc(32)), 20},
      {"3D vertex", record(20, 0x04, 1, 8, Fields().rd(0.5).pts({1, 3}).rc(32)), 20},
      {"3D vertex", record(20, 0x04, 1, 8, Fields().rd(1.0).pts({2, 4}).rc(32)), 20},
      {"seqend", {}, 17},
      {"wide light-weight polyline", record(19, 0x80, 1, 6, Fields().pts({0.25, 0.25})), 19},
  };
  std::size_t at = entities, owner = 0;
  for (const Expected& e : want) {
    SCOPED_TRACE(e.what);
    ASSERT_LT(at + 8, entities_end);
    const std::size_t size = le(b, at + 2, 2);
    EXPECT_EQ(b[at], e.type);
    EXPECT_EQ(le(b, at + size - 2, 2), crc(b, at, at + size - 2));
    if (!e.bytes.empty()) {
      EXPECT_EQ(Bytes(b.begin() + at, b.begin() + at + size), e.bytes);
    }
    if (e.type == 19) owner = at;
    if (e.type == 17) {
      EXPECT_EQ(le(b, at + 8, 4), owner);  // back to its polyline
    }
    at += size;
  }

  // The block MARK: its record's offset, flagged, leads to its BLOCK entity, which names it.
  const std::size_t mark = first[0];
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + mark + 1)), "MARK");
  const std::uint32_t offset = le(b, mark + 35, 4);
  EXPECT_EQ(offset >> 30, 1u);
  const std::size_t begin = blocks + (offset & 0x3FFFFFFF);
  const Bytes block_begin = record(12, 0, 0, 4, Fields().pts({0, 0}).rs(4).bytes("MARK"));
  EXPECT_EQ(Bytes(b.begin() + begin, b.begin() + begin + block_begin.size()), block_begin);

  // The auxiliary header closes the file: 138 bytes between its sentinels, with the
  // section places and its own CRC.
  const std::size_t aux = b.size() - 170;
  EXPECT_EQ(le(b, aux + 16, 2), 0x10u);
  EXPECT_EQ(le(b, aux + 18, 2), 138u);
  EXPECT_EQ(le(b, aux + 20, 4), entities);
  EXPECT_EQ(le(b, aux + 28, 4), blocks);
  EXPECT_EQ(le(b, aux + 16 + 136, 2), crc(b, aux + 16, aux + 16 + 136));
  EXPECT_EQ(le(b, aux + 16 + 132, 4), aux);
}

// Block indices are 16 bits: a drawing of more blocks is refused, not written wrong.
TEST(Dwg12File, MoreBlocksThanTheFormatCountsAreRefused) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  Drawing* d = db_new_drawing(6);
  ASSERT_NE(d, nullptr);
  for (int i = 0; i <= 0xFFFF; ++i) {
    DbBlockHeader block;
    db_init_blockheader(d, block);
    block.name = "B" + std::to_string(i);
    ASSERT_NE(adAddBlockheader(d, block), 0) << i;
  }
  EXPECT_EQ(adSaveFile(d, (dir / "many.dwg").string(), 0, 4, 0, 0), 0);
  EXPECT_EQ(db_last_error(), kErrTooLarge);
  EXPECT_NE(std::string(db_error_text(db_last_error())).find("65535 blocks"), std::string::npos);
  db_close_drawing(d);
}

}  // namespace
}  // namespace tsn::test
