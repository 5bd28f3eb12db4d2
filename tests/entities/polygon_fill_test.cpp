// Polygon fills: FIL blocks of SOLIDs covering parts with their holes cut out, TIN faces, the
// 3D faces of PolygonZ rings, and release 14 hatches with their outlines and boundary paths.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "entities/feature_blocks.h"
#include "entities/polygon_hatch.h"
#include "entities/polygon_shape.h"
#include "entities_test_support.h"
#include "support/recording_host.h"

namespace tsn {
namespace {

using test::make_record;
using test::occurrences;
using test::text_settings;
using ::testing::HasSubstr;
using ::testing::Not;

// One entity of DXF text: its type and its groups in order.
struct Entity {
  std::string type;
  std::vector<std::pair<int, std::string>> groups;

  double real(int code, int nth = 0) const {
    for (const auto& [c, v] : groups) {
      if (c == code && nth-- == 0) return std::stod(v);
    }
    return NAN;
  }
  std::string text(int code, int nth = 0) const {
    for (const auto& [c, v] : groups) {
      if (c == code && nth-- == 0) return v;
    }
    return "";
  }
  int count(int code) const {
    int n = 0;
    for (const auto& g : groups) n += g.first == code ? 1 : 0;
    return n;
  }
};

std::vector<Entity> entities_of(const std::string& text, const std::string& type = "") {
  std::istringstream in(text);
  std::string code, value;
  std::vector<Entity> out;
  while (std::getline(in, code) && std::getline(in, value)) {
    const int c = std::stoi(code);
    if (c == 0) {
      out.push_back({value, {}});
    } else if (!out.empty()) {
      out.back().groups.emplace_back(c, value);
    }
  }
  if (!type.empty()) std::erase_if(out, [&](const Entity& e) { return e.type != type; });
  return out;
}

// Area of a SOLID: its triangles of corners 1 2 3 and 2 3 4 (the fourth repeats the third for
// a triangle).
double solid_area(const Entity& e) {
  double x[4], y[4];
  for (int k = 0; k < 4; ++k) {
    x[k] = e.real(10 + k);
    y[k] = e.real(20 + k);
  }
  const auto tri = [&](int a, int b, int c) {
    return std::fabs((x[b] - x[a]) * (y[c] - y[a]) - (x[c] - x[a]) * (y[b] - y[a])) / 2;
  };
  return tri(0, 1, 2) + tri(1, 2, 3);
}

// A polygon context with an entity stream, a fill block stream and the block records stream.
struct Filled {
  explicit Filled(ConvSettings settings) : s(std::move(settings)), out(s) {
    names.totals = &totals;
    ctx.fill_blocks = out.fill;
    ctx.block_writer = &writer;
    ctx.names = &names;
  }
  ConvSettings s;
  test::EntityOutput out;
  const StringGroupSink& fill_sink = out.fill_sink;
  const StringGroupSink& records_sink = out.main_sink;
  FeatureBlockWriter writer;
  std::array<std::uint32_t, 4> totals{};
  NameCounters names;
  test::RecordingHost host;
  test::ScopedHost scoped{host};
  PolygonContext ctx{.out = out.w, .settings = s, .layer = "LAND", .outline_colour = 4,
                     .fill_colour = 6};

