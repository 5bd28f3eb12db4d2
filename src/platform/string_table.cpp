// The numbered message texts, looked up by number, and the "colour"/"color" spelling.
#include "platform/string_table.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace tsn {
namespace {

struct MessageText {
  int id;
  std::string_view text;
};

constexpr MessageText kMessageTexts[] = {
#include "platform/message_texts.inc"
};

constexpr bool strictly_ascending(const MessageText* first, const MessageText* last) {
  for (const MessageText* p = first; p != last && p + 1 != last; ++p) {
    if (!(p->id < (p + 1)->id)) return false;
  }
  return true;
}
// The lookup is a binary search: the table must stay sorted and free of duplicates.
static_assert(strictly_ascending(std::begin(kMessageTexts), std::end(kMessageTexts)),
              "message_texts.inc must be sorted by number without duplicates");

constexpr std::size_t kMaxTextChars = 255;
constexpr std::size_t kMaxStatusTextChars = 511;  // including the leading "\n"

constexpr std::string_view kSpellingEndings[] = {"olour", "olor"};

int g_spelling_index = 0;

const MessageText* find_text(int id) {
  const auto* it = std::lower_bound(std::begin(kMessageTexts), std::end(kMessageTexts), id,
                                    [](const MessageText& m, int wanted) { return m.id < wanted; });
  if (it == std::end(kMessageTexts) || it->id != id) return nullptr;
  return it;
}

char upper_ascii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (upper_ascii(text[i]) != upper_ascii(prefix[i])) return false;
  }
  return true;
}

std::string_view environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view{} : std::string_view{value};
}

}  // namespace

int spelling_index() { return g_spelling_index; }

void set_spelling_index(int index) { g_spelling_index = index == 0 ? 0 : 1; }

int spelling_index_for_language(std::string_view language) {
  return (language.size() == 3 && starts_with_ignoring_case(language, "ENG")) ? 0 : 1;
}

std::string locale_language() {
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = environment(name);
    if (!locale.empty()) break;
  }
  if (locale.empty() || locale == "C" || locale == "POSIX" || locale.substr(0, 2) == "C.") {
    return "ENG";
  }
  if (starts_with_ignoring_case(locale, "en_GB")) return "ENG";
  if (starts_with_ignoring_case(locale, "en")) return "ENU";
  std::string language;
  for (char c : locale.substr(0, 2)) language += upper_ascii(c);
  return language;
}

std::string_view spelling_ending() { return kSpellingEndings[g_spelling_index == 0 ? 0 : 1]; }

std::string complete_spelling(std::string_view text) {
  const std::string_view ending = spelling_ending();
  std::string result;
  result.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c == 'C' || c == 'c') && text.substr(i + 1, 2) == "%s") {
      result += c;
      result += ending;
      i += 2;
    } else {
      result += c;
    }
  }
  return result;
}

std::string load_text(int id) {
  const MessageText* entry = find_text(id);
  if (entry == nullptr) return {};
  std::string text = complete_spelling(entry->text);
  if (text.size() > kMaxTextChars) text.resize(kMaxTextChars);
  return text;
}

std::string load_status_text(int id) {
  std::string line = "\n";
  if (const MessageText* entry = find_text(id)) line += complete_spelling(entry->text);
  if (line.size() > kMaxStatusTextChars) line.resize(kMaxStatusTextChars);
  return line;
}

bool has_text(int id) { return find_text(id) != nullptr; }

}  // namespace tsn
