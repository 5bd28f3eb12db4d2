// Writing colour lists: the line layout, reading back what was written, and copying every
// scheme from one schemes file to another.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "settings/colour_lists.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::ScratchDir;
using test::write_file;

ColourList numbered(std::size_t n, bool graded) {
  ColourList list{std::vector<std::uint8_t>(n), graded};
  std::iota(list.colours.begin(), list.colours.end(), std::uint8_t{1});
  return list;
}

std::size_t numbers_on(const ProfileDocument& doc, const std::string& section, int line) {
  const std::string text = doc.get(section, std::to_string(line)).value_or("?");
  if (text.empty()) return 0;
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1;
}

TEST(ColourListWriting, LinesOfTwentyAndTheRestReadBackUnchanged) {
  ScratchDir d;
  write_file(d / "colors.ini", "[Long]\nGrad=0\n0=1\n1=2\n2=3\n3=4\n9=99\n");
  Profile p;
  ASSERT_TRUE(p.select_file(d / "colors.ini"));
  p.select_section("Tessaryn");
  write_colour_list(p, "Long", numbered(45, true));
  write_colour_list(p, "Forty", numbered(40, false));
  EXPECT_EQ(p.section(), "Tessaryn");  // the caller's section is kept
  ASSERT_TRUE(p.flush());

  const ProfileDocument doc = ProfileDocument::load(d / "colors.ini");
  EXPECT_EQ(doc.get("Long", "Grad"), "1");
  EXPECT_EQ(numbers_on(doc, "Long", 0), 20u);
  EXPECT_EQ(numbers_on(doc, "Long", 1), 20u);
  EXPECT_EQ(numbers_on(doc, "Long", 2), 5u);
  EXPECT_FALSE(doc.get("Long", "3").has_value());  // the old section went entirely
  EXPECT_FALSE(doc.get("Long", "9").has_value());
  EXPECT_EQ(doc.get("Forty", "2"), "");
  EXPECT_FALSE(doc.get("Forty", "3").has_value());

  Profile back;
  ASSERT_TRUE(back.select_file(d / "colors.ini"));
  EXPECT_EQ(read_colour_list(back, "Long").colours, numbered(45, true).colours);
  EXPECT_TRUE(read_colour_list(back, "Long").graded);
  EXPECT_EQ(read_colour_list(back, "Forty").colours, numbered(40, false).colours);
}

TEST(ColourListWriting, AFullListAndAnOverlongOneStopAt1024) {
  ScratchDir d;
  Profile p;
  ASSERT_TRUE(p.select_file(d / "colors.ini"));
  write_colour_list(p, "Full", numbered(kMaxColours, false));
  write_colour_list(p, "Over", numbered(kMaxColours + 30, false));
  ASSERT_TRUE(p.flush());
  Profile back;
  ASSERT_TRUE(back.select_file(d / "colors.ini"));
  EXPECT_EQ(read_colour_list(back, "Full").colours, numbered(kMaxColours, false).colours);
  EXPECT_EQ(read_colour_list(back, "Over").colours, numbered(kMaxColours, false).colours);
}

TEST(ColourListWriting, AllSchemesCopiedIntoAnotherFile) {
  ScratchDir d;
  write_file(d / "source.ini",
             "[ColorSchemes]\nNumSchemes=3\n0=Warm\n1=Cold\n2=Gone\n"
             "[Warm]\nGrad=1\n0=10,20,30\n[Cold]\n0=150,170\n[Gone]\n0=1\n");
  write_file(d / "target.ini",
             "[ColorSchemes]\nNumSchemes=9\n7=Old\n[Cold]\nGrad=1\n0=5\n[Other]\n0=7\n");
  Profile source;
  ASSERT_TRUE(source.select_file(d / "source.ini"));
  Profile target;
  ASSERT_TRUE(target.select_file(d / "target.ini"));
  const std::vector<std::string> names = {"Warm", "Cold", "Missing"};
  write_all_schemes(target, source, names);
  ASSERT_TRUE(target.flush());

  const ProfileDocument doc = ProfileDocument::load(d / "target.ini");
  EXPECT_EQ(doc.entries("ColorSchemes"),
            (std::vector<std::pair<std::string, std::string>>{
                {"NumSchemes", "3"}, {"0", "Warm"}, {"1", "Cold"}, {"2", "Missing"}}));
  Profile back;
  ASSERT_TRUE(back.select_file(d / "target.ini"));
  EXPECT_EQ(read_colour_list(back, "Warm").colours, (std::vector<std::uint8_t>{10, 20, 30}));
  EXPECT_TRUE(read_colour_list(back, "Warm").graded);
  EXPECT_EQ(read_colour_list(back, "Cold").colours, (std::vector<std::uint8_t>{150, 170}));
  EXPECT_FALSE(read_colour_list(back, "Cold").graded);  // Grad comes from the source too
  EXPECT_TRUE(read_colour_list(back, "Missing").colours.empty());
  EXPECT_FALSE(doc.has_section("Gone"));  // only the names given are copied
  EXPECT_EQ(doc.get("Other", "0"), "7");  // other sections of the target stay
}

TEST(ColourListWriting, ASchemeNamedLikeTheIndexCannotOverwriteIt) {
  ScratchDir d;
  write_file(d / "source.ini", "[ColorSchemes]\nNumSchemes=1\n0=colorschemes\n");
  Profile source;
  ASSERT_TRUE(source.select_file(d / "source.ini"));
  Profile target;
  ASSERT_TRUE(target.select_file(d / "target.ini"));
  const std::vector<std::string> names = {"colorschemes"};
  write_all_schemes(target, source, names);
  ASSERT_TRUE(target.flush());
  const ProfileDocument doc = ProfileDocument::load(d / "target.ini");
  EXPECT_EQ(doc.get("ColorSchemes", "NumSchemes"), "1");
  EXPECT_EQ(doc.get("ColorSchemes", "0"), "colorschemes");
}

}  // namespace
}  // namespace tsn
