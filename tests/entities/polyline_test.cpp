// Line records to DXF text: both polyline forms, Z, thinning, closing, skipped records,
// table elevation and attribute blocks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "entities/polyline_shape.h"
#include "entities/polyline_writer.h"
#include "entities_test_support.h"
#include "entities/feature_blocks.h"
#include "support/recording_writer.h"
#include "support/recording_host.h"

namespace tsn {
namespace {

using test::EntityOutput;
using test::make_record;
using test::text_settings;
using test::occurrences;
using test::OneRowTable;
using ::testing::HasSubstr;

// A context writing to one collecting stream with layer "ROADS" and colour 3.
struct Lines {
  explicit Lines(const ConvSettings& settings) : s(settings), out(s, true) {}
  int write(shape_rec& rec) { return polyline_record(ctx, rec); }

  ConvSettings s;
  EntityOutput out;
  PolylineContext ctx{.out = out.w, .settings = s, .layer = "ROADS", .colour = 3};
};

shape_rec two_part_record() {
  return make_record({{{1, 2}, {3.5, 4}}, {{10, 20}, {11.25, 21}, {12, -0.5}}});
}

TEST(PolylineRelease12, TwoPartsGiveTwoVertexListPolylines) {
  Lines l(text_settings(4));
  shape_rec rec = two_part_record();
  ASSERT_EQ(l.write(rec), 0);
  // POLYLINE: 0/8/62 unpadded; the point writer right-aligns 10 and 20; with 2D on and no Z
  // there is no 30; 66 and 70 are prefixed groups, empty prefix with TidyDxf 0.
  // VERTEX: layer, no colour, flag 0, X and Y. SEQEND: no layer.
  EXPECT_EQ(l.out.text(),
            "0\nPOLYLINE\n8\nROADS\n62\n3\n 10\n0.0\n 20\n0.0\n66\n1\n70\n0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n1.0\n 20\n2.0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n3.5\n 20\n4.0\n"
            "0\nSEQEND\n"
            "0\nPOLYLINE\n8\nROADS\n62\n3\n 10\n0.0\n 20\n0.0\n66\n1\n70\n0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n10.0\n 20\n20.0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n11.25\n 20\n21.0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n12.0\n 20\n-0.5\n"
            "0\nSEQEND\n");
  EXPECT_EQ(l.ctx.counters.points_processed, 5);
  EXPECT_EQ(l.ctx.counters.points_after_thinning, 5);
  EXPECT_EQ(l.ctx.counters.records_skipped, 0);
}

TEST(PolylineRelease14, TwoPartsGiveTwoLightWeightPolylinesWithHandles) {
  Lines l(text_settings(6));
  shape_rec rec = two_part_record();
  ASSERT_EQ(l.write(rec), 0);
  // Handles from 22 hex, entity and subclass markers before the layer; 90 the part's vertex
  // count, no 70 when open, 38 the elevation through the real writer; vertices 10/20 only.
  EXPECT_EQ(l.out.text(),
            "0\nLWPOLYLINE\n  5\n      22\n100\nAcDbEntity\n100\nAcDbPolyline\n"
            "8\nROADS\n62\n3\n90\n2\n 38\n0.0\n"
            " 10\n1.0\n 20\n2.0\n 10\n3.5\n 20\n4.0\n"
            "0\nLWPOLYLINE\n  5\n      23\n100\nAcDbEntity\n100\nAcDbPolyline\n"
            "8\nROADS\n62\n3\n90\n3\n 38\n0.0\n"
            " 10\n10.0\n 20\n20.0\n 10\n11.25\n 20\n21.0\n 10\n12.0\n 20\n-0.5\n");
}

TEST(PolylineRelease14, TinForcesTheVertexListFormWithRelease14Markers) {
  ConvSettings s = text_settings(6);
  s.cur.TIN = 1;
  Lines l(s);
  shape_rec rec = make_record({{{1, 2}, {3, 4}}});
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_EQ(l.out.text(),
            "0\nPOLYLINE\n  5\n      22\n100\nAcDbEntity\n8\nROADS\n62\n3\n"
            "100\nAcDb2dPolyline\n 10\n0.0\n 20\n0.0\n 30\n0.0\n66\n1\n70\n0\n"
            "0\nVERTEX\n  5\n      23\n100\nAcDbEntity\n100\nAcDbVertex\n8\nROADS\n"
            "100\nAcDb2dVertex\n70\n0\n 10\n1.0\n 20\n2.0\n 30\n0.0\n"
            "0\nVERTEX\n  5\n      24\n100\nAcDbEntity\n100\nAcDbVertex\n8\nROADS\n"
            "100\nAcDb2dVertex\n70\n0\n 10\n3.0\n 20\n4.0\n 30\n0.0\n"
            "0\nSEQEND\n  5\n      25\n100\nAcDbEntity\n");
}

TEST(PolylineZ, Release12GivesA3dPolylineWithZEvenWith2dOn) {
  Lines l(text_settings(4));
  shape_rec rec = make_record({{{1, 2, 7.5}, {3, 4, -2}}}, true);
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_EQ(l.out.text(),
            "0\nPOLYLINE\n8\nROADS\n62\n3\n 10\n0.0\n 20\n0.0\n 30\n0.0\n66\n1\n70\n8\n"
            "0\nVERTEX\n8\nROADS\n70\n32\n 10\n1.0\n 20\n2.0\n 30\n7.5\n"
            "0\nVERTEX\n8\nROADS\n70\n32\n 10\n3.0\n 20\n4.0\n 30\n-2.0\n"
            "0\nSEQEND\n");
}

TEST(PolylineZ, Release14StaysAVertexListWith3dMarkersAndScaledZ) {
  ConvSettings s = text_settings(6);
  s.cur.flgScaleZ = 1;
  s.cur.ElevFactor = 2.0;
  s.ClosePolys = 1;
  Lines l(s);
  shape_rec rec = make_record({{{1, 2, 7.5}, {3, 4, -2}}}, true);
  ASSERT_EQ(l.write(rec), 0);
  // Closed and 3D: flags 1 + 8.
  EXPECT_EQ(l.out.text(),
            "0\nPOLYLINE\n  5\n      22\n100\nAcDbEntity\n8\nROADS\n62\n3\n"
            "100\nAcDb3dPolyline\n 10\n0.0\n 20\n0.0\n 30\n0.0\n66\n1\n70\n9\n"
            "0\nVERTEX\n  5\n      23\n100\nAcDbEntity\n100\nAcDbVertex\n8\nROADS\n"
            "100\nAcDb3dPolylineVertex\n70\n32\n 10\n1.0\n 20\n2.0\n 30\n15.0\n"
            "0\nVERTEX\n  5\n      24\n100\nAcDbEntity\n100\nAcDbVertex\n8\nROADS\n"
            "100\nAcDb3dPolylineVertex\n70\n32\n 10\n3.0\n 20\n4.0\n 30\n-4.0\n"
            "0\nSEQEND\n  5\n      25\n100\nAcDbEntity\n");
}

TEST(PolylineZ, IsNeverThinnedAndNotCountedAsThinned) {
  ConvSettings s = text_settings(4);
  s.Merge = 1;
  s.VerticesMergeTol = 10.0;
  Lines l(s);
  shape_rec rec = make_record({{{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {3, 0, 1}, {4, 0, 1}}}, true);
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_EQ(rec.num_points, 5);
  EXPECT_EQ(l.ctx.counters.points_processed, 5);
  EXPECT_EQ(l.ctx.counters.points_after_thinning, 0);
  EXPECT_EQ(l.ctx.counters.points_eliminated, 0);
}

TEST(PolylineThinning, MergeOnThinsEveryPartBeforeWriting) {
  ConvSettings s = text_settings(6);
  s.Merge = 1;
  s.VerticesMergeTol = 0.5;
  s.MergeTolerance = 0.01;
  Lines l(s);
  // First part: the close points go (5 -> 3); second: a straight run (6 -> 4).
  shape_rec rec = make_record({{{0, 0}, {0.1, 0.2}, {2, 0}, {2.3, 0.4}, {5, 5}},
                               {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 2}, {5, 2}}});
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_EQ(l.out.text(),
            "0\nLWPOLYLINE\n  5\n      22\n100\nAcDbEntity\n100\nAcDbPolyline\n"
            "8\nROADS\n62\n3\n90\n3\n 38\n0.0\n"
            " 10\n0.0\n 20\n0.0\n 10\n2.0\n 20\n0.0\n 10\n5.0\n 20\n5.0\n"
            "0\nLWPOLYLINE\n  5\n      23\n100\nAcDbEntity\n100\nAcDbPolyline\n"
            "8\nROADS\n62\n3\n90\n4\n 38\n0.0\n"
            " 10\n0.0\n 20\n0.0\n 10\n2.0\n 20\n0.0\n 10\n4.0\n 20\n2.0\n 10\n5.0\n 20\n2.0\n");
  EXPECT_EQ(l.ctx.counters.points_processed, 11);
  EXPECT_EQ(l.ctx.counters.points_after_thinning, 7);
  EXPECT_EQ(l.ctx.counters.points_eliminated, 4);
}

TEST(PolylineThinning, MergeOffKeepsEvenCoincidentVertices) {
  Lines l(text_settings(6));
  shape_rec rec = make_record({{{0, 0}, {0, 0}, {0, 0}, {1, 0}, {2, 0}}});
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_THAT(l.out.text(), HasSubstr("90\n5\n"));
  EXPECT_EQ(l.ctx.counters.points_after_thinning, 5);
  EXPECT_EQ(l.ctx.counters.points_eliminated, 0);
}

TEST(PolylineThinning, APartMergedToOnePointIsStillWrittenWithOneVertex) {
  ConvSettings s = text_settings(4);
  s.Merge = 1;
  Lines l(s);
  shape_rec rec = make_record({{{4, 4}, {4, 4}, {4, 4}, {4, 4}}});
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_EQ(l.out.text(),
            "0\nPOLYLINE\n8\nROADS\n62\n3\n 10\n0.0\n 20\n0.0\n66\n1\n70\n0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n4.0\n 20\n4.0\n"
            "0\nSEQEND\n");
}

TEST(PolylineClosing, ClosePolysFlagsEveryPolylineInBothForms) {
  ConvSettings r12 = text_settings(4);
  r12.ClosePolys = 1;
  Lines a(r12);
  shape_rec rec = two_part_record();
  ASSERT_EQ(a.write(rec), 0);
  // Both POLYLINE headers, and nothing else, carry flag 1.
  EXPECT_EQ(occurrences(a.out.text(), "0\nPOLYLINE\n8\nROADS\n62\n3\n 10\n0.0\n 20\n0.0\n"
                                      "66\n1\n70\n1\n0\nVERTEX\n"),
            2);
  EXPECT_EQ(occurrences(a.out.text(), "70\n1\n"), 2);

  ConvSettings r14 = text_settings(6);
  r14.ClosePolys = 1;
  Lines b(r14);
  shape_rec rec2 = make_record({{{1, 2}, {3, 4}}});
  ASSERT_EQ(b.write(rec2), 0);
  EXPECT_EQ(b.out.text(),
            "0\nLWPOLYLINE\n  5\n      22\n100\nAcDbEntity\n100\nAcDbPolyline\n"
            "8\nROADS\n62\n3\n90\n2\n70\n1\n 38\n0.0\n"
            " 10\n1.0\n 20\n2.0\n 10\n3.0\n 20\n4.0\n");
}

TEST(PolylineSkipped, TooFewPointsForThePartsIsASingleVertexPolyline) {
  test::RecordingHost host;
  test::ScopedHost scope(host);
  Lines l(text_settings(4));
  shape_rec two_and_two = make_record({{{1, 1}}, {{2, 2}}}, false, 7);
  shape_rec nothing = make_record({}, false, 8);
  EXPECT_EQ(l.write(two_and_two), 0);
  EXPECT_EQ(l.write(nothing), 0);
  EXPECT_EQ(l.out.text(), "");
  EXPECT_THAT(host.status_text(),
              HasSubstr("Skipping single vertex polyline (Shape record number 7)"));
  EXPECT_THAT(host.status_text(),
              HasSubstr("Skipping single vertex polyline (Shape record number 8)"));
  EXPECT_EQ(l.ctx.counters.records_skipped, 2);
  EXPECT_EQ(l.ctx.counters.points_processed, 0);
}

TEST(PolylineSkipped, PointsWithoutPartsIsAnEmptyRecord) {
  test::RecordingHost host;
  test::ScopedHost scope(host);
  Lines l(text_settings(4));
  shape_rec rec = make_record({{{1, 1}, {2, 2}}}, false, 9);
  rec.num_parts = 0;
  EXPECT_EQ(l.write(rec), 0);
  EXPECT_EQ(l.out.text(), "");
  EXPECT_THAT(host.status_text(), HasSubstr("Skipping empty shape record (#9)"));
  EXPECT_EQ(l.ctx.counters.records_skipped, 1);
}

TEST(PolylineSkipped, OnePartOfTwoPointsIsWritten) {
  Lines l(text_settings(6));
  shape_rec rec = make_record({{{1, 1}, {2, 2}}});
  EXPECT_EQ(l.write(rec), 0);
  EXPECT_THAT(l.out.text(), HasSubstr("90\n2\n"));
  EXPECT_EQ(l.ctx.counters.records_skipped, 0);
}

// A table of one record with the fields it is given.
TEST(PolylineElevation, TheElevKeyFieldTimesElevFactorIsTheElevationOfEveryVertex) {
  ConvSettings s = text_settings(4);
  s.Use2D = 0;  // as a run with PointsElev sets it
  s.cur.PointsElev = 1;
  s.cur.ElevKey = "HEIGHT";
  s.cur.ElevFactor = 2.0;
  OneRowTable table({"NAME", "height"}, {"x", " 12.5"});
  Lines l(s);
  l.ctx.elevation = elevation_source(s.cur, &table, false);
  EXPECT_EQ(l.ctx.elevation.field, 1);
  shape_rec rec = make_record({{{1, 2}, {3, 4}}});
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_EQ(l.out.text(),
            "0\nPOLYLINE\n8\nROADS\n62\n3\n 10\n0.0\n 20\n0.0\n 30\n25.0\n66\n1\n70\n0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n1.0\n 20\n2.0\n 30\n25.0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n3.0\n 20\n4.0\n 30\n25.0\n"
            "0\nSEQEND\n");
}

TEST(PolylineElevation, Release14LightWeightCarriesItIn38) {
  ConvSettings s = text_settings(6);
  s.cur.PointsElev = 1;
  s.cur.ElevFactor = 0.5;
  OneRowTable table({"DXF_ELEVATION"}, {"-3"});
  Lines l(s);
  l.ctx.elevation = elevation_source(s.cur, &table, false);
  shape_rec rec = make_record({{{1, 2}, {3, 4}}});
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_THAT(l.out.text(), HasSubstr("90\n2\n 38\n-1.5\n 10\n1.0\n"));
}

TEST(PolylineElevation, NoNumberNoFieldNoSwitchOrATextTableGiveZero) {
  FileSettings cur;
  cur.PointsElev = 1;
  OneRowTable words({"DXF_ELEVATION"}, {"high"});
  EXPECT_EQ(record_elevation(elevation_source(cur, &words, false)), 0.0);
  OneRowTable other({"Z"}, {"5"});
  EXPECT_EQ(elevation_source(cur, &other, false).field, -1);
  EXPECT_EQ(record_elevation(elevation_source(cur, &other, false)), 0.0);
  OneRowTable good({"DXF_ELEVATION"}, {"5"});
  EXPECT_EQ(record_elevation(elevation_source(cur, &good, false)), 5.0);
  EXPECT_EQ(record_elevation(elevation_source(cur, &good, true)), 0.0);
  EXPECT_EQ(record_elevation(elevation_source(cur, nullptr, false)), 0.0);
  cur.PointsElev = 0;
  EXPECT_EQ(record_elevation(elevation_source(cur, &good, false)), 0.0);
}

TEST(PolylineElevation, RecordsWithZIgnoreTheTable) {
  ConvSettings s = text_settings(4);
  s.cur.PointsElev = 1;
  OneRowTable table({"DXF_ELEVATION"}, {"99"});
  Lines l(s);
  l.ctx.elevation = elevation_source(s.cur, &table, false);
  shape_rec rec = make_record({{{1, 2, 4}, {3, 4, 5}}}, true);
  ASSERT_EQ(l.write(rec), 0);
  EXPECT_EQ(l.out.text().find("99"), std::string::npos);
  EXPECT_THAT(l.out.text(), HasSubstr("70\n8\n"));
}

TEST(PolylineAttributeBlocks, RecordsGoIntoNumberedArcBlocksWithColourZeroAndElevationZero) {
  ConvSettings s = text_settings(4);
  s.Use2D = 0;
  s.cur.Attribs = 1;
  s.cur.PointsElev = 1;
  OneRowTable table({"DXF_ELEVATION"}, {"6"});
  Lines l(s);
  EntityOutput blocks(s);
  FeatureBlockWriter writer;
  std::array<std::uint32_t, 4> totals{};
  NameCounters names{.totals = &totals};
  l.ctx.blocks = blocks.w;
  l.ctx.block_writer = &writer;
  l.ctx.names = &names;
  l.ctx.elevation = elevation_source(s.cur, &table, false);

  shape_rec first = make_record({{{1, 2}, {3, 4}}});
  shape_rec second = make_record({{{5, 6}, {7, 8}}});
  ASSERT_EQ(l.write(first), 0);
  ASSERT_EQ(l.write(second), 0);
  EXPECT_EQ(blocks.text(),
            "0\nBLOCK\n8\n0\n2\nARC00000\n70\n0\n 10\n1.0\n 20\n2.0\n 30\n0.0\n3\nARC00000\n1\n\n"
            "0\nPOLYLINE\n8\nROADS\n62\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n66\n1\n70\n0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n1.0\n 20\n2.0\n 30\n0.0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n3.0\n 20\n4.0\n 30\n0.0\n"
            "0\nSEQEND\n0\nENDBLK\n8\n0\n"
            "0\nBLOCK\n8\n0\n2\nARC00001\n70\n0\n 10\n5.0\n 20\n6.0\n 30\n0.0\n3\nARC00001\n1\n\n"
            "0\nPOLYLINE\n8\nROADS\n62\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n66\n1\n70\n0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n5.0\n 20\n6.0\n 30\n0.0\n"
            "0\nVERTEX\n8\nROADS\n70\n0\n 10\n7.0\n 20\n8.0\n 30\n0.0\n"
            "0\nSEQEND\n0\nENDBLK\n8\n0\n");
  // The insertion carries the record's layer, colour and table elevation.
  EXPECT_EQ(l.out.text(),
            "0\nINSERT\n8\nROADS\n62\n3\n2\nARC00000\n 10\n1.0\n 20\n2.0\n 30\n6.0\n"
            "0\nINSERT\n8\nROADS\n62\n3\n2\nARC00001\n 10\n5.0\n 20\n6.0\n 30\n6.0\n");
  // A later file continues the numbering from the run total.
  names.commit();
  shape_rec third = make_record({{{0, 0}, {1, 1}}});
  ASSERT_EQ(l.write(third), 0);
  EXPECT_THAT(blocks.text(), HasSubstr("ARC00002"));
}

TEST(PolylineAttributeBlocks, BlockModeWithoutABlockWriterFails) {
  ConvSettings s = text_settings(4);
  s.cur.Attribs = 1;
  Lines l(s);
  shape_rec rec = make_record({{{1, 2}, {3, 4}}});
  EXPECT_EQ(l.write(rec), -1);
  EXPECT_EQ(l.out.text(), "");
}

// What the generator hands the writer, whatever the writer makes of it.
struct RecordedLines {
  explicit RecordedLines(const ConvSettings& settings) : s(settings) {}
  ConvSettings s;
  test::RecordingWriter writer;
  PolylineContext ctx{.out = DrawingOut{&writer, DrawingStream::entities}, .settings = s,
                      .layer = "ROADS", .colour = 3};
};

TEST(PolylineEntities, ALightWeightOrA3dClassicPolylinePerPartWithItsVertices) {
  ConvSettings s = text_settings(7);
  s.ClosePolys = 1;
  RecordedLines flat(s);
  shape_rec rec = make_record({{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}, {9, 10}}});
  ASSERT_EQ(polyline_record(flat.ctx, rec), 0);
  const auto lines = flat.writer.of<PolylineEntity>();
  ASSERT_EQ(lines.size(), 2u);
  const auto& first = std::get<PolylineEntity>(lines[0]->shape);
  EXPECT_FALSE(first.classic);
  EXPECT_TRUE(first.closed);
  EXPECT_EQ(lines[0]->layer, "ROADS");
  EXPECT_EQ(lines[0]->colour, 3);
  ASSERT_EQ(lines[1]->vertices.size(), 3u);
  EXPECT_EQ(lines[1]->vertices[2].x, 9);
  EXPECT_EQ(lines[1]->vertices[2].y, 10);

  RecordedLines z(text_settings(7));
  shape_rec rec3 = make_record({{{1, 2, 3}, {4, 5, 6}}}, true);
  ASSERT_EQ(polyline_record(z.ctx, rec3), 0);
  ASSERT_EQ(z.writer.added.size(), 1u);
  const auto& line = std::get<PolylineEntity>(z.writer.added[0].shape);
  EXPECT_TRUE(line.classic);
  EXPECT_TRUE(z.writer.added[0].has_z);
  EXPECT_EQ(z.writer.added[0].vertices[1].z, 6);
}

}  // namespace
}  // namespace tsn
