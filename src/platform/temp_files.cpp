// Private working directories, temporary output names and whole-buffer writes.
#include "platform/temp_files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <random>

#include "platform/paths.h"

namespace tsn {

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) ::close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.release();
  }
  return *this;
}

int UniqueFd::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool UniqueFd::close() {
  if (fd_ < 0) return true;
  // Linux releases the descriptor even when close reports an error; never retry it.
  const bool ok = ::close(fd_) == 0;
  fd_ = -1;
  return ok;
}

std::string make_private_directory(const std::string& parent) {
  std::string pattern = with_trailing_separator(parent) + "tsn-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return pattern + "/";
}

std::string make_temporary_output(const std::string& target) {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device entropy;
  std::minstd_rand pick(entropy());
  const std::string prefix =
      std::string(directory_of(target)) + "." + std::string(file_name(target)) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string path = prefix;
    for (int i = 0; i < 6; ++i) path += kAlphabet[pick() % (sizeof kAlphabet - 1)];
    path += '~';
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

bool write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool write_all_at(int fd, const char* data, std::size_t size, long long offset) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, data, size, static_cast<off_t>(offset));
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += n;
  }
  return true;
}

namespace {

// The fallback of append_file_range: through a buffer.
bool append_by_reading(int from, std::uint64_t offset, int to, std::uint64_t length) {
  constexpr std::size_t kBlock = 256 * 1024;
  const auto buffer = std::make_unique<char[]>(kBlock);
  while (length > 0) {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(length, kBlock));
    const ssize_t n = ::pread(from, buffer.get(), want, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // an error, or the source is shorter than it should be
    if (!write_all(to, buffer.get(), static_cast<std::size_t>(n))) return false;
    offset += static_cast<std::uint64_t>(n);
    length -= static_cast<std::uint64_t>(n);
  }
  return true;
}

}  // namespace

bool append_file_range(int from, std::uint64_t offset, int to, std::uint64_t length) {
  while (length > 0) {
    auto in = static_cast<off_t>(offset);
    const ssize_t n = ::copy_file_range(from, &in, to, nullptr, static_cast<std::size_t>(length), 0);
    if (n > 0) {
      offset += static_cast<std::uint64_t>(n);
      length -= static_cast<std::uint64_t>(n);
      continue;
    }
    if (n == 0) return false;  // the source ended early
    if (errno == EINTR) continue;
    // Other file systems, old kernels and special files: copy the ordinary way.
    if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
        errno == EBADF) {
      return append_by_reading(from, offset, to, length);
    }
    return false;
  }
  return true;
}

}  // namespace tsn
