// Where DXF text goes: one small interface, a buffered file with CR LF line ends, and a
// collecting sink for tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tsn {

class GroupSink {
 public:
  virtual ~GroupSink() = default;
  // Appends the bytes; false when they could not be written. A failure is sticky: every later
  // write and finish() also report it, so an unchecked write never loses an error.
  [[nodiscard]] virtual bool write(std::string_view bytes) = 0;
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
  [[nodiscard]] bool write(std::string_view bytes) override;
  // Bytes in the file so far, buffered ones included.
  std::uint64_t offset() const { return file_offset_ + used_; }
  // Overwrites bytes already written at `at` (line ends translated as by write) and goes back
  // to the end; used for a placeholder of fixed length.
  [[nodiscard]] bool patch(std::uint64_t at, std::string_view bytes);
  // Writes what is buffered and closes the file; false when any write, the flush or the
  // close failed.
  [[nodiscard]] bool finish();
  bool failed() const { return failed_; }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  bool flush();

  std::FILE* file_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t file_offset_ = 0;  // bytes handed to the file, not counting the buffer
  bool failed_ = false;
};

}  // namespace tsn
