// Most-recently-used lists: the layer and colour key fields and the single-layer names.
#pragma once

#include <array>
#include <string>

#include "settings/conv_settings.h"

namespace tsn {

// Moves the name to the front: an entry equal to it (case ignored) is taken out of its place,
// otherwise the last entry drops out. Empty names are not entered.
template <std::size_t N>
void push_recent(std::array<std::string, N>& list, const std::string& name);

// After a conversion: the current layer and colour keys go to the front of their lists; the
// single layer name goes to the front of the layer history unless it is already there or
// equals the input's base name, in which case LLMS becomes 1 instead.
void update_key_lists(ConvSettings& s, const std::string& input_path);

}  // namespace tsn
