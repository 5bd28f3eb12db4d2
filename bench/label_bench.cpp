// Label benchmark: places and filters 10,000 and then 100,000 labels on a grid, with few
// distinct names so that every name group grows large; prints both times and their ratio
// (about 10 when the work grows linearly with the label count).
// Usage: label_bench
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "geometry/label_overlap.h"
#include "geometry/label_placement.h"
#include "geometry/text_metrics.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Result {
  double seconds = 0.0;
  long kept = 0;
  long eliminated = 0;
  double checksum = 0.0;
};

// Labels of `count` records: points and short polylines alternately, on a square grid two text
// heights apart, named from 40 names (neighbours in pairs share a name, so some overlap).
Result run(long count) {
  static const std::array<const char*, 4> kStems = {"Main Street", "OAK AVENUE", "river road",
                                                    "Station Way"};
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) names.push_back(std::string(kStems[i % 4]) + " " + std::to_string(i / 4));

  const long columns = static_cast<long>(std::sqrt(static_cast<double>(count))) + 1;
  const auto start = Clock::now();
  tsn::LabelStore store(tsn::OverlapSettings{1.0, 1.0, 1.0});
  Result r;
  std::array<tsn::shape_point, 4> part{};
  for (long i = 0; i < count; ++i) {
    const double x = static_cast<double>(i % columns) * 2.0;
    const double y = static_cast<double>(i / columns) * 2.0;
    tsn::LabelRequest request;
    request.shape_class = i % 2 == 0 ? 0 : 1;
    request.position = tsn::kInitialTextPositions[request.shape_class];
    request.box = {x - 0.5, y - 0.5, x + 0.5, y + 0.5};
    if (request.shape_class == 1) {
      part = {tsn::shape_point{x - 0.5, y - 0.5, 0}, tsn::shape_point{x, y + 0.5, 0},
              tsn::shape_point{x + 0.2, y - 0.2, 0}, tsn::shape_point{x + 0.5, y + 0.5, 0}};
      request.part = part;
      request.align = true;
      request.move_close = true;
    }
    const tsn::LabelPlacement p = tsn::place_label(request);
    const std::string& name = names[static_cast<std::size_t>((i / 2 + i / columns) % 40)];
    r.checksum += tsn::char_width_ratio(name, tsn::WidthMode::plain, 1.0);
    const std::array<std::string_view, 1> texts = {name};
    if (store.eliminate_double_label(texts, p.rotation, p.insertion) == 0) ++r.kept;
  }
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  r.eliminated = store.eliminated();
  return r;
}

}  // namespace

int main() {
  tsn::arial_widths();  // the face is opened once per process, outside the timing
  const Result small = run(10000);
  const Result large = run(100000);
  std::printf("labels  10,000: %.4f s (%ld kept, %ld eliminated)\n", small.seconds, small.kept,
              small.eliminated);
  std::printf("labels 100,000: %.4f s (%ld kept, %ld eliminated)\n", large.seconds, large.kept,
              large.eliminated);
  std::printf("ratio 100,000 / 10,000: %.1f (10 is linear)\n",
              small.seconds > 0.0 ? large.seconds / small.seconds : 0.0);
  return small.checksum > 0.0 && large.checksum > 0.0 ? 0 : 1;
}
