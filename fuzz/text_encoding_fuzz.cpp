// Fuzz target for the text conversions: arbitrary bytes as a .cpg text, and as table text in
// UTF-8, GBK and Windows-1251 converted into code page 1252.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/text_encoding.h"

using tsn::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)tsn::encoding_of_cpg(text);
  (void)tsn::displayed_length(text);
  const bool utf8 = tsn::is_valid_utf8(text);
  for (const char* from : {"UTF-8", "CP936", "CP1251"}) {
    static tsn::TextTranscoder transcoders[3];
    tsn::TextTranscoder& t = transcoders[from[0] == 'U' ? 0 : from[2] == '9' ? 1 : 2];
    if (!t.is_open()) check(t.open(from, "CP1252"));
    std::string out;
    const long invalid = t.append(text, out);
    check(invalid >= 0 && static_cast<std::size_t>(invalid) <= size);
    // Valid UTF-8 has nothing to replace; every character takes at most an escape pair.
    if (from[0] == 'U' && utf8) check(invalid == 0);
    check(out.size() <= size * 14);
    if (tsn::is_ascii(text)) check(out == text);
  }
  return 0;
}
