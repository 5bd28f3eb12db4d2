// Entities into preview shapes: colours resolved through the layer table, blocks expanded where
// they are inserted, texts made UTF-8.
#include "preview/preview_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawing/overloaded.h"

namespace tsn {
namespace {

// Colour codes inside a block definition; an insertion resolves them. Every other code is
// already a drawing colour number.
constexpr int kByBlock = 0;       // the insertion's colour
constexpr int kInsertLayer = -2;  // BYLAYER on layer "0": the colour of the insertion's layer
constexpr int kDefaultColour = 7;

// A text is about this many times its height wide per character: enough to keep the legend's
// texts inside the bounds.
constexpr double kCharacterWidth = 0.8;

bool layer_zero(std::string_view layer) { return layer == "0"; }

std::size_t stream_index(DrawingStream stream) { return static_cast<std::size_t>(stream); }

// Where a block's point lands: at + scale * (p - base).
struct Placement {
  Point2 at;
  Point2 base;
  double scale = 1.0;
  Point2 apply(const Point2& p) const {
    return {at.x + scale * (p.x - base.x), at.y + scale * (p.y - base.y)};
  }
};

// The colour of a block's shape inserted with colour `insert` on a layer of colour `layer`.
struct ColourMap {
  int insert = kDefaultColour;
  int layer = kDefaultColour;
  std::int16_t operator()(std::int16_t code) const {
    if (code == kByBlock) return static_cast<std::int16_t>(insert);
    if (code == kInsertLayer) return static_cast<std::int16_t>(layer);
    return code;
  }
};

std::uint32_t index_of(std::size_t n) { return static_cast<std::uint32_t>(n); }

// Appends `src` to `dst`, every point placed and every colour mapped.
void append_drawing(PreviewDrawing& dst, const PreviewDrawing& src, const Placement& place,
                    const ColourMap& colours) {
  const std::uint32_t point_base = index_of(dst.points.size());
  const std::uint32_t ring_base = index_of(dst.rings.size());
  const std::uint32_t pattern_base = index_of(dst.pattern_lines.size());
  const std::uint32_t char_base = index_of(dst.chars.size());
  for (const Point2& p : src.points) dst.points.push_back(place.apply(p));
  for (PreviewRing r : src.rings) {
    r.first += point_base;
    dst.rings.push_back(r);
  }
  for (PreviewPatternLine l : src.pattern_lines) {
    l.base = place.apply(l.base);
    l.offset = {l.offset.x * place.scale, l.offset.y * place.scale};
    dst.pattern_lines.push_back(l);
  }
  for (PreviewShape s : src.shapes) {
    s.first += s.kind == PreviewShapeKind::fill ? ring_base : point_base;
    s.pattern_first += pattern_base;
    s.radius *= place.scale;
    s.colour = colours(s.colour);
    dst.shapes.push_back(s);
  }
  for (PreviewText t : src.texts) {
    t.at = place.apply(t.at);
    t.height *= place.scale;
    t.first_char += char_base;
    t.colour = colours(t.colour);
    dst.texts.push_back(t);
  }
  dst.chars += src.chars;
}

void append_code_point(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t escaped_code_point(std::string_view text, std::size_t at) {
  char32_t c = 0;
  for (std::size_t i = at + 3; i < at + 7; ++i) {
    const char h = text[i];
    const int digit = h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10;
    c = c * 16 + static_cast<char32_t>(digit);
  }
  return c;
}

// The escapes "\U+XXXX" of characters the drawing's code page lacks, as the characters; the
// two escapes of a surrogate pair as one.
void append_unescaped(std::string_view text, std::string& out) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t n = unicode_escape_length(text, at);
    if (n == 0) {
      out += text[at++];
      continue;
    }
    char32_t c = escaped_code_point(text, at);
    at += n;
    if (c >= 0xD800 && c < 0xDC00 && unicode_escape_length(text, at) != 0) {
      const char32_t low = escaped_code_point(text, at);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        at += unicode_escape_length(text, at);
      }
    }
    if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
    append_code_point(c, out);
  }
}

