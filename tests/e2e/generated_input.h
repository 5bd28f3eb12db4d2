// Generated polyline shapefiles for the end-to-end tests that need many records.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "input/shapefile_builder.h"
#include "support/scratch_dir.h"

namespace tsn::test {

// Writes name.shp and name.shx with `records` polylines of ten vertices each. A child process
// builds them, so that the memory it takes is never this process's.
inline bool write_polyline_file(const ScratchDir& d, int records, const std::string& name) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::vector<std::string> contents;
    for (int r = 0; r < records; ++r) {
      Part part;
      for (int k = 0; k < 10; ++k) part.push_back({r * 0.5 + k * 0.7, (k % 3) * 1.3 + r % 97, 0});
      contents.push_back(multipart_content(3, {part}));
    }
    write_shapefile(d, build_shapefile(3, contents), true, name);
    ::_exit(0);
  }
  int status = 0;
  return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

}  // namespace tsn::test
