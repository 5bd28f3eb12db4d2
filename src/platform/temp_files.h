// Private working directories and temporary output names: files no other conversion can
// collide with, made with mkdtemp and O_EXCL.
#pragma once

#include <cstdint>
#include <string>

namespace tsn {

// A file descriptor closed when the holder goes away; close() reports the result.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release();
  // Closes now; false when the close reported an error (a late write failure).
  [[nodiscard]] bool close();

 private:
  int fd_ = -1;
};

// Makes a new directory "tsn-XXXXXX" (mode 0700) inside `parent`; its path with a trailing
// '/', or empty when it could not be made.
std::string make_private_directory(const std::string& parent);

// Creates an empty file beside `target`, named ".<target name>.XXXXXX~" with the usual
// permissions (0666 less the umask), that did not exist before; its path, or empty.
std::string make_temporary_output(const std::string& target);

// Writes all bytes, retrying short writes and interruptions; false on any error.
[[nodiscard]] bool write_all(int fd, const char* data, std::size_t size);
// Writes all bytes at `offset` without moving the file position.
[[nodiscard]] bool write_all_at(int fd, const char* data, std::size_t size, long long offset);

// Appends `length` bytes of `from`, starting at `offset`, at the file position of `to`: in the
// kernel where the file systems allow it, otherwise through a buffer. False on any error or
// when the source holds fewer bytes.
[[nodiscard]] bool append_file_range(int from, std::uint64_t offset, int to, std::uint64_t length);

}  // namespace tsn
