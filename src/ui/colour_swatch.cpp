// Colour cells, the colour picker and the swatch buttons.
#include "ui/colour_swatch.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

#include "settings/colour_palette.h"
#include "ui/dialog_widgets.h"

namespace tsn::ui {

QColor qcolour(int colour) {
  const Rgb rgb = colour_rgb(colour);
  return {rgb.r, rgb.g, rgb.b};
}

QIcon colour_icon(int colour) {
  QPixmap square(14, 14);
  square.fill(qcolour(colour));
  QPainter p(&square);
  p.setPen(Qt::black);
  p.drawRect(square.rect().adjusted(0, 0, -1, -1));
  return {square};
}

namespace {

// The extended colours 10..249: 24 hues of ten shades, a column per hue.
constexpr int kExtendedFirst = 10;
constexpr int kExtendedLast = 249;
constexpr int kShadesPerHue = 10;

}  // namespace

ColourCell::ColourCell(QWidget* parent, int colour) : QAbstractButton(parent), colour_(colour) {
  setToolTip(QString::number(colour));
  setObjectName(QString("colour_%1").arg(colour));
  setFocusPolicy(Qt::NoFocus);
}

void ColourCell::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), qcolour(colour_));
  p.setPen(isDown() ? Qt::white : Qt::black);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

ColourPicker::ColourPicker(QWidget* parent, int colour, HelpOpener help, int help_context)
    : OptionDialog(parent, spelled("C%ss"), help_context, DialogPlace::colour_picker,
                   std::move(help)),
      number_(new QLineEdit(QString::number(colour), this)),
      colour_(colour) {
  number_->setObjectName("colour_number");
  const auto grid_of = [this](const QString& caption, QGridLayout* grid) {
    body()->addWidget(new QLabel(caption, this));
    grid->setSpacing(2);
    body()->addLayout(grid);
  };
  const auto cell = [this](int c) {
    auto* b = new ColourCell(this, c);
    connect(b, &QAbstractButton::clicked, this, [this, c] { number_->setText(QString::number(c)); });
    return b;
  };
  auto* greys = new QGridLayout;
  for (int c = 250; c <= 255; ++c) greys->addWidget(cell(c), 0, c - 250);
  greys->setColumnStretch(6, 1);
  grid_of("Grey shades:", greys);
  auto* standard = new QGridLayout;
  for (int c = 1; c <= 9; ++c) standard->addWidget(cell(c), 0, c - 1);
  standard->setColumnStretch(9, 1);
  grid_of(spelled("Standard C%ss:"), standard);
  auto* extended = new QGridLayout;
  for (int c = kExtendedFirst; c <= kExtendedLast; ++c) {
    const int k = c - kExtendedFirst;
    extended->addWidget(cell(c), k % kShadesPerHue, k / kShadesPerHue);
  }
  grid_of(spelled("Extended C%ss:"), extended);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(spelled("C%s &No.:"), this);
  label->setBuddy(number_);
  row->addWidget(label);
  row->addWidget(number_);
  row->addStretch(1);
  body()->addLayout(row);
}

void ColourPicker::set_number_text(const QString& text) { number_->setText(text); }

bool ColourPicker::take_values() {
  bool ok = false;
  const int c = number_->text().trimmed().toInt(&ok);
  if (!ok || c < 1 || c > 255) {
    show_error("Col. No. out of range (1-255)");
    return false;
  }
  colour_ = c;
  return true;
}

ColourSwatch::ColourSwatch(QWidget* parent, int colour, HelpOpener help, int help_context)
    : QPushButton(parent), colour_(colour) {
  setMinimumSize(48, 22);
  set_colour(colour);
  connect(this, &QPushButton::clicked, this, [this, help, help_context] {
    ColourPicker picker(this, colour_, help, help_context);
    if (picker.exec() != QDialog::Accepted) return;
    set_colour(picker.colour());
    if (on_changed) on_changed(colour_);
  });
}

void ColourSwatch::set_colour(int colour) {
  colour_ = colour;
  setToolTip(QString::number(colour));
  update();
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  QPainter p(this);
  const QRect inner = rect().adjusted(5, 5, -5, -5);
  p.fillRect(inner, qcolour(colour_));
  p.setPen(Qt::black);
  p.drawRect(inner.adjusted(0, 0, -1, -1));
}

}  // namespace tsn::ui
