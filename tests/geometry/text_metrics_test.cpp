// Character width ratios: the bounds and fallback on a face of known widths, the
// Arial-compatible face lookup, and the widths of the installed face.
#include "geometry/text_metrics.h"

#include <gtest/gtest.h>

namespace tsn {
namespace {

// A face with an ascent of 100 units.
FaceWidths made_up_face() {
  FaceWidths f;
  f.ascent = 100.0;
  f.advance.fill(50.0);
  f.advance['i'] = 20.0;   // exactly the lower bound
  f.advance['t'] = 10.0;   // below it
  f.advance['W'] = 500.0;  // exactly the upper bound
  f.advance['M'] = 600.0;  // above it
  return f;
}

TEST(CharWidthRatio, AdvanceOverAscentPerCharacterAndAQuarterMoreWhenWide) {
  const FaceWidths f = made_up_face();
  EXPECT_DOUBLE_EQ(char_width_ratio("ab", WidthMode::plain, 1.0, &f), 0.5);
  EXPECT_DOUBLE_EQ(char_width_ratio("ab", WidthMode::wide, 1.0, &f), 0.625);
  EXPECT_DOUBLE_EQ(char_width_ratio("aW", WidthMode::plain, 1.0, &f), 2.75);
  EXPECT_DOUBLE_EQ(char_width_ratio("\xe9\xff", WidthMode::plain, 1.0, &f), 0.5);  // high bytes
}

TEST(CharWidthRatio, ResultsOutsideTheBoundsAndMissingFacesFallBack) {
  const FaceWidths f = made_up_face();
  EXPECT_DOUBLE_EQ(char_width_ratio("i", WidthMode::plain, 1.7, &f), 0.2);
  EXPECT_DOUBLE_EQ(char_width_ratio("WW", WidthMode::plain, 1.7, &f), 5.0);
  EXPECT_DOUBLE_EQ(char_width_ratio("tt", WidthMode::plain, 1.7, &f), 1.7);
  EXPECT_DOUBLE_EQ(char_width_ratio("MM", WidthMode::plain, 1.7, &f), 1.7);
  EXPECT_DOUBLE_EQ(char_width_ratio("WW", WidthMode::wide, 1.7, &f), 1.7);  // 6.25
  EXPECT_DOUBLE_EQ(char_width_ratio("", WidthMode::plain, 1.7, &f), 1.7);
  EXPECT_DOUBLE_EQ(char_width_ratio("ab", WidthMode::plain, 1.7, nullptr), 1.7);
  FaceWidths no_ascent = f;
  no_ascent.ascent = 0.0;
  EXPECT_DOUBLE_EQ(char_width_ratio("ab", WidthMode::plain, 1.7, &no_ascent), 1.7);
}

TEST(FaceLookup, FacesThatAreNotArialAreRefused) {
  // fontconfig always answers with some face; only Arial and its metric twins are taken.
  EXPECT_EQ(match_arial_compatible("Liberation Mono"), "");
  EXPECT_EQ(match_arial_compatible("DejaVu Serif"), "");
  EXPECT_EQ(measure_face(""), nullptr);
  EXPECT_EQ(measure_face("no-such-directory/no-such-font.ttf"), nullptr);
}

TEST(FaceLookup, InstalledArialCompatibleFaceHasArialWidths) {
  const std::string file = match_arial_compatible("Arial");
  if (file.empty()) GTEST_SKIP() << "no Arial-compatible face installed (fonts-liberation2)";
  const auto face = measure_face(file);
  ASSERT_NE(face, nullptr);
  // Arial's widths in its 2048-unit em: ascent 1854, "a" 1139, "W" 1933, "i" 455.
  EXPECT_NEAR(char_width_ratio("a", WidthMode::plain, 9.0, face.get()), 1139.0 / 1854.0, 1e-3);
  EXPECT_NEAR(char_width_ratio("W", WidthMode::plain, 9.0, face.get()), 1933.0 / 1854.0, 1e-3);
  EXPECT_NEAR(char_width_ratio("aW", WidthMode::plain, 9.0, face.get()),
              (1139.0 + 1933.0) / 2.0 / 1854.0, 1e-3);
  EXPECT_NEAR(char_width_ratio("aW", WidthMode::wide, 9.0, face.get()),
              1.25 * (1139.0 + 1933.0) / 2.0 / 1854.0, 1e-3);
  const double narrow = char_width_ratio("iiii", WidthMode::plain, 9.0, face.get());
  EXPECT_NEAR(narrow, 455.0 / 1854.0, 1e-3);
  // The process face is the same one, opened once.
  ASSERT_NE(arial_widths(), nullptr);
  EXPECT_EQ(arial_widths(), arial_widths());
  EXPECT_DOUBLE_EQ(char_width_ratio("iiii", WidthMode::plain, 9.0), narrow);
}

}  // namespace
}  // namespace tsn
