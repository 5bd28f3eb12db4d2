// The scheme editor and Text Styles dialogs: every colour edit goes through the edit log with
// its messages on the error line; OK writes the schemes and styles files and Cancel leaves them
// byte for byte; refused names and failed writes keep the dialog open.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/paths.h"
#include "platform/profile.h"
#include "settings/text_styles.h"
#include "support/scratch_dir.h"
#include "ui/colour_grid.h"
#include "ui/colour_swatch.h"
#include "ui/scheme_dialogs.h"
#include "ui/styles_dialog.h"

namespace tsn::ui {

namespace {

using Colours = std::vector<std::uint8_t>;

constexpr const char* kColours =
    "[ColorSchemes]\nNumSchemes=4\n0=Warm\n1=Cold\n2=Grey\n3=Single\n"
    "[Warm]\nGrad=1\n0=10,20,30\n[Cold]\nGrad=0\n0=150,170\n[Grey]\nGrad=0\n0=250,251\n"
    "[Single]\nGrad=0\n0=5\n";
constexpr const char* kStyles = "[Styles]\nSTANDARD=txt\nROMANS=romans\n[Other]\nkeep=1\n";

QString shot(const char* name) { return QString(TSN_SCREENSHOT_DIR) + "/" + name; }

// Settings over a scratch folder holding the two files.
struct Files {
  test::ScratchDir dir;
  ConvSettings s;
  explicit Files(const std::string& styles = kStyles) {
    test::write_file(dir / "colors.ini", kColours);
    test::write_file(dir / "styles.ini", styles);
    s.colours_file = (dir / "colors.ini").string();
    s.styles_file = (dir / "styles.ini").string();
    load_scheme_names(s);
    load_text_styles(s);
  }
  std::string colours() const { return test::read_file(dir / "colors.ini"); }
  std::string styles() const { return test::read_file(dir / "styles.ini"); }
};

// Answers the next modal dialog of type D while the caller's click runs it.
template <typename D>
void answer(std::function<void(D&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = dynamic_cast<D*>(QApplication::activeModalWidget());
    if (dialog == nullptr) qFatal("the expected dialog did not open");
    act(*dialog);
  });
}

template <typename Widget>
Widget* child(QWidget& w, const char* name) {
  auto* found = w.findChild<Widget*>(name);
  if (found == nullptr) qFatal("no widget %s", name);
  return found;
}

void press(QWidget& dialog, const char* name) {
  QTest::mouseClick(child<QPushButton>(dialog, name), Qt::LeftButton);
}

void pick(QWidget& dialog, int entry) {
  auto* grid = child<ColourGrid>(dialog, "colours");
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cell_rect(entry).center());
}

// One step of a colour edit: a button, "pick" an entry, or "change" its colour to `value`.
struct Step {
  const char* what;
  int value = 0;
};

void run(SchemeColoursDialog& dialog, const Step& step) {
  const std::string what = step.what;
  if (what == "pick") {
    pick(dialog, step.value);
  } else if (what == "change") {
    answer<ColourPicker>([value = step.value](ColourPicker& picker) {
      picker.set_number_text(QString::number(value));
      picker.accept();
    });
    press(dialog, "change");
  } else {
    press(dialog, step.what);
  }
}

}  // namespace

class SchemeDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  // Each button reaches its edit and its message; the edit log itself has tests of its own.
  void colourEditsAndTheirMessages() {
    const struct {
      std::size_t scheme;
      std::vector<Step> steps;
      Colours colours;
      std::size_t selection;
      QString error;
    } cases[] = {
        {0, {{"undo"}}, {10, 20, 30}, 0, "Cannot undo any further"},
        {0, {{"redo"}}, {10, 20, 30}, 0, "Cannot redo any further"},
        {3, {{"delete"}}, {5}, 0, "Color Scheme must have at least 1 member"},
        {0, {{"pick", 1}, {"insert"}, {"change", 99}}, {10, 99, 20, 30}, 1, ""},
        {0, {{"pick", 1}, {"insert"}, {"change", 99}, {"undo"}, {"undo"}}, {10, 20, 30}, 1, ""},
        {0,
         {{"pick", 1}, {"insert"}, {"change", 99}, {"undo"}, {"undo"}, {"redo"}, {"redo"}},
         {10, 99, 20, 30}, 1, ""},
        {0, {{"pick", 0}, {"down"}, {"down"}, {"up"}}, {20, 10, 30}, 1, ""},
        // A message goes once the next edit succeeds.
        {3, {{"delete"}, {"insert"}}, {5, 5}, 0, ""},
    };
    for (const auto& c : cases) {
      Files f;
      SchemeEditor editor(f.s);
      QVERIFY(editor.begin());
      SchemeColoursDialog dialog(nullptr, editor, c.scheme, {});
      dialog.show();
      for (const Step& step : c.steps) run(dialog, step);
      QCOMPARE(dialog.editor().list().colours, c.colours);
      QCOMPARE(dialog.editor().selection(), c.selection);
      QCOMPARE(dialog.error_text(), c.error);
      QVERIFY(dialog.isVisible());
      QCOMPARE(child<ColourGrid>(dialog, "colours")->colours(), c.colours);
      QCOMPARE(child<ColourGrid>(dialog, "colours")->selected(), static_cast<int>(c.selection));
    }
  }

  void okWritesTheSchemesFile() {
    Files f;
    f.s.cur.DefaultColorSet = 1;  // Cold, renamed below, stays the scheme in use
    SchemesDialog dialog(nullptr, f.s, {});
    dialog.show();
    QVERIFY(dialog.editing());
    auto* list = child<QListWidget>(dialog, "schemes");
    QCOMPARE(list->count(), 5);
    QCOMPARE(list->item(4)->text(), QString("AutoCAD Mapping"));
    list->setCurrentRow(4);
    QVERIFY(!child<QPushButton>(dialog, "colours")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "rename")->isEnabled());
    list->setCurrentRow(0);
    QCOMPARE(child<ColourGrid>(dialog, "strip")->colours(), (Colours{10, 20, 30}));

    answer<SchemeColoursDialog>([](SchemeColoursDialog& colours) {
      pick(colours, 0);
      press(colours, "delete");
      child<QCheckBox>(colours, "graded")->setChecked(false);
      colours.grab().save(shot("scheme_colours_dialog.png"));
      colours.accept();
    });
    press(dialog, "colours");
    QCOMPARE(child<ColourGrid>(dialog, "strip")->colours(), (Colours{20, 30}));
    answer<SchemeNameDialog>([](SchemeNameDialog& name) {
      child<QLineEdit>(name, "scheme_name")->setText("Sea");
      name.grab().save(shot("scheme_name_dialog.png"));
      name.accept();
    });
    press(dialog, "new");  // a copy of Warm as it is now
    list->setCurrentRow(1);
    answer<SchemeNameDialog>([](SchemeNameDialog& name) {
      child<QLineEdit>(name, "scheme_name")->setText("Ice");
      name.accept();
    });
    press(dialog, "rename");
    list->setCurrentRow(2);
    press(dialog, "delete");  // Grey
    QCOMPARE(f.colours(), std::string(kColours));  // nothing written before OK
    dialog.grab().save(shot("schemes_dialog.png"));
    dialog.accept();
    QVERIFY(!dialog.isVisible());

    ConvSettings fresh;
    fresh.colours_file = f.s.colours_file;
    load_scheme_names(fresh);
    QCOMPARE(fresh.scheme_names, (std::vector<std::string>{"Warm", "Ice", "Single", "Sea"}));
    Profile back;
    back.select_file(f.s.colours_file);
    const struct {
      const char* name;
      Colours colours;
      bool graded;
    } schemes[] = {{"Warm", {20, 30}, false}, {"Ice", {150, 170}, false},
                   {"Single", {5}, false}, {"Sea", {20, 30}, false}};
    for (const auto& scheme : schemes) {
      const ColourList read = read_colour_list(back, scheme.name);
      QCOMPARE(read.colours, scheme.colours);
      QCOMPARE(read.graded, scheme.graded);
    }
    QVERIFY(!ProfileDocument::load(f.s.colours_file).has_section("Grey"));
    QCOMPARE(f.s.cur.DefaultColorSet, 1);  // Ice
  }

  void cancelLeavesTheSchemesFileAsItWas() {
    Files f;
    {
      SchemesDialog dialog(nullptr, f.s, {});
      dialog.show();
      answer<SchemeColoursDialog>([](SchemeColoursDialog& colours) {
        press(colours, "insert");
        colours.accept();
      });
      press(dialog, "colours");
      child<QListWidget>(dialog, "schemes")->setCurrentRow(2);
      press(dialog, "delete");
      dialog.reject();
    }
    QCOMPARE(f.colours(), std::string(kColours));
    QCOMPARE(f.s.scheme_names, (std::vector<std::string>{"Warm", "Cold", "Grey", "Single"}));
  }

  void failedWritesKeepEverything() {
    Files f;
    SchemesDialog dialog(nullptr, f.s, {});
    dialog.show();
    child<QListWidget>(dialog, "schemes")->setCurrentRow(3);
    press(dialog, "delete");
    // The schemes file cannot be replaced while a folder stands in its place.
    std::filesystem::remove(f.dir / "colors.ini");
    std::filesystem::create_directory(f.dir / "colors.ini");
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.error_text().startsWith("Cannot write "));
    std::filesystem::remove(f.dir / "colors.ini");
    test::write_file(f.dir / "colors.ini", kColours);
    dialog.accept();
    QVERIFY(!dialog.isVisible());
    ConvSettings fresh;
    fresh.colours_file = f.s.colours_file;
    QCOMPARE(load_scheme_names(fresh), 3);

    // Without a working copy nothing can be edited, and OK writes nothing.
    ConvSettings nowhere;
    nowhere.colours_file = (f.dir / "missing" / "colors.ini").string();
    SchemesDialog stuck(nullptr, nowhere, {});
    stuck.show();
    QVERIFY(!stuck.editing());
    QVERIFY(stuck.error_text().startsWith("Cannot write "));
    QVERIFY(!child<QPushButton>(stuck, "new")->isEnabled());
    stuck.accept();
    QVERIFY(!stuck.isVisible());
    QVERIFY(!std::filesystem::exists(f.dir / "missing"));
  }

  void refusedSchemeNamesKeepTheDialogOpen() {
    const struct {
      const char* name;
      std::size_t except;
      QString error;  // empty: accepted
    } cases[] = {
        {"", SIZE_MAX, "Name cannot be blank, reenter"},
        {"  ", SIZE_MAX, "Name cannot be blank, reenter"},
        {"cold", SIZE_MAX, "That name is in use already, enter another"},
        {"AutoCAD Mapping", SIZE_MAX, "That name is in use already, enter another"},
        {"colorschemes", SIZE_MAX, "That name is in use already, enter another"},
        {"warm", 1, "That name is in use already, enter another"},
        {" Pad", SIZE_MAX,
         "A scheme name cannot begin or end with a blank, hold ']' or a line break, or exceed "
         "255 characters"},
        {"a]b", SIZE_MAX,
         "A scheme name cannot begin or end with a blank, hold ']' or a line break, or exceed "
         "255 characters"},
        {"COLD", 1, ""},  // its own name in another case
        {"Sea", SIZE_MAX, ""},
    };
    Files f;
    SchemeEditor editor(f.s);
    QVERIFY(editor.begin());
    for (const auto& c : cases) {
      SchemeNameDialog dialog(nullptr, editor, c.except, "", {});
      dialog.show();
      child<QLineEdit>(dialog, "scheme_name")->setText(c.name);
      dialog.accept();
      QCOMPARE(dialog.isVisible(), !c.error.isEmpty());
      QCOMPARE(dialog.error_text(), c.error);
      if (c.error.isEmpty()) QCOMPARE(dialog.name(), std::string(c.name));
    }
  }

  void textStylesEditedAndWritten() {
    // One step: select `row` (-1: leave), type name and font (nullptr: leave), press `button`.
    struct StyleStep {
      int row;
      const char* name;
      const char* font;
      const char* button;
    };
    std::string full = "[Styles]\n";
    for (int i = 0; i < kMaxTextStyles; ++i) full += "S" + std::to_string(i) + "=txt\n";
    const TextStyles two = {{"STANDARD", "txt"}, {"ROMANS", "romans"}};
    const struct {
      std::string file;
      std::vector<StyleStep> steps;
      QString error;      // empty: OK closes
      TextStyles styles;  // read back from the file afterwards
      int label_style;    // where the labels' style ROMANS ends
    } cases[] = {
        {kStyles, {{-1, "ARIAL", "arial.ttf", "new"}}, "",
         {{"STANDARD", "txt"}, {"ROMANS", "romans"}, {"ARIAL", "arial.ttf"}}, 1},
        {kStyles, {{1, " ROMANC ", "romanc", "edit"}}, "",
         {{"STANDARD", "txt"}, {"ROMANC", "romanc"}}, 0},
        {kStyles, {{1, nullptr, nullptr, "delete"}}, "", {{"STANDARD", "txt"}}, 0},
        {kStyles, {{-1, "romans", "x", "new"}}, "A text style named ROMANS exists already", two,
         1},
        {kStyles, {{0, "Romans", "txt", "edit"}}, "A text style named ROMANS exists already",
         two, 1},
        {kStyles, {{1, "Romans", "romans", "edit"}}, "",
         {{"STANDARD", "txt"}, {"Romans", "romans"}}, 1},
        {kStyles, {{-1, "a=b", "x", "new"}},
         "A style name cannot begin with '[' or ';', or hold '=' or a line break", two, 1},
        {kStyles, {{-1, "NEW", " ", "new"}}, "Font file cannot be blank, reenter", two, 1},
        {kStyles, {{0, nullptr, nullptr, "delete"}, {0, nullptr, nullptr, "delete"}},
         "At least one text style must remain", {{"ROMANS", "romans"}}, 0},
        {full, {{-1, "ONE_MORE", "txt", "new"}}, "No more than 74 text styles can be kept", {},
         0},
    };
    for (const auto& c : cases) {
      Files f(c.file);
      const std::string before = f.styles();
      f.s.cur.TextLabelsStyle = "ROMANS";
      resolve_style_indices(f.s);
      StylesDialog dialog(nullptr, f.s, {}, 221);
      dialog.show();
      auto* list = child<QTreeWidget>(dialog, "styles");
      for (const StyleStep& step : c.steps) {
        if (step.row >= 0) list->setCurrentItem(list->topLevelItem(step.row));
        if (step.name != nullptr) child<QLineEdit>(dialog, "style_name")->setText(step.name);
        if (step.font != nullptr) child<QLineEdit>(dialog, "font_file")->setText(step.font);
        press(dialog, step.button);
      }
      QCOMPARE(dialog.error_text(), c.error);
      if (c.styles.empty()) continue;  // the full list: the refusal is the point
      if (c.error.isEmpty()) dialog.grab().save(shot("styles_dialog.png"));
      dialog.accept();
      QVERIFY(!dialog.isVisible());
      ConvSettings fresh;
      fresh.styles_file = f.s.styles_file;
      load_text_styles(fresh);
      QCOMPARE(fresh.text_styles, c.styles);
      QCOMPARE(f.s.text_styles, c.styles);
      if (c.styles == two) QCOMPARE(f.styles(), before);  // nothing changed, nothing written
      QCOMPARE(ProfileDocument::load(f.s.styles_file).get("Other", "keep"),
               std::optional<std::string>("1"));
      // A label style that is gone becomes the first style.
      QCOMPARE(f.s.label_style, c.label_style);
      QVERIFY(equal_ignoring_case(f.s.cur.TextLabelsStyle,
                                  c.styles[static_cast<std::size_t>(c.label_style)].first));
    }
  }

  void textStylesCancelWritesNothing() {
    Files f;
    const std::string before = f.styles();
    StylesDialog dialog(nullptr, f.s, {}, 221);
    dialog.show();
    child<QLineEdit>(dialog, "style_name")->setText("ARIAL");
    press(dialog, "new");
    QCOMPARE(dialog.styles().size(), std::size_t{3});
    dialog.reject();
    QCOMPARE(f.styles(), before);
    QCOMPARE(f.s.text_styles.size(), std::size_t{2});
  }
};

}  // namespace tsn::ui

QTEST_MAIN(tsn::ui::SchemeDialogsTest)
#include "scheme_dialogs_test.moc"
