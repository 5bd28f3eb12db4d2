// The conversion of one input into a preview: the same driver, classification and entity
// code as a real conversion, its entities kept in memory instead of written to a file.
#pragma once

#include "preview/preview_drawing.h"
#include "run/command_line.h"
#include "run/conv_state.h"

namespace tsn {

// Converts the request's input (its output path is not used) into `drawing`, within the
// drawing's budget. Nothing is written to disk (no output, definition file, log or trace
// line), nothing is shown or asked (a question takes its default answer), and `cs` stays as
// it is: the conversion works on a copy. 0, or -1 when the conversion failed (the drawing is
// then empty).
int preview_conversion(ConversionRequest request, const ConvState& cs, PreviewDrawing& drawing);

}  // namespace tsn
