// Encoding names of .cpg files, language bytes and drawing code pages, and the conversion of
// table text into a drawing code page.
#include "platform/text_encoding.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

namespace tsn {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::size_t kMaxRemembered = 1 << 14;  // characters whose code page form is kept

std::string upper_trimmed(std::string_view text) {
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
  };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool all_digits(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool drop_prefix(std::string_view& s, std::string_view prefix) {
  if (s.substr(0, prefix.size()) != prefix) return false;
  s.remove_prefix(prefix.size());
  return true;
}

// Windows and DOS code page numbers, as the CP names iconv knows them by.
std::optional<std::string> code_page_number(std::string_view digits) {
  static constexpr std::string_view kKnown[] = {
      "437", "737", "775", "850", "852", "855", "857", "860", "861", "862", "863", "864",
      "865", "866", "869", "874", "932", "936", "949", "950", "1250", "1251", "1252",
      "1253", "1254", "1255", "1256", "1257", "1258"};
  for (const std::string_view k : kKnown) {
    if (digits == k) return "CP" + std::string(digits);
  }
  return std::nullopt;
}

// One character of UTF-8 at i (a byte above 0x7F): its code point and length. False when the
// bytes there are no whole valid character; `length` is then the longest start of one that
// they make (at least 1), which stands for one replacement character.
bool next_utf8(std::string_view text, std::size_t i, char32_t& c, std::size_t& length) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b = byte(i);
  std::size_t need = 0;
  unsigned char lo = 0x80;
  unsigned char hi = 0xBF;  // the allowed range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    need = 1;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    need = 2;
    c = b & 0x0F;
    if (b == 0xE0) lo = 0xA0;  // no overlong forms
    if (b == 0xED) hi = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    need = 3;
    c = b & 0x07;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;  // nothing beyond U+10FFFF
  }
  std::size_t got = 0;
  while (got < need && i + 1 + got < text.size()) {
    const unsigned char f = byte(i + 1 + got);
    if (f < (got == 0 ? lo : 0x80) || f > (got == 0 ? hi : 0xBF)) break;
    c = (c << 6) | (f & 0x3F);
    ++got;
  }
  length = 1 + got;
  return need > 0 && got == need;
}

}  // namespace

std::string encoding_of_cpg(std::string_view text) {
  const std::string name = upper_trimmed(text);
  std::string_view s = name;
  if (s == "UTF-8" || s == "UTF8" || s == "65001") return "UTF-8";
  if (s == "GBK" || s == "GB2312" || s == "CP936" || s == "EUC-CN") return "CP936";
  if (s == "GB18030" || s == "54936") return "GB18030";
  if (s == "BIG5" || s == "BIG-5") return "CP950";
  if (s == "SJIS" || s == "SHIFT_JIS" || s == "SHIFT-JIS") return "CP932";
  if (s == "EUC-KR" || s == "KS_C_5601-1987") return "CP949";
  if (s == "KOI8-R" || s == "20866") return "KOI8-R";
  if (s == "LATIN1" || s == "28591") return "ISO-8859-1";
  // ISO-8859-n in its spellings: "ISO-8859-1", "ISO8859-1", "ISO 88591", "88591", "8859-1".
  std::string_view iso = s;
  const bool iso_prefix = drop_prefix(iso, "ISO-") || drop_prefix(iso, "ISO_") ||
                          drop_prefix(iso, "ISO ") || drop_prefix(iso, "ISO");
  if (drop_prefix(iso, "8859")) {
    if (!iso.empty() && (iso.front() == '-' || iso.front() == '_')) iso.remove_prefix(1);
    // Parts 1 to 16; there is no part 12.
    if (all_digits(iso) && iso.size() <= 2) {
      const int part = std::stoi(std::string(iso));
      if (part >= 1 && part <= 16 && part != 12) return "ISO-8859-" + std::to_string(part);
    }
    return {};
  }
  if (iso_prefix) return {};
  // Windows and DOS code pages: "1252", "ANSI 1252", "ANSI_1252", "CP1252", "WINDOWS-1252".
  std::string_view cp = s;
  (void)(drop_prefix(cp, "ANSI ") || drop_prefix(cp, "ANSI_") || drop_prefix(cp, "ANSI") ||
         drop_prefix(cp, "WINDOWS-") || drop_prefix(cp, "CP") || drop_prefix(cp, "OEM ") ||
         drop_prefix(cp, "DOS"));
  if (all_digits(cp)) return code_page_number(cp).value_or("");
  return {};
}

