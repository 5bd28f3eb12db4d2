// The string and file sinks of DXF text.
#include "dxf/group_sink.h"

#include <cstring>

namespace tsn {

bool StringGroupSink::write(std::string_view bytes) {
  ++writes_;
  if (fail_from_ > 0 && writes_ >= fail_from_) return false;
  text_.append(bytes);
  return true;
}

FileGroupSink::~FileGroupSink() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileGroupSink::open(const std::string& path) {
  if (file_ != nullptr) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "wb");
  used_ = 0;
  file_offset_ = 0;
  failed_ = file_ == nullptr;
  if (file_ == nullptr) return false;
  // The block buffer here is the only one, so a failed write shows at the flush that made it.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBufferSize);
  return true;
}

bool FileGroupSink::flush() {
  if (used_ == 0) return !failed_;
  if (!failed_ && std::fwrite(buffer_.get(), 1, used_, file_) != used_) failed_ = true;
  file_offset_ += used_;
  used_ = 0;
  return !failed_;
}

bool FileGroupSink::write(std::string_view bytes) {
  if (file_ == nullptr) failed_ = true;
  if (failed_) return false;
  for (const char c : bytes) {
    // Room for CR LF at worst.
    if (used_ + 2 > kBufferSize && !flush()) return false;
    if (c == '\n') buffer_[used_++] = '\r';
    buffer_[used_++] = c;
  }
  return true;
}

bool FileGroupSink::patch(std::uint64_t at, std::string_view bytes) {
  if (failed_ || file_ == nullptr || !flush()) return false;
  const std::uint64_t end = file_offset_;
  const auto seek = [this](std::uint64_t pos) {
    return std::fseek(file_, static_cast<long>(pos), SEEK_SET) == 0;
  };
  std::uint64_t size = 0;
  for (const char c : bytes) size += c == '\n' ? 2 : 1;
  if (at + size > end || !seek(at)) {
    failed_ = true;
    return false;
  }
  file_offset_ = at;
  const bool written = write(bytes) && flush();
  file_offset_ = end;
  if (!seek(end)) failed_ = true;
  return written && !failed_;
}

bool FileGroupSink::finish() {
  if (file_ == nullptr) return false;
  const bool flushed = flush();
  const bool flushed_to_disk = std::fflush(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!(flushed && flushed_to_disk && closed)) failed_ = true;
  return !failed_;
}

}  // namespace tsn
