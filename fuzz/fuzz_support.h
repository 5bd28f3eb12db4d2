// What every fuzz target shares: a host that shows nothing and takes the default answer of
// every question, and an invariant check that stops the run where it fails.
#pragma once

#include <stdlib.h>

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/coding.h"
#include "platform/host.h"

namespace tsn::fuzz {

inline void check(bool condition) {
  if (!condition) __builtin_trap();
}

// A private directory of this fuzz run (ending in '/'), for targets that write files.
inline std::string scratch_directory() {
  std::string pattern = "/tmp/tsn-fuzz-XXXXXX";
  check(::mkdtemp(pattern.data()) != nullptr);
  return pattern + "/";
}

// Writes `text` as the file; false when that failed.
inline bool write_text_file(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && written;
}

// The input of the shapefile targets: 1 flag byte, the index length (4 bytes, little-endian,
// taken modulo what follows), the index, then the main file. Needs at least 5 bytes.
struct ShapefileInput {
  std::uint8_t flags = 0;
  std::string shx;
  std::string shp;
};
inline ShapefileInput split_shapefile_input(const std::uint8_t* data, std::size_t size) {
  const std::size_t rest = size - 5;
  const std::size_t shx_size = rest == 0 ? 0 : load_le32(data + 1) % (rest + 1);
  const auto* shx = reinterpret_cast<const char*>(data + 5);
  return {data[0], std::string(shx, shx_size), std::string(shx + shx_size, rest - shx_size)};
}

class SilentHost final : public SilentHostBase {
 public:
  [[noreturn]] void end_process(int) override { __builtin_trap(); }
};

}  // namespace tsn::fuzz
