// Builds valid shapefile bytes (.shp and .shx) in memory so a test can change one named field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "input/shape_record.h"
#include "platform/coding.h"
#include "support/scratch_dir.h"

namespace tsn::test {

using Part = std::vector<shape_point>;

inline unsigned char* at(std::string& bytes, std::size_t offset) {
  return reinterpret_cast<unsigned char*>(bytes.data()) + offset;
}
inline void append_le32(std::string& s, std::int32_t v) {
  s.resize(s.size() + 4);
  store_le32(at(s, s.size() - 4), static_cast<std::uint32_t>(v));
}
inline void append_f64(std::string& s, double v) {
  s.resize(s.size() + 8);
  store_le_f64(at(s, s.size() - 8), v);
}

// Record contents (shape type first), as the format lays them out.
inline std::string null_content() {
  std::string s;
  append_le32(s, 0);
  return s;
}
inline std::string point_content(std::int32_t type, double x, double y, double third = 0.0) {
  std::string s;
  append_le32(s, type);
  append_f64(s, x);
  append_f64(s, y);
  if (type == 11 || type == 21) append_f64(s, third);
  return s;
}
// PolyLine/Polygon/MultiPatch with or without Z or M; a Z block for 13, 15 and 31, an M block
// (all zero) for the M types and MultiPatch.
inline std::string multipart_content(std::int32_t type, const std::vector<Part>& parts,
                                     const std::vector<std::int32_t>& part_types = {}) {
  std::vector<shape_point> all;
  std::string s;
  append_le32(s, type);
  for (double v : {0.0, 0.0, 100.0, 100.0}) append_f64(s, v);
  append_le32(s, static_cast<std::int32_t>(parts.size()));
  std::int32_t count = 0;
  for (const Part& p : parts) count += static_cast<std::int32_t>(p.size());
  append_le32(s, count);
  std::int32_t start = 0;
  for (const Part& p : parts) {
    append_le32(s, start);
    start += static_cast<std::int32_t>(p.size());
    all.insert(all.end(), p.begin(), p.end());
  }
  if (type == 31) {
    for (std::size_t i = 0; i < parts.size(); ++i)
      append_le32(s, i < part_types.size() ? part_types[i] : 0);
  }
  for (const shape_point& p : all) {
    append_f64(s, p.x);
    append_f64(s, p.y);
  }
  if (type == 13 || type == 15 || type == 31) {
    append_f64(s, -1.0);
    append_f64(s, 99.0);
    for (const shape_point& p : all) append_f64(s, p.z);
  }
  if (type == 23 || type == 25 || type == 31) {
    for (std::size_t i = 0; i < all.size() + 2; ++i) append_f64(s, 0.0);
  }
  return s;
}
// Byte offsets of named fields: in the headers, and in a multipart record from its start.
inline constexpr std::size_t kFileLength = 24, kVersion = 28, kShapeType = 32, kXmin = 36,
                             kZmin = 68;
inline constexpr std::size_t kContentLength = 4, kNumParts = 44, kNumPoints = 48, kPartStarts = 52;

struct ShapefileBytes {
  std::string shp;
  std::string shx;
  std::vector<std::size_t> record_offsets;  // in shp

  // Patches a little-endian int32 field of record r.
  void set_record_field(std::size_t r, std::size_t field, std::int32_t v) {
    store_le32(at(shp, record_offsets[r] + field), static_cast<std::uint32_t>(v));
  }
  void set_num_parts(std::size_t r, std::int32_t v) { set_record_field(r, kNumParts, v); }
  void set_num_points(std::size_t r, std::int32_t v) { set_record_field(r, kNumPoints, v); }
  void set_part_start(std::size_t r, std::size_t part, std::int32_t v) {
    set_record_field(r, kPartStarts + 4 * part, v);
  }
  // Big-endian, in 16-bit words as stored.
  void set_content_length_words(std::size_t r, std::int32_t words) {
    store_be32(at(shp, record_offsets[r] + kContentLength), static_cast<std::uint32_t>(words));
  }
  void set_index_entry(std::size_t r, std::int32_t offset_words, std::int32_t length_words) {
    store_be32(at(shx, 100 + 8 * r), static_cast<std::uint32_t>(offset_words));
    store_be32(at(shx, 104 + 8 * r), static_cast<std::uint32_t>(length_words));
  }
  void set_header_int(std::size_t field, std::int32_t v) {
    if (field == kFileLength) {
      store_be32(at(shp, field), static_cast<std::uint32_t>(v));
    } else {
      store_le32(at(shp, field), static_cast<std::uint32_t>(v));
    }
  }
  void set_header_double(std::size_t field, double v) { store_le_f64(at(shp, field), v); }
};

inline std::string file_header(std::int32_t type, std::size_t length) {
  std::string h(100, '\0');
  store_be32(at(h, 0), 9994);
  store_be32(at(h, kFileLength), static_cast<std::uint32_t>(length / 2));
  store_le32(at(h, kVersion), 1000);
  store_le32(at(h, kShapeType), static_cast<std::uint32_t>(type));
  const double box[] = {0.0, 0.0, 100.0, 100.0, -5.0, 5.0};
  for (int i = 0; i < 6; ++i) store_le_f64(at(h, kXmin + 8 * i), box[i]);
  return h;
}

// A consistent pair: records numbered from 1, file lengths and index entries filled in.
inline ShapefileBytes build_shapefile(std::int32_t type, const std::vector<std::string>& contents) {
  ShapefileBytes out;
  std::string records;
  std::string entries;
  for (std::size_t i = 0; i < contents.size(); ++i) {
    const std::size_t offset = 100 + records.size();
    out.record_offsets.push_back(offset);
    std::string head(8, '\0');
    store_be32(at(head, 0), static_cast<std::uint32_t>(i + 1));
    store_be32(at(head, 4), static_cast<std::uint32_t>(contents[i].size() / 2));
    records += head + contents[i];
    std::string entry(8, '\0');
    store_be32(at(entry, 0), static_cast<std::uint32_t>(offset / 2));
    store_be32(at(entry, 4), static_cast<std::uint32_t>(contents[i].size() / 2));
    entries += entry;
  }
  out.shp = file_header(type, 100 + records.size()) + records;
  out.shx = file_header(type, 100 + entries.size()) + entries;
  return out;
}

// Writes name.shp (and name.shx unless without_index); returns the .shp path.
inline std::string write_shapefile(const ScratchDir& dir, const ShapefileBytes& files,
                                   bool with_index = true, const std::string& name = "t") {
  write_file(dir / (name + ".shp"), files.shp);
  if (with_index) write_file(dir / (name + ".shx"), files.shx);
  return (dir / (name + ".shp")).string();
}

}  // namespace tsn::test
