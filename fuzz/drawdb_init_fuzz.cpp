// Fuzz target for the drawing database's initialisation file parser: arbitrary bytes as the
// file, checking that an accepted file gave defaults within the parser's caps.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "drawdb/init_file.h"
#include "fuzz_support.h"

using tsn::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  tsn::InitDefaults out;
  int bad_line = -1;
  const bool ok = tsn::parse_init_text(text, out, &bad_line);
  if (!ok) {
    check(bad_line >= 0);
    return 0;
  }
  check(bad_line == 0);
  check(size <= tsn::kInitMaxBytes);
  check(out.linetypes.size() <= tsn::kInitMaxLinetypes);
  for (const tsn::InitLinetype& lt : out.linetypes) {
    check(!lt.name.empty() && lt.name.size() <= 255);
    check(lt.dashes.size() <= tsn::kInitMaxDashes);
    for (const double dash : lt.dashes) check(std::isfinite(dash));
  }
  const tsn::DbStyle& s = out.standard_style;
  check(!s.name.empty() && s.name.size() <= 255 && !s.font.empty());
  check(std::isfinite(s.height) && s.height >= 0.0 && s.width_factor > 0.0);
  check(std::isfinite(out.header.ltscale) && std::isfinite(out.header.extmin[0]));
  return 0;
}
