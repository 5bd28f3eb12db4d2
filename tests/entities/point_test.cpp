// Point records, table rows and multipoints: the form chosen by the settings, Z and elevation,
// empty multipoints, and the per-record "MPT" block.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "entities/feature_blocks.h"
#include "entities/point_shape.h"
#include "entities_test_support.h"
#include "settings/name_counter.h"
#include "support/recording_host.h"

namespace tsn {
namespace {

using test::EntityOutput;
using test::make_record;
using test::text_settings;
using test::OneRowTable;
using ::testing::HasSubstr;

TEST(PointDrawing, FormsFollowMarkersAndAttributes) {
  struct Case {
    int translate, marker, attribs;
    bool table;
    PointForm form, multipoint_form;
    std::string block;
  };
  const Case cases[] = {
      {0, 1, 0, true, PointForm::point, PointForm::point, ""},
      {0, 1, 1, true, PointForm::point_block, PointForm::point, "_POINT"},
      {0, 1, 1, false, PointForm::point, PointForm::point, ""},
      {0, 1, 5, true, PointForm::point, PointForm::point, ""},  // extended data: plain points
      {1, 1, 0, true, PointForm::marker_insert, PointForm::marker_insert, "PLUSPT"},
      {1, 2, 0, false, PointForm::marker_insert, PointForm::marker_insert, "CIRCPT"},
      {1, 5, 0, false, PointForm::marker_insert, PointForm::marker_insert, "_DOT"},
      {1, 4, 0, true, PointForm::character_text, PointForm::character_text, ""},
      // Block attributes make the character a block; extended data only for multipoints.
      {1, 4, 1, true, PointForm::marker_insert, PointForm::marker_insert, "STANDARD_42"},
      {1, 4, 5, true, PointForm::character_text, PointForm::marker_insert, "STANDARD_42"},
      {1, 3, 0, true, PointForm::point, PointForm::point, ""},  // no such marker
  };
  for (const Case& c : cases) {
    FileSettings cur;
    cur.PointsTranslate = c.translate;
    cur.Marker = c.marker;
    cur.Attribs = c.attribs;
    const PointDrawing d = point_drawing(cur, marker_choice(cur, c.table));
    const std::string where = std::to_string(c.translate) + "/" + std::to_string(c.marker) +
                              "/" + std::to_string(c.attribs) + "/" + std::to_string(c.table);
    EXPECT_EQ(d.form, c.form) << where;
    EXPECT_EQ(d.multipoint_form, c.multipoint_form) << where;
    EXPECT_EQ(d.block, c.block) << where;
  }
}

// A point context on one collecting stream, layer "CITIES", colour 5.
struct Points {
  explicit Points(const ConvSettings& settings) : s(settings), out(s) {
    ctx.drawing = point_drawing(s.cur, marker_choice(s.cur, false));
  }
  ConvSettings s;
  EntityOutput out;
  PointContext ctx{.out = out.w, .settings = s, .layer = "CITIES", .colour = 5};
};

shape_rec point_at(double x, double y, double z) { return make_record({{{x, y, z}}}); }

TEST(PointRecords, PlainPointsAndTheirZ) {
  Points p(text_settings(4));
  ASSERT_EQ(point_record(p.ctx, point_at(1.5, 2, 7), 1), 0);
  // A Point file: 2D in release 12, no Z group.
  EXPECT_EQ(p.out.text(), "0\nPOINT\n8\nCITIES\n62\n5\n 10\n1.5\n 20\n2.0\n");

  // PointZ keeps its Z (a 3D point even in release 12), scaled with flgScaleZ.
  Points z(text_settings(4));
  z.s.cur.flgScaleZ = 1;
  z.s.cur.ElevFactor = 2.0;
  ASSERT_EQ(point_record(z.ctx, point_at(1, 2, 3.25), 11), 0);
  EXPECT_THAT(z.out.text(), HasSubstr(" 10\n1.0\n 20\n2.0\n 30\n6.5\n"));
  EXPECT_EQ(z.ctx.counters.points_processed, 1);
}

TEST(PointRecords, PointMMeasuresGiveWayToTheTableElevation) {
  Points p(text_settings(6));
  p.s.cur.PointsElev = 1;
  p.s.cur.ElevFactor = 10.0;
  OneRowTable table({"DXF_ELEVATION"}, {"1.5"});
  p.ctx.elevation = elevation_source(p.s.cur, &table, false);
  ASSERT_EQ(point_record(p.ctx, point_at(1, 2, 999), 21), 0);
  EXPECT_THAT(p.out.text(), HasSubstr(" 10\n1.0\n 20\n2.0\n 30\n15.0\n"));
  EXPECT_THAT(p.out.text(), ::testing::Not(HasSubstr("999")));
  // Without an elevation field a PointM lies at 0.
  Points q(text_settings(6));
  ASSERT_EQ(point_record(q.ctx, point_at(1, 2, 999), 21), 0);
  EXPECT_THAT(q.out.text(), HasSubstr(" 30\n0.0\n"));
}

TEST(PointRecords, MarkerInsertsAndCharacterTexts) {
  ConvSettings s = text_settings(4);
  s.cur.PointsTranslate = 1;
  s.cur.Marker = kMarkerCircle;
  s.cur.MarkerHeight = 2.5;
  Points m(s);
  ASSERT_EQ(table_point(m.ctx, 10, 20), 0);
  EXPECT_EQ(m.out.text(),
            "0\nINSERT\n8\nCITIES\n62\n5\n2\nCIRCPT\n 10\n10.0\n 20\n20.0\n 41\n2.5\n 42\n2.5\n"
            " 43\n2.5\n");

  s.cur.Marker = kMarkerCharacter;
  Points t(s);
  ASSERT_EQ(table_point(t.ctx, 10, 20), 0);
  // Exactly one character, "*" by default.
  EXPECT_EQ(t.out.text(),
            "0\nTEXT\n8\nCITIES\n62\n5\n 10\n10.0\n 20\n20.0\n 40\n2.5\n7\nSTANDARD\n1\n*\n");
}

TEST(Multipoints, EmptyOnesAreSkippedAndCounted) {
  test::RecordingHost host;
  test::ScopedHost scoped(host);
  Points p(text_settings(4));
  shape_rec rec = make_record({});
  rec.record_number = 4;
  ASSERT_EQ(multipoint_record(p.ctx, rec), 0);
  EXPECT_EQ(p.out.text(), "");
  EXPECT_EQ(p.ctx.counters.records_skipped, 1);
  EXPECT_NE(host.status_text().find("Skipping empty shape record (#4)"), std::string::npos);
}

TEST(Multipoints, OneEntityPerPointOrOneBlockInsertedOnce) {
  Points plain(text_settings(4));
  const shape_rec rec = make_record({{{1, 1}, {2, 2}, {3, 1}}});
  ASSERT_EQ(multipoint_record(plain.ctx, rec), 0);
  EXPECT_EQ(test::occurrences(plain.out.text(), "0\nPOINT\n"), 3);
  EXPECT_EQ(plain.ctx.counters.points_processed, 3);

  ConvSettings s = text_settings(4);
  s.cur.MultipointBlock = 1;
  Points grouped(s);
  const StringGroupSink& block_sink = grouped.out.blocks_sink;
  FeatureBlockWriter writer;
  std::array<std::uint32_t, 4> totals{};
  NameCounters names{.totals = &totals};
  grouped.ctx.blocks = grouped.out.blocks;
  grouped.ctx.block_writer = &writer;
  grouped.ctx.names = &names;
  ASSERT_EQ(multipoint_record(grouped.ctx, rec), 0);
  // The block holds the three points in colour 0; the entity stream one INSERT of it.
  EXPECT_THAT(block_sink.text(), HasSubstr("2\nMPT00000\n"));
  EXPECT_EQ(test::occurrences(block_sink.text(), "0\nPOINT\n8\nCITIES\n62\n0\n"), 3);
  EXPECT_THAT(block_sink.text(), HasSubstr("0\nENDBLK\n"));
  EXPECT_EQ(grouped.out.text(),
            "0\nINSERT\n8\nCITIES\n62\n5\n2\nMPT00000\n 10\n1.0\n 20\n1.0\n");
}

}  // namespace
}  // namespace tsn
