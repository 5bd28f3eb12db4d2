// The check of the output location before a conversion.
#include "run/output_location.h"

#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "platform/format.h"
#include "platform/host.h"
#include "platform/output_target.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "run/messages.h"
#include "settings/settings_files.h"

namespace tsn {

namespace {

constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;

// Read-only mounts and CD/DVD file systems are refused like a CD-ROM drive.
bool on_read_only_medium(const std::string& dir) {
  struct statvfs vfs {};
  if (statvfs(dir.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0) return true;
  struct statfs fs {};
  if (statfs(dir.c_str(), &fs) != 0) return false;
  const long type = static_cast<long>(fs.f_type);
  return type == kIso9660Magic || type == kUdfMagic;
}

}  // namespace

int check_output_location(const std::string& output_path) {
  // A device or FIFO is written into, not replaced: its directory (/dev) need not take a new
  // file, only the file itself must be writable.
  const OutputTarget target = resolve_output_target(output_path);
  if (target.kind == OutputKind::special) {
    if (::access(target.path.c_str(), W_OK) == 0) return 0;
    show_message(7, format_printf(load_text(78).c_str(), output_path.c_str()),
                 Icon::warning);
    return -1;
  }
  // A symbolic link is written through: the file goes beside the link's target.
  std::string dir(directory_of(target.path));
  if (dir.empty()) dir = "./";
  if (on_read_only_medium(dir)) {
    show_message(7, format_printf(load_text(200).c_str(), output_path.c_str()), Icon::warning);
    return -1;
  }
  if (!directory_is_writable(dir)) {
    show_message(7, format_printf(load_text(177).c_str(), dir.c_str()), Icon::warning);
    return -1;
  }
  return 0;
}

}  // namespace tsn
