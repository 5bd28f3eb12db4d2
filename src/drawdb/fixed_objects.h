// Values of the objects every saved drawing carries (the standard multi-line style, the
// plot settings of the two layouts), shared by the text and the binary writers.
#pragma once

#include <string_view>

namespace tsn::fixed_objects {

inline constexpr std::string_view kMlineStyleName = "Standard";
inline constexpr double kMlineAngle = 90.0;  // start and end caps, degrees
inline constexpr double kMlineOffsets[] = {0.5, -0.5};

inline constexpr std::string_view kPlotDevice = "none_device";
inline constexpr int kModelPlotFlags = 1712, kLayoutPlotFlags = 688;
inline constexpr int kPlotType = 5;    // the layout's own area
inline constexpr int kScaleType = 16;  // 1:1
inline constexpr int kLayoutFlags = 1;  // line type scaling by the layout's viewports

}  // namespace tsn::fixed_objects
