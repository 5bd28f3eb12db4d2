// Double-label elimination: which equal labels are dropped, the rectangle each label covers,
// the edge test (touching counts, containment does not) and the grid lookup against a full scan.
#include "geometry/label_overlap.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace tsn {
namespace {

using Texts = std::vector<std::string>;

int add(LabelStore& store, const Texts& texts, double x, double y, double rotation = 0.0) {
  return store.eliminate_double_label(std::span<const std::string>(texts), rotation, {x, y});
}

TEST(LabelStore, EqualTextsAtOnePointKeepTheFirst) {
  LabelStore store({1.0, 1.0, 1.0});
  EXPECT_EQ(add(store, {"Main St"}, 5, 5), 0);
  EXPECT_EQ(add(store, {"Main St"}, 5, 5), 1);
  EXPECT_EQ(add(store, {"Main St"}, 5.5, 5.2), 1);
  EXPECT_EQ(store.eliminated(), 2);
  EXPECT_EQ(store.stored(), 1u);
}

TEST(LabelStore, DifferentTextsBothStay) {
  LabelStore store({1.0, 1.0, 1.0});
  EXPECT_EQ(add(store, {"Main St"}, 5, 5), 0);
  EXPECT_EQ(add(store, {"Main Rd"}, 5, 5), 0);
  EXPECT_EQ(add(store, {"Main St", "North"}, 5, 5), 0);  // one more line is another text
  // Field by field: the border between lines matters.
  EXPECT_EQ(add(store, {"ab", "c"}, 0, 0), 0);
  EXPECT_EQ(add(store, {"a", "bc"}, 0, 0), 0);
  EXPECT_EQ(store.eliminated(), 0);
  EXPECT_EQ(store.group_count(), 5u);
}

TEST(LabelStore, TextsCompareIgnoringCase) {
  LabelStore store({1.0, 1.0, 1.0});
  EXPECT_EQ(add(store, {"Main St", "north"}, 0, 0), 0);
  EXPECT_EQ(add(store, {"MAIN st", "NORTH"}, 0, 0), 1);
  EXPECT_EQ(add(store, {"Main St ", "north"}, 0, 0), 0);  // a trailing space is a difference
  EXPECT_EQ(store.group_count(), 2u);
}

TEST(LabelStore, TouchingRectanglesOverlap) {
  // Four characters, h = 1: 4 wide, 1 high.
  LabelStore store({1.0, 1.0, 1.0});
  EXPECT_EQ(add(store, {"Lane"}, 0, 0), 0);
  EXPECT_EQ(add(store, {"Lane"}, 4, 0), 1);      // side to side
  EXPECT_EQ(add(store, {"Lane"}, 0, 1), 1);      // top on bottom
  EXPECT_EQ(add(store, {"Lane"}, 4, 1), 1);      // corner on corner
  EXPECT_EQ(add(store, {"Lane"}, 4.001, 0), 0);  // just clear
  EXPECT_EQ(add(store, {"Lane"}, 0, -1.001), 0);
  EXPECT_EQ(store.eliminated(), 3);
}

TEST(LabelStore, RotationTurnsTheRectangle) {
  LabelStore store({1.0, 1.0, 1.0});
  const double quarter = std::numbers::pi / 2;
  EXPECT_EQ(add(store, {"Lane"}, 0, 0, quarter), 0);
  // Turned upright the label reaches 2 up and down and 1 to the left: 3 to the right is clear,
  // though unturned it would overlap there.
  EXPECT_EQ(add(store, {"Lane"}, 3, 0, quarter), 0);
  EXPECT_EQ(add(store, {"Lane"}, 0, 4.5, quarter), 0);
  EXPECT_EQ(add(store, {"Lane"}, 0, 3.9, quarter), 1);
  // Crossing the first one unturned.
  EXPECT_EQ(add(store, {"Lane"}, -1, 0.5, 0.0), 1);
}

TEST(LabelStore, ClearEmptiesStoreAndCount) {
  LabelStore store({1.0, 1.0, 1.0});
  add(store, {"A"}, 0, 0);
  add(store, {"A"}, 0, 0);
  store.clear();
  EXPECT_EQ(store.eliminated(), 0);
  EXPECT_EQ(store.group_count(), 0u);
  EXPECT_EQ(add(store, {"A"}, 0, 0), 0);
}

TEST(LabelStore, OddCoordinatesNeitherCrashNorMatch) {
  LabelStore store({1.0, 1.0, 1.0});
  const double nan = std::nan("");
  EXPECT_EQ(add(store, {"X"}, nan, 0), 0);
  EXPECT_EQ(add(store, {"X"}, nan, 0), 0);
  EXPECT_EQ(add(store, {"X"}, 1e300, 1e300), 0);
  EXPECT_EQ(add(store, {"X"}, 1e300, 1e300), 1);
  EXPECT_EQ(add(store, {"X"}, 0, 0), 0);
  EXPECT_EQ(add(store, {"X"}, 0.5, 0), 1);
  LabelStore flat({0.0, 1.0, 1.0});  // zero height: rectangles are points
  EXPECT_EQ(add(flat, {"X"}, 0, 0), 0);
  EXPECT_EQ(add(flat, {"X"}, 0, 0), 1);
  EXPECT_EQ(add(flat, {"X"}, 0, 1e-9), 0);
}

TEST(LabelRect, SizeFromLongestLineAndLineCount) {
  const OverlapSettings s{2.0, 1.5, 0.8};
  const LabelRect one = label_rect(s, {1, 2}, 0.0, 5, 1);
  EXPECT_DOUBLE_EQ(one.half_width, 5 * 0.8 * 2.0 * 1.5 / 2);
  EXPECT_DOUBLE_EQ(one.top, 3.0);
  EXPECT_DOUBLE_EQ(one.bottom, 0.0);
  // Three lines: from the top down by H x (2 x 0.5 + 3) = 4 H.
  const LabelRect three = label_rect(s, {1, 2}, 0.0, 5, 3);
  EXPECT_DOUBLE_EQ(three.top, 3.0);
  EXPECT_DOUBLE_EQ(three.bottom, 3.0 - 12.0);
  const auto c = three.corners();
  EXPECT_DOUBLE_EQ(c[0].x, 1 - 6.0);
  EXPECT_DOUBLE_EQ(c[0].y, 2 - 9.0);
  EXPECT_DOUBLE_EQ(c[2].x, 1 + 6.0);
  EXPECT_DOUBLE_EQ(c[2].y, 2 + 3.0);
}

TEST(LabelRect, ContainmentIsNoOverlapButSharedEdgesAre) {
  const LabelRect big{{0, 0}, 0.0, 10.0, -10.0, 10.0};
  const LabelRect small{{0, 0}, 0.3, 1.0, 0.0, 1.0};
  EXPECT_FALSE(labels_overlap(big, small));
  EXPECT_FALSE(labels_overlap(small, big));
  EXPECT_TRUE(labels_overlap(big, big));
  const LabelRect inside_edge{{9, 0}, 0.0, 1.0, 0.0, 1.0};  // right side on the big one's
  EXPECT_TRUE(labels_overlap(big, inside_edge));
  const LabelRect apart{{30, 0}, 0.0, 1.0, 0.0, 1.0};
  EXPECT_FALSE(labels_overlap(big, apart));
}

// The grid must find exactly what testing every stored label of the group finds.
TEST(LabelStore, GridLookupAgreesWithAFullScan) {
  const OverlapSettings settings{1.0, 1.0, 1.0};
  const std::vector<std::string> names = {"Oak", "OAK", "Elm Street", "Birch Lane Extension",
                                          "x"};
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> coord(-30.0, 30.0);
  std::uniform_real_distribution<double> turn(-1.6, 1.6);
  std::uniform_int_distribution<std::size_t> pick(0, names.size() - 1);

  struct Kept {
    std::string folded;
    std::size_t length;
    PlanePoint at;
    double rotation;
  };
  std::vector<Kept> kept;
  LabelStore store(settings);
  long dropped = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string& name = names[pick(random)];
    std::string folded = name;
    for (char& ch : folded) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const PlanePoint at{coord(random), coord(random)};
    const double rotation = i % 3 == 0 ? 0.0 : turn(random);
    const LabelRect rect = label_rect(settings, at, rotation, name.size(), 1);
    bool expect_drop = false;
    for (const Kept& k : kept) {
      if (k.folded != folded) continue;
      LabelRect other = rect;
      other.insertion = k.at;
      other.rotation = k.rotation;
      if (labels_overlap(other, rect)) {
        expect_drop = true;
        break;
      }
    }
    const Texts texts = {name};
    ASSERT_EQ(add(store, texts, at.x, at.y, rotation), expect_drop ? 1 : 0) << "label " << i;
    if (expect_drop) {
      ++dropped;
    } else {
      kept.push_back({folded, name.size(), at, rotation});
    }
  }
  EXPECT_EQ(store.eliminated(), dropped);
  EXPECT_GT(dropped, 100);  // the sample does exercise elimination
  EXPECT_GT(kept.size(), 100u);
}

}  // namespace
}  // namespace tsn
