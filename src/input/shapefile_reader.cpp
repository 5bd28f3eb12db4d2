// Reader of a shapefile's main file and index: header checks, the index, and record decoding.
#include "input/shapefile_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <new>
#include <string_view>
#include <system_error>
#include <utility>

#include "input/file_length.h"
#include "input/input_report.h"
#include "input/shape_types.h"
#include "platform/coding.h"
#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/string_table.h"

namespace tsn {

namespace {

constexpr int kMissingIndexMessage = 276;
constexpr const char* kPrematureEnd = "Premature end of file reached.";
// Record header (number, content length) plus the shape type, the first field of the content.
constexpr std::int64_t kRecordHeadBytes = 12;
constexpr std::int64_t kIndexEntryBytes = 8;
constexpr double kExtentLimit = 1e100;

bool upper_case_extension(const std::filesystem::path& path) {
  const std::string ext = path.extension().string();
  return ext.size() > 1 &&
         std::all_of(ext.begin() + 1, ext.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

}  // namespace

std::string index_path_for(const std::string& shp_path) { return find_companion(shp_path, "shx"); }

// ---- Bounded reading of one record's content

// Reads little-endian fields inside the record's content only. Callers check has() for a whole
// group of fields first; a read past the end yields 0 and never touches memory outside.
class ShapefileReader::Cursor {
 public:
  explicit Cursor(std::span<const unsigned char> bytes) : p_(bytes.data()), left_(bytes.size()) {}

  std::int64_t left() const { return static_cast<std::int64_t>(left_); }
  bool has(std::int64_t n) const { return n >= 0 && n <= left(); }

  std::int32_t i32() {
    if (left_ < 4) return take_nothing<std::int32_t>();
    const std::int32_t v = load_le_i32(p_);
    advance(4);
    return v;
  }
  double f64() {
    if (left_ < 8) return take_nothing<double>();
    const double v = load_le_f64(p_);
    advance(8);
    return v;
  }
  shape_box box() {
    shape_box b;
    b.xmin = f64();
    b.ymin = f64();
    b.xmax = f64();
    b.ymax = f64();
    return b;
  }

 private:
  template <typename T>
  T take_nothing() {
    left_ = 0;
    return T{};
  }
  void advance(std::size_t n) {
    p_ += n;
    left_ -= n;
  }

  const unsigned char* p_;
  std::size_t left_;
};

// ---- Opening and closing

int ShapefileReader::open(const std::string& shp_path) {
  close();
  if (shp_.open_file(shp_path) != 0) return -1;
  shp_path_ = shp_path;
  shx_path_ = index_path_for(shp_path);
  if (shx_.open_file(shx_path_) != 0) report_missing_index();
  return 0;
}

void ShapefileReader::open_memory(std::string shp_bytes, std::optional<std::string> shx_bytes,
                                  std::string name) {
  close();
  // No file system here: the index's name follows the case of the main file's extension.
  std::filesystem::path index(name);
  index.replace_extension(upper_case_extension(index) ? "SHX" : "shx");
  shp_path_ = name;
  shx_path_ = index.string();
  shp_.open_memory(std::move(shp_bytes), std::move(name));
  if (shx_bytes) {
    shx_.open_memory(std::move(*shx_bytes), shx_path_);
  } else {
    report_missing_index();
  }
}

void ShapefileReader::close() {
  shp_.close();
  shx_.close();
  shp_path_.clear();
  shx_path_.clear();
  header_ = shp_header{};
  index_entries_ = 0;
  index_next_ = 0;
  index_checked_ = false;
  index_damaged_ = false;
  entry_taken_ = false;
  index_offset_ = -1;
  index_length_ = -1;
  records_seen_ = 0;
  record_start_ = 0;
  next_record_ = kHeaderBytes;
  have_record_ = false;
  quiet_ = false;
}

// ---- Reports

void ShapefileReader::report_read_error(const ByteSource& file) const {
  const std::string reason = file.error() != 0 ? std::strerror(file.error()) : kPrematureEnd;
  report_input_problem(
      format_printf("Error reading file %s. %s", file.name().c_str(), reason.c_str()));
}

void ShapefileReader::report_missing_index() const {
  report_input_problem(format_printf(load_text(kMissingIndexMessage).c_str(), shx_path_.c_str()));
}

void ShapefileReader::report_trailing_bytes(std::int64_t start) const {
  if (quiet_) return;
  report_input_problem(format_printf(
      "Shapefile %s ends with %lld bytes after its last record that are no record; they are "
      "ignored.",
      shp_path_.c_str(), static_cast<long long>(shp_.size() - start)));
}

void ShapefileReader::report_damaged_index(const std::string& detail) {
  index_damaged_ = true;
  if (quiet_) return;
  report_input_problem(format_printf(
      "Index %s is damaged: %s. The index is not used for the rest of the file; the records are "
      "read in the order of %s.",
      shx_path_.c_str(), detail.c_str(), shp_path_.c_str()));
}

int ShapefileReader::refuse(const char* format, ...) const {
  va_list args;
  va_start(args, format);
  const std::string detail = vformat_printf(format, args);
  va_end(args);
  report_input_problem(
      format_printf("Error reading file %s. %s", shp_path_.c_str(), detail.c_str()));
  return -1;
}

bool ShapefileReader::read_shp_field(std::int64_t offset, std::size_t n, unsigned char* dst) {
  const std::string_view bytes = shp_.view(offset, n);
  if (bytes.size() == n) {
    std::memcpy(dst, bytes.data(), n);
    return true;
  }
  report_read_error(shp_);
  return false;
}

// ---- Headers

int ShapefileReader::read_shp_header(bool interactive) {
  header_ = shp_header{};
  records_seen_ = 0;
  declined_ = false;
  next_record_ = kHeaderBytes;
  have_record_ = false;

  if (shp_.size() < kHeaderBytes) {
    report_input_problem(format_printf("Shapefile %s is damaged: %lld bytes, shorter than the "
                                       "%lld-byte header.",
                                       shp_path_.c_str(), static_cast<long long>(shp_.size()),
                                       static_cast<long long>(kHeaderBytes)));
    return -1;
  }
  unsigned char b[kHeaderBytes];
  if (!read_shp_field(0, 28, b)) return -1;  // file code, 20 unused bytes, file length
  std::int64_t length = std::int64_t{load_be_i32(b + 24)} * 2;
  // A file that ends before its header says may have lost records at its end; the user who is
  // not asked is told. (Headers with lengths of no meaning are common enough that the records
  // present are still read: one cut inside a record stops the walk.)
  if (!interactive && length > shp_.size()) {
    report_input_problem(format_printf(
        "Shapefile %s may have been cut short: its header gives a length of %lld bytes, the file "
        "holds %lld; the records present are read.",
        shp_path_.c_str(), static_cast<long long>(length), static_cast<long long>(shp_.size())));
  }
  if (check_file_length(CheckedFile::shp, shp_.size(), interactive, length) != 0 && interactive) {
    declined_ = true;
    return -1;
  }
  header_.file_length = length;

  if (length <= kHeaderBytes) {
    const std::string text =
        format_printf("Shapefile %s does not contain any data.", shp_path_.c_str());
    report_input_problem(text);
    if (interactive && !ask_continue(text)) {
      declined_ = true;
      return -1;
    }
    header_.shp_empty = true;
    return 0;
  }

  if (!read_shp_field(28, 4, b + 28)) return -1;
  header_.version = load_le_i32(b + 28);
  if (header_.version != 1000) {
    const std::string text =
        format_printf("Unknown Version (%ld), %s may not be an ArcView shapefile",
                      long{header_.version}, shp_path_.c_str());
    report_input_problem(text);
    if (interactive && !ask_continue(text)) {
      declined_ = true;
      return -1;
    }
  }

  if (!read_shp_field(32, 36, b + 32)) return -1;  // shape type and the box
  header_.shape_type = load_le_i32(b + 32);
  header_.xmin = load_le_f64(b + 36);
  header_.ymin = load_le_f64(b + 44);
  header_.xmax = load_le_f64(b + 52);
  header_.ymax = load_le_f64(b + 60);
  for (const double v : {header_.xmin, header_.ymin, header_.xmax, header_.ymax}) {
    // NaN and infinities stand for no box at all: the driver treats the box as absent.
    if (std::isfinite(v) && std::fabs(v) > kExtentLimit) {
      report_input_problem(
          format_printf("%s has invalid extents, cannot translate.", shp_path_.c_str()));
      return -1;
    }
  }

  if (!read_shp_field(68, 32, b + 68)) return -1;  // Z range, then the M range read past
  const shape_type_info& type = shape_type_lookup(header_.shape_type);
  if ((type.index >= 5 && type.index <= 8) || header_.shape_type == 31) {
    header_.zmin = load_le_f64(b + 68);
    header_.zmax = load_le_f64(b + 76);
  }

  if (type.index == 0) {
    report_input_problem(format_printf("Unknown Type, %s is invalid or is not an ArcView shapefile",
                                       shp_path_.c_str()));
    return -1;
  }
  header_.type_name = std::string(type.name);
  if (!type.accepted) {
    host().beep(Icon::none);
    host().message_box("Unsupported Shapefile Type",
                       format_printf("Shape type %s not supported in this version of Tessaryn.",
                                     header_.type_name.c_str()),
                       Icon::warning, Buttons::ok, Answer::ok);
    return -1;
  }
  return 0;
}

int ShapefileReader::read_shx_header(bool ask) {
  index_offset_ = -1;
  index_length_ = -1;
  index_entries_ = 0;
  index_next_ = 0;
  index_checked_ = false;
  index_damaged_ = false;
  entry_taken_ = false;
  if (header_.shp_empty || !shx_.is_open()) return 0;

  const std::string_view head = shx_.view(0, 28);
  if (head.size() != 28) {
    // An index too short for its own header gives no entries: the main file is walked instead.
    report_read_error(shx_);
    return 0;
  }
  std::int64_t length =
      std::int64_t{load_be_i32(reinterpret_cast<const unsigned char*>(head.data()) + 24)} * 2;
  if (check_file_length(CheckedFile::shx, shx_.size(), ask, length) != 0) return -1;
  // Entries are counted from the checked length but never beyond the bytes really present.
  const std::int64_t usable = std::min(length, shx_.size());
  index_entries_ = usable > kHeaderBytes ? (usable - kHeaderBytes) / kIndexEntryBytes : 0;
  index_checked_ = true;
  if (index_entries_ == 0) trace_write("Index %s lists no records\n", shx_path_.c_str());
  return 0;
}

void ShapefileReader::read_index_entry() {
  entry_taken_ = false;
  index_offset_ = -1;
  index_length_ = -1;
  if (header_.shp_empty || !index_checked_ || index_damaged_ || index_next_ >= index_entries_) {
    return;
  }
  const std::string_view entry =
      shx_.view(kHeaderBytes + index_next_ * kIndexEntryBytes, kIndexEntryBytes);
  if (entry.size() != kIndexEntryBytes) return;  // the index shrank since it was measured
  const auto* b = reinterpret_cast<const unsigned char*>(entry.data());
  ++index_next_;
  entry_taken_ = true;
  index_offset_ = std::int64_t{load_be_i32(b)} * 2;
  index_length_ = std::int64_t{load_be_i32(b + 4)} * 2;
}

// The content length of the record at `start`: its own, or the index's when the two differ and
// the index's leads to where the index places the next record (or to the end of the file).
std::int64_t ShapefileReader::record_length(std::int64_t start, std::int64_t own) {
  if (!index_checked_ || index_damaged_ || !entry_taken_ || index_offset_ != start ||
      index_length_ == own || index_length_ < 4 || start + 8 + index_length_ > shp_.size()) {
    return own;
  }
  const std::int64_t after = start + 8 + index_length_;
  if (index_next_ >= index_entries_) {
    return shp_.size() - after < kRecordHeadBytes ? index_length_ : own;
  }
  const std::string_view next = shx_.view(kHeaderBytes + index_next_ * kIndexEntryBytes, 4);
  if (next.size() != 4) return own;
  const std::int64_t next_offset =
      std::int64_t{load_be_i32(reinterpret_cast<const unsigned char*>(next.data()))} * 2;
  return next_offset == after ? index_length_ : own;
}

// The entry taken for the record the walk found at `start` (or, at_end, for a record the main
// file does not have) must give that record's offset and length, and every record needs one.
void ShapefileReader::check_index_entry(std::int64_t start, std::int64_t length, bool at_end) {
  if (!index_checked_ || index_damaged_) return;
  const auto ll = [](std::int64_t v) { return static_cast<long long>(v); };
  if (at_end) {
    if (entry_taken_) {
      report_damaged_index(format_printf("it lists %lld records, %s holds %lld",
                                         ll(index_entries_), shp_path_.c_str(),
                                         ll(records_seen_ - 1)));
    }
  } else if (!entry_taken_) {
    report_damaged_index(format_printf("it lists %lld records, %s holds more", ll(index_entries_),
                                       shp_path_.c_str()));
  } else if (index_offset_ != start || index_length_ != length) {
    report_damaged_index(format_printf(
        "entry %lld gives byte %lld (%lld bytes) for record %lld, which starts at byte %lld "
        "(%lld bytes) in %s",
        ll(index_next_), ll(index_offset_), ll(index_length_), ll(records_seen_), ll(start),
        ll(length), shp_path_.c_str()));
  }
}

// ---- Records

int ShapefileReader::read_record_header(shape_rec& rec) {
  rec.has_z = false;
  have_record_ = false;
  ++records_seen_;
  const std::int64_t start = next_record_;
  const std::string_view head = shp_.view(start, kRecordHeadBytes);
  // Fewer bytes than a record header after the last record cannot be a record.
  if (head.size() < kRecordHeadBytes && shp_.error() == 0) {
    if (!head.empty()) report_trailing_bytes(start);
    check_index_entry(start, 0, true);
    return 1;
  }
  if (head.size() < kRecordHeadBytes) {
    report_read_error(shp_);
    return -1;
  }
  const auto* b = reinterpret_cast<const unsigned char*>(head.data());

  const std::int32_t number = load_be_i32(b);
  const std::int64_t header_length = std::int64_t{load_be_i32(b + 4)} * 2;
  const std::int32_t type = load_le_i32(b + 8);
  trace_write("\nRecord # %ld\n", long{number});
  trace_write("length == %ld\n", static_cast<long>(header_length));
  trace_write("shape type == %ld\n", long{type});
  const std::int64_t length = record_length(start, header_length);

  // The content holds at least the type field and ends inside the file.
  if (length < 4 || start + 8 + length > shp_.size()) {
    // Past the last record an index that was right about every record has listed (padding, as
    // some writers leave it) is no record.
    if (index_checked_ && !index_damaged_ && index_entries_ > 0 && !entry_taken_) {
      report_trailing_bytes(start);
      return 1;
    }
    return refuse(
        "Record %ld at byte %lld gives a content length of %lld bytes; the file holds %lld.",
        long{number}, static_cast<long long>(start), static_cast<long long>(length),
        static_cast<long long>(shp_.size()));
  }
  check_index_entry(start, length, false);

  record_start_ = start;
  next_record_ = start + 8 + length;
  rec.record_number = number;
  rec.content_length = length;
  rec.record_type = type;
  rec.num_parts = 0;
  rec.num_points = 0;

  if (type == 0) {
    status_write("\nSkipping empty shape record (#%d)", number);
    return -2;
  }
  have_record_ = true;
  return 0;
}

int ShapefileReader::load_content(const shape_rec& rec, std::span<const unsigned char>& content) {
  if (!have_record_) {
    trace_write("SHOULD NOT HAPPEN: record content read without a record header\n");
    return -1;
  }
  have_record_ = false;  // one content read per record header
  // Bounded by the file size, checked in read_record_header. A content longer than the block
  // grows the source's buffer to hold it whole.
  const auto n = static_cast<std::size_t>(rec.content_length - 4);
  std::string_view bytes;
  try {
    bytes = shp_.view(record_start_ + kRecordHeadBytes, n);
  } catch (const std::bad_alloc&) {
    trace_write("Mem alloc eRROR\n");
    return refuse("Not enough memory for record %ld (%lld bytes).", long{rec.record_number},
                  static_cast<long long>(rec.content_length));
  }
  if (bytes.size() != n) {
    report_read_error(shp_);
    return -1;
  }
  // Valid until the next read of the main file: the content readers decode it before that.
  content = std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(bytes.data()), n);
  return 0;
}

int ShapefileReader::grow(shape_rec& rec, std::int32_t parts, std::int32_t points) {
  try {
    rec.grow_parts(static_cast<std::size_t>(parts));
    rec.grow_points(static_cast<std::size_t>(points));
  } catch (const std::bad_alloc&) {
    trace_write("Mem alloc eRROR\n");
    return refuse("Not enough memory for record %ld (%ld parts, %ld points).",
                  long{rec.record_number}, long{parts}, long{points});
  }
  return 0;
}

int ShapefileReader::read_point_record(shape_rec& rec) {
  rec.has_z = false;
  rec.zmin = rec.zmax = 0.0;
  std::span<const unsigned char> content;
  if (load_content(rec, content) != 0) return -1;
  Cursor in(content);
  if (!in.has(16)) {
    return refuse("Record %ld holds %lld bytes, too few for a %s.", long{rec.record_number},
                  static_cast<long long>(rec.content_length), header_.type_name.c_str());
  }
  if (grow(rec, 0, 1) != 0) return -1;
  shape_point& p = rec.points[0];
  p.x = in.f64();
  p.y = in.f64();
  // PointZ's Z or PointM's measure; a record that stops after X and Y gets 0.
  p.z = has_third_value(header_.shape_type) && in.has(8) ? in.f64() : 0.0;
  rec.box = {p.x, p.y, p.x, p.y};
  rec.num_points = 1;
  return 0;
}

int ShapefileReader::read_multipoint_record(shape_rec& rec) {
  rec.has_z = false;
  rec.zmin = rec.zmax = 0.0;
  std::span<const unsigned char> content;
  if (load_content(rec, content) != 0) return -1;
  Cursor in(content);
  if (!in.has(36)) {
    return refuse("Record %ld holds %lld bytes, too few for a %s.", long{rec.record_number},
                  static_cast<long long>(rec.content_length), header_.type_name.c_str());
  }
  rec.box = in.box();
  const std::int32_t points = in.i32();
  if (points < 0 || !in.has(std::int64_t{points} * 16)) {
    return refuse("Record %ld: %ld points do not fit in its %lld bytes.", long{rec.record_number},
                  long{points}, static_cast<long long>(rec.content_length));
  }
  if (grow(rec, 0, points) != 0) return -1;
  for (std::int32_t i = 0; i < points; ++i) {
    rec.points[i].x = in.f64();
    rec.points[i].y = in.f64();
    rec.points[i].z = 0.0;
  }
  rec.num_points = points;
  return 0;
}

int ShapefileReader::read_part_arrays(Cursor& in, shape_rec& rec, bool part_types) {
  const std::int32_t parts = rec.num_parts;
  const std::int32_t points = rec.num_points;
  for (std::int32_t i = 0; i < parts; ++i) {
    const std::int32_t start = in.i32();
    // Points before the first part would belong to no part.
    if (i == 0 && start != 0) {
      return refuse("Record %ld: its first part starts at point %ld, not at point 0.",
                    long{rec.record_number}, long{start});
    }
    const std::int32_t previous = i > 0 ? rec.part_starts[i - 1] : -1;
    if (start <= previous || start >= points) {
      return refuse("Record %ld: part %ld starts at point %ld (previous start %ld, %ld points).",
                    long{rec.record_number}, long{i}, long{start}, long{previous}, long{points});
    }
    rec.part_starts[i] = start;
  }
  for (std::int32_t i = 0; i < parts; ++i) rec.part_types[i] = part_types ? in.i32() : 0;
  return 0;
}

int ShapefileReader::read_multipart_record(shape_rec& rec) {
  rec.has_z = false;
  rec.zmin = rec.zmax = 0.0;
  std::span<const unsigned char> content;
  if (load_content(rec, content) != 0) return -1;
  Cursor in(content);
  const std::int32_t type = header_.shape_type;
  if (!in.has(40)) {
    return refuse("Record %ld holds %lld bytes, too few for a %s.", long{rec.record_number},
                  static_cast<long long>(rec.content_length), header_.type_name.c_str());
  }
  rec.box = in.box();
  const std::int32_t parts = in.i32();
  if (parts < 0) {
    report_input_problem(format_printf(
        "Number of parts for shape (%ld) cannot be negative. Shapefile may be corrupt.",
        long{rec.record_number}));
    return -1;
  }
  const std::int32_t points = in.i32();
  if (points < 0) {
    return refuse("Record %ld: the number of points (%ld) cannot be negative.",
                  long{rec.record_number}, long{points});
  }
  // Everything the counts announce must lie inside the content before any of it is allocated.
  const bool part_types = has_part_types(type);
  const bool z_block = has_z_block(type);
  const std::int64_t needed = std::int64_t{parts} * (part_types ? 8 : 4) +
                              std::int64_t{points} * 16 +
                              (z_block ? 16 + std::int64_t{points} * 8 : 0);
  if (!in.has(needed)) {
    return refuse("Record %ld: %ld parts and %ld points need %lld bytes; the record holds %lld.",
                  long{rec.record_number}, long{parts}, long{points},
                  static_cast<long long>(needed + 44), static_cast<long long>(rec.content_length));
  }
  if (grow(rec, parts, points) != 0) return -1;
  rec.num_parts = parts;
  rec.num_points = points;
  if (read_part_arrays(in, rec, part_types) != 0) {
    rec.num_parts = rec.num_points = 0;
    return -1;
  }
  for (std::int32_t i = 0; i < points; ++i) {
    rec.points[i].x = in.f64();
    rec.points[i].y = in.f64();
    rec.points[i].z = 0.0;
  }
  if (z_block) {
    rec.zmin = in.f64();
    rec.zmax = in.f64();
    for (std::int32_t i = 0; i < points; ++i) rec.points[i].z = in.f64();
    rec.has_z = true;
  }
  return 0;
}

int ShapefileReader::read_record_content(shape_rec& rec) {
  switch (shape_family(header_.shape_type)) {
    case ShapeFamily::point: return read_point_record(rec);
    case ShapeFamily::multipoint: return read_multipoint_record(rec);
    case ShapeFamily::multipart: return read_multipart_record(rec);
    case ShapeFamily::none: break;
  }
  trace_write("SHOULD NOT HAPPEN: no content reader for shape type %ld\n",
              long{header_.shape_type});
  return -1;
}

}  // namespace tsn
