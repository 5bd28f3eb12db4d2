// Shapes in drawing order, then the texts, mapped from drawing units to pixels. Shapes are
// drawn without antialiasing, as a drawing editor shows them: every pixel in its exact colour.
#include "ui/preview_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "ui/colour_swatch.h"

namespace tsn::ui {
namespace {

constexpr double kMargin = 8.0;         // pixels around the drawing
constexpr double kMinPatternGap = 3.0;  // hatch lines closer than this are shown as a tint
constexpr int kMaxPatternLines = 4000;  // per family of one hatch
constexpr int kPatternTint = 110;       // the alpha of that tint
constexpr double kSmallestFont = 4.0;   // capital height in pixels of the smallest text written

// Drawing units to pixels: the drawing's box fitted into the image, y up.
struct View {
  double scale = 1.0;
  double left = 0.0;  // pixel of the box's xmin
  double top = 0.0;   // pixel of the box's ymax
  PreviewBox box;

  QPointF map(const Point2& p) const {
    return {left + (p.x - box.xmin) * scale, top + (box.ymax - p.y) * scale};
  }
};

View fit(const PreviewBox& b, QSizeF size) {
  View v;
  v.box = b;
  double w = b.xmax - b.xmin;
  double h = b.ymax - b.ymin;
  // A single point or a straight line still gets a scale.
  if (!(w > 0.0) && !(h > 0.0)) w = h = 1.0;
  if (!(w > 0.0)) w = h;
  if (!(h > 0.0)) h = w;
  const double room_w = std::max(1.0, size.width() - 2 * kMargin);
  const double room_h = std::max(1.0, size.height() - 2 * kMargin);
  v.scale = std::min(room_w / w, room_h / h);
  v.left = (size.width() - (b.xmax - b.xmin) * v.scale) / 2;
  v.top = (size.height() - (b.ymax - b.ymin) * v.scale) / 2;
  return v;
}

class Painter {
 public:
  Painter(QPainter& p, const PreviewDrawing& d, const View& v) : p_(p), d_(d), v_(v) {
    for (std::size_t c = 0; c < colours_.size(); ++c) {
      colours_[c] = qcolour(static_cast<int>(c));
    }
  }

  void shape(const PreviewShape& s) {
    switch (s.kind) {
      case PreviewShapeKind::polyline: return polyline(s);
      case PreviewShapeKind::fill: return fill(s);
      case PreviewShapeKind::point: return point(s);
      case PreviewShapeKind::circle: return circle(s, false);
      case PreviewShapeKind::disc: return circle(s, true);
    }
  }

  // A text too small to read is drawn as a line along its baseline's middle, as long as
  // the text would be.
  void text(const PreviewText& t) {
    const double pixels = t.height * v_.scale;
    if (pixels < 1.0) return;  // too small to be seen
    const QString text = QString::fromUtf8(d_.text_of(t).data(), static_cast<qsizetype>(t.length));
    const bool readable = pixels >= kSmallestFont;
    set_font(readable ? pixels : kSmallestFont);
    const double width =
        metrics_->horizontalAdvance(text) * (readable ? 1.0 : pixels / kSmallestFont);
    const double start = t.justification == 0 ? 0.0 : t.justification == 1 ? -width / 2 : -width;
    const QPointF at = v_.map(t.at);
    QTransform frame;
    frame.translate(at.x(), at.y());
    if (t.rotation != 0.0) frame.rotateRadians(-t.rotation);
    p_.setTransform(frame);
    if (readable) {
      p_.setPen(colour(t.colour));
      p_.drawText(QPointF(start, 0.0), text);
    } else {
      line_pen(t.colour);
      p_.drawLine(QPointF(start, -pixels / 2), QPointF(start + width, -pixels / 2));
    }
    p_.resetTransform();
  }

 private:
  const QPolygonF& points(std::uint32_t first, std::uint32_t count) {
    poly_.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) poly_[i] = v_.map(d_.points[first + i]);
    return poly_;
  }

  void line_pen(int colour) {
    QPen pen(this->colour(colour));
    pen.setCosmetic(true);
    pen.setWidthF(1.0);
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
  }

  void polyline(const PreviewShape& s) {
    line_pen(s.colour);
    const QPolygonF& poly = points(s.first, s.count);
    if (s.closed) {
      p_.drawPolygon(poly);
    } else {
      p_.drawPolyline(poly);
    }
  }

  // Pixels are filled by their centres, so triangles that share edges leave no seams.
  void fill(const PreviewShape& s) {
    p_.setPen(Qt::NoPen);
    p_.setBrush(colour(s.colour));
    if (s.count == 1 && s.pattern_count == 0) {
      const PreviewRing& r = d_.rings[s.first];
      p_.drawPolygon(points(r.first, r.count), Qt::OddEvenFill);
      return;
    }
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (std::uint32_t i = 0; i < s.count; ++i) {
      const PreviewRing& r = d_.rings[s.first + i];
      path.addPolygon(points(r.first, r.count));
      path.closeSubpath();
    }
    if (s.pattern_count == 0) {
      p_.drawPath(path);
    } else {
      pattern(s, path);
    }
  }

