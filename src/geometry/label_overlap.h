// Elimination of double labels: a label is dropped when a label of the same text (compared
// field by field, ignoring case) already stands where its rectangle would overlap.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "geometry/label_anchor.h"
#include "settings/conv_settings.h"

namespace tsn {

// The ground a label covers: a rectangle turned by `rotation` about the insertion point,
// reaching half the width to either side along the text and from `bottom` to `top` across it.
struct LabelRect {
  PlanePoint insertion;
  double rotation = 0.0;  // radians
  double half_width = 0.0;
  double bottom = 0.0;  // offsets across the text direction, up positive
  double top = 0.0;

  std::array<PlanePoint, 4> corners() const;
};

// True when an edge of one rectangle crosses or touches an edge of the other. One rectangle
// lying wholly inside the other does not count.
bool labels_overlap(const LabelRect& a, const LabelRect& b);

struct OverlapSettings {
  double height = 1.0;                // TextLabelsHeight
  double overlap_factor = 1.0;        // OverlapFactor
  double overlap_width_factor = 1.0;  // OverlapWidthFactor
};

OverlapSettings overlap_settings(const ConvSettings& s);

// The rectangle of a label of `line_count` lines whose longest line has `longest` characters:
// width longest x OverlapWidthFactor x h x OverlapFactor, from the baseline up by
// H = h x OverlapFactor, and for more lines from that top down by H x ((n - 1) x 0.5 + n).
LabelRect label_rect(const OverlapSettings& settings, PlanePoint insertion, double rotation,
                     std::size_t longest, std::size_t line_count);

// The labels of one conversion, grouped by text. Each group keeps its labels together in
// arrival order; a grid of cells as large as two labels' reach lets a new label be tested only
// against the group's labels near it, so a file of many equal names stays fast.
class LabelStore {
 public:
  explicit LabelStore(OverlapSettings settings) : settings_(settings) {}

  // The label with these texts (its lines, in label order), insertion point and rotation
  // (radians): 1 when it overlaps a stored label of the same texts and must be dropped (and is
  // counted), 0 after storing it.
  int eliminate_double_label(std::span<const std::string_view> texts, double rotation,
                             PlanePoint insertion);
  int eliminate_double_label(std::span<const std::string> texts, double rotation,
                             PlanePoint insertion);

  long eliminated() const { return eliminated_; }
  std::size_t group_count() const { return groups_.size(); }
  std::size_t stored() const { return stored_; }
  // Empties the store and the count for the next conversion.
  void clear();

 private:
  struct Entry {
    PlanePoint insertion;
    double rotation = 0.0;
    std::uint32_t next_in_cell = 0;  // 1 + index of the next entry in the same cell; 0 none
  };
  struct Group {
    std::vector<Entry> entries;  // in arrival order
    double cell = 0.0;           // grid cell size; 0: no grid, every entry is tested
    std::uint32_t far_head = 0;  // chain of entries too far out for the grid
  };
  struct CellKey {
    std::uint32_t group;
    std::int64_t ix;
    std::int64_t iy;
    bool operator==(const CellKey&) const = default;
  };
  struct CellHash {
    std::size_t operator()(const CellKey& k) const;
  };

  int add(const std::string& key, std::size_t longest, std::size_t lines, double rotation,
          PlanePoint insertion);
  bool overlaps_chain(const Group& g, std::uint32_t head, const LabelRect& rect) const;
  bool overlaps_any(const Group& g, std::uint32_t group_id, const LabelRect& rect) const;

  OverlapSettings settings_;
  std::unordered_map<std::string, std::uint32_t> index_;  // case-folded texts -> group
  std::vector<Group> groups_;
  std::unordered_map<CellKey, std::uint32_t, CellHash> cells_;  // -> 1 + first entry's index
  std::size_t stored_ = 0;
  long eliminated_ = 0;
  std::string key_;  // scratch for the folded texts
};

}  // namespace tsn
