// Justified texts, attributes and attribute definitions: their groups in order, in release 12
// and 14, and the optional alignment point, rotation and justification.
#include "dxf/text_entities.h"

#include <gtest/gtest.h>

#include "dxf/dxf_test_support.h"

namespace tsn {
namespace {

using test::CollectingWriter;
using test::Settings;

TEST(TextEntities, LeftTextHasOnePointAndNoJustificationOrRotation) {
  CollectingWriter c(Settings{});
  const TextLook look{"TEXT", 40, 2.5, "STANDARD"};
  TextPlacement at;
  at.first = {1.5, 2.0, 0.0};
  ASSERT_EQ(dxf_placed_text(c.w, look, at, "Main St"), 0);
  EXPECT_EQ(c.text(),
            "0\nTEXT\n8\nTEXT\n62\n40\n 10\n1.5\n 20\n2.0\n 40\n2.5\n7\nSTANDARD\n1\nMain St\n");
}

TEST(TextEntities, JustifiedRotatedTextCarriesBothPointsInRelease14) {
  CollectingWriter c(Settings{.verDXF = 6});
  const TextLook look{"L", -1, 1.0, "ROMANS"};
  TextPlacement at;
  at.first = {0.0, 0.0, 0.0};
  at.second = BlockPoint{4.0, 0.0, 0.0};
  at.rotation_degrees = 30.0;
  at.justification = 2;
  ASSERT_EQ(dxf_placed_text(c.w, look, at, "Elm"), 0);
  const std::string& t = c.text();
  // Second point, rotation and justification in their order, the Text marker after the text.
  const auto p11 = t.find(" 11\n4.0\n");
  const auto p50 = t.find(" 50\n30.0\n");
  const auto p72 = t.find("72\n2\n");
  const auto p1 = t.find("1\nElm\n");
  ASSERT_NE(p11, std::string::npos);
  EXPECT_LT(p11, p50);
  EXPECT_LT(p50, p72);
  EXPECT_LT(p72, p1);
  EXPECT_NE(t.find("1\nElm\n100\nAcDbText\n"), std::string::npos);
  EXPECT_EQ(t.find(" 62\n"), std::string::npos);  // no colour: by layer
}

TEST(TextEntities, AttributeEndsWithTagAndVisibilityFlags) {
  for (const int release : {4, 6}) {
    CollectingWriter c(Settings{.verDXF = release});
    TextPlacement at;
    at.first = {0.0, -1.5, 0.0};
    ASSERT_EQ(dxf_attrib(c.w, {"ROADS", 0, 1.0, "STANDARD"}, at, "A1", "CODE", false), 0);
    ASSERT_EQ(dxf_attrib(c.w, {"ROADS", 0, 1.0, "STANDARD"}, at, "x", "NAME", true), 0);
    const std::string& t = c.text();
    EXPECT_NE(t.find("1\nA1\n"), std::string::npos);
    const std::string marker = release == 6 ? "100\nAcDbAttribute\n" : "";
    EXPECT_NE(t.find("STANDARD\n" + marker + "2\nCODE\n70\n1\n"), std::string::npos) << release;
    EXPECT_NE(t.find("2\nNAME\n70\n0\n"), std::string::npos) << release;
  }
}

TEST(TextEntities, DefinitionCarriesPromptWidthAndInvisibility) {
  CollectingWriter c(Settings{.verDXF = 6});
  ASSERT_EQ(dxf_attdef(c.w, -3.0, 2.0, "NAME", 7), 0);
  const std::string& t = c.text();
  EXPECT_NE(t.find("ATTDEF"), std::string::npos);
  EXPECT_NE(t.find("8\n0\n62\n0\n"), std::string::npos);
  EXPECT_NE(t.find(" 20\n-3.0\n"), std::string::npos);
  EXPECT_NE(t.find("1\n\n100\nAcDbAttributeDefinition\n2\nNAME\n3\nENTER NAME\n73\n  7\n70\n1\n"),
            std::string::npos)
      << t;
}

}  // namespace
}  // namespace tsn
