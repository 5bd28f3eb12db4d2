// Layer classes of a conversion and the layer of each record.
#include "classify/layer_key.h"

#include <algorithm>

namespace tsn {

const std::string* LayerKey::layer_of(TableReader& table) const {
  const dbf_field& f = table.fields()[static_cast<std::size_t>(field)];
  bool blank = false;
  const std::string text = normalise_key_text(table.read_field(field), f, blank);
  const double number = values.numeric ? field_value_number(text) : 0.0;
  const int c = class_of_value(classes, text, number, outside_flag, sort_method);
  return c < 0 ? nullptr : &classes.classes[static_cast<std::size_t>(c)].label;
}

void prepare_layer_key(LayerKey& key, TableReader* table, int chosen_field, ConvSettings& s) {
  FileSettings& cur = s.cur;
  const int sort_method = s.SortMethod;
  key = LayerKey{};
  if (cur.LayerByFeature == 0 || table == nullptr) return;
  const int count = static_cast<int>(table->fields().size());
  key.field = chosen_field >= 0 ? chosen_field : find_field(table->fields(), s.def.LayersKey);
  if (key.field < 0 || key.field >= count) return;
  key.outside_flag = cur.IgnoreLayRangeEnts != 0;
  key.sort_method = sort_method;
  if (load_key_values(*table, key.field, sort_method, key.values) <= 0) return;
  auto method = static_cast<ClassMethod>(std::clamp(cur.ClassTypeLayer, 0, 2));
  if (create_classes(key.values, method, cur.NumClassesLayer, true, s.verDXF, key.classes) <= 0) {
    return;
  }
  cur.ClassTypeLayer = static_cast<int>(method);
  s.def.LayersKey = table->fields()[static_cast<std::size_t>(key.field)].name;
  key.active = true;
}

}  // namespace tsn
