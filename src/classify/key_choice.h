// Which field a key uses when none was chosen for the table: the remembered names first, then
// fields whose names suggest a classification, then the first plausible field.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "input/dbf_field.h"
#include "settings/conv_settings.h"

namespace tsn {

// The layer key field: the one named LayersKey, else the first of the recent layer keys, else a
// field with a class-like name (LAYER, CLASS, TYPE, ...), else the first field whose name does
// not suggest a measure or an identifier (some words count only for some shape classes:
// `shape_class` 0 points, 1 lines, 2 polygons, -1 a table without shapes), else field 0.
// -1 for a table without fields.
int default_layer_key(const std::vector<dbf_field>& fields, const ConvSettings& s,
                      int shape_class);

// The colour key field: the one named ColoursKey, else one named COLOR, else the first of the
// recent colour keys, else the layer key's default.
int default_colour_key(const std::vector<dbf_field>& fields, const ConvSettings& s,
                       int shape_class);

// A colour key field of this name holds drawing colour numbers (COLOR, PEN).
bool names_colour_numbers(const std::string& field_name);

}  // namespace tsn
