// The conversion settings record: every settings-file key as a field, with its default.
// Per-file fields exist twice, as the program-level value (the default) and the current value.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "settings/colour_lists.h"
#include "settings/value_ranges.h"

namespace tsn {

// Bits of the Attribs setting.
inline constexpr int kAttribsOn = 1;        // feature attributes wanted
inline constexpr int kAttribsExtended = 4;  // ... as extended entity data, not block attributes

inline constexpr int kShapeClasses = 3;  // 0 points, 1 lines, 2 polygons
inline constexpr int kMaxFields = 256;   // field slots for attribute and label selections
inline constexpr int kSettingsVersion = 244;
inline constexpr int kLoadDefaultsOn = 31;  // any non-zero LoadDefaults is held as this

// Where a label or attribute text goes relative to its shape (one triple per shape class).
struct TextPosition {
  int MinMaxPos = 238;
  int VerticalPos = 0;
  int AnnotJust = 0;
};

// Initial label and attribute positions by class: points, lines, polygons.
inline constexpr std::array<TextPosition, kShapeClasses> kInitialTextPositions = {
    TextPosition{238, 0, 0}, TextPosition{238, -1, 1}, TextPosition{238, 0, 1}};

// Fields a definition file can set; the program settings file holds their defaults.
struct FileSettings {
  int HatchNumber = 0;
  int Fill = 0;
  double HatchScale = -1.0;
  std::string ACADHatchPattern = "SOLID";
  int DrawOutlines = 1;
  int LayerByFeature = 0;
  int ColourMethod = 0;
  int Use1ColourPoints = 0;
  int SingleColourPoints = 1;
  int Use1ColourArcs = 0;
  int Pen0 = 1;
  int Use1ColourLines = 0;
  int SingleColourLines = 1;
  int Use1ColourFill = 0;
  int SingleColourFill = 1;
  int ClassTypeColor = 0;
  int NumClassesColor = 5;
  int DefaultColorSet = 0;
  int AcadMapping = 0;
  std::string DefScheme = "0";
  int Attribs = 0;
  int AttVis = 0;
  int AttribColSameAsShape = 0;
  int PointsTranslate = 0;
  int Marker = 1;
  std::string MarkerStyle = "STANDARD";
  int PointMarker = 42;
  std::string SingleRedlineLayer = "TEXT";
  std::string TextLabelsStyle = "STANDARD";
  std::string TextLegendStyle = "STANDARD";
  std::string TextAttribStyle = "STANDARD";
  double MarkerHeight = 3.5;
  double TextLabelsHeight = 1.0;
  double TextLegendHeight = 1.0;
  double TextAttribHeight = 1.0;
  std::string LegendLayer = "LEGEND";
  int MaxAttribLen = 0;
  int MultipointBlock = 0;
  int ClassTypeLayer = 0;
  int NumClassesLayer = 5;
  int TextLabels = 0;
  std::array<TextPosition, kShapeClasses> label_position = kInitialTextPositions;
  std::array<TextPosition, kShapeClasses> attrib_position = kInitialTextPositions;
  int flgSingleRedlineLayer = 1;
  int AlignText = 1;
  int AlignAttrib = 1;
  std::array<int, kShapeClasses> label_move_close = {1, 1, 1};   // used for lines and polygons
  std::array<int, kShapeClasses> attrib_move_close = {1, 1, 1};  // used for lines and polygons
  int TextColour = 40;
  int ElimDoubleLabels = 0;
  double OverlapFactor = 1.0;
  int Legend = 0;
  int LegendTextColour = 40;
  int AttribTextColour = 40;
  int IgnoreColRangeEnts = 1;
  int IgnoreLayRangeEnts = 1;
  int PointsArePolys = 0;
  int CSVHasHeader = 1;
  int TIN = 0;
  std::string Z1Key = "Z1";
  std::string Z2Key = "Z2";
  std::string Z3Key = "Z3";
  int PointsElev = 0;
  std::string ElevKey = "DXF_ELEVATION";
  double ElevFactor = 1.0;
  int ElevText = 0;
  std::string XKey = "LONGITUDE";
  std::string YKey = "LATITUDE";
  int flgScaleZ = 0;
  int PlaneFlags = 0;
  int DrawEdges = 1;
};

// Feature attributes wanted, and as block attributes (ATTRIBs after an INSERT) rather than as
// extended entity data.
inline bool attributes_wanted(const FileSettings& f) { return (f.Attribs & kAttribsOn) != 0; }
inline bool block_attributes(const FileSettings& f) {
  return attributes_wanted(f) && (f.Attribs & kAttribsExtended) == 0;
}

// Per-input state that only definition files carry.
struct DefinitionState {
  int settings_version = 0;  // `Version` of the definition file last read
  std::string SingleLayerName;
  std::string ColoursKey;
  std::string LayersKey;
  std::string TextEncoding;  // the encoding of the table's text when the user named it (/ENC)
  std::array<int, kMaxFields> attrib_fields{};  // F<i>: 1 writes field i as an attribute
  std::array<int, kMaxFields> label_fields{};   // A<i>: position of field i in the label, 0 none
  int num_attrib_selected = 0;
  int num_label_fields = 0;
  int Ramp = 0;
  int RampStart = -1;
  int RampEnd = -1;
  int NumColors = 0;
};

struct WindowPosition {
  int x = -1;
  int y = -1;
};

inline constexpr int kRecentKeys = 9;
inline constexpr int kLayerHistory = 10;
inline constexpr int kWindowPositions = 22;
inline constexpr int kNameCounters = 4;

struct ConvSettings {
  // Files and directories, built from the program directory at start-up.
  std::string program_dir;
  std::string settings_file;
  std::string colours_file;
  std::string styles_file;
  std::string adinit_file;
  std::string defs_dir_default;
  std::string temp_dir;

