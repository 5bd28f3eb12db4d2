// The database writer on its own: a refused entity is reported with its context and the run
// goes on; an associative hatch and its outline name each other by the handles they bear; labels
// follow every other entity; the save progress steps through its release's thresholds.
#include "dwg/database_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "drawdb/init_file.h"
#include "dwg/save_progress.h"
#include "platform/messages.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using Groups = std::vector<std::pair<int, std::string>>;

// The groups of a saved DXF file.
Groups read_groups(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  Groups out;
  std::string code, value;
  while (std::getline(in, code) && std::getline(in, value)) {
    if (!code.empty() && code.back() == '\r') code.pop_back();
    if (!value.empty() && value.back() == '\r') value.pop_back();
    out.emplace_back(std::stoi(code), value);
  }
  return out;
}

// The entities of the ENTITIES section: type and the groups that follow it.
std::vector<Groups> entities_of(const Groups& g) {
  std::vector<Groups> out;
  bool inside = false;
  for (std::size_t i = 0; i < g.size(); ++i) {
    if (g[i] == std::pair{2, std::string("ENTITIES")}) inside = true;
    if (!inside) continue;
    if (g[i] == std::pair{0, std::string("ENDSEC")}) break;
    if (g[i].first == 0) out.push_back({g[i]});
    else if (!out.empty()) out.back().push_back(g[i]);
  }
  return out;
}

std::string value_of(const Groups& e, int code) {
  for (const auto& [c, v] : e) {
    if (c == code) return v;
  }
  return {};
}

struct Fixture {
  Fixture() {
    std::ofstream(dir / "adinit2k.dat") << default_init_text();
    s.verDXF = 7;
    s.DecPlaces = 6;
    s.No999 = 1;
    s.cur.TextLabels = 1;
    open_trace_file((dir / "trace").string(), true);
  }
  ~Fixture() { close_diagnostic_files(); }
  std::string out() const { return (dir / "out.dxf").string(); }
  int open(DatabaseWriter& w) const {
    return w.open(out(), dir.path().string() + "/", (dir / "adinit2k.dat").string(), true);
  }

  test::ScratchDir dir;
  test::RecordingHost host;
  test::ScopedHost scoped{host};
  ConvSettings s;
};

TEST(DatabaseWriter, ARefusedEntityIsReportedWithItsContextAndTheRunGoesOn) {
  Fixture f;
  // The table's text is converted into the code page the drawing names, whatever the index.
  f.s.DWGCodePageString = "ANSI_1253";
  f.s.DWGCodePageIndex = 30;
  DatabaseWriter w(f.s);
  ASSERT_EQ(f.open(w), 0);
  ASSERT_EQ(w.begin_drawing(DrawingSetup{}), 0);
  // No block of that name exists: the database refuses the insertion.
  EXPECT_EQ(w.add(DrawingStream::entities,
                  Entity{{"ROADS", 3, false}, InsertEntity{"NOSUCH", {1, 2, 0}, {}, false}, {}, {}}, nullptr),
            -1);
  EXPECT_NE(f.host.status_text().find("1008:"), std::string::npos) << f.host.status_text();
  EXPECT_NE(f.host.status_text().find("Error is "), std::string::npos);
  EXPECT_EQ(w.add(DrawingStream::entities,
                  Entity{{"ROADS", 3, false}, LineEntity{{0, 0, 0}, {5, 5, 0}}, {}, {}}, nullptr),
            0);
  ASSERT_EQ(w.finish(nullptr), 0);
  const auto entities = entities_of(read_groups(f.out()));
  ASSERT_EQ(entities.size(), 1u);
  EXPECT_EQ(entities[0][0].second, "LINE");
  EXPECT_EQ(value_of(entities[0], 8), "ROADS");  // a layer no table step made is made for it
  const Groups all = read_groups(f.out());
  const auto page = std::find(all.begin(), all.end(), std::pair{9, std::string("$DWGCODEPAGE")});
  ASSERT_NE(page, all.end());
  EXPECT_EQ((page + 1)->second, "ANSI_1253");
}