// The corner of a box that a text's rectangle reaches, its width estimated.
void extend_by_text(PreviewBox& box, const PreviewText& t, std::size_t characters) {
  const double width = kCharacterWidth * t.height * static_cast<double>(characters);
  const double start = t.justification == 1 ? -width / 2 : t.justification == 2 ? -width : 0.0;
  const double c = std::cos(t.rotation);
  const double s = std::sin(t.rotation);
  for (const double u : {start, start + width}) {
    for (const double v : {0.0, t.height}) {
      const double x = t.at.x + u * c - v * s;
      const double y = t.at.y + u * s + v * c;
      box.xmin = std::min(box.xmin, x);
      box.ymin = std::min(box.ymin, y);
      box.xmax = std::max(box.xmax, x);
      box.ymax = std::max(box.ymax, y);
    }
  }
}

PreviewBox measured_bounds(const PreviewDrawing& d, const DrawingExtents& extents) {
  if (d.empty()) return {extents.xmin, extents.ymin, extents.xmax, extents.ymax};
  constexpr double kHuge = 1e300;
  PreviewBox box{kHuge, kHuge, -kHuge, -kHuge};
  const auto extend = [&box](const Point2& p, double r) {
    box.xmin = std::min(box.xmin, p.x - r);
    box.ymin = std::min(box.ymin, p.y - r);
    box.xmax = std::max(box.xmax, p.x + r);
    box.ymax = std::max(box.ymax, p.y + r);
  };
  for (const PreviewShape& s : d.shapes) {
    if (s.kind == PreviewShapeKind::fill) continue;  // its rings' points come below
    const bool round = s.kind == PreviewShapeKind::circle || s.kind == PreviewShapeKind::disc;
    for (std::uint32_t i = 0; i < s.count; ++i) extend(d.points[s.first + i], round ? s.radius : 0);
  }
  for (const PreviewRing& r : d.rings) {
    for (std::uint32_t i = 0; i < r.count; ++i) extend(d.points[r.first + i], 0.0);
  }
  for (const PreviewText& t : d.texts) extend_by_text(box, t, displayed_length(d.text_of(t)));
  return box;
}

}  // namespace

PreviewWriter::PreviewWriter(PreviewDrawing& out, const std::string& text_encoding) : out_(out) {
  if (!text_encoding.empty()) (void)transcoder_.open(text_encoding, "UTF-8");
}

int PreviewWriter::begin_drawing(const DrawingSetup& setup) {
  extents_ = setup.extents;
  layer_colours_.clear();
  for (const auto layers : {setup.layers, setup.class_layers}) {
    for (const LayerDef& l : layers) {
      // A negative colour is a layer turned off in a drawing; it keeps its colour here.
      const int colour = std::abs(l.colour);
      layer_colours_.emplace(l.name, colour >= 1 && colour <= 255 ? colour : kDefaultColour);
    }
  }
  return 0;
}

int PreviewWriter::begin_block(DrawingStream stream, const BlockDef& block) {
  Block& b = blocks_[std::string(block.name)];
  b = Block{};
  b.base = block.base;
  open_[stream_index(stream)] = &b;
  return 0;
}

int PreviewWriter::end_block(DrawingStream stream) {
  open_[stream_index(stream)] = nullptr;
  return 0;
}

int PreviewWriter::layer_colour(std::string_view layer) const {
  const auto found = layer_colours_.find(layer);
  return found != layer_colours_.end() ? found->second : kDefaultColour;
}

int PreviewWriter::colour_code(const EntityLook& look, bool in_block) const {
  if (look.colour >= 1 && look.colour <= 255) return look.colour;
  if (look.colour == 0) return in_block ? kByBlock : kDefaultColour;
  // BYLAYER; inside a block on layer "0" it follows the insertion.
  return in_block && layer_zero(look.layer) ? kInsertLayer : layer_colour(look.layer);
}

bool PreviewWriter::room_for(std::size_t points, std::size_t shapes,
                             std::size_t text_bytes) const {
  const PreviewBudget& b = out_.budget;
  return points_held_ + points <= b.points && shapes_held_ + shapes <= b.shapes &&
         bytes_held_ + text_bytes <= b.text_bytes;
}

