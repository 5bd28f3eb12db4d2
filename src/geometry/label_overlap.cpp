// The label store of double-label elimination and the overlap test of two label rectangles.
#include "geometry/label_overlap.h"

#include <algorithm>
#include <cmath>

#include "geometry/segment_crossing.h"

namespace tsn {
namespace {

// Cell coordinates are kept well inside the range where dividing by the cell size still places
// two points within one cell of each other in neighbouring cells.
constexpr double kGridLimit = 1099511627776.0;  // 2^40 cells from the origin
// A cell is twice the distance at which two labels can still meet, so that rounding never puts
// two such labels more than one cell apart.
constexpr double kCellPerReach = 4.0;
constexpr double kMultiLineGap = 0.5;  // line gap assumed for the height of a label block

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The texts as one key: each text's length (so that field borders stay apart) and its bytes
// with A-Z folded to lower case. Equal keys are texts equal field by field, ignoring case.
template <typename Text>
void fold_texts(std::span<const Text> texts, std::string& key, std::size_t& longest) {
  key.clear();
  longest = 0;
  for (const auto& t : texts) {
    const std::string_view text(t);
    longest = std::max(longest, text.size());
    std::uint32_t n = static_cast<std::uint32_t>(text.size());
    for (int i = 0; i < 4; ++i) {
      key.push_back(static_cast<char>(n & 0xFFu));
      n >>= 8;
    }
    for (char c : text) key.push_back(fold(c));
  }
}

// Largest distance from the insertion point to the rectangle.
double reach(const LabelRect& r) {
  return std::hypot(r.half_width, std::max(std::fabs(r.bottom), std::fabs(r.top)));
}

}  // namespace

std::array<PlanePoint, 4> LabelRect::corners() const {
  const double c = std::cos(rotation);
  const double s = std::sin(rotation);
  auto at = [&](double along, double across) {
    return PlanePoint{insertion.x + c * along - s * across, insertion.y + s * along + c * across};
  };
  return {at(-half_width, bottom), at(half_width, bottom), at(half_width, top),
          at(-half_width, top)};
}

bool labels_overlap(const LabelRect& a, const LabelRect& b) {
  const std::array<PlanePoint, 4> pa = a.corners();
  const std::array<PlanePoint, 4> pb = b.corners();
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = 0; j < 4; ++j) {
      if (segments_cross(pa[i], pa[(i + 1) % 4], pb[j], pb[(j + 1) % 4])) return true;
    }
  }
  return false;
}

OverlapSettings overlap_settings(const ConvSettings& s) {
  return {s.cur.TextLabelsHeight, s.cur.OverlapFactor, s.OverlapWidthFactor};
}

LabelRect label_rect(const OverlapSettings& settings, PlanePoint insertion, double rotation,
                     std::size_t longest, std::size_t line_count) {
  const double h = settings.height * settings.overlap_factor;
  const double width = static_cast<double>(longest) * settings.overlap_width_factor * h;
  LabelRect r;
  r.insertion = insertion;
  r.rotation = rotation;
  r.half_width = width / 2.0;
  r.top = h;
  r.bottom = 0.0;
  if (line_count > 1) {
    const double n = static_cast<double>(line_count);
    r.bottom = h - h * ((n - 1.0) * kMultiLineGap + n);
  }
  return r;
}

std::size_t LabelStore::CellHash::operator()(const CellKey& k) const {
  std::uint64_t h = k.group * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<std::uint64_t>(k.ix) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
  h ^= static_cast<std::uint64_t>(k.iy) * 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
  return static_cast<std::size_t>(h ^ (h >> 31));
}

int LabelStore::eliminate_double_label(std::span<const std::string_view> texts,
                                       double rotation, PlanePoint insertion) {
  std::size_t longest = 0;
  fold_texts(texts, key_, longest);
  return add(key_, longest, texts.size(), rotation, insertion);
}

int LabelStore::eliminate_double_label(std::span<const std::string> texts, double rotation,
                                       PlanePoint insertion) {
  std::size_t longest = 0;
  fold_texts(texts, key_, longest);
  return add(key_, longest, texts.size(), rotation, insertion);
}

void LabelStore::clear() {
  index_.clear();
  groups_.clear();
  cells_.clear();
  stored_ = 0;
  eliminated_ = 0;
}

bool LabelStore::overlaps_chain(const Group& g, std::uint32_t head, const LabelRect& rect) const {
  for (std::uint32_t i = head; i != 0; i = g.entries[i - 1].next_in_cell) {
    LabelRect other = rect;
    other.insertion = g.entries[i - 1].insertion;
    other.rotation = g.entries[i - 1].rotation;
    if (labels_overlap(other, rect)) return true;
  }
  return false;
}

bool LabelStore::overlaps_any(const Group& g, std::uint32_t group_id,
                              const LabelRect& rect) const {
  const bool gridded = g.cell > 0.0 && kCellPerReach * reach(rect) <= g.cell;
  const double gx = rect.insertion.x / g.cell;
  const double gy = rect.insertion.y / g.cell;
  if (!gridded || !(std::fabs(gx) < kGridLimit && std::fabs(gy) < kGridLimit)) {
    for (const Entry& e : g.entries) {
      LabelRect other = rect;
      other.insertion = e.insertion;
      other.rotation = e.rotation;
      if (labels_overlap(other, rect)) return true;
    }
    return false;
  }
  if (overlaps_chain(g, g.far_head, rect)) return true;
  const auto ix = static_cast<std::int64_t>(std::floor(gx));
  const auto iy = static_cast<std::int64_t>(std::floor(gy));
  for (std::int64_t dx = -1; dx <= 1; ++dx) {
    for (std::int64_t dy = -1; dy <= 1; ++dy) {
      const auto it = cells_.find(CellKey{group_id, ix + dx, iy + dy});
      if (it != cells_.end() && overlaps_chain(g, it->second, rect)) return true;
    }
  }
  return false;
}

int LabelStore::add(const std::string& key, std::size_t longest, std::size_t lines,
                    double rotation, PlanePoint insertion) {
  const LabelRect rect = label_rect(settings_, insertion, rotation, longest, lines);
  const auto [it, opened] = index_.try_emplace(key, static_cast<std::uint32_t>(groups_.size()));
  const std::uint32_t group_id = it->second;
  if (opened) {
    Group g;
    const double cell = kCellPerReach * reach(rect);
    g.cell = std::isfinite(cell) && cell > 0.0 ? cell : 0.0;
    groups_.push_back(std::move(g));
  } else if (overlaps_any(groups_[group_id], group_id, rect)) {
    ++eliminated_;
    return 1;
  }

  Group& g = groups_[group_id];
  const auto index = static_cast<std::uint32_t>(g.entries.size());
  Entry e{insertion, rotation, 0};
  if (g.cell > 0.0) {
    const double gx = insertion.x / g.cell;
    const double gy = insertion.y / g.cell;
    if (std::fabs(gx) < kGridLimit && std::fabs(gy) < kGridLimit) {
      std::uint32_t& head = cells_[CellKey{group_id, static_cast<std::int64_t>(std::floor(gx)),
                                           static_cast<std::int64_t>(std::floor(gy))}];
      e.next_in_cell = head;
      head = index + 1;
    } else {
      e.next_in_cell = g.far_head;
      g.far_head = index + 1;
    }
  }
  g.entries.push_back(e);
  ++stored_;
  return 0;
}

}  // namespace tsn
