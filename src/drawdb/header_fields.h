// The header variables as data: name, group code, value type, the DbHeader slot and releases.
// The DXF writer walks this table; the initialisation file sets variables by these names.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "drawdb/db_records.h"

namespace tsn {

enum class HeaderValue : std::uint8_t {
  real, integer, text, point3, point2, code_page,
  version, handling, handseed  // written from the save, not from the header record
};

struct HeaderVar {
  std::string_view name;
  int code;
  HeaderValue type;
  std::uint8_t releases;
  double DbHeader::*real = nullptr;
  int DbHeader::*integer = nullptr;  // also the code page index
  std::string DbHeader::*text = nullptr;
  DbPoint DbHeader::*point3 = nullptr;
  std::array<double, 2> DbHeader::*point2 = nullptr;
};

std::span<const HeaderVar> header_vars();
// The variable of that name ("$LTSCALE", case ignored), or nullptr.
const HeaderVar* find_header_var(std::string_view name);
// The code page name of a code page index ("ANSI_1252" for 30 and for unknown indices).
std::string_view code_page_name(int index);
// The index of a code page name ("ANSI_1253"), ignoring case; -1 for a name without one.
int code_page_index(std::string_view name);

}  // namespace tsn
