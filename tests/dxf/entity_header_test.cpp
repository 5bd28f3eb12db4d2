// The entity header, vertices, sequence ends and block ends in release 12 and 14 text, and
// the primitives off the text path.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "dxf/dxf_writer.h"
#include "dxf/entity_types.h"
#include "dxf_test_support.h"
#include "platform/messages.h"
#include "support/recording_host.h"

namespace tsn {
namespace {

using test::CollectingWriter;
using test::Settings;

TEST(EntityHeader, Release12WithTidyDxfZeroHasNoLeadingBlanks) {
  CollectingWriter c(Settings{.verDXF = 4, .TidyDxf = 0});
  ASSERT_EQ(dxf_entity_start(c.w, kEntLine, "ROADS", 1), 0);
  dxf_point(c.w, 10, 1.0, 2.0, 0.0);
  EXPECT_EQ(c.text(), "0\nLINE\n8\nROADS\n62\n1\n 10\n1.0\n 20\n2.0\n");
}

TEST(EntityHeader, Release12WithTidyDxfOnePadsZeroAndEightWithTwoBlanksAnd62WithOne) {
  CollectingWriter c(Settings{.verDXF = 4, .TidyDxf = 1});
  ASSERT_EQ(dxf_entity_start(c.w, kEntPoint, "WELLS", 256), 0);
  EXPECT_EQ(c.text(), "  0\nPOINT\n  8\nWELLS\n 62\n256\n");
}

TEST(EntityHeader, NegativeColourWritesNoColourAndEmptyLayerNoLayer) {
  CollectingWriter c(Settings{.verDXF = 4, .TidyDxf = 1});
  dxf_entity_start(c.w, kEntText, "", -1);
  dxf_entity_start(c.w, kEntInsert, "L", 0);
  EXPECT_EQ(c.text(), "  0\nTEXT\n  0\nINSERT\n  8\nL\n 62\n0\n");
}

TEST(EntityHeader, Release12HasNoHandlesOrSubclasses) {
  CollectingWriter c(Settings{.verDXF = 4});
  dxf_reset_handles(c.state);
  dxf_entity_start(c.w, kEntHatch, "A", 3);
  dxf_entity_start(c.w, kEntArc, "A", 3);
  EXPECT_EQ(c.text(), "0\nHATCH\n8\nA\n62\n3\n0\nARC\n8\nA\n62\n3\n");
  EXPECT_EQ(c.state.n_last_handle, kHandleSeedStart);
}

TEST(EntityHeader, Release14FirstHandleIs22AndTheSubclassStandsBeforeTheLayer) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 0});
  dxf_reset_handles(c.state);
  dxf_entity_start(c.w, kEntLine, "ROADS", 5);
  dxf_entity_start(c.w, kEntArc, "ROADS", -1);
  EXPECT_EQ(c.text(),
            "0\nLINE\n  5\n      22\n100\nAcDbEntity\n100\nAcDbLine\n8\nROADS\n62\n5\n"
            "0\nARC\n  5\n      23\n100\nAcDbEntity\n100\nAcDbCircle\n8\nROADS\n");
}

TEST(EntityHeader, Release14PolylineLeavesItsSubclassToTheCaller) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 1});
  dxf_reset_handles(c.state);
  dxf_entity_start(c.w, kEntPolyline, "P", -1);
  EXPECT_EQ(c.text(), "  0\nPOLYLINE\n  5\n      22\n100\nAcDbEntity\n  8\nP\n");
}

TEST(EntityHeader, Release14HatchBearsTheReservedHandle) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 1});
  dxf_reset_handles(c.state);
  ASSERT_EQ(dxf_reserve_handle(c.state), 0x22u);
  dxf_entity_start(c.w, kEntLwpolyline, "B", -1);  // a boundary, written before its hatch
  dxf_entity_start(c.w, kEntHatch, "B", 4);
  dxf_entity_start(c.w, kEntSolid2, "B", -1);
  EXPECT_EQ(c.text(),
            "  0\nLWPOLYLINE\n  5\n      23\n100\nAcDbEntity\n100\nAcDbPolyline\n  8\nB\n"
            "  0\nHATCH\n  5\n      22\n100\nAcDbEntity\n100\nAcDbHatch\n  8\nB\n 62\n4\n"
            "  0\nSOLID\n  5\n      24\n100\nAcDbEntity\n100\nAcDbTrace\n  8\nB\n");
}

TEST(EntityHeader, UnknownEntityTypesWriteNothing) {
  CollectingWriter c(Settings{.verDXF = 6});
  EXPECT_EQ(dxf_entity_start(c.w, 0, "L", 1), -1);
  EXPECT_EQ(dxf_entity_start(c.w, 27, "L", 1), -1);
  EXPECT_EQ(c.text(), "");
  EXPECT_EQ(c.state.n_last_handle, 0u);
}

void upper_or_empty(std::string_view name, int verDXF, std::string& out) {
  out.clear();
  if (name == "***") return;
  for (const char ch : name) out += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  out += verDXF == 6 ? "_14" : "_12";
}

TEST(EntityHeader, LayerNamesGoThroughTheLayerRuleAndAnEmptyResultWritesNoLayer) {
  CollectingWriter c(Settings{.verDXF = 4});
  c.state.clean_layer_name = upper_or_empty;
  dxf_entity_start(c.w, kEntLine, "roads", -1);
  dxf_entity_start(c.w, kEntLine, "***", -1);
  EXPECT_EQ(c.text(), "0\nLINE\n8\nROADS_12\n0\nLINE\n");
}

