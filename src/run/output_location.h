// Whether a drawing can be written where the user asked: not on a read-only or optical-disc
// file system, and into a directory that accepts a new file.
#pragma once

#include <string>

namespace tsn {

// 0 when the output directory can take the drawing; -1 after message 200 (read-only or optical
// disc) or 177 (the directory does not accept a new file).
int check_output_location(const std::string& output_path);

}  // namespace tsn
