// Data lists, extended data items and text alignment.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawdb/db_errors.h"
#include "drawdb/drawdb.h"
#include "drawdb/drawing.h"
#include "drawdb/session.h"

namespace tsn {
namespace {

// Lists hold at most this many bytes (16 million vertices): a runaway caller fails cleanly.
constexpr std::size_t kMaxListBytes = std::size_t{1} << 28;

// An average character's advance as a share of the text height.
constexpr double kCharacterWidth = 0.8;

DataListRec* open_list(Drawing* d, DbDataList list) {
  if (!db_open_drawing(d)) return nullptr;
  if (list.id >= d->lists.size()) return db_fail(kErrNoDataList), nullptr;
  return &d->lists[list.id];
}

}  // namespace

int db_new_list(Drawing* d, DbDataList& out) {
  if (!db_open_drawing(d)) return 0;
  // A list whose contents were taken by an entity is used again.
  const auto free = std::find_if(d->lists.begin(), d->lists.end(), [](const DataListRec& l) {
    return !l.open && l.bytes.empty();
  });
  out.id = static_cast<std::uint32_t>(free - d->lists.begin());
  if (free == d->lists.end()) d->lists.emplace_back();
  d->lists[out.id].bytes.clear();
  return 1;
}

int db_open_list(Drawing* d, DbDataList list) {
  DataListRec* l = open_list(d, list);
  if (l == nullptr) return 0;
  l->open = true;
  l->bytes.clear();
  return 1;
}

int db_list_put(Drawing* d, DbDataList list, const void* bytes, std::size_t size) {
  DataListRec* l = open_list(d, list);
  if (l == nullptr) return 0;
  if (!l->open) return db_fail(kErrListNotOpen);
  if (size != 1 && size != 2 && size != 4 && size != 8 && size != 16) {
    return db_fail(kErrBadArgument);
  }
  if (l->bytes.size() + size > kMaxListBytes) return db_fail(kErrBadVertexList);
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  return db_guarded([&] {
    l->bytes.insert(l->bytes.end(), p, p + size);
    return 1;
  });
}

int db_close_list(Drawing* d, DbDataList list) {
  DataListRec* l = open_list(d, list);
  if (l == nullptr) return 0;
  if (!l->open) return db_fail(kErrListNotOpen);
  l->open = false;
  return 1;
}

int db_put_xdata(DbEntity& entity, int code, std::string_view text) {
  if (!xdata_text_code(code)) return db_fail(kErrXdataCode);
  if (code == 1002 && text != "{" && text != "}") return db_fail(kErrXdataCode);
  if (text.size() > 255) return db_fail(kErrBadName);
  entity.xdata.push_back({code, std::string(text), 0.0, 0});
  return 1;
}

int db_put_xdata(DbEntity& entity, int code, double real) {
  if (code < 1040 || code > 1042 || !std::isfinite(real)) return db_fail(kErrXdataCode);
  entity.xdata.push_back({code, {}, real, 0});
  return 1;
}

int db_put_xdata(DbEntity& entity, int code, long integer) {
  const bool fits = code == 1071 || (code == 1070 && integer >= -32768 && integer <= 32767);
  if (!fits || integer < INT32_MIN || integer > INT32_MAX) return db_fail(kErrXdataCode);
  entity.xdata.push_back({code, {}, 0.0, integer});
  return 1;
}

int db_align_text(Drawing* d, DbEntity& text) {
  if (!db_open_drawing(d)) return 0;
  if (text.type != kDbText && text.type != kDbAttrib && text.type != kDbAttdef) {
    return db_fail(kErrNotText);
  }
  const DbPoint anchor = text.points[0];
  text.points[1] = anchor;
  if (text.h_justify == 0 && text.v_justify == 0) return 1;
  const double width = static_cast<double>(text.text.size()) * text.height *
                       text.width_factor * kCharacterWidth;
  // The share of the width and of the height left of and below the anchor.
  const double across = text.h_justify == 1 || text.h_justify == 4 ? 0.5
                        : text.h_justify == 2                      ? 1.0
                                                                   : 0.0;
  const double down = text.v_justify == 2 ? 0.5 : text.v_justify == 3 ? 1.0 : 0.0;
  const double a = text.rotation * std::numbers::pi / 180.0;
  const double dx = -across * width, dy = -down * text.height;
  text.points[0] = {anchor[0] + dx * std::cos(a) - dy * std::sin(a),
                    anchor[1] + dx * std::sin(a) + dy * std::cos(a), anchor[2]};
  return 1;
}

}  // namespace tsn
