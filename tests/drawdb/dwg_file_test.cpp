// The layout of saved binary drawings checked byte by byte where the format fixes it (file
// header and its CRC, sections framed by their sentinels, sizes and CRCs, the object map in
// parts of at most 2032 bytes, every object's CRC, the second header), and the drawing with
// every entity kind read back by the shared checker's readers as its DXF reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "drawdb/dwg_bits.h"
#include "sample_drawing.h"
#include "saved_bytes.h"
#include "support/shell.h"

namespace tsn::test {
namespace {

namespace fs = std::filesystem;

bool sentinel_at(const Bytes& b, std::size_t at, const dwg::Sentinel& s) {
  return at + 16 <= b.size() && std::equal(s.begin(), s.end(), b.begin() + at);
}

// A modular char as the object map holds it, signed.
long mc(const Bytes& b, std::size_t& at) {
  long v = 0;
  for (int shift = 0;; shift += 7) {
    const std::uint8_t c = b.at(at++);
    if ((c & 0x80) == 0) {
      v |= static_cast<long>(c & 0x3F) << shift;
      return (c & 0x40) ? -v : v;
    }
    v |= static_cast<long>(c & 0x7F) << shift;
  }
}

// The drawing with every entity kind and 3000 lines more, so that its object map needs parts.
Drawing* big_drawing(int generation) {
  Drawing* d = sample_drawing(generation);
  const DbEntityList ms = model_space(d);
  DbLayer layer;
  EXPECT_NE(db_first_layer(d, layer), 0);
  for (int i = 0; i < 3000; ++i) {
    DbEntity line = entity(d, kDbLine, layer.handle);
    line.points[1] = {1.0 * i, 2.0 * i, 0.0};
    add(d, ms, line);
  }
  return d;
}

TEST(DwgFile, SectionsObjectsAndTheObjectMapAreFramedSizedAndChecked) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  for (const int release : {6, 7}) {
    SCOPED_TRACE(release == 7 ? "release 2000" : "release 14");
    Drawing* d = big_drawing(release);
    const fs::path path = dir / "big.dwg";
    ASSERT_NE(adSaveFile(d, path.string(), 0, release, 0, 0), 0);
    db_close_drawing(d);
    std::ifstream in(path, std::ios::binary);
    const Bytes b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    ASSERT_GT(b.size(), 0x61u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 6), release == 7 ? "AC1015" : "AC1014");
    const std::uint32_t count = le(b, 0x15, 4);
    ASSERT_EQ(count, release == 7 ? 6u : 5u);
    const std::size_t end = 0x19 + 9 * count;
    const std::uint16_t mix = count == 6 ? 0x8461 : 0x3CC4;
    EXPECT_EQ(le(b, end, 2), dwg::crc16(std::span(b.data(), end), 0) ^ mix);
    EXPECT_TRUE(sentinel_at(b, end + 2, dwg::kFileHeaderEnd));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> places;
    for (std::uint32_t i = 0; i < count; ++i) {
      EXPECT_EQ(b.at(0x19 + 9 * i), i);
      places.emplace_back(le(b, 0x1A + 9 * i, 4), le(b, 0x1E + 9 * i, 4));
    }
    // Header variables and classes: sentinel, RL size, data, CRC of size and data, sentinel.
    const std::pair<dwg::Sentinel, dwg::Sentinel> frames[] = {
        {dwg::kHeaderVarsStart, dwg::kHeaderVarsEnd}, {dwg::kClassesStart, dwg::kClassesEnd}};
    for (int s = 0; s < 2; ++s) {
      const auto [at, size] = places[s];
      const std::uint32_t data = le(b, at + 16, 4);
      EXPECT_EQ(size, 16 + 4 + data + 2 + 16);
      EXPECT_TRUE(sentinel_at(b, at, frames[s].first));
      EXPECT_EQ(le(b, at + 20 + data, 2), crc(b, at + 16, at + 20 + data));
      EXPECT_TRUE(sentinel_at(b, at + 22 + data, frames[s].second));
    }
    // The object map: parts of a big-endian size (counting itself, at most 2032), handle and
    // offset deltas, a big-endian CRC; an empty part ends it.
    const auto [map_at, map_size] = places[2];
    std::size_t at = map_at;
    std::set<long> handles;
    int parts = 0;
    for (bool last = false; !last; ++parts) {
      const std::size_t size = b.at(at) << 8 | b.at(at + 1);
      ASSERT_LE(size, 2032u);
      EXPECT_EQ(std::size_t(b.at(at + size) << 8 | b.at(at + size + 1)), crc(b, at, at + size));
      last = size == 2;
      long handle = 0, offset = 0;
      for (std::size_t p = at + 2; p < at + size;) {
        handle += mc(b, p);
        offset += mc(b, p);
        EXPECT_TRUE(handles.insert(handle).second) << "handle " << handle << " twice";
        // The object there: its MS size, its bytes and their CRC over size and bytes.
        std::size_t o = static_cast<std::size_t>(offset), bytes = 0;
        for (int shift = 0;; shift += 15, o += 2) {
          const std::size_t word = b.at(o) | (b.at(o + 1) << 8);
          bytes |= (word & 0x7FFF) << shift;
          if ((word & 0x8000) == 0) break;
        }
        o += 2;
        ASSERT_EQ(le(b, o + bytes, 2), crc(b, static_cast<std::size_t>(offset), o + bytes))
            << "object " << handle;
      }
      at += size + 2;
    }
    EXPECT_EQ(at, map_at + map_size);
    EXPECT_GE(parts, 3);
    EXPECT_GT(handles.size(), 3000u);
    // The second header follows: its size runs to its end sentinel; its CRC covers size
    // to handles and 8 unused bytes follow.
    ASSERT_TRUE(sentinel_at(b, at, dwg::kSecondHeaderStart));
    const std::uint32_t second = le(b, at + 16, 4);
    EXPECT_TRUE(sentinel_at(b, at + 16 + second, dwg::kSecondHeaderEnd));
    const std::size_t crc_at = at + 16 + second - 10;
    EXPECT_EQ(le(b, crc_at, 2), crc(b, at + 16, crc_at));
    // The measurement section ends the file.
    EXPECT_EQ(places[4].first + places[4].second, b.size());
  }
}

