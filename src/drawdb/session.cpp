// Initialising and shutting down the database, and making and closing drawings.
#include "drawdb/session.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "drawdb/db_errors.h"
#include "drawdb/drawing.h"

namespace tsn {

void seed_new_drawing(Drawing& d, const InitDefaults& defaults);  // new_drawing.cpp

DbSession& db_session() {
  static DbSession session;
  return session;
}

bool db_open_drawing(const Drawing* d) {
  const auto& all = db_session().drawings;
  if (d != nullptr && std::any_of(all.begin(), all.end(),
                                  [d](const auto& p) { return p.get() == d; })) {
    return true;
  }
  db_fail(kErrNoDrawing);
  return false;
}

int db_init(std::string_view init_path, int, int* error) {
  DbSession& s = db_session();
  const auto fail = [error](int e) {
    if (error != nullptr) *error = e;
    return db_fail(e);
  };
  std::ifstream in{std::string(init_path), std::ios::binary};
  if (!in) return fail(kErrInitMissing);
  // One byte more than the cap tells an oversized file from a full one.
  std::string text(kInitMaxBytes + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return fail(kErrInitMissing);
  InitDefaults defaults;
  if (!parse_init_text(text, defaults, nullptr)) return fail(kErrInitMalformed);
  s.defaults = std::move(defaults);
  s.initialised = true;
  if (error != nullptr) *error = kDbOk;
  db_clear_error();
  return 1;
}

void db_set_error_handler(DbErrorHandler handler) { db_session().error_handler = handler; }
void db_set_progress_handler(DbProgressHandler handler) {
  db_session().progress_handler = handler;
}

Drawing* db_new_drawing(int generation) {
  DbSession& s = db_session();
  if (!s.initialised) return db_fail(kErrNotInitialised), nullptr;
  if (generation != 6 && generation != 7) return db_fail(kErrGeneration), nullptr;
  Drawing* made = nullptr;
  db_guarded([&] {
    auto d = std::make_unique<Drawing>();
    d->generation = generation;
    seed_new_drawing(*d, s.defaults);
    s.drawings.push_back(std::move(d));
    made = s.drawings.back().get();
    return 1;
  });
  return made;
}

int db_close_drawing(Drawing* d) {
  if (!db_open_drawing(d)) return 0;
  auto& all = db_session().drawings;
  all.erase(std::find_if(all.begin(), all.end(), [d](const auto& p) { return p.get() == d; }));
  return 1;
}

int db_shutdown() {
  DbSession& s = db_session();
  s.drawings.clear();
  s.initialised = false;
  s.progress_handler = nullptr;
  return 1;
}

}  // namespace tsn
