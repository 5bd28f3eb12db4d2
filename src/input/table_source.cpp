// Block-buffered random access to a table file, or to table bytes held in memory.
#include "input/table_source.h"

#include <algorithm>
#include <utility>

namespace tsn {

int TableSource::open_file(const std::string& path) {
  close();
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  if (!f) return -1;
  if (std::fseek(f.get(), 0, SEEK_END) != 0) return -1;
  const long end = std::ftell(f.get());
  if (end < 0) return -1;
  file_ = std::move(f);
  name_ = path;
  size_ = end;
  open_ = true;
  return 0;
}

void TableSource::open_memory(std::string bytes, std::string name) {
  close();
  size_ = static_cast<std::int64_t>(bytes.size());
  buffer_ = std::move(bytes);
  name_ = std::move(name);
  open_ = true;
  in_memory_ = true;
}

void TableSource::close() {
  file_.reset();
  buffer_.clear();
  buffer_start_ = 0;
  size_ = 0;
  open_ = false;
  in_memory_ = false;
}

bool TableSource::fill(std::int64_t offset, std::size_t n) {
  // Reads the block that starts at offset; never more than the file still holds.
  const auto remaining = static_cast<std::size_t>(size_ - offset);
  const std::size_t want = std::min(std::max(n, kBlock), remaining);
  buffer_.resize(want);
  buffer_start_ = offset;
  if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) {
    buffer_.clear();
    return false;
  }
  buffer_.resize(std::fread(buffer_.data(), 1, want, file_.get()));
  return true;
}

std::string_view TableSource::view(std::int64_t offset, std::size_t n) {
  if (!open_ || offset < 0 || offset >= size_) return {};
  n = std::min(n, static_cast<std::size_t>(size_ - offset));
  if (!in_memory_) {
    const std::int64_t end = buffer_start_ + static_cast<std::int64_t>(buffer_.size());
    const bool inside = offset >= buffer_start_ && offset + static_cast<std::int64_t>(n) <= end;
    if (!inside && !fill(offset, n)) return {};
  }
  const auto start = static_cast<std::size_t>(offset - buffer_start_);
  if (start >= buffer_.size()) return {};
  return std::string_view(buffer_).substr(start, n);
}

}  // namespace tsn
