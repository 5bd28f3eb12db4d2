// Per-record classification with stand-by colours for values outside the colour classes.
#include "classify/record_classifier.h"

#include "classify/layer_name.h"

namespace tsn {

RecordClass RecordClassifier::classify(TableReader& table, const std::string*& layer_name,
                                       int& colour_number) {
  RecordClass result = RecordClass::matched;
  if (layer.active) {
    int c = layer.class_of_record(table, text_);
    if (c < 0) {
      result = RecordClass::outside_layers;
      ++layer_outside;
      c = 0;
    }
    const auto i = static_cast<std::size_t>(c);
    layer_name = i < layer_names.size() ? &layer_names[i] : &layer.classes.classes[i].label;
  }
  if (colour.active && class_colours != nullptr) {
    const int c = colour.class_of_record(table, text_);
    if (c >= 0) {
      colour_number = (*class_colours)[static_cast<std::size_t>(c)];
    } else {
      if (result == RecordClass::matched) result = RecordClass::outside_colours;
      ++colour_outside;
      // Equal outside values keep one colour; each new one takes the next class colour.
      if (outside_seen_ && text_ != last_outside_) standby_ = (standby_ + 1) % class_colours->size();
      outside_seen_ = true;
      last_outside_ = text_;
      colour_number = (*class_colours)[standby_];
    }
  }
  return result;
}

void RecordClassifier::name_layers(int verDXF) {
  layer_names.clear();
  for (const KeyClass& c : layer.classes.classes) layer_names.push_back(make_layer_name(c.label, verDXF));
}

void RecordClassifier::start_file() {
  outside_seen_ = false;
  standby_ = 0;
  last_outside_.clear();
  layer_outside = 0;
  colour_outside = 0;
}

}  // namespace tsn
