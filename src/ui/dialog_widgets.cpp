// The shared pieces of the windows and dialogs.
#include "ui/dialog_widgets.h"

#include <QComboBox>

#include "platform/format.h"
#include "platform/string_table.h"

namespace tsn::ui {

QString spelled(const char* text) { return qtext(complete_spelling(text)); }

QString with_mnemonic(const char* text, int at) {
  QString caption(text);
  caption.insert(at, '&');
  return caption;
}

QComboBox* field_box(QWidget* parent, const std::vector<dbf_field>& fields,
                     const std::string& current, bool numeric_only, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (const dbf_field& f : fields) {
    if (!numeric_only || f.type == 'N' || f.type == 'F') box->addItem(qtext(f.name));
  }
  const int at = box->findText(qtext(current), Qt::MatchFixedString);
  if (at >= 0) box->setCurrentIndex(at);
  return box;
}

QComboBox* style_box(QWidget* parent, const ConvSettings& s, const std::string& current) {
  auto* box = new QComboBox(parent);
  box->setObjectName("style");
  for (const auto& [name, font] : s.text_styles) box->addItem(qtext(name));
  if (box->findText(qtext(current), Qt::MatchFixedString) < 0) box->addItem(qtext(current));
  box->setCurrentIndex(box->findText(qtext(current), Qt::MatchFixedString));
  return box;
}

RealEdit::RealEdit(QWidget* parent, double value)
    : QLineEdit(qtext(plain_number(value)), parent), shown_(text()), exact_(value) {}

std::optional<double> RealEdit::value() const {
  if (text() == shown_) return exact_;
  bool ok = false;
  const double typed = text().trimmed().toDouble(&ok);
  if (!ok) return std::nullopt;
  return typed;
}

QString range_text(const KeyClass& c, NumberType type) {
  if (type == NumberType::alphabetic) {
    return c.lo_text == c.hi_text ? qtext(c.lo_text) : qtext(c.lo_text + " - " + c.hi_text);
  }
  const std::string lo = plain_number(c.lo);
  return c.lo == c.hi ? qtext(lo) : qtext(lo + " - " + plain_number(c.hi));
}

}  // namespace tsn::ui
