// The painted grid of a colour list.
#include "ui/colour_grid.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "settings/colour_palette.h"

namespace tsn::ui {

ColourGrid::ColourGrid(QWidget* parent, int columns, int cell_size)
    : QWidget(parent), columns_(std::max(1, columns)), cell_(std::max(4, cell_size)) {
  setFixedSize(sizeHint());
}

void ColourGrid::set_colours(std::vector<std::uint8_t> colours, int selected) {
  colours_ = std::move(colours);
  selected_ = selected >= 0 && selected < static_cast<int>(colours_.size()) ? selected : -1;
  setFixedSize(sizeHint());
  update();
}

int ColourGrid::rows() const {
  const int count = static_cast<int>(colours_.size());
  return std::max(1, (count + columns_ - 1) / columns_);
}

QSize ColourGrid::sizeHint() const { return {columns_ * cell_ + 1, rows() * cell_ + 1}; }

QRect ColourGrid::cell_rect(int entry) const {
  return {(entry % columns_) * cell_, (entry / columns_) * cell_, cell_, cell_};
}

int ColourGrid::entry_at(const QPoint& at) const {
  if (at.x() < 0 || at.y() < 0) return -1;
  const int column = at.x() / cell_;
  if (column >= columns_) return -1;
  const int entry = (at.y() / cell_) * columns_ + column;
  return entry < static_cast<int>(colours_.size()) ? entry : -1;
}

void ColourGrid::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (int i = 0; i < static_cast<int>(colours_.size()); ++i) {
    const Rgb rgb = colour_rgb(colours_[static_cast<std::size_t>(i)]);
    const QRect r = cell_rect(i);
    p.fillRect(r.adjusted(1, 1, 0, 0), QColor(rgb.r, rgb.g, rgb.b));
    p.setPen(Qt::gray);
    p.drawRect(r);
  }
  if (selected_ >= 0) {
    // Black and white together show on every colour.
    const QRect r = cell_rect(selected_);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(r.adjusted(1, 1, -1, -1));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(r.adjusted(3, 3, -3, -3));
  }
}

void ColourGrid::mousePressEvent(QMouseEvent* event) {
  const int entry = entry_at(event->position().toPoint());
  if (entry >= 0 && event->button() == Qt::LeftButton && clicked_) clicked_(entry);
}

void ColourGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const int entry = entry_at(event->position().toPoint());
  if (entry >= 0 && event->button() == Qt::LeftButton && double_clicked_) double_clicked_(entry);
}

}  // namespace tsn::ui
