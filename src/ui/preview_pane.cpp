// The preview pane: the cached image, or "No preview", and a note when entities were left out.
#include "ui/preview_pane.h"

#include <QPainter>

#include "ui/preview_painter.h"

namespace tsn::ui {

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
  setObjectName("preview");
  setMinimumSize(160, 160);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip("The selected input as the conversion will draw it");
}

void PreviewPane::show_drawing(PreviewDrawing drawing) {
  drawing_ = std::move(drawing);
  image_ = QImage();
  update();
}

void PreviewPane::clear() { show_drawing(PreviewDrawing{}); }

QString PreviewPane::note() const {
  if (drawing_.left_out == 0) return {};
  return QString("Too large to preview in full: %1 of %2 entities left out")
      .arg(drawing_.left_out)
      .arg(drawing_.entities);
}

void PreviewPane::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (drawing_.empty()) {
    p.fillRect(rect(), kPreviewBackground);
    p.setPen(QColor(200, 200, 200));
    p.drawText(rect(), Qt::AlignCenter, "No preview");
    return;
  }
  // A pane of another size fits the drawing again.
  if (image_.isNull() || image_.size() != size() * devicePixelRatioF()) {
    image_ = paint_preview(drawing_, size(), devicePixelRatioF());
  }
  p.drawImage(QPoint(0, 0), image_);
  const QString text = note();
  if (text.isEmpty()) return;
  const QRect box = p.fontMetrics().boundingRect(rect().adjusted(6, 6, -6, -6),
                                                 Qt::AlignLeft | Qt::TextWordWrap, text);
  p.fillRect(box.adjusted(-4, -2, 4, 2), QColor(0, 0, 0, 180));
  p.setPen(QColor(255, 220, 120));
  p.drawText(box, Qt::AlignLeft | Qt::TextWordWrap, text);
}

}  // namespace tsn::ui
