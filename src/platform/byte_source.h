// Read-only bytes of an untrusted file, or of bytes held in memory, behind one block buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tsn {

// Random access by offset, served from a block buffer so that a walk in file order (with repeated
// visits to the current record) costs one read call per block, not one per field or character.
// The size is taken when the file is opened; nothing past it is ever read.
class ByteSource {
 public:
  ByteSource() = default;
  ~ByteSource();
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;

  // 0, or -1 when the file cannot be opened, is not a regular file or its size cannot be taken.
  int open_file(const std::string& path);
  // The bytes themselves (tests, fuzzing); `name` stands for the file in messages.
  void open_memory(std::string bytes, std::string name);
  void close();

  bool is_open() const { return open_; }
  bool in_memory() const { return in_memory_; }
  const std::string& name() const { return name_; }
  std::int64_t size() const { return size_; }

  // Up to n bytes at offset: fewer at the end of the file (or when the file shrank since it was
  // opened, or a read failed), none past it. The view stays valid until the next call. A view
  // longer than the block grows the buffer to its length, which may throw std::bad_alloc.
  std::string_view view(std::int64_t offset, std::size_t n);
  // errno of the read that cut the last view short; 0 when it met the end of the bytes.
  int error() const { return error_; }

 private:
  bool fill(std::int64_t offset, std::size_t n);

  static constexpr std::size_t kBlock = 64 * 1024;

  int fd_ = -1;
  std::string name_;
  std::string buffer_;             // the whole bytes (memory) or one block of the file
  std::size_t buffer_len_ = 0;     // bytes of buffer_ that hold file data
  std::int64_t buffer_start_ = 0;  // offset of buffer_[0]
  std::int64_t size_ = 0;
  int error_ = 0;
  bool open_ = false;
  bool in_memory_ = false;
};

}  // namespace tsn
