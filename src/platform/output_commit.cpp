// Syncing a finished temporary output and renaming it over its target, or copying it into a
// device or FIFO, with the last cancellation check before either.
#include "platform/output_commit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/format.h"
#include "platform/messages.h"
#include "platform/output_target.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "platform/temp_files.h"

namespace tsn {
namespace {

constexpr int kMsgCouldNotOpenOutput = 78;

// Bytes copied into a device or FIFO between two cancellation checks.
constexpr std::uint64_t kSpecialRun = 4u << 20;

// Every byte of the file on the disk, however it was written and closed.
bool sync_file(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  return fd.valid() && ::fsync(fd.get()) == 0 && fd.close();
}

}  // namespace

bool cancel_requested(const CancelCheck& cancel) { return cancel ? cancel() : cancel_confirmed(); }

void report_cannot_open(const std::string& path) {
  status_error(format_printf(load_status_text(kMsgCouldNotOpenOutput).c_str(), path.c_str()));
}

int OutputCommit::open(const std::string& output_path) {
  discard();
  output_ = output_path;
  const OutputTarget target = resolve_output_target(output_path);
  final_ = target.path;
  special_ = target.kind == OutputKind::special;
  fifo_ = target.fifo;
  if (target.kind != OutputKind::other) return 0;
  report_cannot_open(output_);
  return 1;
}

int OutputCommit::make_temporary(const std::string& private_dir) {
  discard();
  temporary_ =
      make_temporary_output(special_ ? private_dir + std::string(file_name(final_)) : final_);
  if (!temporary_.empty()) return 0;
  report_cannot_open(output_);
  return 1;
}

void OutputCommit::discard() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

int OutputCommit::commit(const CancelCheck& cancel) {
  if (temporary_.empty()) return -1;
  const int result = put_in_place(cancel);
  if (result != 0) {
    discard();
    return result;
  }
  temporary_.clear();
  return 0;
}

// 0 in place; 1 a write failed; -1 cancelled or not put in place.
int OutputCommit::put_in_place(const CancelCheck& cancel) {
  // Every byte on the disk before the file takes the output's name.
  if (!special_ && !sync_file(temporary_)) return 1;
  // The last moment a cancellation can still keep the earlier output.
  if (cancel_requested(cancel)) return -1;
  if (special_) {
    const int written = write_into_special(cancel);
    if (written == 0) ::unlink(temporary_.c_str());
    return written;
  }
  if (::rename(temporary_.c_str(), final_.c_str()) == 0) return 0;
  report_cannot_open(output_);
  return -1;
}

// The finished file copied into the device or FIFO, in runs between which a cancellation is
// noticed. 0 done, 1 a write failed, -1 cancelled or the target could not be opened.
int OutputCommit::write_into_special(const CancelCheck& cancel) {
  UniqueFd source(::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!source.valid() || ::fstat(source.get(), &st) != 0) return 1;
  // Opening a FIFO waits for its reader: without blocking, so that a cancellation is seen.
  UniqueFd out;
  for (;;) {
    out = UniqueFd(::open(final_.c_str(), O_WRONLY | O_CLOEXEC | (fifo_ ? O_NONBLOCK : 0)));
    if (out.valid() || !fifo_ || errno != ENXIO) break;
    if (cancel_requested(cancel)) return -1;
    ::usleep(20 * 1000);
  }
  if (!out.valid() || (fifo_ && ::fcntl(out.get(), F_SETFL, 0) != 0)) {
    report_cannot_open(output_);
    return -1;
  }
  const auto size = static_cast<std::uint64_t>(st.st_size);
  for (std::uint64_t at = 0; at < size; at += kSpecialRun) {
    if (at > 0 && cancel_requested(cancel)) return -1;
    if (!append_file_range(source.get(), at, out.get(), std::min(kSpecialRun, size - at))) {
      return 1;
    }
  }
  return out.close() ? 0 : 1;
}

}  // namespace tsn
