// The layer and colour of each record from its key values: the layer class's label (a record
// outside every layer class is not drawn) and the colour class's colour (a record outside every
// colour class takes a stand-by colour), with the counts of both kinds of outside records.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "classify/field_key.h"

namespace tsn {

enum class RecordClass { matched = 0, outside_layers = -1, outside_colours = -2 };

struct RecordClassifier {
  FieldKey layer;
  FieldKey colour;
  // The layer key's class labels as layer names of the output release (see name_layers).
  std::vector<std::string> layer_names;
  const std::array<std::uint8_t, 1024>* class_colours = nullptr;

  long layer_outside = 0;
  long colour_outside = 0;

  // Classifies the record begun in `table`. `layer_name` is set to the layer class's label
  // (class 0's when outside) and `colour_number` to the class colour or the stand-by colour,
  // each only when its key is active.
  RecordClass classify(TableReader& table, const std::string*& layer_name, int& colour_number);

  // A new file: the stand-by colours start again from class colour 0, the counts from 0.
  void start_file();
  // Makes the layer names of the layer classes once, by the layer-name rule of verDXF.
  void name_layers(int verDXF);

 private:
  bool outside_seen_ = false;
  std::size_t standby_ = 0;
  std::string last_outside_;
  std::string_view text_;  // the normalised value of the record in hand
};

}  // namespace tsn
