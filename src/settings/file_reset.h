// Values derived before each input: the reset of per-file fields, the effective colour method
// and text heights from their ratios to the input's extent.
#pragma once

#include "settings/conv_settings.h"

namespace tsn {

// Length of the extent's diagonal; 0 when its square is below 1e-50.
double extent_diagonal(double xmin, double ymin, double xmax, double ymax);
// r >= 0: r times the extent (r itself for an extent up to 0.001); r < 0: -r.
double height_from_ratio(double ratio, double extent);
// 0 (one colour) or 2 (colour by classes) for the current input and class.
int effective_colour_method(const FileSettings& f, const InputInfo& input);
// Copies the one-colour switch and colour(s) of a shape class from `from` to `to`.
void copy_one_colour_keys(FileSettings& to, const FileSettings& from, int shape_cls);
// Restores the per-file fields that every input starts from and recomputes what derives
// from the input: field selections cleared, heights from ratios, colours and switches from
// the program values, the colour method, TIN off.
void reset_file_settings(ConvSettings& s, const InputInfo& input);

}  // namespace tsn
