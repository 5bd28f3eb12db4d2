// adSaveFile: the whole DXF file of a drawing, section by section, with progress reports.
#include <cerrno>
#include <cstdio>
#include <string>

#include "drawdb/db_errors.h"
#include "drawdb/dwg12_file.h"
#include "drawdb/dwg_file.h"
#include "drawdb/entity_store.h"
#include "drawdb/releases.h"
#include "drawdb/save_context.h"
#include "drawdb/session.h"

namespace tsn {
namespace {

// A save written whole: the progress handler hears 100, and no error stands.
int saved() {
  if (db_session().progress_handler != nullptr) db_session().progress_handler(100);
  db_clear_error();
  return 1;
}

// A binary drawing of release 12, 14 or 2000.
int save_binary(Drawing* d, std::string_view path, int release) {
  if (release != 4 && release != 6 && release != 7) return db_fail(kErrDwg);
  close_polyline(*d);
  std::FILE* file = std::fopen(std::string(path).c_str(), "wb");
  if (file == nullptr) return db_fail(kErrWrite);
  bool written = false;
  if (release == 4) {
    const dwg12::SaveResult r = dwg12::save_dwg12(*d, file);
    written = r.written;
    db_session().hatches_left_out = r.hatches_left_out;
    if (r.too_large) {
      std::fclose(file);
      return db_fail(kErrTooLarge);
    }
  } else {
    written = dwg::save_dwg(*d, file, release == 7);
  }
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return db_fail(kErrWrite);
  return saved();
}

int save(Drawing* d, std::string_view path, int kind, int release, int decimals, int three_d) {
  if (!db_open_drawing(d)) return 0;
  db_session().hatches_left_out = 0;
  if (kind == 0) return save_binary(d, path, release);
  if (kind != 1 || decimals < 0 || decimals > 16) return db_fail(kErrBadArgument);
  const std::uint8_t bit = release_bit(release);
  if (bit == 0) return db_fail(kErrRelease);
  close_polyline(*d);
  std::FILE* file = std::fopen(std::string(path).c_str(), "wb");
  if (file == nullptr) return db_fail(kErrWrite);
  DxfOut out(file, bit, decimals, three_d != 0);
  SaveContext c{*d, out, d->next_handle, d->next_handle + polyline_record_count(*d),
                SaveProgress(*d)};
  write_header_section(c);
  write_classes_section(c);
  write_tables_section(c);
  write_blocks_section(c);
  write_entities_section(c);
  write_objects_section(c);
  out.group(0, "EOF");
  if (!out.finish()) return db_fail(kErrWrite);
  return saved();
}

}  // namespace

int adSaveFile(Drawing* d, std::string_view path, int kind, int release, int decimals,
               int three_d) {
  return db_guarded([&] { return save(d, path, kind, release, decimals, three_d); });
}

long db_hatches_left_out() { return db_session().hatches_left_out; }

}  // namespace tsn
