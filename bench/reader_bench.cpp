// Reader benchmark: walks a generated shapefile of a million point records with its table and
// compares the time with copying the same files to /dev/null ("cat"), printed as a ratio.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "input/dbf_reader.h"
#include "input/shapefile_reader.h"
#include "platform/coding.h"
#include "point_files.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Seconds to walk every record and every field; -1 when the files are refused.
double read_all(const fs::path& dir, double& checksum) {
  const auto start = Clock::now();
  tsn::ShapefileReader shapes;
  tsn::DbfReader table;
  if (shapes.open((dir / "roads.shp").string()) != 0 || shapes.read_shp_header(false) != 0 ||
      shapes.read_shx_header() != 0 || table.open_table((dir / "roads.dbf").string()) != 0 ||
      table.read_table_header(tsn::TableUse::shapefile_table) != 0) {
    return -1;
  }
  tsn::shape_rec rec;
  for (;;) {
    shapes.read_index_entry();
    const int r = shapes.read_record_header(rec);
    if (r == 1) break;
    if (r == -1) return -1;
    table.save_record_position();
    if (r == -2 || shapes.read_record_content(rec) != 0) {
      table.skip_record();
      continue;
    }
    checksum += rec.points[0].x;
    table.begin_record();
    for (int f = 0; f < static_cast<int>(table.fields().size()); ++f) {
      checksum += static_cast<double>(table.read_field(f).size());
    }
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double cat_all(const fs::path& dir) {
  const std::string cmd = "cat '" + (dir / "roads.shp").string() + "' '" +
                          (dir / "roads.shx").string() + "' '" + (dir / "roads.dbf").string() +
                          "' > /dev/null";
  const auto start = Clock::now();
  if (std::system(cmd.c_str()) != 0) return -1;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main() {
  std::string pattern = (fs::temp_directory_path() / "tsn-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path dir = pattern;
  bench::generate_point_files(dir);
  double best_read = 1e30, best_cat = 1e30, checksum = 0;
  for (int run = 0; run < 3; ++run) {
    const double r = read_all(dir, checksum);
    const double c = cat_all(dir);
    if (r < 0 || c < 0) {
      std::fprintf(stderr, "reader_bench: the generated files were refused\n");
      fs::remove_all(dir);
      return 1;
    }
    best_read = std::min(best_read, r);
    best_cat = std::min(best_cat, c);
  }
  std::uintmax_t bytes = 0;
  for (const char* ext : {"shp", "shx", "dbf"}) bytes += fs::file_size(dir / ("roads." + std::string(ext)));
  fs::remove_all(dir);
  std::printf("reader: %d records, %.1f MB; best of 3: read %.3f s, cat %.3f s; ratio %.2f "
              "(checksum %.0f)\n",
              bench::kRecords, static_cast<double>(bytes) / 1e6, best_read, best_cat,
              best_read / best_cat, checksum);
  return 0;
}
