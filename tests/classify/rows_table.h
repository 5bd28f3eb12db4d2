// A table held in memory for classification tests: its fields and its rows as texts.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "input/table_reader.h"

namespace tsn {

class RowsTable final : public TableReader {
 public:
  RowsTable(std::vector<dbf_field> fields, std::vector<std::vector<std::string>> rows)
      : fields_(std::move(fields)), rows_(std::move(rows)) {}
  // One text field NAME.
  explicit RowsTable(const std::vector<std::string>& names) : fields_{{'C', 0, "NAME", 20}} {
    for (const std::string& n : names) rows_.push_back({n});
  }
  const std::vector<dbf_field>& fields() const override { return fields_; }
  long record_count() const override { return static_cast<long>(rows_.size()); }
  void save_record_position() override { saved_ = next_; }
  int begin_record() override {
    if (saved_ >= rows_.size()) return -1;
    current_ = saved_;
    next_ = saved_ + 1;
    return 0;
  }
  std::string_view read_field(int i) override {
    const auto& row = rows_[current_];
    return i >= 0 && static_cast<std::size_t>(i) < row.size() ? std::string_view(row[static_cast<std::size_t>(i)])
                                                              : std::string_view();
  }
  int skip_record() override {
    ++next_;
    return 0;
  }
  int rewind() override {
    next_ = 0;
    return 0;
  }
  // Begins row n.
  void begin(std::size_t n) {
    next_ = n;
    save_record_position();
    (void)begin_record();
  }

 private:
  std::vector<dbf_field> fields_;
  std::vector<std::vector<std::string>> rows_;
  std::size_t next_ = 0, saved_ = 0, current_ = 0;
};

}  // namespace tsn
