// Private working directories, temporary output names and whole-buffer writes.
#include "dxf/temp_files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
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

}  // namespace tsn
