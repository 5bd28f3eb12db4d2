// Plain, prefixed, real and point groups: code alignment, prefixes by TidyDxf, trimmed reals,
// the Z rule and text values in caret notation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dxf/dxf_writer.h"
#include "dxf_test_support.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::CollectingWriter;
using test::Settings;

TEST(PlainGroups, CodesAreRightAlignedInThreeColumnsWhateverTidyDxfSays) {
  for (const int tidy : {0, 1}) {
    CollectingWriter c(Settings{.TidyDxf = tidy});
    dxf_group(c.w, 0, "SECTION");
    dxf_group(c.w, 2, "HEADER");
    dxf_group(c.w, 70, "1");
    dxf_group(c.w, 100, "AcDbEntity");
    dxf_group(c.w, 1000, "four digits");
    dxf_group(c.w, 1071, "");
    EXPECT_EQ(c.text(),
              "  0\nSECTION\n  2\nHEADER\n 70\n1\n100\nAcDbEntity\n1000\nfour digits\n1071\n\n")
        << "TidyDxf " << tidy;
  }
}

TEST(PrefixedGroups, CarryNoPrefixWithTidyDxfZero) {
  CollectingWriter c(Settings{.TidyDxf = 0});
  dxf_prefixed_group(c.w, 8, "ROADS");
  dxf_prefixed_int(c.w, 62, 7);
  dxf_prefixed_int(c.w, 70, -32);
  dxf_prefixed_group(c.w, 330, "x");
  dxf_prefixed_int(c.w, 100, 0);
  EXPECT_EQ(c.text(), "8\nROADS\n62\n7\n70\n-32\n330\nx\n100\n0\n");
}

TEST(PrefixedGroups, TidyDxfOnePadsOneDigitCodesWithTwoBlanksAndTwoDigitCodesWithOne) {
  CollectingWriter c(Settings{.TidyDxf = 1});
  dxf_prefixed_group(c.w, 8, "ROADS");
  dxf_prefixed_group(c.w, 9, "$X");
  dxf_prefixed_int(c.w, 10, 5);
  dxf_prefixed_int(c.w, 99, 5);
  dxf_prefixed_int(c.w, 100, 5);
  dxf_prefixed_group(c.w, 350, "1A");
  EXPECT_EQ(c.text(), "  8\nROADS\n  9\n$X\n 10\n5\n 99\n5\n100\n5\n350\n1A\n");
}

TEST(PrefixedGroups, PrefixesAreBlanksUntilSettingsAreApplied) {
  DxfState state;
  EXPECT_EQ(state.sz_pad1, "  ");
  EXPECT_EQ(state.sz_pad2, " ");
  ConvSettings s;  // TidyDxf 0 by default
  dxf_configure(state, s, false);
  EXPECT_EQ(state.sz_pad1, "");
  EXPECT_EQ(state.sz_pad2, "");
}

TEST(RealGroups, AreTrimmedWithSixPlaces) {
  CollectingWriter c(Settings{.DecPlaces = 6});
  dxf_real(c.w, 40, 1.5);
  dxf_real(c.w, 41, 2.0);
  dxf_real(c.w, 50, -3.0);
  dxf_real(c.w, 51, -0.0);
  dxf_real(c.w, 1041, 0.0000004);
  dxf_real(c.w, 42, 1.0000005);
  EXPECT_EQ(c.text(), " 40\n1.5\n 41\n2.0\n 50\n-3.0\n 51\n0.0\n1041\n0.0\n 42\n1.000001\n");
}

TEST(RealGroups, ZeroPlacesWriteWholeNumbersAndSixteenPlacesStillTrim) {
  CollectingWriter zero(Settings{.DecPlaces = 0});
  dxf_real(zero.w, 40, 12.0);
  dxf_real(zero.w, 40, 12.5);
  dxf_real(zero.w, 40, -0.4);
  EXPECT_EQ(zero.text(), " 40\n12\n 40\n12\n 40\n0\n");

  CollectingWriter sixteen(Settings{.DecPlaces = 16});
  dxf_real(sixteen.w, 40, 1.5);
  dxf_real(sixteen.w, 40, 1e15);
  dxf_real(sixteen.w, 40, 1.0 / 3.0);
  EXPECT_EQ(sixteen.text(), " 40\n1.5\n 40\n1000000000000000.0\n 40\n0.3333333333333333\n");
}

