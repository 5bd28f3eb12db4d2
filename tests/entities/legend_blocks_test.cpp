// Legend symbol blocks: the zigzag line through the polyline writer, the filled rectangle with
// its corners in SOLID order, and the dot shared with the point markers.
#include "entities/legend_blocks.h"

#include <gtest/gtest.h>

#include <string>

#include "dxf/dxf_test_support.h"
#include "entities_test_support.h"

namespace tsn {
namespace {

using test::occurrences;

TEST(LegendBlocks, LineSymbolIsAFourVertexPolylineInBothForms) {
  test::BlockDrawing r12(test::Settings{.verDXF = 4});
  FixedBlocks made;
  ASSERT_EQ(write_legend_block(r12.streams, r12.settings, 1, made), 0);
  const std::string& t = r12.first_text();
  EXPECT_EQ(t.find("0\nBLOCK\n8\n0\n2\nLEGSYM_ARC\n"), 0u) << t;
  EXPECT_NE(t.find("0\nPOLYLINE\n8\n0\n62\n0\n 10\n0.0\n 20\n0.0\n66\n1\n70\n0\n"),
            std::string::npos)
      << t;
  // Vertices without colour, through (-0.1, 0), (0.8, 1), (1.85, -0.1), (2.9, 1).
  EXPECT_EQ(occurrences(t, "0\nVERTEX\n8\n0\n70\n0\n"), 4);
  EXPECT_NE(t.find(" 10\n1.85\n 20\n-0.1\n"), std::string::npos);
  EXPECT_NE(t.find("0\nSEQEND\n0\nENDBLK\n"), std::string::npos);

  test::BlockDrawing r14(test::Settings{.verDXF = 6});
  ASSERT_EQ(write_legend_block(r14.streams, r14.settings, 1, made), 0);
  const std::string& u = r14.first_text();
  EXPECT_NE(u.find("100\nAcDbPolyline\n8\n0\n62\n0\n90\n4\n 38\n0.0\n 10\n-0.1\n 20\n0.0\n"),
            std::string::npos)
      << u;
  EXPECT_NE(r14.main.text().find("  2\nLEGSYM_ARC\n"), std::string::npos);  // BLOCK_RECORD
}

TEST(LegendBlocks, PolygonSymbolIsASolidWithCornersInSolidOrder) {
  test::BlockDrawing r12(test::Settings{.verDXF = 4});
  FixedBlocks made;
  ASSERT_EQ(write_legend_block(r12.streams, r12.settings, 2, made), 0);
  EXPECT_NE(r12.first_text().find(
                "0\nSOLID\n8\n0\n62\n0\n 10\n0.0\n 20\n0.0\n 11\n0.0\n 21\n1.0\n"
                " 13\n2.0\n 23\n1.0\n 12\n2.0\n 22\n0.0\n0\nENDBLK\n"),
            std::string::npos)
      << r12.first_text();
}

TEST(LegendBlocks, PointSymbolIsTheDotMadeOnce) {
  test::BlockDrawing r12(test::Settings{.verDXF = 4});
  FixedBlocks made;
  MarkerChoice dots;
  dots.markers = true;
  dots.marker = kMarkerDot;
  ASSERT_EQ(write_marker_blocks(r12.streams, dots, made), 0);
  ASSERT_EQ(write_legend_block(r12.streams, r12.settings, 0, made), 0);
  EXPECT_EQ(occurrences(r12.first_text(), "2\n_DOT\n"), 1);
}

}  // namespace
}  // namespace tsn
