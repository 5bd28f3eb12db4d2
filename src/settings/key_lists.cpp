// Most-recently-used lists of key fields and single-layer names.
#include "settings/key_lists.h"

#include <algorithm>

#include "platform/paths.h"

namespace tsn {

namespace {

template <std::size_t N>
int find_entry(const std::array<std::string, N>& list, const std::string& name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (!list[i].empty() && equal_ignoring_case(list[i], name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

template <std::size_t N>
void push_recent(std::array<std::string, N>& list, const std::string& name) {
  if (name.empty()) return;
  const int found = find_entry(list, name);
  const std::size_t hole = found >= 0 ? static_cast<std::size_t>(found) : N - 1;
  // Shift the entries in front of the hole back by one and put the name first.
  std::move_backward(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(hole),
                     list.begin() + static_cast<std::ptrdiff_t>(hole) + 1);
  list[0] = name;
}

template void push_recent(std::array<std::string, kRecentKeys>&, const std::string&);
template void push_recent(std::array<std::string, kLayerHistory>&, const std::string&);

void update_key_lists(ConvSettings& s, const std::string& input_path) {
  push_recent(s.recent_layer_keys, s.def.LayersKey);
  push_recent(s.recent_colour_keys, s.def.ColoursKey);
  const std::string& layer = s.def.SingleLayerName;
  if (equal_ignoring_case(layer, base_name(input_path))) {
    s.LLMS = 1;
  } else if (find_entry(s.layer_history, layer) < 0) {
    push_recent(s.layer_history, layer);
  }
}

}  // namespace tsn
