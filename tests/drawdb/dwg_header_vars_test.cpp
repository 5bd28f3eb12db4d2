// The binary drawing's header variables: the section's frame, size and CRC, and fields read
// back in file order with a reader of our own.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <utility>

#include "drawdb/dwg_header_vars.h"

namespace tsn::dwg {
namespace {

struct Reader {
  const std::uint8_t* data;
  std::size_t bit = 0;
  std::uint64_t bits(int n) {
    std::uint64_t v = 0;
    for (; n > 0; --n, ++bit) v = v << 1 | ((data[bit / 8] >> (7 - bit % 8)) & 1);
    return v;
  }
  std::uint64_t raw(int bytes) {  // little-endian
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= bits(8) << (8 * i);
    return v;
  }
  double rd() { return std::bit_cast<double>(raw(8)); }
  std::uint64_t bs() {
    const auto c = bits(2);
    return c == 0 ? raw(2) : c == 1 ? raw(1) : c == 2 ? 0 : 256;
  }
  std::uint64_t bl() {
    const auto c = bits(2);
    return c == 0 ? raw(4) : c == 1 ? raw(1) : 0;
  }
  double bd() {
    const auto c = bits(2);
    return c == 0 ? rd() : c == 1 ? 1.0 : 0.0;
  }
  std::string t() {
    std::string s(bs(), ' ');
    for (char& ch : s) ch = static_cast<char>(bits(8));
    return s;
  }
  std::pair<int, std::uint64_t> h() {
    const int code = static_cast<int>(bits(4));
    std::uint64_t v = 0;
    for (auto n = bits(4); n > 0; --n) v = v << 8 | bits(8);
    return {code, v};
  }
  void skip_b(int n) { bits(n); }
  void skip_bs(int n) { while (n-- > 0) bs(); }
};

// The section alone, from its start sentinel to its end sentinel.
std::vector<std::uint8_t> write(const DbHeader& h, const HeaderRefs& r, bool r2000) {
  BitWriter w;
  write_bits(w, 5, 3);  // the section must start on the next byte
  write_header_vars(w, h, r, r2000);
  EXPECT_EQ(w.bit % 8, 0u);
  return {w.bytes.begin() + 1, w.bytes.begin() + static_cast<long>(byte_size(w))};
}

TEST(DwgHeaderVars, FramedSizedAndCheckedForBothReleases) {
  std::size_t sizes[2] = {};
  for (bool r2000 : {false, true}) {
    SCOPED_TRACE(r2000 ? "2000" : "14");
    auto s = write(DbHeader{}, HeaderRefs{}, r2000);
    ASSERT_GT(s.size(), 38u);
    EXPECT_TRUE(std::equal(kHeaderVarsStart.begin(), kHeaderVarsStart.end(), s.begin()));
    EXPECT_TRUE(std::equal(kHeaderVarsEnd.begin(), kHeaderVarsEnd.end(), s.end() - 16));
    std::uint32_t size = 0;
    std::memcpy(&size, &s[16], 4);
    EXPECT_EQ(size, s.size() - 16 - 4 - 2 - 16);
    const std::span<const std::uint8_t> covered(&s[16], 4 + size);
    const std::uint16_t stored = static_cast<std::uint16_t>(s[20 + size] | s[21 + size] << 8);
    EXPECT_EQ(stored, crc16(covered, kCrcSeed));
    s[20 + size / 2] ^= 0x10;
    EXPECT_NE(stored, crc16(covered, kCrcSeed));
    sizes[r2000] = size;
  }
  EXPECT_GT(sizes[1], sizes[0]);
}

TEST(DwgHeaderVars, LeadingFieldsReadBackInOrder) {
  DbHeader h;
  h.plinegen = 1, h.orthomode = 0, h.regenmode = 0, h.ltscale = 2.5, h.cecolor = 3;
  h.tdcreate = 2461000.25;
  HeaderRefs r;
  r.handseed = 0x1234, r.clayer = 0x10;
  for (bool r2000 : {false, true}) {
    SCOPED_TRACE(r2000 ? "2000" : "14");
    const auto s = write(h, r, r2000);
    Reader in{&s[20]};
    EXPECT_EQ(in.bd(), 412148564080.0);
    EXPECT_EQ(in.bd() + in.bd() + in.bd(), 3.0);
    EXPECT_EQ(in.t(), std::string("m", 2));
    EXPECT_EQ(in.t() + in.t() + in.t(), "");
    EXPECT_EQ(in.bl() + in.bl(), 0u);
    if (!r2000) {
      EXPECT_EQ(in.bs(), 256u);
    }
    EXPECT_EQ(in.h(), std::make_pair(5, std::uint64_t{0}));
    in.skip_b(r2000 ? 2 : 3);  // DIMASO, DIMSHO and release 14's DIMSAV
    EXPECT_EQ(in.bits(3), 0b100u);  // PLINEGEN, ORTHOMODE, REGENMODE
    in.skip_b(r2000 ? 15 : 20);
    in.skip_bs(r2000 ? 27 : 7);
    if (!r2000) in.bl(), in.skip_bs(23);  // OSMODE, then ATTMODE to TEXTQLTY
    EXPECT_EQ(in.bd(), 2.5);                // LTSCALE
    for (int i = 0; i < 20; ++i) in.bd();
    EXPECT_EQ(in.t(), std::string("acad", 5));   // MENU
    EXPECT_EQ(in.bl(), 2461000u);                 // TDCREATE day
    EXPECT_EQ(in.bl(), 21600000u);                // and its milliseconds
    for (int i = 0; i < 6; ++i) in.bl();
    EXPECT_EQ(in.bs(), 3u);  // CECOLOR
    EXPECT_EQ(in.h(), std::make_pair(0, std::uint64_t{0x1234}));
    EXPECT_EQ(in.h(), std::make_pair(5, std::uint64_t{0x10}));
  }
}

}  // namespace
}  // namespace tsn::dwg
