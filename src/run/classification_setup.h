// The keys of one conversion: which fields, their classes (built from the table, or loaded from
// legend range files), the class colours, and the legend drawn from them.
#pragma once

#include <string>

#include "classify/record_classifier.h"
#include "entities/legend_drawing.h"
#include "input/table_reader.h"
#include "run/command_line.h"
#include "settings/conv_settings.h"

namespace tsn {

// Builds the layer key (LayerByFeature) and the colour key (ColourMethod 2) of `table`, which
// may be null (no keys). Fields chosen by number in the request win; otherwise the defaults for
// the table. The classes become the settings' ranges, unless the request names legend range
// files, whose ranges then replace them. 0, or -1 after a message (a legend file that cannot be
// used).
int prepare_classification(RecordClassifier& classifier, TableReader* table,
                           const ConversionRequest& request, int shape_class, ConvSettings& s);

// The legend of a conversion: its colour classes, or one swatch of the single colour.
Legend legend_of(const RecordClassifier& classifier, const ConvSettings& s, TableReader& table,
                 const std::string& input_path, int shape_class, double xmin, double ymax);

}  // namespace tsn
