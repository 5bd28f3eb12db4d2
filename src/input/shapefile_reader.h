// Reader of a shapefile's main file (.shp) and index (.shx): header checks, records one by one.
//
// Layout (the lengths and offsets given in 16-bit words are doubled to bytes when read):
//   .shp header, 100 bytes: file code (big), 20 unused, file length in words (big), version
//     (little), shape type (little), Xmin Ymin Xmax Ymax Zmin Zmax Mmin Mmax (little doubles).
//   .shx: the same header, then 8 bytes per record: offset and content length in words (big).
//   .shp record: number (big), content length in words (big), then the content, whose first
//     field is the record's shape type (little):
//       point       X Y [third value]                       (PointZ: Z, PointM: M)
//       multipoint  box, NumPoints, NumPoints × (X Y)
//       multipart   box, NumParts, NumPoints, NumParts part starts, [MultiPatch: NumParts part
//                   types], NumPoints × (X Y), [Z types: Zmin Zmax, NumPoints × Z], [M data]
//
// Every count, offset and length from either file is checked against the bytes really present
// (the file size, or the record's content length) before anything is allocated or read. Both
// files are read through a block buffer (ByteSource): a walk in file order costs one read call per
// block, and a record's content is decoded where it lies in the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "input/shape_record.h"
#include "platform/byte_source.h"

namespace tsn {

// The index file belonging to a main file: the same name with the extension "shx" in any case,
// the case of the main file's extension preferred.
std::string index_path_for(const std::string& shp_path);

// Owns the .shp and .shx of one input from open() to close() or destruction.
//
// Calling order: open, read_shp_header, read_shx_header; then per record read_index_entry,
// read_record_header and, on 0, the content reader of the file's type (read_record_content
// chooses it). The records are found by the main file's own walk, each 8 + content length bytes
// after the previous one; the index only confirms it, and gives the content length when the
// record's own disagrees and the index's leads to the next entry's record. An index entry that
// does not give the offset and length of the record the walk finds, or an index with fewer or
// more entries than the main file has records, is reported once as damaged and is not consulted
// again. Result codes:
//   read_record_header  0 a record to decode; -2 a null record (reported, skip it and its table
//                       row); 1 the end of the main file; -1 an error: the position of further
//                       records cannot be trusted, stop the file.
//   content readers     0, or -1 when the record's content is refused (reported): this record
//                       cannot be drawn, but the next read_record_header finds the next record.
class ShapefileReader {
 public:
  static constexpr std::int64_t kHeaderBytes = 100;

  // Opens the main file and its index. -1 (nothing reported: the caller says that the input
  // could not be opened) when the main file cannot be opened. A missing index is reported and
  // the records are then found by walking the main file.
  int open(const std::string& shp_path);
  // The main file's and the index's bytes themselves (tests, fuzzing): `name` stands for the main
  // file in messages, the index takes its name with the extension "shx" ("SHX" after an
  // upper-case extension). Without index bytes the index is reported missing, as in open().
  void open_memory(std::string shp_bytes, std::optional<std::string> shx_bytes, std::string name);
  void close();

  bool is_open() const { return shp_.is_open(); }
  bool index_open() const { return shx_.is_open(); }
  const std::string& shp_path() const { return shp_path_; }
  const std::string& index_path() const { return shx_path_; }
  const shp_header& header() const { return header_; }
  // Entries the index holds (after its length check), 0 without a usable index.
  std::int64_t index_entry_count() const { return index_entries_; }

  // Reads and checks the main header; questions are asked only when interactive. 0 accepted
  // (header().shp_empty may be set), -1 refused: among others a file shorter than the header
  // itself. A file shorter than the length its header gives is reported (or, interactively,
  // the user asked).
  int read_shp_header(bool interactive);
  // The last read_shp_header failed because the user answered No to one of its questions.
  bool question_declined() const { return declined_; }
  // Reads the index header and checks its length (asking the user when `ask`; else the real
  // length is taken). 0, or -1 when the user declines. Does nothing for an empty main file or
  // without an index.
  int read_shx_header(bool ask = true);
  // Takes the next index entry: the offset and content length of the coming record. Does
  // nothing for an empty main file, without an index, once the index was found damaged or when
  // it is exhausted.
  void read_index_entry();
  // Reads the next record's number, content length and type where the walk of the main file
  // places it, and checks the index entry taken for it.
  int read_record_header(shape_rec& rec);
  // Keeps quiet about a damaged index and bytes after the last record: a walk of an input that
  // its conversion walks again and reports.
  void quiet_walk() { quiet_ = true; }
  // True once the index was reported damaged.
  bool index_damaged() const { return index_damaged_; }

  // Content readers for the record whose header was read last, decoded as the file's type. Each
  // count is checked against the content length before the arrays grow, so they never hold more
  // than 1.5 times the content (24 bytes per point for 16 in the file). A point record that ends
  // after X and Y gets 0 as its third value.
  int read_point_record(shape_rec& rec);
  int read_multipoint_record(shape_rec& rec);
  // PolyLine, Polygon and MultiPatch with or without Z or M.
  int read_multipart_record(shape_rec& rec);
  // The content reader of the file's type.
  int read_record_content(shape_rec& rec);

 private:
  class Cursor;

  bool read_shp_field(std::int64_t offset, std::size_t n, unsigned char* dst);
  void report_read_error(const ByteSource& file) const;
  void report_missing_index() const;
  void report_damaged_index(const std::string& detail);
  void report_trailing_bytes(std::int64_t start) const;
  std::int64_t record_length(std::int64_t start, std::int64_t own);
  void check_index_entry(std::int64_t start, std::int64_t length, bool at_end);
  int refuse(const char* format, ...) const __attribute__((format(printf, 2, 3)));
  int load_content(const shape_rec& rec, std::span<const unsigned char>& content);
  int grow(shape_rec& rec, std::int32_t parts, std::int32_t points);
  int read_part_arrays(Cursor& in, shape_rec& rec, bool part_types);

  ByteSource shp_;
  ByteSource shx_;
  std::string shp_path_;
  std::string shx_path_;
  shp_header header_;

  std::int64_t index_entries_ = 0;
  std::int64_t index_next_ = 0;     // entries taken so far
  bool index_checked_ = false;      // the index is open with a readable header
  bool index_damaged_ = false;      // reported; its entries are no longer taken
  bool entry_taken_ = false;        // read_index_entry gave an entry for the coming record
  std::int64_t index_offset_ = -1;  // of the coming record, bytes
  std::int64_t index_length_ = -1;  // content length of the coming record, bytes

  std::int64_t records_seen_ = 0;            // record headers read, the current one included
  std::int64_t record_start_ = 0;            // byte offset of the current record's header
  std::int64_t next_record_ = kHeaderBytes;  // where the sequential walk continues
  bool declined_ = false;
  bool have_record_ = false;                 // a record header was read and its content not refused
  bool quiet_ = false;                       // see quiet_walk
};

}  // namespace tsn
