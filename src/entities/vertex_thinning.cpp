// Merging of close vertices and dropping of vertices on straight runs.
#include "entities/vertex_thinning.h"

#include <cmath>

namespace tsn {
namespace {

// Parts at or below these sizes are copied unchanged by the two passes.
constexpr std::int32_t kMergeMinPoints = 4;
constexpr std::int32_t kCollinearMinPoints = 5;
// A second segment shorter than this along the dominant axis gives no slope to compare.
constexpr double kMinRun = 1e-7;

bool same_strict_sign(double a, double b) { return (a > 0.0 && b > 0.0) || (a < 0.0 && b < 0.0); }

// Moves part i's n points from old start s to new start d (d <= s); returns d + n.
std::int32_t copy_part(shape_rec& rec, std::int32_t s, std::int32_t d, std::int32_t n) {
  if (d != s) {
    for (std::int32_t k = 0; k < n; ++k) rec.points[d + k] = rec.points[s + k];
  }
  return d + n;
}

// Keeps the points of one part that leave the tolerance box of the last kept point.
std::int32_t merge_part(shape_rec& rec, std::int32_t s, std::int32_t d, std::int32_t n,
                        double tolerance) {
  rec.points[d] = rec.points[s];
  std::int32_t kept = d;  // the last kept point K
  for (std::int32_t j = s + 1; j < s + n; ++j) {
    const shape_point p = rec.points[j];
    const shape_point& k = rec.points[kept];
    if (std::fabs(p.x - k.x) >= tolerance || std::fabs(p.y - k.y) >= tolerance) {
      rec.points[++kept] = p;
    }
  }
  return kept + 1;
}

// True when B, the vertex between A-B and B-C, changes the direction by more than the
// tolerance and must stay.
bool vertex_turns(const shape_point& a, const shape_point& b, const shape_point& c,
                  double slope_tolerance) {
  const double dx1 = a.x - b.x;
  const double dy1 = a.y - b.y;
  const double dx2 = b.x - c.x;
  const double dy2 = b.y - c.y;
  double t = 1.0;
  double u = 0.0;
  if (std::fabs(dx1) > std::fabs(dy1)) {
    if (same_strict_sign(dx1, dx2) && std::fabs(dx2) > kMinRun) {
      t = dy1 / dx1;
      u = dy2 / dx2;
    }
  } else if (same_strict_sign(dy1, dy2) && std::fabs(dy2) > kMinRun) {
    t = dx1 / dy1;
    u = dx2 / dy2;
  }
  return std::fabs(t - u) > slope_tolerance;
}

std::int32_t collinear_part(shape_rec& rec, std::int32_t s, std::int32_t d, std::int32_t n,
                            double slope_tolerance) {
  rec.points[d] = rec.points[s];
  rec.points[d + 1] = rec.points[s + 1];
  std::int32_t a = d;  // the last kept point; the candidate B sits right after it
  // C is copied out before the write, which lands at a + 1 <= d + (j - s) <= j: no source
  // point is overwritten unread.
  for (std::int32_t j = s + 2; j < s + n; ++j) {
    const shape_point c = rec.points[j];
    if (vertex_turns(rec.points[a], rec.points[a + 1], c, slope_tolerance)) ++a;
    rec.points[a + 1] = c;
  }
  return a + 2;
}

template <typename PartPass>
std::int32_t compact_parts(shape_rec& rec, std::int32_t min_points, PartPass pass) {
  std::int32_t d = 0;
  const std::int32_t old_total = rec.num_points;
  for (std::int32_t i = 0; i < rec.num_parts; ++i) {
    const std::int32_t s = rec.part_starts[i];
    const std::int32_t end = i + 1 < rec.num_parts ? rec.part_starts[i + 1] : old_total;
    const std::int32_t n = end - s;
    rec.part_starts[i] = d;
    d = n < min_points ? copy_part(rec, s, d, n) : pass(s, d, n);
  }
  rec.num_points = d;
  return d;
}

}  // namespace

std::int32_t merge_close_vertices(shape_rec& rec, double tolerance) {
  return compact_parts(rec, kMergeMinPoints, [&](std::int32_t s, std::int32_t d, std::int32_t n) {
    return merge_part(rec, s, d, n, tolerance);
  });
}

std::int32_t drop_collinear_vertices(shape_rec& rec, double slope_tolerance) {
  return compact_parts(rec, kCollinearMinPoints,
                       [&](std::int32_t s, std::int32_t d, std::int32_t n) {
                         return collinear_part(rec, s, d, n, slope_tolerance);
                       });
}

}  // namespace tsn
