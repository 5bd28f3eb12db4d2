// Diagonal search and cutting of fill chunks.
#include "geometry/fill_chunks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "geometry/label_anchor.h"
#include "geometry/segment_crossing.h"

namespace tsn {
namespace {

constexpr std::array<std::int32_t, 16> kDivisors{2,  3,  4,  5,  6,  8,   10,  12,
                                                  15, 20, 30, 50, 80, 160, 250, 400};
constexpr std::int32_t kFirstStride = 49;
constexpr double kSamePoint = 1e-10;
constexpr double kFullTurn = 2.0 * std::numbers::pi;
// Edge tests one outline may spend on finding its cuts (about a tenth of a second); the chunks
// still too long then are clipped as they are.
constexpr std::int64_t kWorkLimit = 100'000'000;

bool coincide(PlanePoint a, PlanePoint b) {
  return std::fabs(a.x - b.x) < kSamePoint && std::fabs(a.y - b.y) < kSamePoint;
}

// Angle from direction v->w round to direction v->p, in [0, 2 pi); 0 when p or w lies on v.
double angle_from(PlanePoint v, PlanePoint w, PlanePoint p) {
  if (coincide(p, v) || coincide(w, v)) return 0.0;
  double d = std::atan2(p.y - v.y, p.x - v.x) - std::atan2(w.y - v.y, w.x - v.x);
  if (d < 0.0) d += kFullTurn;
  if (d >= kFullTurn) d -= kFullTurn;
  return d;
}

// The diagonal v->w leaves v into the inside of a clockwise ring that comes from p and goes
// on to n: turning counter-clockwise from the diagonal, n is met no later than p.
bool enters_inside(PlanePoint v, PlanePoint p, PlanePoint n, PlanePoint w) {
  return angle_from(v, w, n) <= angle_from(v, w, p);
}

struct Search {
  std::span<const std::int32_t> chunk;
  std::vector<PlanePoint> pts;
  std::int64_t work = 0;
};

bool is_cut(Search& search, std::int32_t s, std::int32_t e) {
  const auto& pts = search.pts;
  const auto n = static_cast<std::int32_t>(pts.size());
  const auto at = [](std::int32_t pos) { return static_cast<std::size_t>(pos); };
  const std::int32_t before_s = s == 0 ? n - 2 : s - 1;
  const PlanePoint v = pts[at(s)], w = pts[at(e)];
  // A diagonal of no length would cut off a loop that only touches the rest (a hole walked
  // round from its bridge), leaving the hole filled.
  if (coincide(v, w)) return false;
  if (!enters_inside(v, pts[at(before_s)], pts[at(s + 1)], w)) return false;
  if (!enters_inside(w, pts[at(e - 1)], pts[at(e + 1)], v)) return false;
  for (std::int32_t i = 0; i + 1 < n; ++i) {
    if (i == before_s || i == s || i == e - 1 || i == e) continue;
    if (search.chunk[at(i)] == search.chunk[at(i + 1)]) continue;
    ++search.work;
    if (segments_cross(v, w, pts[at(i)], pts[at(i + 1)])) return false;
  }
  return true;
}

ChunkSplit keep_whole(ChunkSplit result, std::int32_t chunk) {
  if (result.ok) result = {false, chunk};
  return result;
}

// Finds the diagonal s -> e of one chunk, by the divisor table.
bool find_cut(Search& search, std::int32_t& s_found, std::int32_t& e_found) {
  const auto n = static_cast<std::int32_t>(search.pts.size());
  std::int32_t stride = kFirstStride;
  for (const std::int32_t divisor : kDivisors) {
    const std::int32_t g = std::max(n / divisor, 3);
    stride = std::min(g / 3, stride);
    for (std::int32_t s = 0; s < n - g - 1; s += stride) {
      if (search.work > kWorkLimit) return false;
      if (is_cut(search, s, s + g)) {
        s_found = s;
        e_found = s + g;
        return true;
      }
    }
    if (g < 4) break;
  }
  return false;
}

}  // namespace

ChunkSplit split_into_chunks(std::span<const shape_point> pool,
                             std::span<const std::int32_t> outline, std::int32_t chunk_size,
                             std::vector<std::vector<std::int32_t>>& chunks) {
  chunks.resize(1);
  std::vector<std::int32_t>& first = chunks[0];
  first.assign(outline.begin(), outline.end());
  if (first.empty()) return {};
  for (const std::int32_t i : first) {
    if (i < 0 || static_cast<std::size_t>(i) >= pool.size()) {
      chunks.clear();
      return {false, 0};
    }
  }
  // Closed by a repeated index (a joined outline) or by a closing copy of the first point (a
  // ring as a shapefile part holds it).
  const shape_point& head = pool[static_cast<std::size_t>(first.front())];
  const shape_point& tail = pool[static_cast<std::size_t>(first.back())];
  if (first.size() < 2 || head.x != tail.x || head.y != tail.y) first.push_back(first.front());
  const auto limit = static_cast<std::size_t>(std::max(chunk_size, kMinChunkSize));

  ChunkSplit result;
  Search search;
  std::vector<std::int32_t> cut;
  std::vector<std::int32_t> rest;
  // Chunks before the first too long one never grow again, so the search resumes there.
  for (std::size_t c = 0; c < chunks.size();) {
    if (chunks[c].size() <= limit) {
      ++c;
      continue;
    }
    const auto number = static_cast<std::int32_t>(c);
    // A chunk that cannot be cut stays whole: it is still a closed part of the outline, and
    // the clipper copes with long rings, only more slowly.
    if (chunks.size() >= kMaxChunks || search.work > kWorkLimit) {
      result = keep_whole(result, number);
      ++c;
      continue;
    }
    const std::vector<std::int32_t>& chunk = chunks[c];
    search.chunk = chunk;
    search.pts.clear();
    for (const std::int32_t i : chunk) {
      const shape_point& p = pool[static_cast<std::size_t>(i)];
      search.pts.push_back({p.x, p.y});
    }
    std::int32_t s = 0, e = 0;
    if (!find_cut(search, s, e)) {
      result = keep_whole(result, number);
      ++c;
      continue;
    }
    const auto n = static_cast<std::int32_t>(chunk.size());
    const auto at = [](std::int32_t pos) { return static_cast<std::size_t>(pos); };
    cut.assign(chunk.begin() + s, chunk.begin() + e + 1);
    cut.push_back(chunk[at(s)]);
    rest.assign(chunk.begin() + e, chunk.begin() + (n - 1));
    rest.insert(rest.end(), chunk.begin(), chunk.begin() + s + 1);
    rest.push_back(chunk[at(e)]);
    chunks[c].swap(cut);
    chunks.push_back(rest);
  }
  return result;
}

}  // namespace tsn
