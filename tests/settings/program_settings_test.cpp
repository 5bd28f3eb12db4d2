// Program settings: first start, defaults, clamps, the version upgrade, directories and the
// save/load round trip.
#include "settings/program_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/profile.h"
#include "support/scratch_dir.h"
#include "support/recording_host.h"
#include "settings/settings_files.h"
#include "settings/text_styles.h"

namespace tsn {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;

std::string dir_of(const ScratchDir& d) { return d.path().string() + "/"; }

ConvSettings load_with(const ScratchDir& d, const std::string& ini) {
  if (!ini.empty()) write_file(d / "tsn25.ini", ini);
  ConvSettings s;
  EXPECT_TRUE(load_program_settings(s, dir_of(d)));
  return s;
}

TEST(ProgramSettings, FirstStartGivesDefaultsCreatesDefsAndWritesDefsDir) {
  ScratchDir d;
  ConvSettings s = load_with(d, "");
  EXPECT_TRUE(std::filesystem::is_directory(d / "DEFS"));
  EXPECT_EQ(s.DefsDir, dir_of(d) + "DEFS/");
  ProfileDocument written = ProfileDocument::load(d / "tsn25.ini");
  EXPECT_EQ(written.get("Tessaryn", "DefsDir"), dir_of(d) + "DEFS/");
  EXPECT_EQ(written.get("Tessaryn", "Version"), "244");

  EXPECT_EQ(s.verDXF, 4);
  EXPECT_EQ(release_index(s), 0);
  EXPECT_EQ(s.DecPlaces, 6);
  EXPECT_EQ(s.LoadDefaults, 31);
  EXPECT_EQ(s.DWGCodePageString, "ANSI_1252");
  EXPECT_EQ(s.LayersWarning, 512);
  EXPECT_DOUBLE_EQ(s.VerticesMergeTol, 1e-10);
  EXPECT_DOUBLE_EQ(s.prog.HatchScale, -1.0);
  EXPECT_EQ(s.prog.ACADHatchPattern, "SOLID");
  EXPECT_EQ(s.prog.XKey, "LONGITUDE");
  EXPECT_EQ(s.prog.ElevKey, "DXF_ELEVATION");
  EXPECT_EQ(s.prog.label_position[1].VerticalPos, -1);
  EXPECT_EQ(s.prog.attrib_position[2].AnnotJust, 1);
  EXPECT_EQ(s.cur.TextColour, 40);
  EXPECT_EQ(s.window_positions[5].x, -1);
  // No styles file yet: the single built-in style is written and used.
  ASSERT_EQ(s.text_styles.size(), 1u);
  EXPECT_EQ(s.text_styles[0].first, "STANDARD");
  EXPECT_EQ(ProfileDocument::load(d / "styles.ini").get("Styles", "STANDARD"), "txt");
}

TEST(ProgramSettings, ReleaseAndDecimalClamps) {
  ScratchDir d;
  ConvSettings five = load_with(d, "[Tessaryn]\nverDXF=5\nDecPlaces=17\n");
  EXPECT_EQ(five.verDXF, 5);
  EXPECT_EQ(release_index(five), 0);
  EXPECT_EQ(five.DecPlaces, 6);

  ConvSettings nine = load_with(d, "[Tessaryn]\nverDXF=9\nDecPlaces=16\n");
  EXPECT_EQ(nine.verDXF, 4);
  EXPECT_EQ(nine.DecPlaces, 16);

  ConvSettings fourteen = load_with(d, "[Tessaryn]\nverDXF=-7\nDecPlaces=-1\n");
  EXPECT_EQ(fourteen.verDXF, -7);  // magnitude 7 is kept, and selects release 12
  EXPECT_EQ(release_index(fourteen), 0);
  EXPECT_EQ(fourteen.DecPlaces, 6);

  EXPECT_EQ(release_index(load_with(d, "[Tessaryn]\nverDXF=6\n")), 1);
  EXPECT_EQ(release_index(load_with(d, "[Tessaryn]\nverDXF=7\n")), 2);
}

TEST(ProgramSettings, LoadDefaultsNonZeroHeldAs31AndZeroKept) {
  ScratchDir d;
  EXPECT_EQ(load_with(d, "[tessaryn]\nloaddefaults=5\n").LoadDefaults, 31);
  EXPECT_EQ(load_with(d, "[TESSARYN]\nLOADDEFAULTS=0\n").LoadDefaults, 0);
}

TEST(ProgramSettings, OldProgramFileIsUpgradedBeforeItsKeysAreRead) {
  ScratchDir d;
  ConvSettings s = load_with(d, "[Tessaryn]\nVersion=100\nPlaneFlags=2\nFill=0\n");
  EXPECT_EQ(s.prog.Fill, 1);
  ProfileDocument written = ProfileDocument::load(d / "tsn25.ini");
  EXPECT_EQ(written.get("Tessaryn", "Version"), "244");
  EXPECT_EQ(written.get("Tessaryn", "Fill"), "1");
}

TEST(ProgramSettings, PerFileValuesAtProgramLevelAndCurrentCopies) {
  ScratchDir d;
  ConvSettings s = load_with(d,
                             "[Tessaryn]\nSingleColourPoints=300\nPen0=0\nSingleColourFill=7\n"
                             "Use1ColourArcs=1\nFill=0\nDrawOutlines=0\nColourMethod=3\n"
                             "MaxAttribLen=999\nAlignText=0\nXKey=EAST\nLegend=1\n"
                             "DefColSet=-1\nDefaultColorSet=1\nACADHatchPattern=ansi31\n"
                             "HatchScale=2.5\nLastLayerKey0=NAME\nLastColoursKey1=POP\n"
                             "Runtot3=4000000000\nAttVis=1\nAttribColSameAsShape=1\n"
                             "[Attribs]\nMinMaxPosA=194\nVerticalPosP=2\n"
                             "[LayerHistory]\nL0=ROADS\n[Windows]\n0=120,80\n3=junk\n");
  EXPECT_EQ(s.prog.SingleColourPoints, 1);  // colours outside 1..255 become 1
  EXPECT_EQ(s.prog.Pen0, 1);
  EXPECT_EQ(s.prog.SingleColourFill, 7);
  EXPECT_EQ(s.prog.Use1ColourArcs, 1);
  EXPECT_EQ(s.prog.DrawOutlines, 1);  // neither outlines nor fill is not allowed
  EXPECT_EQ(s.prog.ColourMethod, 2);
  EXPECT_EQ(s.prog.MaxAttribLen, 255);
  EXPECT_EQ(s.prog.AlignAttrib, 0);  // defaults to AlignText
  EXPECT_EQ(s.cur.XKey, "EAST");
  EXPECT_EQ(s.cur.Legend, 1);
  EXPECT_EQ(s.prog.HatchNumber, 2);
  EXPECT_DOUBLE_EQ(s.cur.HatchScale, 2.5);
  EXPECT_EQ(s.prog.attrib_position[1].MinMaxPos, 194);
  EXPECT_EQ(s.prog.attrib_position[2].VerticalPos, 2);
  EXPECT_EQ(s.prog.label_position[1].MinMaxPos, 238);
  EXPECT_EQ(s.def.LayersKey, "NAME");
  EXPECT_EQ(s.def.ColoursKey, "");  // entry 0 of the colour list is empty
  EXPECT_EQ(s.recent_colour_keys[1], "POP");
  EXPECT_EQ(s.recent_layer_keys[1], "");
  EXPECT_EQ(s.Runtot[2], 4000000000u);
  EXPECT_EQ(s.prog.AttVis, 1);
  EXPECT_EQ(s.prog.AttribColSameAsShape, 1);
  EXPECT_EQ(s.layer_history[0], "ROADS");
  EXPECT_EQ(s.window_positions[0].x, 120);
  EXPECT_EQ(s.window_positions[0].y, 80);
  EXPECT_EQ(s.window_positions[3].x, -1);
}

TEST(ProgramSettings, SchemeIndexBeyondSchemesFallsBack) {
  ScratchDir d;
  write_file(d / "colors.ini", "[ColorSchemes]\nNumSchemes=2\n0=Warm\n1=Cold\n");
  ConvSettings s = load_with(d, "[Tessaryn]\nDefaultColorSet=5\n");
  EXPECT_EQ(s.scheme_names.size(), 2u);
  EXPECT_EQ(s.prog.DefaultColorSet, 0);

  // A count larger than the names present reads only what is there.
  write_file(d / "colors.ini", "[ColorSchemes]\nNumSchemes=2000000000\n0=Only\n");
  EXPECT_EQ(load_with(d, "").scheme_names.size(), 1u);
}

TEST(ProgramSettings, StyleNamesResolveAgainstTheStylesFile) {
  ScratchDir d;
  write_file(d / "styles.ini", "[Styles]\nSTANDARD=txt\nROMANS=romans\n");
  ConvSettings s = load_with(d, "[Tessaryn]\nTextLabelsStyle=romans\nMarkerStyle=NOSUCH\n");
  EXPECT_EQ(s.label_style, 1);
  EXPECT_EQ(s.marker_style, 0);
  EXPECT_EQ(s.cur.MarkerStyle, "STANDARD");  // unknown names become the first style's
  EXPECT_EQ(s.prog.MarkerStyle, "STANDARD");
}

TEST(ProgramSettings, ExistingDefsDirIsKeptAndMissingOneReplaced) {
  ScratchDir d;
  std::filesystem::create_directory(d / "mine");
  const std::string mine = (d / "mine").string() + "/";
  EXPECT_EQ(load_with(d, "[Tessaryn]\nDefsDir=" + mine + "\n").DefsDir, mine);
  ConvSettings s = load_with(d, "[Tessaryn]\nDefsDir=" + dir_of(d) + "gone/\n");
  EXPECT_EQ(s.DefsDir, dir_of(d) + "DEFS/");
  EXPECT_EQ(ProfileDocument::load(d / "tsn25.ini").get("Tessaryn", "DefsDir"), s.DefsDir);
}

TEST(ProgramSettings, UnwritableTmpDirGivesMessage177AndTheSystemDirectory) {
  ScratchDir d;
  test::RecordingHost host;
  set_host(&host);
  ConvSettings s = load_with(d, "[Tessaryn]\nTmpDir=" + dir_of(d) + "no/such/dir\n");
  set_host(nullptr);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Error");
  EXPECT_EQ(host.boxes[0].text,
            "Error: Unable to write to directory " + dir_of(d) + "no/such/dir/");
  EXPECT_NE(s.temp_dir.find('/'), std::string::npos);
  EXPECT_EQ(s.temp_dir.back(), '/');
  EXPECT_NE(s.temp_dir, dir_of(d) + "no/such/dir/");

  ConvSettings good = load_with(d, "[Tessaryn]\nTmpDir=" + d.path().string() + "\n");
  EXPECT_EQ(good.temp_dir, dir_of(d));
  EXPECT_FALSE(std::filesystem::exists(d / "TESSARYN.CAD"));  // the probe file is removed
}

TEST(ProgramSettings, SaveThenLoadRestoresProgramValues) {
  ScratchDir d;
  ConvSettings s = load_with(d, "; kept comment\n[Tessaryn]\nUnknownKey=stays\n");
  s.InDir = "/data/in";
  s.verDXF = 6;
  s.DecPlaces = 3;
  s.prog.Fill = 1;
  s.prog.Pen0 = 12;
  s.prog.label_position[0].MinMaxPos = 240;
  s.prog.attrib_position[1].AnnotJust = 2;
  s.Runtot = {1, 2, 3, 60466000};
  s.layer_history[0] = "PARCELS";
  s.window_positions[0] = {15, 25};
  s.def.LayersKey = "ZONE";
  ASSERT_TRUE(save_program_settings(s));

  const std::string text = read_file(d / "tsn25.ini");
  EXPECT_NE(text.find("; kept comment"), std::string::npos);
  EXPECT_NE(text.find("UnknownKey=stays"), std::string::npos);

  ConvSettings back = load_with(d, "");
  EXPECT_EQ(back.InDir, "/data/in");
  EXPECT_EQ(back.verDXF, 6);
  EXPECT_EQ(back.DecPlaces, 3);
  EXPECT_EQ(back.prog.Fill, 1);
  EXPECT_EQ(back.prog.Pen0, 12);
  EXPECT_EQ(back.prog.label_position[0].MinMaxPos, 240);
  EXPECT_EQ(back.prog.attrib_position[1].AnnotJust, 2);
  EXPECT_EQ(back.Runtot[3], 60466000u);
  EXPECT_EQ(back.layer_history[0], "PARCELS");
  EXPECT_EQ(back.window_positions[0].x, 15);
  EXPECT_EQ(back.recent_layer_keys[0], "ZONE");  // the current key joined the empty list
  EXPECT_EQ(back.def.LayersKey, "ZONE");
}

TEST(ProgramSettings, NameCountersAloneAreWritten) {
  ScratchDir d;
  ConvSettings s = load_with(d, "[Tessaryn]\nInDir=/keep\n");
  s.Runtot = {7, 8, 9, 10};
  s.InDir = "/changed";
  ASSERT_TRUE(save_name_counters(s));
  ProfileDocument written = ProfileDocument::load(d / "tsn25.ini");
  EXPECT_EQ(written.get("Tessaryn", "Runtot4"), "10");
  EXPECT_EQ(written.get("Tessaryn", "InDir"), "/keep");
}

TEST(ProgramSettings, WindowPositionParsing) {
  EXPECT_EQ(parse_window_position("10,-20").y, -20);
  EXPECT_EQ(parse_window_position("10").x, -1);
  EXPECT_EQ(parse_window_position(",5").x, -1);
  EXPECT_EQ(parse_window_position("3,").y, -1);
}

}  // namespace
}  // namespace tsn

namespace tsn {
namespace {

TEST(LastDirectory, DefaultsToDefsDirAndRemembersPerExtension) {
  ScratchDir d;
  ConvSettings s;
  ASSERT_TRUE(load_program_settings(s, d.path().string() + "/"));
  EXPECT_EQ(last_directory(s, "lgd"), s.DefsDir);
  ASSERT_TRUE(store_last_directory(s, "lgd", "/maps/legends", false));
  ASSERT_TRUE(store_last_directory(s, "leg", "/maps/other", true));
  EXPECT_EQ(last_directory(s, "LGD"), "/maps/legends");
  EXPECT_EQ(s.LegendFileType, "leg");
  ConvSettings back;
  ASSERT_TRUE(load_program_settings(back, d.path().string() + "/"));
  EXPECT_EQ(back.LegendFileType, "leg");
}

}  // namespace
}  // namespace tsn
