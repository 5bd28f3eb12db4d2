// Following an output's symbolic links to the file that is written.
#include "platform/output_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/paths.h"

namespace tsn {
namespace {

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinks = 40;

OutputKind kind_of(mode_t mode) {
  if (S_ISREG(mode)) return OutputKind::regular;
  if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode)) return OutputKind::special;
  return OutputKind::other;
}

}  // namespace

OutputTarget resolve_output_target(const std::string& output) {
  OutputTarget target;
  target.path = output;
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    struct stat st {};
    if (::lstat(target.path.c_str(), &st) != 0) {
      target.kind = errno == ENOENT ? OutputKind::missing : OutputKind::other;
      return target;
    }
    if (!S_ISLNK(st.st_mode)) {
      target.kind = kind_of(st.st_mode);
      target.fifo = S_ISFIFO(st.st_mode);
      return target;
    }
    char link[PATH_MAX];
    const ssize_t n = ::readlink(target.path.c_str(), link, sizeof link);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof link)) break;
    const std::string named(link, static_cast<std::size_t>(n));
    target.path = named.front() == '/' ? named : std::string(directory_of(target.path)) + named;
  }
  target.kind = OutputKind::other;
  return target;
}

}  // namespace tsn