TEST(DwgFile, TheDrawingWithEveryEntityKindIsReadBackAsItsDxf) {
  const fs::path checker = fs::path(TSN_TESTDATA_DIR).parent_path() / "tools/cadcheck/cadcheck";
  if (!fs::exists(checker) || !have_ezdxf()) GTEST_SKIP() << "the checker or ezdxf missing";
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  std::string pairs;
  for (const int release : {4, 6, 7}) {
    // Release 12 is compared with its own DXF: it has no hatches and no light-weight
    // polylines, and names its layers in upper case.
    Drawing* d = sample_drawing(release == 4 ? 6 : 7);
    const std::string stem = (dir / ("every-" + std::to_string(release))).string();
    ASSERT_NE(adSaveFile(d, stem + ".dxf", 1, release == 4 ? 4 : 7, 16, 1), 0);
    ASSERT_NE(adSaveFile(d, stem + ".dwg", 0, release, 0, 0), 0);
    db_close_drawing(d);
    pairs += " " + quoted(stem + ".dxf") + " " + quoted(stem + ".dwg");
  }
  const std::string report = capture("/usr/bin/python3 " + quoted(std::string(TSN_SOURCE_DIR) +
                                                                   "/tests/e2e/dwg_check.py") +
                                     " " + quoted(checker.string()) + pairs + " 2>&1");
  if (report.find(" unchecked") != std::string::npos) GTEST_SKIP() << "no readers: " << report;
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 3) << report;
  EXPECT_EQ(report.find("problem"), std::string::npos) << report;
}

}  // namespace
}  // namespace tsn::test
