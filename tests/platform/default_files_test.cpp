// Tests of the built-in colour schemes and text styles and of the colour line layout.
#include "platform/default_files.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/profile.h"

namespace tsn {
namespace {

TEST(ColourListLines, TwentyNumbersALineAndTheRestOnTheLast) {
  std::vector<std::uint8_t> ramp(45);
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::uint8_t>(i + 1);
  const auto lines = colour_list_lines(ramp);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20");
  EXPECT_EQ(lines[2], "41,42,43,44,45");
  // A full last line is followed by an empty one, which ends the list for a reader.
  EXPECT_EQ(colour_list_lines(std::span(ramp).first(40)).back(), "");
  EXPECT_EQ(colour_list_lines({}), std::vector<std::string>{""});
}

// Reads the colours file the way the scheme reader does: the names under [ColorSchemes], then
// each scheme's lines until one holds fewer than 20 numbers. Two schemes whose names differ
// only in case would read back the same colours.
TEST(DefaultColourSchemes, TheColoursFileReadsBackAsEveryScheme) {
  const auto doc = ProfileDocument::parse(default_colors_ini());
  const auto schemes = default_colour_schemes();
  ASSERT_GE(schemes.size(), 6u);
  EXPECT_EQ(doc.get("ColorSchemes", "NumSchemes"), std::to_string(schemes.size()));
  EXPECT_EQ(doc.get("ColorSchemes", std::to_string(schemes.size())), std::nullopt);
  for (std::size_t i = 0; i < schemes.size(); ++i) {
    const std::string name(schemes[i].name);
    SCOPED_TRACE(name);
    EXPECT_EQ(doc.get("ColorSchemes", std::to_string(i)), name);
    EXPECT_EQ(doc.get(name, "Grad"), schemes[i].graduated ? "1" : "0");
    std::vector<int> read;
    for (int line = 0;; ++line) {
      const auto text = doc.get(name, std::to_string(line));
      ASSERT_TRUE(text.has_value()) << "line " << line;
      std::stringstream in(*text);
      std::size_t count = 0;
      for (std::string item; std::getline(in, item, ','); ++count) read.push_back(std::stoi(item));
      ASSERT_LE(count, 20u);
      if (count < 20) break;
    }
    EXPECT_EQ(read, std::vector<int>(schemes[i].colours.begin(), schemes[i].colours.end()));
    EXPECT_GE(read.size(), 5u);
    for (const int colour : read) EXPECT_TRUE(colour >= 1 && colour <= 255) << colour;
  }
}

TEST(DefaultTextStyles, StandardComesFirstAndEveryStyleNamesAFont) {
  const auto styles = ProfileDocument::parse(default_styles_ini()).entries("Styles");
  ASSERT_GE(styles.size(), 4u);
  EXPECT_EQ(styles.front(), (std::pair<std::string, std::string>{"STANDARD", "txt"}));
  for (const auto& [name, font] : styles) EXPECT_FALSE(font.empty()) << name;
}

}  // namespace
}  // namespace tsn
