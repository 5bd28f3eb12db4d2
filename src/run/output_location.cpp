// The check of the output location before a conversion.
#include "run/output_location.h"

#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/output_target.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "settings/settings_files.h"

namespace tsn {

namespace {

constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;
constexpr int kMsgCannotWrite = 177;
constexpr int kMsgReadOnlyMedium = 200;

// CD/DVD file systems, and mounts that are read-only, are refused like a CD-ROM drive.
bool on_read_only_medium(const std::string& dir) {
  struct statvfs vfs {};
  if (statvfs(dir.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0) return true;
  struct statfs fs {};
  if (statfs(dir.c_str(), &fs) != 0) return false;
  const long type = static_cast<long>(fs.f_type);
  return type == kIso9660Magic || type == kUdfMagic;
}

}  // namespace

std::string output_location_problem(const std::string& output_path, const std::string& dir,
                                    int write_error) {
  switch (write_error) {
    case 0:
      return {};
    case EROFS:
      return format_printf(load_text(kMsgReadOnlyMedium).c_str(), output_path.c_str());
    case EACCES:
    case EPERM:
      return "Error: You do not have permission to write in the directory " + dir;
    case ENOENT:
    case ENOTDIR:
      return "Error: The output directory " + dir + " does not exist";
    default:
      return format_printf(load_text(kMsgCannotWrite).c_str(), dir.c_str()) + " (" +
             std::strerror(write_error) + ")";
  }
}

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
  const int error = on_read_only_medium(dir) ? EROFS : directory_write_error(dir);
  if (error == 0) return 0;
  show_message(7, output_location_problem(output_path, dir, error), Icon::warning);
  return -1;
}

}  // namespace tsn
