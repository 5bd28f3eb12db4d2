// The string and file sinks of DXF text.
#include "dxf/group_sink.h"

#include <algorithm>
#include <cstring>

namespace tsn {

bool GroupSink::write_lines(std::string_view crlf_text, long /*lines*/) {
  std::string text;
  text.reserve(crlf_text.size());
  for (std::size_t i = 0; i < crlf_text.size(); ++i) {
    const bool crlf = crlf_text[i] == '\r' && i + 1 < crlf_text.size() && crlf_text[i + 1] == '\n';
    if (!crlf) text += crlf_text[i];
  }
  return write(text);
}

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
  path_ = path;
  used_ = 0;
  file_offset_ = 0;
  failed_ = file_ == nullptr;
  max_line_ = 0;
  mark_every_ = 0;
  lines_ = 0;
  line_length_ = 0;
  marks_.clear();
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

namespace {

// Copies n bytes with every "\n" made CR LF; out has room for 2n. Returns the bytes stored.
std::size_t store_crlf(const char* in, std::size_t n, char* out) {
  char* o = out;
  for (std::size_t i = 0; i < n; ++i) {
    const char c = in[i];
    *o = '\r';
    o += c == '\n' ? 1 : 0;
    *o++ = c;
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace

void FileGroupSink::track_lines(std::size_t max_length, long mark_every) {
  max_line_ = max_length;
  mark_every_ = mark_every > 0 ? mark_every : 0;
}

std::size_t FileGroupSink::store_counting(const char* in, std::size_t n) {
  char* const out = buffer_.get() + used_;
  char* o = out;
  for (std::size_t i = 0; i < n; ++i) {
    const char c = in[i];
    if (c == '\n') {
      *o++ = '\r';
      *o++ = '\n';
      line_length_ = 0;
      if (++lines_ == mark_every_ * static_cast<long>(marks_.size() + 1)) {
        marks_.push_back(file_offset_ + used_ + static_cast<std::uint64_t>(o - out));
      }
    } else if (line_length_++ < max_line_) {
      *o++ = c;
    }
  }
  return static_cast<std::size_t>(o - out);
}

bool FileGroupSink::write(std::string_view bytes) {
  if (file_ == nullptr) failed_ = true;
  if (failed_) return false;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    // A byte takes two places at most (CR LF).
    if (kBufferSize - used_ < 2 && !flush()) return false;
    const std::size_t n = std::min(left, (kBufferSize - used_) / 2);
    used_ += max_line_ == 0 ? store_crlf(p, n, buffer_.get() + used_) : store_counting(p, n);
    p += n;
    left -= n;
  }
  return true;
}

bool FileGroupSink::write_lines(std::string_view crlf_text, long lines) {
  if (max_line_ != 0) {
    const long next_mark = mark_every_ * static_cast<long>(marks_.size() + 1);
    if (line_length_ != 0 || (mark_every_ > 0 && lines_ + lines >= next_mark)) {
      return GroupSink::write_lines(crlf_text, lines);  // counted and marked byte by byte
    }
    lines_ += lines;
  }
  if (file_ == nullptr) failed_ = true;
  if (failed_) return false;
  const char* p = crlf_text.data();
  std::size_t left = crlf_text.size();
  while (left > 0) {
    if (used_ == kBufferSize && !flush()) return false;
    const std::size_t n = std::min(left, kBufferSize - used_);
    std::memcpy(buffer_.get() + used_, p, n);
    used_ += n;
    p += n;
    left -= n;
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
