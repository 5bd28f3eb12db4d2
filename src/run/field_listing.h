// The table's fields with the numbers that /LF, /CF, /T, /AB, /E, /DX and /DY take.
#pragma once

#include <string>
#include <vector>

#include "input/dbf_field.h"

namespace tsn {

// Status lines "  fields 0 NAME (C), 1 AREA (N), ..." wrapped before `width` columns; each line
// starts with "\n". Control characters of a name are shown as '?'. Empty for no fields.
std::string field_listing(const std::vector<dbf_field>& fields, std::size_t width = 80);

}  // namespace tsn
