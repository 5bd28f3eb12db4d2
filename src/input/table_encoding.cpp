// Choosing a table's encoding and reading it in the drawing's code page.
#include "input/table_encoding.h"

#include <fstream>
#include <iterator>

#include "input/input_report.h"
#include "input/transcoding_table.h"
#include "platform/format.h"
#include "platform/text_encoding.h"

namespace tsn {
namespace {

constexpr std::size_t kMaxCpgBytes = 256;

std::string read_cpg(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text(kMaxCpgBytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

}  // namespace

std::string table_encoding(const TableEncodingClues& clues, const std::string& table_path) {
  if (!clues.user_name.empty()) return encoding_of_user_name(clues.user_name);
  if (!clues.cpg_path.empty()) {
    const std::string named = encoding_of_cpg(read_cpg(clues.cpg_path));
    if (!named.empty()) return named;
    if (!clues.quiet) {
      report_input_problem(format_printf(
          "The code page file %s names no encoding known here; it is ignored for %s",
          clues.cpg_path.c_str(), table_path.c_str()));
    }
  }
  if (clues.language_byte != 0) {
    std::string named = encoding_of_language_byte(static_cast<unsigned char>(clues.language_byte));
    if (!named.empty()) return named;
  }
  if (clues.delimited && (clues.head.substr(0, 3) == "\xEF\xBB\xBF" || clues.all_valid_utf8)) {
    return "UTF-8";
  }
  return {};
}

std::unique_ptr<TableReader> in_drawing_code_page(std::unique_ptr<TableReader> table,
                                                  const std::string& encoding,
                                                  const std::string& drawing_code_page,
                                                  const std::string& table_path, bool quiet) {
  const std::string target = encoding_of_drawing_code_page(drawing_code_page);
  if (encoding.empty() || target.empty() || encoding == target) return table;
  auto transcoder = std::make_unique<TextTranscoder>();
  if (!transcoder->open(encoding, target)) {
    if (!quiet) {
      report_input_problem(format_printf(
          "The text of %s is in the encoding %s, which this system cannot convert: its bytes "
          "are written as they are",
          table_path.c_str(), encoding.c_str()));
    }
    return table;
  }
  return std::make_unique<TranscodingTable>(std::move(table), std::move(transcoder));
}

void report_invalid_text(const TableReader& table, const std::string& table_path) {
  const auto* converted = dynamic_cast<const TranscodingTable*>(&table);
  if (converted == nullptr || converted->invalid_values() == 0) return;
  report_input_problem(format_printf(
      "%ld values of %s held bytes that are not valid text in its encoding; they were "
      "replaced by U+FFFD",
      converted->invalid_values(), table_path.c_str()));
}

}  // namespace tsn
