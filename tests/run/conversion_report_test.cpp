// The end-of-conversion report and the output-location check.
#include <gtest/gtest.h>

#include "run/conversion_report.h"
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

TEST(OutputLocation, WritableDirectoryPassesMissingOneGives177) {
  RecordingHost host;
  ScopedHost guard(host);
  test::ScratchDir d;
  EXPECT_EQ(check_output_location((d / "out.dxf").string()), 0);
  EXPECT_TRUE(host.boxes.empty());
  const std::string missing = (d / "no" / "out.dxf").string();
  EXPECT_EQ(check_output_location(missing), -1);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text,
            "Error: Unable to write to directory " + (d / "no").string() + "/");
}

}  // namespace
}  // namespace tsn
