// The main window's preview: the selected input drawn as the conversion will draw it, fitted
// to the pane and painted once into an image that repaints reuse.
#pragma once

#include <QImage>
#include <QWidget>

#include "preview/preview_drawing.h"

namespace tsn::ui {

class PreviewPane final : public QWidget {
 public:
  explicit PreviewPane(QWidget* parent);

  // Shows the drawing (taking it); an empty one shows "No preview".
  void show_drawing(PreviewDrawing drawing);
  void clear();
  const PreviewDrawing& drawing() const { return drawing_; }
  // The note shown over a drawing that left entities out; empty when it left none.
  QString note() const;

  QSize sizeHint() const override { return {360, 360}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PreviewDrawing drawing_;
  QImage image_;  // the drawing at the pane's size; null until painted again
};

}  // namespace tsn::ui
