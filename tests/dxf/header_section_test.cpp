// The HEADER section byte for byte for releases 12 and 14, the date and code page rules, and
// the $HANDSEED placeholder position and patch text.
#include "dxf/header_section.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <string_view>

#include "dxf/dxf_writer.h"
#include "dxf/group_sink.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

// The expected text is written with "\n"; the file has CR LF.
std::string crlf(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

ConvSettings settings(int verDXF, int no999) {
  ConvSettings s;
  s.verDXF = verDXF;
  s.SaveFileType = 0;
  s.DecPlaces = 6;
  s.No999 = no999;
  return s;
}

struct Written {
  std::string bytes;
  HandseedMark mark;
  std::uint32_t last_handle = 0;
};

Written write_header(const ConvSettings& s, const DrawingExtents& e, const std::tm* date = nullptr) {
  test::ScratchDir dir;
  const std::string path = (dir / "h.dxf").string();
  DxfState state;
  dxf_configure(state, s, false);
  state.n_last_handle = 500;  // whatever an earlier file left
  FileGroupSink sink;
  Written out;
  EXPECT_TRUE(sink.open(path));
  EXPECT_EQ(write_dxf_header(state, sink, s, e, out.mark, date), 0);
  EXPECT_TRUE(sink.finish());
  out.bytes = test::read_file(path);
  out.last_handle = state.n_last_handle;
  return out;
}

const DrawingExtents kBox{2.0, -1.5, 1000.125, 3.0};

// Release 12, No999 on, DecPlaces 6: codes right-aligned in three columns, extents and limits
// untrimmed, Z of the extents 0, no $HANDLING/$HANDSEED.
const char* const kRelease12 =
    "  0\nSECTION\n"
    "  2\nHEADER\n"
    "  9\n$ACADVER\n"
    "  1\nAC1009\n"
    "  9\n$DWGCODEPAGE\n"
    "  3\nANSI_1252\n"
    "  9\n$EXTMIN\n"
    " 10\n2.000000\n"
    " 20\n-1.500000\n"
    " 30\n0.000000\n"
    "  9\n$EXTMAX\n"
    " 10\n1000.125000\n"
    " 20\n3.000000\n"
    " 30\n0.000000\n"
    "  9\n$LIMMIN\n"
    " 10\n2.000000\n"
    " 20\n-1.500000\n"
    "  9\n$LIMMAX\n"
    " 10\n1000.125000\n"
    " 20\n3.000000\n"
    "  9\n$FILLMODE\n"
    " 70\n1\n"
    "  0\nENDSEC\n";

TEST(HeaderSection, Release12IsByteExact) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  const Written w = write_header(settings(4, 1), kBox);
  EXPECT_EQ(w.bytes, crlf(kRelease12));
  EXPECT_FALSE(w.mark.present);
  EXPECT_EQ(w.last_handle, 33u);
}

TEST(HeaderSection, Release14AddsHandlingAndAHandseedPlaceholder) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  const Written w = write_header(settings(6, 1), kBox);
  const std::string expected =
      "  0\nSECTION\n"
      "  2\nHEADER\n"
      "  9\n$ACADVER\n"
      "  1\nAC1014\n"
      "  9\n$DWGCODEPAGE\n"
      "  3\nANSI_1252\n"
      "  9\n$EXTMIN\n 10\n2.000000\n 20\n-1.500000\n 30\n0.000000\n"
      "  9\n$EXTMAX\n 10\n1000.125000\n 20\n3.000000\n 30\n0.000000\n"
      "  9\n$LIMMIN\n 10\n2.000000\n 20\n-1.500000\n"
      "  9\n$LIMMAX\n 10\n1000.125000\n 20\n3.000000\n"
      "  9\n$FILLMODE\n 70\n1\n"
      "  9\n$HANDLING\n 70\n1\n"
      "  9\n$HANDSEED\n  5\n        \n"
      "  0\nENDSEC\n";
  EXPECT_EQ(w.bytes, crlf(expected));
  EXPECT_EQ(w.last_handle, 33u);
  ASSERT_TRUE(w.mark.present);
  // The mark is the file offset (CR bytes counted) of the placeholder's first byte.
  EXPECT_EQ(w.mark.offset, w.bytes.find("  9\r\n$HANDSEED"));
  EXPECT_EQ(w.bytes.substr(w.mark.offset, 31), "  9\r\n$HANDSEED\r\n  5\r\n        \r\n");
}

