// The drawing writer of DXF release 12 and 14 text: the program's own primitives behind the
// drawing-writer interface, with the output file and its five working files.
#pragma once

#include <optional>
#include <string>

#include "drawing/drawing_writer.h"
#include "dxf/dxf_writer.h"
#include "dxf/output_assembly.h"
#include "settings/conv_settings.h"

namespace tsn {

class DxfTextWriter final : public DrawingWriter {
 public:
  // `clean_layer_name` is the layer-name rule entities' layers go through.
  DxfTextWriter(const ConvSettings& s, LayerNameRule clean_layer_name);

  // Opens the output (under a temporary name) and the working files; 0, or nonzero with the
  // failure said.
  int open(const std::string& output_path, const std::string& temp_dir, bool keep_working_files);

  // No files: the streams into the sinks given (the text of entities alone, for tests and
  // tools). The handle counter starts as after the HEADER when `handles_after_header`.
  void write_streams_to(GroupSink& main, GroupSink& blocks, GroupSink& fill_blocks,
                        GroupSink& entities, GroupSink& labels, bool handles_after_header);
  const DxfState& state() const { return state_; }

  int begin_drawing(const DrawingSetup& setup) override;
  int begin_block(DrawingStream stream, const BlockDef& block) override;
  int end_block(DrawingStream stream) override;
  EntityRef reserve() override;
  int add(DrawingStream stream, const Entity& entity, EntityRef* made) override;
  bool failed() const override { return state_.write_failures > 0; }
  std::string_view failed_file() const override { return state_.failed_path; }
  long non_finite_reals() const override { return state_.non_finite_reals; }
  int finish(bool (*cancelled)()) override;
  void discard() override;

 private:
  DxfWriter& writer(DrawingStream stream);
  int write_entity(DxfWriter& w, const Entity& e);

  const ConvSettings& settings_;
  DxfOutputFiles files_;
  DxfState state_;
  std::optional<DxfWriter> main_, blocks_, blocks2_, entities_, labels_;
};

}  // namespace tsn
