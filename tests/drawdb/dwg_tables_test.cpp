// The table and dictionary objects of binary drawings, read back with a minimal object reader:
// every expected object present once, with its type, handle, owner and a consistent size.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "drawdb/drawing.h"
#include "drawdb/dwg_save.h"
#include "drawdb/table_fields.h"
#include "sample_drawing.h"

namespace tsn::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Reader {
  const Bytes& b;
  std::size_t bit;
  unsigned bits(int n) {
    unsigned v = 0;
    for (int i = 0; i < n; ++i, ++bit) v = (v << 1) | ((b.at(bit / 8) >> (7 - bit % 8)) & 1u);
    return v;
  }
  unsigned rs() { const unsigned lo = bits(8); return lo | bits(8) << 8; }
  unsigned rl() { const unsigned lo = rs(); return lo | rs() << 16; }
  unsigned bs() {
    switch (bits(2)) {
      case 0: return rs();
      case 1: return bits(8);
      case 2: return 0;
      default: return 256;
    }
  }
  std::pair<unsigned, unsigned> h() {
    const unsigned code = bits(4), n = bits(4);
    unsigned v = 0;
    for (unsigned i = 0; i < n; ++i) v = v << 8 | bits(8);
    return {code, v};
  }
};

struct Read {
  unsigned type = 0, handle = 0, owner_code = 0, owner = 0;
  bool sized = false;  // the handle stream starts inside the object and parses to its end
};

// One object at `at`: MS size, type, (2000) bit size, handle, no extended data, (14) bit
// size; then the first handle of its handle stream.
Read read_object(const Bytes& file, std::size_t at, bool r2000) {
  std::size_t size = 0, i = at;
  for (int shift = 0;; shift += 15, i += 2) {
    const unsigned word = file.at(i) | file.at(i + 1) << 8;
    size |= static_cast<std::size_t>(word & 0x7FFF) << shift;
    if ((word & 0x8000) == 0) break;
  }
  i += 2;
  Reader r{file, i * 8};
  Read out;
  out.type = r.bs();
  std::size_t bit_size = r2000 ? r.rl() : 0;
  out.handle = r.h().second;
  EXPECT_EQ(r.bs(), 0u) << "extended data";
  if (!r2000) bit_size = r.rl();
  if (bit_size >= size * 8 || r.bit - i * 8 > bit_size) return out;
  Reader handles{file, i * 8 + bit_size};
  std::tie(out.owner_code, out.owner) = handles.h();
  while (handles.bit + 8 <= (i + size) * 8) handles.h();
  out.sized = handles.bit <= (i + size) * 8;
  return out;
}

struct Expected {
  std::uint32_t handle;
  unsigned type;
  std::uint32_t owner;
};

// What a new drawing with the sample's records must hold, from the drawing's own handles.
std::vector<Expected> expected_objects(const Drawing& d, const dwg::DwgSave& s, bool r2000) {
  const FixedHandles& f = d.fixed;
  constexpr unsigned controls[] = {64, 56, 50, 52, 60, 62, 66, 68, 48};
  std::vector<Expected> out = {{s.vx_control, 70, 0}, {f.vport, 65, f.tables[kVport]},
                               {f.dimstyle, 69, f.tables[kDimstyle]},
                               {f.root_dictionary, 42, 0}, {f.groups, 42, f.root_dictionary},
                               {f.mlinestyles, 42, f.root_dictionary},
                               {f.mlinestyle, 73, f.mlinestyles}};
  for (int t = 0; t < kTableCount; ++t) out.push_back({f.tables[t], controls[t], 0});
  for (const LayerRec& l : d.layers) out.push_back({l.handle, 51, f.tables[kLayer]});
  for (const LinetypeRec& l : d.linetypes) out.push_back({l.handle, 57, f.tables[kLtype]});
  for (const StyleRec& st : d.styles) out.push_back({st.handle, 53, f.tables[kStyle]});
  for (const RegappRec& a : d.regapps) out.push_back({a.handle, 67, f.tables[kAppid]});
  for (const BlockRec& b : d.blocks) {
    if (!b.deleted) out.push_back({b.handle, 49, f.tables[kBlockRecord]});
  }
  if (r2000) {
    out.push_back({f.layouts, 42, f.root_dictionary});
    out.push_back({f.plotsettings, 42, f.root_dictionary});
    out.push_back({f.plotstyles, s.dictionary_with_default_type(), f.root_dictionary});
    out.push_back({f.placeholder, s.placeholder_type(), f.plotstyles});
    for (int b = 0; b < 2; ++b) out.push_back({d.blocks[b].layout, s.layout_type(), f.layouts});
  }
  return out;
}

TEST(DwgTables, EveryTableAndDictionaryObjectReadsBackWithItsTypeHandleAndOwner) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  for (const bool r2000 : {false, true}) {
    SCOPED_TRACE(r2000 ? "release 2000" : "release 14");
    Drawing* d = sample_drawing(r2000 ? 7 : 6);
    ASSERT_NE(d, nullptr);
    const auto path = dir / "objects.bin";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    dwg::DwgSave s(*d, r2000, file);
    s.vx_control = s.issue_handle();
    dwg::write_table_objects(s);
    dwg::write_dictionary_objects(s);
    EXPECT_TRUE(s.flush());
    std::fclose(file);
    std::ifstream in(path, std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    std::map<std::uint32_t, std::uint32_t> at;  // handle, offset
    for (const auto& [handle, offset] : s.object_map()) {
      EXPECT_TRUE(at.emplace(handle, offset).second) << "handle " << handle << " twice";
    }
    const std::vector<Expected> expected = expected_objects(*d, s, r2000);
    EXPECT_EQ(at.size(), expected.size());
    for (const Expected& e : expected) {
      SCOPED_TRACE(testing::Message() << "handle " << e.handle << " type " << e.type);
      ASSERT_EQ(at.count(e.handle), 1u);
      const Read r = read_object(bytes, at[e.handle], r2000);
      EXPECT_EQ(r.type, e.type);
      EXPECT_EQ(r.handle, e.handle);
      EXPECT_TRUE(r.sized);
      EXPECT_EQ(r.owner_code, 4u);
      EXPECT_EQ(r.owner, e.owner);
    }
    db_close_drawing(d);
  }
}

}  // namespace
}  // namespace tsn::test
