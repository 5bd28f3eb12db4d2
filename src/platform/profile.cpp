// Initialisation files: parsing lines into sections and keys, editing them in place, and
// replacing the file on disk atomically.
#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <limits>
#include <system_error>

namespace tsn {
namespace {

// Settings files are a few KiB. Anything beyond this is not one of ours and is not read into
// memory; it loads as an empty document like any other unreadable file.
constexpr std::size_t kMaxProfileBytes = std::size_t{64} << 20;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The C library's isspace() in the "C" locale, without the locale lookup.
bool is_c_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// One pair of matching quotes around the whole value is not part of it.
std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// Names and values written into the file end at the first line break: a value must never be
// able to start a line of its own (and so inject a section header or a key).
std::string_view first_line(std::string_view s) { return s.substr(0, s.find_first_of("\r\n")); }

enum class LineKind { other, section, key };

struct Line {
  LineKind kind = LineKind::other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed and unquoted
};

// "[name]" (text after the ']' ignored) is a section header; a '[' line without ']' and a
// ';' comment are neither header nor key; any other line with '=' is "key=value".
Line classify(std::string_view text) {
  const std::string_view t = trim(text);
  if (t.empty() || t.front() == ';') return {};
  if (t.front() == '[') {
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos) return {};
    return {LineKind::section, trim(t.substr(1, close - 1)), {}};
  }
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {};
  // A stray carriage return inside a value ends it, as it would end the value when written.
  return {LineKind::key, trim(t.substr(0, eq)),
          unquote(trim(first_line(trim(t.substr(eq + 1)))))};
}

bool is_blank_line(std::string_view text) { return trim(text).empty(); }

// A section's header line and the end of its body (the next header or the end of the file).
struct SectionRange {
  std::size_t header = 0;
  std::size_t end = 0;
};

std::size_t next_header(const std::vector<std::string>& lines, std::size_t from) {
  while (from < lines.size() && classify(lines[from]).kind != LineKind::section) ++from;
  return from;
}

std::optional<SectionRange> find_section(const std::vector<std::string>& lines,
                                         std::string_view name, std::size_t from = 0) {
  for (std::size_t i = next_header(lines, from); i < lines.size(); i = next_header(lines, i + 1)) {
    if (same_name(classify(lines[i]).name, name)) return SectionRange{i, next_header(lines, i + 1)};
  }
  return std::nullopt;
}

std::optional<std::size_t> find_key(const std::vector<std::string>& lines, SectionRange range,
                                    std::string_view key) {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const Line line = classify(lines[i]);
    if (line.kind == LineKind::key && same_name(line.name, key)) return i;
  }
  return std::nullopt;
}

// A file descriptor closed on scope exit.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

bool read_all(int fd, std::string& out, std::size_t limit) {
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (out.size() + static_cast<std::size_t>(n) > limit) return false;
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A new, empty file beside the target under a name no other writer uses. Unless commit() is
// called, the file is removed again when this object goes away.
class TempFile {
 public:
  explicit TempFile(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    // Keep the name well inside NAME_MAX even for long target names.
    const std::string stem = target.filename().string().substr(0, 100);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
      const std::string name = "." + stem + ".tmp-" + std::to_string(::getpid()) + "-" +
                               std::to_string(counter.fetch_add(1)) + "-" +
                               std::to_string(static_cast<unsigned long long>(ticks) % 1000000007u);
      path_ = target.parent_path() / name;
      // 0666 so that the user's umask decides, as for any newly created file.
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) path_.clear();
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  bool valid() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::filesystem::path& path() const { return path_; }
  // Closes now and reports the result: close() can report a delayed write error.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }
  // The file has been renamed into place: nothing left to remove.
  void commit() { path_.clear(); }

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

// A settings file that is a symbolic link (a dotfile kept elsewhere) stays one: the file the
// link points at is replaced, not the link.
std::filesystem::path resolve_link(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(file, ec)) return file;
  std::filesystem::path target = std::filesystem::canonical(file, ec);
  return ec ? file : target;
}

// Makes the rename itself durable; a failure here only weakens durability, not the result.
void sync_directory(const std::filesystem::path& dir) {
  FileDescriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) ::fsync(fd.get());
}

