// Marker blocks: the character marker's naming rule, which block the points use, and the
// exact contents of the plus, circle, character, point and dot blocks in both releases.
#include "entities/marker_blocks.h"

#include <gtest/gtest.h>

#include <string>

#include "entities_test_support.h"

namespace tsn {
namespace {

using Blocks = test::BlockDrawing;
using test::Settings;

TEST(CharacterMarkerName, LettersAndDigitsAsThemselvesOtherCodesAsNumbers) {
  EXPECT_EQ(character_marker_block_name("STANDARD", 42), "STANDARD_42");
  EXPECT_EQ(character_marker_block_name("Symbols", 'A'), "Symbols_A");
  EXPECT_EQ(character_marker_block_name("Symbols", '7'), "Symbols_7");
  EXPECT_EQ(character_marker_block_name("Symbols", 7), "Symbols_007");
  EXPECT_EQ(character_marker_block_name("S", 31), "S_031");
  EXPECT_EQ(character_marker_block_name("S", 32), "S_32");
  EXPECT_EQ(character_marker_block_name("S", 200), "S_200");
}

TEST(PointBlockName, ByMarkerKindAttributesAndTable) {
  MarkerChoice c;
  EXPECT_EQ(point_block_name(c), "");  // plain POINT entities
  c.block_attributes = true;
  EXPECT_EQ(point_block_name(c), "");  // no table: still plain points
  c.table_open = true;
  EXPECT_EQ(point_block_name(c), "_POINT");
  c.markers = true;
  for (const auto& [marker, name] : {std::pair{1, "PLUSPT"}, {2, "CIRCPT"}, {5, "_DOT"}, {3, ""}}) {
    c.marker = marker;
    EXPECT_EQ(point_block_name(c), name) << marker;
  }
  c.marker = kMarkerCharacter;
  c.style = "STANDARD";
  EXPECT_EQ(point_block_name(c), "");  // without attributes the character is plain text
  c.attributes = true;
  EXPECT_EQ(point_block_name(c), "STANDARD_42");
}

MarkerChoice markers(int marker) {
  MarkerChoice c;
  c.markers = true;
  c.marker = marker;
  c.style = "STANDARD";
  return c;
}

TEST(MarkerBlocks, PlusMarkerIsTwoLinesOnLayerZeroByBlock) {
  Blocks b(Settings{.verDXF = 4, .TidyDxf = 1});
  FixedBlocks made;
  ASSERT_EQ(write_marker_blocks(b.streams, markers(kMarkerPlus), made), 0);
  EXPECT_EQ(b.first_text(),
            "  0\nBLOCK\n  8\n0\n  2\nPLUSPT\n 70\n0\n 10\n0.0\n 20\n0.0\n  3\nPLUSPT\n  1\n\n"
            "  0\nLINE\n  8\n0\n 62\n0\n 10\n-0.5\n 20\n0.0\n 11\n0.5\n 21\n0.0\n"
            "  0\nLINE\n  8\n0\n 62\n0\n 10\n0.0\n 20\n-0.5\n 11\n0.0\n 21\n0.5\n"
            "  0\nENDBLK\n  8\n0\n");
  EXPECT_EQ(b.main.text(), "");  // release 12 has no BLOCK_RECORD table
}

TEST(MarkerBlocks, CircleAndCharacterMarkersInRelease14) {
  Blocks b(Settings{.verDXF = 6, .TidyDxf = 0});
  FixedBlocks made;
  ASSERT_EQ(write_marker_blocks(b.streams, markers(kMarkerCircle), made), 0);
  EXPECT_NE(b.first_text().find("0\nCIRCLE\n  5\n"), std::string::npos) << b.first_text();
  EXPECT_NE(b.first_text().find("100\nAcDbCircle\n8\n0\n62\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
                                "40\n0.5\n0\nENDBLK\n"),
            std::string::npos)
      << b.first_text();
  EXPECT_NE(b.main.text().find("  0\nBLOCK_RECORD\n"), std::string::npos);

  Blocks t(Settings{.verDXF = 6, .TidyDxf = 0});
  MarkerChoice c = markers(kMarkerCharacter);
  c.attributes = true;
  c.character = 'A';
  ASSERT_EQ(write_marker_blocks(t.streams, c, made), 0);
  EXPECT_NE(t.first_text().find("2\nSTANDARD_A\n"), std::string::npos);
  // The Text subclass marker before the layer, and once more after the character.
  EXPECT_NE(t.first_text().find("100\nAcDbText\n8\n0\n62\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
                                " 40\n1.0\n7\nSTANDARD\n1\nA\n100\nAcDbText\n"),
            std::string::npos)
      << t.first_text();
}

TEST(MarkerBlocks, DotIsAWidePolylineInRelease12AndASolidHatchInRelease14Once) {
  Blocks r12(Settings{.verDXF = 4, .TidyDxf = 0});
  FixedBlocks made;
  ASSERT_EQ(write_marker_blocks(r12.streams, markers(kMarkerDot), made), 0);
  ASSERT_EQ(write_dot_block(r12.streams, made), 0);  // the legend asks again: nothing more
  EXPECT_EQ(r12.first_text(),
            "0\nBLOCK\n8\n0\n2\n_DOT\n70\n0\n 10\n0.0\n 20\n0.0\n3\n_DOT\n1\n\n"
            "0\nPOLYLINE\n8\n0\n62\n0\n66\n1\n70\n1\n40\n0.5\n41\n0.5\n"
            "0\nVERTEX\n8\n0\n 10\n-0.25\n 20\n0.0\n42\n1.0\n"
            "0\nVERTEX\n8\n0\n 10\n0.25\n 20\n0.0\n42\n1.0\n"
            "0\nSEQEND\n0\nENDBLK\n8\n0\n");

  Blocks r14(Settings{.verDXF = 6, .TidyDxf = 0});
  FixedBlocks made14;
  ASSERT_EQ(write_marker_blocks(r14.streams, markers(kMarkerDot), made14), 0);
  const std::string& text = r14.first_text();
  EXPECT_NE(text.find("0\nHATCH\n"), std::string::npos);
  EXPECT_NE(text.find("100\nAcDbHatch\n8\n0\n62\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n210\n0.0\n"
                      "220\n0.0\n230\n1.0\n2\nSOLID\n70\n1\n71\n0\n91\n1\n92\n1\n93\n1\n72\n2\n"
                      " 10\n0.0\n 20\n0.0\n 40\n0.5\n 50\n0.0\n 51\n360.0\n73\n1\n97\n0\n75\n0\n"
                      "76\n1\n98\n1\n 10\n0.0\n 20\n0.0\n0\nENDBLK\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("POLYLINE"), std::string::npos);
}

TEST(MarkerBlocks, PlainPointsWithBlockAttributesGetThePointBlockOthersNone) {
  Blocks b(Settings{.verDXF = 4});
  FixedBlocks made;
  MarkerChoice c;
  ASSERT_EQ(write_marker_blocks(b.streams, c, made), 0);
  EXPECT_EQ(b.first_text(), "");
  c.attributes = c.block_attributes = c.table_open = true;
  ASSERT_EQ(write_marker_blocks(b.streams, c, made), 0);
  EXPECT_EQ(b.first_text(),
            "0\nBLOCK\n8\n0\n2\n_POINT\n70\n0\n 10\n0.0\n 20\n0.0\n3\n_POINT\n1\n\n"
            "0\nPOINT\n8\n0\n62\n0\n 10\n0.0\n 20\n0.0\n0\nENDBLK\n8\n0\n");
}

}  // namespace
}  // namespace tsn
