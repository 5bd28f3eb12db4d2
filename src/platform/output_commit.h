// Putting a finished output file in place: written under a temporary name, synced, then renamed
// over the end of the output's links, or copied into it when that end is a device or FIFO.
//
// Call order for a writer:
//   OutputCommit commit;
//   commit.open(output_path)              -> 0, or 1 after message 78
//   commit.make_temporary(private_dir)    -> 0, or 1 after message 78
//   ... write and close commit.temporary_path() ...
//   commit.commit(cancel)                 -> 0 in place, 1 write failure, -1 cancelled or refused
// Until commit succeeds an earlier output stays untouched; an unfinished temporary output is
// removed by discard, by a failed commit and by the destructor.
#pragma once

#include <functional>
#include <string>

namespace tsn {

// Asked between runs of a long copy and once more before the finished file is put in place;
// true stops. Empty: cancel_confirmed of the messages.
using CancelCheck = std::function<bool()>;

// The answer of `cancel`, or of cancel_confirmed when it is empty.
bool cancel_requested(const CancelCheck& cancel);

// The beep and message 78 naming `path`: an output that could not be opened or put in place.
void report_cannot_open(const std::string& path);

class OutputCommit {
 public:
  OutputCommit() = default;
  ~OutputCommit() { discard(); }
  OutputCommit(const OutputCommit&) = delete;
  OutputCommit& operator=(const OutputCommit&) = delete;

  // Follows the symbolic links of output_path to the file that is replaced or written into; a
  // directory, socket, loop of links or a path that cannot be looked at is refused with message
  // 78 naming output_path, 1. Discards a temporary output held from before. Otherwise 0.
  int open(const std::string& output_path);
  // Creates the empty temporary output beside the end of the links, or inside private_dir
  // (a directory path ending in '/') when that end is a device or FIFO, which can be neither
  // renamed over nor written at an offset. Message 78 naming the output and 1 when it cannot.
  int make_temporary(const std::string& private_dir);

  // Empty before make_temporary succeeded and after commit or discard.
  const std::string& temporary_path() const { return temporary_; }
  const std::string& output_path() const { return output_; }

  // Syncs the temporary output (written and closed by the caller), asks `cancel` one last
  // time and renames it over the target, or copies it into a device or FIFO in runs between
  // which `cancel` is asked. 0 in place; 1 a write, sync or read failed; -1 cancelled, or the
  // target could not be opened or renamed over (message 78 naming the output). On failure the
  // temporary output is removed and the target is as it was, unless a copy into a device or
  // FIFO had begun.
  int commit(const CancelCheck& cancel = {});
  // Removes an unfinished temporary output; the target is never touched.
  void discard();

 private:
  int put_in_place(const CancelCheck& cancel);
  int write_into_special(const CancelCheck& cancel);

  std::string output_;
  std::string final_;  // the end of the output's links
  std::string temporary_;
  bool special_ = false;  // a device or FIFO, written into
  bool fifo_ = false;
};

}  // namespace tsn
