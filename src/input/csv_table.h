// Comma-delimited point tables: one record per line, an optional header line of field names.
//
// Format as read here: records end with LF (a CR before it is dropped), whatever their length up
// to kCsvMaxRecord bytes (a longer record is left out with a message); the first empty line (or
// the end of the file) ends the table. Fields are separated by commas, or by semicolons or tabs
// when the first line has more of those than commas; a field that starts with a double quote
// runs to the closing quote (separators and line breaks included, "" for one quote). At most 256
// columns, as many as the first line has fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/dbf_field.h"
#include "input/table_reader.h"
#include "platform/byte_source.h"

namespace tsn {

// The longest record read; the file is read in blocks, so memory stays within a few times this.
inline constexpr std::size_t kCsvMaxRecord = std::size_t{4} << 20;

// csv_value_class results; a value of 0 or more is a number with that many decimals.
inline constexpr int kCsvEmpty = -3;    // nothing but spaces
inline constexpr int kCsvText = -2;     // anything that is not a number
inline constexpr int kCsvInteger = -1;  // digits without a decimal point

int csv_value_class(std::string_view text);

struct CsvToken {
  std::string text;      // the field, unquoted and trimmed of spaces
  std::size_t next = 0;  // where the following field starts
  bool last = true;      // no comma followed: this was the line's last field
};

// The field that starts at pos; past the end of the line an empty last field.
CsvToken csv_token(std::string_view line, std::size_t pos, char delimiter = ',');

// The field separator of a table from its first line: ';' or '\t' when it occurs there more
// often than ',' (and than the other), else ','. Quoted text does not count.
char csv_delimiter(std::string_view first_line);

struct CsvVertex {
  double x = 0.0;
  double y = 0.0;
};

// The rows of one polygon of a vertex table.
struct CsvPolygon {
  std::vector<CsvVertex> points;  // as read, the closing vertex included when found
  double xmin = 0.0;
  double ymin = 0.0;
  double xmax = 0.0;
  double ymax = 0.0;
  bool closed = false;  // a row returned to the first vertex
};

class CsvReader final : public TableReader {
 public:
  CsvReader();

  // Opens the file; 0, or -1 without a message (the caller reports it).
  int open_table(const std::string& path);
  // Reads table text held in memory; `name` stands for the file in messages.
  void open_memory(std::string bytes, std::string name);

  // Counts the records, infers the columns (type, decimals, name, width) and finds out whether
  // the first line is a header. A first line with a numeric field is no header: csv_has_header
  // is turned off with a message. Leaves the table at its first record; 0, or -1 when the table
  // is not open.
  // Whether every byte of the file is valid UTF-8 (a byte-order mark included).
  bool text_is_utf8();
  // The first bytes of the file (at most n).
  std::string head(std::size_t n);
  int csv_scan(int& csv_has_header);
  bool has_header() const { return has_header_; }
  char delimiter() const { return delimiter_; }

  // One polygon from the saved record on: rows up to the one that returns to the first vertex
  // (within 1e-12), or up to the last row with a message. Leaves the saved position at the first
  // row (its attributes) and the cursor after the polygon. 0, or -1 when no row is left.
  int csv_polygon_scan(int x_field, int y_field, CsvPolygon& polygon);
  // Rows taken by polygons so far; the walk over polygons ends when it reaches record_count().
  long rows_consumed() const { return consumed_; }

  const std::vector<dbf_field>& fields() const override { return fields_; }
  long record_count() const override { return record_count_; }
  void save_record_position() override;
  int begin_record() override;
  std::string_view read_field(int i) override;
  int skip_record() override;
  int rewind() override;

 private:
  struct Position {
    std::int64_t offset = 0;
    long row = 0;  // record number
  };

  // Where a record ends: its length without the line end, the offset of the next record and
  // the lines it spans.
  struct RecordEnd {
    std::size_t length = 0;
    std::int64_t next = 0;
    long lines = 0;
  };
  // false when no byte is left at offset.
  bool find_record_end(std::int64_t offset, RecordEnd& end);
  // The record at offset (records longer than kCsvMaxRecord passed over) and where the next one
  // starts; false at the end of the file. `lines`, when given, gets the lines read, the passed
  // over records included, and `refused` the records passed over.
  bool read_line(std::int64_t offset, std::string_view& line, std::int64_t& next,
                 long* lines = nullptr, long* refused = nullptr);
  // Lines from offset to the last one that is not empty.
  long lines_with_text(std::int64_t offset);
  void scan_data_line(std::string_view line);
  void scan_first_line(std::string_view line, int& csv_has_header);
  std::string line_field(std::string_view line, int i) const;

  ByteSource source_;
  char delimiter_ = ',';
  std::vector<dbf_field> fields_;
  std::vector<dbf_field> columns_;  // 256 slots while scanning
  long record_count_ = 0;
  bool has_header_ = false;
  bool scanned_ = false;
  Position first_;
  Position cursor_;
  Position saved_;
  long consumed_ = 0;

  std::string line_;                 // the record begun
  std::vector<std::string> tokens_;  // its fields split so far (capacity 256: views stay valid)
  std::size_t token_pos_ = 0;
  bool tokens_done_ = true;
  bool have_record_ = false;
};

}  // namespace tsn
