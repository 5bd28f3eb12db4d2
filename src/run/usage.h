// The text of --help and --version.
#pragma once

#include <string>

namespace tsn {

std::string usage_text();
std::string version_text();
// The banner line the status list starts with: "\nTessaryn 3.2 Rev C.11 Shapefile to ...".
std::string banner_status_line();

}  // namespace tsn
