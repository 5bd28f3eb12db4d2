// Generated benchmark input: point records with a distinct and a repeating attribute.
#include "point_files.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/coding.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

std::string street_name(int k) { return "Street " + std::to_string(k); }

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

}  // namespace

// roads.shp, .shx and .dbf: points on a grid with an ID and a NAME field.
void generate_point_files(const fs::path& dir) {
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
    std::snprintf(row, sizeof row, " %10d%-20s", i, street_name(i % kDistinctNames).c_str());
    dbf.insert(dbf.end(), row, row + record_length);
  }
  dbf.push_back(0x1A);
  save(dir / "roads.shp", shp);
  save(dir / "roads.shx", shx);
  save(dir / "roads.dbf", dbf);
}


}  // namespace bench
