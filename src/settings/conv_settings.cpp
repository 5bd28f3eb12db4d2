// Small facts derived from the settings record and the current input.
#include "settings/conv_settings.h"

namespace tsn {

int release_index(const ConvSettings& s) {
  switch (s.verDXF) {
    case 6: return 1;
    case 7: return 2;
    default: return 0;
  }
}

bool is_z_shape_type(int shape_type) {
  return shape_type == 11 || shape_type == 13 || shape_type == 15 || shape_type == 18 ||
         shape_type == 31;
}

int shape_class(const InputInfo& input, const FileSettings& f) {
  if (input.input_file_type == 1) return 0;
  if (input.input_file_type == 2) return f.PointsArePolys ? 2 : 0;
  switch (input.shape_type) {
    case 3: case 13: case 23: return 1;
    case 5: case 15: case 25: case 31: return 2;
    default: return 0;
  }
}

bool attribute_output_active(const ConvSettings& s) {
  return (s.cur.Attribs & 1) != 0 && s.def.num_attrib_selected > 0;
}

}  // namespace tsn