int PreviewWriter::add(DrawingStream stream, const Entity& entity, EntityRef* made) {
  if (made != nullptr) *made = EntityRef{++last_ref_};
  Block* block = open_[stream_index(stream)];
  PreviewDrawing& store =
      block != nullptr ? block->shapes : stream == DrawingStream::labels ? labels_ : out_;
  if (block == nullptr) ++out_.entities;
  const Target t{store, block != nullptr, colour_code(entity.look, block != nullptr)};
  const std::size_t points = store.points.size();
  const std::size_t shapes = store.shapes.size() + store.texts.size();
  const std::size_t bytes = store.chars.size();
  if (!add_shape(t, entity.shape, entity.look)) {
    if (block != nullptr) {
      block->incomplete = true;
    } else {
      ++out_.left_out;
    }
  }
  points_held_ += store.points.size() - points;
  shapes_held_ += store.shapes.size() + store.texts.size() - shapes;
  bytes_held_ += store.chars.size() - bytes;
  return 0;
}

bool PreviewWriter::add_shape(const Target& t, const EntityShape& shape, const EntityLook& look) {
  const auto flat = [](const Point3& p) { return Point2{p.x, p.y}; };
  return std::visit(
      Overloaded{
          [&](const PointEntity& p) {
            const Point2 at[] = {flat(p.at)};
            return add_points(t, PreviewShapeKind::point, at, false, 0.0);
          },
          [&](const LineEntity& l) {
            const Point3 ends[] = {l.from, l.to};
            return add_polyline(t, ends, false);
          },
          [&](const CircleEntity& c) {
            const Point2 at[] = {flat(c.centre)};
            return add_points(t, PreviewShapeKind::circle, at, false, c.radius);
          },
          [&](const FilledDisc& d) {
            const Point2 at[] = {Point2{}};
            return add_points(t, PreviewShapeKind::disc, at, false, d.radius);
          },
          [&](const TextEntity& x) { return add_text(t, x.at, x.height, x.text); },
          [&](const AttribEntity& a) { return !a.visible || add_text(t, a.at, a.height, a.value); },
          [&](const InsertEntity& i) { return insert(t, i, look); },
          [&](const PolylineEntity& p) { return add_polyline(t, p.vertices, p.closed); },
          [&](const SolidEntity& s) {
            // The third and fourth corners of a SOLID are the far side's, crossed.
            const Point3 ring[] = {s.corners[0], s.corners[1], s.corners[3], s.corners[2]};
            return add_fill(t, ring);
          },
          [&](const FaceEntity& f) { return add_fill(t, f.corners); },
          [&](const HatchEntity& h) { return add_hatch(t, h); },
          // Attribute definitions are invisible; a sequence end draws nothing.
          [](const AttdefEntity&) { return true; },
          [](const SequenceEnd&) { return true; },
      },
      shape);
}

bool PreviewWriter::add_points(const Target& t, PreviewShapeKind kind,
                               std::span<const Point2> points, bool closed, double radius) {
  if (!room_for(points.size(), 1, 0)) return false;
  PreviewShape s;
  s.kind = kind;
  s.closed = closed;
  s.colour = static_cast<std::int16_t>(t.colour);
  s.first = index_of(t.store.points.size());
  s.count = index_of(points.size());
  s.radius = radius;
  t.store.points.insert(t.store.points.end(), points.begin(), points.end());
  t.store.shapes.push_back(s);
  return true;
}

bool PreviewWriter::add_polyline(const Target& t, std::span<const Point3> vertices, bool closed) {
  scratch_.clear();
  for (const Point3& v : vertices) scratch_.push_back({v.x, v.y});
  return add_points(t, PreviewShapeKind::polyline, scratch_, closed, 0.0);
}

bool PreviewWriter::add_fill(const Target& t, std::span<const Point3> corners) {
  scratch_.clear();
  for (const Point3& c : corners) {
    // A triangle repeats its last corner.
    if (!scratch_.empty() && scratch_.back().x == c.x && scratch_.back().y == c.y) continue;
    scratch_.push_back({c.x, c.y});
  }
  if (!room_for(scratch_.size(), 1, 0)) return false;
  PreviewShape s;
  s.kind = PreviewShapeKind::fill;
  s.colour = static_cast<std::int16_t>(t.colour);
  s.first = index_of(t.store.rings.size());
  s.count = 1;
  t.store.rings.push_back({index_of(t.store.points.size()), index_of(scratch_.size())});
  t.store.points.insert(t.store.points.end(), scratch_.begin(), scratch_.end());
  t.store.shapes.push_back(s);
  return true;
}

