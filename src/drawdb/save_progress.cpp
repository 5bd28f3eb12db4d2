// Save progress by entities written.
#include "drawdb/save_progress.h"

#include "drawdb/session.h"

namespace tsn {

SaveProgress::SaveProgress(const Drawing& d) {
  for (const BlockRec& b : d.blocks) {
    if (b.deleted) continue;
    for (const std::uint32_t e : b.entities) total_ += e != kNone ? 1 : 0;
  }
  report();
}

void SaveProgress::entity_done() {
  ++done_;
  report();
}

void SaveProgress::report() {
  const DbProgressHandler handler = db_session().progress_handler;
  if (handler == nullptr) return;
  const int percent = static_cast<int>(done_ * 99 / (total_ > 0 ? total_ : 1));
  if (percent == last_percent_) return;
  last_percent_ = percent;
  handler(percent);
}

}  // namespace tsn
