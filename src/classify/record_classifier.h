// The layer and colour of each record from its key values: the layer class's label (a record
// outside every layer class is not drawn) and the colour class's colour (a record outside every
// colour class takes a stand-by colour), with the counts of both kinds of outside records.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "classify/field_key.h"

namespace tsn {

enum class RecordClass { matched = 0, outside_layers = -1, outside_colours = -2 };

struct RecordClassifier {
  FieldKey layer;
  FieldKey colour;
  const std::array<std::uint8_t, 1024>* class_colours = nullptr;

  long layer_outside = 0;
  long colour_outside = 0;

  // Classifies the record begun in `table`. `layer_name` is set to the layer class's label
  // (class 0's when outside) and `colour_number` to the class colour or the stand-by colour,
  // each only when its key is active.
  RecordClass classify(TableReader& table, const std::string*& layer_name, int& colour_number);

  // A new file: the stand-by colours start again from class colour 0, the counts from 0.
  void start_file();

 private:
  bool outside_seen_ = false;
  std::size_t standby_ = 0;
  std::string last_outside_;
  std::string text_;  // scratch for the normalised value
};

}  // namespace tsn
