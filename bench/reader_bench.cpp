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

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRecords = 1'000'000;
constexpr int kRecordBytes = 8 + 20;  // header + type, X, Y

void write_header(std::vector<unsigned char>& out, std::int64_t file_bytes) {
  unsigned char h[100] = {};
  tsn::store_be32(h, 9994);
  tsn::store_be32(h + 24, static_cast<std::uint32_t>(file_bytes / 2));
  tsn::store_le32(h + 28, 1000);
  tsn::store_le32(h + 32, 1);
  tsn::store_le_f64(h + 36, 0.0);
  tsn::store_le_f64(h + 44, 0.0);
  tsn::store_le_f64(h + 52, 1000.0);
  tsn::store_le_f64(h + 60, 1000.0);
  out.insert(out.end(), h, h + 100);
}

void save(const fs::path& file, const std::vector<unsigned char>& bytes) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// roads.shp, .shx and .dbf: points on a grid with an ID and a NAME field.
void generate(const fs::path& dir) {
  std::vector<unsigned char> shp, shx, dbf;
  write_header(shp, 100 + std::int64_t{kRecords} * kRecordBytes);
  write_header(shx, 100 + std::int64_t{kRecords} * 8);
  unsigned char rec[kRecordBytes];
  unsigned char entry[8];
  for (int i = 0; i < kRecords; ++i) {
    tsn::store_be32(rec, static_cast<std::uint32_t>(i + 1));
    tsn::store_be32(rec + 4, 10);
    tsn::store_le32(rec + 8, 1);
    tsn::store_le_f64(rec + 12, (i % 1000) * 1.0);
    tsn::store_le_f64(rec + 20, (i / 1000) * 1.0);
    shp.insert(shp.end(), rec, rec + kRecordBytes);
    tsn::store_be32(entry, static_cast<std::uint32_t>((100 + std::int64_t{i} * kRecordBytes) / 2));
    tsn::store_be32(entry + 4, 10);
    shx.insert(shx.end(), entry, entry + 8);
  }
  const int record_length = 1 + 10 + 20;
  unsigned char head[32] = {};
  head[0] = 3;
  tsn::store_le32(head + 4, kRecords);
  tsn::store_le16(head + 8, 32 + 2 * 32 + 1);
  tsn::store_le16(head + 10, record_length);
  dbf.insert(dbf.end(), head, head + 32);
  const char* names[] = {"ID", "NAME"};
  const char types[] = {'N', 'C'};
  const unsigned char widths[] = {10, 20};
  for (int f = 0; f < 2; ++f) {
    unsigned char d[32] = {};
    std::snprintf(reinterpret_cast<char*>(d), 11, "%s", names[f]);
    d[11] = static_cast<unsigned char>(types[f]);
    d[16] = widths[f];
    dbf.insert(dbf.end(), d, d + 32);
  }
  dbf.push_back(0x0D);
  char row[64];
  for (int i = 0; i < kRecords; ++i) {
    std::snprintf(row, sizeof row, " %10d%-20s", i, "Main Street");
    dbf.insert(dbf.end(), row, row + record_length);
  }
  dbf.push_back(0x1A);
  save(dir / "roads.shp", shp);
  save(dir / "roads.shx", shx);
  save(dir / "roads.dbf", dbf);
}

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
    const int r = shapes.read_record_header(rec, false);
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
  generate(dir);
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
              kRecords, static_cast<double>(bytes) / 1e6, best_read, best_cat,
              best_read / best_cat, checksum);
  return 0;
}
