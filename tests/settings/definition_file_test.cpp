// Definition files: locating, reading over the reset values, the version upgrade, the
// Overwrite lock, hooks for ranges and colours, and the save/load round trip.
#include "settings/definition_file.h"

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "support/scratch_dir.h"
#include "settings/file_reset.h"
#include "settings/program_settings.h"
#include "settings/settings_files.h"
#include "settings/text_styles.h"

namespace tsn {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;

// A program directory with its settings loaded and an input file "roads.shp" beside it.
struct Fixture {
  ScratchDir dir;
  ConvSettings s;
  InputInfo input;

  explicit Fixture(const std::string& program_ini = "", int shape_type = 3) {
    std::filesystem::create_directory(dir / "data");
    if (!program_ini.empty()) write_file(dir / "tsn25.ini", program_ini);
    EXPECT_TRUE(load_program_settings(s, dir.path().string() + "/"));
    input.path = (dir / "data" / "roads.shp").string();
    input.shape_type = shape_type;
    input.field_count = 4;
    input.has_table = true;
    input.extent_diagonal = 1000.0;
  }
  std::filesystem::path beside() const { return dir / "data" / "roads.def"; }
  std::filesystem::path in_defs() const { return dir / "DEFS" / "roads.def"; }
};

TEST(DefinitionFile, FoundBesideTheInputElseInDefsDir) {
  Fixture f;
  DefinitionFile none = find_definition_file(f.s, f.input.path);
  EXPECT_FALSE(none.exists);
  EXPECT_EQ(none.path, f.in_defs().string());  // where a new one is created

  write_file(f.beside(), "[Tessaryn]\n");
  DefinitionFile found = find_definition_file(f.s, f.input.path);
  EXPECT_TRUE(found.exists);
  EXPECT_EQ(found.path, f.beside().string());
}

TEST(DefinitionFile, MissingFileLeavesResetValues) {
  Fixture f("[Tessaryn]\nTextLabelsHeightToMinMax=-2.5\nTextColour=9\n");
  f.s.cur.TextColour = 77;
  EXPECT_EQ(load_definition_file(f.s, f.input), -1);
  EXPECT_DOUBLE_EQ(f.s.cur.TextLabelsHeight, 2.5);  // negative ratio: absolute height
  EXPECT_EQ(f.s.cur.TextColour, 9);
}

TEST(DefinitionFile, OldVersionIsUpgradedBeforeKeysAreRead) {
  Fixture f;
  write_file(f.beside(), "[Tessaryn]\nVersion=100\nPlaneFlags=4\nFill=0\nExtendedPlane=1\n"
                         "HatchNumber=9\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.cur.Fill, 1);
  EXPECT_EQ(f.s.cur.HatchNumber, 0);
  EXPECT_EQ(f.s.def.settings_version, 100);
  ProfileDocument upgraded = ProfileDocument::load(f.beside());
  EXPECT_EQ(upgraded.get("Tessaryn", "Version"), "244");
  EXPECT_EQ(upgraded.get("Tessaryn", "Fill"), "1");
}

TEST(DefinitionFile, MissingKeysTakeProgramValuesNotThoseOfThePreviousInput) {
  Fixture f("[Tessaryn]\nIgnoreColRangeEnts=0\nACADHatchPattern=ANSI33\nLayerByFeature=1\n");
  f.s.cur.IgnoreColRangeEnts = 1;  // left over from an earlier input
  f.s.cur.HatchNumber = 20;
  f.s.cur.TextLabels = 1;
  write_file(f.beside(), "[Tessaryn]\nVersion=244\nIgnoreLayRangeEnts=0\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.cur.IgnoreColRangeEnts, 0);
  EXPECT_EQ(f.s.cur.IgnoreLayRangeEnts, 0);
  EXPECT_EQ(f.s.cur.HatchNumber, 4);
  EXPECT_EQ(f.s.cur.LayerByFeature, 1);
  EXPECT_EQ(f.s.cur.TextLabels, 0);
}

TEST(DefinitionFile, ReadsOnlyTheCurrentClassKeys) {
  Fixture f;  // a line input
  write_file(f.beside(), "[Tessaryn]\nVersion=244\nUse1ColourPoints=1\nSingleColourPoints=5\n"
                         "Pen0=300\nColourMethod=2\nTextLabels=1\nMinMaxPos=236\nVerticalPos=1\n"
                         "AnnotJust=2\nMoveClose=0\nAlignText=0\nTextColour=3\n"
                         "ElimDoubleLabels=1\nOverlapFactor=0.5\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.cur.Use1ColourPoints, 0);
  EXPECT_EQ(f.s.cur.SingleColourPoints, 1);
  EXPECT_EQ(f.s.cur.Pen0, 1);           // out of range
  EXPECT_EQ(f.s.cur.Use1ColourArcs, 0); // missing switch with colour classes
  EXPECT_EQ(f.s.cur.label_position[1].MinMaxPos, 236);
  EXPECT_EQ(f.s.cur.label_position[1].VerticalPos, 1);
  EXPECT_EQ(f.s.cur.label_position[0].MinMaxPos, 238);
  EXPECT_EQ(f.s.cur.label_move_close[1], 0);
  EXPECT_EQ(f.s.cur.AlignText, 0);
  EXPECT_EQ(f.s.cur.TextColour, 3);
  EXPECT_DOUBLE_EQ(f.s.cur.OverlapFactor, 0.5);
}

TEST(DefinitionFile, MissingArcSwitchFollowsTheColourMethod) {
  Fixture f;
  write_file(f.beside(), "[Tessaryn]\nVersion=244\nColourMethod=0\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.cur.Use1ColourArcs, 1);
}

TEST(DefinitionFile, LabelFieldsOfOldFilesAreNumberedInFieldOrder) {
  Fixture f;
  write_file(f.beside(), "[Tessaryn]\nVersion=242\nTextLabels=1\nAttribs=1\n"
                         "[Text]\nA0=1\nA1=0\nA2=1\nA3=1\n[Attribs]\nF0=0\nF2=0\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.def.label_fields[0], 1);
  EXPECT_EQ(f.s.def.label_fields[2], 2);
  EXPECT_EQ(f.s.def.label_fields[3], 3);
  EXPECT_EQ(f.s.def.num_label_fields, 3);
  // Missing F keys mean selected.
  EXPECT_EQ(f.s.def.num_attrib_selected, 2);
  EXPECT_EQ(f.s.def.attrib_fields[1], 1);

  write_file(f.beside(), "[Tessaryn]\nVersion=244\nTextLabels=1\n[Text]\nA0=2\nA3=1\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.def.label_fields[0], 2);
  EXPECT_EQ(f.s.def.label_fields[3], 1);
}

std::vector<std::string> range_labels(const RangeSet& set) {
  std::vector<std::string> labels;
  for (const KeyClass& c : set.classes) labels.push_back(c.label);
  return labels;
}

TEST(DefinitionFile, RangesOfKeysInUseAreReadFromVersion241On) {
  Fixture f;
  const std::string ranges = "[RangesLayer]\nNum=1\nNumType=2\nR0=3-4\nlo0=4\nhi0=4\n"
                             "[RangesColor]\nNum=1\nNumType=2\nR0=8\nlo0=9\nhi0=9\n";
  write_file(f.beside(), "[Tessaryn]\nVersion=240\nLayerByFeature=1\nColourMethod=2\n" + ranges);
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_TRUE(f.s.layer_ranges.classes.empty());
  EXPECT_TRUE(f.s.colour_ranges.classes.empty());

  write_file(f.beside(), "[Tessaryn]\nVersion=241\nLayerByFeature=1\nColourMethod=2\n" + ranges);
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(range_labels(f.s.layer_ranges), std::vector<std::string>{"3-4"});
  EXPECT_EQ(range_labels(f.s.colour_ranges), std::vector<std::string>{"8"});

  // Keys not in use leave their ranges alone.
  write_file(f.beside(), "[Tessaryn]\nVersion=244\nLayerByFeature=0\nColourMethod=0\n" + ranges);
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(range_labels(f.s.layer_ranges), std::vector<std::string>{"3-4"});
  EXPECT_EQ(range_labels(f.s.colour_ranges), std::vector<std::string>{"8"});
}

TEST(DefinitionFile, RangesRoundTripColourSectionsFirst) {
  Fixture f;
  f.s.cur.LayerByFeature = 1;
  f.s.cur.ColourMethod = 2;
  f.s.layer_ranges.type = NumberType::alphabetic;
  KeyClass road;
  road.lo_text = "A";
  road.hi_text = "M";
  road.label = "ROADS A-M";
  f.s.layer_ranges.classes = {road};
  f.s.colour_ranges.type = NumberType::real;
  KeyClass wide;
  wide.lo = 2.5;
  wide.hi = 10;
  f.s.colour_ranges.classes = {wide};
  ASSERT_EQ(save_definition_file(f.s, f.input), 0);
  const std::string text = read_file(f.in_defs());
  EXPECT_LT(text.find("[RangesColor]"), text.find("[RangesLayer]"));

  f.s.layer_ranges = {};
  f.s.colour_ranges = {};
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(range_labels(f.s.layer_ranges), std::vector<std::string>{"ROADS A-M"});
  EXPECT_EQ(f.s.layer_ranges.classes[0].hi_text, "M");
  ASSERT_EQ(f.s.colour_ranges.classes.size(), 1u);
  EXPECT_DOUBLE_EQ(f.s.colour_ranges.classes[0].hi, 10);
}

TEST(DefinitionFile, OverwriteTwoIsNeverRewritten) {
  Fixture f;
  const std::string locked = "[Tessaryn]\r\nOverwrite=2\r\nFill=0\r\n";
  write_file(f.beside(), locked);
  f.s.cur.Fill = 1;
  EXPECT_EQ(save_definition_file(f.s, f.input), 0);
  EXPECT_EQ(read_file(f.beside()), locked);
}

TEST(DefinitionFile, NewFileGoesToDefsDirAndRoundTrips) {
  Fixture f("", 5);
  f.input.field_count = 3;
  f.s.cur.Fill = 1;
  f.s.cur.DrawOutlines = 0;
  f.s.cur.LayerByFeature = 0;
  f.s.cur.Use1ColourFill = 1;
  f.s.cur.SingleColourFill = 33;
  f.s.cur.TextLabels = 1;
  f.s.cur.label_position[2] = {240, 1, 2};
  f.s.cur.label_move_close[2] = 0;
  f.s.cur.Attribs = 1;
  f.s.def.attrib_fields = {};
  f.s.def.attrib_fields[1] = 1;
  f.s.def.num_attrib_selected = 1;
  f.s.cur.attrib_position[2] = {194, 0, 0};
  f.s.cur.AttVis = 1;
  f.s.def.label_fields[2] = 1;
  f.s.def.SingleLayerName = "PARCELS";
  f.s.def.LayersKey = "ZONE";
  f.s.cur.MarkerHeight = 7.25;
  f.s.cur.PointsElev = 1;
  f.s.cur.ElevKey = "HEIGHT";
  f.s.def.Ramp = 1;
  f.s.def.RampStart = 3;
  f.s.def.RampEnd = 9;
  ASSERT_EQ(save_definition_file(f.s, f.input), 0);
  ASSERT_TRUE(std::filesystem::exists(f.in_defs()));
  EXPECT_FALSE(std::filesystem::exists(f.beside()));

  ProfileDocument doc = ProfileDocument::load(f.in_defs());
  EXPECT_EQ(doc.get("Tessaryn", "Overwrite"), "1");
  EXPECT_EQ(doc.get("Tessaryn", "Version"), "244");
  EXPECT_EQ(doc.get("Tessaryn", "MarkerHeight"), "7.250000");
  EXPECT_EQ(doc.get("Attribs", "NumAttribFields"), "3");
  EXPECT_EQ(doc.get("Text", "A2"), "1");
  EXPECT_FALSE(doc.get("Tessaryn", "Use1ColourPoints").has_value());  // not the input's class
  EXPECT_EQ(f.s.prog.SingleColourFill, 33);  // writing the class's colours adopts them

  ConvSettings& s = f.s;
  s.cur = s.prog;  // forget the current values, then read them back
  s.def = DefinitionState{};
  ASSERT_EQ(load_definition_file(s, f.input), 0);
  EXPECT_EQ(s.cur.Fill, 1);
  EXPECT_EQ(s.cur.DrawOutlines, 0);
  EXPECT_EQ(s.cur.SingleColourFill, 33);
  EXPECT_EQ(s.cur.label_position[2].MinMaxPos, 240);
  EXPECT_EQ(s.cur.label_position[2].AnnotJust, 2);
  EXPECT_EQ(s.cur.label_move_close[2], 0);
  EXPECT_EQ(s.cur.attrib_position[2].MinMaxPos, 194);
  EXPECT_EQ(s.cur.AttVis, 1);
  EXPECT_EQ(s.def.attrib_fields[0], 0);
  EXPECT_EQ(s.def.attrib_fields[1], 1);
  EXPECT_EQ(s.def.num_attrib_selected, 1);
  EXPECT_EQ(s.def.label_fields[2], 1);
  EXPECT_EQ(s.def.SingleLayerName, "PARCELS");
  EXPECT_EQ(s.def.LayersKey, "ZONE");
  EXPECT_DOUBLE_EQ(s.cur.MarkerHeight, 7.25);
  EXPECT_EQ(s.cur.PointsElev, 1);
  EXPECT_EQ(s.cur.ElevKey, "HEIGHT");
  EXPECT_EQ(s.def.RampStart, 3);
  EXPECT_EQ(s.def.RampEnd, 9);
}

TEST(DefinitionFile, LoadDefaultsOffIgnoresTheFileButSaveStillWritesIt) {
  Fixture f("[Tessaryn]\nLoadDefaults=0\n");
  write_file(f.beside(), "[Tessaryn]\nVersion=244\nFill=1\n");
  EXPECT_EQ(open_input_settings(f.s, f.input, false), -1);
  EXPECT_EQ(f.s.cur.Fill, 0);
  f.s.cur.Fill = 0;
  ASSERT_EQ(save_definition_file(f.s, f.input), 0);
  EXPECT_EQ(ProfileDocument::load(f.beside()).get("Tessaryn", "Fill"), "0");

  Fixture on;
  write_file(on.beside(), "[Tessaryn]\nVersion=244\nFill=1\n");
  EXPECT_EQ(open_input_settings(on.s, on.input, true), -1);  // unattended runs never read it
  EXPECT_EQ(open_input_settings(on.s, on.input, false), 0);
  EXPECT_EQ(on.s.cur.Fill, 1);
}

TEST(DefinitionFile, SingleLayerNameDefaultsAndLlms) {
  Fixture f("[Tessaryn]\nLLMS=0\n[LayerHistory]\nL0=HISTORIC\n");
  write_file(f.beside(), "[Tessaryn]\nVersion=244\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.def.SingleLayerName, "HISTORIC");
  EXPECT_EQ(f.s.LLMS, 0);

  write_file(f.beside(), "[Tessaryn]\nVersion=244\nSingleLayerName=ROADS\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.LLMS, 1);  // the name is the input's own base name
}

TEST(DefinitionFile, HatchAndSchemeFromNames) {
  Fixture f("[Tessaryn]\nverDXF=6\n", 5);
  write_file(f.dir / "colors.ini", "[ColorSchemes]\nNumSchemes=2\n0=Warm\n1=Cold\n");
  ASSERT_TRUE(load_program_settings(f.s, f.dir.path().string() + "/"));
  write_file(f.beside(), "[Tessaryn]\nVersion=244\nACADHatchPattern=Zigzag\nHatchNumber=1\n"
                         "DefScheme=cold\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.cur.HatchNumber, 33);
  EXPECT_EQ(f.s.cur.DefaultColorSet, 1);

  write_file(f.beside(), "[Tessaryn]\nVersion=244\nAcadMapping=1\nDefScheme=cold\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.cur.DefaultColorSet, 2);  // the mapping scheme follows the named ones

  // Naming the mapping scheme without asking for the mapping falls back to the first scheme.
  write_file(f.beside(), "[Tessaryn]\nVersion=244\nDefaultColorSet=1\nDefScheme=AutoCAD Mapping\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  EXPECT_EQ(f.s.cur.DefaultColorSet, 0);
}

TEST(DefinitionFile, ClassColoursFollowASchemeChangeWithoutAColourList) {
  Fixture f;
  write_file(f.dir / "colors.ini",
             "[ColorSchemes]\nNumSchemes=2\n0=First\n1=Second\n[First]\nGrad=0\n0=1,2,3\n"
             "[Second]\nGrad=0\n0=30,40\n");
  f.s.colours_file = (f.dir / "colors.ini").string();
  ASSERT_EQ(load_scheme_names(f.s), 2);
  f.s.colour_ranges.classes.resize(3);
  write_file(f.beside(), "[Tessaryn]\nVersion=244\nDefaultColorSet=1\n[Colors]\nNumColors=0\n");
  ASSERT_EQ(load_definition_file(f.s, f.input), 0);
  // The second scheme's two colours, repeated over the three classes.
  EXPECT_EQ(f.s.class_colours[0], 30);
  EXPECT_EQ(f.s.class_colours[1], 40);
  EXPECT_EQ(f.s.class_colours[2], 30);
}

}  // namespace
}  // namespace tsn
