// "Layers Control" (one layer, or a layer per class of a key field) and "Edit Range" (one class
// of a key: its label and its range).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "input/dbf_field.h"
#include "run/conv_state.h"
#include "run/interactive_session.h"
#include "ui/key_classes_panel.h"
#include "ui/option_dialog.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tsn::ui {

class RealEdit;

// "Edit Range": a class's label (its layer name for a layer class), low and high.
class EditRangeDialog final : public OptionDialog {
 public:
  EditRangeDialog(QWidget* parent, const KeyClass& range, NumberType type, bool layer_class,
                  int verDXF, HelpOpener help, int help_context);
  const KeyClass& range() const { return range_; }

 protected:
  bool take_values() override;

 private:
  KeyClass range_;
  NumberType type_;
  bool layer_class_;
  int verDXF_;
  QLineEdit* label_;
  RealEdit* low_;
  RealEdit* high_;
};


class LayersDialog final : public OptionDialog {
 public:
  LayersDialog(QWidget* parent, ConvSettings& s, const std::vector<dbf_field>& fields,
               KeyPreviewer preview, HelpOpener help);
  KeyClassesPanel& classes() { return *classes_; }

 protected:
  bool take_values() override;

 private:
  void refresh();

  ConvSettings& s_;
  QRadioButton* single_;
  QRadioButton* by_feature_;
  QComboBox* layer_name_;
  KeyClassesPanel* classes_;
};

}  // namespace tsn::ui
