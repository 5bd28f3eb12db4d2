// Colour lists: reading the stored lines, gradients stretched and shrunk to a class count, and
// the 1024-entry class colour table.
#include "settings/colour_lists.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "support/scratch_dir.h"

namespace tsn {
namespace {

std::vector<std::uint8_t> numbered(std::size_t n, int first = 1) {
  std::vector<std::uint8_t> v(n);
  std::iota(v.begin(), v.end(), static_cast<std::uint8_t>(first));
  return v;
}

std::string line_of(int from, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += (i ? "," : "") + std::to_string(from + i);
  return s;
}

TEST(ColourLists, ReadLineByLineToTheFirstShortLine) {
  test::ScratchDir d;
  test::write_file(d / "colors.ini",
                   "[Long]\nGrad=1\n0=" + line_of(1, 20) + "\n1=" + line_of(21, 20) + "\n2=" +
                       line_of(41, 5) + "\n3=99\n"
                       "[Forty]\n0=" + line_of(1, 20) + "\n1=" + line_of(21, 20) + "\n2=\n"
                       "[Off]\n0=-1,5,6\n"
                       "[Bytes]\n0= 300 , 7,x,9\n");
  Profile p;
  ASSERT_TRUE(p.select_file(d / "colors.ini"));
  const ColourList long_list = read_colour_list(p, "Long");
  EXPECT_TRUE(long_list.graded);
  EXPECT_EQ(long_list.colours, numbered(45));  // line 3 follows a short line: not read
  EXPECT_EQ(read_colour_list(p, "Forty").colours, numbered(40));
  EXPECT_FALSE(read_colour_list(p, "Forty").graded);
  EXPECT_TRUE(read_colour_list(p, "Off").colours.empty());
  EXPECT_TRUE(read_colour_list(p, "Missing").colours.empty());
  // The low byte of each number; reading stops at a token that is no number.
  EXPECT_EQ(read_colour_list(p, "Bytes").colours, (std::vector<std::uint8_t>{44, 7}));
}

TEST(ColourLists, GradientsStretchAndShrinkToTheClassCount) {
  const std::vector<std::uint8_t> ten = numbered(10, 0);
  EXPECT_EQ(resample_gradient(ten, 5), (std::vector<std::uint8_t>{0, 3, 5, 7, 9}));
  EXPECT_EQ(resample_gradient(ten, 1), (std::vector<std::uint8_t>{4}));
  EXPECT_EQ(resample_gradient(ten, 2), (std::vector<std::uint8_t>{0, 9}));
  EXPECT_EQ(resample_gradient(ten, 3), (std::vector<std::uint8_t>{0, 4, 9}));
  EXPECT_EQ(resample_gradient(ten, 10), ten);
  EXPECT_EQ(resample_gradient(ten, 0), ten);
  EXPECT_EQ(resample_gradient({10, 20}, 5), (std::vector<std::uint8_t>{10, 10, 20, 20, 20}));
}

TEST(ColourLists, ClassTablesRepeatTheirColoursTo1024Entries) {
  const ColourList three{{5, 6, 7}, false};
  const std::vector<std::uint8_t> table = class_colour_table(three, 8);
  ASSERT_EQ(table.size(), kMaxColours);
  EXPECT_EQ(table[0], 5);
  EXPECT_EQ(table[3], 5);
  // The eight class colours 5 6 7 5 6 7 5 6 repeat: 1022 = 8 * 127 + 6.
  EXPECT_EQ(table[1022], 5);
  EXPECT_EQ(table[1023], 6);
  // A gradient of 10 over 5 classes: the five picked colours, repeated.
  const ColourList graded{numbered(10, 0), true};
  const std::vector<std::uint8_t> five = class_colour_table(graded, 5);
  EXPECT_EQ(std::vector<std::uint8_t>(five.begin(), five.begin() + 6),
            (std::vector<std::uint8_t>{0, 3, 5, 7, 9, 0}));
  EXPECT_TRUE(class_colour_table(ColourList{}, 5).empty());
}

}  // namespace
}  // namespace tsn
