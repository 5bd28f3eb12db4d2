// Refusing an output that is the input or one of its companion files.
#include "run/output_safety.h"

#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/paths.h"

namespace tsn {
namespace {

// The same file whatever path names it: one device, one inode.
bool same_file(const struct stat& a, const std::string& path) {
  struct stat b {};
  return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

int refuse_output_over_input(const ConversionRequest& request) {
  struct stat output {};
  // An output that does not exist yet (a dangling link included) cannot be an input.
  if (::stat(request.output_path.c_str(), &output) != 0) return 0;
  if (same_file(output, request.input_path)) {
    show_message(7,
                 format_printf("Error: The output %s is the input file %s; the input was left "
                               "as it is and nothing was converted.",
                               request.output_path.c_str(), request.input_path.c_str()),
                 Icon::warning);
    return -1;
  }
  if (request.input_file_type != 0) return 0;
  for (const char* ext : {"shx", "dbf", "cpg"}) {
    const std::string companion = find_companion(request.input_path, ext);
    if (!same_file(output, companion)) continue;
    show_message(7,
                 format_printf("Error: The output %s is the file %s that belongs to the input "
                               "%s; it was left as it is and nothing was converted.",
                               request.output_path.c_str(), companion.c_str(),
                               request.input_path.c_str()),
                 Icon::warning);
    return -1;
  }
  return 0;
}

}  // namespace tsn
