// Records, settings and a collecting writer for the line and polygon generator tests.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "drawing/drawing_writer.h"
#include "dxf/dxf_text_writer.h"
#include "dxf/dxf_test_support.h"
#include "dxf/group_sink.h"
#include "input/shape_record.h"
#include "input/table_reader.h"
#include "settings/conv_settings.h"

namespace tsn {

// Exact comparison: the thinning passes copy points, they never compute them.
inline bool operator==(const shape_point& a, const shape_point& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline std::ostream& operator<<(std::ostream& os, const shape_point& p) {
  return os << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}

}  // namespace tsn

namespace tsn::test {

// A record from its parts, each a list of points; Z taken as given when has_z is set.
inline shape_rec make_record(const std::vector<std::vector<shape_point>>& parts,
                             bool has_z = false, int number = 1) {
  shape_rec rec;
  rec.record_number = number;
  rec.has_z = has_z;
  std::size_t total = 0;
  for (const auto& p : parts) total += p.size();
  rec.grow_parts(parts.size());
  rec.grow_points(total);
  rec.num_parts = static_cast<std::int32_t>(parts.size());
  std::int32_t at = 0;
  std::int32_t i = 0;
  for (const auto& p : parts) {
    rec.part_starts[i++] = at;
    for (const shape_point& q : p) rec.points[at++] = q;
  }
  rec.num_points = at;
  if (total > 0) {
    rec.box = {rec.points[0].x, rec.points[0].y, rec.points[0].x, rec.points[0].y};
    for (std::int32_t k = 0; k < at; ++k) {
      rec.box.xmin = std::min(rec.box.xmin, rec.points[k].x);
      rec.box.ymin = std::min(rec.box.ymin, rec.points[k].y);
      rec.box.xmax = std::max(rec.box.xmax, rec.points[k].x);
      rec.box.ymax = std::max(rec.box.ymax, rec.points[k].y);
    }
  }
  return rec;
}
inline shape_rec make_record(std::initializer_list<std::vector<shape_point>> parts,
                             bool has_z = false, int number = 1) {
  return make_record(std::vector<std::vector<shape_point>>(parts), has_z, number);
}

// The points of part i, in order.
inline std::vector<shape_point> part_points(const shape_rec& rec, std::int32_t i) {
  std::vector<shape_point> out;
  const std::int32_t s = rec.part_starts[i];
  for (std::int32_t k = 0; k < rec.points_in_part(i); ++k) out.push_back(rec.points[s + k]);
  return out;
}

// Release 12 (verDXF 4) or 14 (6) text, DecPlaces 6, TidyDxf 0, 2D on.
inline ConvSettings text_settings(int verDXF) {
  ConvSettings s;
  s.verDXF = verDXF;
  s.DecPlaces = 6;
  s.TidyDxf = 0;
  s.Use2D = 1;
  return s;
}

// A DXF text writer configured from the settings the test gives: entities and labels into one
// string, the block streams and the block records each into their own; nothing shared.
struct EntityOutput {
  // handles_after_header: the handle counter starts as after the HEADER (the first is 22).
  explicit EntityOutput(const ConvSettings& s, bool handles_after_header = false) : settings(s) {
    writer.write_streams_to(main_sink, blocks_sink, fill_sink, sink, sink, handles_after_header);
  }
  const std::string& text() const { return sink.text(); }
  const DxfState& state() const { return writer.state(); }

  ConvSettings settings;
  StringGroupSink sink, main_sink, blocks_sink, fill_sink;
  DxfTextWriter writer{settings, nullptr};
  DrawingOut w{&writer, DrawingStream::entities};
  DrawingOut blocks{&writer, DrawingStream::blocks};
  DrawingOut fill{&writer, DrawingStream::fill_blocks};
};

// The same with the main stream (block records), the block streams and the rest apart, the
// handles counted as after the HEADER.
struct BlockDrawing {
  explicit BlockDrawing(const ConvSettings& s) : settings(s) {
    writer.write_streams_to(main, first, second, rest, rest, true);
  }
  explicit BlockDrawing(const Settings& o) : BlockDrawing(conv_settings(o)) {}
  const std::string& first_text() const { return first.text(); }

  static ConvSettings conv_settings(const Settings& o) {
    ConvSettings s;
    s.verDXF = o.verDXF;
    s.TidyDxf = o.TidyDxf;
    s.DecPlaces = o.DecPlaces;
    s.Use2D = o.Use2D;
    s.SaveFileType = o.SaveFileType;
    s.cur.TIN = o.TIN;
    return s;
  }

  ConvSettings settings;
  StringGroupSink main, first, second, rest;
  DxfTextWriter writer{settings, nullptr};
  DrawingOut streams{&writer, DrawingStream::blocks};  // the first block stream
  DrawingOut fill_blocks{&writer, DrawingStream::fill_blocks};
};

// How often `what` occurs in `text`.
inline int occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A table of one record with the given field names and texts.
class OneRowTable final : public TableReader {
 public:
  OneRowTable(std::vector<std::string> names, std::vector<std::string> values)
      : values_(std::move(values)) {
    for (auto& n : names) fields_.push_back(dbf_field{'N', 2, n, 10});
  }
  const std::vector<dbf_field>& fields() const override { return fields_; }
  long record_count() const override { return 1; }
  void save_record_position() override {}
  int begin_record() override { return 0; }
  std::string_view read_field(int i) override {
    return i >= 0 && i < static_cast<int>(values_.size()) ? values_[i] : std::string_view();
  }
  int skip_record() override { return 0; }
  int rewind() override { return 0; }

 private:
  std::vector<dbf_field> fields_;
  std::vector<std::string> values_;
};

}  // namespace tsn::test