  // Program-level keys (section Tessaryn of the program settings file).
  std::string DefsDir;
  std::string InDir;
  std::string OutDir;
  std::string LegendFileType = "lgd";
  int verDXF = 4;
  int Network = 0;
  std::string DWGCodePageString = "ANSI_1252";
  int DWGCodePageIndex = 30;
  int SortMethod = 0;
  int Use2D = 1;  // key "2D"
  int InternChunkSize = 250;
  int No999 = 0;
  int trace = 0;
  int Log = 0;
  int DecPlaces = 6;
  int Verbose = 0;
  int CheckForBadLoops = 0;
  double VerticesMergeTol = 1e-10;
  int ClosePolys = 0;
  int Merge = 0;
  int LoadDefaults = kLoadDefaultsOn;
  int TidyDxf = 0;
  int LayersWarning = 512;
  int StripSpaces = 1;
  int RaiseText = 0;
  double zFill = 1e-06;
  double zText = 1e-06;
  int SaveFileType = 0;
  double TextLabelsHeightToMinMax = 0.0025;
  double LegendHeightToMinMax = 0.005;
  double AttribHeightToMinMax = 0.0025;
  double MarkerHeightToMinMax = 0.0025;
  double HatchToMinMax = 0.02;
  double LineSpacing = 0.5;
  double TextXOfsRatio = 0.5;
  double PointTextXOfsRatio = 1.0;
  double TextWidthFactor = 1.0;
  double OverlapWidthFactor = 1.0;
  double MergeTolerance = 0.01;
  int LLMS = 1;
  int AnnotLayerDef = 1;
  int LSCD = 0;
  int InputFileType = 0;
  std::string TmpDir;
  std::string Lastshape;
  std::array<std::uint32_t, kNameCounters> Runtot{};

  std::array<std::string, kRecentKeys> recent_layer_keys;
  std::array<std::string, kRecentKeys> recent_colour_keys;
  std::array<std::string, kLayerHistory> layer_history;
  std::array<WindowPosition, kWindowPositions> window_positions;

  // Colour scheme names in file order (the built-in mapping scheme follows them at index
  // scheme_names.size()), and the text styles as (name, font file) in file order.
  std::vector<std::string> scheme_names;
  std::vector<std::pair<std::string, std::string>> text_styles;
  // The text styles of the drawing being made, as (name, font file), names unique without
  // regard to case; the four indices below point into it.
  std::vector<std::pair<std::string, std::string>> drawing_styles;
  int label_style = 0;
  int marker_style = 0;
  int legend_style = 0;
  int attrib_style = 0;

  // The classes of the layer key and of the colour key: built by the conversion from the key
  // field's values, or read from a definition file or a legend range file.
  RangeSet layer_ranges;
  RangeSet colour_ranges;
  // Set when colour ranges read from a file are single integer values (Unique Values): the
  // field holds drawing colour numbers, so the built-in mapping scheme applies.
  bool colour_key_holds_colour_numbers = false;
  // The colour list in use (the current scheme's, or a definition file's own), and the colour
  // of every colour class computed from it.
  ColourList colour_list;
  std::array<std::uint8_t, kMaxColours> class_colours{};

  FileSettings prog;  // program-level values: the defaults of every input
  FileSettings cur;   // values of the current input
  DefinitionState def;
};

// What the settings need to know about the input they are applied to.
struct InputInfo {
  std::string path;         // the shapefile, dBase table or comma-delimited table
  int input_file_type = 0;  // 0 shapefile, 1 dBase table, 2 comma-delimited table
  int shape_type = 0;       // shapefile shape type; 0 for tables
  int field_count = 0;      // table columns
  bool has_table = false;   // attribute table present
  double extent_diagonal = 0.0;
};

// 0 release 12, 1 release 14, 2 release 2000.
int release_index(const ConvSettings& s);
// 0 points, 1 lines, 2 polygons.
int shape_class(const InputInfo& input, const FileSettings& f);
bool is_z_shape_type(int shape_type);
// Attribute output is active when Attribs asks for block attributes and a field is selected.
bool attribute_output_active(const ConvSettings& s);

}  // namespace tsn
