// Saved drawings: a small release 2000 file byte for byte (TSN_UPDATE_GOLDEN=1 rewrites it),
// and every entity kind in releases 12, 14 and 2000 read back and audited by ezdxf and GDAL.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "sample_drawing.h"
#include "support/shell.h"

namespace tsn::test {
namespace {

namespace fs = std::filesystem;

std::vector<int> g_progress;
void record_progress(int percent) { g_progress.push_back(percent); }

TEST(SavedFiles, SmallRelease2000DrawingMatchesItsGoldenFile) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  Drawing* d = db_new_drawing(7);
  DbHeader h;
  ASSERT_NE(db_get_header(d, h), 0);
  h.extmin = {0.0, 0.0, 0.0};
  h.extmax = {10.0, 5.0, 0.0};
  h.tdcreate = h.tdupdate = db_julian_date(1, 2, 2024, 12, 0, 0);
  ASSERT_NE(db_put_header(d, h), 0);
  DbVport vport;
  ASSERT_NE(db_first_vport(d, vport), 0);
  vport.centre = {5.0, 2.5};
  vport.height = 5.0;
  ASSERT_NE(db_replace_vport(d, vport), 0);
  DbLayer layer;
  db_init_layer(d, layer);
  layer.name = "RIVERS";
  layer.colour = 5;
  ASSERT_NE(db_add_layer(d, layer), 0);
  const DbEntityList ms = model_space(d);
  DbEntity line = entity(d, kDbLine, layer.handle);
  line.points[1] = {10.0, 5.0, 0.0};
  add(d, ms, line);
  DbEntity text = entity(d, kDbText, layer.handle);
  text.points[0] = {1.0 / 3.0, 2.0, 0.0};
  text.height = 0.5;
  text.text = "Tay";
  add(d, ms, text);
  add_lwpolyline(d, ms, layer.handle, 3);

  const fs::path out = dir / "small.dxf";
  ASSERT_NE(adSaveFile(d, out.string(), 1, 7, 4, 0), 0);
  const fs::path golden = fs::path(TSN_SOURCE_DIR) / "tests" / "golden" / "drawdb-small-r2000.dxf";
  if (std::getenv("TSN_UPDATE_GOLDEN") != nullptr) write_file(golden, read_file(out));
  const std::string expected = read_file(golden);
  ASSERT_FALSE(expected.empty()) << golden;
  EXPECT_EQ(read_file(out), expected);
}

// "errors fixes" of ezdxf's audit, then "TYPE count" for each kind in model space, the
// attribute of the insert, the extended data string, each hatch path's source count and its
// edges (L a line, A centre radius start end ccw an arc), and the polylines' vertex counts
// ("c" when closed) with their start/end widths and bulges when any is nonzero.
std::string ezdxf_report(const fs::path& file) {
  return capture("/usr/bin/python3 -c " +
                 quoted("import collections, ezdxf, sys\n"
                        "d = ezdxf.readfile(sys.argv[1]); a = d.audit(); m = d.modelspace()\n"
                        "print(len(a.errors), len(a.fixes))\n"
                        "c = collections.Counter(e.dxftype() for e in m)\n"
                        "print(' '.join(f'{k}{v}' for k, v in sorted(c.items())))\n"
                        "print(m.query('INSERT')[0].get_attrib_text('NAME'))\n"
                        "print(m.query('POINT')[0].get_xdata('TESSARYN')[0].value)\n"
                        "edge = lambda g: 'L' if g.type == 1 else f'A{g.center.x:g},{g.center.y:g}'"
                        " f' {g.radius:g} {g.start_angle:g} {g.end_angle:g} {int(g.ccw)}'\n"
                        "print(' '.join(f'{len(p.source_boundary_objects)}:'"
                        " + ''.join(edge(g) for g in p.edges)"
                        " for h in m.query('HATCH') for p in h.paths))\n"
                        "def poly(e):\n"
                        "  lw = e.dxftype() == 'LWPOLYLINE'\n"
                        "  w = [e.dxf.const_width] * 2 if lw else"
                        " [e.dxf.default_start_width, e.dxf.default_end_width]\n"
                        "  b = [p[0] for p in e.get_points('b')] if lw else"
                        " [v.dxf.bulge for v in e.vertices]\n"
                        "  s = f'{len(e)}' + 'c' * (e.closed if lw else e.is_closed)\n"
                        "  s += f'w{w[0]:g}/{w[1]:g}' * any(w)\n"
                        "  return s + ('b' + ','.join(f'{x:g}' for x in b)) * any(b)\n"
                        "print(' '.join(poly(e) for e in m.query('POLYLINE LWPOLYLINE')))\n") +
                 " " + quoted(file.string()) + " 2>&1");
}

TEST(SavedFiles, EveryEntityKindInEveryReleaseReadsBackCleanly) {
  if (!have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  Drawing* d = sample_drawing(7);
  struct Case {
    int release;
    std::string expected;
  };
  const std::string kHatchPaths = "1:LLL 1:LLL 0:A0,0 0.5 0 360 1\n";
  const std::string kPolylines = "3cb0,0.5,0 3 4w0.25/0.25b0,-0.5,0,0 3c 3c 2cw0.5/0.5b1,1\n";
  const std::vector<Case> cases = {
      {4, "0 0\n3DFACE1 CIRCLE1 INSERT1 LINE1 POINT1 POLYLINE6 SOLID1 TEXT1\nOak\nMain Street\n"
          "\n" + kPolylines},
      {6, "0 0\n3DFACE1 CIRCLE1 HATCH3 INSERT1 LINE1 LWPOLYLINE3 POINT1 POLYLINE3 SOLID1 TEXT1\n"
          "Oak\nMain Street\n" + kHatchPaths + kPolylines},
      {7, "0 0\n3DFACE1 CIRCLE1 HATCH3 INSERT1 LINE1 LWPOLYLINE3 POINT1 POLYLINE3 SOLID1 TEXT1\n"
          "Oak\nMain Street\n" + kHatchPaths + kPolylines},
  };
  const bool have_gdal = exit_status("command -v ogrinfo >/dev/null 2>&1") == 0;
  db_set_progress_handler(record_progress);
  for (const Case& c : cases) {
    const fs::path file = dir / ("all-" + std::to_string(c.release) + ".dxf");
    g_progress.clear();
    ASSERT_NE(adSaveFile(d, file.string(), 1, c.release, 6, 1), 0);
    // Reports rise from 0 to 100, a step for each few entities.
    EXPECT_TRUE(std::is_sorted(g_progress.begin(), g_progress.end()));
    EXPECT_GT(g_progress.size(), 10u);
    EXPECT_EQ(g_progress.front(), 0);
    EXPECT_EQ(g_progress.back(), 100);
    EXPECT_EQ(ezdxf_report(file), c.expected) << "release code " << c.release;
    if (!have_gdal) continue;
    const std::string summary = capture("ogrinfo -al -so " + quoted(file.string()) + " 2>&1");
    EXPECT_NE(summary.find("Feature Count: "), std::string::npos) << summary;
    EXPECT_EQ(summary.find("ERROR"), std::string::npos) << summary;
  }
}

}  // namespace
}  // namespace tsn::test
