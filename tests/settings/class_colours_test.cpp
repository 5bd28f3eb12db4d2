// Class colours: the mapping scheme and when it is allowed, graded and repeated scheme lists,
// ramps matched to the nearest palette colour, and the palette itself.
#include "settings/class_colours.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings/colour_palette.h"

namespace tsn {
namespace {

RangeSet unique_integers(const std::vector<int>& values) {
  RangeSet r;
  r.type = NumberType::integer;
  for (const int v : values) r.classes.push_back({std::to_string(v), double(v), double(v), "", ""});
  return r;
}

ConvSettings with_classes(RangeSet ranges, std::vector<std::uint8_t> list, bool graded) {
  ConvSettings s;
  s.scheme_names = {"First", "Second"};
  s.colour_ranges = std::move(ranges);
  s.colour_list = {std::move(list), graded};
  s.cur.ClassTypeColor = 2;
  return s;
}

TEST(MappingScheme, AllowedOnlyForUniqueIntegersWithinTheColourNumbers) {
  EXPECT_TRUE(mapping_scheme_allowed(unique_integers({0, 7, 256}), 2));
  EXPECT_FALSE(mapping_scheme_allowed(unique_integers({1, 257}), 2));
  EXPECT_FALSE(mapping_scheme_allowed(unique_integers({-1, 3}), 2));
  EXPECT_FALSE(mapping_scheme_allowed(unique_integers({1, 3}), 0));  // Quantile
  RangeSet reals = unique_integers({1, 3});
  reals.type = NumberType::real;
  EXPECT_FALSE(mapping_scheme_allowed(reals, 2));
  std::vector<int> many(257);
  for (int i = 0; i < 257; ++i) many[static_cast<std::size_t>(i)] = i % 200;
  EXPECT_FALSE(mapping_scheme_allowed(unique_integers(many), 2));
  EXPECT_FALSE(mapping_scheme_allowed(RangeSet{}, 2));
}

TEST(ClassColours, MappingSchemeColoursEachClassWithItsOwnValue) {
  ConvSettings s = with_classes(unique_integers({3, 30, 250}), {1, 2}, false);
  s.cur.DefaultColorSet = 2;  // the built-in scheme after the two named ones
  ASSERT_TRUE(compute_class_colours(s));
  EXPECT_EQ(s.class_colours[0], 3);
  EXPECT_EQ(s.class_colours[1], 30);
  EXPECT_EQ(s.class_colours[2], 250);
  EXPECT_EQ(s.class_colours[3], 3);  // repeated over the table

  // Ranges read as colour numbers ask for it too; values it cannot take fall back to the list.
  s = with_classes(unique_integers({5, 900}), {11, 12}, false);
  s.colour_key_holds_colour_numbers = true;
  EXPECT_FALSE(compute_class_colours(s));
  EXPECT_EQ(s.class_colours[0], 11);
  EXPECT_EQ(s.class_colours[1], 12);
}

TEST(ClassColours, GradedListsAreSpreadOthersRepeated) {
  const std::vector<std::uint8_t> ten = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
  ConvSettings s = with_classes(unique_integers({1, 2, 3, 4, 5}), ten, true);
  s.cur.ClassTypeColor = 0;
  ASSERT_TRUE(compute_class_colours(s));
  // First, entries 3, 5, 7, last.
  EXPECT_EQ(std::vector<int>(s.class_colours.begin(), s.class_colours.begin() + 6),
            (std::vector<int>{10, 40, 60, 80, 100, 10}));

  s = with_classes(unique_integers({1, 2, 3, 4, 5}), {7, 8, 9}, false);
  s.cur.ClassTypeColor = 0;
  compute_class_colours(s);
  EXPECT_EQ(std::vector<int>(s.class_colours.begin(), s.class_colours.begin() + 7),
            (std::vector<int>{7, 8, 9, 7, 8, 7, 8}));  // five classes, then the five again
  // NumColors larger than the class count keeps the whole list in the cycle.
  s.def.NumColors = 3;
  s.colour_ranges.classes.resize(2);
  compute_class_colours(s);
  EXPECT_EQ(std::vector<int>(s.class_colours.begin(), s.class_colours.begin() + 4),
            (std::vector<int>{7, 8, 9, 7}));

  // No list at all still gives every class a visible colour.
  s = with_classes(unique_integers({1, 2}), {}, false);
  s.cur.ClassTypeColor = 0;
  compute_class_colours(s);
  EXPECT_EQ(s.class_colours[1], 7);
}

TEST(ClassColours, RampRunsFromStartToEndThroughTheNearestColours) {
  const std::vector<std::uint8_t> candidates = {1, 10, 30, 50, 2, 3, 5};
  // Red to yellow over three classes: red, the orange in between, yellow.
  const auto ramp = ramp_colours(1, 2, 3, candidates);
  ASSERT_EQ(ramp.size(), 3u);
  EXPECT_EQ(ramp[0], 1);   // 10 is the same red, but 1 comes first
  EXPECT_EQ(ramp[1], 30);  // (255, 85, 0) lies nearest hue 30 (255, 127, 0)
  EXPECT_EQ(ramp[2], 50);  // yellow, as 2 is, and listed before it
  EXPECT_TRUE(ramp_colours(1, 2, 0, candidates).empty());
  EXPECT_EQ(ramp_colours(1, 5, 2, {}).front(), 7);  // nothing to match: white
}

TEST(ColourPalette, NamedColoursWheelAndGreys) {
  const auto rgb = [](int c) {
    const Rgb v = colour_rgb(c);
    return std::vector<int>{v.r, v.g, v.b};
  };
  EXPECT_EQ(rgb(1), (std::vector<int>{255, 0, 0}));
  EXPECT_EQ(rgb(5), (std::vector<int>{0, 0, 255}));
  EXPECT_EQ(rgb(10), rgb(1));                          // the wheel starts at red
  EXPECT_EQ(rgb(11), (std::vector<int>{255, 127, 127}));  // pale red
  EXPECT_EQ(rgb(20), (std::vector<int>{255, 63, 0}));  // 15 degrees on
  EXPECT_EQ(rgb(50), rgb(2));                          // yellow at 60 degrees
  EXPECT_EQ(rgb(90), rgb(3));                          // green at 120
  EXPECT_EQ(rgb(170), rgb(5));                         // blue at 240
  EXPECT_EQ(rgb(18), (std::vector<int>{38, 0, 0}));    // the darkest shade
  // Shades of one hue grow darker; the greys grow lighter up to white.
  for (int shade = 0; shade + 2 < 10; shade += 2) EXPECT_GT(rgb(130 + shade)[2], rgb(132 + shade)[2]);
  for (int g = 250; g < 255; ++g) EXPECT_LT(rgb(g)[0], rgb(g + 1)[0]);
  EXPECT_EQ(rgb(255), rgb(7));
  EXPECT_EQ(rgb(300), (std::vector<int>{0, 0, 0}));
}

}  // namespace
}  // namespace tsn
