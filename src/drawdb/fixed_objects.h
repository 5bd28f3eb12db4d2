// Values of the objects every saved drawing carries (the standard multi-line style, the
// plot settings of the two layouts), shared by the text and the binary writers.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "drawdb/drawing.h"

namespace tsn::fixed_objects {

inline constexpr std::string_view kMlineStyleName = "Standard";
inline constexpr double kMlineAngle = 90.0;  // start and end caps, degrees
inline constexpr double kMlineOffsets[] = {0.5, -0.5};

inline constexpr std::string_view kPlotDevice = "none_device";
inline constexpr int kModelPlotFlags = 1712, kLayoutPlotFlags = 688;
inline constexpr int kPlotType = 5;    // the layout's own area
inline constexpr int kScaleType = 16;  // 1:1
inline constexpr int kLayoutFlags = 1;  // line type scaling by the layout's viewports

struct DictionaryEntry {
  std::string_view name;
  std::uint32_t handle;
};
struct Dictionary {
  std::uint32_t handle, owner;
  std::vector<DictionaryEntry> entries;
};
// The plain dictionaries of a drawing in file order: the named object dictionary (owner 0)
// and those it names (the plot style names, a dictionary with a default, excepted).
std::vector<Dictionary> dictionaries(const Drawing& d, bool r2000);

}  // namespace tsn::fixed_objects
