// Comma-delimited point tables: tokens, value classes, the column scan, record access, polygons.
#include "input/csv_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "input/input_report.h"
#include "platform/format.h"
#include "platform/text_encoding.h"

namespace tsn {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim_spaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Bytes looked at per step while a record's end is searched.
constexpr std::size_t kScanStep = 4096;

// The search for the line end that closes a record, fed its bytes in pieces. It quotes as
// csv_token does: only a quote that opens a field starts a quoted span, "" inside it is a
// quote, and a line end inside it belongs to the field.
struct RecordScan {
  bool field_start = true;
  bool quoted = false;
  bool quote_pending = false;  // a quote inside a quoted span: closing, or the first of ""
  char prev = 0;               // the byte before the current one
  long lines = 1;

  // The index of the closing LF in `bytes`, or npos when the record goes on after them.
  std::size_t feed(std::string_view bytes, char delimiter) {
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
      if (quote_pending) {
        quote_pending = false;
        if (bytes[i] == '"') {
          prev = '"';
          ++i;
          continue;
        }
        quoted = false;
        field_start = false;
      }
      if (quoted) {
        const std::size_t q = bytes.find('"', i);
        const std::size_t stop = q == std::string_view::npos ? n : q;
        lines += static_cast<long>(std::count(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(stop),
                                              '\n'));
        if (q == std::string_view::npos) {
          prev = bytes[n - 1];
          return std::string_view::npos;
        }
        quote_pending = true;
        prev = '"';
        i = q + 1;
        continue;
      }
      // The next line end or quote, whichever comes first: two fast searches, not a byte loop.
      const std::size_t lf = bytes.find('\n', i);
      const std::size_t end = lf == std::string_view::npos ? n : lf;
      const auto* quote =
          static_cast<const char*>(std::memchr(bytes.data() + i, '"', end - i));
      const std::size_t k = quote == nullptr ? end : static_cast<std::size_t>(quote - bytes.data());
      if (k > i) {
        field_start = bytes[k - 1] == delimiter;
        prev = bytes[k - 1];
      }
      if (k == n) return std::string_view::npos;
      if (bytes[k] == '\n') return k;
      if (field_start) quoted = true;
      field_start = false;
      prev = '"';
      i = k + 1;
    }
    return std::string_view::npos;
  }
};

}  // namespace

int csv_value_class(std::string_view text) {
  bool any_digit = false;
  bool only_spaces = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != ' ') only_spaces = false;
    if (is_digit(c)) {
      any_digit = true;
    } else if (c == 'E' || c == 'e') {
      if (i + 1 >= text.size() || !is_digit(text[i + 1])) return kCsvText;
    } else if (c != '.' && c != '-' && c != '+' && c != ' ') {
      return kCsvText;
    }
  }
  if (only_spaces) return kCsvEmpty;
  if (!any_digit) return kCsvText;
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return kCsvInteger;
  int decimals = 0;
  for (std::size_t i = dot + 1; i < text.size() && is_digit(text[i]); ++i) ++decimals;
  return decimals;
}

CsvToken csv_token(std::string_view line, std::size_t pos, char delimiter) {
  CsvToken t;
  const std::size_t n = line.size();
  if (pos >= n) {
    t.next = n;
    return t;
  }
  std::size_t i = pos;
  const bool quoted = line[i] == '"';
  if (quoted) ++i;
  while (i < n) {
    // The run of plain bytes up to the next quote (or, outside quotes, the separator) at once.
    std::size_t stop = i;
    while (stop < n && line[stop] != '"' && (quoted || line[stop] != delimiter)) ++stop;
    t.text.append(line.substr(i, stop - i));
    i = stop;
    if (i >= n || line[i] != '"') break;
    // A doubled quote stands for one; a single one ends the field.
    if (i + 1 < n && line[i + 1] == '"') {
      t.text += '"';
      i += 2;
      continue;
    }
    break;
  }
  // Whatever follows the field up to and including the next separator is skipped.
  const std::size_t comma = line.find(delimiter, i);
  t.last = comma == std::string_view::npos;
  t.next = t.last ? n : comma + 1;
  const std::string_view trimmed = trim_spaces(t.text);
  if (trimmed.size() != t.text.size()) t.text = std::string(trimmed);
  return t;
}

