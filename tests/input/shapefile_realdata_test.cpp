// Reads every shapefile of the test data with our reader and compares it with shapelib's shpdump.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "input/shapefile_reader.h"
#include "support/recording_host.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;

// Records compared per file; the counts are compared in full.
constexpr std::size_t kMaxCompared = 3000;

struct Shape {
  std::string type;  // shpdump's name of the record's type; "refused" for our refusals
  long vertices = 0;
  long parts = 0;
  double first[3] = {0, 0, 0};
  double last[3] = {0, 0, 0};
};

struct Dump {
  bool opened = false;
  std::string type;      // the file's type
  long count = -1;       // "# of Shapes"
  bool stopped = false;  // shapelib gave up on a record ("Unable to read shape")
  std::vector<Shape> shapes;
};

// Names as shpdump prints them, by type code.
std::string shapelib_name(std::int32_t code) {
  static const std::map<std::int32_t, std::string> names = {
      {0, "NullShape"},    {1, "Point"},      {3, "Arc"},   {5, "Polygon"},
      {8, "MultiPoint"},   {11, "PointZ"},    {13, "ArcZ"}, {15, "PolygonZ"},
      {18, "MultiPointZ"}, {21, "PointM"},    {23, "ArcM"}, {25, "PolygonM"},
      {28, "MultiPointM"}, {31, "MultiPatch"}};
  const auto it = names.find(code);
  return it == names.end() ? "UnknownShapeType" : it->second;
}

// "(x,y, z)" or "(x,y, z, m)" after the opening parenthesis.
void parse_vertex(const char* p, double out[3]) {
  p = std::strchr(p, '(');
  if (p == nullptr) return;
  ++p;
  for (int i = 0; i < 3; ++i) {
    char* end = nullptr;
    out[i] = std::strtod(p, &end);
    p = end;
    while (*p == ',' || *p == ' ') ++p;
  }
}

Dump run_shpdump(const fs::path& shp) {
  Dump dump;
  const std::string command = "shpdump -precision 17 " + test::quoted(shp.string()) + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return dump;
  char line[4096];
  bool first_vertex = false;
  while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
    char type[64];
    long n = 0, parts = 0;
    if (std::sscanf(line, "Shapefile Type: %63s # of Shapes: %ld", type, &n) == 2) {
      dump.opened = true;
      dump.type = type;
      dump.count = n;
    } else if (std::strncmp(line, "Shape:", 6) == 0) {
      if (dump.shapes.size() == kMaxCompared) break;
      Shape s;
      if (std::sscanf(line, "Shape:%*d (%63[^)]) nVertices=%ld, nParts=%ld", type, &n, &parts) ==
          3) {
        s.type = type;
        s.vertices = n;
        s.parts = parts;
      }
      dump.shapes.push_back(s);
      first_vertex = true;
    } else if (std::strstr(line, "Unable to read shape") != nullptr) {
      dump.stopped = true;
    } else if (!dump.shapes.empty() && std::strncmp(line, "  Bounds", 8) != 0 &&
               std::strncmp(line, "      to", 8) != 0 && std::strchr(line, '(') != nullptr) {
      Shape& s = dump.shapes.back();
      parse_vertex(line, s.last);
      if (first_vertex) std::copy(s.last, s.last + 3, s.first);
      first_vertex = false;
    }
  }
  return dump;
}

struct OurWalk {
  int header = 0;      // read_shp_header's result
  bool empty = false;  // the header says the file holds no records
  std::string type;
  bool ended = false;  // the walk reached its normal end (1)
  std::vector<Shape> shapes;
};

OurWalk walk_ours(const fs::path& shp) {
  test::RecordingHost host;
  test::ScopedHost guard(host);
  OurWalk out;
  ShapefileReader reader;
  if (reader.open(shp.string()) != 0) return out;
  out.header = reader.read_shp_header(false);
  out.type = shapelib_name(reader.header().shape_type);
  out.empty = reader.header().shp_empty;
  if (out.header != 0 || reader.header().shp_empty || reader.read_shx_header() != 0) return out;
  shape_rec rec;
  for (;;) {
    reader.read_index_entry();
    const int head = reader.read_record_header(rec);
    if (head == 1) out.ended = true;
    if (head == 1 || head == -1) break;
    Shape s;
    if (head == -2) {
      s.type = "NullShape";
    } else if (reader.read_record_content(rec) != 0) {
      s.type = "refused";
    } else {
      s.type = out.type;
      s.vertices = rec.num_points;
      s.parts = rec.num_parts;
      if (rec.num_points > 0) {
        const shape_point& a = rec.points[0];
        const shape_point& b = rec.points[rec.num_points - 1];
        const bool z = rec.has_z || reader.header().shape_type == 11;
        s.first[0] = a.x, s.first[1] = a.y, s.first[2] = z ? a.z : 0.0;
        s.last[0] = b.x, s.last[1] = b.y, s.last[2] = z ? b.z : 0.0;
      }
    }
    out.shapes.push_back(s);
  }
  return out;
}

bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// Files where the two readers are known to part ways, and why. Only the records both read as
// valid are compared; the count is not.
const std::map<std::string, std::string>& known_differences() {
  static const std::map<std::string, std::string> files = {
      {"mixed_shape_type_non_conformant.shp",
       "records of other types than the header's: we decode them as the file's type and refuse "
       "those too short for it; shapelib decodes each by its own type"},
      {"3dpoints.shx",
       "the index header says 8 records but the file holds 22 entries; after the length question "
       "we use all 22 (shapelib the 8 of the header). Entries 6, 7, 20 and 21 point into the "
       "middle of records: both readers take 6 and 7 as null records"},
  };
  return files;
}

// Files without an index whose main file is corrupt part way: our walk stops with an error at
// the record named.
const std::map<std::string, std::string>& corrupt_without_index() {
  static const std::map<std::string, std::string> files = {
      {"ne_10m_time_zones.shp", "record 7 has a garbage header (length 104228288 words)"},
      {"Volume2.shp", "record 2 is garbage"},
  };
  return files;
}

TEST(ShapefileRealData, AgreesWithShapelib) {
  const fs::path root = TSN_TESTDATA_DIR;
  if (!fs::is_directory(root)) GTEST_SKIP() << "no test data folder at " << root;
  if (std::system("shpdump >/dev/null 2>&1") == -1) GTEST_SKIP() << "shpdump not available";

  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file() && entry.path().extension() == ".shp")
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());

  int compared = 0;
  long records = 0;
  for (const fs::path& shp : files) {
    SCOPED_TRACE(shp.string());
    const OurWalk ours = walk_ours(shp);
    fs::path shx = shp;
    const bool has_index =
        fs::exists(shx.replace_extension(".shx")) || fs::exists(shx.replace_extension(".SHX"));
    if (!has_index) {
      // shapelib cannot open these; ours walks the main file to its end or refuses the header.
      const bool corrupt = corrupt_without_index().count(shp.filename().string()) != 0;
      EXPECT_TRUE(ours.header != 0 || ours.empty || ours.ended != corrupt);
      continue;
    }
    const Dump dump = run_shpdump(shp);
    if (!dump.opened) {
      // shapelib refuses the file (e.g. a dBase file renamed, a NUL-to-space corrupted header):
      // ours must refuse it too, or find nothing in it to read.
      EXPECT_TRUE(ours.header != 0 || ours.shapes.empty() ||
                  std::none_of(ours.shapes.begin(), ours.shapes.end(),
                               [](const Shape& s) { return s.vertices > 0; }));
      continue;
    }
    ++compared;
    if (ours.empty) {
      // The type of an empty file is not read.
      EXPECT_EQ(dump.count, 0);
      continue;
    }
    EXPECT_EQ(ours.type, dump.type);
    if (ours.header != 0) {
      // Refused at the header: the unsupported multipoints with Z or M, unknown types.
      EXPECT_TRUE(dump.type == "MultiPointZ" || dump.type == "MultiPointM" ||
                  dump.type == "NullShape")
          << dump.type;
      continue;
    }
    const auto known = known_differences();
    const bool excused =
        known.count(shp.filename().string()) != 0 || known.count(shp.stem().string() + ".shx") != 0;
    if (!excused && !dump.stopped) {
      EXPECT_TRUE(ours.ended);
      EXPECT_EQ(static_cast<long>(ours.shapes.size()), dump.count);
    }
    if (std::getenv("TSN_REALDATA_VERBOSE") != nullptr) {
      std::printf("%s: ours %zu (%s), shapelib %ld%s\n", shp.string().c_str(), ours.shapes.size(),
                  ours.ended ? "end" : "error", dump.count, dump.stopped ? " stopped" : "");
    }
    const std::size_t n = std::min(ours.shapes.size(), kMaxCompared);
    for (std::size_t i = 0; i < n; ++i) {
      const Shape& a = ours.shapes[i];
      if (i >= dump.shapes.size()) {
        // shapelib gave up here: ours must have refused the same record.
        if (!excused) {
          EXPECT_TRUE(dump.stopped && a.type == "refused") << "record " << i << " " << a.type;
        }
        break;
      }
      const Shape& b = dump.shapes[i];
      if (excused && a.type != b.type) continue;
      ++records;
      EXPECT_EQ(a.type, b.type) << "record " << i;
      EXPECT_EQ(a.vertices, b.vertices) << "record " << i;
      EXPECT_EQ(a.parts, b.parts) << "record " << i;
      if (a.vertices == 0 || a.vertices != b.vertices) continue;
      for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(same(a.first[k], b.first[k]))
            << "record " << i << " first " << k << ": " << a.first[k] << " vs " << b.first[k];
        EXPECT_TRUE(same(a.last[k], b.last[k]))
            << "record " << i << " last " << k << ": " << a.last[k] << " vs " << b.last[k];
      }
    }
  }
  EXPECT_GT(compared, 100);
  EXPECT_GT(records, 10000);
}

}  // namespace
}  // namespace tsn
