// The dialogs of the texts that go with the shapes: "Text Labels", "Feature Attributes Filter",
// "Attribute Properties" and "Legend Properties".
#pragma once

#include <vector>

#include "input/dbf_field.h"
#include "run/conv_state.h"
#include "ui/option_dialog.h"
#include "ui/text_position_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace tsn::ui {

class ColourSwatch;
class RealEdit;

// The choices of a text style, height and pen that several dialogs share.
struct TextLook {
  QComboBox* style;
  RealEdit* height;
  ColourSwatch* pen;
};

// "Text Labels": the label fields in their order, style, height, pen, the label layer and the
// removal of identical overlapping labels.
class TextLabelsDialog final : public OptionDialog {
 public:
  TextLabelsDialog(QWidget* parent, ConvSettings& s, const std::vector<dbf_field>& fields,
                   int shape_class, HelpOpener help);
  // Moves the one highlighted field up (-1) or down (+1) in the label order.
  void move_selected(int step);

 protected:
  bool take_values() override;

 private:
  ConvSettings& s_;
  int shape_class_;
  TextPlacement placement_;
  QListWidget* fields_;
  TextLook look_;
  QRadioButton* same_layer_;
  QRadioButton* field_layers_;
  QRadioButton* single_layer_;
  QLineEdit* layer_name_;
  QCheckBox* eliminate_;
  RealEdit* overlap_;
};

// "Feature Attributes Filter": the fields to translate and their type.
class AttributesDialog final : public OptionDialog {
 public:
  AttributesDialog(QWidget* parent, ConvSettings& s, const std::vector<dbf_field>& fields,
                   int shape_class, HelpOpener help);

 protected:
  bool take_values() override;

 private:
  ConvSettings& s_;
  QListWidget* fields_;
  QRadioButton* normal_;
  QRadioButton* xdata_;
};

// "Attribute Properties": style, height, pen and visibility of block attributes.
class AttributePropertiesDialog final : public OptionDialog {
 public:
  AttributePropertiesDialog(QWidget* parent, ConvSettings& s, int shape_class, HelpOpener help);

 protected:
  bool take_values() override;

 private:
  ConvSettings& s_;
  int shape_class_;
  TextPlacement placement_;
  TextLook look_;
  QCheckBox* same_colour_;
  QCheckBox* visible_;
};

// "Legend Properties": style, height, pen and layer of the legend.
class LegendDialog final : public OptionDialog {
 public:
  LegendDialog(QWidget* parent, ConvSettings& s, HelpOpener help);

 protected:
  bool take_values() override;

 private:
  ConvSettings& s_;
  TextLook look_;
  QLineEdit* layer_;
};

}  // namespace tsn::ui