  double filled_area() const {
    double a = 0.0;
    for (const Entity& e : entities_of(fill_sink.text(), "SOLID")) a += solid_area(e);
    return a;
  }
  // The area of each FIL block's SOLIDs, in block order.
  std::vector<double> block_areas() const {
    std::vector<double> areas;
    for (const Entity& e : entities_of(fill_sink.text())) {
      if (e.type == "BLOCK") areas.push_back(0.0);
      if (e.type == "SOLID" && !areas.empty()) areas.back() += solid_area(e);
    }
    return areas;
  }
};

ConvSettings fill_settings(int verDXF, int outlines = 1) {
  ConvSettings s = text_settings(verDXF);
  s.cur.Fill = 1;
  s.cur.DrawOutlines = outlines;
  return s;
}

// Clockwise square 10 x 10 at (100, 200) and a counter-clockwise square hole 2 x 2 inside it.
const std::vector<shape_point> kOuter = {
    {100, 200}, {100, 210}, {110, 210}, {110, 200}, {100, 200}};
const std::vector<shape_point> kHole = {{104, 204}, {106, 204}, {106, 206}, {104, 206}, {104, 204}};

TEST(TriangulatedFill, SquareWithHoleIsCoveredButNotItsHole) {
  Filled f(fill_settings(4));
  shape_rec rec = make_record({kOuter, kHole});
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  const std::string blocks = f.fill_sink.text();
  EXPECT_THAT(blocks, HasSubstr("0\nBLOCK\n8\n0\n2\nFIL00000\n70\n0\n"));
  EXPECT_EQ(occurrences(blocks, "0\nENDBLK\n"), 1);
  EXPECT_NEAR(f.filled_area(), 100.0 - 4.0, 1e-9);
  for (const Entity& e : entities_of(blocks, "SOLID")) {
    EXPECT_EQ(e.text(8), "LAND");
    EXPECT_EQ(e.text(62), "0");  // by block
    for (int k = 0; k < 4; ++k) {
      // Corners relative to the part's corner, never inside the hole.
      EXPECT_GE(e.real(10 + k), 0.0);
      EXPECT_LE(e.real(10 + k), 10.0);
    }
    const double cx = (e.real(10) + e.real(11) + e.real(12)) / 3;
    const double cy = (e.real(20) + e.real(21) + e.real(22)) / 3;
    EXPECT_FALSE(cx > 4 && cx < 6 && cy > 4 && cy < 6) << "a triangle in the hole";
  }
  // The fill's insertion at the part's corner in the fill colour, then the two outlines.
  const auto all = entities_of(f.out.text());
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all[0].type, "INSERT");
  EXPECT_EQ(all[0].text(2), "FIL00000");
  EXPECT_EQ(all[0].text(62), "6");
  EXPECT_EQ(all[0].real(10), 100.0);
  EXPECT_EQ(all[0].real(20), 200.0);
  EXPECT_EQ(occurrences(f.out.text(), "0\nPOLYLINE\n"), 2);
  EXPECT_EQ(f.names.counts[static_cast<std::size_t>(NameKind::fill)], 1u);
}

TEST(TriangulatedFill, QuadrilateralIsOneSolidWithCornersOneTwoFourThree) {
  Filled f(fill_settings(4, 0));
  shape_rec rec = make_record({{{0, 0}, {0, 4}, {3, 4}, {3, 0}, {0, 0}}});
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  const auto solids = entities_of(f.fill_sink.text(), "SOLID");
  ASSERT_EQ(solids.size(), 1u);
  // Ring order 1 (0,0) 2 (0,4) 3 (3,4) 4 (3,0) is written 1, 2, 4, 3.
  EXPECT_EQ(solids[0].real(10), 0.0);
  EXPECT_EQ(solids[0].real(21), 4.0);
  EXPECT_EQ(solids[0].real(12), 3.0);
  EXPECT_EQ(solids[0].real(22), 0.0);
  EXPECT_EQ(solids[0].real(13), 3.0);
  EXPECT_EQ(solids[0].real(23), 4.0);
  // Without outlines the fill is all there is.
  EXPECT_EQ(occurrences(f.out.text(), "0\nPOLYLINE\n"), 0);
  EXPECT_EQ(occurrences(f.out.text(), "0\nINSERT\n"), 1);
}

std::vector<shape_point> reversed(std::vector<shape_point> ring) {
  std::reverse(ring.begin(), ring.end());
  return ring;
}

// A clockwise island 1 x 1 in the middle of kHole.
const std::vector<shape_point> kIsland = {
    {104.5, 204.5}, {104.5, 205.5}, {105.5, 205.5}, {105.5, 204.5}, {104.5, 204.5}};

// Rings in no other ring are filled whichever way they turn. Inside them, counter-clockwise
// rings are holes, and so are clockwise rings inside a counter-clockwise outer ring.
TEST(TriangulatedFill, RingsInNoOtherRingAreFilledWhicheverWayTheyTurn) {
  struct Case {
    const char* what;
    std::vector<std::vector<shape_point>> rings;
    std::vector<double> areas;  // of the FIL blocks, in order
  };
  const std::vector<Case> cases = {
      {"clockwise ring with a hole", {kOuter, kHole}, {96.0}},
      {"counter-clockwise ring in no other", {reversed(kOuter)}, {100.0}},
      {"counter-clockwise ring with a hole", {reversed(kOuter), kHole}, {96.0}},
      {"the hole listed first", {kHole, reversed(kOuter)}, {96.0}},
      {"island in a hole, filled again", {kOuter, kHole, kIsland}, {96.0, 1.0}},
      {"counter-clockwise ring in a hole, outlined only", {kOuter, kHole, reversed(kIsland)},
       {96.0}},
      // A file that winds every ring the other way: its clockwise rings are its holes.
      {"clockwise ring in a counter-clockwise one is its hole",
       {reversed(kOuter), reversed(kHole)}, {96.0}},
      {"and a counter-clockwise island in that hole is filled again",
       {reversed(kOuter), reversed(kHole), reversed(kIsland)}, {96.0, 1.0}},
      {"clockwise ring in a clockwise one, filled as well", {kOuter, reversed(kHole)},
       {96.0, 4.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Filled f(fill_settings(4));
    shape_rec rec = make_record(c.rings);
    ASSERT_EQ(polygon_record(f.ctx, rec), 0);
    const std::vector<double> areas = f.block_areas();
    ASSERT_EQ(areas.size(), c.areas.size());
    for (std::size_t k = 0; k < areas.size(); ++k) EXPECT_NEAR(areas[k], c.areas[k], 1e-9);
    EXPECT_EQ(occurrences(f.out.text(), "0\nPOLYLINE\n"), static_cast<int>(c.rings.size()));
    EXPECT_THAT(f.host.status_text(), Not(HasSubstr("Could not")));
  }
}

TEST(TriangulatedFill, ARingCrossingTheRingAroundItIsFilledOnItsOwn) {
  Filled f(fill_settings(4));
  // A U-shaped ring, and a bar across its notch whose corners lie in the two arms: its box
  // and its corners are inside the U, but the bar crosses the notch, so it is no hole.
  shape_rec rec = make_record({{{0, 0}, {0, 10}, {4, 10}, {4, 3}, {6, 3}, {6, 10}, {10, 10},
                                {10, 0}, {0, 0}},
                               {{3, 5}, {3, 6}, {7, 6}, {7, 5}, {3, 5}}});
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  const std::vector<double> areas = f.block_areas();
  ASSERT_EQ(areas.size(), 2u);
  EXPECT_NEAR(areas[0], 100.0 - 2 * 7.0, 1e-9);
  EXPECT_NEAR(areas[1], 4.0, 1e-9);
}

TEST(TriangulatedFill, ARecordOfMoreThanTenThousandRingsIsFilledExactly) {
  Filled f(fill_settings(4, 0));
  // 5,120 squares 15 x 15, each with a counter-clockwise hole 5 x 5: 10,240 rings.
  std::vector<std::vector<shape_point>> rings;
  for (int i = 0; i < 80; ++i) {
    for (int j = 0; j < 64; ++j) {
      const double x = 20.0 * i, y = 20.0 * j;
      rings.push_back({{x, y}, {x, y + 15}, {x + 15, y + 15}, {x + 15, y}, {x, y}});
      rings.push_back(reversed({{x + 5, y + 5}, {x + 5, y + 10}, {x + 10, y + 10},
                                {x + 10, y + 5}, {x + 5, y + 5}}));
    }
  }
  shape_rec rec = make_record(rings);
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  const std::vector<double> areas = f.block_areas();
  ASSERT_EQ(areas.size(), 5120u);
  for (const double a : areas) ASSERT_NEAR(a, 225.0 - 25.0, 1e-9);
}

TEST(TriangulatedFill, UnbridgeableHoleGivesTheMessageAndNoFill) {
  Filled f(fill_settings(4));
  // A "hole" that crosses its outer ring's edges cannot be bridged anywhere.
  shape_rec rec = make_record({{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}},
                               {{-5, 4}, {15, 4}, {15, 6}, {-5, 6}, {-5, 4}}});
  f.ctx.rings.clear();
  std::vector<std::int32_t> hole = {1};
  nest_rings(rec, f.ctx.rings);
  for (std::int32_t r = 0; r < 2; ++r) f.ctx.rings[static_cast<std::size_t>(r)].orientation = ring_orientation(rec, r);
  ASSERT_EQ(fill_polygon_part(f.ctx, f.out.w, rec, 0, hole, 0.0), 0);
  EXPECT_EQ(f.fill_sink.text(), "");
  EXPECT_EQ(f.out.text(), "");
  EXPECT_THAT(f.host.status_text(),
              HasSubstr("Could not create single polygon for part. Colour fill for part ignored"));
}

TEST(TriangulatedFill, LongOutlineIsCutIntoChunksAndStillCoveredExactly) {
  ConvSettings s = fill_settings(4, 0);
  s.DecPlaces = 12;  // the corners as computed, so that the areas can be compared closely
  Filled f(s);
  // A clockwise circle of 600 points: more than two chunks' worth.
  std::vector<shape_point> circle;
  for (int i = 0; i <= 600; ++i) {
    const double a = -2.0 * M_PI * (i % 600) / 600.0;
    circle.push_back({50.0 + 40.0 * std::cos(a), 50.0 + 40.0 * std::sin(a)});
  }
  shape_rec rec = make_record({circle});
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  double area = 0.0;
  for (std::size_t i = 0; i + 1 < circle.size(); ++i) {
    area += circle[i].x * circle[i + 1].y - circle[i + 1].x * circle[i].y;
  }
  EXPECT_NEAR(f.filled_area(), std::fabs(area) / 2, 1e-9 * std::fabs(area));
  EXPECT_EQ(occurrences(f.fill_sink.text(), "0\nSOLID\n"), 598);
  EXPECT_THAT(f.host.status_text(), Not(HasSubstr("Could not split")));
}

TEST(TriangulatedFill, TinTrianglesAreFacesWithTheRecordsHeights) {
  ConvSettings s = fill_settings(6, 0);
  s.cur.TIN = 1;
  s.cur.ElevFactor = 2.0;
  Filled f(s);
  test::OneRowTable table({"Z1", "Z2", "Z3"}, {"1", "2.5", "4"});
  f.ctx.table = &table;
  shape_rec rec = make_record({{{0, 0}, {0, 4}, {3, 0}, {0, 0}}});
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  const auto faces = entities_of(f.out.text(), "3DFACE");
  ASSERT_EQ(faces.size(), 1u);
  EXPECT_EQ(faces[0].real(30), 2.0);
  EXPECT_EQ(faces[0].real(31), 5.0);
  EXPECT_EQ(faces[0].real(32), 8.0);
  EXPECT_EQ(faces[0].real(33), 8.0);
  EXPECT_EQ(faces[0].text(62), "6");
  EXPECT_EQ(f.fill_sink.text(), "");  // no block for TIN faces
}

TEST(FaceFill, VerticalWallIsTriangulatedWithItsOwnEdgesVisible) {
  ConvSettings s = fill_settings(6, 0);
  s.cur.DrawEdges = 2;
  Filled f(s);
  // A wall in the plane x = 5: a pentagon (house gable) seen edge-on from above.
  shape_rec rec = make_record(
      {{{5, 0, 0}, {5, 0, 3}, {5, 2, 5}, {5, 4, 3}, {5, 4, 0}, {5, 0, 0}}}, true);
  ASSERT_EQ(polygon_z_record(f.ctx, rec), 0);
  const auto faces = entities_of(f.out.text(), "3DFACE");
  ASSERT_EQ(faces.size(), 3u);
  double area = 0.0;
  int visible_edges = 0;
  for (const Entity& e : faces) {
    const double y0 = e.real(20), z0 = e.real(30), y1 = e.real(21), z1 = e.real(31);
    const double y2 = e.real(22), z2 = e.real(32);
    EXPECT_EQ(e.real(10), 5.0);
    area += std::fabs((y1 - y0) * (z2 - z0) - (y2 - y0) * (z1 - z0)) / 2;
    const int invisible = std::stoi(e.text(70));
    for (int k = 0; k < 3; ++k) visible_edges += (invisible & (1 << k)) == 0 ? 1 : 0;
  }
  EXPECT_NEAR(area, 4.0 * 3.0 + 4.0 * 2.0 / 2, 1e-12);
  EXPECT_EQ(visible_edges, 5);  // the ring's five sides; the two diagonals are hidden
  EXPECT_EQ(occurrences(f.out.text(), "0\nPOLYLINE\n"), 0);

  // Without DrawEdges bit value 2 every edge is hidden. Release 12 with 2D on still gives the
  // faces their Z, before the outline that follows them.
  Filled g(fill_settings(4, 1));
  ASSERT_EQ(polygon_z_record(g.ctx, rec), 0);
  const auto r12 = entities_of(g.out.text(), "3DFACE");
  ASSERT_EQ(r12.size(), 3u);
  for (const Entity& e : r12) {
    EXPECT_EQ(e.text(70), "15");
    EXPECT_EQ(e.count(30) + e.count(31) + e.count(32) + e.count(33), 4);
  }
  EXPECT_EQ(occurrences(g.out.text(), "0\nPOLYLINE\n"), 1);
}

// Counts the insertions that stand for a record.
class InsertCounter final : public RecordAnnotations {
 public:
  void anchor_from_box(const shape_box&, bool, bool) override {}
  void align_with_part(std::span<const shape_point>, bool, bool) override {}
  void move_close_to_part(std::span<const shape_point>, bool, bool) override {}
  std::span<const XdataItem> extended_data() override { return {}; }
  void record_done(const shape_box&, std::optional<double>, bool) override {}
  int add_insert(const DrawingOut& out, const EntityLook& look, const InsertEntity& insert) override {
    ++inserts;
    last = {insert.at.x, insert.at.y, insert.at.z};
    return out.add(look, insert);
  }
  int inserts = 0;
  shape_point last{};
};

// Release 12 fill with block attributes: record blocks on a stream of their own, the
// insertions that stand for a record counted.
struct AttributedFill : Filled {
  explicit AttributedFill(int outlines) : Filled(with_block_attributes(fill_settings(4, outlines))) {
    ctx.blocks = out.blocks;
    ctx.annotations = &counter;
    writer.annotations = &counter;
  }
  static ConvSettings with_block_attributes(ConvSettings s) {
    s.cur.Attribs = kAttribsOn;
    return s;
  }
  const StringGroupSink& record_blocks = out.blocks_sink;
  InsertCounter counter;
};

TEST(TriangulatedFill, AttributesGoOnTheFillWhenNoOutlineCanCarryThem) {
  // Fill only: no record block, the fill's insertion carries the attributes.
  AttributedFill f(0);
  shape_rec rec = make_record({kOuter});
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  EXPECT_EQ(f.record_blocks.text(), "");
  EXPECT_EQ(f.counter.inserts, 1);
  EXPECT_EQ(f.counter.last.x, 100.0);
  EXPECT_EQ(f.counter.last.y, 200.0);

  // With outlines the record's block holds outlines and fill; its insertion carries them.
  AttributedFill g(1);
  ASSERT_EQ(polygon_record(g.ctx, rec), 0);
  EXPECT_THAT(g.record_blocks.text(), HasSubstr("2\nPOL00000\n"));
  EXPECT_THAT(g.record_blocks.text(), HasSubstr("0\nINSERT\n"));  // the fill, inside the block
  EXPECT_EQ(g.counter.inserts, 1);
  EXPECT_EQ(occurrences(g.out.text(), "0\nINSERT\n"), 1);  // the record's block
}

// Release 14 hatches.

std::uint32_t handle_of(const Entity& e) { return static_cast<std::uint32_t>(std::stoul(e.text(5), nullptr, 16)); }

TEST(HatchFill, OuterRingAndHoleGiveTwoAssociatedOutlinesAndTwoPaths) {
  Filled f(fill_settings(6));
  shape_rec rec = make_record({kOuter, kHole});
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  const auto all = entities_of(f.out.text());
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].type, "LWPOLYLINE");
  EXPECT_EQ(all[1].type, "LWPOLYLINE");
  EXPECT_EQ(all[1].real(10), 104.0);  // the hole's outline after the outer ring's
  const Entity& h = all[2];
  ASSERT_EQ(h.type, "HATCH");
  const std::uint32_t hatch = handle_of(h);
  // Each outline names the hatch as its reactor; each path names its outline.
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(all[k].text(102, 0), "{ACAD_REACTORS");
    EXPECT_EQ(std::stoul(all[k].text(330), nullptr, 16), hatch);
    EXPECT_EQ(std::stoul(h.text(330, k), nullptr, 16), handle_of(all[k]));
  }
  EXPECT_LT(handle_of(all[1]), hatch + 3);
  EXPECT_EQ(h.text(2), "SOLID");
  EXPECT_EQ(h.text(70), "1");
  EXPECT_EQ(h.text(71), "1");
  EXPECT_EQ(h.text(91), "2");
  EXPECT_EQ(h.text(62), "6");
  // The closing point repeats the first: four edges per square, not five.
  EXPECT_EQ(h.text(93, 0), "4");
  EXPECT_EQ(h.text(93, 1), "4");
  EXPECT_EQ(h.count(72), 8);
  EXPECT_EQ(h.count(97), 2);
  EXPECT_EQ(h.count(78), 0);  // a solid fill has no pattern lines
  EXPECT_EQ(h.real(30), -f.s.zFill);
}

