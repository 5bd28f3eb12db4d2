// The text position dialog.
#include "ui/text_position_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tsn::ui {

namespace {

// A group box of radio buttons, exclusive among themselves only.
QGroupBox* choice_box(QWidget* parent, const QString& title, QLayout* layout,
                      std::initializer_list<QRadioButton*> buttons) {
  auto* box = new QGroupBox(title, parent);
  box->setLayout(layout);
  auto* group = new QButtonGroup(box);
  for (QRadioButton* b : buttons) group->addButton(b);
  return box;
}

}  // namespace

TextPositionDialog::TextPositionDialog(QWidget* parent, const TextPlacement& placement,
                                       int shape_class, HelpOpener help, int help_context)
    : OptionDialog(parent, "Text Position", help_context, DialogPlace::text_position,
                   std::move(help)),
      placement_(placement),
      shape_class_(shape_class) {
  auto* grid = new QGridLayout;
  for (int i = 0; i < 9; ++i) {
    anchors_[i] = new QRadioButton(this);
    anchors_[i]->setObjectName(QString("anchor_%1").arg(kAnchorCodes[i]));
    anchors_[i]->setChecked(placement.position.MinMaxPos == kAnchorCodes[i]);
    grid->addWidget(anchors_[i], i / 3, i % 3, Qt::AlignCenter);
    connect(anchors_[i], &QRadioButton::toggled, this, [this] { caption_move(); });
  }
  body()->addWidget(choice_box(this, "Position in the shape's enclosing box", grid,
                               {anchors_[0], anchors_[1], anchors_[2], anchors_[3], anchors_[4],
                                anchors_[5], anchors_[6], anchors_[7], anchors_[8]}));
  const char* vertical[3] = {"&Above", "&Middle", "&Below"};
  const char* justify[3] = {"&Left", "C&entre", "&Right"};
  auto* vertical_row = new QHBoxLayout;
  auto* justify_row = new QHBoxLayout;
  for (int i = 0; i < 3; ++i) {
    vertical_[i] = new QRadioButton(vertical[i], this);
    vertical_[i]->setObjectName(QString("vertical_%1").arg(i - 1));
    vertical_[i]->setChecked(placement.position.VerticalPos == i - 1);
    vertical_row->addWidget(vertical_[i]);
    justify_[i] = new QRadioButton(justify[i], this);
    justify_[i]->setObjectName(QString("justify_%1").arg(i));
    justify_[i]->setChecked(placement.position.AnnotJust == i);
    justify_row->addWidget(justify_[i]);
  }
  body()->addWidget(choice_box(this, "&Vertical Alignment", vertical_row,
                               {vertical_[0], vertical_[1], vertical_[2]}));
  body()->addWidget(
      choice_box(this, "Justification", justify_row, {justify_[0], justify_[1], justify_[2]}));
  if (shape_class == 1) {
    horizontal_ = new QRadioButton("Text Horizontal", this);
    along_ = new QRadioButton("Align text along Arc", this);
    along_->setObjectName("along");
    (placement.align != 0 ? along_ : horizontal_)->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(horizontal_);
    row->addWidget(along_);
    body()->addWidget(choice_box(this, "Lines", row, {horizontal_, along_}));
  }
  if (shape_class != 0) {
    move_ = new QCheckBox(this);
    move_->setObjectName("move_close");
    move_->setChecked(placement.move_close != 0);
    body()->addWidget(move_);
    caption_move();
  }
}

void TextPositionDialog::caption_move() {
  if (move_ == nullptr) return;
  if (shape_class_ == 1) {
    move_->setText("Move text next to the line");
  } else {
    // anchors_[4] is the centre of the box.
    move_->setText(anchors_[4]->isChecked() ? "Center text inside Polygon part"
                                            : "Move text next to Polygon edge");
  }
}

bool TextPositionDialog::take_values() {
  for (int i = 0; i < 9; ++i) {
    if (anchors_[i]->isChecked()) placement_.position.MinMaxPos = kAnchorCodes[i];
  }
  for (int i = 0; i < 3; ++i) {
    if (vertical_[i]->isChecked()) placement_.position.VerticalPos = i - 1;
    if (justify_[i]->isChecked()) placement_.position.AnnotJust = i;
  }
  if (along_ != nullptr) placement_.align = along_->isChecked() ? 1 : 0;
  if (move_ != nullptr) placement_.move_close = move_->isChecked() ? 1 : 0;
  return true;
}

}  // namespace tsn::ui
