// Editing the colours of one scheme with undo and redo: every change is recorded in an edit
// log of at most 220 commands, and refused edits come back as the message to show.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "settings/colour_lists.h"

namespace tsn {

// Command codes of the edit log.
enum class SchemeEdit : int {
  set_colour = 1,   // value: entry, second: the colour it had (swapped on undo and redo)
  select = 2,       // value: old selection, second: new selection
  insert = 198,     // value: entry, second: the inserted colour
  remove = 346,     // value: entry, second: its colour
  move_up = 5000,   // value: entry moved
  move_down = 5001, // value: entry moved
};

struct SchemeEditCommand {
  SchemeEdit code = SchemeEdit::select;
  int value = 0;
  int second = 0;
};

inline constexpr std::size_t kEditLogSize = 220;
inline constexpr std::size_t kEditLogDropped = 20;  // dropped from the front when it fills

// Each operation returns the message for the dialog's error line, empty when there is none.
// Operations on an entry that does not exist change nothing and record nothing.
class SchemeColourEditor {
 public:
  explicit SchemeColourEditor(ColourList list) : list_(std::move(list)) {}

  const ColourList& list() const { return list_; }
  std::size_t selection() const { return selection_; }
  std::size_t position() const { return position_; }
  std::size_t end() const { return end_; }

  std::string set_colour(std::size_t entry, std::uint8_t colour);
  std::string select(std::size_t entry);
  // Inserts the colour before the selected entry (at the end of an empty list); the new entry
  // becomes the selection. Refused with message 224 when the list holds 1024 colours.
  std::string insert(std::uint8_t colour);
  // Deletes the selected entry; refused with message 223 when it is the only one.
  std::string remove();
  // Moves the selected entry and the selection with it; nothing at the first (last) entry.
  std::string move_up();
  std::string move_down();
  // Message 225 at the start of the log, 226 at its end.
  std::string undo();
  std::string redo();

 private:
  void record(SchemeEditCommand command);
  // Does the command, or undoes it; a colour change swaps the colour kept in the command with
  // the entry's, so the same log entry serves undo and redo.
  void apply(SchemeEditCommand& command);
  void reverse(SchemeEditCommand& command);

  ColourList list_;
  std::size_t selection_ = 0;
  std::array<SchemeEditCommand, kEditLogSize> log_{};
  std::size_t position_ = 0;
  std::size_t end_ = 0;
};

}  // namespace tsn
