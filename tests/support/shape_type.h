// The shape type a shapefile's main file declares in its header, for tests that pick the
// test-data files of some types.
#pragma once

#include <filesystem>
#include <fstream>

namespace tsn::test {

// The shape type of a main file's header, or -1 when the file is shorter than its type field.
inline int shape_type_of(const std::filesystem::path& shp) {
  std::ifstream in(shp, std::ios::binary);
  unsigned char h[36] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return -1;
  return h[32] | (h[33] << 8) | (h[34] << 16) | (h[35] << 24);
}

}  // namespace tsn::test
