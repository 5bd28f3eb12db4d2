// A merge group of a command file: the inputs of the commands between "/G" and "/O path" go
// into one drawing of the drawing database, which the "/O" line saves to its path.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dwg/database_writer.h"
#include "run/command_line.h"
#include "run/conv_state.h"

namespace tsn {

class MergeGroup {
 public:
  MergeGroup() = default;
  MergeGroup(const MergeGroup&) = delete;
  MergeGroup& operator=(const MergeGroup&) = delete;

  // The group's drawing readied for one more input: opened by the group's first input (whose
  // release the whole group keeps), made ready for the labels of a later one. Null after the
  // failure was said.
  DatabaseWriter* writer_for(const ConvSettings& s, bool table_open);
  // A member's input was converted into the drawing.
  void add_member(const ConversionRequest& request);
  // The release (verDXF) of the group's drawing; -1 before its first input.
  int release() const { return writer_ ? release_ : -1; }
  int members() const { return static_cast<int>(members_.size()); }
  bool started() const { return writer_ != nullptr; }

  // The closing "/O path" line: saves the drawing to `output_path` as DWG or DXF by the path's
  // extension, in the group's release, unless the path is one of the group's inputs or its
  // directory cannot be written. The group is over afterwards, saved or not. 0 saved; -1
  // refused, cancelled or with nothing to save; 1 the save failed (each said).
  int close(ConvState& state, const std::string& output_path);
  // Gives up the drawing: nothing is written and the temporary files are removed.
  void abandon();

 private:
  std::unique_ptr<DatabaseWriter> writer_;
  int release_ = -1;
  std::vector<ConversionRequest> members_;
};

}  // namespace tsn