TEST(EntityHeader, LongLayerNamesAreWrittenWhole) {
  CollectingWriter c(Settings{.verDXF = 4});
  const std::string layer(3000, 'L');
  dxf_entity_start(c.w, kEntLine, layer, 2);
  EXPECT_EQ(c.text(), "0\nLINE\n8\n" + layer + "\n62\n2\n");
}

TEST(Vertex, Release12IsAVertexEntityWithFlagsZero) {
  CollectingWriter c(Settings{.verDXF = 4, .TidyDxf = 0});
  dxf_vertex(c.w, 1.0, 2.5, 9.0, "L", 7);
  EXPECT_EQ(c.text(), "0\nVERTEX\n8\nL\n62\n7\n70\n0\n 10\n1.0\n 20\n2.5\n");
}

TEST(Vertex, Release12RecordWithZHasFlags32AndZ) {
  CollectingWriter c(Settings{.verDXF = 4, .TidyDxf = 1});
  c.state.record_has_z = true;
  dxf_vertex(c.w, 1.0, 2.0, 3.0, "L", -1);
  EXPECT_EQ(c.text(), "  0\nVERTEX\n  8\nL\n 70\n32\n 10\n1.0\n 20\n2.0\n 30\n3.0\n");
}

TEST(Vertex, Release14TwoDimensionalIsALightWeightPolylinePoint) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 1});
  dxf_reset_handles(c.state);
  dxf_vertex(c.w, 1.0, 2.0, 3.0, "L", 7);
  EXPECT_EQ(c.text(), " 10\n1.0\n 20\n2.0\n");
  EXPECT_EQ(c.state.n_last_handle, kHandleSeedStart);
}

TEST(Vertex, Release14RecordWithZIsA3dPolylineVertex) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 0});
  dxf_reset_handles(c.state);
  c.state.record_has_z = true;
  dxf_vertex(c.w, 1.0, 2.0, 3.0, "L", -1);
  EXPECT_EQ(c.text(),
            "0\nVERTEX\n  5\n      22\n100\nAcDbEntity\n100\nAcDbVertex\n8\nL\n"
            "100\nAcDb3dPolylineVertex\n70\n32\n 10\n1.0\n 20\n2.0\n 30\n3.0\n");
}

TEST(Vertex, Release14TinWithoutZIsA2dVertex) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 1, .TIN = 1});
  dxf_reset_handles(c.state);
  dxf_vertex(c.w, -1.0, 0.5, 0.0, "T", 2);
  EXPECT_EQ(c.text(),
            "  0\nVERTEX\n  5\n      22\n100\nAcDbEntity\n100\nAcDbVertex\n  8\nT\n 62\n2\n"
            "100\nAcDb2dVertex\n 70\n0\n 10\n-1.0\n 20\n0.5\n 30\n0.0\n");
}

TEST(Seqend, Release12HasNoLayerGroup) {
  CollectingWriter c(Settings{.verDXF = 4, .TidyDxf = 1});
  EXPECT_EQ(dxf_seqend(c.w), 0);
  EXPECT_EQ(c.text(), "  0\nSEQEND\n");
}

TEST(Seqend, Release14ClassicPolylineGetsAHandleAndNoLayerGroup) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 0});
  dxf_reset_handles(c.state);
  c.state.record_has_z = true;
  dxf_vertex(c.w, 0.0, 0.0, 0.0, "L", -1);
  c.sink.clear();
  dxf_seqend(c.w);
  EXPECT_EQ(c.text(), "0\nSEQEND\n  5\n      23\n100\nAcDbEntity\n");
}

TEST(Seqend, Release14LightWeightPolylineWritesNothing) {
  CollectingWriter c(Settings{.verDXF = 6});
  dxf_reset_handles(c.state);
  EXPECT_EQ(dxf_seqend(c.w), 0);
  EXPECT_EQ(c.text(), "");
  EXPECT_EQ(c.state.n_last_handle, kHandleSeedStart);
}

TEST(Endblk, Release12) {
  CollectingWriter c(Settings{.verDXF = 4, .TidyDxf = 1});
  dxf_endblk(c.w);
  EXPECT_EQ(c.text(), "  0\nENDBLK\n  8\n0\n");
}

TEST(Endblk, Release14HasHandleLayerZeroAndBlockEndMarker) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 0});
  dxf_reset_handles(c.state);
  dxf_endblk(c.w);
  EXPECT_EQ(c.text(), "0\nENDBLK\n  5\n      22\n100\nAcDbEntity\n8\n0\n100\nAcDbBlockEnd\n");
}

TEST(OffTheTextPath, ThePrimitivesWriteNothingAndFail) {
  for (const Settings& o : {Settings{.verDXF = 6, .SaveFileType = 1}, Settings{.verDXF = 7}}) {
    CollectingWriter c(o);
    EXPECT_EQ(dxf_entity_start(c.w, kEntLine, "L", 1), -1);
    EXPECT_EQ(dxf_vertex(c.w, 1, 2, 3, "L", 1), -1);
    EXPECT_EQ(dxf_seqend(c.w), -1);
    EXPECT_EQ(dxf_endblk(c.w), -1);
    EXPECT_EQ(c.text(), "");
  }
}

}  // namespace
}  // namespace tsn
