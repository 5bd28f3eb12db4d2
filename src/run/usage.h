// The text of --help and --version.
#pragma once

#include <string>

namespace tsn {

std::string usage_text();
std::string version_text();

}  // namespace tsn
