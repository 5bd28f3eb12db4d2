// Text encodings: the names that .cpg files, dBase language bytes and drawing code pages give,
// and the conversion of a table's text into the drawing's code page, with \U+XXXX for the
// characters the code page lacks.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>
#include <unordered_map>

namespace tsn {

// The iconv name of the encoding a .cpg file names ("UTF-8", "utf8", "65001", "ISO-8859-1",
// "88591", "1252", "ANSI 1252", "CP1251", "936", "GBK", ...), blanks and line ends around it
// ignored; empty when the text names nothing known (an HTML page, say).
std::string encoding_of_cpg(std::string_view text);

// The iconv name of the code page of a dBase language driver byte (0x57 -> "CP1252",
// 0x4D -> "CP936"); empty for 0 and bytes that name no code page. The name may be one this
// system's iconv lacks (0x69, Mazovia): encoding_available says.
std::string encoding_of_language_byte(unsigned char language_byte);

// The iconv name of a drawing code page ("ANSI_1252" -> "CP1252"); empty when unknown.
std::string encoding_of_drawing_code_page(std::string_view code_page);

// The iconv name for a name the user gives (/ENC=name): the .cpg spellings, then any name
// iconv itself knows; empty when neither knows it.
std::string encoding_of_user_name(std::string_view name);

// Whether iconv can convert from this encoding to UTF-32.
bool encoding_available(const std::string& iconv_name);

bool is_valid_utf8(std::string_view text);
// The length of `at`'s escape when the text there is "\U+XXXX" (four hex digits), else 0.
std::size_t unicode_escape_length(std::string_view text, std::size_t at);
// Characters of a text in a drawing: an escape "\U+XXXX" is one.
std::size_t displayed_length(std::string_view text);
// Bytes of the first n characters of a text, counted as displayed_length counts them.
std::size_t characters_prefix(std::string_view text, std::size_t n);

// The longest prefix of at most `limit` bytes that does not cut an escape "\U+XXXX" in two.
std::size_t escape_safe_length(std::string_view text, std::size_t limit);
// Orders texts by their characters: bytes by their value, an escape "\U+XXXX" by its code
// point (above every byte); each unit compared through `fold` (a case fold, say). -1, 0, 1.
int compare_escaped(std::string_view a, std::string_view b, char (*fold)(char));

// True when no byte of the text is above 0x7F (eight bytes at a time).
bool is_ascii(std::string_view text);

// Converts text from a table's encoding into a drawing code page. A byte sequence that is not
// valid in the source becomes U+FFFD (counted); a character the code page cannot hold is
// written as \U+XXXX (above U+FFFF as the escapes of its two surrogates). Text of ASCII bytes
// only is copied as it is.
class TextTranscoder {
 public:
  TextTranscoder() = default;
  ~TextTranscoder();
  TextTranscoder(const TextTranscoder&) = delete;
  TextTranscoder& operator=(const TextTranscoder&) = delete;

  // False when iconv lacks either encoding (nothing is opened then).
  bool open(const std::string& from, const std::string& to);
  bool is_open() const { return decode_ != kClosed; }

  // Appends the converted text to `out`; the number of invalid sequences replaced.
  long append(std::string_view in, std::string& out);

 private:
  static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
  void append_code_point(char32_t c, std::string& out);
  // UTF-8 is decoded here rather than by iconv: it is the common case and the faster way.
  long append_utf8(std::string_view in, std::string& out);
  void close();

  iconv_t decode_ = kClosed;  // source -> UTF-32LE
  iconv_t encode_ = kClosed;  // UTF-32LE -> code page
  bool utf8_source_ = false;
  std::u32string code_points_;
  std::unordered_map<char32_t, std::string> encoded_;  // characters met before, as written
};

}  // namespace tsn
