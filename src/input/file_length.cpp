// The check of a header's file length against the real size of the file.
#include "input/file_length.h"

#include <string>

#include "platform/format.h"
#include "platform/host.h"
#include "platform/string_table.h"

namespace tsn {

namespace {

// The question names the file kind; the shapefile's text is the numbered message.
std::string mismatch_question(CheckedFile which, std::int64_t real, std::int64_t header) {
  const char* kind = which == CheckedFile::shx ? "the Index file" : "the dBase file";
  if (which == CheckedFile::shp) return format_printf(load_text(249).c_str(), long(real), long(header));
  return format_printf(
      "The actual file length of %s (%ld) does not match\n the file length given in its Header "
      "(%ld)\nThis would indicate that the file is corrupt.\n\nContinue anyway?",
      kind, long(real), long(header));
}

}  // namespace

int check_file_length(CheckedFile which, std::int64_t real_size, bool ask,
                      std::int64_t& header_length) {
  if (real_size == header_length) return 0;
  if (which == CheckedFile::dbf && header_length == real_size + 1) return 0;
  if (ask) {
    const Answer answer =
        host().message_box(load_text(247), mismatch_question(which, real_size, header_length),
                           Icon::warning, Buttons::yes_no, Answer::yes);
    if (answer != Answer::yes) return -1;
  }
  header_length = real_size;
  return 0;
}

}  // namespace tsn
