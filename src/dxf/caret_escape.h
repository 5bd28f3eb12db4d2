// Caret notation for text values in DXF groups: a value never breaks the line structure.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tsn {

// True when the text holds a control character (0x00-0x1F) or a caret, so that it must be
// written escaped.
bool needs_caret_escape(std::string_view text);

// Appends `text` to `out` with every control character written as "^" followed by the
// character plus 64 (CR "^M", LF "^J", TAB "^I", NUL "^@") and every caret as "^ ", the way
// DXF readers decode them; other bytes are copied. At most `limit` characters are appended and
// an escape is never cut in two. Returns the number of characters appended.
std::size_t append_caret_escaped(std::string_view text, std::string& out,
                                 std::size_t limit = std::string::npos);

}  // namespace tsn
