// The HATCH entity's leading and trailing groups: their order and values, solid and patterned.
#include "dxf/hatch_groups.h"

#include <gtest/gtest.h>

#include <array>
#include <numbers>

#include "dxf/dxf_test_support.h"

namespace tsn {
namespace {

using test::CollectingWriter;
using test::Settings;

TEST(HatchGroups, SolidHasFlagOneAndNoPatternLines) {
  CollectingWriter c(Settings{.verDXF = 6});
  dxf_reset_handles(c.state);
  dxf_reserve_handle(c.state);
  DxfHatchHeader h;
  h.layer = "LAKES";
  h.pattern_name = "SOLID";
  h.solid = true;
  h.path_count = 1;
  ASSERT_EQ(write_hatch_header(c.w, h), 0);
  const std::array<DxfHatchLine, 1> ignored{};
  ASSERT_EQ(write_hatch_pattern(c.w, true, ignored), 0);
  EXPECT_EQ(c.text(),
            "0\nHATCH\n  5\n      22\n100\nAcDbEntity\n100\nAcDbHatch\n8\nLAKES\n"
            " 10\n0.0\n 20\n0.0\n 30\n0.0\n210\n0.0\n220\n0.0\n230\n1.0\n"
            "2\nSOLID\n70\n1\n71\n0\n91\n1\n"
            "75\n0\n76\n1\n98\n1\n 10\n0.0\n 20\n0.0\n");
}

TEST(HatchGroups, PatternedHatchWritesItsGroupsInOrderInRelease14) {
  CollectingWriter c(Settings{.verDXF = 6});
  dxf_reset_handles(c.state);
  dxf_reserve_handle(c.state);  // 22: taken before the outlines
  dxf_new_handle(c.state);      // 23: an outline polyline
  DxfHatchHeader h;
  h.layer = "PARCELS";
  h.colour = 3;
  h.elevation = 5.5;
  h.pattern_name = "ANSI33";
  h.associative = true;
  h.path_count = 2;
  ASSERT_EQ(write_hatch_header(c.w, h), 0);
  EXPECT_EQ(c.text(),
            "0\nHATCH\n  5\n      22\n100\nAcDbEntity\n100\nAcDbHatch\n8\nPARCELS\n62\n3\n"
            " 10\n0.0\n 20\n0.0\n 30\n5.5\n210\n0.0\n220\n0.0\n230\n1.0\n"
            "2\nANSI33\n70\n0\n71\n1\n91\n2\n");

  CollectingWriter t(Settings{.verDXF = 6});
  const std::array<double, 2> dashes{0.25, -0.125};
  const std::array<DxfHatchLine, 2> lines{{
      {std::numbers::pi / 4, 0.0, 0.0, -0.5, 0.5, {}},
      {std::numbers::pi / 2, 1.5, -2.0, -1.0, 0.0, dashes},
  }};
  ASSERT_EQ(write_hatch_pattern(t.w, false, lines), 0);
  EXPECT_EQ(t.text(),
            "75\n0\n76\n1\n 52\n0.0\n 41\n1.0\n77\n0\n78\n2\n"
            " 53\n45.0\n 43\n0.0\n 44\n0.0\n 45\n-0.5\n 46\n0.5\n79\n0\n"
            " 53\n90.0\n 43\n1.5\n 44\n-2.0\n 45\n-1.0\n 46\n0.0\n79\n2\n 49\n0.25\n 49\n-0.125\n"
            "98\n1\n 10\n0.0\n 20\n0.0\n");
}

TEST(HatchGroups, NothingIsWrittenOffTheTextPath) {
  CollectingWriter c(Settings{.verDXF = 6});
  c.state.text_path = false;
  DxfHatchHeader h;
  h.pattern_name = "SOLID";
  EXPECT_EQ(write_hatch_header(c.w, h), -1);
  EXPECT_EQ(write_hatch_pattern(c.w, true, {}), -1);
  EXPECT_TRUE(c.text().empty());
}

}  // namespace
}  // namespace tsn
