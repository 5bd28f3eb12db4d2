// The colour list in use: the current scheme's after start-up, and a definition file's own
// list in section Cols read and written back.
#include "settings/scheme_colours.h"

#include <gtest/gtest.h>

#include "settings/definition_file.h"
#include "settings/program_settings.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::ScratchDir;
using test::write_file;

using Colours = std::vector<std::uint8_t>;

ConvSettings load_with(const ScratchDir& d, const std::string& settings) {
  write_file(d / "colors.ini",
             "[ColorSchemes]\nNumSchemes=2\n0=Warm\n1=Cold\n"
             "[Warm]\nGrad=1\n0=10,20,30\n[Cold]\n0=150,170\n");
  write_file(d / "tsn25.ini", settings);
  ConvSettings s;
  EXPECT_TRUE(load_program_settings(s, d.path().string() + "/"));
  return s;
}

TEST(SchemeColours, StartUpLoadsTheCurrentSchemesList) {
  ScratchDir d;
  ConvSettings s = load_with(d, "[Tessaryn]\nDefaultColorSet=1\n");
  EXPECT_EQ(s.colour_list.colours, (Colours{150, 170}));
  EXPECT_FALSE(s.colour_list.graded);

  s = load_with(d, "[Tessaryn]\nDefaultColorSet=7\n");  // beyond the schemes: the first
  EXPECT_EQ(s.colour_list.colours, (Colours{10, 20, 30}));
  EXPECT_TRUE(s.colour_list.graded);

  s.cur.DefaultColorSet = 2;  // the mapping scheme, which has no list
  load_scheme_colours(s);
  EXPECT_TRUE(s.colour_list.colours.empty());
  s.cur.DefaultColorSet = 1;
  load_scheme_colours(s);
  EXPECT_EQ(s.colour_list.colours, (Colours{150, 170}));
}

// A line shapefile with a table in the folder data/ of d (the file need not exist).
InputInfo roads_input(const ScratchDir& d) {
  std::filesystem::create_directories(d / "data");
  InputInfo input;
  input.path = (d / "data" / "roads.shp").string();
  input.shape_type = 3;
  input.has_table = true;
  return input;
}

TEST(SchemeColours, ADefinitionFilesOwnListIsReadAndWrittenBack) {
  ScratchDir d;
  ConvSettings s = load_with(d, "");
  const InputInfo input = roads_input(d);
  const auto def = d / "data" / "roads.def";
  write_file(def, "[Tessaryn]\nVersion=244\n[Colors]\nNumColors=3\n"
                  "[Cols]\nGrad=1\n0=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\n1=21,22\n");
  ASSERT_EQ(load_definition_file(s, input), 0);
  Colours expected(22);
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::uint8_t>(i + 1);
  EXPECT_EQ(s.colour_list.colours, expected);
  EXPECT_TRUE(s.colour_list.graded);
  EXPECT_EQ(s.def.NumColors, 22);  // the count of colours actually read

  write_file(def, "[Tessaryn]\nVersion=244\n");
  ASSERT_EQ(save_definition_file(s, input), 0);
  const ProfileDocument saved = ProfileDocument::load(def);
  EXPECT_EQ(saved.get("Colors", "NumColors"), "22");
  EXPECT_EQ(saved.get("Cols", "1"), "21,22");

  s.colour_list = {};
  ASSERT_EQ(load_definition_file(s, input), 0);
  EXPECT_EQ(s.colour_list.colours, expected);
}

TEST(SchemeColours, OlderFilesKeepTheirListUnderTheSchemesNameAndAnEmptyOneIsIgnored) {
  ScratchDir d;
  ConvSettings s = load_with(d, "");
  const InputInfo input = roads_input(d);
  const auto def = d / "data" / "roads.def";
  write_file(def, "[Tessaryn]\nVersion=242\nDefaultColorSet=1\n[Colors]\nNumColors=2\n"
                  "[Cold]\n0=7,8\n[Cols]\n0=1\n");
  ASSERT_EQ(load_definition_file(s, input), 0);
  EXPECT_EQ(s.colour_list.colours, (Colours{7, 8}));

  s.colour_list = ColourList{{10, 20, 30}, true};
  write_file(def, "[Tessaryn]\nVersion=244\n[Colors]\nNumColors=5\n");
  ASSERT_EQ(load_definition_file(s, input), 0);
  EXPECT_EQ(s.colour_list.colours, (Colours{10, 20, 30}));
  EXPECT_EQ(s.def.NumColors, 0);
}

}  // namespace
}  // namespace tsn
