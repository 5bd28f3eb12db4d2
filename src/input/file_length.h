// The check of a header's file length against the real size of a shapefile, index or table.
#pragma once

#include <cstdint>

namespace tsn {

enum class CheckedFile { shp, shx, dbf };

// Compares header_length (bytes) with real_size, the size of the file (or of the bytes in
// memory) taken when it was opened. Equal sizes pass; a table whose header implies one byte more
// than the file holds (no end-of-file marker) passes. Any other difference replaces header_length
// by the real size, after asking the user first when `ask` is set; 0 to go on, -1 when the user
// answers No.
int check_file_length(CheckedFile which, std::int64_t real_size, bool ask,
                      std::int64_t& header_length);

}  // namespace tsn
