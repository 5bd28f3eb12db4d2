// The program settings file: read once at start-up, written when the interactive run ends.
#pragma once

#include <string>

#include "settings/conv_settings.h"

namespace tsn {

// Reads every program-level setting from the program directory's settings file, settles the
// temporary and definitions directories and loads the colour scheme names and text styles.
// Missing files, sections and keys give the defaults. Returns false only when a setting the
// run cannot do without (DefsDir) could not be written back.
bool load_program_settings(ConvSettings& s, const std::string& program_dir);

// Writes the program-level settings, the recent lists and the name counters.
bool save_program_settings(ConvSettings& s);

// Writes only the name counters Runtot1..Runtot4 (the unattended run's one write).
bool save_name_counters(ConvSettings& s);

// Writes only the remembered position `index` of a window (the batch window's, when it closes).
bool save_window_position(const ConvSettings& s, int index);

// "x,y" as stored for a window position; anything unreadable gives -1,-1.
WindowPosition parse_window_position(const std::string& text);

}  // namespace tsn
