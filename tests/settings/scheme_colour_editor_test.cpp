// Editing one scheme's colours: every command undone and redone exactly, the ends of the
// edit log, its trimming, and the refused edits with their messages.
#include "settings/scheme_colour_editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/string_table.h"

namespace tsn {
namespace {

using Colours = std::vector<std::uint8_t>;

SchemeColourEditor editor_of(Colours colours) {
  return SchemeColourEditor(ColourList{std::move(colours), true});
}

TEST(SchemeColourEditor, TheLogEndsGiveTheirMessages) {
  SchemeColourEditor e = editor_of({1, 2, 3});
  EXPECT_EQ(e.undo(), load_text(225));
  EXPECT_EQ(e.redo(), load_text(226));
  EXPECT_EQ(e.undo(), "Cannot undo any further");
  EXPECT_EQ(e.set_colour(1, 9), "");
  EXPECT_EQ(e.redo(), "Cannot redo any further");
  EXPECT_EQ(e.undo(), "");
  EXPECT_EQ(e.undo(), load_text(225));
  EXPECT_EQ(e.list().colours, (Colours{1, 2, 3}));
}

// Each command from the same start: undo gives back the list and selection exactly, redo the
// edited ones, and a second undo/redo cycle still agrees.
TEST(SchemeColourEditor, EveryCommandUndoesAndRedoesExactly) {
  struct Case {
    const char* name;
    std::function<std::string(SchemeColourEditor&)> edit;
    Colours after;
    std::size_t selection_after;
  };
  const std::vector<Case> cases = {
      {"set colour", [](SchemeColourEditor& e) { return e.set_colour(2, 200); }, {10, 20, 200, 40}, 1},
      {"select", [](SchemeColourEditor& e) { return e.select(3); }, {10, 20, 30, 40}, 3},
      {"insert", [](SchemeColourEditor& e) { return e.insert(99); }, {10, 99, 20, 30, 40}, 1},
      {"delete", [](SchemeColourEditor& e) { return e.remove(); }, {10, 30, 40}, 1},
      {"move up", [](SchemeColourEditor& e) { return e.move_up(); }, {20, 10, 30, 40}, 0},
      {"move down", [](SchemeColourEditor& e) { return e.move_down(); }, {10, 30, 20, 40}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SchemeColourEditor e = editor_of({10, 20, 30, 40});
    ASSERT_EQ(e.select(1), "");
    ASSERT_EQ(c.edit(e), "");
    EXPECT_EQ(e.list().colours, c.after);
    EXPECT_EQ(e.selection(), c.selection_after);
    for (int round = 0; round < 2; ++round) {
      ASSERT_EQ(e.undo(), "");
      EXPECT_EQ(e.list().colours, (Colours{10, 20, 30, 40}));
      EXPECT_EQ(e.selection(), 1u);
      ASSERT_EQ(e.redo(), "");
      EXPECT_EQ(e.list().colours, c.after);
      EXPECT_EQ(e.selection(), c.selection_after);
    }
    EXPECT_TRUE(e.list().graded);
  }
}

TEST(SchemeColourEditor, ASequenceUndoesBackToTheStart) {
  SchemeColourEditor e = editor_of({5, 6, 7});
  e.select(2);
  e.remove();        // 5 6, selection 1
  e.insert(8);       // 5 8 6
  e.move_up();       // 8 5 6
  e.set_colour(2, 1);
  EXPECT_EQ(e.list().colours, (Colours{8, 5, 1}));
  EXPECT_EQ(e.position(), 5u);
  while (e.undo().empty()) {
  }
  EXPECT_EQ(e.list().colours, (Colours{5, 6, 7}));
  EXPECT_EQ(e.selection(), 0u);
  while (e.redo().empty()) {
  }
  EXPECT_EQ(e.list().colours, (Colours{8, 5, 1}));
  // A new command after an undo drops what could have been redone.
  e.undo();
  e.undo();
  e.select(1);
  EXPECT_EQ(e.end(), 4u);
  EXPECT_EQ(e.redo(), load_text(226));
}

TEST(SchemeColourEditor, TheLogKeepsItsLatest200WhenItFills) {
  SchemeColourEditor e = editor_of({0, 0});
  for (std::size_t i = 0; i < kEditLogSize - 1; ++i) e.set_colour(0, static_cast<std::uint8_t>(i));
  EXPECT_EQ(e.position(), 219u);
  EXPECT_EQ(e.end(), 219u);
  e.set_colour(0, 219);
  EXPECT_EQ(e.position(), 200u);
  EXPECT_EQ(e.end(), 200u);
  int undone = 0;
  while (e.undo().empty()) ++undone;
  EXPECT_EQ(undone, 200);
  EXPECT_EQ(e.list().colours[0], 19);  // the colour before the oldest command still logged
}

TEST(SchemeColourEditor, RefusedAndEmptyEditsChangeNothing) {
  SchemeColourEditor one = editor_of({4});
  EXPECT_EQ(one.remove(), load_text(223));
  EXPECT_EQ(one.remove(), "Color Scheme must have at least 1 member");
  EXPECT_EQ(one.list().colours, Colours{4});

  SchemeColourEditor full = editor_of(Colours(kMaxColours, 3));
  EXPECT_EQ(full.insert(9), "Maximum number of colors (1024) for Color Scheme reached");
  EXPECT_EQ(full.list().colours.size(), kMaxColours);

  SchemeColourEditor e = editor_of({1, 2, 3});
  EXPECT_EQ(e.move_up(), "");  // at the first entry
  e.select(2);
  EXPECT_EQ(e.move_down(), "");  // at the last entry
  EXPECT_EQ(e.set_colour(3, 9), "");
  EXPECT_EQ(e.select(3), "");
  EXPECT_EQ(e.list().colours, (Colours{1, 2, 3}));
  EXPECT_EQ(e.selection(), 2u);
  EXPECT_EQ(e.position(), 1u);  // only the selection was logged
}

}  // namespace
}  // namespace tsn
