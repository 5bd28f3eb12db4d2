// The layer key of one conversion: the classes of its field's values, and the layer of each
// record from its value (records outside every class are not drawn).
#pragma once

#include <string>
#include <vector>

#include "classify/key_classes.h"
#include "input/table_reader.h"
#include "settings/conv_settings.h"

namespace tsn {

struct LayerKey {
  bool active = false;  // layers by feature, with a table and a usable field
  int field = -1;
  bool outside_flag = false;  // IgnoreLayRangeEnts: values below a class are outside too
  int sort_method = 0;
  KeyValues values;
  ClassTable classes;

  // The layer of the record begun in `table`: its class's label, or nullptr when the value
  // lies in no class.
  const std::string* layer_of(TableReader& table) const;
};

// Builds the layer key when LayerByFeature is on and a table is open: the field numbered
// `chosen_field` when it is 0 or more, else the one named LayersKey (which then names the field
// used). Classes by the method and count of the settings (the method is written back when
// Quantile replaces it); labels follow the layer-name rule of verDXF; values compare by
// SortMethod. Leaves key.active false when there is nothing to classify.
void prepare_layer_key(LayerKey& key, TableReader* table, int chosen_field, ConvSettings& s);

}  // namespace tsn
