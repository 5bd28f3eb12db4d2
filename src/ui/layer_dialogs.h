// "Layers Control" (one layer, or a layer per class of a key field) and "Edit Range" (one class
// of a key: its label and its range).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "input/dbf_field.h"
#include "run/conv_state.h"
#include "run/interactive_session.h"
#include "ui/option_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace tsn::ui {

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
  QLineEdit* low_;
  QLineEdit* high_;
};

// The classes a key field, method and class count give for the input.
using LayerPreviewer = std::function<LayerKeyPreview(const std::string& field, int method,
                                                     int classes)>;

class LayersDialog final : public OptionDialog {
 public:
  LayersDialog(QWidget* parent, ConvSettings& s, const std::vector<dbf_field>& fields,
               LayerPreviewer preview, HelpOpener help);
  // Opens Edit Range on a class of the list (what a double click does).
  void edit_class(int row);
  // The count of classes asked for (what "No. Classes" sets).
  void set_class_count(int classes);

 protected:
  bool take_values() override;

 private:
  void refresh();
  void show_classes();

  ConvSettings& s_;
  LayerPreviewer preview_;
  HelpOpener help_;
  QRadioButton* single_;
  QRadioButton* by_feature_;
  QComboBox* layer_name_;
  QComboBox* key_;
  QRadioButton* methods_[3];
  QLabel* count_;
  QListWidget* classes_;
  QRadioButton* show_names_;
  QRadioButton* show_values_;
  QCheckBox* ignore_outside_;
  LayerKeyPreview shown_;
  int requested_ = 5;
  bool edited_ = false;
};

}  // namespace tsn::ui
