// A list of colour numbers painted as a grid of cells, one row of a fixed number of cells after
// another, with the selected entry framed; clicks tell the entry under the mouse.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

namespace tsn::ui {

class ColourGrid final : public QWidget {
 public:
  ColourGrid(QWidget* parent, int columns, int cell_size);

  // The colours shown and the entry framed (-1: none); the grid takes the size they need.
  void set_colours(std::vector<std::uint8_t> colours, int selected = -1);
  const std::vector<std::uint8_t>& colours() const { return colours_; }
  int selected() const { return selected_; }
  int columns() const { return columns_; }
  int rows() const;

  QRect cell_rect(int entry) const;
  // The entry under a point of the widget, or -1.
  int entry_at(const QPoint& at) const;

  void on_click(std::function<void(int)> action) { clicked_ = std::move(action); }
  void on_double_click(std::function<void(int)> action) { double_clicked_ = std::move(action); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  int columns_;
  int cell_;
  std::vector<std::uint8_t> colours_;
  int selected_ = -1;
  std::function<void(int)> clicked_;
  std::function<void(int)> double_clicked_;
};

}  // namespace tsn::ui
