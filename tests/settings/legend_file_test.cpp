// Legend range files: the saved layout, loading into either key with the fallback to the other
// key's sections, the failures, and the last directory of legend files.
#include "settings/legend_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;

KeyClass range(double lo, double hi, std::string label) {
  KeyClass c;
  c.lo = lo;
  c.hi = hi;
  c.label = std::move(label);
  return c;
}

std::vector<std::string> labels_of(const RangeSet& set) {
  std::vector<std::string> labels;
  for (const KeyClass& c : set.classes) labels.push_back(c.label);
  return labels;
}

// Settings whose layer key (POP) has real ranges and whose colour key (CODE) has unique integers.
ConvSettings keyed_settings() {
  ConvSettings s;
  s.def.LayersKey = "POP";
  s.def.ColoursKey = "CODE";
  s.cur.ClassTypeLayer = 1;
  s.layer_ranges.type = NumberType::real;
  s.layer_ranges.classes = {range(0, 99.5, "small"), range(99.5, 5000, "large")};
  s.cur.ClassTypeColor = 2;
  s.colour_ranges.type = NumberType::integer;
  s.colour_ranges.classes = {range(1, 1, "red"), range(3, 3, "green"), range(5, 5, "blue")};
  return s;
}

TEST(LegendFile, SavesOneKeyWithVersionAndFieldName) {
  ScratchDir dir;
  const std::string path = (dir / "pop.lgd").string();
  // An earlier file with the other key's ranges is replaced, not merged.
  write_file(path, "[RangesColor]\nNum=1\nlo0=1\nhi0=1\n[Notes]\nkept=no\n");
  ASSERT_EQ(save_legend_file(path, keyed_settings(), true), 0);

  const ProfileDocument doc = ProfileDocument::parse(read_file(path));
  EXPECT_EQ(doc.get("Tessaryn", "Version"), std::to_string(kSettingsVersion));
  EXPECT_EQ(doc.get("Tessaryn", "LayersKey"), "POP");
  EXPECT_FALSE(doc.get("Tessaryn", "ColoursKey").has_value());
  EXPECT_EQ(doc.get("RangesLayer", "Num"), "2");
  EXPECT_EQ(doc.get("RangesLayer", "Class"), "1");
  EXPECT_EQ(doc.get("RangesLayer", "hi0"), "99.500000");
  EXPECT_EQ(doc.get("RangesLayerLabels", "L1"), "large");
  EXPECT_FALSE(doc.has_section("RangesColor"));
}

TEST(LegendFile, RoundTripOfEachKey) {
  ScratchDir dir;
  const ConvSettings saved = keyed_settings();
  const std::string layers = (dir / "pop.lgd").string();
  const std::string colours = (dir / "code.lgd").string();
  ASSERT_EQ(save_legend_file(layers, saved, true), 0);
  ASSERT_EQ(save_legend_file(colours, saved, false), 0);

  ConvSettings s;
  std::string error;
  ASSERT_EQ(load_legend_file(layers, s, true, error), 0) << error;
  EXPECT_EQ(labels_of(s.layer_ranges), (std::vector<std::string>{"small", "large"}));
  EXPECT_EQ(s.layer_ranges.type, NumberType::real);
  EXPECT_DOUBLE_EQ(s.layer_ranges.classes[1].hi, 5000);
  EXPECT_EQ(s.cur.ClassTypeLayer, 1);
  EXPECT_EQ(s.cur.NumClassesLayer, 2);
  EXPECT_TRUE(s.colour_ranges.classes.empty());  // the other key is untouched

  ASSERT_EQ(load_legend_file(colours, s, false, error), 0) << error;
  EXPECT_EQ(labels_of(s.colour_ranges), (std::vector<std::string>{"red", "green", "blue"}));
  EXPECT_EQ(s.cur.ClassTypeColor, 2);
  EXPECT_TRUE(s.colour_key_holds_colour_numbers);  // unique integer values
  EXPECT_EQ(s.layer_ranges.classes.size(), 2u);
}

