// The conversion of one input into one DXF text drawing.
#include "run/conversion_driver.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "classify/layer_name.h"
#include "drawing/release_traits.h"
#include "dxf/output_mode.h"
#include "dxf/tables_section.h"
#include "entities/attribute_data.h"
#include "entities/marker_blocks.h"
#include "entities/feature_blocks.h"
#include "entities/legend_blocks.h"
#include "entities/legend_drawing.h"
#include "entities/record_annotator.h"
#include "entities/point_shape.h"
#include "entities/polygon_shape.h"
#include "entities/polyline_shape.h"
#include "input/csv_table.h"
#include "input/table_encoding.h"
#include "input/finite_coordinates.h"
#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "run/classification_setup.h"
#include "run/conversion_report.h"
#include "run/input_open.h"
#include "run/conversion_reset.h"
#include "run/drawing_output.h"
#include "run/output_location.h"
#include "run/output_safety.h"
#include "settings/definition_file.h"
#include "settings/file_reset.h"
#include "settings/key_lists.h"
#include "settings/name_counter.h"
#include "settings/text_styles.h"

namespace tsn {

namespace {

constexpr int kMsgProcessing = 14;
constexpr int kMsgRecordsProcessed = 15;

// The colour of a record's entities: the one colour of its shape class when colouring by a
// single colour, else none (the layer's colour) until colour classes exist.
int record_colour(const FileSettings& f, int shape_class) {
  return f.ColourMethod == 0 ? default_layer_colour(f, shape_class) : -1;
}

// Labels or attributes asked for without a field to show are turned off, and the user told.
void check_annotation_fields(ConvSettings& s) {
  if (s.cur.TextLabels != 0 && s.def.num_label_fields == 0) {
    status_write("\nNo Text Label Fields specified, setting Text Labels off");
    s.cur.TextLabels = 0;
  }
  if (attributes_wanted(s.cur) && s.def.num_attrib_selected == 0) {
    status_write("\nNo Feature Attribute Fields specified, setting Feature Attributes off");
    s.cur.Attribs = 0;
  }
}

bool cancel_requested() { return cancel_confirmed(); }

// The streams of the drawing of one conversion.
struct Drawing {
  DrawingWriter& writer;
  DrawingOut entities{&writer, DrawingStream::entities};
  DrawingOut labels{&writer, DrawingStream::labels};
  DrawingOut blocks{&writer, DrawingStream::blocks};
  DrawingOut fill_blocks{&writer, DrawingStream::fill_blocks};
};

// The colour of a layer class: its colour class's colour when both keys use one field.
int class_layer_colour(const RecordClassifier& keys, const KeyClass& layer_class, int fallback) {
  const FieldKey& colour = keys.colour;
  if (!colour.active || keys.class_colours == nullptr || colour.field != keys.layer.field) {
    return fallback;
  }
  const int c = class_of_value(colour.classes, layer_class.lo_text, layer_class.lo,
                               colour.outside_flag, colour.sort_method);
  return c < 0 ? fallback : (*keys.class_colours)[static_cast<std::size_t>(c)];
}

int write_sections(Drawing& d, const ConvSettings& s, const OpenInput& in,
                   const std::string& layer, int shape_class, const PointDrawing& points,
                   const RecordClassifier& keys, const RecordAnnotator* annotator,
                   std::string_view input_base_name) {
  // One layer per layer class, or the single layer.
  const int colour = default_layer_colour(s.cur, shape_class);
  std::vector<LayerDef> class_layers;
  if (keys.layer.active) {
    // Labels read from files are not yet layer names; entities get theirs cleaned the same way.
    for (const KeyClass& c : keys.layer.classes.classes) {
      std::string name = make_layer_name(c.label, s.verDXF);
      const bool known = std::any_of(class_layers.begin(), class_layers.end(),
                                     [&](const LayerDef& l) { return same_table_name(l.name, name); });
      if (!known) class_layers.push_back({std::move(name), class_layer_colour(keys, c, colour)});
    }
  }
  std::vector<LayerDef> layers;
  add_fixed_layer(layers, "0", 7, class_layers);
  const bool labels = annotator != nullptr && annotator->labels_on();
  if (labels && s.cur.flgSingleRedlineLayer == 1) {
    add_fixed_layer(layers, make_layer_name(s.cur.SingleRedlineLayer, s.verDXF), s.cur.TextColour,
                    class_layers);
  }
  if (s.cur.Legend == 1 && in.table) {
    add_fixed_layer(layers, make_layer_name(s.cur.LegendLayer, s.verDXF), s.cur.LegendTextColour,
                    class_layers);
  }
  if (!keys.layer.active) add_fixed_layer(layers, make_layer_name(layer, s.verDXF), colour, {});
  if (labels && s.cur.flgSingleRedlineLayer == 2) {
    for (const int f : annotator->label_fields()) {
      const std::string& name = in.table->fields()[static_cast<std::size_t>(f)].name;
      add_fixed_layer(layers, make_layer_name(name, s.verDXF), s.cur.TextColour, class_layers);
    }
  }
  std::vector<TextStyleDef> styles;
  for (const auto& [name, font] : s.drawing_styles) add_text_style(styles, name, font);
  const bool character_markers = shape_class == 0 &&
                                 (points.form == PointForm::character_text ||
                                  points.multipoint_form == PointForm::character_text ||
                                  (s.cur.PointsTranslate != 0 && s.cur.Marker == kMarkerCharacter));
  if (character_markers) {
    add_text_style(styles, s.cur.MarkerStyle, style_font(s, s.cur.MarkerStyle));
  }
  add_text_style(styles, kStandardStyle, kStandardFont);
  DrawingSetup setup;
  setup.extents = in.extents;
  setup.layers = layers;
  setup.class_layers = class_layers;
  setup.styles = styles;
  // Only records with a table row can have blocks of their own.
  const long keyed_records = in.table ? std::max(in.record_count, 0L) : 0L;
  setup.expected_blocks = expected_block_records(keyed_records, s.cur.Legend == 1);
  if (d.writer.begin_drawing(setup) != 0) return -1;
  // The table's attribute definitions, then the marker block of point input, then the legend
  // symbol of the input's class.
  if (annotator != nullptr && !annotator->fields().empty() &&
      write_info_block(d.blocks, info_block_name(input_base_name, s.verDXF), annotator->fields(),
                       s.cur.TextLabelsHeight, s.LineSpacing) != 0) {
    return -1;
  }
  FixedBlocks made;
  if (shape_class == 0 &&
      write_marker_blocks(d.blocks, marker_choice(s.cur, in.table != nullptr), made) != 0) {
    return -1;
  }
  if (s.cur.Legend == 1 && write_legend_block(d.blocks, s, shape_class, made) != 0) return -1;
  return 0;
}

// The hatch pattern of a polygon file filled for release 14. A scale too fine for the data is
// raised, kept for the rest of the file and said.
void prepare_file_hatch(PolygonContext& polygons, ConvSettings& s, double diagonal) {
  polygons.hatch =
      prepare_hatch_pattern(s.cur.HatchNumber, s.cur.HatchScale, diagonal, s.HatchToMinMax);
  const HatchScaleCheck& check = polygons.hatch.check;
  if (!check.reset) return;
  s.cur.HatchScale = check.hatch_scale;
  host().message_box(kHatchScaleTooSmallCaption, check.message, Icon::warning, Buttons::ok,
                     Answer::ok);
}

// The entity generators of one conversion, and the keys that give records layers and colours.
struct Generators {
  FeatureBlockWriter block_writer;
  PolylineContext lines;
  PointContext points;
  PolygonContext polygons;
  RecordClassifier keys{};
  RecordAnnotator* annotator = nullptr;  // the record's attributes, when any are written

