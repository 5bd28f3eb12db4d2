// Field values and names converted into the drawing's code page as they are read.
#include "input/transcoding_table.h"

#include <utility>

namespace tsn {

TranscodingTable::TranscodingTable(std::unique_ptr<TableReader> table,
                                   std::unique_ptr<TextTranscoder> transcoder)
    : table_(std::move(table)), transcoder_(std::move(transcoder)), fields_(table_->fields()) {
  // A delimited table's byte-order mark is not part of its first field's name.
  if (!fields_.empty() && fields_[0].name.rfind("\xEF\xBB\xBF", 0) == 0) {
    fields_[0].name.erase(0, 3);
  }
  for (dbf_field& f : fields_) {
    std::string name;
    transcoder_->append(f.name, name);
    f.name = std::move(name);
  }
  values_.resize(fields_.size());
  converted_.assign(fields_.size(), 0);
}

void TranscodingTable::forget_record() { converted_.assign(fields_.size(), 0); }

int TranscodingTable::begin_record() {
  forget_record();
  return table_->begin_record();
}

int TranscodingTable::skip_record() {
  forget_record();
  return table_->skip_record();
}

int TranscodingTable::rewind() {
  forget_record();
  invalid_values_ = invalid_values();
  invalid_this_pass_ = 0;
  return table_->rewind();
}

std::string_view TranscodingTable::read_field(int i) {
  if (i < 0 || i >= static_cast<int>(fields_.size())) return {};
  const auto k = static_cast<std::size_t>(i);
  if (converted_[k] == 0) {
    const std::string_view raw = table_->read_field(i);
    // Most values are ASCII, the same in every encoding: the table's own view serves (it lives
    // as long as ours, until the next record).
    if (is_ascii(raw)) return raw;
    values_[k].clear();
    if (transcoder_->append(raw, values_[k]) > 0) ++invalid_this_pass_;
    converted_[k] = 1;
  }
  return values_[k];
}

}  // namespace tsn
