// Polygon records to outlines: both polyline forms, Z rings, TIN rings and the conformance
// check, the outline order of filled polygons, and multipatch strips and fans.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "entities/polygon_shape.h"
#include "entities_test_support.h"
#include "support/recording_host.h"

namespace tsn {
namespace {

using test::EntityOutput;
using test::make_record;
using test::text_settings;
using test::occurrences;
using test::OneRowTable;
using ::testing::HasSubstr;
using ::testing::Not;

// A polygon context on one collecting stream: layer "LAND", outline colour 4, fill colour 6.
struct Polygons {
  explicit Polygons(const ConvSettings& settings) : s(settings), out(s) {}
  ConvSettings s;
  EntityOutput out;
  test::RecordingHost host;
  test::ScopedHost scoped{host};
  PolygonContext ctx{.out = out.w, .settings = s, .layer = "LAND", .outline_colour = 4,
                     .fill_colour = 6};
};

const std::vector<shape_point> kTriangle = {{0, 0}, {0, 4}, {3, 0}, {0, 0}};

TEST(PolygonOutlines, Release12KeepsTheClosingVertexAndColoursEveryVertex) {
  Polygons p(text_settings(4));
  shape_rec rec = make_record({kTriangle});
  ASSERT_EQ(polygon_record(p.ctx, rec), 0);
  EXPECT_EQ(p.out.text(),
            "0\nPOLYLINE\n8\nLAND\n62\n4\n 10\n0.0\n 20\n0.0\n66\n1\n70\n1\n"
            "0\nVERTEX\n8\nLAND\n62\n4\n70\n0\n 10\n0.0\n 20\n0.0\n"
            "0\nVERTEX\n8\nLAND\n62\n4\n70\n0\n 10\n0.0\n 20\n4.0\n"
            "0\nVERTEX\n8\nLAND\n62\n4\n70\n0\n 10\n3.0\n 20\n0.0\n"
            "0\nVERTEX\n8\nLAND\n62\n4\n70\n0\n 10\n0.0\n 20\n0.0\n0\nSEQEND\n");
  EXPECT_EQ(p.ctx.counters.points_processed, 4);
}

TEST(PolygonOutlines, Release14LeavesTheClosingPointOut) {
  Polygons p(text_settings(6));
  shape_rec rec = make_record({kTriangle, {{1, 1}, {2, 1}, {1, 2}, {1, 1}}});
  ASSERT_EQ(polygon_record(p.ctx, rec), 0);
  EXPECT_EQ(occurrences(p.out.text(), "0\nLWPOLYLINE\n"), 2);
  EXPECT_EQ(occurrences(p.out.text(), "90\n3\n70\n1\n"), 2);
  EXPECT_EQ(occurrences(p.out.text(), " 10\n"), 6);
}

TEST(PolygonOutlines, PolygonZRingsAre3DPolylines) {
  Polygons p(text_settings(6));
  shape_rec rec = make_record({{{0, 0, 5}, {0, 4, 6}, {3, 0, 7}, {0, 0, 5}}}, true);
  ASSERT_EQ(polygon_z_record(p.ctx, rec), 0);
  EXPECT_THAT(p.out.text(), HasSubstr("100\nAcDb3dPolyline\n"));
  EXPECT_THAT(p.out.text(), HasSubstr("66\n1\n70\n9\n"));
  EXPECT_EQ(occurrences(p.out.text(), "100\nAcDb3dPolylineVertex\n70\n32\n"), 4);
  EXPECT_THAT(p.out.text(), HasSubstr(" 10\n0.0\n 20\n4.0\n 30\n6.0\n"));
}

TEST(PolygonOutlines, TinRingsTakeTheirThreeHeightsFromTheTable) {
  ConvSettings s = text_settings(4);
  s.cur.TIN = 1;
  s.cur.ElevFactor = 2.0;
  Polygons p(s);
  OneRowTable table({"Z1", "Z2", "Z3"}, {"1", "2.5", "4"});
  p.ctx.table = &table;
  shape_rec rec = make_record({kTriangle});
  ASSERT_EQ(polygon_record(p.ctx, rec), 0);
  EXPECT_EQ(occurrences(p.out.text(), "0\nVERTEX\n"), 3);
  EXPECT_THAT(p.out.text(), HasSubstr("70\n9\n"));
  EXPECT_THAT(p.out.text(), HasSubstr(" 10\n0.0\n 20\n0.0\n 30\n2.0\n"));
  EXPECT_THAT(p.out.text(), HasSubstr(" 10\n0.0\n 20\n4.0\n 30\n5.0\n"));
  EXPECT_THAT(p.out.text(), HasSubstr(" 10\n3.0\n 20\n0.0\n 30\n8.0\n"));

  // Two triangles need 8 points; 7 is not a conforming TIN.
  shape_rec bad = make_record({kTriangle, {{5, 5}, {6, 5}, {5, 5}}});
  EXPECT_EQ(polygon_record(p.ctx, bad), kTinNotConforming);
  EXPECT_THAT(p.host.status_text(),
              HasSubstr("FATAL ERROR: Shapefile is not a special conforming TIN Shapefile."));
}

TEST(PolygonOutlines, EmptyRecordsAreSkippedAndCounted) {
  Polygons p(text_settings(4));
  shape_rec rec = make_record({});
  rec.record_number = 9;
  ASSERT_EQ(polygon_record(p.ctx, rec), 0);
  EXPECT_EQ(p.out.text(), "");
  EXPECT_EQ(p.ctx.counters.records_skipped, 1);
  EXPECT_THAT(p.host.status_text(), HasSubstr("Skipping empty shape record (#9)"));
}

TEST(PolygonFillRequests, OutlinesFollowTheHatchOrder) {
  ConvSettings s = text_settings(6);
  s.cur.Fill = 1;
  Polygons p(s);
  // A hole (listed first) in an outer ring, and an outer ring of its own.
  shape_rec rec = make_record({{{2, 2}, {3, 2}, {3, 3}, {2, 3}, {2, 2}},
                               {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}},
                               {{20, 0}, {20, 5}, {25, 5}, {20, 0}}});
  ASSERT_EQ(polygon_record(p.ctx, rec), 0);
  const std::string& t = p.out.text();
  EXPECT_EQ(occurrences(t, "0\nLWPOLYLINE\n"), 3);
  EXPECT_EQ(occurrences(t, "0\nHATCH\n"), 1);
  // Release 14 order: the outer ring, its hole, then the other outer ring.
  const auto outer = t.find(" 10\n0.0\n 20\n0.0\n");
  const auto hole = t.find(" 10\n2.0\n 20\n2.0\n");
  const auto other = t.find(" 10\n20.0\n 20\n0.0\n");
  EXPECT_LT(outer, hole);
  EXPECT_LT(hole, other);
  EXPECT_THAT(p.host.status_text(), Not(HasSubstr("not available")));
}

TEST(FaceEdges, StripsAndFansByDrawEdges) {
  // Without bit value 2 every edge is invisible (1 + 2 + 4 + 8).
  EXPECT_EQ(strip_face_edges(1, 0, 3), 15);
  EXPECT_EQ(fan_face_edges(0, 1, 3), 15);
  // Bit value 2 alone: every edge visible.
  EXPECT_EQ(strip_face_edges(2, 1, 3), 0);
  EXPECT_EQ(fan_face_edges(2, 1, 3), 0);
  // Both bits: strips show their third edge, the first face its first and the last its second.
  EXPECT_EQ(strip_face_edges(3, 0, 3), 2);
  EXPECT_EQ(strip_face_edges(3, 1, 3), 3);
  EXPECT_EQ(strip_face_edges(3, 2, 3), 1);
  EXPECT_EQ(strip_face_edges(3, 0, 1), 0);
  // Fans show their second edge, the first face its first, the last its third (and fourth).
  EXPECT_EQ(fan_face_edges(3, 0, 3), 12);
  EXPECT_EQ(fan_face_edges(3, 1, 3), 13);
  EXPECT_EQ(fan_face_edges(3, 2, 3), 1);
}

TEST(Multipatch, StripsAndFansGiveNMinusTwoFacesRingsAnOutline) {
  ConvSettings s = text_settings(6);
  s.cur.Fill = 1;
  s.cur.DrawOutlines = 0;
  Polygons p(s);
  shape_rec rec = make_record(
      {{{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}},  // strip of 5: 3 faces
       {{5, 5, 0}, {6, 5, 0}, {6, 6, 0}, {5, 6, 0}},             // fan of 4: 2 faces
       {{9, 9, 0}, {9, 10, 0}, {10, 9, 0}, {9, 9, 0}},           // an outer ring
       {{20, 20, 0}, {21, 20, 0}, {20, 21, 0}}},                 // an unknown part type
      true);
  rec.part_types[0] = 0;
  rec.part_types[1] = 1;
  rec.part_types[2] = 2;
  rec.part_types[3] = 9;
  ASSERT_EQ(multipatch_record(p.ctx, rec), 0);
  const std::string& t = p.out.text();
  // Three strip faces, two fan faces and the ring's one.
  EXPECT_EQ(occurrences(t, "0\n3DFACE\n"), 6);
  EXPECT_EQ(occurrences(t, "100\nAcDbFace\n8\nLAND\n62\n6\n"), 6);
  // The second face of the strip: corners 1, 2, 3 and 3 again, every edge invisible.
  EXPECT_THAT(t, HasSubstr(" 10\n1.0\n 20\n0.0\n 30\n1.0\n 11\n0.0\n 21\n1.0\n 31\n1.0\n"
                           " 12\n1.0\n 22\n1.0\n 32\n1.0\n 13\n1.0\n 23\n1.0\n 33\n1.0\n70\n15\n"));
  // The fan's faces all start at its first vertex.
  EXPECT_EQ(occurrences(t, " 10\n5.0\n 20\n5.0\n 30\n0.0\n"), 2);
  EXPECT_EQ(occurrences(t, "0\nPOLYLINE\n"), 0);  // outlines are off

  // Release 12 with 2D on: the faces keep their Z.
  ConvSettings r12 = text_settings(4);
  r12.cur.Fill = 1;
  Polygons old(r12);
  ASSERT_EQ(multipatch_record(old.ctx, rec), 0);
  EXPECT_THAT(old.out.text(), HasSubstr("0\n3DFACE\n8\nLAND\n62\n6\n 10\n0.0\n 20\n0.0\n 30\n1.0\n"));

  // Without faces each strip and fan triangle is a closed 3D polyline of three vertices.
  Polygons q(text_settings(6));
  ASSERT_EQ(multipatch_record(q.ctx, rec), 0);
  EXPECT_EQ(occurrences(q.out.text(), "0\n3DFACE\n"), 0);
  EXPECT_EQ(occurrences(q.out.text(), "0\nPOLYLINE\n"), 5 + 1);
}

}  // namespace
}  // namespace tsn
