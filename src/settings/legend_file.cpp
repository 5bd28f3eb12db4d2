// Saving and loading legend range files.
#include "settings/legend_file.h"

#include <fstream>
#include <optional>
#include <utility>

#include "platform/paths.h"
#include "platform/profile.h"
#include "settings/settings_files.h"
#include "settings/value_ranges.h"

namespace tsn {

namespace {

constexpr const char* kRangeSections[] = {"RangesLayer", "RangesLayerLabels", "RangesColor",
                                          "RangesColorLabels"};

bool has_ranges_of(Profile& p, bool layer_key) {
  p.select_section(layer_key ? "RangesLayer" : "RangesColor");
  return p.has_key("Num");
}

}  // namespace

int save_legend_file(const std::string& path, const ConvSettings& s, bool layer_key) {
  Profile p;
  p.select_file(path);
  // The file holds exactly one key's ranges, whatever it held before.
  p.select_section("Tessaryn");
  p.erase_section();
  for (const char* section : kRangeSections) {
    p.select_section(section);
    p.erase_section();
  }
  p.select_section("Tessaryn");
  p.write_int("Version", kSettingsVersion);
  if (layer_key) {
    p.write_string("LayersKey", s.def.LayersKey);
    write_layer_ranges(p, s);
  } else {
    p.write_string("ColoursKey", s.def.ColoursKey);
    write_colour_ranges(p, s);
  }
  return p.flush() ? 0 : -1;
}

int load_legend_file(const std::string& path, ConvSettings& s, bool layer_key,
                     std::string& error) {
  if (!file_exists(path)) {
    error = "Legend file " + path + " not found.";
    return -1;
  }
  if (!std::ifstream(path)) {
    error = "Unable to read legend file " + path + ".";
    return -1;
  }
  Profile p;
  p.select_file(path);
  p.select_section("Tessaryn");
  // A file without Version was written by hand in the present layout.
  const int version = p.read_int("Version", kSettingsVersion);

  std::optional<StoredRanges> stored;
  if (has_ranges_of(p, layer_key)) {
    stored = read_range_sections(p, version, layer_key, layer_key ? s.layer_ranges
                                                                  : s.colour_ranges);
  } else if (has_ranges_of(p, !layer_key)) {
    stored = read_range_sections(p, version, !layer_key, layer_key ? s.layer_ranges
                                                                   : s.colour_ranges);
  }
  if (!stored || stored->ranges.classes.empty()) {
    error = "Legend file " + path + " holds no value ranges.";
    return -1;
  }
  apply_ranges(s, layer_key, std::move(*stored));
  return 0;
}

std::string legend_directory(const ConvSettings& s) {
  return last_directory(s, s.LegendFileType);
}

bool remember_legend_directory(ConvSettings& s, const std::string& legend_path) {
  return store_last_directory(s, s.LegendFileType, std::string(directory_of(legend_path)),
                              false);
}

}  // namespace tsn
