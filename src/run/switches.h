// Switches of an unattended command: the unattended defaults, the switch table and the
// settings each command starts from (defaults, then tsnbatch.ini, then its own switches).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run/conv_state.h"
#include "settings/conv_settings.h"

namespace tsn {

// Field numbers of a list switch (/T=list, /A?=list), counted from 0 in the order given.
struct FieldList {
  bool all = false;         // "-1": every field in table order
  std::vector<int> fields;  // without repeats; ignored when `all`
  std::vector<int> dropped; // listed numbers no table can have (below -1 or above 255)
  bool empty() const { return !all && fields.empty(); }
};

// A text style asked for by switches: a style name and a font file, either may be empty.
struct StyleRequest {
  std::string name;
  std::string font;
  bool given() const { return !name.empty() || !font.empty(); }
};

enum class StyleTarget { labels = 0, markers = 1, legend = 2, attributes = 3 };
inline constexpr int kStyleTargets = 4;

// A switch the user gave that did not do what it says: unknown, its value unreadable or out
// of range, or a field number the table does not have.
struct SwitchWarning {
  std::string token;
  std::string problem;
};

// What switches ask for that the settings record cannot hold without the open table: field
// numbers (names are looked up in the table by the caller) and text style requests.
struct SwitchResult {
  int layer_key_field = 0;    // /LF=n
  int colour_key_field = 0;   // /CF=n
  int elevation_field = -1;   // /E=n; -1: found by its name (ElevKey)
  int x_field = -1;           // /DX=n; -1: found by its name (XKey)
  int y_field = -1;           // /DY=n; -1: found by its name (YKey)
  std::string layer_legend_file;   // /LGL=file
  std::string colour_legend_file;  // /LGC=file
  std::string encoding;            // /ENC=name
  FieldList label_fields;     // /T=list, in label order
  FieldList attrib_fields;    // /A?=list
  std::array<StyleRequest, kStyleTargets> styles;  // /TS /TF, /PS /PF, /VS /VF
  // Field numbers given by /LF /CF /E /DX /DY, with their tokens, checked against the table.
  std::vector<std::pair<std::string, int>> field_numbers;
  std::string label_list_token, attrib_list_token;  // the /T and /A? tokens of the lists
  std::vector<SwitchWarning> warnings;  // in the order met, defaults file first

  StyleRequest& style(StyleTarget t) { return styles[static_cast<std::size_t>(t)]; }
  const StyleRequest& style(StyleTarget t) const { return styles[static_cast<std::size_t>(t)]; }
};

// Settings a switch may change for one command only, restored before every command.
struct CommandBaseline {
  int verDXF = 4;
};
CommandBaseline capture_baseline(const ConvSettings& s);

// MinMaxPos codes chosen by the value 0..8 of the /TP?B and /AP?B switches.
inline constexpr std::array<int, 9> kMinMaxPosCodes = {234, 235, 236, 237, 238,
                                                       194, 240, 241, 242};

// Parses "1,4,2" or "-1"; entries are read up to the first one that is not a number, repeats
// are dropped and numbers outside 0..255 are set aside in `dropped`.
FieldList parse_field_list(std::string_view text);

// The fixed defaults of every unattended command, then the per-file reset of the settings.
// `result` starts afresh.
void apply_unattended_defaults(ConvSettings& s, const InputInfo& input,
                               const CommandBaseline& baseline, SwitchResult& result);

// Walks the tokens through the switch table: ';' tokens are skipped, an '@' token outside
// command-file mode is refused (message 37), the first token that is not a switch ends the
// walk, unknown switches are ignored. From the defaults file (`defaults_file`), /G and /O are
// refused (message 202). Then the colour method is recomputed for the input. 0, or -1 after a
// message.
int apply_switches(const std::vector<std::string>& tokens, bool defaults_file, ConvSettings& s,
                   RunState& run, const InputInfo& input, SwitchResult& result);

// The settings of one command: unattended defaults, the defaults file's switches, then the
// command's own switches (only when the defaults file was accepted). 0, or -1 after a message.
// Switches that are unknown, unreadable or name fields the table lacks are still ignored (stored
// command files may hold them) and listed in result.warnings.
int prepare_command_settings(ConvSettings& s, RunState& run, const InputInfo& input,
                             const CommandBaseline& baseline,
                             const std::vector<std::string>& defaults_file_lines,
                             const std::vector<std::string>& command_switches,
                             SwitchResult& result);

// The /DX and /DY field numbers of a command, read from the defaults file's switches and then
// its own as prepare_command_settings reads them; -1 where none is given. They are known before
// the table is opened, so that its X and Y fields, and its extent, are those of the conversion.
void coordinate_field_switches(const std::vector<std::string>& defaults_file_lines,
                               const std::vector<std::string>& command_switches, int& x_field,
                               int& y_field);

// One line per warning, each beginning with a line feed:
// "Warning: /T=999: the table has no field 999 (it has fields 0 to 4)".
std::string switch_warning_lines(const std::vector<SwitchWarning>& warnings);

// Marks the listed label and attribute fields of the input's table in the definition state
// (attribute flags, label positions 1, 2, ... in list order, and their counts); fields the
// table does not have are dropped. prepare_command_settings ends with it.
void select_listed_fields(ConvSettings& s, const InputInfo& input, const SwitchResult& result);

// Whether the style requested for a target is used by this conversion: labels when TextLabels
// is 1, markers for point input translated to character markers, legend when Legend is 1,
// attributes when attribute output is active; and only when a request was given.
bool style_request_applies(StyleTarget target, const ConvSettings& s, const InputInfo& input,
                           const SwitchResult& result);

// The request with its empty parts completed: nothing given -> "STANDARD" with font "txt";
// only a name -> font "txt" when no known style has that name (else that style's font); only a
// font file -> the name is the font file's base name.
StyleRequest complete_style_request(const ConvSettings& s, const StyleRequest& request);

}  // namespace tsn
