// The header record and the table operations: layers, application ids, text styles, viewport.
#include <cmath>

#include "drawdb/db_errors.h"
#include "drawdb/drawing.h"
#include "drawdb/session.h"

namespace tsn {
namespace {

bool valid_name(std::string_view name) { return !name.empty() && name.size() <= 255; }

DbLayer layer_record(const Drawing& d, const LayerRec& l) {
  return {std::string(d.strings.get(l.name)), l.colour, d.linetypes[l.linetype].name, l.flags,
          make_handle(l.handle)};
}

DbStyle style_record(const StyleRec& s) {
  return {s.name, s.font, s.height, s.width_factor, s.flags, make_handle(s.handle)};
}

}  // namespace

int db_get_header(Drawing* d, DbHeader& out) {
  if (!db_open_drawing(d)) return 0;
  out = d->header;
  return 1;
}

int db_put_header(Drawing* d, const DbHeader& in) {
  if (!db_open_drawing(d)) return 0;
  d->header = in;
  return 1;
}

double db_julian_date(int day, int month, int year, int hour, int minute, int second) {
  // The day number of the proleptic Gregorian calendar, plus the fraction of the day.
  const int a = (14 - month) / 12;
  const long y = year + 4800L - a;
  const long m = month + 12L * a - 3;
  const long jdn = day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
  return static_cast<double>(jdn) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

int db_first_layer(Drawing* d, DbLayer& out) {
  if (!db_open_drawing(d)) return 0;
  out = layer_record(*d, d->layers.front());
  return 1;
}

int db_find_layer(Drawing* d, std::string_view name, DbHandle& out) {
  if (!db_open_drawing(d)) return 0;
  const auto it = d->layer_index.find(upper_name(name));
  if (it == d->layer_index.end()) return 0;
  out = make_handle(d->layers[it->second].handle);
  return 1;
}

int db_init_layer(Drawing* d, DbLayer& layer) {
  if (!db_open_drawing(d)) return 0;
  layer = DbLayer{};
  return 1;
}

int db_add_layer(Drawing* d, DbLayer& layer) {
  if (!db_open_drawing(d)) return 0;
  if (!valid_name(layer.name)) return db_fail(kErrBadName);
  if (d->layer_index.count(upper_name(layer.name)) != 0) return db_fail(kErrDuplicateName);
  std::uint32_t linetype = kNone;
  for (std::uint32_t i = 0; i < d->linetypes.size(); ++i) {
    if (same_name(d->linetypes[i].name, layer.linetype)) linetype = i;
  }
  if (linetype == kNone) return db_fail(kErrBadLinetype);
  const int colour = layer.colour == 0 || std::abs(layer.colour) > 255 ? 7 : layer.colour;
  const std::uint32_t handle = d->issue_handle();
  const auto index = static_cast<std::uint32_t>(d->layers.size());
  d->layers.push_back({d->strings.intern(layer.name), colour, linetype, layer.flags, handle});
  d->layer_index.emplace(upper_name(layer.name), index);
  d->layer_by_handle.emplace(handle, index);
  layer.handle = make_handle(handle);
  return 1;
}

int db_init_regapp(Drawing* d, DbRegapp& app) {
  if (!db_open_drawing(d)) return 0;
  app = DbRegapp{};
  return 1;
}

int db_add_regapp(Drawing* d, DbRegapp& app) {
  if (!db_open_drawing(d)) return 0;
  if (!valid_name(app.name)) return db_fail(kErrBadName);
  for (const RegappRec& r : d->regapps) {
    if (same_name(r.name, app.name)) return db_fail(kErrDuplicateName);
  }
  d->regapps.push_back({app.name, app.flags, d->issue_handle()});
  app.handle = make_handle(d->regapps.back().handle);
  return 1;
}

int db_count_styles(Drawing* d) {
  return db_open_drawing(d) ? static_cast<int>(d->styles.size()) : 0;
}

int db_next_style(Drawing* d, DbCursor& cursor, DbStyle& out) {
  if (!db_open_drawing(d) || cursor.next >= d->styles.size()) return 0;
  out = style_record(d->styles[cursor.next++]);
  return 1;
}

int db_replace_style(Drawing* d, const DbStyle& style) {
  if (!db_open_drawing(d)) return 0;
  if (!valid_name(style.name)) return db_fail(kErrBadName);
  for (StyleRec& s : d->styles) {
    if (s.handle != handle_value(style.handle)) continue;
    s = {style.name, style.font, style.height, style.width_factor, style.flags, s.handle};
    return 1;
  }
  return db_fail(kErrNoStyleRecord);
}

int db_init_style(Drawing* d, DbStyle& style) {
  if (!db_open_drawing(d)) return 0;
  style = DbStyle{};
  return 1;
}

int db_add_style(Drawing* d, DbStyle& style) {
  if (!db_open_drawing(d)) return 0;
  if (!valid_name(style.name) || style.font.empty()) return db_fail(kErrBadName);
  for (const StyleRec& s : d->styles) {
    if (same_name(s.name, style.name)) return db_fail(kErrDuplicateName);
  }
  d->styles.push_back({style.name, style.font, style.height, style.width_factor, style.flags,
                       d->issue_handle()});
  style.handle = make_handle(d->styles.back().handle);
  return 1;
}

int db_first_vport(Drawing* d, DbVport& out) {
  if (!db_open_drawing(d)) return 0;
  out = d->vport;
  return 1;
}

int db_replace_vport(Drawing* d, const DbVport& vport) {
  if (!db_open_drawing(d)) return 0;
  if (!(vport.height > 0.0) || !std::isfinite(vport.height)) return db_fail(kErrBadArgument);
  const DbHandle keep = d->vport.handle;
  d->vport = vport;
  d->vport.handle = keep;
  return 1;
}

}  // namespace tsn
