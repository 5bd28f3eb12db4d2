// The interactive run without its window: selection, controls, checks, save and quit.
#include "run/interactive_session.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <system_error>

#include "classify/record_classifier.h"
#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "run/classification_setup.h"
#include "run/conversion_counters.h"
#include "run/conversion_driver.h"
#include "run/conversion_reset.h"
#include "run/input_open.h"
#include "run/preview_conversion.h"
#include "run/usage.h"
#include "settings/definition_file.h"
#include "settings/file_reset.h"
#include "settings/program_settings.h"
#include "settings/settings_files.h"

namespace tsn {

namespace {

constexpr int kMsgSelectFile = 43;
constexpr int kMsgUserCancelled = 45;
constexpr int kMsgTableBesideShapes = 190;
constexpr int kCaptionProgram = 10;
constexpr int kMsgBrowserFilters = 253;

struct SaveFilter {
  std::string_view name;
  int save_file_type;  // -1: all files
  int verDXF;
};
constexpr std::array<SaveFilter, kSaveFilterEntries> kSaveFilters{{
    {"DXF Rel. 12", 0, 4},
    {"DXF Rel. 14", 0, 6},
    {"DXF Acad 2000", 0, 7},
    {"DWG Rel. 12", 1, 4},
    {"DWG Rel. 14", 1, 6},
    {"DWG Acad 2000", 1, 7},
    {"All files", -1, 0},
}};

// The request that opens `path` as the settings say: its type, the output type, the code page.
ConversionRequest request_for(const ConvSettings& s, const std::string& path) {
  ConversionRequest request;
  request.input_path = path;
  request.input_file_type = s.InputFileType;
  request.save_file_type = s.SaveFileType;
  request.drawing_code_page = s.DWGCodePageString;
  return request;
}

// At most `count` characters of UTF-8 text, never cutting one in two.
std::string first_characters(const std::string& text, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < count && at < text.size(); ++n) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  return text.substr(0, at);
}

std::size_t character_count(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

Answer ask(int message, std::string_view caption, Answer default_answer = Answer::yes) {
  return host().message_box(caption, load_text(message), Icon::question, Buttons::yes_no,
                            default_answer);
}

}  // namespace

std::string save_filter_name(int entry) {
  if (entry < 1 || entry > kSaveFilterEntries) return {};
  return std::string(kSaveFilters[static_cast<std::size_t>(entry - 1)].name);
}

int initial_save_filter(int save_file_type, int release_index) {
  return std::clamp(save_file_type, 0, 1) * 3 + std::clamp(release_index, 0, 2) + 1;
}

SaveAsChoice resolve_save_as(const std::string& typed_path, int entry, int current_type) {
  SaveAsChoice choice;
  choice.path = typed_path;
  const SaveFilter& filter = kSaveFilters[static_cast<std::size_t>(
      std::clamp(entry, 1, kSaveFilterEntries) - 1)];
  choice.verDXF = filter.verDXF;
  const std::string_view name = file_name(typed_path);
  if (path_extension(name).empty()) {
    // The chosen entry's extension completes the name ("All files" keeps the current type).
    choice.save_file_type = filter.save_file_type >= 0 ? filter.save_file_type : current_type;
    choice.path += "." + std::string(output_extension(choice.save_file_type));
  } else if (has_extension(name, "dwg") || has_extension(name, "dxf")) {
    choice.save_file_type = save_file_type_for(name, current_type);
  } else {
    choice.message = 85;
  }
  return choice;
}

std::string save_caption(const std::string& input_path, int save_file_type) {
  if (input_path.empty()) return load_text(84);
  std::string name(base_name(input_path));
  name = character_count(name) > 16 ? first_characters(name, 11) + ".. ." : name + ".";
  return load_text(83) + name + std::string(output_extension(save_file_type));
}

std::vector<BrowserFilter> browser_filters() {
  std::vector<BrowserFilter> filters;
  const std::string text = load_text(kMsgBrowserFilters);
  std::size_t at = 0;
  for (;;) {
    const std::size_t bar = text.find('|', at);
    if (bar == std::string::npos) break;
    const std::size_t next = text.find('|', bar + 1);
    if (next == std::string::npos) break;
    filters.push_back({text.substr(at, bar - at), text.substr(bar + 1, next - bar - 1)});
    at = next + 1;
  }
  return filters;
}

void InteractiveSession::open() {
  const ConvSettings& s = cs_.settings;
  open_log_file(s.program_dir + "tessaryn.log", s.Log == 1);
  status_write("%s", banner_status_line().c_str());
  status_write("%s", load_status_text(kMsgSelectFile).c_str());
}

void InteractiveSession::clear() {
  selected_ = SelectedInput{};
}

const SelectedInput& InteractiveSession::select(const std::string& path, bool ask_questions) {
  ConvSettings& s = cs_.settings;
  clear();
  selected_.path = path;
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  selected_.file_size = error ? 0 : static_cast<std::int64_t>(size);
  const int type = input_file_type_of(path);
  if (type < 0) {
    selected_.path.clear();
    return selected_;
  }
  selected_.convertible = true;
  s.InputFileType = type;
  ConversionCounters counters;
  NameCounters names{&s.Runtot};
  reset_conversion_state(s, cs_.run, counters, names, std::string(base_name(path)), false);
  cs_.run.input_path = path;
  cs_.run.output_path = output_path();

  host().set_busy(true);
  const ConversionRequest request = request_for(s, path);
  // Questions are asked with the ordinary cursor.
  std::optional<OpenInput> in;
  const auto open = [&](bool ask) {
    in.emplace();
    in->summary_only = true;  // the conversion says what it finds; preparing only looks
    in->ask = ask;
    if (open_input(request, s.cur, *in) == 0) return true;
    selected_.prepared = in->declined ? -3 : -1;
    return false;
  };
  if (!open(ask_questions)) return selected_;
  host().set_busy(true);
  const FileSettings before = s.cur;
  (void)open_input_settings(s, input_info_of(request, *in), false);
  // A table's coordinate fields (and so its extent) follow its own definition file.
  const FileSettings& now = s.cur;
  if (!in->is_shapefile && (now.XKey != before.XKey || now.YKey != before.YKey ||
                            now.CSVHasHeader != before.CSVHasHeader ||
                            now.PointsArePolys != before.PointsArePolys)) {
    if (!open(false)) {
      host().set_busy(false);
      return selected_;
    }
  }
  const InputInfo info = input_info_of(request, *in);
  selected_.info = info;
  s.cur.ColourMethod = effective_colour_method(s.cur, info);
  selected_.shape_class = shape_class(info, s.cur);
  if (selected_.shape_class == 1) s.cur.DrawOutlines = 1;
  const bool keyed_table = in->is_shapefile || in->shape_type == 1;
  RecordClassifier keys;
  const int keyed = prepare_classification(keys, keyed_table ? in->table.get() : nullptr,
                                           request, selected_.shape_class, s);
  if (keys.layer.active && s.cur.ClassTypeLayer == 2) {
    selected_.layer_classes = static_cast<long>(keys.layer.classes.classes.size());
  }
  const int described = describe_input(request, *in, selected_.summary, false);
  host().set_busy(false);
  if (keyed != 0 || described != 0) return selected_;
  write_layer_message();
  write_colour_message();
  selected_.temp_writable = directory_is_writable(s.temp_dir);
  selected_.prepared = 0;
  return selected_;
}

KeyPreview InteractiveSession::preview_key(bool layer_key, const std::string& field, int method,
                                           int classes) {
  KeyPreview preview;
  if (selected_.prepared != 0 || !has_table()) return preview;
  ConvSettings copy = cs_.settings;
  // Only the key asked about is built, from the table and not from classes edited earlier.
  copy.cur.LayerByFeature = layer_key ? 1 : 0;
  copy.cur.ColourMethod = layer_key ? 0 : 2;
  if (layer_key) {
    copy.cur.ClassTypeLayer = method;
    copy.cur.NumClassesLayer = classes;
    copy.def.LayersKey = field;
    copy.layer_ranges = RangeSet{};
  } else {
    copy.cur.ClassTypeColor = method;
    copy.cur.NumClassesColor = classes;
    copy.def.ColoursKey = field;
    copy.colour_ranges = RangeSet{};
  }
  const int scheme_before = copy.cur.DefaultColorSet;
  const ConversionRequest request = request_for(copy, selected_.path);
  OpenInput in;
  in.summary_only = true;
  host().set_busy(true);
  RecordClassifier keys;
  if (open_input(request, copy.cur, in) == 0 && in.table) {
    (void)prepare_classification(keys, in.table.get(), request, selected_.shape_class, copy);
  }
  host().set_busy(false);
  const FieldKey& key = layer_key ? keys.layer : keys.colour;
  if (!key.active) return preview;
  preview.classes = layer_key ? copy.layer_ranges : copy.colour_ranges;
  preview.method = layer_key ? copy.cur.ClassTypeLayer : copy.cur.ClassTypeColor;
  preview.numeric = key.values.numeric;
  if (!layer_key && copy.cur.DefaultColorSet != scheme_before) {
    preview.forced_scheme = copy.cur.DefaultColorSet;
  }
  return preview;
}

KeyPreview InteractiveSession::preview_layer_key(const std::string& field, int method,
                                                 int classes) {
  return preview_key(true, field, method, classes);
}

KeyPreview InteractiveSession::preview_colour_key(const std::string& field, int method,
                                                  int classes) {
  return preview_key(false, field, method, classes);
}

bool InteractiveSession::can_save() const {
  return selected_.prepared == 0 && selected_.temp_writable;
}

void InteractiveSession::write_changed(std::string& last, const std::string& text) {
  if (text.empty() || text == last) return;
  last = text;
  status_write("\n%s", text.c_str());
}

void InteractiveSession::write_layer_message() {
  const ConvSettings& s = cs_.settings;
  const bool layered = s.cur.LayerByFeature != 0 && has_table() && !s.def.LayersKey.empty();
  write_changed(last_layer_message_,
                layered ? format_printf(load_text(73).c_str(), s.def.LayersKey.c_str())
                        : format_printf(load_text(74).c_str(),
                                        single_layer_name(s, selected_.path).c_str()));
}

void InteractiveSession::write_colour_message() {
  const ConvSettings& s = cs_.settings;
  const FileSettings& f = s.cur;
  std::string colour;
  const int cls = selected_.shape_class;
  if (f.ColourMethod == 2 && has_table() && !s.def.ColoursKey.empty()) {
    const int message = cls == 2 ? 60 : cls == 1 ? 62 : 63;
    colour = format_printf(load_text(message).c_str(), s.def.ColoursKey.c_str());
  } else if (cls == 2) {
    colour = f.Fill != 0 ? format_printf(load_text(61).c_str(), f.SingleColourFill)
                         : format_printf(load_text(64).c_str(), f.SingleColourLines);
  } else if (cls == 1) {
    colour = format_printf(load_text(64).c_str(), f.Pen0);
  }
  write_changed(last_colour_message_, colour);
}

std::string InteractiveSession::save_caption() const {
  return tsn::save_caption(selected_.path, cs_.settings.SaveFileType);
}

std::string InteractiveSession::release_text() const {
  return load_text(286 + release_index(cs_.settings));
}

bool InteractiveSession::points_enabled() const {
  return selected_.convertible && (selected_.shape_class == 0 || has_table());
}

std::string InteractiveSession::points_caption() const {
  return load_text(selected_.shape_class == 0 ? 166 : 167);
}

bool InteractiveSession::attributes_on() const {
  return has_table() && attributes_wanted(cs_.settings.cur);
}
bool InteractiveSession::labels_on() const {
  return has_table() && cs_.settings.cur.TextLabels != 0;
}
bool InteractiveSession::legend_on() const {
  return has_table() && cs_.settings.cur.Legend != 0;
}

void InteractiveSession::set_attributes(bool on) {
  int& bits = cs_.settings.cur.Attribs;
  bits = on ? (bits | kAttribsOn) : (bits & ~kAttribsOn);
}
void InteractiveSession::set_labels(bool on) { cs_.settings.cur.TextLabels = on ? 1 : 0; }
void InteractiveSession::set_legend(bool on) { cs_.settings.cur.Legend = on ? 1 : 0; }

void InteractiveSession::after_attribute_fields() {
  if (!attributes_wanted(cs_.settings.cur) || cs_.settings.def.num_attrib_selected != 0) return;
  status_write("%s", load_status_text(47).c_str());
  set_attributes(false);
}

void InteractiveSession::after_label_fields() {
  if (cs_.settings.cur.TextLabels == 0 || cs_.settings.def.num_label_fields != 0) return;
  status_write("%s", load_status_text(49).c_str());
  set_labels(false);
}

int InteractiveSession::preview_drawing(PreviewDrawing& drawing) const {
  if (selected_.prepared != 0) {
    drawing.clear();
    return -1;
  }
  // The conversion itself runs quietly: the busy cursor is shown from here.
  host().set_busy(true);
  const int result = preview_conversion(request_for(cs_.settings, selected_.path), cs_, drawing);
  host().set_busy(false);
  return result;
}

std::string InteractiveSession::output_path() const {
  if (selected_.path.empty()) return {};
  return replace_extension(selected_.path, output_extension(cs_.settings.SaveFileType));
}

bool InteractiveSession::confirm_conversion() {
  ConvSettings& s = cs_.settings;
  const std::string caption = load_text(kCaptionProgram);
  const auto stop = [] {
    status_write("%s", load_status_text(kMsgUserCancelled).c_str());
    return false;
  };
  if (s.InputFileType == 1 && file_exists(find_companion(selected_.path, "shp"))) {
    const std::string text =
        format_printf(load_text(kMsgTableBesideShapes).c_str(), selected_.path.c_str());
    if (host().message_box(caption, text, Icon::question, Buttons::yes_no, Answer::yes) !=
        Answer::yes) {
      return stop();
    }
  }
  if (attributes_on() && s.def.num_attrib_selected == 0) {
    if (ask(46, caption) != Answer::yes) return stop();
    after_attribute_fields();
  }
  if (labels_on() && s.def.num_label_fields == 0) {
    if (ask(48, caption) != Answer::yes) return stop();
    after_label_fields();
  }
  if (!layers_warning_answered_ && s.cur.LayerByFeature != 0 &&
      selected_.layer_classes > s.LayersWarning) {
    layers_warning_answered_ = true;
    const long shown = std::min(selected_.layer_classes, 32767L);
    const std::string text = format_printf(load_text(121).c_str(), static_cast<int>(shown));
    if (host().message_box(load_text(122), text, Icon::warning, Buttons::yes_no, Answer::yes) ==
        Answer::yes) {
      return stop();
    }
  }
  return true;
}

void InteractiveSession::remember_output_directory(const std::string& chosen_path) {
  cs_.settings.OutDir = std::string(directory_of(chosen_path));
}

void InteractiveSession::apply_save_as(const SaveAsChoice& choice) {
  ConvSettings& s = cs_.settings;
  s.SaveFileType = choice.save_file_type;
  if (choice.verDXF != 0) s.verDXF = choice.verDXF;
}

int InteractiveSession::convert(const std::string& output) {
  ConvSettings& s = cs_.settings;
  cs_.run.input_path = selected_.path;
  cs_.run.output_path = output;
  ConversionRequest request = request_for(s, selected_.path);
  request.kind = RequestKind::convert;
  request.output_path = output;
  request.questions_asked = true;
  ConversionCounters counters;
  const int result = run_conversion(request, cs_, counters);
  layers_warning_answered_ = false;
  // The input's settings are those its definition file now holds (the conversion's reset
  // cleared the current ones), or the defaults when definition files are not loaded.
  const std::string input = selected_.path;
  select(input, false);
  return result;
}

bool InteractiveSession::quit(const std::string& shown_directory) {
  ConvSettings& s = cs_.settings;
  s.InDir = shown_directory;
  return save_program_settings(s);
}

}  // namespace tsn
