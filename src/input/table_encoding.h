// The encoding of a table's text, from what the user, the .cpg file, the dBase header or the
// text itself says, and the table read through a conversion into the drawing's code page.
#pragma once

#include <memory>
#include <string>

#include "input/table_reader.h"

namespace tsn {

struct TableEncodingClues {
  std::string user_name;       // /ENC=name, or empty
  std::string cpg_path;        // the .cpg beside the input, or empty when there is none
  int language_byte = 0;       // of a dBase table; 0 when unsaid
  bool delimited = false;      // a comma-delimited table: its bytes are looked at
  std::string_view head;       // for a delimited table: its first bytes (a byte-order mark)
  bool all_valid_utf8 = false; // for a delimited table: every byte is valid UTF-8
  bool quiet = false;          // say nothing (the table is opened again for the conversion)
};

// The iconv name of the table's encoding: the user's name, else the .cpg's (one that names
// nothing known is reported and ignored), else the language byte's, else for a delimited table
// UTF-8 when it has a byte-order mark or is valid UTF-8 throughout; empty when nothing says.
std::string table_encoding(const TableEncodingClues& clues, const std::string& table_path);

// The table read in the drawing's code page (a DWGCodePageString such as "ANSI_1252"): wrapped
// in a converting reader when the two differ; as it is when the encoding is unknown, the same
// as the code page's, or one iconv lacks (reported unless quiet: its bytes are kept).
std::unique_ptr<TableReader> in_drawing_code_page(std::unique_ptr<TableReader> table,
                                                  const std::string& encoding,
                                                  const std::string& drawing_code_page,
                                                  const std::string& table_path, bool quiet);

// After the records: one line when values of the table held bytes invalid in its encoding.
void report_invalid_text(const TableReader& table, const std::string& table_path);

}  // namespace tsn
