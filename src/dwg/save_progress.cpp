// The thresholds of the save progress.
#include "dwg/save_progress.h"

#include <algorithm>
#include <array>
#include <optional>

#include "platform/messages.h"

namespace tsn {
namespace {

constexpr std::array<int, 20> kRelease12 = {12, 24, 36, 48, 64, 70, 73, 76, 78, 80,
                                            82, 85, 88, 90, 92, 93, 95, 98, 100, 1000};
constexpr std::array<int, 20> kLaterReleases = {1,  2,  4,  6,  8,  10, 12, 14, 16, 18,
                                                20, 30, 40, 45, 50, 55, 60, 66, 95, 1000};
constexpr int kFirstPosition = 80;

std::optional<SaveProgress> g_save;

}  // namespace

int SaveProgress::report(int percent) {
  if (per_percent_) return std::clamp(percent, 0, 100);
  const std::array<int, 20>& table = release_12_ ? kRelease12 : kLaterReleases;
  if (!started_) {
    started_ = true;
    return kFirstPosition;
  }
  while (next_ < static_cast<int>(table.size()) && percent >= table[static_cast<std::size_t>(next_)]) {
    ++next_;
  }
  return kFirstPosition + next_;
}

void start_save_progress(int release_code, bool per_percent) {
  g_save.emplace(release_code, per_percent);
}

void save_progress_report(int percent) {
  if (!g_save) return;
  progress_step_to(g_save->report(percent));
}

}  // namespace tsn
