// The scheme editor's dialogs: the schemes, one scheme's colours, a scheme's name.
#include "ui/scheme_dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/string_table.h"
#include "ui/colour_grid.h"
#include "ui/colour_swatch.h"
#include "ui/dialog_widgets.h"

namespace tsn::ui {

namespace {

constexpr int kHelpSchemes = 275;
constexpr int kMappingSchemeText = 267;
constexpr int kNeedsOneColour = 223;
constexpr int kNewColour = 7;  // what an empty list starts from
constexpr int kGridColumns = 32;
constexpr int kEditCell = 14;
constexpr int kStripCell = 10;
constexpr int kVisibleRows = 8;  // more rows scroll

QPushButton* button(QWidget* parent, const QString& caption, const char* name) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);  // Enter stays OK
  return b;
}

QScrollArea* scroller(QWidget* parent, ColourGrid* grid, int cell) {
  auto* area = new QScrollArea(parent);
  area->setWidget(grid);
  area->setWidgetResizable(false);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setFixedHeight(kVisibleRows * cell + 2 * area->frameWidth() + 1);
  area->setMinimumWidth(kGridColumns * cell + 2 * area->frameWidth() + 20);
  return area;
}

QString cannot_write(const std::string& file) { return qtext("Cannot write " + file); }

}  // namespace

SchemeNameDialog::SchemeNameDialog(QWidget* parent, const SchemeEditor& editor,
                                   std::size_t except, const QString& name, HelpOpener help)
    : OptionDialog(parent, spelled("C%s Scheme Name"), kHelpSchemes, DialogPlace::scheme_name,
                   std::move(help)),
      editor_(editor),
      except_(except),
      edit_(new QLineEdit(name, this)) {
  edit_->setObjectName("scheme_name");
  edit_->setMinimumWidth(260);
  auto* form = new QFormLayout;
  form->addRow("Scheme &Name:", edit_);
  body()->addLayout(form);
}

bool SchemeNameDialog::take_values() {
  const std::string name = edit_->text().toStdString();
  if (editor_.name_usable(name, except_)) {
    name_ = name;
    return true;
  }
  if (edit_->text().trimmed().isEmpty()) {
    show_error("Name cannot be blank, reenter");
  } else if (editor_.name_taken(name, except_)) {
    show_error("That name is in use already, enter another");
  } else {
    show_error("A scheme name cannot begin or end with a blank, hold ']' or a line break, or "
               "exceed 255 characters");
  }
  return false;
}

SchemeColoursDialog::SchemeColoursDialog(QWidget* parent, SchemeEditor& schemes,
                                         std::size_t index, HelpOpener help)
    : OptionDialog(parent, spelled("C%ss"), kHelpSchemes, DialogPlace::scheme_colours, help),
      schemes_(schemes),
      index_(index),
      colours_(schemes.colours(index)),
      help_(std::move(help)),
      grid_(new ColourGrid(this, kGridColumns, kEditCell)),
      scroll_(scroller(this, grid_, kEditCell)),
      entry_(new QLabel(this)),
      graded_(new QCheckBox("&Graduated: stretched or squeezed to the classes", this)) {
  const std::string name = index < schemes.names().size() ? schemes.names()[index] : "";
  auto* caption = new QLabel(spelled("C%s Scheme:") + " " + qtext(name), this);
  caption->setObjectName("scheme");
  grid_->setObjectName("colours");
  entry_->setObjectName("entry");
  graded_->setObjectName("graded");
  graded_->setChecked(colours_.list().graded);
  grid_->on_click([this](int entry) {
    if (static_cast<std::size_t>(entry) != colours_.selection()) {
      said(colours_.select(static_cast<std::size_t>(entry)));
    }
  });
  grid_->on_double_click([this](int entry) { change_colour(static_cast<std::size_t>(entry)); });

  auto* insert = button(this, "&Insert", "insert");
  auto* remove = button(this, "&Delete", "delete");
  auto* up = button(this, "Move &Up", "up");
  auto* down = button(this, "Move Do&wn", "down");
  auto* change = button(this, spelled("&Change C%s..."), "change");
  auto* undo = button(this, "U&ndo", "undo");
  auto* redo = button(this, "&Redo", "redo");
  connect(insert, &QPushButton::clicked, this, [this] {
    const auto& list = colours_.list().colours;
    said(colours_.insert(list.empty() ? kNewColour : list[colours_.selection()]));
  });
  connect(remove, &QPushButton::clicked, this, [this] { said(colours_.remove()); });
  connect(up, &QPushButton::clicked, this, [this] { said(colours_.move_up()); });
  connect(down, &QPushButton::clicked, this, [this] { said(colours_.move_down()); });
  connect(change, &QPushButton::clicked, this, [this] { change_colour(colours_.selection()); });
  connect(undo, &QPushButton::clicked, this, [this] { said(colours_.undo()); });
  connect(redo, &QPushButton::clicked, this, [this] { said(colours_.redo()); });
  connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, undo,
          &QPushButton::click);
  connect(new QShortcut(QKeySequence::Redo, this), &QShortcut::activated, redo,
          &QPushButton::click);

  auto* edits = new QHBoxLayout;
  for (QPushButton* b : {insert, remove, up, down}) edits->addWidget(b);
  edits->addStretch(1);
  auto* history = new QHBoxLayout;
  for (QPushButton* b : {change, undo, redo}) history->addWidget(b);
  history->addStretch(1);
  body()->addWidget(caption);
  body()->addWidget(scroll_);
  body()->addWidget(entry_);
  body()->addLayout(edits);
  body()->addLayout(history);
  body()->addWidget(graded_);
  refresh();
}