std::string encoding_of_language_byte(unsigned char language_byte) {
  struct Entry {
    unsigned char byte;
    const char* name;
  };
  // The language driver ids that dBase, FoxPro and ArcGIS write.
  static constexpr Entry kTable[] = {
      {0x01, "CP437"}, {0x02, "CP850"}, {0x03, "CP1252"}, {0x04, "MACINTOSH"},
      {0x08, "CP865"}, {0x09, "CP437"}, {0x0A, "CP850"},  {0x0B, "CP437"},
      {0x0D, "CP437"}, {0x0E, "CP850"}, {0x0F, "CP437"},  {0x10, "CP850"},
      {0x11, "CP437"}, {0x12, "CP850"}, {0x13, "CP932"},  {0x14, "CP850"},
      {0x15, "CP437"}, {0x16, "CP850"}, {0x17, "CP865"},  {0x18, "CP437"},
      {0x19, "CP437"}, {0x1A, "CP850"}, {0x1B, "CP437"},  {0x1C, "CP863"},
      {0x1D, "CP850"}, {0x1F, "CP852"}, {0x22, "CP852"},  {0x23, "CP852"},
      {0x24, "CP860"}, {0x25, "CP850"}, {0x26, "CP866"},  {0x37, "CP850"},
      {0x40, "CP852"}, {0x4D, "CP936"}, {0x4E, "CP949"},  {0x4F, "CP950"},
      {0x50, "CP874"}, {0x57, "CP1252"}, {0x58, "CP1252"}, {0x59, "CP1252"},
      {0x64, "CP852"}, {0x65, "CP866"}, {0x66, "CP865"},  {0x67, "CP861"},
      {0x68, "CP895"}, {0x69, "CP620"}, {0x6A, "CP737"},  {0x6B, "CP857"},
      {0x6C, "CP863"}, {0x78, "CP950"}, {0x79, "CP949"},  {0x7A, "CP936"},
      {0x7B, "CP932"}, {0x7C, "CP874"}, {0x7D, "CP1255"}, {0x7E, "CP1256"},
      {0x86, "CP737"}, {0x87, "CP852"}, {0x88, "CP857"},  {0x96, "MAC-CYRILLIC"},
      {0x97, "MACCENTRALEUROPE"}, {0x98, "MACGREEK"}, {0xC8, "CP1250"}, {0xC9, "CP1251"},
      {0xCA, "CP1254"}, {0xCB, "CP1253"}, {0xCC, "CP1257"}};
  for (const Entry& e : kTable) {
    if (e.byte == language_byte) return e.name;
  }
  return {};
}

std::string encoding_of_drawing_code_page(std::string_view code_page) {
  const std::string name = upper_trimmed(code_page);
  std::string_view s = name;
  if (drop_prefix(s, "ANSI_") || drop_prefix(s, "DOS")) return code_page_number(s).value_or("");
  return {};
}

std::string encoding_of_user_name(std::string_view name) {
  std::string known = encoding_of_cpg(name);
  if (!known.empty()) return known;
  known = upper_trimmed(name);
  return !known.empty() && encoding_available(known) ? known : std::string();
}

bool encoding_available(const std::string& iconv_name) {
  if (iconv_name.empty()) return false;
  const iconv_t cd = iconv_open("UTF-32LE", iconv_name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

std::size_t unicode_escape_length(std::string_view text, std::size_t at) {
  constexpr std::size_t kLength = 7;
  if (text.size() - at < kLength || text.compare(at, 3, "\\U+") != 0) return 0;
  for (std::size_t k = at + 3; k < at + kLength; ++k) {
    const char c = text[k];
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (!hex) return 0;
  }
  return kLength;
}

std::size_t displayed_length(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++n) {
    const std::size_t escape = text[i] == '\\' ? unicode_escape_length(text, i) : 0;
    i += escape > 0 ? escape : 1;
  }
  return n;
}

std::size_t escape_safe_length(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  // An escape is 7 bytes: one that begins within the 6 bytes before the limit would be cut.
  for (std::size_t back = 1; back < 7 && back <= limit; ++back) {
    const std::size_t at = limit - back;
    if (text[at] == '\\' && unicode_escape_length(text, at) > 0) return at;
  }
  return limit;
}

int compare_escaped(std::string_view a, std::string_view b, char (*fold)(char)) {
  // One unit of a text at i: its order key and its length.
  const auto unit = [fold](std::string_view t, std::size_t i, std::size_t& length) {
    length = t[i] == '\\' ? unicode_escape_length(t, i) : 0;
    if (length == 0) {
      length = 1;
      return static_cast<std::uint32_t>(static_cast<unsigned char>(fold(t[i])));
    }
    return 0x100u + static_cast<std::uint32_t>(std::stoul(std::string(t.substr(i + 3, 4)),
                                                          nullptr, 16));
  };
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    std::size_t la = 0;
    std::size_t lb = 0;
    const std::uint32_t x = unit(a, i, la);
    const std::uint32_t y = unit(b, j, lb);
    if (x != y) return x < y ? -1 : 1;
    i += la;
    j += lb;
  }
  if (i < a.size()) return 1;
  return j < b.size() ? -1 : 0;
}

std::size_t characters_prefix(std::string_view text, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t chars = 0; i < text.size() && chars < n; ++chars) {
    const std::size_t escape = text[i] == '\\' ? unicode_escape_length(text, i) : 0;
    i += escape > 0 ? escape : 1;
  }
  return i;
}

