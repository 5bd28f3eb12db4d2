// The legend column: rows 1.5 text heights apart from the top of the extent, swatches and labels
// at their offsets left of it, point swatches centred and raised, one swatch without classes.
#include "entities/legend_drawing.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "entities/entities_test_support.h"

namespace tsn {
namespace {

using test::EntityOutput;
using test::text_settings;

// The values of every group `code` in the order written.
std::vector<std::string> groups(const std::string& text, const std::string& code) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string c, v;
  while (std::getline(in, c) && std::getline(in, v)) {
    if (!c.empty() && c.back() == '\r') c.pop_back();
    if (!v.empty() && v.back() == '\r') v.pop_back();
    if (c.find_first_not_of(' ') != std::string::npos && c.substr(c.find_first_not_of(' ')) == code) {
      out.push_back(v);
    }
  }
  return out;
}

Legend polygon_legend() {
  Legend l;
  l.title = "zones.shp";
  l.key_name = "ZONE";
  l.entries = {{"Farm", 3}, {"Town", 1}};
  l.shape_class = 2;
  l.xmin = 100.0;
  l.ymax = 50.0;
  l.height = 2.0;
  l.layer = "KEY";
  l.text_colour = 40;
  return l;
}

TEST(LegendDrawing, TitleKeyThenASwatchAndLabelPerClass) {
  EntityOutput out(text_settings(4));
  ASSERT_EQ(write_legend(out.w, polygon_legend()), 0);
  const std::string& t = out.text();
  EXPECT_EQ(groups(t, "0"), (std::vector<std::string>{"TEXT", "TEXT", "INSERT", "TEXT", "INSERT", "TEXT"}));
  EXPECT_EQ(groups(t, "1"), (std::vector<std::string>{"zones.shp", "ZONE", "Farm", "Town"}));
  EXPECT_EQ(groups(t, "2"), (std::vector<std::string>{"LEGSYM_POLY", "LEGSYM_POLY"}));
  // x: 100 - 33.5 * 2 for title, key and swatches, 100 - 30 * 2 for labels.
  EXPECT_EQ(groups(t, "10"), (std::vector<std::string>{"33.0", "33.0", "33.0", "40.0", "33.0", "40.0"}));
  // y: 50, then 3 lower per row; a class's swatch and label share their row.
  EXPECT_EQ(groups(t, "20"), (std::vector<std::string>{"50.0", "47.0", "44.0", "44.0", "41.0", "41.0"}));
  // Swatches scaled to the text height, in their class colours; texts in the text colour.
  EXPECT_EQ(groups(t, "41"), (std::vector<std::string>{"2.0", "2.0"}));
  EXPECT_EQ(groups(t, "62"), (std::vector<std::string>{"40", "40", "3", "40", "1", "40"}));
  EXPECT_EQ(groups(t, "8"), std::vector<std::string>(6, "KEY"));
}

TEST(LegendDrawing, OneSwatchWithoutClassesPointSwatchesCentredAndRaised) {
  Legend l = polygon_legend();
  l.key_name.clear();
  l.shape_class = 0;
  l.single_colour = 5;
  EntityOutput out(text_settings(4));
  ASSERT_EQ(write_legend(out.w, l), 0);
  const std::string& t = out.text();
  EXPECT_EQ(groups(t, "0"), (std::vector<std::string>{"TEXT", "INSERT"}));
  EXPECT_EQ(groups(t, "2"), (std::vector<std::string>{"_DOT"}));
  EXPECT_EQ(groups(t, "10"), (std::vector<std::string>{"33.0", "36.5"}));  // 100 - 31.75 * 2
  EXPECT_EQ(groups(t, "20"), (std::vector<std::string>{"50.0", "48.0"}));  // 47 + 0.5 * 2
  EXPECT_EQ(groups(t, "62"), (std::vector<std::string>{"40", "5"}));
  EXPECT_EQ(legend_symbol_block(1), "LEGSYM_ARC");
}

}  // namespace
}  // namespace tsn
