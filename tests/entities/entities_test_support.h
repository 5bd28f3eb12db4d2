// Records, settings and a collecting writer for the line and polygon generator tests.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "dxf/dxf_writer.h"
#include "dxf/group_sink.h"
#include "input/shape_record.h"
#include "settings/conv_settings.h"

namespace tsn {

// Exact comparison: the thinning passes copy points, they never compute them.
inline bool operator==(const shape_point& a, const shape_point& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline std::ostream& operator<<(std::ostream& os, const shape_point& p) {
  return os << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}

}  // namespace tsn

namespace tsn::test {

// A record from its parts, each a list of points; Z taken as given when has_z is set.
inline shape_rec make_record(std::initializer_list<std::vector<shape_point>> parts,
                             bool has_z = false, int number = 1) {
  shape_rec rec;
  rec.record_number = number;
  rec.has_z = has_z;
  std::size_t total = 0;
  for (const auto& p : parts) total += p.size();
  rec.grow_parts(parts.size());
  rec.grow_points(total);
  rec.num_parts = static_cast<std::int32_t>(parts.size());
  std::int32_t at = 0;
  std::int32_t i = 0;
  for (const auto& p : parts) {
    rec.part_starts[i++] = at;
    for (const shape_point& q : p) rec.points[at++] = q;
  }
  rec.num_points = at;
  if (total > 0) {
    rec.box = {rec.points[0].x, rec.points[0].y, rec.points[0].x, rec.points[0].y};
    for (std::int32_t k = 0; k < at; ++k) {
      rec.box.xmin = std::min(rec.box.xmin, rec.points[k].x);
      rec.box.ymin = std::min(rec.box.ymin, rec.points[k].y);
      rec.box.xmax = std::max(rec.box.xmax, rec.points[k].x);
      rec.box.ymax = std::max(rec.box.ymax, rec.points[k].y);
    }
  }
  return rec;
}

// The points of part i, in order.
inline std::vector<shape_point> part_points(const shape_rec& rec, std::int32_t i) {
  std::vector<shape_point> out;
  const std::int32_t s = rec.part_starts[i];
  for (std::int32_t k = 0; k < rec.points_in_part(i); ++k) out.push_back(rec.points[s + k]);
  return out;
}

// A text-path writer configured from the settings the test gives; nothing shared.
struct EntityOutput {
  explicit EntityOutput(const ConvSettings& s) { dxf_configure(state, s, false); }
  const std::string& text() const { return sink.text(); }

  DxfState state;
  StringGroupSink sink;
  DxfWriter w{state, &sink};
};

}  // namespace tsn::test