bool is_ascii(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t w = 0;
    std::memcpy(&w, text.data() + i, sizeof w);
    if ((w & kHighBits) != 0) return false;
  }
  for (; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  }
  return true;
}

bool is_valid_utf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t c = 0;
    std::size_t length = 0;
    if (!next_utf8(text, i, c, length)) return false;
    i += length;
  }
  return true;
}

TextTranscoder::~TextTranscoder() { close(); }

void TextTranscoder::close() {
  if (decode_ != kClosed) iconv_close(decode_);
  if (encode_ != kClosed) iconv_close(encode_);
  decode_ = encode_ = kClosed;
  encoded_.clear();
}

bool TextTranscoder::open(const std::string& from, const std::string& to) {
  close();
  decode_ = iconv_open("UTF-32LE", from.c_str());
  encode_ = iconv_open(to.c_str(), "UTF-32LE");
  utf8_source_ = from == "UTF-8";
  if (decode_ != kClosed && encode_ != kClosed) return true;
  close();
  return false;
}

void TextTranscoder::append_code_point(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  auto found = encoded_.find(c);
  if (found == encoded_.end()) {
    std::string written;
    char in_bytes[4] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
                        static_cast<char>((c >> 16) & 0xFF), static_cast<char>(c >> 24)};
    char out_bytes[16];
    char* in = in_bytes;
    std::size_t in_left = sizeof in_bytes;
    char* to = out_bytes;
    std::size_t out_left = sizeof out_bytes;
    iconv(encode_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(encode_, &in, &in_left, &to, &out_left) != static_cast<std::size_t>(-1) &&
        iconv(encode_, nullptr, nullptr, &to, &out_left) != static_cast<std::size_t>(-1)) {
      written.assign(out_bytes, static_cast<std::size_t>(to - out_bytes));
    } else {
      // Characters beyond the basic plane are written as the escapes of their surrogates.
      char escape[32];
      if (c > 0xFFFF) {
        const char32_t v = c - 0x10000;
        std::snprintf(escape, sizeof escape, "\\U+%04X\\U+%04X",
                      static_cast<unsigned>(0xD800 + (v >> 10)),
                      static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
      } else {
        std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(c));
      }
      written = escape;
    }
    // Text of many scripts would grow the memo without bound: it starts afresh at a limit.
    if (encoded_.size() >= kMaxRemembered) encoded_.clear();
    found = encoded_.emplace(c, std::move(written)).first;
  }
  out += found->second;
}

long TextTranscoder::append_utf8(std::string_view in, std::string& out) {
  long invalid = 0;
  std::size_t i = 0;
  const std::size_t n = in.size();
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(in[k]); };
  while (i < n) {
    // Runs of ASCII go through as they are.
    std::size_t run = i;
    while (run < n && byte(run) < 0x80) ++run;
    out.append(in.data() + i, run - i);
    i = run;
    if (i >= n) break;
    char32_t c = 0;
    std::size_t length = 0;
    if (next_utf8(in, i, c, length)) {
      append_code_point(c, out);
    } else {
      ++invalid;
      append_code_point(kReplacement, out);
    }
    i += length;
  }
  return invalid;
}

long TextTranscoder::append(std::string_view in, std::string& out) {
  if (!is_open()) {
    out.append(in);
    return 0;
  }
  if (utf8_source_) return append_utf8(in, out);
  if (is_ascii(in)) {
    out.append(in);
    return 0;
  }
  // Decode into UTF-32 in one pass, replacing what the source does not allow.
  code_points_.assign(in.size() + 1, U'\0');
  char* src = const_cast<char*>(in.data());  // iconv does not write through its input
  std::size_t src_left = in.size();
  char* dst = reinterpret_cast<char*>(code_points_.data());
  std::size_t dst_left = code_points_.size() * sizeof(char32_t);
  long invalid = 0;
  iconv(decode_, nullptr, nullptr, nullptr, nullptr);
  while (src_left > 0) {
    if (iconv(decode_, &src, &src_left, &dst, &dst_left) != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) break;  // cannot happen: one code point per byte at most
    // EILSEQ: a byte that starts no valid sequence; EINVAL: a sequence cut by the end.
    ++invalid;
    const char32_t r = kReplacement;
    std::memcpy(dst, &r, sizeof r);
    dst += sizeof r;
    dst_left -= sizeof r;
    if (errno == EINVAL) break;
    ++src;
    --src_left;
    iconv(decode_, nullptr, nullptr, nullptr, nullptr);
  }
  const auto count = static_cast<std::size_t>(dst - reinterpret_cast<char*>(code_points_.data())) /
                     sizeof(char32_t);
  for (std::size_t i = 0; i < count; ++i) append_code_point(code_points_[i], out);
  return invalid;
}

}  // namespace tsn
