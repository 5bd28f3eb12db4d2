// The check of a header's file length against the real size of a shapefile, index or table.
#pragma once

#include <cstdint>
#include <string>

namespace tsn {

enum class CheckedFile { shp, shx, dbf };

// Compares header_length (bytes) with the real size of the file at `path`. Equal sizes pass; a
// table whose header implies one byte more than the file holds (no end-of-file marker) passes.
// Any other difference replaces header_length by the real size, after asking the user first
// when `ask` is set; 0 to go on, -1 when the user answers No or the size cannot be taken.
int check_file_length(CheckedFile which, const std::string& path, bool ask,
                      std::int64_t& header_length);

}  // namespace tsn
