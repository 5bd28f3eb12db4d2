// One key of a conversion (the layer key or the colour key): its field, the field's distinct
// values, the classes built from them, and the class of each record's value.
#pragma once

#include <string>

#include "classify/key_classes.h"
#include "input/table_reader.h"

namespace tsn {

struct FieldKey {
  bool active = false;        // a table, a usable field and at least one class
  int field = -1;
  bool outside_flag = false;  // values below their class's range are outside too
  int sort_method = 0;
  KeyValues values;
  ClassTable classes;
  bool ordered = false;  // the classes allow the faster lookup

  // Replaces the classes by ranges made elsewhere (a legend range file, say).
  void set_ranges(const RangeSet& ranges);

  // The class of the record begun in `table`, or -1 when its value lies in no class. `text`
  // receives the normalised value (valid until the table moves on).
  int class_of_record(TableReader& table, std::string_view& text) const;
};

// How one key is to be built.
struct KeyOptions {
  int field = -1;           // the key field
  ClassMethod method = ClassMethod::quantile;
  int requested = 5;        // classes asked for
  bool layer_key = false;   // labels become layer names of release verDXF
  int verDXF = 4;
  int sort_method = 0;
  bool outside_flag = false;
};

// Reads the field's values from every record of the table and builds the classes; `options.method`
// becomes the method used when Quantile replaces the one asked for. Leaves key.active false
// when the field does not exist or the table cannot be read. When `values` is given (the other
// key's values of the same field) the table is not read again.
void prepare_field_key(FieldKey& key, TableReader& table, KeyOptions& options,
                       const KeyValues* values = nullptr);

}  // namespace tsn
