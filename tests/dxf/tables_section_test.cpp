// The TABLES section: exact bytes in both releases, handles, the viewport view, layer and style lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/dxf_writer.h"
#include "dxf/tables_section.h"
#include "dxf_test_support.h"

namespace tsn {
namespace {

using test::CollectingWriter;
using test::Settings;

// The layer list of a layer-by-single-layer conversion: "0" and one output layer.
const std::vector<LayerDef> kTwoLayers = {{"0", 7}, {"ROADS", 1}};
const std::vector<TextStyleDef> kStandardOnly = {{"STANDARD", "txt"}};
// 270 wide, 100 high: the width decides, 270 / 1.35 = 200.
constexpr DrawingExtents kWideExtents{0.0, 0.0, 270.0, 100.0};

std::string tables_text(const Settings& o, const TablesInput& in) {
  CollectingWriter c(o);
  dxf_reset_handles(c.state);
  EXPECT_EQ(write_dxf_tables(c.w, in), 0);
  return c.text();
}

TEST(TablesSection, Release12WithTwoLayersAndStandardIsExact) {
  const TablesInput in{kTwoLayers, {}, kStandardOnly, kWideExtents};
  const std::string expected =
      "0\nSECTION\n2\nTABLES\n"
      // Line types: fixed frame, prefixed records.
      "  0\nTABLE\n  2\nLTYPE\n 70\n     3\n"
      "0\nLTYPE\n2\nBYBLOCK\n70\n0\n3\n\n72\n65\n73\n0\n40\n0.0\n"
      "0\nLTYPE\n2\nBYLAYER\n70\n0\n3\n\n72\n65\n73\n0\n40\n0.0\n"
      "0\nLTYPE\n2\nCONTINUOUS\n70\n0\n3\nSolid line\n72\n65\n73\n0\n40\n0.0\n"
      "  0\nENDTAB\n"
      // Layers: all prefixed.
      "0\nTABLE\n2\nLAYER\n70\n2\n"
      "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n"
      "0\nLAYER\n2\nROADS\n70\n0\n62\n1\n6\nCONTINUOUS\n"
      "0\nENDTAB\n"
      "0\nTABLE\n2\nAPPID\n70\n2\n"
      "0\nAPPID\n2\nACAD\n70\n0\n"
      "0\nAPPID\n2\nTESSARYN\n70\n0\n"
      "0\nENDTAB\n"
      "  0\nTABLE\n  2\nVIEW\n 70\n     0\n  0\nENDTAB\n"
      "  0\nTABLE\n  2\nDIMSTYLE\n 70\n     0\n  0\nENDTAB\n"
      "  0\nTABLE\n  2\nUCS\n 70\n     0\n  0\nENDTAB\n"
      "  0\nTABLE\n  2\nVPORT\n 70\n     1\n"
      "  0\nVPORT\n  2\n*ACTIVE\n 70\n     0\n"
      " 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n"
      " 12\n135.0\n 22\n50.0\n"
      " 13\n0.0\n 23\n0.0\n 14\n1.0\n 24\n1.0\n 15\n0.0\n 25\n0.0\n"
      " 16\n0.0\n 26\n0.0\n 36\n1.0\n 17\n0.0\n 27\n0.0\n 37\n0.0\n"
      " 40\n200.0\n 41\n1.35\n 42\n50.0\n 43\n0.0\n 44\n0.0\n"
      " 50\n0.0\n 51\n0.0\n 71\n     0\n 72\n   100\n 73\n     1\n 74\n     1\n"
      " 75\n     0\n 76\n     0\n 77\n     0\n 78\n     0\n"
      "  0\nENDTAB\n"
      "0\nTABLE\n2\nSTYLE\n70\n1\n"
      "0\nSTYLE\n2\nSTANDARD\n70\n0\n40\n0.0\n41\n1.0\n50\n0.0\n71\n0\n42\n0.2\n3\ntxt\n4\n\n"
      "0\nENDTAB\n";
  EXPECT_EQ(tables_text(Settings{.verDXF = 4}, in), expected);
}

TEST(TablesSection, Release14CarriesTableAndRecordHandlesInOrder) {
  const TablesInput in{kTwoLayers, {}, kStandardOnly, kWideExtents};
  const std::string expected =
      "0\nSECTION\n2\nTABLES\n"
      "  0\nTABLE\n  2\nLTYPE\n  5\n      22\n100\nAcDbSymbolTable\n 70\n     3\n"
      "0\nLTYPE\n  5\n      23\n100\nAcDbSymbolTableRecord\n100\nAcDbLinetypeTableRecord\n"
      "2\nBYBLOCK\n70\n0\n3\n\n72\n65\n73\n0\n40\n0.0\n"
      "0\nLTYPE\n  5\n      24\n100\nAcDbSymbolTableRecord\n100\nAcDbLinetypeTableRecord\n"
      "2\nBYLAYER\n70\n0\n3\n\n72\n65\n73\n0\n40\n0.0\n"
      "0\nLTYPE\n  5\n      25\n100\nAcDbSymbolTableRecord\n100\nAcDbLinetypeTableRecord\n"
      "2\nCONTINUOUS\n70\n0\n3\nSolid line\n72\n65\n73\n0\n40\n0.0\n"
      "  0\nENDTAB\n"
      "0\nTABLE\n2\nLAYER\n  5\n      26\n100\nAcDbSymbolTable\n70\n2\n"
      "0\nLAYER\n  5\n      27\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n"
      "2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n"
      "0\nLAYER\n  5\n      28\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n"
      "2\nROADS\n70\n0\n62\n1\n6\nCONTINUOUS\n"
      "0\nENDTAB\n"
      "0\nTABLE\n2\nAPPID\n  5\n      29\n100\nAcDbSymbolTable\n70\n2\n"
      "0\nAPPID\n  5\n      2A\n100\nAcDbSymbolTableRecord\n100\nAcDbRegAppTableRecord\n"
      "2\nACAD\n70\n0\n"
      "0\nAPPID\n  5\n      2B\n100\nAcDbSymbolTableRecord\n100\nAcDbRegAppTableRecord\n"
      "2\nTESSARYN\n70\n0\n"
      "0\nENDTAB\n"
      "  0\nTABLE\n  2\nVIEW\n  5\n      2C\n100\nAcDbSymbolTable\n 70\n     0\n  0\nENDTAB\n"
      "  0\nTABLE\n  2\nDIMSTYLE\n  5\n      2D\n100\nAcDbSymbolTable\n 70\n     0\n"
      "  0\nENDTAB\n"
      "  0\nTABLE\n  2\nUCS\n  5\n      2E\n100\nAcDbSymbolTable\n 70\n     0\n  0\nENDTAB\n"
      "  0\nTABLE\n  2\nVPORT\n  5\n      2F\n100\nAcDbSymbolTable\n 70\n     1\n"
      "  0\nVPORT\n  5\n      30\n100\nAcDbSymbolTableRecord\n100\nAcDbViewportTableRecord\n"
      "  2\n*ACTIVE\n 70\n     0\n"
      " 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n"
      " 12\n135.0\n 22\n50.0\n"
      " 13\n0.0\n 23\n0.0\n 14\n1.0\n 24\n1.0\n 15\n0.0\n 25\n0.0\n"
      " 16\n0.0\n 26\n0.0\n 36\n1.0\n 17\n0.0\n 27\n0.0\n 37\n0.0\n"
      " 40\n200.0\n 41\n1.35\n 42\n50.0\n 43\n0.0\n 44\n0.0\n"
      " 50\n0.0\n 51\n0.0\n 71\n     0\n 72\n   100\n 73\n     1\n 74\n     1\n"
      " 75\n     0\n 76\n     0\n 77\n     0\n 78\n     0\n"
      "  0\nENDTAB\n"
      "0\nTABLE\n2\nSTYLE\n  5\n      31\n100\nAcDbSymbolTable\n70\n1\n"
      "0\nSTYLE\n  5\n      32\n100\nAcDbSymbolTableRecord\n100\nAcDbTextStyleTableRecord\n"
      "2\nSTANDARD\n70\n0\n40\n0.0\n41\n1.0\n50\n0.0\n71\n0\n42\n0.2\n3\ntxt\n4\n\n"
      "0\nENDTAB\n";
  CollectingWriter c(Settings{.verDXF = 6});
  dxf_reset_handles(c.state);
  ASSERT_EQ(write_dxf_tables(c.w, in), 0);
  EXPECT_EQ(c.text(), expected);
  // Seventeen handles were issued; the next object continues from 32.
  EXPECT_EQ(c.state.n_last_handle, 0x32u);
  // Table records name no owner: the section has no 330 or 102 groups.
  EXPECT_EQ(c.text().find("330\n"), std::string::npos);
  EXPECT_EQ(c.text().find("102\n"), std::string::npos);
}

TEST(TablesSection, TidyPrefixesPadOnlyThePrefixedGroups) {
  const std::vector<LayerDef> layers = {{"0", 7}};
  const TablesInput in{layers, {}, kStandardOnly, kWideExtents};
  const std::string text = tables_text(Settings{.verDXF = 4, .TidyDxf = 1}, in);
  EXPECT_NE(text.find("  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLTYPE\n 70\n     3\n"
                      "  0\nLTYPE\n  2\nBYBLOCK\n 70\n0\n  3\n\n 72\n65\n 73\n0\n 40\n0.0\n"),
            std::string::npos);
  EXPECT_NE(text.find("  0\nTABLE\n  2\nLAYER\n 70\n1\n"
                      "  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n  0\nENDTAB\n"),
            std::string::npos);
  // Fixed frames do not grow: the VPORT counts keep their six columns.
  EXPECT_NE(text.find(" 71\n     0\n 72\n   100\n"), std::string::npos);
}

TEST(TablesSection, ClassLayersFollowTheFixedListAndAreCounted) {
  const std::vector<LayerDef> fixed = {{"0", 7}, {"TEXT", 2}};
  const std::vector<LayerDef> classes = {{"A1", 10}, {"B2", 20}};
  const TablesInput in{fixed, classes, kStandardOnly, kWideExtents};
  const std::string text = tables_text(Settings{.verDXF = 4}, in);
  EXPECT_NE(text.find("0\nTABLE\n2\nLAYER\n70\n4\n"
                      "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n"
                      "0\nLAYER\n2\nTEXT\n70\n0\n62\n2\n6\nCONTINUOUS\n"
                      "0\nLAYER\n2\nA1\n70\n0\n62\n10\n6\nCONTINUOUS\n"
                      "0\nLAYER\n2\nB2\n70\n0\n62\n20\n6\nCONTINUOUS\n"
                      "0\nENDTAB\n"),
            std::string::npos);
}

TEST(TablesSection, StandardIsAppendedAndCountedOnlyWhenMissingInAnyCase) {
  const std::string record_tail = "70\n0\n40\n0.0\n41\n1.0\n50\n0.0\n71\n0\n42\n0.2\n";
  const std::vector<TextStyleDef> without = {{"LABELS", "romans.shx"}};
  const std::string appended = "0\nTABLE\n2\nSTYLE\n70\n2\n"
                               "0\nSTYLE\n2\nLABELS\n" + record_tail + "3\nromans.shx\n4\n\n"
                               "0\nSTYLE\n2\nSTANDARD\n" + record_tail + "3\ntxt\n4\n\n"
                               "0\nENDTAB\n";
  const std::vector<TextStyleDef> lower = {{"standard", "simplex.shx"}};
  const std::string kept = "0\nTABLE\n2\nSTYLE\n70\n1\n"
                           "0\nSTYLE\n2\nstandard\n" + record_tail + "3\nsimplex.shx\n4\n\n"
                           "0\nENDTAB\n";
  const std::string a = tables_text(Settings{.verDXF = 4}, {kTwoLayers, {}, without, kWideExtents});
  const std::string b = tables_text(Settings{.verDXF = 4}, {kTwoLayers, {}, lower, kWideExtents});
  ASSERT_GE(a.size(), appended.size());
  ASSERT_GE(b.size(), kept.size());
  EXPECT_EQ(a.substr(a.size() - appended.size()), appended);
  EXPECT_EQ(b.substr(b.size() - kept.size()), kept);
}

TEST(TablesSection, NothingIsWrittenOutsideTheTextPath) {
  const TablesInput in{kTwoLayers, {}, kStandardOnly, kWideExtents};
  for (const Settings& o : {Settings{.verDXF = 7}, Settings{.verDXF = 6, .SaveFileType = 1}}) {
    CollectingWriter c(o);
    EXPECT_EQ(write_dxf_tables(c.w, in), -1);
    EXPECT_EQ(c.text(), "");
  }
}

TEST(ActiveViewport, CentredOnTheExtentsAndTallEnoughForAspect135) {
  const ActiveView tall = active_view({10.0, -20.0, 40.0, 80.0});  // 30 / 1.35 < 100
  EXPECT_DOUBLE_EQ(tall.centre_x, 25.0);
  EXPECT_DOUBLE_EQ(tall.centre_y, 30.0);
  EXPECT_DOUBLE_EQ(tall.height, 100.0);
  const ActiveView wide = active_view({-100.0, 0.0, 170.0, 10.0});  // 270 / 1.35 = 200 > 10
  EXPECT_DOUBLE_EQ(wide.centre_x, 35.0);
  EXPECT_DOUBLE_EQ(wide.centre_y, 5.0);
  EXPECT_DOUBLE_EQ(wide.height, 200.0);
}

TEST(ActiveViewport, ComputedGroupsFollowDecPlacesWhileFixedOnesDoNot) {
  const TablesInput in{kTwoLayers, {}, kStandardOnly, {1.0, 2.0, 4.0, 7.0}};
  const std::string text = tables_text(Settings{.verDXF = 4, .DecPlaces = 0}, in);
  // Centre (2.5, 4.5) rounds half to even as printf does; height 5; aspect 1.35 shows as 1.
  EXPECT_NE(text.find(" 11\n1.0\n 21\n1.0\n 12\n2\n 22\n4\n 13\n0.0\n"), std::string::npos);
  EXPECT_NE(text.find(" 37\n0.0\n 40\n5\n 41\n1\n 42\n50.0\n 43\n0\n 44\n0\n 50\n0.0\n"),
            std::string::npos);
}

TEST(LayerList, NamesAreUniqueWithoutRegardToCase) {
  std::vector<LayerDef> layers;
  EXPECT_TRUE(add_fixed_layer(layers, "0", 7, {}));
  EXPECT_TRUE(add_fixed_layer(layers, "Text", 2, {}));
  EXPECT_FALSE(add_fixed_layer(layers, "0", 3, {}));     // single output layer "0"
  EXPECT_FALSE(add_fixed_layer(layers, "TEXT", 5, {}));  // same name, other case
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(layers[0].name, "0");
  EXPECT_EQ(layers[0].colour, 7);
  EXPECT_EQ(layers[1].name, "Text");
  EXPECT_EQ(layers[1].colour, 2);
}

TEST(LayerList, AClassLayerNameIsLeftToTheClassLayers) {
  const std::vector<LayerDef> classes = {{"ROADS", 1}, {"TEXT", 4}};
  std::vector<LayerDef> layers;
  EXPECT_TRUE(add_fixed_layer(layers, "0", 7, classes));
  EXPECT_FALSE(add_fixed_layer(layers, "text", 2, classes));
  EXPECT_TRUE(add_fixed_layer(layers, "LEGEND", 3, classes));
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(layers[1].name, "LEGEND");
}

TEST(StyleList, FindOrAppendKeepsTheFirstFont) {
  std::vector<TextStyleDef> styles;
  EXPECT_EQ(add_text_style(styles, "LABELS", "romans.shx"), 0u);
  EXPECT_EQ(add_text_style(styles, "STANDARD", "txt"), 1u);
  EXPECT_EQ(add_text_style(styles, "labels", "arial.ttf"), 0u);
  ASSERT_EQ(styles.size(), 2u);
  EXPECT_EQ(styles[0].font, "romans.shx");
  EXPECT_EQ(styles[1].name, "STANDARD");
}

TEST(BlockRecordTable, Release14HeadCountsRecordsLegendAndLayouts) {
  EXPECT_EQ(expected_block_records(10, true), 13);
  EXPECT_EQ(expected_block_records(0, false), 2);
  CollectingWriter c(Settings{.verDXF = 6});
  dxf_reset_handles(c.state);
  open_block_record_table(c.w, expected_block_records(10, true));
  EXPECT_EQ(c.text(), "  0\nTABLE\n  2\nBLOCK_RECORD\n  5\n      22\n100\nAcDbSymbolTable\n 70\n13\n");
}

TEST(BlockRecordTable, Release12HasNone) {
  CollectingWriter c(Settings{.verDXF = 4});
  dxf_reset_handles(c.state);
  open_block_record_table(c.w, 5);
  EXPECT_EQ(c.text(), "");
  EXPECT_EQ(c.state.n_last_handle, kHandleSeedStart);
}

}  // namespace
}  // namespace tsn
