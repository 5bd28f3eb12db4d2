// The progress bar while the drawing database saves: it stands at 80 % from the first report,
// then steps by one percent each time the database's own percentage passes the next threshold
// of the release's table (20 thresholds, the last never reached), so that 100 % comes only
// with the end of the conversion. The save of a merge group's drawing, which is all its
// closing step does, shows the database's percentage itself.
#pragma once

namespace tsn {

// The bar's position after the database reported `percent`, and the state that follows.
class SaveProgress {
 public:
  explicit SaveProgress(int release_code, bool per_percent = false)
      : release_12_(release_code == 4), per_percent_(per_percent) {}
  // The position to show: 80 at the first report, then 81, 82 ... as thresholds pass; the
  // percentage itself (within 0..100) when per percent.
  int report(int percent);

 private:
  bool release_12_;
  bool per_percent_;
  bool started_ = false;
  int next_ = 0;  // the threshold to pass next
};

// The callback given to the database: the bar of the save begun with start_save_progress.
void start_save_progress(int release_code, bool per_percent = false);
void save_progress_report(int percent);

}  // namespace tsn
