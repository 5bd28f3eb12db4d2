// Where a drawing really goes: the end of the output's chain of symbolic links, and the kind
// of file found there, which decides whether it is replaced by a rename or written into.
#pragma once

#include <string>

namespace tsn {

enum class OutputKind {
  missing,  // nothing there yet: created by the rename
  regular,  // replaced by the rename
  special,  // a character or block device or a FIFO: written into, never replaced
  other,    // a directory, a socket, a loop of links or a path that cannot be looked at
};

struct OutputTarget {
  std::string path;  // the output with every symbolic link followed; itself when it is none
  OutputKind kind = OutputKind::other;
  bool fifo = false;  // a special file that is a FIFO (its opening waits for a reader)
};

// Follows the symbolic links of `output` one by one, relative ones from the directory of the
// link, so that a dangling link gives the path of the file it names.
OutputTarget resolve_output_target(const std::string& output);

}  // namespace tsn
