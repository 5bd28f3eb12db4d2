// The end-of-conversion report and the output-location check.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "run/conversion_report.h"
#include "run/conversion_reset.h"
#include "run/output_location.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::RecordingHost;
using test::ScopedHost;

TEST(ConversionReport, LinesDependOnTheInputAndTheCounts) {
  RecordingHost host;
  ScopedHost guard(host);
  ConversionCounters c;
  c.points_processed = 120;
  c.points_eliminated = 7;
  c.records_skipped = 3;
  c.skipped_by_layer_ranges = 3;
  ReportFacts lines;
  lines.shape_class = 1;
  lines.merge_on = true;
  lines.seconds = 2.4;
  report_conversion_end(c, lines);
  EXPECT_EQ(host.status_text(),
            "\nPoints Processed = 120"
            "\nPoints eliminated through merging = 7"
            "\nRecords skipped because not in specified ranges, or empty, or invalid = 3"
            "\nSkipped 3 records due to field values being outside\nranges specified in the "
            "Layers dialog"
            "\nEnd Conversion (time = 2 seconds)");
  EXPECT_EQ(c.points_processed, 0);
  EXPECT_EQ(c.points_eliminated, 0);
  EXPECT_EQ(c.records_skipped, 3);  // kept for the caller's own reset

  host.status.clear();
  ReportFacts points_z;
  points_z.has_z = true;
  points_z.merge_on = true;
  points_z.eliminating_labels = true;
  c.labels_eliminated = 4;
  c.records_skipped = 0;
  c.polygons_not_hatched = 2;
  report_conversion_end(c, points_z);
  EXPECT_EQ(host.status_text(),
            "\nPoints Processed = 0\nEliminated 4 overlapping labels"
            "\nPolygons not hatched, too small = 2\nEnd Conversion (time = 0 seconds)");
}

TEST(OutputLocation, WritableDirectoryPassesAMissingOrReadOnlyOneIsNamed) {
  RecordingHost host;
  ScopedHost guard(host);
  test::ScratchDir d;
  EXPECT_EQ(check_output_location((d / "out.dxf").string()), 0);
  EXPECT_TRUE(host.boxes.empty());
  const std::string missing = (d / "no" / "out.dxf").string();
  EXPECT_EQ(check_output_location(missing), -1);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text,
            "Error: The output directory " + (d / "no").string() + "/ does not exist");
  // A read-only file system is message 200; a reason without words of its own is message 177
  // with the system's text.
  EXPECT_EQ(output_location_problem("/mnt/a.dxf", "/mnt/", EROFS),
            "Error: Cannot write to file on CD Rom drive (/mnt/a.dxf)");
  EXPECT_EQ(output_location_problem("d/a.dxf", "d/", EIO),
            "Error: Unable to write to directory d/ (" + std::string(std::strerror(EIO)) + ")");
}

}  // namespace
}  // namespace tsn

namespace tsn {
namespace {

TEST(ConversionReset, NeutralValuesCountersAndAnAbandonedGroup) {
  ConvSettings s;
  RunState run;
  ConversionCounters counters;
  std::array<std::uint32_t, 4> totals = {10, 0, 0, 0};
  NameCounters names{&totals};
  names.next_name(NameKind::polygon);
  s.prog.HatchScale = 4.0;
  s.prog.PointsArePolys = 1;
  s.cur.HatchScale = 9.0;
  s.cur.Attribs = 5;
  s.cur.TextLabels = 1;
  s.cur.HatchNumber = 3;
  s.cur.label_move_close = {0, 0, 0};
  s.cur.NumClassesColor = 7;  // a setting, not a computed count: kept
  s.LoadDefaults = 5;
  s.def.SingleLayerName = "Roads";
  s.def.Ramp = 1;
  counters.records_processed = 12;
  run.merge_group_open = true;
  reset_conversion_state(s, run, counters, names, "roads", true);
  EXPECT_DOUBLE_EQ(s.cur.HatchScale, 4.0);
  EXPECT_EQ(s.cur.PointsArePolys, 1);
  EXPECT_EQ(s.cur.Attribs, 0);
  EXPECT_EQ(s.cur.TextLabels, 0);
  EXPECT_EQ(s.cur.HatchNumber, 0);
  EXPECT_EQ(s.cur.label_move_close[2], 1);
  EXPECT_EQ(s.cur.NumClassesColor, 7);
  EXPECT_EQ(s.LoadDefaults, 31);
  EXPECT_TRUE(s.def.SingleLayerName.empty());  // it was the input's own name
  EXPECT_EQ(s.def.Ramp, 0);
  EXPECT_EQ(s.def.RampStart, -1);
  EXPECT_EQ(totals[0], 11u);  // the name handed out joined the total
  EXPECT_EQ(counters.records_processed, 0);
  EXPECT_FALSE(run.merge_group_open);  // a failed conversion abandons the group
}

}  // namespace
}  // namespace tsn