TEST(HatchFill, WithoutOutlinesTheHatchStandsAlone) {
  Filled f(fill_settings(6, 0));
  shape_rec rec = make_record({kOuter, kHole});
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  const auto all = entities_of(f.out.text());
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].text(71), "0");
  EXPECT_EQ(all[0].text(97, 0), "0");
  EXPECT_EQ(all[0].text(97, 1), "0");
  EXPECT_EQ(all[0].count(330), 0);
}

TEST(HatchFill, PatternLinesAndTheTooSmallTest) {
  Filled f(fill_settings(6));
  f.ctx.hatch = prepare_hatch_pattern(19, 1.0, 10.0, 0.02);  // DOTS, scale 1
  ASSERT_FALSE(f.ctx.hatch.check.reset);
  // 0.1 by 0.1 is smaller than one repeat both ways: outlined only, counted.
  shape_rec tiny = make_record({{{0, 0}, {0, 0.1}, {0.1, 0.1}, {0.1, 0}, {0, 0}}});
  ASSERT_EQ(polygon_record(f.ctx, tiny), 0);
  EXPECT_EQ(f.ctx.counters.polygons_not_hatched, 1);
  EXPECT_EQ(occurrences(f.out.text(), "0\nHATCH\n"), 0);
  EXPECT_EQ(occurrences(f.out.text(), "0\nLWPOLYLINE\n"), 1);
  EXPECT_THAT(f.out.text(), Not(HasSubstr("ACAD_REACTORS")));
  // Smaller only one way: hatched, with the DOTS line family.
  shape_rec thin = make_record({{{0, 0}, {0, 5}, {0.1, 5}, {0.1, 0}, {0, 0}}});
  ASSERT_EQ(polygon_record(f.ctx, thin), 0);
  EXPECT_EQ(f.ctx.counters.polygons_not_hatched, 1);
  const auto hatches = entities_of(f.out.text(), "HATCH");
  ASSERT_EQ(hatches.size(), 1u);
  EXPECT_EQ(hatches[0].text(2), "DOTS");
  EXPECT_EQ(hatches[0].text(70), "0");
  EXPECT_EQ(hatches[0].text(78), "1");
  EXPECT_EQ(hatches[0].real(46), 0.0625);
  EXPECT_EQ(hatches[0].text(79), "2");
  EXPECT_EQ(hatches[0].real(49, 1), -0.0625);
}

TEST(HatchFill, MergeCountsOneEdgePerPointAndNestingOrdersThePaths) {
  ConvSettings s = fill_settings(6, 0);
  Filled f(s);
  // Two separate outer rings, the second with a hole: paths outer, outer, hole.
  shape_rec rec = make_record({{{50, 0}, {50, 10}, {60, 10}, {60, 0}, {50, 0}}, kOuter, kHole});
  nest_rings(rec, f.ctx.rings);
  std::vector<std::int32_t> paths;
  hatch_path_rings(f.ctx, 2, paths);
  EXPECT_EQ(paths, (std::vector<std::int32_t>{0, 1, 2}));
  EXPECT_EQ(hatch_path_edges(rec, 1, false), 4);
  EXPECT_EQ(hatch_path_edges(rec, 1, true), 5);
  ASSERT_EQ(polygon_record(f.ctx, rec), 0);
  EXPECT_EQ(entities_of(f.out.text(), "HATCH")[0].text(91), "3");
}

}  // namespace
}  // namespace tsn
