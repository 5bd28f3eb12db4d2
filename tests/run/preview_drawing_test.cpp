// The preview of real inputs holds what Save writes: the same entities in the same colours
// (blocks expanded, BYLAYER and BYBLOCK resolved through the drawing's own tables, read here
// from the DXF text), the same texts where they stand; and a preview writes and shows nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/program_dir.h"
#include "platform/text_encoding.h"
#include "run/conv_state.h"
#include "run/interactive_session.h"
#include "settings/program_settings.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// One entity of a DXF file, with the groups these checks need.
struct DxfEntity {
  std::string type;
  std::string layer;
  int colour = 256;  // BYLAYER when the entity has no group 62
  std::string block;  // an INSERT's block
  std::string text;
  double x = 0, y = 0, x2 = 0, y2 = 0, height = 0;
  int justification = 0;
  int flags = 0;
  long vertices = 0;  // a POLYLINE's VERTEX entities, an LWPOLYLINE's count
};

struct DxfDrawing {
  std::map<std::string, int> layer_colours;  // by upper-case name
  std::map<std::string, std::vector<DxfEntity>> blocks;
  std::vector<DxfEntity> entities;
};

DxfDrawing read_dxf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string code_line, value;
  DxfDrawing d;
  std::string section, record, layer_name;
  std::vector<DxfEntity>* list = nullptr;
  DxfEntity* e = nullptr;
  const auto trim = [](std::string& s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
    s.erase(0, s.find_first_not_of(' '));
  };
  while (std::getline(in, code_line) && std::getline(in, value)) {
    trim(code_line);
    while (!value.empty() && value.back() == '\r') value.pop_back();
    const int code = std::stoi(code_line);
    std::string v = value;
    trim(v);
    if (code == 0) {
      record = v;
      if (v == "SECTION" || v == "ENDSEC" || v == "EOF") {
        section.clear();
        list = nullptr;
        e = nullptr;
        continue;
      }
      if (section == "BLOCKS" && v == "BLOCK") list = nullptr;
      if (section == "BLOCKS" && v == "ENDBLK") list = nullptr;
      e = nullptr;
      if (v == "VERTEX" && list != nullptr && !list->empty()) {
        ++list->back().vertices;
      } else if (list != nullptr && v != "SEQEND" && v != "ENDBLK") {
        list->push_back({});
        e = &list->back();
        e->type = v;
      }
      continue;
    }
    if (code == 2 && record == "SECTION") {
      section = v;
      if (v == "ENTITIES") list = &d.entities;
      continue;
    }
    if (section == "TABLES" && record == "LAYER") {
      if (code == 2) layer_name = upper(v);
      if (code == 62) d.layer_colours[layer_name] = std::abs(std::stoi(v));
      continue;
    }
    if (section == "BLOCKS" && record == "BLOCK" && code == 2) {
      list = &d.blocks[upper(v)];
      continue;
    }
    if (e == nullptr) continue;
    switch (code) {
      case 8: e->layer = v; break;
      case 62: e->colour = std::stoi(v); break;
      case 2: if (e->type == "INSERT") e->block = upper(v); break;
      case 1: e->text = value; break;
      case 10: e->x = std::stod(v); break;
      case 20: e->y = std::stod(v); break;
      case 11: e->x2 = std::stod(v); break;
      case 21: e->y2 = std::stod(v); break;
      case 40: e->height = std::stod(v); break;
      case 72: if (e->type == "TEXT" || e->type == "ATTRIB") e->justification = std::stoi(v); break;
      case 70: e->flags = std::stoi(v); break;
      case 90: if (e->type == "LWPOLYLINE") e->vertices = std::stol(v); break;
      default: break;
    }
  }
  return d;
}

struct PlacedText {
  std::string text;
  double x = 0, y = 0, height = 0;
  bool operator<(const PlacedText& o) const {
    return std::tie(text, x, y) < std::tie(o.text, o.x, o.y);
  }
};

