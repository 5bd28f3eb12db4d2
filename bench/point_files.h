// Generated benchmark input: a shapefile of a million point records on a grid with its table
// (ID: every record its own number; NAME: 20 street names in turn).
#pragma once

#include <filesystem>

namespace bench {

inline constexpr int kRecords = 1'000'000;
inline constexpr int kDistinctNames = 20;

// Writes roads.shp, roads.shx and roads.dbf into dir.
void generate_point_files(const std::filesystem::path& dir);

}  // namespace bench