TEST(HeaderSection, DwgOutputNeverClaimsRelease14Text) {
  ConvSettings s = settings(6, 1);
  s.SaveFileType = 1;
  EXPECT_FALSE(header_is_release14(s));
  EXPECT_TRUE(header_is_release14(settings(6, 0)));
  EXPECT_FALSE(header_is_release14(settings(4, 0)));
  EXPECT_FALSE(header_is_release14(settings(7, 0)));
}

TEST(HeaderSection, CommentLinesCarryProductAndFixedDate) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  std::tm date{};
  date.tm_year = 2026 - 1900;
  date.tm_mon = 11;
  date.tm_mday = 7;
  date.tm_wday = 1;
  date.tm_hour = 10;
  date.tm_min = 4;
  date.tm_sec = 3;
  const Written w = write_header(settings(4, 0), kBox, &date);
  // The two comment lines come right after $ACADVER; the rest is the No999 form.
  std::string expected = kRelease12;
  expected.insert(expected.find("  9\n$DWGCODEPAGE"),
                  "999\nTESSARYN 3.2 (Rev C.11)\n"
                  "999\nMon Dec 07 10:04:03 2026\n");
  EXPECT_EQ(w.bytes, crlf(expected));
}

TEST(HeaderSection, DateTextHasTheFixedWidthForm) {
  std::tm date{};
  date.tm_year = 1999 - 1900;
  date.tm_mon = 0;
  date.tm_mday = 31;
  date.tm_wday = 0;
  date.tm_hour = 23;
  date.tm_min = 59;
  date.tm_sec = 58;
  const std::string text = header_date_text(date);
  EXPECT_EQ(text, "Sun Jan 31 23:59:58 1999\n");
  EXPECT_EQ(text.size(), 25u);
}

TEST(HeaderSection, UndefinedCodePageInAnyCaseWritesNoCodePage) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  std::string expected = kRelease12;
  expected.erase(expected.find("  9\n$DWGCODEPAGE"),
                 std::string_view("  9\n$DWGCODEPAGE\n  3\nANSI_1252\n").size());
  for (const char* name : {"undefined", "UNDEFINED", "UnDeFiNeD"}) {
    ConvSettings s = settings(4, 1);
    s.DWGCodePageString = name;
    EXPECT_EQ(write_header(s, kBox).bytes, crlf(expected)) << name;
  }
  ConvSettings s = settings(4, 1);
  s.DWGCodePageString = "ANSI_1251";
  EXPECT_NE(write_header(s, kBox).bytes.find("  9\r\n$DWGCODEPAGE\r\n  3\r\nANSI_1251\r\n"),
            std::string::npos);
}

TEST(HeaderSection, ExtentsKeepEveryDecimalOfDecPlaces) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  ConvSettings s = settings(4, 1);
  s.DecPlaces = 2;
  const Written w = write_header(s, {2.0, 0.0, 10.5, 7.125});
  EXPECT_NE(w.bytes.find("  9\r\n$EXTMIN\r\n 10\r\n2.00\r\n 20\r\n0.00\r\n 30\r\n0.00\r\n"),
            std::string::npos);
  // 7.125 rounds to even in the last place kept, as printf does.
  EXPECT_NE(w.bytes.find("  9\r\n$LIMMAX\r\n 10\r\n10.50\r\n 20\r\n7.12\r\n  9\r\n$FILLMODE"),
            std::string::npos);
}

TEST(HeaderSection, HandseedTextReplacesThePlaceholderExactly) {
  EXPECT_EQ(handseed_text(0x25), "  9\n$HANDSEED\n  5\n      25\n");
  EXPECT_EQ(handseed_text(0xABCDEF12u), "  9\n$HANDSEED\n  5\nABCDEF12\n");
  EXPECT_EQ(handseed_text(0x22).size(), kHandseedPlaceholder.size());
  EXPECT_EQ(handseed_text(0xFFFFFFFFu).size(), kHandseedPlaceholder.size());
}

}  // namespace
}  // namespace tsn