char csv_delimiter(std::string_view first_line) {
  long commas = 0;
  long semicolons = 0;
  long tabs = 0;
  bool quoted = false;
  for (const char c : first_line) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    commas += c == ',';
    semicolons += c == ';';
    tabs += c == '\t';
  }
  if (semicolons > commas && semicolons > tabs) return ';';
  if (tabs > commas && tabs > semicolons) return '\t';
  return ',';
}

CsvReader::CsvReader() { tokens_.reserve(kMaxTableFields); }

std::string CsvReader::line_field(std::string_view line, int i) const {
  std::size_t pos = 0;
  for (int k = 0;; ++k) {
    CsvToken t = csv_token(line, pos, delimiter_);
    if (k == i) return std::move(t.text);
    if (t.last) return {};
    pos = t.next;
  }
}

int CsvReader::open_table(const std::string& path) {
  scanned_ = false;
  delimiter_ = ',';
  return source_.open_file(path);
}

void CsvReader::open_memory(std::string bytes, std::string name) {
  scanned_ = false;
  delimiter_ = ',';
  source_.open_memory(std::move(bytes), std::move(name));
}

bool CsvReader::find_record_end(std::int64_t offset, RecordEnd& end) {
  // Most records end within the first step; a longer one is scanned again in a view four times
  // as long, up to the limit, and past the limit the rest is only walked through.
  RecordScan scan;
  std::size_t want = kScanStep;
  std::string_view bytes;
  for (;;) {
    bytes = source_.view(offset, want);
    if (bytes.empty()) return false;
    scan = RecordScan{};
    const std::size_t lf = scan.feed(bytes, delimiter_);
    if (lf != std::string_view::npos) {
      end.length = scan.prev == '\r' ? lf - 1 : lf;
      end.next = offset + static_cast<std::int64_t>(lf) + 1;
      end.lines = scan.lines;
      return true;
    }
    if (bytes.size() < want) break;  // the end of the file
    if (want > kCsvMaxRecord) break;
    want = std::min(want * 4, kCsvMaxRecord + 2);
  }
  std::int64_t at = offset + static_cast<std::int64_t>(bytes.size());
  if (bytes.size() >= want) {
    for (;;) {
      const std::string_view chunk = source_.view(at, kScanStep);
      if (chunk.empty()) break;
      const std::size_t lf = scan.feed(chunk, delimiter_);
      if (lf != std::string_view::npos) {
        const auto length = static_cast<std::size_t>(at - offset) + lf;
        end.length = scan.prev == '\r' ? length - 1 : length;
        end.next = at + static_cast<std::int64_t>(lf) + 1;
        end.lines = scan.lines;
        return true;
      }
      at += static_cast<std::int64_t>(chunk.size());
    }
  }
  end.length = static_cast<std::size_t>(at - offset);
  end.next = at;
  end.lines = scan.lines;
  return true;
}

bool CsvReader::read_line(std::int64_t offset, std::string_view& line, std::int64_t& next,
                          long* lines, long* refused) {
  for (;;) {
    RecordEnd end;
    if (!find_record_end(offset, end)) return false;
    if (lines != nullptr) *lines += end.lines;
    if (end.length <= kCsvMaxRecord) {
      line = source_.view(offset, end.length);
      next = end.next;
      return true;
    }
    if (refused != nullptr) ++*refused;
    offset = end.next;
  }
}

long CsvReader::lines_with_text(std::int64_t offset) {
  long lines = 0;
  long with_text = 0;
  bool text = false;
  for (;;) {
    const std::string_view chunk = source_.view(offset, kScanStep);
    if (chunk.empty()) break;
    for (const char c : chunk) {
      if (c == '\n') {
        ++lines;
        if (text) with_text = lines;
        text = false;
      } else if (c != '\r') {
        text = true;
      }
    }
    offset += static_cast<std::int64_t>(chunk.size());
  }
  return text ? lines + 1 : with_text;
}