// What a drawing shows: (kind, colour) counted, polyline vertices, and the texts.
struct Seen {
  std::map<std::pair<std::string, int>, long> tally;
  long polyline_vertices = 0;
  std::vector<PlacedText> texts;
};

int layer_colour(const DxfDrawing& d, const std::string& layer) {
  const auto found = d.layer_colours.find(upper(layer));
  return found != d.layer_colours.end() ? found->second : 7;
}

// The entities as a drawing editor shows them: each insertion expanded, BYBLOCK taking the
// insertion's colour, BYLAYER on layer 0 inside a block the insertion's layer's.
void see_dxf(const DxfDrawing& d, const std::vector<DxfEntity>& list, bool in_block,
             int insert_colour, int insert_layer_colour, Seen& seen) {
  for (const DxfEntity& e : list) {
    int colour = e.colour;
    if (colour == 0) colour = in_block ? insert_colour : 7;
    if (colour == 256) {
      colour = in_block && e.layer == "0" ? insert_layer_colour : layer_colour(d, e.layer);
    }
    const auto count = [&](const char* kind) { ++seen.tally[{kind, colour}]; };
    if (e.type == "LINE") {
      count("polyline");
      seen.polyline_vertices += 2;
    } else if (e.type == "POLYLINE" || e.type == "LWPOLYLINE") {
      count("polyline");
      seen.polyline_vertices += e.vertices;
    } else if (e.type == "SOLID" || e.type == "3DFACE" || e.type == "HATCH") {
      count("fill");
    } else if (e.type == "POINT") {
      count("point");
    } else if (e.type == "CIRCLE") {
      count("circle");
    } else if (e.type == "TEXT" || (e.type == "ATTRIB" && (e.flags & 1) == 0)) {
      count("text");
      const bool second = e.justification != 0;
      std::string utf8;
      TextTranscoder from_code_page;
      EXPECT_TRUE(from_code_page.open("CP1252", "UTF-8"));
      from_code_page.append(e.text, utf8);
      if (!in_block) {
        seen.texts.push_back({utf8, second ? e.x2 : e.x, second ? e.y2 : e.y, e.height});
      }
    } else if (e.type == "INSERT") {
      const auto block = d.blocks.find(e.block);
      ASSERT_NE(block, d.blocks.end()) << e.block;
      const int layer = in_block && e.layer == "0" ? insert_layer_colour : layer_colour(d, e.layer);
      see_dxf(d, block->second, true, colour, layer, seen);
    }
  }
}

Seen see_preview(const PreviewDrawing& p) {
  Seen seen;
  for (const PreviewShape& s : p.shapes) {
    static const char* const kKinds[] = {"polyline", "fill", "point", "circle", "disc"};
    ++seen.tally[{kKinds[static_cast<int>(s.kind)], s.colour}];
    if (s.kind == PreviewShapeKind::polyline) seen.polyline_vertices += s.count;
  }
  for (const PreviewText& t : p.texts) {
    ++seen.tally[{"text", t.colour}];
    seen.texts.push_back({std::string(p.text_of(t)), t.at.x, t.at.y, t.height});
  }
  return seen;
}

// Every file under the folder with its size and time: what a preview must leave as it was.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files_under(
    const fs::path& dir) {
  std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file()) {
      files[entry.path().string()] = {entry.file_size(), entry.last_write_time()};
    }
  }
  return files;
}