// strtol() on a 64-bit long: leading white space, a sign, decimal digits; no digits is 0 and an
// out-of-range number saturates.
std::int64_t parse_long(std::string_view v) {
  std::size_t i = 0;
  while (i < v.size() && is_c_space(v[i])) ++i;
  bool negative = false;
  if (i < v.size() && (v[i] == '+' || v[i] == '-')) negative = v[i++] == '-';
  constexpr std::uint64_t kMagnitudeLimit = std::uint64_t{1} << 63;  // |INT64_MIN|
  std::uint64_t magnitude = 0;
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
    const auto digit = static_cast<std::uint64_t>(v[i] - '0');
    magnitude = magnitude > (kMagnitudeLimit - digit) / 10 ? kMagnitudeLimit + 1
                                                           : magnitude * 10 + digit;
  }
  if (negative) {
    return magnitude >= kMagnitudeLimit ? std::numeric_limits<std::int64_t>::min()
                                        : -static_cast<std::int64_t>(magnitude);
  }
  return magnitude >= kMagnitudeLimit ? std::numeric_limits<std::int64_t>::max()
                                      : static_cast<std::int64_t>(magnitude);
}

// "%lf": leading white space, an optional sign, then the longest valid number; trailing text is
// ignored. A number beyond the range of double counts as unparsable.
std::optional<double> parse_real(std::string_view v) {
  std::size_t i = 0;
  while (i < v.size() && is_c_space(v[i])) ++i;
  if (i < v.size() && v[i] == '+') {
    ++i;
    if (i < v.size() && v[i] == '-') return std::nullopt;
  }
  double value = 0.0;
  if (std::from_chars(v.data() + i, v.data() + v.size(), value).ec != std::errc{}) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

ProfileDocument ProfileDocument::load(const std::filesystem::path& file) {
  // O_NONBLOCK keeps a FIFO from blocking the open; such a file is refused below anyway.
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) return {};
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  std::string text;
  if (!read_all(fd.get(), text, kMaxProfileBytes)) return {};
  return parse(text);
}

ProfileDocument ProfileDocument::parse(std::string_view text) {
  ProfileDocument doc;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    doc.lines_.emplace_back(line);
  }
  return doc;
}

std::optional<std::string> ProfileDocument::get(std::string_view section,
                                                std::string_view key) const {
  const auto range = find_section(lines_, trim(section));
  if (!range) return std::nullopt;
  const auto at = find_key(lines_, *range, trim(key));
  if (!at) return std::nullopt;
  return std::string(classify(lines_[*at]).value);
}

std::vector<std::pair<std::string, std::string>> ProfileDocument::entries(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> result;
  const auto range = find_section(lines_, trim(section));
  if (!range) return result;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    const Line line = classify(lines_[i]);
    if (line.kind == LineKind::key) result.emplace_back(line.name, line.value);
  }
  return result;
}

bool ProfileDocument::has_section(std::string_view section) const {
  return find_section(lines_, trim(section)).has_value();
}

void ProfileDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  section = trim(first_line(section));
  key = trim(first_line(key));
  std::string line = std::string(key) + "=" + std::string(first_line(value));

  const auto range = find_section(lines_, section);
  if (!range) {
    if (!lines_.empty() && !is_blank_line(lines_.back())) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(line));
    return;
  }
  if (const auto at = find_key(lines_, *range, key)) {
    lines_[*at] = std::move(line);
    return;
  }
  std::size_t insert_at = range->header + 1;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    if (!is_blank_line(lines_[i])) insert_at = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(line));
}

