// The dBase III table reader: the attribute table of a shapefile, or a stand-alone point table.
//
// Layout (little-endian): a 32-byte header (version byte, 3 date bytes, record count int32,
// header length uint16, record length uint16, 20 reserved bytes), then 32-byte field descriptors
// (name 11 bytes NUL-padded, type, 4 bytes address, width, decimal count, 14 reserved) up to a
// terminator byte 0x0D (or 0x0A). Records start at the header length: a deletion flag, then each
// field as text of exactly its width. Deleted records are read like any other.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/dbf_field.h"
#include "input/table_reader.h"
#include "platform/byte_source.h"

namespace tsn {

// What a table is read for: the attributes of a shapefile (length-checked with a question, no
// version check) or the points of a stand-alone table (version-checked, not length-checked).
enum class TableUse { shapefile_table, stand_alone };

class DbfReader final : public TableReader {
 public:
  // Opens the file for binary reading; 0, or -1 without a message (the caller reports it).
  int open_table(const std::string& path);
  // Reads table bytes held in memory; `name` stands for the file in messages. Such a table is
  // never length-checked.
  void open_memory(std::string bytes, std::string name);

  // Parses the header and the field descriptors and positions the table at its first record.
  // 0, or -1 after a message naming the file (wrong version, a malformed header, or the user's
  // No to the length question).
  int read_table_header(TableUse use);

  int version() const { return version_; }
  // The language driver byte of the header (byte 29): the table's code page, 0 when unsaid.
  int language_byte() const { return language_byte_; }
  // Header length + record count x record length + 1 (or the real size after the length check
  // replaced it).
  std::int64_t table_length() const { return table_length_; }
  int header_length() const { return header_length_; }
  int record_length() const { return record_length_; }

  const std::vector<dbf_field>& fields() const override { return fields_; }
  long record_count() const override { return record_count_; }
  void save_record_position() override;
  int begin_record() override;
  std::string_view read_field(int i) override;
  int skip_record() override;
  int rewind() override;

 private:
  int parse_descriptors();
  int check_record_layout();

  ByteSource source_;
  std::vector<dbf_field> fields_;
  std::vector<int> offsets_;  // start of each kept field within a record
  int version_ = 0;
  int language_byte_ = 0;
  long record_count_ = 0;
  int header_length_ = 0;
  int record_length_ = 0;
  int descriptor_count_ = 0;  // every descriptor in the header, including those past 256
  int all_widths_ = 0;        // sum of the widths of every descriptor
  std::int64_t table_length_ = 0;
  bool header_read_ = false;

  // Record cursor by index: `cursor_` is the next record to read, `saved_` the current one.
  long cursor_ = 0;
  long saved_ = 0;
  std::string record_;  // the record begun, deletion flag first
  bool have_record_ = false;
};

}  // namespace tsn
