// The command line: splitting text into tokens, telling switches from file names, and the
// grammar that turns tokens into one conversion request.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tsn {

inline constexpr std::size_t kMaxTokens = 64;

// Splits a command line: blanks, tabs and newlines end a token; a double quote starts a quoted
// token (text collected before it in the same token is dropped) that the next quote ends;
// empty tokens are skipped; at most 64 tokens are kept.
std::vector<std::string> split_command_line(std::string_view text);

// A token beginning with '-', or with '/' that has no second '/' before its first '=' and does
// not end in .shp .dbf .csv .dxf .dwg, is a switch; every other token is a file name.
bool is_switch(std::string_view token);

struct PreviewDrawing;

enum class RequestKind { interactive, comment, command_file, convert };

struct ConversionRequest {
  RequestKind kind = RequestKind::interactive;
  std::vector<std::string> switches;  // in command-line order
  std::string input_path;
  std::string output_path;
  std::string command_file;
  int input_file_type = 0;  // 0 shapefile, 1 dBase table, 2 comma-delimited table
  int save_file_type = 0;   // 0 DXF, 1 DWG
  // Fields chosen by number with /E, /DX, /DY, /LF and /CF; -1: found by name.
  int elevation_field = -1;
  int layer_key_field = -1;
  int colour_key_field = -1;
  int x_field = -1;
  int y_field = -1;
  // Legend range files whose ranges replace the classes of the layer key and the colour key.
  std::string layer_legend_file;
  std::string colour_legend_file;
  std::string encoding;       // /ENC=name: the encoding of the table's text, or empty
  std::string drawing_code_page;  // text is converted into it; empty: read as it is
  bool questions_asked = false;   // the window asked about a damaged input when it was selected
  // Set: the conversion draws into this preview and keeps nothing, no output file, no
  // definition file and no recent keys.
  PreviewDrawing* preview = nullptr;
};

// 0 shapefile (.shp), 1 dBase table (.dbf), 2 comma-delimited table (.csv), ignoring case;
// -1 for any other name.
int input_file_type_of(std::string_view path);
// "dwg" for output type 1, else "dxf".
std::string_view output_extension(int save_file_type);

// The output type an output path chooses: 1 (DWG) for ".dwg", 0 (DXF) for ".dxf", ignoring
// case; `current` for any other extension.
int save_file_type_for(std::string_view output_path, int current);

// Checks the grammar of a command: switches, the input file, optionally the output file, then
// more switches. save_file_type is the current output type, kept unless the output file's
// extension chooses another. Returns 0 or the number of the message that explains the fault
// (37, 175, 176); the request is filled on success.
int parse_request(const std::vector<std::string>& tokens, int save_file_type,
                  ConversionRequest& request);

}  // namespace tsn
