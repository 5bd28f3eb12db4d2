// The colour list of one scheme under edit, and its undo and redo log.
#include "settings/scheme_colour_editor.h"

#include <algorithm>
#include <utility>

#include "platform/format.h"
#include "platform/string_table.h"

namespace tsn {

namespace {

constexpr int kNeedsOneColour = 223;
constexpr int kSchemeFull = 224;
constexpr int kCannotUndo = 225;
constexpr int kCannotRedo = 226;

std::ptrdiff_t at(int entry) { return static_cast<std::ptrdiff_t>(entry); }
std::size_t index(int entry) { return static_cast<std::size_t>(entry); }

}  // namespace

std::string SchemeColourEditor::set_colour(std::size_t entry, std::uint8_t colour) {
  if (entry >= list_.colours.size()) return {};
  SchemeEditCommand command{SchemeEdit::set_colour, static_cast<int>(entry), colour};
  apply(command);
  record(command);
  return {};
}

std::string SchemeColourEditor::select(std::size_t entry) {
  if (entry >= list_.colours.size()) return {};
  SchemeEditCommand command{SchemeEdit::select, static_cast<int>(selection_),
                            static_cast<int>(entry)};
  apply(command);
  record(command);
  return {};
}

std::string SchemeColourEditor::insert(std::uint8_t colour) {
  if (list_.colours.size() >= kMaxColours) {
    return format_printf(load_text(kSchemeFull).c_str(), static_cast<long>(kMaxColours));
  }
  SchemeEditCommand command{SchemeEdit::insert, static_cast<int>(selection_), colour};
  apply(command);
  record(command);
  return {};
}

std::string SchemeColourEditor::remove() {
  if (list_.colours.size() <= 1) return load_text(kNeedsOneColour);
  SchemeEditCommand command{SchemeEdit::remove, static_cast<int>(selection_),
                            list_.colours[selection_]};
  apply(command);
  record(command);
  return {};
}

std::string SchemeColourEditor::move_up() {
  if (selection_ == 0 || selection_ >= list_.colours.size()) return {};
  SchemeEditCommand command{SchemeEdit::move_up, static_cast<int>(selection_), 0};
  apply(command);
  record(command);
  return {};
}

std::string SchemeColourEditor::move_down() {
  if (selection_ + 1 >= list_.colours.size()) return {};
  SchemeEditCommand command{SchemeEdit::move_down, static_cast<int>(selection_), 0};
  apply(command);
  record(command);
  return {};
}

std::string SchemeColourEditor::undo() {
  if (position_ == 0) return load_text(kCannotUndo);
  --position_;
  reverse(log_[position_]);
  return {};
}

std::string SchemeColourEditor::redo() {
  if (position_ == end_) return load_text(kCannotRedo);
  apply(log_[position_]);
  ++position_;
  return {};
}

void SchemeColourEditor::record(SchemeEditCommand command) {
  log_[position_] = command;
  ++position_;
  end_ = position_;  // a new command drops whatever could have been redone
  if (end_ == kEditLogSize) {
    std::move(log_.begin() + kEditLogDropped, log_.end(), log_.begin());
    position_ = end_ = kEditLogSize - kEditLogDropped;
  }
}

void SchemeColourEditor::apply(SchemeEditCommand& c) {
  auto& colours = list_.colours;
  switch (c.code) {
    case SchemeEdit::set_colour: {
      const int previous = colours[index(c.value)];
      colours[index(c.value)] = static_cast<std::uint8_t>(c.second);
      c.second = previous;
      break;
    }
    case SchemeEdit::select:
      selection_ = index(c.second);
      break;
    case SchemeEdit::insert:
      colours.insert(colours.begin() + at(c.value), static_cast<std::uint8_t>(c.second));
      selection_ = index(c.value);
      break;
    case SchemeEdit::remove:
      colours.erase(colours.begin() + at(c.value));
      selection_ = std::min(index(c.value), colours.size() - 1);
      break;
    case SchemeEdit::move_up:
      std::swap(colours[index(c.value) - 1], colours[index(c.value)]);
      selection_ = index(c.value) - 1;
      break;
    case SchemeEdit::move_down:
      std::swap(colours[index(c.value)], colours[index(c.value) + 1]);
      selection_ = index(c.value) + 1;
      break;
  }
}

void SchemeColourEditor::reverse(SchemeEditCommand& c) {
  auto& colours = list_.colours;
  switch (c.code) {
    case SchemeEdit::set_colour:
      apply(c);  // swapping back is the same swap
      return;
    case SchemeEdit::select:
      selection_ = index(c.value);
      return;
    case SchemeEdit::insert:
      colours.erase(colours.begin() + at(c.value));
      break;
    case SchemeEdit::remove:
      colours.insert(colours.begin() + at(c.value), static_cast<std::uint8_t>(c.second));
      break;
    case SchemeEdit::move_up:
      std::swap(colours[index(c.value) - 1], colours[index(c.value)]);
      break;
    case SchemeEdit::move_down:
      std::swap(colours[index(c.value)], colours[index(c.value) + 1]);
      break;
  }
  selection_ = index(c.value);  // every other command acted on the entry then selected
}

}  // namespace tsn