  void set_layer(std::string_view layer) {
    lines.layer = layer;
    points.layer = layer;
    polygons.layer = layer;
  }
  // A class colour; polygons keep the one outline or fill colour they are set to use.
  void set_colour(int colour, const FileSettings& f) {
    lines.colour = colour;
    points.colour = colour;
    polygons.outline_colour = f.Use1ColourLines != 0 ? f.SingleColourLines : colour;
    polygons.fill_colour = f.Use1ColourFill != 0 ? f.SingleColourFill : colour;
  }
  // Layer and colour of the record begun in `table`; false when it is not to be drawn.
  bool classify(TableReader& table, const FileSettings& f, ConversionCounters& counters) {
    const std::string* layer = nullptr;
    int colour = -1;
    const RecordClass result = keys.classify(table, layer, colour);
    if (result != RecordClass::matched) ++counters.records_skipped;
    if (result == RecordClass::outside_layers) return false;
    if (layer != nullptr) set_layer(*layer);
    if (colour >= 0) set_colour(colour, f);
    if (annotator != nullptr) annotator->begin_record(lines.layer);
    return true;
  }
};

enum class RecordOutcome { converted, skipped, refused, end, failed };

// How the shapefile's records met the rows of its table.
struct TableRowCount {
  long records = 0;      // shape records, null ones included: each takes one row
  long without_row = 0;  // records to draw that came after the table's last row
};

// One record: its index entry, header and table row, then the generator of its type. A record
// after the table's last row is drawn without attribute values, classified as an empty value.
RecordOutcome convert_one_record(OpenInput& in, Generators& gen, const FileSettings& settings,
                                 shape_rec& rec, ConversionCounters& counters,
                                 TableRowCount& rows) {
  in.shapes.read_index_entry();
  const int header = in.shapes.read_record_header(rec);
  if (header == 1) return RecordOutcome::end;
  if (header == -1) return RecordOutcome::failed;
  if (in.table) {
    ++rows.records;
    in.table->save_record_position();
    const int row = header == -2 ? in.table->skip_record() : in.table->begin_record();
    if (row == kRowReadFailed) return RecordOutcome::failed;
    if (header == -2) return RecordOutcome::skipped;
    if (row == kNoSuchRow) ++rows.without_row;
    // A record whose layer value lies in no class is not drawn.
    if (!gen.classify(*in.table, settings, counters)) return RecordOutcome::skipped;
  } else if (header == -2) {
    return RecordOutcome::skipped;
  }
  int r = 0;
  switch (in.shape_type) {
    case 3: case 13: case 23:
      r = polyline_shape(gen.lines, in.shapes, rec);
      break;
    case 1: case 11: case 21: case 8:
      r = point_shape(gen.points, in.shapes, rec, in.shape_type);
      break;
    case 5: case 15: case 25: case 31:
      r = polygon_shape(gen.polygons, in.shapes, rec, in.shape_type);
      // A TIN file that is not a conforming one stops the conversion.
      if (r == kTinNotConforming) return RecordOutcome::failed;
      break;
    default:
      break;  // shapes whose generator this version lacks produce nothing
  }
  // Whatever kept the record from its entities said so where it was found.
  return r == 0 ? RecordOutcome::converted : RecordOutcome::refused;
}

// Says how many records had no row, or how many rows had no record.
void report_table_rows(const TableRowCount& rows, const OpenInput& in) {
  const long table_rows = in.table->record_count();
  const char* table = in.table_path.c_str();
  if (rows.records > table_rows) {
    status_error(format_printf(
        "\nTable %s has %ld rows for %ld records: %ld records were drawn without attribute values",
        table, table_rows, rows.records, rows.without_row));
  } else if (rows.records < table_rows) {
    status_error(format_printf("\nTable %s has %ld rows for %ld records: the last %ld rows were "
                               "not used",
                               table, table_rows, rows.records, table_rows - rows.records));
  }
}

// The records of a shapefile, up to the end of its main file.
int convert_shapefile_records(OpenInput& in, Generators& gen, const FileSettings& settings,
                              const DrawingWriter& writer, shape_rec& rec,
                              ConversionCounters& counters) {
  TableRowCount rows;
  for (long n = 0;; ++n) {
    // A write that failed (a full disk) ends the loop: the driver reports it.
    if (writer.failed() || cancel_requested()) return -1;
    const RecordOutcome r = convert_one_record(in, gen, settings, rec, counters, rows);
    if (r == RecordOutcome::end) break;
    if (r == RecordOutcome::failed) return -1;
    if (r == RecordOutcome::refused) ++counters.records_refused;
    ++counters.records_processed;
    const long total = in.record_count > n + 1 ? in.record_count : n + 2;
    progress_step_to(static_cast<int>(std::min<long>(99, (n + 1) * 100 / total)));
  }
  if (in.table) report_table_rows(rows, in);
  return 0;
}

// The rows of a point table, each one point.
int convert_table_points(OpenInput& in, Generators& gen, const FileSettings& settings,
                         ConversionCounters& counters, long& without_coordinates) {
  TableReader& table = *in.table;
  for (long n = 0; n < in.record_count; ++n) {
    if (cancel_requested()) return -1;
    table.save_record_position();
    if (table.begin_record() != 0) return -1;
    ++counters.records_processed;
    progress_step_to(static_cast<int>(std::min<long>(99, (n + 1) * 100 / in.record_count)));
    // A blank or unreadable coordinate would put the point at 0: such records are left out.
    double x = 0.0;
    double y = 0.0;
    const ElevationSource& z = gen.points.elevation;
    const int row = table_row_point(table, in.x_field, in.y_field, z.table ? z.field : -1,
                                    z.factor, n + 1, in.table_path, x, y);
    if (row != 0) {
      if (row != 1) ++counters.records_refused;
      ++(row == 1 ? without_coordinates : counters.records_refused_nonfinite);
      continue;
    }
    if (!gen.classify(table, settings, counters)) continue;
    if (table_point(gen.points, x, y) != 0) return -1;
  }
  return 0;
}

// The polygons of a comma-delimited vertex table: rows up to the one that closes each ring.
int convert_table_polygons(OpenInput& in, Generators& gen, ConversionCounters& counters) {
  auto* csv = dynamic_cast<CsvReader*>(&in.table->underlying());
  if (csv == nullptr) return -1;
  CsvPolygon polygon;
  std::vector<shape_point> rows;
  shape_rec rec;
  long consumed = 0;
  while (consumed < in.record_count) {
    if (cancel_requested()) return -1;
    csv->save_record_position();
    if (csv->csv_polygon_scan(in.x_field, in.y_field, polygon) != 0) break;
    if (polygon.points.empty()) break;
    consumed += static_cast<long>(polygon.points.size());
    rows.clear();
    for (const CsvVertex& v : polygon.points) rows.push_back({v.x, v.y, 0.0});
    load_table_polygon(rec, {polygon.xmin, polygon.ymin, polygon.xmax, polygon.ymax}, rows);
    rec.record_number = static_cast<std::int32_t>(counters.records_processed + 1);
    ++counters.records_processed;
    if (!finite_record(rec, false, 1.0)) {
      report_nonfinite_record(rec.record_number, in.table_path, "a coordinate");
      ++counters.records_refused;
      ++counters.records_refused_nonfinite;
      continue;
    }
    if (polygon_record(gen.polygons, rec) != 0) return -1;
    progress_step_to(static_cast<int>(std::min<long>(99, consumed * 100 / in.record_count)));
  }
  return 0;
}

int convert_records(OpenInput& in, Drawing& d, Generators& gen, const FileSettings& settings,
                    ConversionCounters& counters) {
  counters.records_processed = 0;
  status_write("%s", format_printf(load_status_text(kMsgProcessing).c_str(),
                                   std::string(host().cancel_gesture()).c_str())
                         .c_str());
  shape_rec rec;
  progress_start();
  int result = 0;
  if (in.is_shapefile && !in.shapes.header().shp_empty) {
    result = convert_shapefile_records(in, gen, settings, d.writer, rec, counters);
  } else if (!in.is_shapefile && in.shape_type == 1) {
    long without_coordinates = 0;
    result = convert_table_points(in, gen, settings, counters, without_coordinates);
    if (without_coordinates > 0) {
      status_write("\n%ld records without coordinates were skipped", without_coordinates);
    }
  } else if (!in.is_shapefile && in.shape_type == 5) {
    result = convert_table_polygons(in, gen, counters);
  }
  progress_step_to(100);
  progress_end();
  status_write("%s", format_printf(load_status_text(kMsgRecordsProcessed).c_str(),
                                   counters.records_processed)
                         .c_str());
  return result;
}

// Message 256 for the first write that failed, with its file; the run ends with status 1.
int report_write_failure(const DrawingWriter& writer, const std::string& output_path) {
  std::string text = load_text(256);
  const std::string failed(writer.failed_file());
  if (failed == output_path || failed.empty()) {
    text += "\nCould not write " + output_path;
  } else {
    text += "\nCould not write " + failed + ", a working file of " + output_path;
  }
  show_message(7, text, Icon::error);
  return kConversionWriteFailed;
}

int main_process(const ConversionRequest& request, ConvState& cs, ConversionCounters& counters,
                 NameCounters& names, MergeGroup* group) {
  ConvSettings& s = cs.settings;
  trace_write("main_process() :\n");
  counters.iterations.fill(0);
  const auto started = std::chrono::steady_clock::now();
  const long start_ms = conversion_clock_ms();

  OpenInput in;
  if (open_input(request, s.cur, in) != 0) return -1;

  const ChosenWriter chosen =
      open_drawing_writer(s, request.output_path, group, in.table != nullptr, request.preview);
  if (chosen.writer == nullptr) return -1;
  Drawing d{*chosen.writer};
  // A merge group's drawing counts for every input so far.
  const long non_finite_before = d.writer.non_finite_reals();
  status_clear_if_full();

  const int saved_2d = s.Use2D;
  if (s.cur.PointsElev == 1) s.Use2D = 0;
  const InputInfo info = input_info_of(request, in);
  const bool polygon_input = shape_class(info, s.cur) == 2;
  // Without a table, or with rows that are vertices, there are no values to colour by.
  if (!in.table || (!in.is_shapefile && polygon_input)) {
    s.cur.ColourMethod = 0;
    if (polygon_input && s.cur.DrawOutlines != 0) s.cur.Use1ColourLines = 1;
    if (polygon_input && s.cur.Fill != 0) s.cur.Use1ColourFill = 1;
  }
  const int saved_fill = s.cur.Fill;
  const int saved_outlines = s.cur.DrawOutlines;
  if (!polygon_input) {
    s.cur.Fill = 0;
    s.cur.DrawOutlines = 1;
  }

  if (in.table) check_annotation_fields(s);
  // Layer names reach the entity writers already cleaned by the release's rule.
  const std::string layer = make_layer_name(single_layer_name(s, request.input_path), s.verDXF);
  const int input_class = shape_class(info, s.cur);
  const int colour = record_colour(s.cur, input_class);
  // Point tables take their elevation from a field of the row, comma-delimited ones
  // included; polygons made of comma-delimited rows lie at 0.
  const ElevationSource elevation = elevation_source(
      s.cur, in.table.get(), request.input_file_type == 2 && s.cur.PointsArePolys != 0,
      request.elevation_field);
  Generators gen{FeatureBlockWriter(),
                 PolylineContext{.out = d.entities, .blocks = d.blocks, .settings = s,
                                 .names = &names},
                 PointContext{.out = d.entities, .blocks = d.blocks, .settings = s,
                              .names = &names},
                 PolygonContext{.out = d.entities, .blocks = d.blocks, .settings = s,
                                .names = &names}};
  gen.lines.elevation = elevation;
  gen.lines.block_writer = &gen.block_writer;
  gen.lines.layer = layer;
  gen.lines.colour = colour;
  gen.points.elevation = elevation;
  gen.points.block_writer = &gen.block_writer;
  gen.points.table_open = in.table != nullptr;
  gen.points.drawing = point_drawing(s.cur, marker_choice(s.cur, in.table != nullptr));
  gen.points.layer = layer;
  gen.points.colour = colour;
  gen.polygons.elevation = elevation;
  gen.polygons.table = in.table.get();
  gen.polygons.block_writer = &gen.block_writer;
  gen.polygons.comma_delimited = !in.is_shapefile;
  gen.polygons.layer = layer;
  gen.polygons.outline_colour = s.cur.ColourMethod == 0 ? s.cur.SingleColourLines : -1;
  gen.polygons.fill_colour = s.cur.ColourMethod == 0 ? s.cur.SingleColourFill : -1;
  gen.polygons.fill_blocks = d.fill_blocks;
  if (polygon_input && s.cur.Fill != 0 && release_traits(s.verDXF).hatch) {
    prepare_file_hatch(gen.polygons, s, info.extent_diagonal);
  }

  // Rows of a comma-delimited polygon table are vertices, not features: they have no keys.
  const bool keyed_table = in.is_shapefile || in.shape_type == 1;
  int result = prepare_classification(gen.keys, keyed_table ? in.table.get() : nullptr, request,
                                      input_class, s);
  gen.keys.start_file();
  // Labels and feature attributes of a table that has fields selected for them.
  std::optional<RecordAnnotator> annotator;
  if (in.table && keyed_table) {
    annotator.emplace(s, *in.table, input_class, d.labels);
    if (!annotator->active()) {
      annotator.reset();
    } else {
      gen.annotator = &*annotator;
      annotator->set_elevation_source(elevation);
      gen.lines.annotations = gen.points.annotations = gen.polygons.annotations = &*annotator;
      gen.block_writer.annotations = &*annotator;
    }
  }
  if (result == 0) {
    result = write_sections(d, s, in, layer, input_class, gen.points.drawing, gen.keys,
                            gen.annotator, base_name(request.input_path));
  }
  if (result == 0) result = convert_records(in, d, gen, s.cur, counters);
  if (in.table) report_invalid_text(*in.table, in.table_path);
  if (annotator) counters.labels_eliminated = annotator->labels_eliminated();
  counters.skipped_by_layer_ranges = gen.keys.layer_outside;
  counters.skipped_by_colour_ranges = gen.keys.colour_outside;
  // The legend goes after the records, beside the drawing's extent.
  if (result == 0 && s.cur.Legend == 1 && in.table) {
    result = write_legend(d.entities, legend_of(gen.keys, s, *in.table, request.input_path,
                                                 input_class, in.extents.xmin, in.extents.ymax));
  }
  for (const EntityCounters* c :
       {&gen.lines.counters, &gen.points.counters, &gen.polygons.counters}) {
    counters.points_processed += c->points_processed;
    counters.points_eliminated += c->points_eliminated;
    counters.records_skipped += c->records_skipped;
    counters.polygons_not_hatched += c->polygons_not_hatched;
    counters.records_refused_nonfinite += c->records_refused_nonfinite;
  }
  counters.non_finite_reals = d.writer.non_finite_reals() - non_finite_before;
  trace_write("0:TIME==%ld\n", conversion_clock_ms() - start_ms);
  if (result == 0 && !d.writer.failed()) {
    // A merge group's drawing is saved when the group closes.
    if (!chosen.grouped) result = d.writer.finish(cancel_requested);
  } else {
    d.writer.discard();
  }
  if (d.writer.failed()) result = report_write_failure(d.writer, request.output_path);

  // The definition file and the recent lists are kept whatever the result; a preview keeps
  // nothing.
  if (request.preview == nullptr) {
    if (save_definition_file(s, info) != 0) {
      status_error("\nCould not write the definition file of " + request.input_path);
    }
    update_key_lists(s, request.input_path);
  }
  if (result == 0) {
    ReportFacts facts;
    facts.shape_class = shape_class(info, s.cur);
    facts.has_z = is_z_shape_type(info.shape_type);
    facts.merge_on = s.Merge != 0;
    facts.eliminating_labels = s.cur.ElimDoubleLabels == 1;
    facts.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    facts.elapsed_ms = conversion_clock_ms() - start_ms;
    report_conversion_end(counters, facts);
  }
  s.Use2D = saved_2d;
  if (!polygon_input) {
    s.cur.Fill = saved_fill;
    s.cur.DrawOutlines = saved_outlines;
  }
  return result;
}

// A later input of a merge group is converted in the release of the group's drawing.
void keep_group_release(ConvSettings& s, const MergeGroup& group) {
  if (!group.started() || group.release() == s.verDXF) return;
  status_error(format_printf("\nWarning: The merge group's drawing is of release %s; this input "
                             "goes into it in that release, not in release %s",
                             release_traits(group.release()).name.data(),
                             release_traits(s.verDXF).name.data()));
  s.verDXF = group.release();
}

}  // namespace

std::string single_layer_name(const ConvSettings& s, const std::string& input_path) {
  if (!s.def.SingleLayerName.empty()) return s.def.SingleLayerName;
  if (s.LLMS == 0 && !s.layer_history[0].empty()) return s.layer_history[0];
  return std::string(base_name(input_path));
}

int run_conversion(const ConversionRequest& request, ConvState& cs,
                   ConversionCounters& counters, MergeGroup* group) {
  ConvSettings& s = cs.settings;
  // A member of a merge group writes nothing of its own: the closing checks the group's output.
  // A preview writes nothing at all.
  if (request.preview != nullptr) {
    group = nullptr;
  } else if (group == nullptr) {
    if (refuse_output_over_input(request) != 0) return -1;
    if (check_output_location(request.output_path) != 0) return -1;
  } else {
    keep_group_release(s, *group);
  }
  host().set_busy(true);
  NameCounters names{&s.Runtot};
  const int result = main_process(request, cs, counters, names, group);
  reset_conversion_state(s, cs.run, counters, names, std::string(base_name(request.input_path)),
                         result != 0);
  host().set_busy(false);
  if (group != nullptr) {
    if (result == 0) {
      group->add_member(request);
    } else {
      group->abandon();
    }
  } else if (result == 0 && request.preview == nullptr) {
    report_late_cancel(request.output_path);
  }
  return result;
}

}  // namespace tsn