TEST(DatabaseWriter, AnAssociativeHatchAndItsOutlineNameEachOtherAndLabelsComeLast) {
  Fixture f;
  DatabaseWriter w(f.s);
  ASSERT_EQ(f.open(w), 0);
  ASSERT_EQ(w.begin_drawing(DrawingSetup{}), 0);
  const EntityLook look{"LAND", 4, false};
  ASSERT_EQ(w.add(DrawingStream::labels,
                  Entity{{"TEXT", 1, false}, TextEntity{{{1, 1, 0}, {}, {}, 0}, 2.0, "STANDARD", "Court"},
                         {}, {}}, nullptr),
            0);
  const EntityRef hatch = w.reserve();
  ASSERT_TRUE(hatch);
  const Point3 ring[] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
  EntityRef outline;
  ASSERT_EQ(w.add(DrawingStream::entities,
                  Entity{look, PolylineEntity{ring, 0.0, true, false, -1}, hatch, {}}, &outline),
            0);
  ASSERT_TRUE(outline);
  const Point2 edges[] = {{0, 0}, {10, 0}, {10, 0}, {10, 10}, {10, 10}, {0, 10}, {0, 10}, {0, 0}};
  const HatchPath paths[] = {{edges, outline}};
  ASSERT_EQ(w.add(DrawingStream::entities,
                  Entity{look, HatchEntity{hatch, 0.0, "SOLID", true, true, paths, {}}, {}, {}}, nullptr),
            0);
  ASSERT_EQ(w.finish(nullptr), 0);
  const Groups all = read_groups(f.out());
  const auto entities = entities_of(all);
  ASSERT_EQ(entities.size(), 3u);
  EXPECT_EQ(entities[0][0].second, "LWPOLYLINE");
  EXPECT_EQ(entities[1][0].second, "HATCH");
  EXPECT_EQ(entities[2][0].second, "TEXT");  // the label, after every other entity
  const auto hex = [](std::uint32_t v) {
    char t[16];
    std::snprintf(t, sizeof t, "%X", v);
    return std::string(t);
  };
  EXPECT_EQ(value_of(entities[0], 5), hex(outline.id));
  EXPECT_EQ(value_of(entities[1], 5), hex(hatch.id));
  // The outline's reactor is the hatch; the hatch's path names the outline.
  bool reactor = false, source = false;
  for (const auto& [c, v] : entities[0]) reactor = reactor || (c == 330 && v == hex(hatch.id));
  for (const auto& [c, v] : entities[1]) source = source || (c == 330 && v == hex(outline.id));
  EXPECT_TRUE(reactor);
  EXPECT_TRUE(source);
  for (const auto& [c, v] : all) EXPECT_NE(v, "TEMP_ANNOT");
}

TEST(SaveProgress, EightyAtTheFirstReportThenOneStepPerThresholdPassed) {
  struct Case {
    int release;
    std::vector<int> reports;
    std::vector<int> shown;
    bool per_percent = false;  // the closing of a merge group
  };
  const std::vector<Case> cases = {
      {4, {0, 11, 12, 48, 100, 100}, {80, 80, 81, 84, 99, 99}},
      {7, {0, 1, 2, 3, 19, 95, 100}, {80, 81, 82, 82, 90, 99, 99}},
      {6, {50, 55}, {80, 96}},
      {4, {0, 1, 37, 100, 140}, {0, 1, 37, 100, 100}, true},
      {7, {-3, 55}, {0, 55}, true},
  };
  for (const Case& c : cases) {
    SaveProgress p(c.release, c.per_percent);
    std::vector<int> shown;
    for (const int r : c.reports) shown.push_back(p.report(r));
    EXPECT_EQ(shown, c.shown) << "release " << c.release;
  }
}

}  // namespace
}  // namespace tsn