bool PreviewWriter::add_hatch(const Target& t, const HatchEntity& hatch) {
  std::size_t points = 0;
  for (const HatchPath& path : hatch.paths) points += path.edge_points.size();
  if (!room_for(points, 1, 0)) return false;
  PreviewShape s;
  s.kind = PreviewShapeKind::fill;
  s.colour = static_cast<std::int16_t>(t.colour);
  s.first = index_of(t.store.rings.size());
  // Each path's edges follow one another: the ring is the first edge's start and every
  // edge's end (and the start of any edge that does not begin where the last one ended).
  for (const HatchPath& path : hatch.paths) {
    const std::span<const Point2> e = path.edge_points;
    if (e.size() < 2) continue;
    const std::uint32_t first = index_of(t.store.points.size());
    t.store.points.push_back(e[0]);
    for (std::size_t i = 0; i + 1 < e.size(); i += 2) {
      const Point2& last = t.store.points.back();
      if (i > 0 && (e[i].x != last.x || e[i].y != last.y)) t.store.points.push_back(e[i]);
      t.store.points.push_back(e[i + 1]);
    }
    t.store.rings.push_back({first, index_of(t.store.points.size()) - first});
  }
  s.count = index_of(t.store.rings.size()) - s.first;
  if (!hatch.solid && !hatch.lines.empty()) {
    s.pattern_first = index_of(t.store.pattern_lines.size());
    s.pattern_count = index_of(hatch.lines.size());
    for (const HatchPatternLine& l : hatch.lines) {
      t.store.pattern_lines.push_back({l.angle, {l.base_x, l.base_y}, {l.offset_x, l.offset_y}});
    }
  }
  t.store.shapes.push_back(s);
  return true;
}

void PreviewWriter::append_utf8(std::string_view text, std::string& out) {
  converted_.clear();
  if (transcoder_.is_open()) {
    (void)transcoder_.append(text, converted_);
  } else if (is_valid_utf8(text)) {
    converted_.assign(text);
  } else {
    for (const char c : text) append_code_point(static_cast<unsigned char>(c), converted_);
  }
  append_unescaped(converted_, out);
}

bool PreviewWriter::add_text(const Target& t, const TextPlacement& at, double height,
                             std::string_view text) {
  // Converted text is at most four bytes for each byte given, or for each escape's seven.
  if (!room_for(0, 1, text.size() * 4)) return false;
  PreviewText x;
  const Point3& anchor = at.justification != 0 && at.second ? *at.second : at.first;
  x.at = {anchor.x, anchor.y};
  x.height = height;
  x.rotation = at.rotation_degrees ? *at.rotation_degrees * std::numbers::pi / 180.0 : 0.0;
  x.colour = static_cast<std::int16_t>(t.colour);
  x.justification = static_cast<std::uint8_t>(std::clamp(at.justification, 0, 2));
  x.first_char = index_of(t.store.chars.size());
  append_utf8(text, t.store.chars);
  x.length = index_of(t.store.chars.size()) - x.first_char;
  t.store.texts.push_back(x);
  return true;
}

bool PreviewWriter::insert(const Target& t, const InsertEntity& insert, const EntityLook& look) {
  const auto found = blocks_.find(insert.block);
  if (found == blocks_.end()) {
    ++out_.unknown_blocks;
    return true;
  }
  const Block& block = found->second;
  const PreviewDrawing& b = block.shapes;
  if (!room_for(b.points.size(), b.shapes.size() + b.texts.size(), b.chars.size())) return false;
  const Placement place{{insert.at.x, insert.at.y}, {block.base.x, block.base.y},
                        insert.scale.value_or(1.0)};
  ColourMap colours;
  colours.insert = t.colour;
  colours.layer = t.in_block && layer_zero(look.layer) ? kInsertLayer : layer_colour(look.layer);
  append_drawing(t.store, b, place, colours);
  return !block.incomplete;
}

int PreviewWriter::finish(bool (*)()) {
  append_drawing(out_, labels_, Placement{}, ColourMap{});
  labels_ = PreviewDrawing{};
  blocks_.clear();
  out_.bounds = measured_bounds(out_, extents_);
  return 0;
}

void PreviewWriter::discard() {
  out_.clear();
  labels_ = PreviewDrawing{};
  blocks_.clear();
}

}  // namespace tsn
