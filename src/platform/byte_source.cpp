// Block-buffered random access to a file (positioned reads, 64-bit offsets) or to memory.
#include "platform/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace tsn {

// Offsets are carried as 64 bits from the file size to pread: no file is cut off at 2 GiB.
static_assert(sizeof(off_t) >= sizeof(std::int64_t), "off_t must hold 64-bit file offsets");

ByteSource::~ByteSource() { close(); }

int ByteSource::open_file(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  fd_ = fd;
  name_ = path;
  size_ = static_cast<std::int64_t>(st.st_size);
  open_ = true;
  return 0;
}

void ByteSource::open_memory(std::string bytes, std::string name) {
  close();
  size_ = static_cast<std::int64_t>(bytes.size());
  buffer_ = std::move(bytes);
  buffer_len_ = buffer_.size();
  name_ = std::move(name);
  open_ = true;
  in_memory_ = true;
}

void ByteSource::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  // A file's block buffer is kept for the next file; bytes held in memory are released.
  if (in_memory_) std::string().swap(buffer_);
  buffer_len_ = 0;
  buffer_start_ = 0;
  size_ = 0;
  error_ = 0;
  open_ = false;
  in_memory_ = false;
}

bool ByteSource::fill(std::int64_t offset, std::size_t n) {
  // The block that starts at offset; never more than the file still holds.
  const auto remaining = static_cast<std::size_t>(size_ - offset);
  const std::size_t want = std::min(std::max(n, kBlock), remaining);
  if (buffer_.size() < want) buffer_.resize(want);
  buffer_start_ = offset;
  buffer_len_ = 0;
  while (buffer_len_ < want) {
    const ssize_t got = ::pread(fd_, buffer_.data() + buffer_len_, want - buffer_len_,
                                static_cast<off_t>(offset) + static_cast<off_t>(buffer_len_));
    if (got > 0) {
      buffer_len_ += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;  // the file shrank since it was opened
    } else if (errno != EINTR) {
      error_ = errno;
      return false;
    }
  }
  return true;
}

std::string_view ByteSource::view(std::int64_t offset, std::size_t n) {
  error_ = 0;
  if (!open_ || offset < 0 || offset >= size_) return {};
  n = std::min(n, static_cast<std::size_t>(size_ - offset));
  if (!in_memory_) {
    const std::int64_t end = buffer_start_ + static_cast<std::int64_t>(buffer_len_);
    const bool inside = offset >= buffer_start_ && offset + static_cast<std::int64_t>(n) <= end;
    if (!inside && !fill(offset, n)) return {};
  }
  const auto start = static_cast<std::size_t>(offset - buffer_start_);
  if (start >= buffer_len_) return {};
  return std::string_view(buffer_.data() + start, std::min(n, buffer_len_ - start));
}

}  // namespace tsn
