// Paints a preview drawing into an image: fitted to it with its aspect kept, y up, on the
// dark background of a drawing editor, in the drawing's own colours.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include "preview/preview_drawing.h"

namespace tsn::ui {

// The background behind every preview; colour 7 is drawn white on it.
inline const QColor kPreviewBackground{24, 26, 30};

// The drawing fitted into an image of `size` device-independent pixels at `pixel_ratio`.
QImage paint_preview(const PreviewDrawing& drawing, QSize size, qreal pixel_ratio);

}  // namespace tsn::ui
