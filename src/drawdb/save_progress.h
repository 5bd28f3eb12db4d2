// The share of a save written, reported to the database's progress handler as it changes.
#pragma once

#include "drawdb/drawing.h"

namespace tsn {

class SaveProgress {
 public:
  // Counts the drawing's live entities, and reports 0.
  explicit SaveProgress(const Drawing& d);
  // One more entity written: reported as a percentage below 100 when that changes.
  void entity_done();

 private:
  void report();
  long total_ = 0, done_ = 0;
  int last_percent_ = -1;
};

}  // namespace tsn
