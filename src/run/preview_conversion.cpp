// A conversion run quietly on a copy of the settings, into a preview.
#include "run/preview_conversion.h"

#include "platform/messages.h"
#include "run/conversion_counters.h"
#include "run/conversion_driver.h"

namespace tsn {

int preview_conversion(ConversionRequest request, const ConvState& cs, PreviewDrawing& drawing) {
  drawing.clear();
  // The conversion changes its settings as it goes (classes, name counters, the reset after
  // it): a copy keeps the window's as they are.
  ConvState copy = cs;
  request.kind = RequestKind::convert;
  request.output_path.clear();
  request.questions_asked = true;
  request.preview = &drawing;
  const QuietReports quiet;
  ConversionCounters counters;
  return run_conversion(request, copy, counters) == 0 ? 0 : -1;
}

}  // namespace tsn
