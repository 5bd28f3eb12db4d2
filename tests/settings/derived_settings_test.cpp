// Values derived from the settings: heights from ratios, the effective colour method, the
// per-file reset, generated names and the most-recently-used lists.
#include <gtest/gtest.h>

#include <cmath>

#include "settings/file_reset.h"
#include "settings/key_lists.h"
#include "settings/name_counter.h"

namespace tsn {
namespace {

TEST(Heights, RatioTimesExtentOrAbsolute) {
  EXPECT_DOUBLE_EQ(height_from_ratio(0.0025, 1000.0), 2.5);
  EXPECT_DOUBLE_EQ(height_from_ratio(-2.5, 1000.0), 2.5);
  EXPECT_DOUBLE_EQ(height_from_ratio(-2.5, 0.0), 2.5);
  EXPECT_DOUBLE_EQ(height_from_ratio(0.5, 0.001), 0.5);  // tiny extents use the ratio itself
  EXPECT_DOUBLE_EQ(extent_diagonal(0, 0, 3, 4), 5.0);
  EXPECT_EQ(extent_diagonal(1, 1, 1, 1 + 1e-26), 0.0);
  EXPECT_EQ(extent_diagonal(0, 0, std::nan(""), 1), 0.0);
}

InputInfo shapefile(int type) {
  InputInfo in;
  in.shape_type = type;
  return in;
}

TEST(ColourMethod, PointsAndLinesFollowTheirOneColourSwitch) {
  FileSettings f;
  f.Use1ColourPoints = 1;
  EXPECT_EQ(effective_colour_method(f, shapefile(1)), 0);
  EXPECT_EQ(effective_colour_method(f, shapefile(3)), 2);
  f.Use1ColourArcs = 1;
  EXPECT_EQ(effective_colour_method(f, shapefile(13)), 0);
}

TEST(ColourMethod, PolygonsNeedOneColourForEverythingDrawn) {
  FileSettings f;
  f.DrawOutlines = 1;
  f.Fill = 1;
  f.Use1ColourLines = 1;
  f.Use1ColourFill = 0;
  EXPECT_EQ(effective_colour_method(f, shapefile(5)), 2);  // fill by classes
  f.Use1ColourFill = 1;
  EXPECT_EQ(effective_colour_method(f, shapefile(5)), 0);
  f.Fill = 0;
  f.Use1ColourFill = 0;
  EXPECT_EQ(effective_colour_method(f, shapefile(15)), 0);  // outlines only, one colour
  f.Fill = 1;
  f.DrawOutlines = 0;
  f.Use1ColourLines = 0;
  f.Use1ColourFill = 1;
  EXPECT_EQ(effective_colour_method(f, shapefile(25)), 0);  // fill only, one colour
  f.Use1ColourFill = 0;
  EXPECT_EQ(effective_colour_method(f, shapefile(31)), 2);
  InputInfo vertices;
  vertices.input_file_type = 2;
  f.PointsArePolys = 1;
  EXPECT_EQ(effective_colour_method(f, vertices), 0);  // a table has no shapes to classify
}

TEST(Reset, RestoresProgramValuesAndDerivesFromTheInput) {
  ConvSettings s;
  s.TextLabelsHeightToMinMax = 0.01;
  s.MarkerHeightToMinMax = -3.0;
  s.prog.TextColour = 5;
  s.prog.Legend = 1;
  s.prog.AlignAttrib = 0;
  s.prog.Use1ColourArcs = 1;
  s.prog.Pen0 = 17;
  s.prog.Use1ColourPoints = 1;
  s.cur.TextColour = 99;
  s.cur.Use1ColourPoints = 0;
  s.cur.TIN = 1;
  s.cur.LayerByFeature = 1;  // not restored: kept from the previous input
  s.def.attrib_fields[200] = 1;
  s.def.num_label_fields = 4;
  InputInfo lines = shapefile(3);
  lines.extent_diagonal = 500.0;
  reset_file_settings(s, lines);
  EXPECT_DOUBLE_EQ(s.cur.TextLabelsHeight, 5.0);
  EXPECT_DOUBLE_EQ(s.cur.MarkerHeight, 3.0);
  EXPECT_EQ(s.cur.TextColour, 5);
  EXPECT_EQ(s.cur.Legend, 1);
  EXPECT_EQ(s.cur.AlignAttrib, 0);
  EXPECT_EQ(s.cur.Pen0, 17);
  EXPECT_EQ(s.cur.Use1ColourPoints, 0);  // another class's switch is left alone
  EXPECT_EQ(s.cur.ColourMethod, 0);
  EXPECT_EQ(s.cur.TIN, 0);
  EXPECT_EQ(s.cur.LayerByFeature, 1);
  EXPECT_EQ(s.def.attrib_fields[200], 0);
  EXPECT_EQ(s.def.num_label_fields, 0);
}

TEST(NameCounter, Base36NamesFromTotalsAndWrap) {
  EXPECT_EQ(base36_5(0), "00000");
  EXPECT_EQ(base36_5(35), "0000Z");
  EXPECT_EQ(base36_5(36), "00010");
  EXPECT_EQ(base36_5(60466175), "ZZZZZ");

  std::array<std::uint32_t, 4> totals = {100, 0, 60466000, 0};
  NameCounters names{&totals};
  EXPECT_EQ(names.next_name(NameKind::polygon), "POL0002S");
  EXPECT_EQ(names.next_name(NameKind::polygon), "POL0002T");
  EXPECT_EQ(names.next_name(NameKind::fill), "FILZZZV4");  // 60466000 itself is allowed
  EXPECT_EQ(names.next_name(NameKind::fill), "FIL00001");  // above it the total restarts
  EXPECT_EQ(names.next_name(NameKind::multipoint), "MPT00000");
  names.commit();
  EXPECT_EQ(totals[0], 102u);
  EXPECT_EQ(totals[2], 2u);
  EXPECT_EQ(totals[3], 1u);
  EXPECT_EQ(names.next_name(NameKind::arc), "ARC00000");
  EXPECT_EQ(names.next_name(NameKind::polygon), "POL0002U");
}

TEST(KeyLists, MostRecentFirstWithoutDuplicates) {
  std::array<std::string, kRecentKeys> list = {"A", "B", "C", "D", "E", "F", "G", "H", "I"};
  push_recent(list, std::string("c"));
  EXPECT_EQ(list[0], "c");
  EXPECT_EQ(list[1], "A");
  EXPECT_EQ(list[3], "D");
  EXPECT_EQ(list[8], "I");
  push_recent(list, std::string("NEW"));
  EXPECT_EQ(list[0], "NEW");
  EXPECT_EQ(list[8], "H");  // the last entry dropped out
  push_recent(list, std::string());
  EXPECT_EQ(list[0], "NEW");
}

TEST(KeyLists, AfterAConversion) {
  ConvSettings s;
  s.LLMS = 0;
  s.def.LayersKey = "ZONE";
  s.def.ColoursKey = "POP";
  s.def.SingleLayerName = "PARCELS";
  s.layer_history = {"ROADS", "PARCELS"};
  update_key_lists(s, "/d/roads.shp");
  EXPECT_EQ(s.recent_layer_keys[0], "ZONE");
  EXPECT_EQ(s.recent_colour_keys[0], "POP");
  EXPECT_EQ(s.layer_history[0], "ROADS");  // already present: the history is unchanged
  EXPECT_EQ(s.LLMS, 0);

  s.def.SingleLayerName = "Roads";
  update_key_lists(s, "/d/roads.shp");
  EXPECT_EQ(s.LLMS, 1);

  s.def.SingleLayerName = "WATER";
  update_key_lists(s, "/d/roads.shp");
  EXPECT_EQ(s.layer_history[0], "WATER");
  EXPECT_EQ(s.layer_history[1], "ROADS");
}

}  // namespace
}  // namespace tsn