void SchemeColoursDialog::said(const std::string& message) {
  if (message.empty()) {
    clear_error();
  } else {
    show_error(qtext(message));
  }
  refresh();
}

void SchemeColoursDialog::refresh() {
  const auto& list = colours_.list().colours;
  const int selection = static_cast<int>(colours_.selection());
  grid_->set_colours(list, list.empty() ? -1 : selection);
  if (list.empty()) {
    entry_->setText("No colours: Insert adds one");
    return;
  }
  entry_->setText(QString("Entry %1 of %2    ").arg(selection + 1).arg(list.size()) +
                  spelled("C%s No.:") + " " +
                  QString::number(list[colours_.selection()]));
  const QRect cell = grid_->cell_rect(selection);
  scroll_->ensureVisible(cell.center().x(), cell.center().y(), 0, kEditCell);
}

void SchemeColoursDialog::change_colour(std::size_t entry) {
  const auto& list = colours_.list().colours;
  if (entry >= list.size()) return;
  if (entry != colours_.selection()) said(colours_.select(entry));
  ColourPicker picker(this, list[entry], help_, kHelpSchemes);
  if (picker.exec() != QDialog::Accepted || picker.colour() == list[entry]) return;
  said(colours_.set_colour(entry, static_cast<std::uint8_t>(picker.colour())));
}

bool SchemeColoursDialog::take_values() {
  ColourList list = colours_.list();
  if (list.colours.empty()) {
    show_error(qtext(load_text(kNeedsOneColour)));
    return false;
  }
  list.graded = graded_->isChecked();
  if (!schemes_.store_colours(index_, list)) {
    show_error(cannot_write(scheme_working_copy(schemes_.schemes_file())));
    return false;
  }
  return true;
}