TEST(RealGroups, UntrimmedKeepAllDecimals) {
  CollectingWriter c(Settings{.DecPlaces = 6});
  dxf_real_untrimmed(c.w, 10, 2.0);
  dxf_real_untrimmed(c.w, 20, -0.0);
  EXPECT_EQ(c.text(), " 10\n2.000000\n 20\n0.000000\n");
}

TEST(RealGroups, AnOutOfRangeDecPlacesSettingWritesSixPlaces) {
  CollectingWriter c(Settings{.DecPlaces = 17});
  EXPECT_EQ(c.state.dec_places, 6);
  dxf_real_untrimmed(c.w, 40, 0.25);
  EXPECT_EQ(c.text(), " 40\n0.250000\n");
}

TEST(PointGroups, Release12With2DOnHasNoZ) {
  CollectingWriter c(Settings{.verDXF = 4, .Use2D = 1});
  dxf_point(c.w, 10, 1.5, -2.25, 7.0);
  EXPECT_EQ(c.text(), " 10\n1.5\n 20\n-2.25\n");
}

TEST(PointGroups, Release12With2DOffHasZ) {
  CollectingWriter c(Settings{.verDXF = 4, .Use2D = 0});
  dxf_point(c.w, 11, 1.0, 2.0, 3.5);
  EXPECT_EQ(c.text(), " 11\n1.0\n 21\n2.0\n 31\n3.5\n");
}

TEST(PointGroups, Release12RecordWithZHasZEvenWith2DOn) {
  CollectingWriter c(Settings{.verDXF = 4, .Use2D = 1});
  c.state.record_has_z = true;
  dxf_point(c.w, 10, 0.0, 0.0, -4.0);
  EXPECT_EQ(c.text(), " 10\n0.0\n 20\n0.0\n 30\n-4.0\n");
}

TEST(PointGroups, Release14AlwaysHasZ) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 1, .Use2D = 1});
  dxf_point(c.w, 10, 100.0, 200.5, 0.0);
  EXPECT_EQ(c.text(), " 10\n100.0\n 20\n200.5\n 30\n0.0\n");
}

TEST(PointGroups, TwoDimensionalPointsNeverHaveZ) {
  CollectingWriter c(Settings{.verDXF = 6, .Use2D = 0});
  c.state.record_has_z = true;
  dxf_point2(c.w, 10, 3.0, 4.0);
  EXPECT_EQ(c.text(), " 10\n3.0\n 20\n4.0\n");
}

TEST(PointGroups, ZeroAndSixteenPlaces) {
  CollectingWriter zero(Settings{.verDXF = 6, .DecPlaces = 0});
  dxf_point(zero.w, 10, 1234.4, -0.2, 99.5);
  EXPECT_EQ(zero.text(), " 10\n1234\n 20\n0\n 30\n100\n");
  CollectingWriter sixteen(Settings{.verDXF = 4, .DecPlaces = 16});
  dxf_point2(sixteen.w, 10, 0.1, -250.25);
  EXPECT_EQ(sixteen.text(), " 10\n0.1\n 20\n-250.25\n");
}

// Huge coordinates in exponent form; numbers that are not finite as 0, counted by the state.
TEST(PointGroups, HugeCoordinatesInExponentFormNonFiniteAsZeroAndCounted) {
  CollectingWriter c(Settings{.verDXF = 6, .DecPlaces = 16});
  dxf_point(c.w, 10, 1e300, -1e300, 1e300);
  EXPECT_EQ(c.state.non_finite_reals, 0);
  dxf_point(c.w, 10, NAN, INFINITY, -INFINITY);
  dxf_real_untrimmed(c.w, 40, NAN);
  EXPECT_EQ(c.text(),
            " 10\n1.0E+300\n 20\n-1.0E+300\n 30\n1.0E+300\n"
            " 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n0.0000000000000000\n");
  EXPECT_EQ(c.state.non_finite_reals, 4);
}

