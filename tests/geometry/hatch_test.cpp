// The hatch pattern table, the scale rules and the too-small test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "geometry/hatch_patterns.h"
#include "geometry/hatch_scale.h"
#include "settings/hatch_pattern_names.h"

namespace tsn {
namespace {

constexpr int kAnsi31 = 2;
constexpr int kArB816 = 10;
constexpr int kDots = 19;
constexpr int kGrass = 22;
constexpr int kHex = 24;
constexpr int kSwamp = 31;

shape_box box(double width, double height) { return {10.0, 20.0, 10.0 + width, 20.0 + height}; }

TEST(HatchTable, TellingRowsHoldTheirExactNumbers) {
  const HatchPattern& ansi31 = hatch_pattern(kAnsi31);
  EXPECT_EQ(ansi31.name, "ANSI31");
  ASSERT_EQ(ansi31.line_count, 1);
  const HatchLine& a = ansi31.lines[0];
  EXPECT_DOUBLE_EQ(a.angle, std::numbers::pi / 4);
  EXPECT_EQ(a.base_x, 0.0);
  EXPECT_EQ(a.base_y, 0.0);
  EXPECT_NEAR(a.offset_x, -0.0883883476483184, 1e-16);
  EXPECT_NEAR(a.offset_y, 0.0883883476483185, 1e-16);
  EXPECT_EQ(a.dash_count, 0);
  EXPECT_EQ(ansi31.min_width, 0.178568);
  EXPECT_EQ(ansi31.min_height, 0.178568);
  EXPECT_EQ(ansi31.base_scale, 1.0);

  const HatchPattern& dots = hatch_pattern(kDots);
  EXPECT_EQ(dots.name, "DOTS");
  ASSERT_EQ(dots.line_count, 1);
  const HatchLine& d = dots.lines[0];
  EXPECT_EQ(d.angle, 0.0);
  EXPECT_DOUBLE_EQ(d.offset_x, 0.03125);
  EXPECT_DOUBLE_EQ(d.offset_y, 0.0625);
  ASSERT_EQ(d.dash_count, 2);
  EXPECT_EQ(d.dashes[0], 0.0);
  EXPECT_EQ(d.dashes[1], -0.0625);

  const HatchPattern& solid = hatch_pattern(0);
  EXPECT_EQ(solid.name, "SOLID");
  EXPECT_EQ(solid.line_count, 0);
}

TEST(HatchTable, OffsetsAreTurnedCounterClockwiseByTheLineAngle) {
  // Vertical brick joints: 8 along and 8 across a line at 90 degrees points to (-8, 8).
  const HatchLine& joint = hatch_pattern(kArB816).lines[1];
  EXPECT_NEAR(joint.offset_x, -8.0, 1e-9);
  EXPECT_NEAR(joint.offset_y, 8.0, 1e-9);
  const HatchLine& hex = hatch_pattern(kHex).lines[1];  // 120 degrees, 0.216506351 across
  EXPECT_NEAR(hex.offset_x, -0.1875, 1e-9);
  EXPECT_NEAR(hex.offset_y, -0.1082531755, 1e-9);
  const HatchLine& swamp = hatch_pattern(kSwamp).lines[5];
  EXPECT_NEAR(swamp.offset_x, -1.0, 1e-8);
  EXPECT_NEAR(swamp.offset_y, 0.0, 1e-8);
  EXPECT_NEAR(swamp.angle, 2 * std::numbers::pi / 3, 1e-15);
}

TEST(HatchTable, UnknownNumbersGiveSolid) {
  EXPECT_EQ(hatch_pattern(-1).name, "SOLID");
  EXPECT_EQ(hatch_pattern(34).name, "SOLID");
}

TEST(HatchTable, EveryEntryIsSane) {
  for (int i = 0; i < kHatchPatternCount; ++i) {
    const HatchPattern& p = hatch_pattern(i);
    SCOPED_TRACE(std::string(p.name));
    EXPECT_EQ(p.name, kHatchPatternNames[static_cast<std::size_t>(i)]);
    const double base = p.name == "AR-B816" ? 0.2
                        : p.name == "AR-SAND" ? 0.25
                        : (p.name == "GRASS" || p.name == "SWAMP") ? 0.4
                                                                   : 1.0;
    EXPECT_EQ(p.base_scale, base);
    if (i == 0) continue;
    ASSERT_GE(p.line_count, 1);
    ASSERT_LE(p.line_count, kMaxHatchLines);
    // The minimum size covers one line spacing of every family along X and along Y.
    double need_w = 0.0;
    double need_h = 0.0;
    for (int k = 0; k < p.line_count; ++k) {
      const HatchLine& l = p.lines[static_cast<std::size_t>(k)];
      ASSERT_GE(l.dash_count, 0);
      ASSERT_LE(l.dash_count, kMaxHatchDashes);
      for (const double v : {l.angle, l.base_x, l.base_y, l.offset_x, l.offset_y}) {
        EXPECT_TRUE(std::isfinite(v));
      }
      double period = 0.0;
      for (int d = 0; d < l.dash_count; ++d) {
        EXPECT_TRUE(std::isfinite(l.dashes[static_cast<std::size_t>(d)]));
        period += std::abs(l.dashes[static_cast<std::size_t>(d)]);
      }
      if (l.dash_count > 0) {
        EXPECT_GT(period, 0.0) << "line " << k;
      }
      // Spacing across the line: successive lines must not coincide.
      const double across = -l.offset_x * std::sin(l.angle) + l.offset_y * std::cos(l.angle);
      EXPECT_GT(std::abs(across), 1e-6) << "line " << k;
      const double s = std::abs(std::sin(l.angle));
      const double c = std::abs(std::cos(l.angle));
      need_w = std::max(need_w, s > 1e-9 ? std::abs(across) / s : period);
      need_h = std::max(need_h, c > 1e-9 ? std::abs(across) / c : period);
    }
    EXPECT_GE(p.min_width, need_w);
    EXPECT_GE(p.min_height, need_h);
    EXPECT_LE(p.min_width, need_w * 1.7);
    EXPECT_LE(p.min_height, need_h * 1.7);
  }
}

TEST(HatchScale, AutomaticScaleIsTheDiagonalTimesTheRatio) {
  const PreparedHatch h = prepare_hatch_pattern(kAnsi31, -1.0, 1000.0, 0.02);
  EXPECT_DOUBLE_EQ(h.check.hatch_scale, 20.0);
  EXPECT_FALSE(h.check.reset);
  EXPECT_TRUE(h.check.message.empty());
  EXPECT_DOUBLE_EQ(h.scale, 20.0);
  EXPECT_EQ(automatic_hatch_scale(0.75, 1000.0, 0.02), 0.75);
}

TEST(HatchScale, TooSmallScaleIsResetWithItsMessage) {
  const PreparedHatch h = prepare_hatch_pattern(kAnsi31, 0.5, 1000.0, 0.02);
  EXPECT_TRUE(h.check.reset);
  EXPECT_DOUBLE_EQ(h.check.hatch_scale, 2.0);
  EXPECT_EQ(h.check.message, "Hatch Scale too small for this file, resetting to 2.0000");
  EXPECT_EQ(kHatchScaleTooSmallCaption, "Hatch Scale Too Small");
  EXPECT_NEAR(h.pattern.lines[0].offset_y, 2.0 * 0.0883883476483185, 1e-15);
}

TEST(HatchScale, EachPatternHasItsLowestRatio) {
  EXPECT_EQ(lowest_hatch_scale_ratio(1), 0.01);
  EXPECT_EQ(lowest_hatch_scale_ratio(17), 0.01);
  EXPECT_EQ(lowest_hatch_scale_ratio(4), 0.008);
  EXPECT_EQ(lowest_hatch_scale_ratio(31), 0.008);
  EXPECT_EQ(lowest_hatch_scale_ratio(29), 0.016);
  EXPECT_EQ(lowest_hatch_scale_ratio(33), 0.016);
  EXPECT_EQ(lowest_hatch_scale_ratio(19), 0.02);
  EXPECT_EQ(lowest_hatch_scale_ratio(2), 0.002);
  EXPECT_EQ(lowest_hatch_scale_ratio(28), 0.002);
  // At the limit no reset; just below it DOTS on 1000 goes to 20.
  EXPECT_FALSE(check_hatch_scale(kDots, 20.0, 1000.0).reset);
  const HatchScaleCheck c = check_hatch_scale(kDots, 19.9, 1000.0);
  EXPECT_TRUE(c.reset);
  EXPECT_DOUBLE_EQ(c.hatch_scale, 20.0);
  // SOLID, a non-positive scale or an empty extent are not checked.
  EXPECT_FALSE(check_hatch_scale(0, 0.001, 1000.0).reset);
  EXPECT_FALSE(check_hatch_scale(kDots, 0.0, 1000.0).reset);
  EXPECT_FALSE(check_hatch_scale(kDots, 1.0, 0.0).reset);
}

TEST(HatchScale, TwoSignificantDigitsNeverFallBelowTheValue) {
  EXPECT_DOUBLE_EQ(two_significant_digits_up(2.0), 2.0);
  EXPECT_DOUBLE_EQ(two_significant_digits_up(2.468), 2.5);
  EXPECT_DOUBLE_EQ(two_significant_digits_up(123.0), 130.0);
  EXPECT_DOUBLE_EQ(two_significant_digits_up(10.0), 10.0);
  EXPECT_DOUBLE_EQ(two_significant_digits_up(0.0012345), 0.0013);
  EXPECT_EQ(two_significant_digits_up(0.0), 0.0);
  // A reset scale passes its own check: the next run keeps it without a message.
  for (double diagonal = 0.37; diagonal < 1e7; diagonal *= 1.731) {
    for (const int pattern : {kAnsi31, kDots, 29, 4, 1}) {
      const HatchScaleCheck first = check_hatch_scale(pattern, 1e-9, diagonal);
      ASSERT_TRUE(first.reset);
      EXPECT_LE(first.hatch_scale, diagonal * lowest_hatch_scale_ratio(pattern) * 1.1 + 1e-12);
      EXPECT_FALSE(check_hatch_scale(pattern, first.hatch_scale, diagonal).reset)
          << diagonal << " " << pattern;
    }
  }
}

TEST(HatchScale, LinesAreScaledByTheScaleAndTheBaseScale) {
  const PreparedHatch h = prepare_hatch_pattern(kGrass, 2.0, 100.0, 0.02);
  EXPECT_DOUBLE_EQ(h.scale, 0.8);
  const HatchPattern& table = hatch_pattern(kGrass);
  ASSERT_EQ(h.pattern.line_count, table.line_count);
  for (int k = 0; k < table.line_count; ++k) {
    const auto i = static_cast<std::size_t>(k);
    EXPECT_EQ(h.pattern.lines[i].angle, table.lines[i].angle);
    EXPECT_DOUBLE_EQ(h.pattern.lines[i].offset_x, table.lines[i].offset_x * 0.8);
    EXPECT_DOUBLE_EQ(h.pattern.lines[i].offset_y, table.lines[i].offset_y * 0.8);
    EXPECT_DOUBLE_EQ(h.pattern.lines[i].dashes[0], table.lines[i].dashes[0] * 0.8);
    EXPECT_DOUBLE_EQ(h.pattern.lines[i].dashes[1], table.lines[i].dashes[1] * 0.8);
  }
  EXPECT_EQ(h.pattern.min_width, table.min_width);  // compared at scale 1 times h.scale
}

TEST(HatchTooSmall, ShapeSmallerThanOneRepeatBothWaysIsNotHatched) {
  const PreparedHatch dots = prepare_hatch_pattern(kDots, 1.0, 10.0, 0.02);
  ASSERT_FALSE(dots.check.reset);
  EXPECT_TRUE(hatch_too_small(dots, box(0.1, 0.1)));
  EXPECT_FALSE(hatch_too_small(dots, box(0.2, 0.1)));  // wide enough in one direction
  EXPECT_FALSE(hatch_too_small(dots, box(0.1, 0.2)));
  EXPECT_FALSE(hatch_too_small(dots, box(0.101, 0.101)));
  // At scale 2 the same repeat is twice as large.
  const PreparedHatch big = prepare_hatch_pattern(kDots, 2.0, 10.0, 0.02);
  EXPECT_TRUE(hatch_too_small(big, box(0.2, 0.2)));
}

TEST(HatchTooSmall, SolidAlwaysFillsAndAZeroScalePatternNever) {
  const PreparedHatch solid = prepare_hatch_pattern(0, -1.0, 0.0, 0.02);
  EXPECT_FALSE(hatch_too_small(solid, box(0.0, 0.0)));
  // An empty extent gives an automatic scale of 0: lines at no spacing are never written.
  const PreparedHatch flat = prepare_hatch_pattern(kAnsi31, -1.0, 0.0, 0.02);
  EXPECT_EQ(flat.scale, 0.0);
  EXPECT_TRUE(hatch_too_small(flat, box(5.0, 5.0)));
}

}  // namespace
}  // namespace tsn
