// The dBase III table reader: header and descriptor checks, then one buffered pass over records.
#include "input/dbf_reader.h"

#include <algorithm>
#include <utility>

#include "input/file_length.h"
#include "input/input_report.h"
#include "platform/coding.h"
#include "platform/format.h"

namespace tsn {

namespace {

constexpr int kHeaderBytes = 32;
constexpr int kDescriptorBytes = 32;

bool is_terminator(char c) { return c == 0x0D || c == 0x0A; }

// Text up to the first NUL: fields and names are NUL-terminated texts.
std::string_view until_nul(std::string_view s) { return s.substr(0, s.find('\0')); }

}  // namespace

int DbfReader::open_table(const std::string& path) {
  header_read_ = false;
  return source_.open_file(path);
}

void DbfReader::open_memory(std::string bytes, std::string name) {
  header_read_ = false;
  source_.open_memory(std::move(bytes), std::move(name));
}

int DbfReader::read_table_header(TableUse use) {
  header_read_ = false;
  fields_.clear();
  offsets_.clear();
  have_record_ = false;
  const char* name = source_.name().c_str();
  const std::string_view head = source_.view(0, kHeaderBytes);
  if (head.size() < kHeaderBytes) {
    report_input_problem(format_printf("%s is too short for a dBase header (%ld bytes).", name,
                                       long(source_.size())));
    return -1;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(head.data());
  version_ = p[0];
  language_byte_ = p[29];
  if (use == TableUse::stand_alone && (version_ & 0x0F) != 3) {
    report_input_problem(format_printf(
        "Wrong .dbf version (%ld), This software will only translate dBase III format",
        long(version_)));
    return -1;
  }
  const std::int32_t count = load_le_i32(p + 4);
  header_length_ = load_le16(p + 8);
  record_length_ = load_le16(p + 10);
  if (count < 0) {
    report_input_problem(format_printf("%s: the dBase header gives a negative record count (%ld).",
                                       name, long(count)));
    return -1;
  }
  // Both lengths are 16-bit, so this product stays far inside 64 bits.
  table_length_ = std::int64_t{record_length_} * count + header_length_ + 1;
  // Bytes held in memory have no file whose size could disagree.
  if (use == TableUse::shapefile_table && !source_.in_memory() &&
      check_file_length(CheckedFile::dbf, source_.size(), true, table_length_) != 0) {
    return -1;
  }
  if (parse_descriptors() != 0) return -1;
  record_count_ = count;
  // A table without records is never read: its record length does not matter.
  if (count == 0) {
    header_read_ = true;
    return rewind();
  }
  if (check_record_layout() != 0) return -1;

  // Only whole records present in the file are read; the final end-of-file byte may be absent.
  const std::int64_t data_bytes = std::max<std::int64_t>(0, source_.size() - header_length_);
  const std::int64_t present = data_bytes / record_length_;
  if (present < count) {
    report_input_problem(format_printf(
        "%s: the dBase header gives %ld records but the file holds only %ld; reading those.", name,
        long(count), long(present)));
    record_count_ = static_cast<long>(present);
  }
  header_read_ = true;
  return rewind();
}

// Descriptors from offset 32 up to the terminator, all inside the header length; the first 256
// are kept.
int DbfReader::parse_descriptors() {
  const char* name = source_.name().c_str();
  descriptor_count_ = 0;
  all_widths_ = 0;
  for (int offset = kHeaderBytes;; offset += kDescriptorBytes) {
    const std::string_view first = source_.view(offset, 1);
    if (first.empty()) {
      report_input_problem(
          format_printf("%s ends inside its field descriptors (no terminator byte).", name));
      return -1;
    }
    if (is_terminator(first[0]) && offset < header_length_) return 0;
    if (offset + kDescriptorBytes >= header_length_) {
      report_input_problem(format_printf(
          "%s: the header length (%d) is too small for its field descriptors, or the terminator "
          "byte is missing.",
          name, header_length_));
      return -1;
    }
    const std::string_view d = source_.view(offset, kDescriptorBytes);
    if (d.size() < kDescriptorBytes) {
      report_input_problem(
          format_printf("%s ends inside its field descriptors (no terminator byte).", name));
      return -1;
    }
    const int width = static_cast<unsigned char>(d[16]);
    if (width == 0) {
      const std::string field_name(until_nul(d.substr(0, kFieldNameChars)));
      report_input_problem(format_printf("%s: field %d (%s) has width 0.", name,
                                         descriptor_count_ + 1, field_name.c_str()));
      return -1;
    }
    if (descriptor_count_ < kMaxTableFields) {
      dbf_field f;
      f.name = std::string(until_nul(d.substr(0, kFieldNameChars)));
      f.type = d[11];
      f.width = width;
      f.decimals = static_cast<unsigned char>(d[17]);
      offsets_.push_back(1 + all_widths_);
      fields_.push_back(std::move(f));
    }
    all_widths_ += width;
    ++descriptor_count_;
  }
}

int DbfReader::check_record_layout() {
  if (record_length_ < all_widths_ + 1) {
    report_input_problem(format_printf(
        "%s: the record length (%d) is shorter than its fields (%d bytes with the deletion flag).",
        source_.name().c_str(), record_length_, all_widths_ + 1));
    return -1;
  }
  return 0;
}

void DbfReader::save_record_position() { saved_ = cursor_; }

int DbfReader::begin_record() {
  have_record_ = false;
  if (!header_read_ || saved_ < 0 || saved_ >= record_count_) return kNoSuchRow;
  const std::int64_t at = header_length_ + std::int64_t{saved_} * record_length_;
  const std::string_view bytes = source_.view(at, static_cast<std::size_t>(record_length_));
  // The row was present when the table was opened.
  if (bytes.size() != static_cast<std::size_t>(record_length_)) {
    return report_unreadable_row(source_.name(), saved_ + 1, source_.error());
  }
  record_.assign(bytes);
  have_record_ = true;
  // The cursor only moves forward between rewinds.
  cursor_ = std::max(cursor_, saved_ + 1);
  return 0;
}

std::string_view DbfReader::read_field(int i) {
  if (!have_record_ || i < 0 || i >= static_cast<int>(fields_.size())) return {};
  const auto width = static_cast<std::size_t>(fields_[i].width);
  return until_nul(std::string_view(record_).substr(static_cast<std::size_t>(offsets_[i]), width));
}

int DbfReader::skip_record() {
  if (!header_read_ || cursor_ >= record_count_) return kNoSuchRow;
  ++cursor_;
  return 0;
}

int DbfReader::rewind() {
  if (!header_read_) return -1;
  cursor_ = 0;
  saved_ = 0;
  have_record_ = false;
  return 0;
}

}  // namespace tsn