// Text values in caret notation: every byte below 0x20 as "^" and the byte plus 64, a caret as
// "^ "; everything else, numbers and the program's own texts as they were.
TEST(TextGroups, ControlCharactersAndCaretsAreWrittenInCaretNotation) {
  struct Case {
    std::string value;
    std::string written;
  };
  const std::vector<Case> cases = {
      {"Lake\rBaikal", "Lake^MBaikal"},
      {"two\nlines", "two^Jlines"},
      {"A\r\n  0\r\nEOF", "A^M^J  0^M^JEOF"},  // never a group of its own
      {"a\tb", "a^Ib"},
      {std::string("nul") + '\0' + "end", "nul^@end"},
      {"\x01\x1b\x1f", "^A^[^_"},
      {"x^y^", "x^ y^ "},
      {"^M", "^ M"},  // a caret before a letter stays a caret
      {"plain \x7f\xe9 text", "plain \x7f\xe9 text"},
      {"", ""},
  };
  for (const int tidy : {0, 1}) {
    CollectingWriter c(Settings{.TidyDxf = tidy});
    std::string expected;
    for (const Case& k : cases) {
      dxf_group(c.w, 1000, k.value);
      dxf_prefixed_group(c.w, 1, k.value);
      expected += "1000\n" + k.written + "\n" + (tidy ? "  1\n" : "1\n") + k.written + "\n";
    }
    EXPECT_EQ(c.text(), expected) << "TidyDxf " << tidy;
  }
}

TEST(TextGroups, LayerNamesAndSubclassNamesAreEscapedToo) {
  CollectingWriter c(Settings{.verDXF = 6});
  dxf_entity_start(c.w, 1, "A\r\n  0", -1);
  dxf_subclass(c.w, "X\nY");
  EXPECT_EQ(c.text(), "0\nLINE\n  5\n       1\n100\nAcDbEntity\n100\nAcDbLine\n8\nA^M^J  0\n"
                      "100\nAcDbX^JY\n");
}

TEST(TextGroups, EscapesThatOverrunTheLineAreCutAtAWholeEscape) {
  CollectingWriter c(Settings{});
  // 254 letters and a CR: the escape would end at 256 characters, so it is left out.
  dxf_group(c.w, 1, std::string(254, 'a') + "\r");
  // 100 CRs: 127 escapes fit in 255 characters, and 100 of them are there.
  dxf_group(c.w, 1, std::string(100, '\r') + std::string(100, 'b'));
  std::string escapes;
  for (int i = 0; i < 100; ++i) escapes += "^M";
  EXPECT_EQ(c.text(), "  1\n" + std::string(254, 'a') + "\n  1\n" + escapes +
                          std::string(55, 'b') + "\n");
  // Without escapes a long value is left to the stream, as before.
  CollectingWriter plain(Settings{});
  dxf_group(plain.w, 1, std::string(300, 'c'));
  EXPECT_EQ(plain.text(), "  1\n" + std::string(300, 'c') + "\n");
}

// Into a temporary-file sink: lines go through as built, except where a line is too long to
// keep, which is translated and cut like any other write; a value's line feed stays in it.
TEST(FileGroups, TextsWithLineFeedsStayOneLineAndOverlongLinesAreTranslatedAndCut) {
  test::ScratchDir dir;
  DxfState state;
  ConvSettings s;
  s.verDXF = 6;
  dxf_configure(state, s, false);
  FileGroupSink sink;
  ASSERT_TRUE(sink.open((dir / "entities.tm~").string()));
  sink.track_lines(kMaxLineLength, 1000);
  DxfWriter w{state, &sink};
  dxf_group(w, 1, "two\nlines");
  const std::string layer(300, 'L');
  dxf_entity_start(w, 1, layer, 5);
  dxf_point2(w, 10, 1.5, 2.0);
  EXPECT_EQ(sink.lines(), 2 + 12 + 4);
  ASSERT_TRUE(sink.finish());
  EXPECT_EQ(test::read_file(dir / "entities.tm~"),
            "  1\r\ntwo^Jlines\r\n0\r\nLINE\r\n  5\r\n       1\r\n100\r\nAcDbEntity\r\n"
            "100\r\nAcDbLine\r\n8\r\n" +
                std::string(255, 'L') + "\r\n62\r\n5\r\n 10\r\n1.5\r\n 20\r\n2.0\r\n");
}

}  // namespace
}  // namespace tsn
