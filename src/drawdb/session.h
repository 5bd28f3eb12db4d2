// The database's process-wide state between db_init and db_shutdown.
#pragma once

#include <memory>
#include <vector>

#include "drawdb/drawdb.h"
#include "drawdb/init_file.h"

namespace tsn {

struct DbSession {
  bool initialised = false;
  InitDefaults defaults;
  DbErrorHandler error_handler = nullptr;  // kept for the caller; failures travel by result
  DbProgressHandler progress_handler = nullptr;
  std::vector<std::unique_ptr<Drawing>> drawings;
  long hatches_left_out = 0;  // by the last save
};

DbSession& db_session();
// True when d is a drawing of this session; otherwise records kErrNoDrawing.
bool db_open_drawing(const Drawing* d);

}  // namespace tsn