TEST(LegendFile, PrefersTheRequestedKeyAndFallsBackOnTheOther) {
  ScratchDir dir;
  const std::string colours = (dir / "code.lgd").string();
  ASSERT_EQ(save_legend_file(colours, keyed_settings(), false), 0);

  // Only colour sections: loaded as the layer key's ranges.
  ConvSettings s;
  std::string error;
  ASSERT_EQ(load_legend_file(colours, s, true, error), 0) << error;
  EXPECT_EQ(labels_of(s.layer_ranges), (std::vector<std::string>{"red", "green", "blue"}));
  EXPECT_EQ(s.layer_ranges.type, NumberType::integer);
  EXPECT_EQ(s.cur.ClassTypeLayer, 2);
  EXPECT_TRUE(s.colour_ranges.classes.empty());

  // Both keys present: each key takes its own.
  const std::string both = (dir / "both.lgd").string();
  write_file(both, "[Tessaryn]\nVersion=244\n[RangesLayer]\nNum=1\nNumType=0\nlo0=A\nhi0=M\n"
                   "[RangesColor]\nNum=1\nNumType=2\nlo0=7\nhi0=9\n");
  ConvSettings t;
  ASSERT_EQ(load_legend_file(both, t, true, error), 0) << error;
  ASSERT_EQ(load_legend_file(both, t, false, error), 0) << error;
  EXPECT_EQ(labels_of(t.layer_ranges), std::vector<std::string>{"A-M"});
  EXPECT_EQ(labels_of(t.colour_ranges), std::vector<std::string>{"7-9"});
}

TEST(LegendFile, FailuresLeaveTheRangesAndExplain) {
  ScratchDir dir;
  const std::string empty_ranges = (dir / "empty.lgd").string();
  write_file(empty_ranges, "[Tessaryn]\nVersion=244\n[RangesColor]\nNum=0\n");
  const std::string no_ranges = (dir / "none.lgd").string();
  write_file(no_ranges, "[Tessaryn]\nVersion=244\nColoursKey=CODE\n");
  const std::string too_old = (dir / "old.lgd").string();
  write_file(too_old, "[Tessaryn]\nVersion=240\n[RangesColor]\nNum=1\nlo0=1\nhi0=2\n");
  const std::string missing = (dir / "missing.lgd").string();

  for (const std::string& path : {empty_ranges, no_ranges, too_old, missing}) {
    for (const bool layer_key : {true, false}) {
      ConvSettings s = keyed_settings();
      std::string error;
      EXPECT_EQ(load_legend_file(path, s, layer_key, error), -1) << path;
      EXPECT_NE(error.find(path), std::string::npos) << error;
      EXPECT_EQ(labels_of(s.layer_ranges), (std::vector<std::string>{"small", "large"}));
      EXPECT_EQ(s.colour_ranges.classes.size(), 3u);
      EXPECT_EQ(s.cur.ClassTypeLayer, 1);
    }
  }
  std::string error;
  ConvSettings s;
  EXPECT_EQ(load_legend_file(missing, s, true, error), -1);
  EXPECT_NE(error.find("not found"), std::string::npos) << error;
  EXPECT_EQ(load_legend_file(dir.path().string(), s, true, error), -1);  // a directory
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(LegendFile, UnwritableLocationFailsTheSave) {
  ScratchDir dir;
  EXPECT_EQ(save_legend_file((dir / "no" / "such" / "x.lgd").string(), keyed_settings(), true),
            -1);
}

TEST(LegendFile, LastDirectoryIsKeptUnderTheLegendFileType) {
  ScratchDir dir;
  ConvSettings s;
  s.settings_file = (dir / "tsn25.ini").string();
  s.DefsDir = (dir / "DEFS").string() + "/";
  s.LegendFileType = "leg";
  EXPECT_EQ(legend_directory(s), s.DefsDir);  // nothing stored yet

  const std::string legends = (dir / "legends").string() + "/";
  ASSERT_TRUE(remember_legend_directory(s, legends + "pop.leg"));
  EXPECT_EQ(legend_directory(s), legends);
  const ProfileDocument doc = ProfileDocument::load(dir / "tsn25.ini");
  EXPECT_EQ(doc.get("Directories", "leg"), legends);
  EXPECT_FALSE(doc.get("Directories", "lgd").has_value());
  EXPECT_EQ(s.LegendFileType, "leg");
}

}  // namespace
}  // namespace tsn
