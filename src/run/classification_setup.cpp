// Key fields, classes, legend range files and class colours of one conversion.
#include "run/classification_setup.h"

#include <algorithm>

#include "classify/key_choice.h"
#include "classify/layer_name.h"
#include "dxf/tables_section.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "settings/class_colours.h"
#include "settings/legend_file.h"
#include "settings/text_styles.h"

namespace tsn {
namespace {

KeyOptions key_options(int field, int method, int requested, bool layer_key, bool outside,
                 const ConvSettings& s) {
  KeyOptions options;
  options.field = field;
  options.method = static_cast<ClassMethod>(std::clamp(method, 0, 2));
  options.requested = requested;
  options.layer_key = layer_key;
  options.verDXF = s.verDXF;
  options.sort_method = s.SortMethod;
  options.outside_flag = outside;
  return options;
}

// Builds the key, saying so when Unique Values has more values than classes can hold.
void prepare_key_telling_fallback(FieldKey& key, TableReader& table, KeyOptions& options,
                                  const KeyValues* values = nullptr) {
  const ClassMethod asked = options.method;
  prepare_field_key(key, table, options, values);
  const auto distinct = static_cast<long>(key.values.values.size());
  if (asked == ClassMethod::unique_values && options.method == ClassMethod::quantile &&
      distinct > kMaxClasses) {
    status_write("\nUnique values (%ld) for this field exceed %ld, using Quantile "
                 "classification instead",
                 distinct, static_cast<long>(kMaxClasses));
  }
}

const std::string& field_name(TableReader& table, int field) {
  return table.fields()[static_cast<std::size_t>(field)].name;
}

// Replaces the key's classes by the ranges of a legend range file; a numeric key needs numeric
// ranges and a text key text ranges.
int apply_legend_file(FieldKey& key, const std::string& path, bool layer_key, ConvSettings& s) {
  std::string error;
  if (load_legend_file(path, s, layer_key, error) != 0) {
    status_error("\nLegend range file " + path + ": " + error);
    return -1;
  }
  const RangeSet& loaded = layer_key ? s.layer_ranges : s.colour_ranges;
  if ((loaded.type != NumberType::alphabetic) != key.values.numeric) {
    status_error("\nLegend range file " + path + ": its ranges are " +
                 (key.values.numeric ? "text values but the key field is numeric"
                                     : "numbers but the key field holds text"));
    return -1;
  }
  key.set_ranges(loaded);
  remember_legend_directory(s, path);
  return 0;
}

// Classes edited by hand stay as they are while they still suit the key: numbers for a numeric
// field, texts for a text field.
bool hand_made_ranges_fit(const RangeSet& ranges, const FieldKey& key) {
  return ranges.edited && !ranges.classes.empty() &&
         (ranges.type != NumberType::alphabetic) == key.values.numeric;
}

int prepare_layer_key(FieldKey& key, TableReader& table, const ConversionRequest& request,
                      int shape_class, ConvSettings& s) {
  FileSettings& cur = s.cur;
  const int field = request.layer_key_field >= 0
                        ? request.layer_key_field
                        : default_layer_key(table.fields(), s, shape_class);
  KeyOptions options = key_options(field, cur.ClassTypeLayer, cur.NumClassesLayer, true,
                          cur.IgnoreLayRangeEnts != 0, s);
  prepare_key_telling_fallback(key, table, options);
  if (!key.active) return 0;
  cur.ClassTypeLayer = static_cast<int>(options.method);
  s.def.LayersKey = field_name(table, key.field);
  if (!request.layer_legend_file.empty()) {
    return apply_legend_file(key, request.layer_legend_file, true, s);
  }
  if (hand_made_ranges_fit(s.layer_ranges, key)) {
    key.set_ranges(s.layer_ranges);
    return 0;
  }
  s.layer_ranges = key.classes;
  return 0;
}

int prepare_colour_key(FieldKey& key, const FieldKey& layer, TableReader& table,
                       const ConversionRequest& request, int shape_class, ConvSettings& s) {
  FileSettings& cur = s.cur;
  const int field = request.colour_key_field >= 0
                        ? request.colour_key_field
                        : default_colour_key(table.fields(), s, shape_class);
  if (field < 0 || field >= static_cast<int>(table.fields().size())) return 0;
  // A field that holds drawing colour numbers colours its records directly.
  if (names_colour_numbers(field_name(table, field))) {
    cur.ClassTypeColor = 2;
    cur.DefaultColorSet = static_cast<int>(s.scheme_names.size());
  }
  KeyOptions options = key_options(field, cur.ClassTypeColor, cur.NumClassesColor, false,
                          cur.IgnoreColRangeEnts != 0, s);
  const bool shared = layer.active && layer.field == field;
  prepare_key_telling_fallback(key, table, options, shared ? &layer.values : nullptr);
  if (!key.active) return 0;
  cur.ClassTypeColor = static_cast<int>(options.method);
  s.def.ColoursKey = field_name(table, key.field);
  if (!request.colour_legend_file.empty()) {
    if (apply_legend_file(key, request.colour_legend_file, false, s) != 0) return -1;
  } else if (hand_made_ranges_fit(s.colour_ranges, key)) {
    key.set_ranges(s.colour_ranges);
  } else {
    s.colour_ranges = key.classes;
    s.colour_key_holds_colour_numbers = false;
  }
  return 0;
}

}  // namespace

int prepare_classification(RecordClassifier& classifier, TableReader* table,
                           const ConversionRequest& request, int shape_class, ConvSettings& s) {
  classifier = RecordClassifier{};
  if (table == nullptr || table->fields().empty()) return 0;
  if (s.cur.LayerByFeature != 0 &&
      prepare_layer_key(classifier.layer, *table, request, shape_class, s) != 0) {
    return -1;
  }
  if (s.cur.ColourMethod == 2) {
    if (prepare_colour_key(classifier.colour, classifier.layer, *table, request, shape_class,
                           s) != 0) {
      return -1;
    }
    if (classifier.colour.active) {
      if (!compute_class_colours(s)) status_error("\n" + std::string(kMappingNotAvailable));
      classifier.class_colours = &s.class_colours;
    }
  }
  classifier.name_layers(s.verDXF);
  table->rewind();
  return 0;
}

Legend legend_of(const RecordClassifier& classifier, const ConvSettings& s, TableReader& table,
                 const std::string& input_path, int shape_class, double xmin, double ymax) {
  Legend legend;
  legend.title = std::string(file_name(input_path));
  legend.shape_class = shape_class;
  legend.xmin = xmin;
  legend.ymax = ymax;
  legend.height = s.cur.TextLegendHeight;
  legend.layer = make_layer_name(s.cur.LegendLayer, s.verDXF);
  legend.text_colour = s.cur.LegendTextColour;
  legend.style = std::string(drawing_style_name(s, s.legend_style, legend.style));
  const FieldKey& key = classifier.colour;
  if (!key.active || classifier.class_colours == nullptr) {
    // Polygons show their fill colour.
    legend.single_colour =
        shape_class == 2 ? s.cur.SingleColourFill : default_layer_colour(s.cur, shape_class);
    return legend;
  }
  legend.key_name = field_name(table, key.field);
  for (std::size_t i = 0; i < key.classes.classes.size(); ++i) {
    legend.entries.push_back({key.classes.classes[i].label, (*classifier.class_colours)[i]});
  }
  return legend;
}

}  // namespace tsn
