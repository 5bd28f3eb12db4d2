// Building a key's classes from its field and looking records up in them.
#include "classify/field_key.h"

namespace tsn {

int FieldKey::class_of_record(TableReader& table, std::string_view& text) const {
  const dbf_field& f = table.fields()[static_cast<std::size_t>(field)];
  bool blank = false;
  text = normalise_key_text(table.read_field(field), f, blank);
  const double number = values.numeric ? field_value_number(text) : 0.0;
  return class_of_value(classes, text, number, outside_flag, sort_method, ordered);
}

void FieldKey::set_ranges(const RangeSet& ranges) {
  static_cast<RangeSet&>(classes) = ranges;
  classes.value_class.clear();  // lookups go through the ranges
  ordered = ranges_ordered(classes, sort_method);
}

void prepare_field_key(FieldKey& key, TableReader& table, KeyOptions& options,
                       const KeyValues* values) {
  key = FieldKey{};
  if (options.field < 0 || options.field >= static_cast<int>(table.fields().size())) return;
  key.field = options.field;
  key.outside_flag = options.outside_flag;
  key.sort_method = options.sort_method;
  if (values != nullptr) {
    key.values = *values;
  } else if (load_key_values(table, key.field, options.sort_method, key.values) < 0) {
    return;
  }
  if (key.values.values.empty()) return;
  key.active = create_classes(key.values, options.method, options.requested, options.layer_key,
                              options.verDXF, key.classes) > 0;
  key.ordered = ranges_ordered(key.classes, key.sort_method);
}

}  // namespace tsn
