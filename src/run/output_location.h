// Whether a drawing can be written where the user asked: not on a read-only or optical-disc
// file system, and into a directory that accepts a new file.
#pragma once

#include <string>

namespace tsn {

// 0 when the output directory can take the drawing; -1 after the message of
// output_location_problem.
int check_output_location(const std::string& output_path);

// The message for an output directory `dir` that refused a new file with errno `write_error`:
// message 200 for a read-only or optical-disc file system (EROFS), plain words for a missing
// directory or one the user may not write, message 177 with the system's reason otherwise.
// Empty for 0.
std::string output_location_problem(const std::string& output_path, const std::string& dir,
                                    int write_error);

}  // namespace tsn
