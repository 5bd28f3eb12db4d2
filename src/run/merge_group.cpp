// The drawing of a merge group, from its first input to its save.
#include "run/merge_group.h"

#include "dwg/dwg_session.h"
#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "run/output_location.h"
#include "run/output_safety.h"

namespace tsn {

DatabaseWriter* MergeGroup::writer_for(const ConvSettings& s, bool table_open) {
  if (writer_) return writer_->add_input(table_open) == 0 ? writer_.get() : nullptr;
  auto writer = std::make_unique<DatabaseWriter>(s);
  if (writer->start(s.temp_dir, s.program_dir + std::string(kInitFileName), table_open) != 0) {
    return nullptr;
  }
  writer_ = std::move(writer);
  release_ = s.verDXF;
  return writer_.get();
}

void MergeGroup::add_member(const ConversionRequest& request) { members_.push_back(request); }

void MergeGroup::abandon() {
  writer_.reset();
  members_.clear();
  release_ = -1;
}

int MergeGroup::close(ConvState& state, const std::string& output_path) {
  // The group is over whatever happens here: its drawing goes when this returns.
  std::unique_ptr<DatabaseWriter> writer = std::move(writer_);
  const std::vector<ConversionRequest> members = std::move(members_);
  const int release = release_;
  abandon();
  if (!writer) {
    status_error(format_printf("\nError: The merge group closed by /O %s holds no input; "
                               "nothing was written.",
                               output_path.c_str()));
    return -1;
  }
  // The inputs were all read, but the output must still not replace one of them.
  for (ConversionRequest member : members) {
    member.output_path = output_path;
    if (refuse_output_over_input(member) != 0) return -1;
  }
  if (check_output_location(output_path) != 0) return -1;
  ConvSettings& s = state.settings;
  s.SaveFileType = save_file_type_for(output_path, s.SaveFileType);
  s.verDXF = release;
  status_write("\nMerge group: %d source files into %s", static_cast<int>(members.size()),
               output_path.c_str());
  host().set_busy(true);
  int result = writer->set_output(output_path);
  if (result == 0) result = writer->finish(cancel_confirmed);
  host().set_busy(false);
  if (result == 0) report_late_cancel(output_path);
  return result;
}

}  // namespace tsn
