// A writer on a collecting sink, configured from settings, for the DXF tests.
#pragma once

#include "dxf/blocks_section.h"
#include "dxf/dxf_writer.h"
#include "dxf/group_sink.h"
#include "settings/conv_settings.h"

namespace tsn::test {

struct Settings {
  int verDXF = 4;
  int TidyDxf = 0;
  int DecPlaces = 6;
  int Use2D = 1;
  int SaveFileType = 0;
  int TIN = 0;
};

// Each test builds its own; nothing is shared between tests.
struct CollectingWriter {
  explicit CollectingWriter(const Settings& o, bool merge_group_active = false) {
    ConvSettings s;
    s.verDXF = o.verDXF;
    s.TidyDxf = o.TidyDxf;
    s.DecPlaces = o.DecPlaces;
    s.Use2D = o.Use2D;
    s.SaveFileType = o.SaveFileType;
    s.cur.TIN = o.TIN;
    dxf_configure(state, s, merge_group_active);
  }
  const std::string& text() const { return sink.text(); }

  DxfState state;
  StringGroupSink sink;
  DxfWriter w{state, &sink};
};

// The three block streams of one drawing, collected; they share the main writer's state, whose
// handles start as after the HEADER.
struct BlockOutput {
  explicit BlockOutput(const Settings& s) : main(s) { dxf_reset_handles(main.state); }
  const std::string& first_text() const { return first_sink.text(); }

  CollectingWriter main;
  StringGroupSink first_sink;
  StringGroupSink second_sink;
  DxfWriter first{main.state, &first_sink};
  DxfWriter second{main.state, &second_sink};
  BlockStreams streams{main.w, first, second};
};

}  // namespace tsn::test
