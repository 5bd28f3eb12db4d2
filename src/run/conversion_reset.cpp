// The reset between conversions.
#include "run/conversion_reset.h"

#include "platform/paths.h"
#include "settings/class_colours.h"

namespace tsn {

void reset_conversion_state(ConvSettings& s, RunState& run, ConversionCounters& counters,
                            NameCounters& names, const std::string& input_base_name,
                            bool failed) {
  FileSettings& cur = s.cur;
  const FileSettings& prog = s.prog;
  cur.HatchScale = prog.HatchScale;
  if (s.LoadDefaults != 0) s.LoadDefaults = kLoadDefaultsOn;
  if (!input_base_name.empty() && equal_ignoring_case(s.def.SingleLayerName, input_base_name)) {
    s.def.SingleLayerName.clear();
  }
  s.def.Ramp = 0;
  s.def.RampStart = -1;
  s.def.RampEnd = -1;
  // No classes until the next input builds its own.
  s.layer_ranges = RangeSet{};
  s.colour_ranges = RangeSet{};
  compute_class_colours(s);
  cur.OverlapFactor = prog.OverlapFactor;
  cur.PointsArePolys = prog.PointsArePolys;
  cur.CSVHasHeader = prog.CSVHasHeader;
  cur.flgScaleZ = 0;
  cur.HatchNumber = 0;
  cur.TextLabels = 0;
  cur.ElimDoubleLabels = 0;
  cur.Attribs = 0;
  cur.label_move_close = {1, 1, 1};
  cur.attrib_move_close = {1, 1, 1};
  cur.Z1Key = prog.Z1Key;
  cur.Z2Key = prog.Z2Key;
  cur.Z3Key = prog.Z3Key;
  cur.DrawEdges = prog.DrawEdges;

  if (names.totals != nullptr) names.commit();
  counters.points_eliminated = 0;
  counters.records_processed = 0;
  run.merge_group_first = false;
  if (failed || run.merge_group_closing) {
    run.merge_group_open = false;
    run.merge_group_first = false;
  }
  run.merge_group_closing = false;
}

}  // namespace tsn
