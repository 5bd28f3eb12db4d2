// "Point Options" (markers, elevation, the TIN case and, for tables, the coordinate fields) and
// "Marker Definition" (the symbol that user-defined markers draw).
#pragma once

#include <vector>

#include "input/dbf_field.h"
#include "run/conv_state.h"
#include "ui/option_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tsn::ui {

class RealEdit;

// What the marker dialog edits, held by the point dialog until its OK.
struct MarkerChoice {
  int marker = 1;        // 1 plus, 2 circle, 5 solid circle, 4 character of a font
  int symbol = 42;       // the character code
  std::string style;
  double height = 3.5;
};

class MarkerDialog final : public OptionDialog {
 public:
  MarkerDialog(QWidget* parent, ConvSettings& s, const MarkerChoice& choice,
               HelpOpener help, int help_context);
  const MarkerChoice& choice() const { return choice_; }

 protected:
  bool take_values() override;

 private:
  MarkerChoice choice_;
  QRadioButton* kinds_[4];
  QLineEdit* symbol_;
  QComboBox* style_;
  RealEdit* height_;
};

// What the point dialog needs to know of the input.
struct PointInput {
  std::vector<dbf_field> fields;
  int shape_class = 0;
  bool table_input = false;  // a dBase or comma-delimited point table
  bool z_shapes = false;     // the shapes carry their own elevations
};

class PointOptionsDialog final : public OptionDialog {
 public:
  PointOptionsDialog(QWidget* parent, ConvSettings& s, const PointInput& input, HelpOpener help);

 protected:
  bool take_values() override;

 private:
  ConvSettings& s_;
  PointInput input_;
  MarkerChoice marker_;
  QRadioButton* dxf_points_;
  QRadioButton* markers_;
  QCheckBox* elevation_;
  QComboBox* elevation_key_;
  RealEdit* factor_;
  QCheckBox* labels_at_elevation_;
  QCheckBox* tin_;
  QComboBox* z_keys_[3];
  QComboBox* x_key_ = nullptr;
  QComboBox* y_key_ = nullptr;
  QCheckBox* polygons_ = nullptr;
  QCheckBox* raw_ = nullptr;
};

}  // namespace tsn::ui
