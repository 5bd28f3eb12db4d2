// Reading and writing the per-file keys: the program settings file holds their program-wide
// values, each input's definition file its own values.
#pragma once

#include <string>

#include "platform/profile.h"
#include "settings/conv_settings.h"

namespace tsn {

inline constexpr int kAllClasses = -1;

// Keys that both files carry, read from the selected section into `f`, with `d` giving the
// value of a missing key. shape_cls selects the one-colour keys read (kAllClasses for all).
void read_shared_file_keys(Profile& p, FileSettings& f, const FileSettings& d, int shape_cls);

// Keys only a definition file carries, read for the current input after the shared keys.
void read_definition_keys(Profile& p, ConvSettings& s, const InputInfo& input);

// The attribute (section Attribs) and label (section Text) field selections of the input.
void read_definition_field_lists(Profile& p, ConvSettings& s, const InputInfo& input);

// The name stored as DefScheme: the current scheme's name, "0" when there is none.
std::string current_scheme_name(const ConvSettings& s, const FileSettings& f);

// The label and attribute positions of one class, in the selected section; the program
// settings file stores them with a class suffix ("Pt", "A", "P"), a definition file without.
void read_text_position(Profile& p, TextPosition& pos, const char* suffix);
void write_text_position(Profile& p, const TextPosition& pos, const char* suffix);
const char* class_suffix(int shape_cls);

// The one-colour switch and colour keys of a class (all classes for kAllClasses).
void write_one_colour_keys(Profile& p, const FileSettings& f, int shape_cls);

// Keys written after every conversion and on exit, in their order; `program_level` leaves out
// Attribs, the heights, DefScheme and flgSingleRedlineLayer and always writes AttVis and
// AttribColSameAsShape.
void write_shared_file_keys(Profile& p, const ConvSettings& s, const FileSettings& f,
                            int shape_cls, bool program_level);

// Position of the pattern in the hatch pattern table (case ignored), 0 when not found.
int hatch_number_for(const std::string& pattern_name);

}  // namespace tsn
