// The bytes of a table file behind one read buffer: a file read in blocks, or bytes held in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tsn {

// Random access by offset, served from a block buffer so that a sequential walk (with repeated
// visits to the current record) costs one read call per block, not one per field or character.
class TableSource {
 public:
  // 0, or -1 when the file cannot be opened or its size taken.
  int open_file(const std::string& path);
  // The table's bytes themselves (tests, fuzzing); `name` is used in messages.
  void open_memory(std::string bytes, std::string name);
  void close();

  bool is_open() const { return open_; }
  bool in_memory() const { return in_memory_; }
  const std::string& name() const { return name_; }
  std::int64_t size() const { return size_; }

  // Up to n bytes at offset (fewer at the end of the file, none past it). The view stays valid
  // until the next call.
  std::string_view view(std::int64_t offset, std::size_t n);

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };

  bool fill(std::int64_t offset, std::size_t n);

  static constexpr std::size_t kBlock = 64 * 1024;

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::string name_;
  std::string buffer_;             // the whole table (memory) or one block of it (file)
  std::int64_t buffer_start_ = 0;  // file offset of buffer_[0]
  std::int64_t size_ = 0;
  bool open_ = false;
  bool in_memory_ = false;
};

}  // namespace tsn
