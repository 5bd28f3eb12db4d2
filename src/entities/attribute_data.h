// Feature attributes of a record: the selected fields of the table, their values as written
// (trimmed, cut to MaxAttribLen), and the extended entity data that carries them under the
// application name TESSARYN.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/drawing_writer.h"
#include "input/table_reader.h"
#include "settings/conv_settings.h"

namespace tsn {

struct AttributeField {
  int index = 0;     // in the table
  std::string name;  // the tag
  int width = 0;     // the field's width, for the attribute definition
};

// The fields selected for attribute output (F<i>), in field order.
std::vector<AttributeField> selected_attribute_fields(const ConvSettings& s,
                                                      const std::vector<dbf_field>& fields);

// A field value as written into the drawing: leading and trailing blanks removed when
// StripSpaces is on, then cut to max_length characters when that is above 0 (at most 255).
std::string_view written_field_value(std::string_view value, bool strip_spaces, int max_length);

// The extended data of the record begun in `table`: "1001 TESSARYN", "1002 {", a 1000 item with
// the name and one with the value of every field, "1002 }". The texts are kept in `values`;
// the items point into them and into `fields`.
void attribute_eed(TableReader& table, std::span<const AttributeField> fields, bool strip_spaces,
                   int max_length, std::vector<std::string>& values, std::vector<XdataItem>& items);

// "<BASE>_INFO": the input's base name cleaned by the release's name rule (as layer names are,
// but cut to 249 characters), upper-cased, then "_INFO".
std::string info_block_name(std::string_view input_base_name, int verDXF);

// The attribute-definition block of the table: a POINT at the origin, then one ATTDEF per field,
// the first at (0, 0) and each next (1 + line_spacing) × height lower. 0 or -1.
int write_info_block(const DrawingOut& blocks, std::string_view name,
                     std::span<const AttributeField> fields, double height, double line_spacing);

}  // namespace tsn
