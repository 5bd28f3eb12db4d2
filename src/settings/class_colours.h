// The colour of every colour class: the classes' own values as colour numbers (the built-in
// mapping scheme), the colour list in use spread or repeated over the classes, or a ramp
// between two colours matched to the nearest colours of the first scheme.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "settings/conv_settings.h"

namespace tsn {

inline constexpr std::string_view kMappingNotAvailable =
    "AutoCAD Mapping scheme not available here (needs Unique integer values in range 0-256)";

// The colour key's classes may be taken as colour numbers: Unique Values, at most 256 classes,
// integers, every class within 0..256.
bool mapping_scheme_allowed(const RangeSet& classes, int method);

// The mapping scheme is asked for: the scheme index past the named schemes, AcadMapping, or
// colour ranges read as single colour numbers.
bool mapping_scheme_wanted(const ConvSettings& s);

// Ramp colours of n classes between the colour numbers `start` and `end`: their RGB values
// interpolated per class, each matched to the nearest of `candidates`.
std::vector<std::uint8_t> ramp_colours(int start, int end, std::size_t n,
                                       std::span<const std::uint8_t> candidates);

// Fills s.class_colours for the classes of s.colour_ranges. Returns false when the mapping
// scheme was asked for but the classes do not allow it; the scheme list's colours are used then.
bool compute_class_colours(ConvSettings& s);

}  // namespace tsn