void CsvReader::scan_data_line(std::string_view line) {
  std::size_t pos = 0;
  for (std::size_t col = 0; col < columns_.size(); ++col) {
    const CsvToken t = csv_token(line, pos, delimiter_);
    dbf_field& c = columns_[col];
    c.width = std::max(c.width, static_cast<int>(t.text.size()));
    const int cls = csv_value_class(t.text);
    if (cls == kCsvText) {
      c.type = 'C';
      c.decimals = 0;
    } else if (cls != kCsvEmpty && c.type != 'C') {
      c.type = 'N';
      c.decimals = cls;
    }
    if (t.last) break;
    pos = t.next;
  }
}

void CsvReader::scan_first_line(std::string_view line, int& csv_has_header) {
  bool numeric = false;
  std::size_t pos = 0;
  for (std::size_t col = 0; col < columns_.size(); ++col) {
    const CsvToken t = csv_token(line, pos, delimiter_);
    dbf_field& c = columns_[col];
    const int cls = csv_value_class(t.text);
    const bool is_number = cls != kCsvEmpty && cls != kCsvText;
    if (c.type == 'U') {
      c.type = is_number ? 'N' : 'C';
      c.decimals = is_number ? cls : 0;
    }
    c.name =
        t.text.empty() ? format_printf("FIELD%d", int(col) + 1) : t.text.substr(0, kFieldNameChars);
    numeric = numeric || is_number;
    fields_.push_back(c);
    if (t.last) break;
    pos = t.next;
  }
  if (numeric && csv_has_header) {
    csv_has_header = 0;
    report_input_problem("File does not have a header line. Turning No Header flag on.");
  }
  if (!csv_has_header) {
    for (std::size_t i = 0; i < fields_.size(); ++i)
      fields_[i].name = format_printf("FIELD%d", int(i) + 1);
  }
}

bool CsvReader::text_is_utf8() {
  constexpr std::size_t kStep = 1 << 20;
  std::int64_t at = 0;
  while (at < source_.size()) {
    std::string_view part = source_.view(at, kStep);
    if (part.empty()) return false;
    // A chunk ends before a sequence that the next one completes.
    if (at + static_cast<std::int64_t>(part.size()) < source_.size()) {
      const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(part[k]); };
      std::size_t keep = part.size();
      for (int back = 0; back < 3 && keep > 0 && (byte(keep - 1) & 0xC0) == 0x80; ++back) --keep;
      if (keep > 0 && (byte(keep - 1) & 0xC0) == 0xC0) {
        part = part.substr(0, keep - 1);
      }
      if (part.empty()) return false;
    }
    if (!is_valid_utf8(part)) return false;
    at += static_cast<std::int64_t>(part.size());
  }
  return true;
}

std::string CsvReader::head(std::size_t n) { return std::string(source_.view(0, n)); }

int CsvReader::csv_scan(int& csv_has_header) {
  scanned_ = false;
  fields_.clear();
  if (!source_.is_open()) return -1;
  dbf_field unknown;
  unknown.type = 'U';
  columns_.assign(kMaxTableFields, unknown);

  // The separator comes from the first line as it stands in the file.
  const std::string_view head = source_.view(0, kScanStep * 16);
  delimiter_ = csv_delimiter(head.substr(0, head.find('\n')));

  std::string_view line;
  std::int64_t offset = 0;
  std::int64_t next = 0;
  std::int64_t second_line = 0;
  long lines = 0;
  long file_lines = 0;
  long refused = 0;
  while (read_line(offset, line, next, &file_lines, &refused)) {
    if (line.empty()) {
      const long after = lines_with_text(next);
      if (after > 0) {
        report_input_problem(format_printf(
            "Table ends at the empty line %ld; %ld lines after it were not read", file_lines,
            after));
      }
      break;
    }
    if (lines == 0) second_line = next;
    if (lines > 0) scan_data_line(line);
    ++lines;
    offset = next;
  }
  if (refused > 0) {
    report_input_problem(format_printf("%ld records longer than %ld bytes were not read", refused,
                                       long(kCsvMaxRecord)));
  }
  if (lines > 0 && read_line(0, line, next)) scan_first_line(line, csv_has_header);
  columns_.clear();

  has_header_ = csv_has_header != 0 && lines > 0;
  record_count_ = has_header_ ? lines - 1 : lines;
  first_ = has_header_ ? Position{second_line, 0} : Position{0, 0};
  scanned_ = true;
  return rewind();
}

