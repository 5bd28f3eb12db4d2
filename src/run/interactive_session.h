// The interactive run without its window: the input selected in the browser prepared at once,
// the state of the conversion controls, the checks before a save, the save and the settings
// kept at Quit. The desktop window shows what this holds and calls it for every action.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "preview/preview_drawing.h"
#include "run/conv_state.h"
#include "run/input_summary.h"

namespace tsn {

// The input selected in the browser, as the window shows it.
struct SelectedInput {
  std::string path;
  bool convertible = false;  // .shp, .dbf or .csv: something is prepared or was tried
  int prepared = -1;         // 0 prepared; -1 could not be opened; -3 a question was declined
  std::int64_t file_size = 0;
  InputSummary summary;      // type, extent and records (when prepared)
  int shape_class = 0;       // 0 points, 1 lines, 2 polygons
  InputInfo info;            // what the settings know of it
  long layer_classes = 0;    // layers the layer key makes (unique values), for the warning
  bool temp_writable = true;
};

// The output type and release chosen in the save dialog.
struct SaveAsChoice {
  int message = 0;            // 0, or 85 (the typed extension is neither .dwg nor .dxf)
  std::string path;           // the output path, the filter's extension added when none typed
  int save_file_type = 0;     // 0 DXF, 1 DWG
  int verDXF = 0;             // 4, 6 or 7; 0 when the filter entry chooses no release
};

// The save dialog's filter entries: "DXF Rel. 12" .. "DWG Acad 2000", then "All files".
inline constexpr int kSaveFilterEntries = 7;
std::string save_filter_name(int entry);  // entry 1..7
// The entry the dialog opens with: output type x 3 + release index + 1.
int initial_save_filter(int save_file_type, int release_index);
// What a name typed in the save dialog with filter entry `entry` (1..7) asks for.
// "All files" with a name without extension keeps `current_type`.
SaveAsChoice resolve_save_as(const std::string& typed_path, int entry, int current_type);

// "&Save " and the input's base name with the output extension; a base name longer than 16
// characters is cut to 11 followed by ".. ."; "Save .." when nothing is selected.
std::string save_caption(const std::string& input_path, int save_file_type);

// The file browser's type filters, as (name, pattern) pairs from the filter message.
struct BrowserFilter {
  std::string name;     // "Shapes (*.shp)"
  std::string pattern;  // "*.shp"
};
std::vector<BrowserFilter> browser_filters();

// The classes a choice of key field, method and class count would give.
struct KeyPreview {
  RangeSet classes;
  int method = 0;  // the method used (Quantile when Unique Values has too many values)
  bool numeric = false;
  // A colour key named as holding colour numbers ("COLOR", "PEN") takes the mapping scheme:
  // its index then, else -1.
  int forced_scheme = -1;
};

class InteractiveSession {
 public:
  explicit InteractiveSession(ConvState& cs) : cs_(cs) {}

  // Writes the banner and "Select a file for conversion" to the status list.
  void open();
  // A file chosen in the browser: prepared when it is one the program converts, else the
  // information is cleared. `ask` lets a damaged header's questions be asked.
  const SelectedInput& select(const std::string& path, bool ask = true);
  void clear();
  const SelectedInput& selected() const { return selected_; }
  bool can_save() const;

  // The controls' state and captions.
  std::string save_caption() const;
  std::string release_text() const;  // "( Rel 12 )", "( Rel 14 )", "( Acad 2000 )"
  bool has_table() const { return selected_.summary.has_table; }
  bool points_enabled() const;
  std::string points_caption() const;  // "&Points" or "Ele&vation"
  bool attributes_on() const;
  bool labels_on() const;
  bool legend_on() const;
  void set_attributes(bool on);
  void set_labels(bool on);
  void set_legend(bool on);

  // After the option dialogs: a field dialog left without a field turns its output off (and
  // says so); the layer and colour dialogs' keys are told when they changed.
  void after_attribute_fields();
  void after_label_fields();
  void write_layer_message();
  void write_colour_message();

  // The layer classes of `field` with `method` and `classes` asked for, built from the table
  // of the selected input as the conversion would; nothing changes in the settings.
  KeyPreview preview_layer_key(const std::string& field, int method, int classes);
  // The same for the colour key.
  KeyPreview preview_colour_key(const std::string& field, int method, int classes);

  // The selected input drawn as Save would draw it with the settings as they are now, into
  // `drawing` (within its budget); nothing is written or shown and the settings do not change.
  // 0, or -1 when nothing is prepared or the conversion failed (the drawing is then empty).
  int preview_drawing(PreviewDrawing& drawing) const;

  // The output path of Save: the input's path with the output extension.
  std::string output_path() const;
  // The questions before a conversion; false when the user stopped it.
  bool confirm_conversion();
  // The folder of a name the save dialog returned becomes OutDir.
  void remember_output_directory(const std::string& chosen_path);
  // Applies the save dialog's choice of type and release to the settings.
  void apply_save_as(const SaveAsChoice& choice);
  // Converts the selected input into `output_path`, then prepares it again. 0, or -1.
  int convert(const std::string& output_path);
  // Quit: the directory shown becomes InDir and the program settings are saved.
  bool quit(const std::string& shown_directory);

 private:
  void write_changed(std::string& last, const std::string& text);
  KeyPreview preview_key(bool layer_key, const std::string& field, int method, int classes);

  ConvState& cs_;
  SelectedInput selected_;
  bool layers_warning_answered_ = false;
  std::string last_layer_message_;
  std::string last_colour_message_;
};

}  // namespace tsn