  // The hatch's line families, clipped to its boundary; families too dense to tell apart
  // tint the area instead.
  void pattern(const PreviewShape& s, const QPainterPath& path) {
    p_.save();
    p_.setClipPath(path, Qt::IntersectClip);
    line_pen(s.colour);
    const QRectF pixels = path.boundingRect();
    const std::array<Point2, 4> corners = {
        unmap(pixels.topLeft()), unmap(pixels.topRight()), unmap(pixels.bottomLeft()),
        unmap(pixels.bottomRight())};
    for (std::uint32_t i = 0; i < s.pattern_count; ++i) {
      const PreviewPatternLine& l = d_.pattern_lines[s.pattern_first + i];
      const Point2 along{std::cos(l.angle), std::sin(l.angle)};
      const Point2 across{-along.y, along.x};
      const double gap = l.offset.x * across.x + l.offset.y * across.y;
      double kmin = 1e300, kmax = -1e300, umin = 1e300, umax = -1e300;
      for (const Point2& c : corners) {
        const Point2 r{c.x - l.base.x, c.y - l.base.y};
        const double k = (r.x * across.x + r.y * across.y) / gap;
        const double u = r.x * along.x + r.y * along.y;
        kmin = std::min(kmin, k);
        kmax = std::max(kmax, k);
        umin = std::min(umin, u);
        umax = std::max(umax, u);
      }
      if (!(std::abs(gap) * v_.scale >= kMinPatternGap) || kmax - kmin > kMaxPatternLines) {
        QColor tint = colour(s.colour);
        tint.setAlpha(kPatternTint);
        p_.fillPath(path, tint);
        break;
      }
      const double slide = l.offset.x * along.x + l.offset.y * along.y;
      for (double k = std::floor(kmin); k <= std::ceil(kmax); k += 1.0) {
        const Point2 o{l.base.x + k * l.offset.x, l.base.y + k * l.offset.y};
        const double u0 = umin - k * slide;
        const double u1 = umax - k * slide;
        p_.drawLine(v_.map({o.x + u0 * along.x, o.y + u0 * along.y}),
                    v_.map({o.x + u1 * along.x, o.y + u1 * along.y}));
      }
    }
    p_.restore();
  }

  Point2 unmap(const QPointF& q) const {
    return {v_.box.xmin + (q.x() - v_.left) / v_.scale, v_.box.ymax - (q.y() - v_.top) / v_.scale};
  }

  void point(const PreviewShape& s) {
    const QPointF at = v_.map(d_.points[s.first]);
    p_.fillRect(QRectF(at.x() - 1.0, at.y() - 1.0, 2.0, 2.0), colour(s.colour));
  }

  void circle(const PreviewShape& s, bool filled) {
    const QPointF at = v_.map(d_.points[s.first]);
    const double r = s.radius * v_.scale;
    if (r < 1.0) {
      p_.fillRect(QRectF(at.x() - 1.0, at.y() - 1.0, 2.0, 2.0), colour(s.colour));
      return;
    }
    if (filled) {
      p_.setPen(Qt::NoPen);
      p_.setBrush(colour(s.colour));
    } else {
      line_pen(s.colour);
    }
    p_.drawEllipse(at, r, r);
  }

  // A font whose capitals are `pixels` high, as a drawing's text height measures them.
  void set_font(double pixels) {
    if (!metrics_) {
      font_.setFamilies({"Liberation Sans", "Arimo", "Arial"});
      font_.setStyleHint(QFont::SansSerif);
      font_.setPixelSize(100);
      cap_ratio_ = QFontMetricsF(font_).capHeight() / 100.0;
      if (!(cap_ratio_ > 0.1)) cap_ratio_ = 0.72;
    }
    const int size = std::max(1, static_cast<int>(std::lround(pixels / cap_ratio_)));
    if (metrics_ && size == font_size_) return;
    font_size_ = size;
    font_.setPixelSize(size);
    p_.setFont(font_);
    metrics_.emplace(font_, p_.device());
  }

  const QColor& colour(int c) const { return colours_[static_cast<std::size_t>(c) & 0xFF]; }

  QPainter& p_;
  std::array<QColor, 256> colours_;
  const PreviewDrawing& d_;
  const View& v_;
  QPolygonF poly_;
  QFont font_;
  double cap_ratio_ = 0.72;
  int font_size_ = 0;
  std::optional<QFontMetricsF> metrics_;
};

}  // namespace

QImage paint_preview(const PreviewDrawing& drawing, QSize size, qreal pixel_ratio) {
  QImage image(size * pixel_ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(pixel_ratio);
  image.fill(kPreviewBackground);
  if (drawing.empty() || size.isEmpty()) return image;
  QPainter p(&image);
  const View view = fit(drawing.bounds, QSizeF(size));
  Painter painter(p, drawing, view);
  for (const PreviewShape& s : drawing.shapes) painter.shape(s);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  for (const PreviewText& t : drawing.texts) painter.text(t);
  return image;
}

}  // namespace tsn::ui