void CsvReader::save_record_position() { saved_ = cursor_; }

int CsvReader::begin_record() {
  have_record_ = false;
  tokens_.clear();
  if (!scanned_ || saved_.row >= record_count_) return kNoSuchRow;
  std::string_view line;
  std::int64_t next = 0;
  // The scan found this row when the table was opened.
  if (!read_line(saved_.offset, line, next)) {
    return report_unreadable_row(source_.name(), saved_.row + 1, source_.error());
  }
  line_.assign(line);
  token_pos_ = 0;
  tokens_done_ = false;
  have_record_ = true;
  // The cursor only moves forward between rewinds (a polygon may have moved it further).
  if (cursor_.row <= saved_.row) cursor_ = {next, saved_.row + 1};
  return 0;
}

std::string_view CsvReader::read_field(int i) {
  if (!have_record_ || i < 0 || i >= static_cast<int>(fields_.size())) return {};
  const auto want = static_cast<std::size_t>(i);
  while (tokens_.size() <= want && !tokens_done_) {
    CsvToken t = csv_token(line_, token_pos_, delimiter_);
    tokens_.push_back(std::move(t.text));
    tokens_done_ = t.last;
    token_pos_ = t.next;
  }
  if (want >= tokens_.size()) return {};
  return tokens_[want];
}

int CsvReader::skip_record() {
  if (!scanned_ || cursor_.row >= record_count_) return kNoSuchRow;
  std::string_view line;
  std::int64_t next = 0;
  if (!read_line(cursor_.offset, line, next)) {
    return report_unreadable_row(source_.name(), cursor_.row + 1, source_.error());
  }
  cursor_ = {next, cursor_.row + 1};
  return 0;
}

int CsvReader::rewind() {
  if (!scanned_) return -1;
  cursor_ = first_;
  saved_ = first_;
  consumed_ = 0;
  have_record_ = false;
  tokens_.clear();
  return 0;
}

int CsvReader::csv_polygon_scan(int x_field, int y_field, CsvPolygon& polygon) {
  polygon = CsvPolygon{};
  if (!scanned_ || saved_.row >= record_count_) return kNoSuchRow;
  std::string_view line;
  std::int64_t next = 0;
  // The scan found this row when the table was opened.
  if (!read_line(saved_.offset, line, next)) {
    return report_unreadable_row(source_.name(), saved_.row + 1, source_.error());
  }
  const auto row_vertex = [this](std::string_view row, int xf, int yf) {
    return CsvVertex{field_value_number(line_field(row, xf)),
                     field_value_number(line_field(row, yf))};
  };
  const CsvVertex first = row_vertex(line, x_field, y_field);
  polygon.points.push_back(first);
  polygon.xmin = polygon.xmax = first.x;
  polygon.ymin = polygon.ymax = first.y;
  const long remaining = record_count_ - saved_.row;
  long count = 1;
  while (count < remaining && read_line(next, line, next)) {
    const CsvVertex v = row_vertex(line, x_field, y_field);
    ++count;
    polygon.points.push_back(v);
    polygon.xmin = std::min(polygon.xmin, v.x);
    polygon.xmax = std::max(polygon.xmax, v.x);
    polygon.ymin = std::min(polygon.ymin, v.y);
    polygon.ymax = std::max(polygon.ymax, v.y);
    if (std::fabs(v.x - first.x) <= 1e-12 && std::fabs(v.y - first.y) <= 1e-12) {
      polygon.closed = true;
      break;
    }
  }
  consumed_ = saved_.row + count;
  cursor_ = {next, consumed_};
  if (!polygon.closed) {
    report_input_problem(
        "Error: Could not find closing Polygon vertex. Will insert closing link to last read "
        "vertex.");
  }
  return 0;
}

}  // namespace tsn
