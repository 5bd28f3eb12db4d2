// Merging of close vertices and dropping of straight-run vertices, part by part.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "entities/vertex_thinning.h"
#include "entities_test_support.h"

namespace tsn {
namespace {

using test::make_record;
using test::part_points;
using ::testing::ElementsAre;

TEST(MergeCloseVertices, DropsPointsWithinToleranceOfTheLastKeptPointOnBothAxes) {
  shape_rec rec = make_record({{{0, 0}, {0.1, 0.2}, {2, 0}, {2.3, 0.4}, {5, 5}}});
  EXPECT_EQ(merge_close_vertices(rec, 0.5), 3);
  EXPECT_EQ(rec.num_points, 3);
  EXPECT_THAT(part_points(rec, 0), ElementsAre(shape_point{0, 0}, shape_point{2, 0},
                                               shape_point{5, 5}));
}

TEST(MergeCloseVertices, OneAxisAtToleranceKeepsThePoint) {
  // 0.5 away in X only (not less than the tolerance): kept; 0.49 in both: dropped.
  shape_rec rec = make_record({{{0, 0}, {0.5, 0}, {0.99, 0.49}, {3, 3}}});
  EXPECT_EQ(merge_close_vertices(rec, 0.5), 3);
  EXPECT_THAT(part_points(rec, 0), ElementsAre(shape_point{0, 0}, shape_point{0.5, 0},
                                               shape_point{3, 3}));
}

TEST(MergeCloseVertices, ComparesWithTheLastKeptPointNotTheNeighbourAndMayDropTheLast) {
  // Each step is 0.3 from its neighbour, but the third is 0.6 from the last kept point.
  shape_rec rec = make_record({{{0, 0}, {0.3, 0}, {0.6, 0}, {0.7, 0.1}}});
  EXPECT_EQ(merge_close_vertices(rec, 0.5), 2);
  EXPECT_THAT(part_points(rec, 0), ElementsAre(shape_point{0, 0}, shape_point{0.6, 0}));
}

TEST(MergeCloseVertices, PartsOfThreePointsAreCopiedAndLaterPartsMoveDown) {
  shape_rec rec = make_record({{{0, 0}, {0, 0}, {1, 1}, {1, 1}},
                               {{5, 5}, {5, 5}, {6, 6}},
                               {{7, 7}, {7, 7}, {7, 7}, {7, 7}}});
  EXPECT_EQ(merge_close_vertices(rec, 1e-10), 6);
  EXPECT_EQ(rec.part_starts[0], 0);
  EXPECT_EQ(rec.part_starts[1], 2);
  EXPECT_EQ(rec.part_starts[2], 5);
  EXPECT_THAT(part_points(rec, 0), ElementsAre(shape_point{0, 0}, shape_point{1, 1}));
  EXPECT_THAT(part_points(rec, 1),
              ElementsAre(shape_point{5, 5}, shape_point{5, 5}, shape_point{6, 6}));
  // Every point of the last part merges into its first.
  EXPECT_THAT(part_points(rec, 2), ElementsAre(shape_point{7, 7}));
}

TEST(MergeCloseVertices, KeepsZOfTheKeptPoints) {
  shape_rec rec = make_record({{{0, 0, 1}, {0, 0, 2}, {1, 0, 3}, {2, 0, 4}}});
  merge_close_vertices(rec, 0.5);
  EXPECT_THAT(part_points(rec, 0), ElementsAre(shape_point{0, 0, 1}, shape_point{1, 0, 3},
                                               shape_point{2, 0, 4}));
}

TEST(DropCollinearVertices, DropsVerticesOnStraightRunsAndKeepsTurns) {
  shape_rec rec = make_record({{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 2}, {5, 2}}});
  EXPECT_EQ(drop_collinear_vertices(rec, 0.01), 4);
  EXPECT_THAT(part_points(rec, 0), ElementsAre(shape_point{0, 0}, shape_point{2, 0},
                                               shape_point{4, 2}, shape_point{5, 2}));
}

TEST(DropCollinearVertices, ASpikeThatTurnsBackKeepsItsVertex) {
  shape_rec rec = make_record({{{0, 0}, {2, 0}, {1, 0}, {3, 0}, {4, 0}}});
  EXPECT_EQ(drop_collinear_vertices(rec, 0.01), 4);
  EXPECT_THAT(part_points(rec, 0), ElementsAre(shape_point{0, 0}, shape_point{2, 0},
                                               shape_point{1, 0}, shape_point{4, 0}));
}

TEST(DropCollinearVertices, SlopesWithinTheToleranceCountAsStraight) {
  // Slopes 0 and 0.005 differ by less than 0.01; 0 and 0.02 do not.
  shape_rec within = make_record({{{0, 0}, {1, 0}, {2, 0.005}, {3, 0.005}, {4, 0.005}}});
  EXPECT_EQ(drop_collinear_vertices(within, 0.01), 2);
  EXPECT_THAT(part_points(within, 0), ElementsAre(shape_point{0, 0}, shape_point{4, 0.005}));
  shape_rec beyond = make_record({{{0, 0}, {1, 0}, {2, 0.02}, {3, 0.04}, {4, 0.06}}});
  EXPECT_EQ(drop_collinear_vertices(beyond, 0.01), 3);
  EXPECT_THAT(part_points(beyond, 0),
              ElementsAre(shape_point{0, 0}, shape_point{1, 0}, shape_point{4, 0.06}));
}

TEST(DropCollinearVertices, PartsOfFourPointsAreNotTested) {
  shape_rec rec = make_record({{{0, 0}, {1, 0}, {2, 0}, {3, 0}},
                               {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}}});
  EXPECT_EQ(drop_collinear_vertices(rec, 0.01), 6);
  EXPECT_THAT(part_points(rec, 0), ElementsAre(shape_point{0, 0}, shape_point{1, 0},
                                               shape_point{2, 0}, shape_point{3, 0}));
  EXPECT_EQ(rec.part_starts[1], 4);
  EXPECT_THAT(part_points(rec, 1), ElementsAre(shape_point{0, 5}, shape_point{4, 5}));
}

}  // namespace
}  // namespace tsn