int field_index(const SelectedInput& in, const std::string& name) {
  const auto& fields = in.summary.field_list;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (equal_ignoring_case(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

// A program directory of its own and a copy of one input of the test data.
struct Workspace {
  test::ScratchDir dir;
  ConvState cs;
  std::string input;

  explicit Workspace(const std::string& relative) {
    const std::string home = (dir / "home").string() + "/";
    fs::create_directories(home);
    EXPECT_TRUE(seed_default_files(home));
    EXPECT_TRUE(load_program_settings(cs.settings, home));
    const fs::path source = fs::path(TSN_TESTDATA_DIR) / relative;
    fs::create_directories(dir / "in");
    for (const char* ext : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) {
      fs::path from = source;
      from.replace_extension(ext);
      if (fs::exists(from)) fs::copy_file(from, dir / "in" / from.filename());
    }
    input = (dir / "in" / source.filename()).string();
  }
};

struct Case {
  const char* name;
  const char* input;
  std::function<void(ConvSettings&, const SelectedInput&)> set;
};

const Case kCases[] = {
    {"polygons filled by continent, labelled, with a legend (release 12 faces)",
     "ne-4.1-geographic/ne_110m_admin_0_countries.shp",
     [](ConvSettings& s, const SelectedInput& in) {
       s.cur.Fill = 1;
       s.cur.ColourMethod = 2;
       s.cur.ClassTypeColor = 2;
       s.def.ColoursKey = "CONTINENT";
       s.cur.TextLabels = 1;
       s.def.label_fields[static_cast<std::size_t>(field_index(in, "NAME"))] = 1;
       s.def.num_label_fields = 1;
       s.cur.Legend = 1;
     }},
    {"polygons hatched by continent with a legend (release 14)",
     "ne-4.1-geographic/ne_110m_admin_0_countries.shp",
     [](ConvSettings& s, const SelectedInput&) {
       s.verDXF = 6;
       s.cur.Fill = 1;
       s.cur.ColourMethod = 2;
       s.cur.ClassTypeColor = 2;
       s.def.ColoursKey = "CONTINENT";
       s.cur.Legend = 1;
     }},
    {"lines on a layer per country, coloured by layer, with a legend",
     "ne-2.0-wagner7/10m_cultural/ne_10m_railroads_north_america.shp",
     [](ConvSettings& s, const SelectedInput&) {
       s.cur.LayerByFeature = 1;
       s.cur.ClassTypeLayer = 2;
       s.def.LayersKey = "sov_a3";
       s.cur.ColourMethod = 2;
       s.cur.ClassTypeColor = 2;
       s.def.ColoursKey = "sov_a3";
       s.cur.Legend = 1;
     }},
    {"lines labelled with their names along them, coloured by feature class",
     "ne-4.1-geographic/ne_110m_admin_0_boundary_lines_land.shp",
     [](ConvSettings& s, const SelectedInput& in) {
       s.cur.ColourMethod = 2;
       s.cur.ClassTypeColor = 2;
       s.def.ColoursKey = "featurecla";
       s.cur.TextLabels = 1;
       s.def.label_fields[static_cast<std::size_t>(field_index(in, "name"))] = 1;
       s.def.num_label_fields = 1;
     }},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class PreviewOfRealInput : public testing::TestWithParam<Case> {};

TEST_P(PreviewOfRealInput, HoldsWhatTheConversionWritesAndWritesNothing) {
  const Case& c = GetParam();
  if (!fs::exists(fs::path(TSN_TESTDATA_DIR) / c.input)) GTEST_SKIP() << "no test data";
  Workspace w(c.input);
  test::RecordingHost host;
  test::ScopedHost guard(host);
  InteractiveSession session(w.cs);
  // With the log and the trace on: a preview writes to neither.
  w.cs.settings.Log = 1;
  session.open();
  ASSERT_TRUE(open_trace_file(w.cs.settings.program_dir + "trace", true));
  ASSERT_EQ(session.select(w.input, false).prepared, 0);
  c.set(w.cs.settings, session.selected());

  const auto before = files_under(w.dir.path());
  const ConvSettings settings_before = w.cs.settings;
  host.events.clear();
  PreviewDrawing preview;
  ASSERT_EQ(session.preview_drawing(preview), 0);
  EXPECT_EQ(files_under(w.dir.path()), before);
  close_diagnostic_files();
  // Only the busy cursor while it is built: no line, box, progress or question.
  EXPECT_EQ(host.events, (std::vector<std::string>{"busy", "idle"}));
  EXPECT_EQ(w.cs.settings.Runtot, settings_before.Runtot);
  EXPECT_EQ(w.cs.settings.def.ColoursKey, settings_before.def.ColoursKey);
  EXPECT_EQ(w.cs.settings.cur.TextLabels, settings_before.cur.TextLabels);
  EXPECT_EQ(preview.left_out, 0);
  EXPECT_EQ(preview.unknown_blocks, 0);

  const std::string dxf = (w.dir / "out.dxf").string();
  ASSERT_EQ(session.convert(dxf), 0) << host.status_text();
  const DxfDrawing written = read_dxf(dxf);
  Seen expected;
  see_dxf(written, written.entities, false, 7, 7, expected);
  Seen seen = see_preview(preview);
  EXPECT_EQ(seen.tally, expected.tally);
  EXPECT_EQ(seen.polyline_vertices, expected.polyline_vertices);
  ASSERT_EQ(seen.texts.size(), expected.texts.size());
  std::sort(seen.texts.begin(), seen.texts.end());
  std::sort(expected.texts.begin(), expected.texts.end());
  for (std::size_t i = 0; i < seen.texts.size(); ++i) {
    const PlacedText& a = seen.texts[i];
    const PlacedText& b = expected.texts[i];
    ASSERT_EQ(a.text, b.text);
    EXPECT_NEAR(a.x, b.x, 1e-5 * std::max(1.0, std::abs(b.x))) << a.text;
    EXPECT_NEAR(a.y, b.y, 1e-5 * std::max(1.0, std::abs(b.y))) << a.text;
    EXPECT_NEAR(a.height, b.height, 1e-5 * b.height) << a.text;
  }
  // More than one colour, and every shape inside the bounds.
  EXPECT_GT(seen.tally.size(), 2u);
  const PreviewBox& box = preview.bounds;
  for (const Point2& p : preview.points) {
    ASSERT_TRUE(p.x >= box.xmin && p.x <= box.xmax && p.y >= box.ymin && p.y <= box.ymax);
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, PreviewOfRealInput, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                           return "case" + std::to_string(param.index);
                         });

// A budget too small for the input keeps what fits, counts the rest, and leaves nothing
// beyond it.
TEST(PreviewBudget, LeavesOutWhatDoesNotFitAndSaysHowMuch) {
  const char* input = "ne-2.0-wagner7/50m_cultural/ne_50m_admin_0_countries.shp";
  if (!fs::exists(fs::path(TSN_TESTDATA_DIR) / input)) GTEST_SKIP() << "no test data";
  Workspace w(input);
  test::RecordingHost host;
  test::ScopedHost guard(host);
  InteractiveSession session(w.cs);
  ASSERT_EQ(session.select(w.input, false).prepared, 0);
  w.cs.settings.cur.Fill = 1;

  PreviewDrawing whole;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(session.preview_drawing(whole), 0);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("preview of ne_50m_admin_0_countries, filled: %.3f s, %zu shapes, %zu points\n",
              seconds, whole.shapes.size(), whole.points.size());
  EXPECT_EQ(whole.left_out, 0);
  ASSERT_GT(whole.shapes.size(), 1000u);

  struct Limit {
    std::size_t points, shapes;
  };
  for (const Limit limit : {Limit{whole.points.size() / 3, 1u << 30}, Limit{1u << 30, 500}}) {
    PreviewDrawing part;
    part.budget.points = limit.points;
    part.budget.shapes = limit.shapes;
    ASSERT_EQ(session.preview_drawing(part), 0);
    EXPECT_EQ(part.entities, whole.entities);
    EXPECT_GT(part.left_out, 0);
    EXPECT_LT(part.left_out, part.entities);
    EXPECT_LE(part.points.size(), limit.points);
    EXPECT_LE(part.shapes.size() + part.texts.size(), limit.shapes);
    EXPECT_FALSE(part.empty());
  }
}

}  // namespace
}  // namespace tsn
