// Where DXF text goes: one small interface, a buffered file with CR LF line ends, and a
// collecting sink for tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tsn {

// A line of a temporary file keeps at most this many characters (its line end not counted).
inline constexpr std::size_t kMaxLineLength = 255;

class GroupSink {
 public:
  virtual ~GroupSink() = default;
  // Appends the bytes, "\n" ending each line; false when they could not be written. A failure
  // is sticky: every later write and finish() also report it, so an unchecked write never
  // loses an error.
  [[nodiscard]] virtual bool write(std::string_view bytes) = 0;
  // Appends complete lines that already end in CR LF, `lines` of them, none longer than
  // kMaxLineLength characters. By default they are handed to write() with "\n" ends.
  [[nodiscard]] virtual bool write_lines(std::string_view crlf_text, long lines);
  // The file written, for messages; empty when the sink is no file.
  virtual std::string_view path() const { return {}; }
};

// Collects everything written, byte for byte; can be told to fail from a given write on.
class StringGroupSink final : public GroupSink {
 public:
  [[nodiscard]] bool write(std::string_view bytes) override;
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }
  // Writes number n (counting from 1) and all after it fail and append nothing.
  void fail_from_write(int n) { fail_from_ = n; }
  int writes() const { return writes_; }

 private:
  std::string text_;
  int writes_ = 0;
  int fail_from_ = 0;
};

// A file written through a block buffer. Every "\n" becomes CR LF, as the finished DXF file has
// its lines; offsets count the bytes in the file, CR included.
class FileGroupSink final : public GroupSink {
 public:
  FileGroupSink() = default;
  ~FileGroupSink() override;  // closes without reporting; call finish() to learn the result
  FileGroupSink(const FileGroupSink&) = delete;
  FileGroupSink& operator=(const FileGroupSink&) = delete;

  // Creates or truncates the file; false when it cannot be opened.
  [[nodiscard]] bool open(const std::string& path);
  bool is_open() const { return file_ != nullptr; }
  std::string_view path() const override { return path_; }
  [[nodiscard]] bool write(std::string_view bytes) override;
  // Copied as they are while no line is open and no line mark falls among them.
  [[nodiscard]] bool write_lines(std::string_view crlf_text, long lines) override;
  // Bytes in the file so far, buffered ones included.
  std::uint64_t offset() const { return file_offset_ + used_; }
  // Overwrites bytes already written at `at` (line ends translated as by write) and goes back
  // to the end; used for a placeholder of fixed length.
  [[nodiscard]] bool patch(std::uint64_t at, std::string_view bytes);
  // Writes what is buffered and closes the file; false when any write, the flush or the
  // close failed.
  [[nodiscard]] bool finish();
  bool failed() const { return failed_; }

  // For temporary streams, set after open(): a line keeps at most max_length characters (the
  // rest is dropped as it is written), lines are counted, and the offset after every
  // mark_every-th line is kept, so that the stream can be appended to another file in runs of
  // whole lines without being read through.
  void track_lines(std::size_t max_length, long mark_every);
  long lines() const { return lines_; }
  const std::vector<std::uint64_t>& line_marks() const { return marks_; }
  // True when the last line written has no line end yet.
  bool inside_line() const { return line_length_ > 0; }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  bool flush();
  // Translates n bytes into the buffer, which has room for 2n; returns the bytes stored.
  std::size_t store_counting(const char* in, std::size_t n);

  std::FILE* file_ = nullptr;
  std::string path_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t file_offset_ = 0;  // bytes handed to the file, not counting the buffer
  bool failed_ = false;
  // Line tracking; off while max_line_ is 0.
  std::size_t max_line_ = 0;
  long mark_every_ = 0;
  long lines_ = 0;
  std::uint64_t line_length_ = 0;  // characters of the current line, dropped ones included
  std::vector<std::uint64_t> marks_;
};

}  // namespace tsn
