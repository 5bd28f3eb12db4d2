// The program's string table: every numbered user-visible text, with the "C%s" spelling
// completed for the user's language, and the few unnumbered system texts as constants.
#pragma once

#include <string>
#include <string_view>

namespace tsn {

// Spelling of "colour": index 0 "olour" (language "ENG"), 1 "olor" (any other language).
int spelling_index();
void set_spelling_index(int index);
// Derives the index from a language code such as the platform's "ENG" (case ignored).
int spelling_index_for_language(std::string_view language);
// The language code of the user's locale (LC_ALL, LC_MESSAGES, LANG): "ENG" for British
// English and for an unset or C locale, "ENU" for other English, else the two-letter code.
std::string locale_language();
std::string_view spelling_ending();  // "olour" or "olor"
// The text with every "C%s" and "c%s" completed with the current spelling ending: numbered
// messages and the few captions (such as "Single C%s") that are not numbered.
std::string complete_spelling(std::string_view text);

// The text of a numbered message, "C%s"/"c%s" completed, at most 255 characters;
// empty when the number is unknown.
std::string load_text(int id);
// "\n" followed by the text, at most 511 characters: one line of the status list.
std::string load_status_text(int id);
bool has_text(int id);

// Unnumbered texts the program writes.
inline constexpr std::string_view kProgramName = "Tessaryn";
inline constexpr std::string_view kProgramVersion = "3.2";
inline constexpr std::string_view kProgramBuild = "C.11";
inline constexpr std::string_view kTraceStart = "Start trace!!\n";
inline constexpr std::string_view kAllocError1 = "ALLOC ERR1\n";
inline constexpr std::string_view kCriticalErrorMark = "\n IN CritErrhandler";

}  // namespace tsn