SchemesDialog::SchemesDialog(QWidget* parent, ConvSettings& s, HelpOpener help)
    : OptionDialog(parent, "Edit Color Schemes", kHelpSchemes, DialogPlace::schemes, help),
      s_(s),
      editor_(s),
      help_(std::move(help)),
      began_(editor_.begin()),
      list_(new QListWidget(this)),
      strip_(new ColourGrid(this, kGridColumns, kStripCell)),
      strip_scroll_(scroller(this, strip_, kStripCell)),
      new_(button(this, "&New...", "new")),
      rename_(button(this, "&Rename...", "rename")),
      delete_(button(this, "&Delete", "delete")),
      colours_(button(this, spelled("&Edit C%ss..."), "colours")) {
  list_->setObjectName("schemes");
  strip_->setObjectName("strip");
  connect(list_, &QListWidget::currentRowChanged, this, [this] { show_selected(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { edit_colours(); });
  connect(new_, &QPushButton::clicked, this, [this] { add(); });
  connect(rename_, &QPushButton::clicked, this, [this] { rename(); });
  connect(delete_, &QPushButton::clicked, this, [this] { remove(); });
  connect(colours_, &QPushButton::clicked, this, [this] { edit_colours(); });
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {new_, rename_, delete_, colours_}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(list_, 1);
  top->addLayout(buttons);
  body()->addLayout(top, 1);
  body()->addWidget(new QLabel(spelled("C%ss:"), this));
  body()->addWidget(strip_scroll_);
  fill(0);
  if (!began_) {
    // Without the working copy nothing could be kept; the schemes file is left alone.
    show_error(cannot_write(scheme_working_copy(s.colours_file)) +
               spelled(": the c%s schemes cannot be edited"));
    new_->setEnabled(false);
  }
}

SchemesDialog::~SchemesDialog() {
  if (!closed_) editor_.cancel();
}

std::size_t SchemesDialog::selected() const {
  const int row = list_->currentRow();
  return row >= 0 && static_cast<std::size_t>(row) < editor_.names().size()
             ? static_cast<std::size_t>(row)
             : SIZE_MAX;
}

void SchemesDialog::fill(int row) {
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const std::string& name : editor_.names()) list_->addItem(qtext(name));
  auto* mapping = new QListWidgetItem(qtext(load_text(kMappingSchemeText)), list_);
  mapping->setToolTip("Built in: each class takes its own value as its colour");
  list_->setCurrentRow(std::clamp(row, 0, list_->count() - 1));
  show_selected();
}

void SchemesDialog::show_selected() {
  const std::size_t at = selected();
  const bool named = began_ && at != SIZE_MAX;
  for (QPushButton* b : {rename_, delete_, colours_}) b->setEnabled(named);
  strip_->set_colours(at == SIZE_MAX || !began_ ? std::vector<std::uint8_t>{}
                                               : editor_.colours(at).colours);
}

void SchemesDialog::add() {
  SchemeNameDialog ask(this, editor_, SIZE_MAX, {}, help_);
  if (ask.exec() != QDialog::Accepted) return;
  // A new scheme starts as a copy of the one selected.
  const std::size_t from = selected();
  const ColourList list =
      from == SIZE_MAX ? ColourList{{static_cast<std::uint8_t>(kNewColour)}, false}
                       : editor_.colours(from);
  if (!editor_.add_scheme(ask.name(), list)) {
    show_error(cannot_write(scheme_working_copy(s_.colours_file)));
    return;
  }
  clear_error();
  fill(static_cast<int>(editor_.names().size()) - 1);
}

void SchemesDialog::rename() {
  const std::size_t at = selected();
  if (at == SIZE_MAX) return;
  SchemeNameDialog ask(this, editor_, at, qtext(editor_.names()[at]), help_);
  if (ask.exec() != QDialog::Accepted) return;
  if (!editor_.rename_scheme(at, ask.name())) {
    show_error(cannot_write(scheme_working_copy(s_.colours_file)));
    return;
  }
  clear_error();
  fill(static_cast<int>(at));
}

void SchemesDialog::remove() {
  const std::size_t at = selected();
  if (at == SIZE_MAX) return;
  if (editor_.names().size() == 1) {
    // The mapping scheme alone colours nothing but colour-number keys.
    show_error(spelled("At least one c%s scheme must remain"));
    return;
  }
  editor_.remove_scheme(at);
  clear_error();
  fill(static_cast<int>(std::min(at, editor_.names().size() - 1)));
}

void SchemesDialog::edit_colours() {
  const std::size_t at = selected();
  if (!began_ || at == SIZE_MAX) return;
  SchemeColoursDialog dialog(this, editor_, at, help_);
  if (dialog.exec() == QDialog::Accepted) show_selected();
}

bool SchemesDialog::take_values() {
  if (began_ && !editor_.ok()) {
    show_error(cannot_write(s_.colours_file) + ": nothing is saved yet; try again or Cancel");
    return false;
  }
  if (!began_) editor_.cancel();
  closed_ = true;
  return true;
}

void SchemesDialog::done(int result) {
  OptionDialog::done(result);
  if (result != QDialog::Accepted && !closed_) {
    editor_.cancel();
    closed_ = true;
  }
}

bool open_scheme_editor(QWidget* parent, ConvSettings& s, HelpOpener help) {
  SchemesDialog dialog(parent, s, std::move(help));
  return dialog.exec() == QDialog::Accepted && dialog.editing();
}

}  // namespace tsn::ui