void ProfileDocument::erase_key(std::string_view section, std::string_view key) {
  section = trim(section);
  key = trim(key);
  const auto range = find_section(lines_, section);
  if (!range) return;
  // Every line of that key goes, so that a duplicate further down cannot surface afterwards.
  std::size_t end = range->end;
  for (std::size_t i = range->header + 1; i < end;) {
    const Line line = classify(lines_[i]);
    if (line.kind == LineKind::key && same_name(line.name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      --end;
    } else {
      ++i;
    }
  }
}

void ProfileDocument::erase_section(std::string_view section) {
  section = trim(section);
  // Every section of that name goes, so that the name is gone from the file afterwards.
  std::size_t from = 0;
  while (const auto range = find_section(lines_, section, from)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    from = range->header;
  }
}

std::string ProfileDocument::text() const {
  std::size_t size = 0;
  for (const auto& line : lines_) size += line.size() + 1;
  std::string result;
  result.reserve(size);
  for (const auto& line : lines_) {
    result += line;
    result += '\n';
  }
  return result;
}

bool ProfileDocument::save(const std::filesystem::path& file) const {
  const std::filesystem::path target = resolve_link(file);
  const std::filesystem::path dir =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");

  TempFile temp(dir / target.filename());
  if (!temp.valid()) return false;
  // A file that already exists keeps its permissions.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    ::fchmod(temp.fd(), st.st_mode & 07777);
  }
  if (!write_all(temp.fd(), text()) || ::fsync(temp.fd()) != 0 || !temp.close()) return false;
  if (::rename(temp.path().c_str(), target.c_str()) != 0) return false;
  temp.commit();
  sync_directory(dir);
  return true;
}

bool Profile::select_file(const std::filesystem::path& file) {
  bool flushed = true;
  if (file == file_ && dirty_) return true;  // keep the pending writes to this file
  if (dirty_) {
    flushed = flush();
    dirty_ = false;  // the previous file's changes cannot follow us to the new file
  }
  file_ = file;
  doc_ = ProfileDocument::load(file_);
  return flushed;
}

void Profile::select_section(std::string_view section) { section_ = std::string(section); }

int Profile::read_int(std::string_view key, int def) const {
  return static_cast<int>(read_uint(key, static_cast<std::uint32_t>(def)));
}

std::uint32_t Profile::read_uint(std::string_view key, std::uint32_t def) const {
  const auto value = doc_.get(section_, key);
  if (!value || value->empty()) return def;
  // The low 32 bits of the 64-bit number, as the 32-bit call returns it.
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(parse_long(*value)));
}

std::string Profile::read_string(std::string_view key, std::string_view def,
                                 std::size_t max_chars) const {
  std::string value = doc_.get(section_, key).value_or(std::string(def));
  if (value.size() > max_chars) value.resize(max_chars);
  return value;
}

double Profile::read_real(std::string_view key, double def) const {
  const auto value = doc_.get(section_, key);
  if (!value || value->empty()) return def;
  return parse_real(*value).value_or(def);
}

std::vector<std::pair<std::string, std::string>> Profile::read_section() const {
  return doc_.entries(section_);
}

bool Profile::has_key(std::string_view key) const { return doc_.get(section_, key).has_value(); }

void Profile::write_int(std::string_view key, int value) { write_string(key, std::to_string(value)); }

void Profile::write_uint(std::string_view key, std::uint32_t value) {
  write_string(key, std::to_string(value));
}

void Profile::write_real(std::string_view key, double value) {
  write_string(key, format_profile_real(value));
}

void Profile::write_string(std::string_view key, std::string_view value) {
  doc_.set(section_, key, value);
  dirty_ = true;
}

void Profile::erase_section() {
  doc_.erase_section(section_);
  dirty_ = true;
}

bool Profile::flush() {
  if (!dirty_) return true;
  if (file_.empty() || !doc_.save(file_)) return false;
  dirty_ = false;
  return true;
}

std::string format_profile_real(double value) {
  // Fixed notation of the largest double: 309 digits, the point, six decimals and a sign.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  std::string text(buffer, result.ptr);
  if (text == "-0.000000") text.erase(0, 1);
  return text;
}

}  // namespace tsn
