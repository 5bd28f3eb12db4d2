// Lines of placed label and attribute blocks, the written attribute values, their extended data
// and the attribute-definition block.
#include "entities/text_block.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "classify/rows_table.h"
#include "entities/entities_test_support.h"
#include "entities/attribute_data.h"

namespace tsn {
namespace {

LabelPlacement at(double x, double y, double radians = 0.0, bool aligned = false) {
  LabelPlacement p;
  p.insertion = {x, y};
  p.rotation = radians;
  p.rotation_degrees = radians * 180.0 / std::numbers::pi;
  p.aligned = aligned;
  return p;
}

TEST(TextBlockLines, LeftTextHasOnlyItsInsertionPointLinesStepDown) {
  TextBlockLines lines(at(10, 20), 0, 2.0, 0.5, 3.0, 1.0);
  TextPlacement first = lines.line("Oak");
  EXPECT_EQ(first.first.x, 10);
  EXPECT_EQ(first.first.y, 20);
  EXPECT_EQ(first.first.z, 3.0);
  EXPECT_FALSE(first.second);
  EXPECT_FALSE(first.rotation_degrees);
  lines.next();
  EXPECT_DOUBLE_EQ(lines.line("Elm").first.y, 17.0);  // (1 + 0.5) * 2 lower
}

TEST(TextBlockLines, RightAndCentredTextCarryBothPointsTheFirstMovedBackByTheWidth) {
  // Without a measured face the width of a character is the fallback factor times the height.
  // Whatever the face, the first point lies left of the second by a width proportional to the
  // text's length, and centred text moves back half as far.
  TextBlockLines right(at(10, 20), 2, 2.0, 0.5, 0.0, 1.0);
  const TextPlacement r = right.line("ABCD");
  ASSERT_TRUE(r.second);
  EXPECT_EQ(r.second->x, 10);
  EXPECT_EQ(r.justification, 2);
  const double width = r.second->x - r.first.x;
  EXPECT_GT(width, 0.0);
  EXPECT_EQ(r.first.y, 20);
  TextBlockLines centre(at(10, 20), 1, 2.0, 0.5, 0.0, 1.0);
  EXPECT_NEAR(10 - centre.line("ABCD").first.x, width / 2, 1e-9);
}

TEST(TextBlockLines, AlignedTextMovesBackAlongItsDirectionAndStepsAcrossIt) {
  const double up = std::numbers::pi / 2;  // text running upwards
  TextBlockLines lines(at(0, 0, up, true), 2, 1.0, 0.5, 0.0, 1.0);
  const TextPlacement p = lines.line("AB");
  ASSERT_TRUE(p.rotation_degrees);
  EXPECT_NEAR(*p.rotation_degrees, 90.0, 1e-9);
  EXPECT_NEAR(p.first.x, 0.0, 1e-9);  // moved back down the line, not sideways
  EXPECT_LT(p.first.y, 0.0);
  lines.next();
  const TextPlacement q = lines.line("AB");
  EXPECT_NEAR(q.second->x, 1.5, 1e-9);  // the next line lies to the right of upward text
  EXPECT_NEAR(q.second->y, 0.0, 1e-9);
}

TEST(AttributeData, ValuesTrimmedAndCutFieldsSelectedInOrder) {
  EXPECT_EQ(written_field_value("  Main St  ", true, 0), "Main St");
  EXPECT_EQ(written_field_value("  Main St  ", false, 0), "  Main St  ");
  EXPECT_EQ(written_field_value("Main Street", true, 4), "Main");
  EXPECT_EQ(written_field_value(std::string(300, 'x'), true, 0).size(), 255u);

  ConvSettings s;
  s.def.attrib_fields[2] = 1;
  s.def.attrib_fields[0] = 1;
  s.def.attrib_fields[9] = 1;  // beyond the table
  const std::vector<dbf_field> fields = {{'C', 0, "NAME", 20}, {'N', 0, "POP", 8}, {'C', 0, "CODE", 4}};
  const auto selected = selected_attribute_fields(s, fields);
  ASSERT_EQ(selected.size(), 2u);
  EXPECT_EQ(selected[0].name, "NAME");
  EXPECT_EQ(selected[1].name, "CODE");
  EXPECT_EQ(selected[1].width, 4);
}

TEST(AttributeData, ExtendedDataPairsNamesAndValuesBetweenBraces) {
  RowsTable table({{'C', 0, "NAME", 20}, {'C', 0, "CODE", 4}}, {{" Oak Rd ", "R1"}});
  table.begin(0);
  const std::vector<AttributeField> fields = {{1, "CODE", 4}, {0, "NAME", 20}};
  std::vector<std::string> values;
  std::vector<XdataItem> items;
  attribute_eed(table, fields, true, 0, values, items);
  std::string got;
  for (const XdataItem& x : items) got += std::to_string(x.code) + "\n" + std::string(x.text) + "\n";
  EXPECT_EQ(got, "1001\nTESSARYN\n1002\n{\n1000\nCODE\n1000\nR1\n1000\nNAME\n1000\nOak Rd\n1002\n}\n");
}

TEST(AttributeData, InfoBlockNameIsCleanedLikeALayerName) {
  struct Case {
    std::string base;
    std::string r12_r14;
    std::string r2000;
  };
  const std::vector<Case> cases = {
      {"a;b", "A_B_INFO", "AB_INFO"},
      {"m=n*o?p\"q\\r:s<t>u`v", "M_N_O_P_Q_R_S_T_U_V_INFO", "MNOP\"QRSTUV_INFO"},
      {"Lake\rBaikal\n\t^", "LAKE_BAIKAL_INFO", "LAKEBAIKAL^_INFO"},
      {"ne_110m-lakes.v2", "NE_110M-LAKES_V2_INFO", "NE_110M-LAKES.V2_INFO"},
      {"***", "UNNAMED_INFO", "UNNAMED_INFO"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(info_block_name(c.base, 4), c.r12_r14) << c.base;
    EXPECT_EQ(info_block_name(c.base, 6), c.r12_r14) << c.base;
    EXPECT_EQ(info_block_name(c.base, 7), c.r2000) << c.base;
  }
}

TEST(AttributeData, InfoBlockNamedAfterTheInputWithOneDefinitionPerField) {
  EXPECT_EQ(info_block_name("roads", 4), "ROADS_INFO");
  EXPECT_EQ(info_block_name(std::string(300, 'a'), 6), std::string(249, 'A') + "_INFO");
  test::BlockDrawing out(test::Settings{});
  const std::vector<AttributeField> fields = {{0, "NAME", 20}, {2, "CODE", 4}};
  ASSERT_EQ(write_info_block(out.streams, "ROADS_INFO", fields, 2.0, 0.5), 0);
  const std::string& t = out.first_text();
  EXPECT_NE(t.find("ROADS_INFO"), std::string::npos);
  EXPECT_NE(t.find("70\n2\n"), std::string::npos);  // the block has attributes
  EXPECT_LT(t.find("POINT"), t.find("ATTDEF"));      // its point comes first
  EXPECT_NE(t.find("2\nNAME\n3\nENTER NAME\n73\n 20\n"), std::string::npos);
  EXPECT_NE(t.find(" 20\n-3.0\n"), std::string::npos);  // the second one (1 + 0.5) * 2 lower
  EXPECT_NE(t.find("ENDBLK"), std::string::npos);
}

}  // namespace
}  // namespace tsn
