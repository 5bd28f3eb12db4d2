// The text styles dialog.
#include "ui/styles_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/paths.h"
#include "settings/text_styles.h"
#include "ui/dialog_widgets.h"

namespace tsn::ui {

namespace {

// What keeps `style` from standing at `index` of `styles` (-1: added), or an empty text.
QString problem(const TextStyles& styles, const std::pair<std::string, std::string>& style,
                int index) {
  const auto& [name, font] = style;
  if (name.empty()) return "Name cannot be blank, reenter";
  if (!style_name_writable(name)) {
    return "A style name cannot begin with '[' or ';', or hold '=' or a line break";
  }
  for (std::size_t i = 0; i < styles.size(); ++i) {
    if (static_cast<int>(i) != index && equal_ignoring_case(styles[i].first, name)) {
      return "A text style named " + qtext(styles[i].first) + " exists already";
    }
  }
  if (font.empty()) return "Font file cannot be blank, reenter";
  if (font.find_first_of("\r\n") != std::string::npos) {
    return "A font file name cannot hold a line break";
  }
  return {};
}

}  // namespace

StylesDialog::StylesDialog(QWidget* parent, ConvSettings& s, HelpOpener help, int help_context)
    : OptionDialog(parent, "Text Styles", help_context, DialogPlace::styles, std::move(help)),
      s_(s),
      styles_(s.text_styles),
      list_(new QTreeWidget(this)),
      name_(new QLineEdit(this)),
      font_(new QLineEdit(this)) {
  list_->setObjectName("styles");
  list_->setColumnCount(2);
  list_->setHeaderLabels({"Style", "Font File"});
  list_->setRootIsDecorated(false);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->setMinimumSize(320, 180);
  name_->setObjectName("style_name");
  font_->setObjectName("font_file");
  connect(list_, &QTreeWidget::currentItemChanged, this, [this] { show_selected(); });
  const auto button = [this](const char* caption, const char* name, void (StylesDialog::*act)()) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, act);
    return b;
  };
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(button("&New", "new", &StylesDialog::add));
  buttons->addWidget(button("&Delete", "delete", &StylesDialog::remove));
  buttons->addWidget(button("&Edit", "edit", &StylesDialog::edit));
  buttons->addStretch(1);
  auto* form = new QFormLayout;
  form->addRow("Style &Name:", name_);
  form->addRow("&Font File:", font_);
  body()->addWidget(list_, 1);
  body()->addLayout(form);
  body()->addLayout(buttons);
  fill(0);
}

int StylesDialog::selected() const {
  QTreeWidgetItem* item = list_->currentItem();
  return item == nullptr ? -1 : list_->indexOfTopLevelItem(item);
}

void StylesDialog::fill(int row) {
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (const auto& [name, font] : styles_) {
    new QTreeWidgetItem(list_, {qtext(name), qtext(font)});
  }
  if (list_->topLevelItemCount() > 0) {
    list_->setCurrentItem(
        list_->topLevelItem(std::clamp(row, 0, list_->topLevelItemCount() - 1)));
  }
  show_selected();
}

void StylesDialog::show_selected() {
  const int at = selected();
  if (at < 0) return;
  name_->setText(qtext(styles_[static_cast<std::size_t>(at)].first));
  font_->setText(qtext(styles_[static_cast<std::size_t>(at)].second));
}

bool StylesDialog::typed(int except, std::pair<std::string, std::string>& style) {
  style = {name_->text().trimmed().toStdString(), font_->text().trimmed().toStdString()};
  const QString wrong = problem(styles_, style, except);
  if (!wrong.isEmpty()) show_error(wrong);
  return wrong.isEmpty();
}

void StylesDialog::add() {
  if (styles_.size() >= static_cast<std::size_t>(kMaxTextStyles)) {
    show_error(QString("No more than %1 text styles can be kept").arg(kMaxTextStyles));
    return;
  }
  std::pair<std::string, std::string> style;
  if (!typed(-1, style)) return;
  clear_error();
  styles_.push_back(std::move(style));
  fill(static_cast<int>(styles_.size()) - 1);
}

void StylesDialog::edit() {
  const int at = selected();
  if (at < 0) {
    show_error("Select a text style first");
    return;
  }
  std::pair<std::string, std::string> style;
  if (!typed(at, style)) return;
  clear_error();
  styles_[static_cast<std::size_t>(at)] = std::move(style);
  fill(at);
}

void StylesDialog::remove() {
  const int at = selected();
  if (at < 0) {
    show_error("Select a text style first");
    return;
  }
  if (styles_.size() == 1) {
    show_error("At least one text style must remain");
    return;
  }
  clear_error();
  styles_.erase(styles_.begin() + at);
  fill(at);
}

bool StylesDialog::take_values() {
  if (styles_ == s_.text_styles) return true;
  // The file may have brought what the dialog would not let in; say which before writing.
  for (std::size_t i = 0; i < styles_.size(); ++i) {
    const QString wrong = problem(styles_, styles_[i], static_cast<int>(i));
    if (!wrong.isEmpty()) {
      fill(static_cast<int>(i));
      show_error(wrong);
      return false;
    }
  }
  if (!save_text_styles(s_, styles_)) {
    show_error(qtext("Cannot write " + s_.styles_file));
    return false;
  }
  return true;
}

bool open_text_styles(QWidget* parent, ConvSettings& s, HelpOpener help, int help_context) {
  const TextStyles before = s.text_styles;
  StylesDialog dialog(parent, s, std::move(help), help_context);
  return dialog.exec() == QDialog::Accepted && s.text_styles != before;
}

QWidget* with_styles_button(QComboBox* box, ConvSettings& s, HelpOpener help, int help_context) {
  auto* row = new QWidget(box->parentWidget());
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* button = new QPushButton("Styles...", row);
  button->setObjectName("styles");
  layout->addWidget(box, 1);
  layout->addWidget(button);
  QObject::connect(button, &QPushButton::clicked, row, [row, box, &s, help, help_context] {
    if (open_text_styles(row->window(), s, help, help_context)) refill_style_box(box, s);
  });
  return row;
}

void refill_style_box(QComboBox* box, const ConvSettings& s) {
  const QString current = box->currentText();
  const QSignalBlocker quiet(box);
  box->clear();
  for (const auto& [name, font] : s.text_styles) box->addItem(qtext(name));
  if (box->findText(current, Qt::MatchFixedString) < 0) box->addItem(current);
  box->setCurrentIndex(box->findText(current, Qt::MatchFixedString));
}

}  // namespace tsn::ui
