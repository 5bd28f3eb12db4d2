// The group layer of the database's DXF output: a code line and a value line per group, CR LF
// line ends, codes right-aligned in three columns, reals with a fixed number of decimals
// trimmed to at least one digit after the point. Every write is checked; finish() reports.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tsn {

class DxfOut {
 public:
  DxfOut(std::FILE* file, std::uint8_t release, int decimals, bool three_d);
  ~DxfOut() {
    if (file_ != nullptr) std::fclose(file_);  // only when finish() was not reached
  }
  DxfOut(const DxfOut&) = delete;
  DxfOut& operator=(const DxfOut&) = delete;

  std::uint8_t release() const { return release_; }
  void group(int code, std::string_view value);  // text values in caret notation
  void integer(int code, long value);
  void real(int code, double value);
  void hex(int code, std::uint32_t handle);
  // code, code + 10 and, for 3D output or releases after 12, code + 20.
  void point(int code, const double* xyz);
  void point3(int code, const double* xyz);
  void point2(int code, double x, double y);
  // Flushes and closes the file; false when any write or the close failed.
  bool finish();

 private:
  void code_line(int code);
  void line(std::string_view text);
  void put(const char* text, std::size_t n);
  void end_line();
  void flush();
  std::FILE* file_;
  std::uint8_t release_;
  int decimals_;
  bool three_d_;
  bool failed_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace tsn
