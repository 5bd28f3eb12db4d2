// A table whose text is read in the drawing's code page: every field value and field name of
// the table it wraps converted from the table's own encoding.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "input/table_reader.h"
#include "platform/text_encoding.h"

namespace tsn {

class TranscodingTable final : public TableReader {
 public:
  // `transcoder` is open (from the table's encoding to the drawing's code page).
  TranscodingTable(std::unique_ptr<TableReader> table, std::unique_ptr<TextTranscoder> transcoder);

  const std::vector<dbf_field>& fields() const override { return fields_; }
  long record_count() const override { return table_->record_count(); }
  void save_record_position() override { table_->save_record_position(); }
  int begin_record() override;
  std::string_view read_field(int i) override;
  int skip_record() override;
  int rewind() override;
  TableReader& underlying() override { return table_->underlying(); }
  const TableReader& underlying() const override { return table_->underlying(); }

  // Values in which a byte sequence invalid in the table's encoding was replaced by U+FFFD,
  // counted over the fullest pass through the table (key values are read in a pass of their
  // own before the records are converted).
  long invalid_values() const { return std::max(invalid_values_, invalid_this_pass_); }

 private:
  void forget_record();

  std::unique_ptr<TableReader> table_;
  std::unique_ptr<TextTranscoder> transcoder_;
  std::vector<dbf_field> fields_;
  std::vector<std::string> values_;  // converted values of the record begun
  std::vector<char> converted_;      // whether values_[i] holds field i of this record
  long invalid_values_ = 0;     // the fullest pass before the current one
  long invalid_this_pass_ = 0;
};

}  // namespace tsn
