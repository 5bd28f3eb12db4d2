// "Point Colours" (points and lines) and "Polygon Colours": one colour, or colours by the
// classes of a key field taken from a colour scheme, a ramp or picked class by class; for
// polygons also fill, outlines, the hatch pattern and its scale, and the edges of Z shapes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "input/dbf_field.h"
#include "run/conv_state.h"
#include "ui/key_classes_panel.h"
#include "ui/option_dialog.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace tsn::ui {

class ColourSwatch;
class RealEdit;

// What the colour dialogs know of the input.
struct ColourInput {
  std::vector<dbf_field> fields;
  InputInfo info;  // its type, shape type and extent (the proposed hatch scale)
};

class ColoursDialog final : public OptionDialog {
 public:
  ColoursDialog(QWidget* parent, ConvSettings& s, const ColourInput& input,
                KeyPreviewer preview, HelpOpener help);

  KeyClassesPanel& classes() { return *classes_; }
  // The colour of each class as the choices made so far give it.
  const std::array<std::uint8_t, kMaxColours>& class_colours() const {
    return work_.class_colours;
  }
  // A class's own colour: the classes then keep their colours as they stand, that one changed.
  void set_class_colour(int row, int colour);
  // Random colours for the classes, kept as the input's own colours.
  void random_colours();
  // Back to the program's scheme, without a ramp or colours of the input's own.
  void default_colours();

 protected:
  bool take_values() override;

 private:
  ColoursDialog(QWidget* parent, ConvSettings& s, const ColourInput& input, KeyPreviewer preview,
                HelpOpener help, bool polygon_dialog);
  bool polygons() const { return shape_class_ == 2; }
  void choose_scheme(int index);
  void recompute_colours();
  void update_enabled();
  // The classes' colours as they stand become the input's own list.
  void keep_own_colours();

  ConvSettings& s_;
  // The scheme, ramp and own colours chosen, and the classes shown: the class colours are
  // computed on it exactly as a conversion computes them.
  ConvSettings work_;
  InputInfo info_;
  int shape_class_;
  int shown_scheme_;
  QRadioButton* linked_;
  QRadioButton* single_;
  ColourSwatch* single_colour_;     // points and lines: the one colour; polygons: the fill's
  QCheckBox* one_outline_colour_ = nullptr;
  ColourSwatch* outline_colour_ = nullptr;
  KeyClassesPanel* classes_;
  QComboBox* scheme_;
  QCheckBox* ramp_;
  ColourSwatch* ramp_start_;
  ColourSwatch* ramp_end_;
  QCheckBox* fill_ = nullptr;
  QCheckBox* outlines_ = nullptr;
  QComboBox* hatch_ = nullptr;
  RealEdit* hatch_scale_ = nullptr;
  QCheckBox* draw_edges_ = nullptr;
  QCheckBox* hide_joins_ = nullptr;
};

}  // namespace tsn::ui
