// The output path test shared by every writer.
#include "dxf/output_mode.h"

namespace tsn {

bool uses_text_path(const ConvSettings& s, bool merge_group_active) {
  return s.SaveFileType == 0 && (s.verDXF == 4 || s.verDXF == 6) && !merge_group_active;
}

bool r14_text_mode(const ConvSettings& s, bool merge_group_active) {
  return uses_text_path(s, merge_group_active) && s.verDXF == 6;
}

}  // namespace tsn
