// Reading the database's DXF output back as groups in the tests.
#pragma once

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tsn::test {

struct Group {
  int code;
  std::string value;
};

// The groups of a DXF text (CR LF or LF line ends, codes with leading blanks).
inline std::vector<Group> dxf_groups(const std::string& text) {
  std::vector<Group> out;
  std::istringstream in(text);
  std::string code, value;
  while (std::getline(in, code) && std::getline(in, value)) {
    if (!code.empty() && code.back() == '\r') code.pop_back();
    if (!value.empty() && value.back() == '\r') value.pop_back();
    out.push_back({std::stoi(code), value});
  }
  return out;
}

}  // namespace tsn::test
