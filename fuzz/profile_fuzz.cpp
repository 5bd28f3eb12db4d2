// Fuzz target for the initialisation-file parser and editor: arbitrary bytes as a file, plus a
// section, key and value to look up, set and erase, checking what must hold afterwards.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace {

// Splits off the text up to the next NUL byte (or the rest).
std::string_view take_field(std::string_view& input) {
  const std::size_t nul = input.find('\0');
  const std::string_view field = input.substr(0, nul);
  input.remove_prefix(nul == std::string_view::npos ? input.size() : nul + 1);
  return field;
}

void check(bool condition) {
  if (!condition) __builtin_trap();
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// A name that, written into a line, reads back as itself: one line, and for a key nothing that
// makes the line a comment, a header or a different key.
bool plain_section(std::string_view s) { return s.find_first_of("\r\n]") == std::string_view::npos; }
bool plain_key(std::string_view k) {
  if (k.find_first_of("\r\n=") != std::string_view::npos) return false;
  const std::string_view t = trim(k);
  return t.empty() || (t.front() != ';' && t.front() != '[');
}

std::string expected_value(std::string_view v) {
  v = trim(v.substr(0, v.find_first_of("\r\n")));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view text = take_field(input);
  const std::string_view section = take_field(input);
  const std::string_view key = take_field(input);
  const std::string_view value = take_field(input);

  auto doc = tsn::ProfileDocument::parse(text);
  // Printing and parsing again is stable.
  const std::string printed = doc.text();
  check(tsn::ProfileDocument::parse(printed).text() == printed);

  const auto before = doc.get(section, key);
  const auto entries = doc.entries(section);
  check(!before || doc.has_section(section));
  check(entries.empty() || doc.has_section(section));

  doc.set(section, key, value);
  if (plain_section(section) && plain_key(key)) {
    check(doc.has_section(section));
    check(doc.get(section, key) == expected_value(value));
  }
  const std::string edited = doc.text();
  check(tsn::ProfileDocument::parse(edited).text() == edited);

  doc.erase_key(section, key);
  check(!doc.get(section, key));
  doc.erase_section(key);
  check(!doc.has_section(key));
  doc.erase_section(section);
  check(!doc.has_section(section));
  check(doc.entries(section).empty());
  const std::string erased = doc.text();
  check(tsn::ProfileDocument::parse(erased).text() == erased);
  return 0;
}
