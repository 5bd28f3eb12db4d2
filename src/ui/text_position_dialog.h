// "Text Position": where a label or attribute text stands on its shape: the anchor on the
// enclosing box, the vertical alignment, the justification and, for lines and polygons, how the
// text follows the shape.
#pragma once

#include "settings/conv_settings.h"
#include "ui/option_dialog.h"

class QCheckBox;
class QRadioButton;

namespace tsn::ui {

// What the dialog edits: one class's triple and that class's line and move choices.
struct TextPlacement {
  TextPosition position;
  int align = 0;       // lines: 1 along the line, 0 horizontal
  int move_close = 1;  // lines and polygons
};

class TextPositionDialog final : public OptionDialog {
 public:
  TextPositionDialog(QWidget* parent, const TextPlacement& placement, int shape_class,
                     HelpOpener help, int help_context);
  const TextPlacement& placement() const { return placement_; }

 protected:
  bool take_values() override;

 private:
  void caption_move();

  TextPlacement placement_;
  int shape_class_;
  QRadioButton* anchors_[9];
  QRadioButton* vertical_[3];
  QRadioButton* justify_[3];
  QRadioButton* horizontal_ = nullptr;
  QRadioButton* along_ = nullptr;
  QCheckBox* move_ = nullptr;
};

// The anchor codes in reading order: top left .. bottom right.
inline constexpr int kAnchorCodes[9] = {234, 235, 236, 237, 238, 194, 240, 241, 242};

}  // namespace tsn::ui
