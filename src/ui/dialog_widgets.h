// Small pieces the windows and dialogs share: program text as Qt text, the lists of fields and
// text styles to choose from, a class's range as shown, and a caption with its mnemonic.
#pragma once

#include <QLineEdit>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "input/dbf_field.h"
#include "settings/conv_settings.h"

class QComboBox;

namespace tsn::ui {

inline QString qtext(const std::string& text) { return QString::fromStdString(text); }
// A caption with "C%s" completed by the spelling of the user's language.
QString spelled(const char* text);
// `text` with the mnemonic marker before its character at `at` ("Specify", 4 -> "Spec&ify").
QString with_mnemonic(const char* text, int at);

// The table's fields (only numeric ones when asked) with `current` chosen when present.
QComboBox* field_box(QWidget* parent, const std::vector<dbf_field>& fields,
                     const std::string& current, bool numeric_only, const char* name);
// The text styles of the styles file, `current` among them (added when it is not) and chosen.
QComboBox* style_box(QWidget* parent, const ConvSettings& s, const std::string& current);

// The edit of a real setting. It shows the value with at most six decimals; while its text is
// as shown it gives back the exact value, so a dialog closed with OK changes nothing the user
// did not change.
class RealEdit final : public QLineEdit {
 public:
  RealEdit(QWidget* parent, double value);
  // The number typed, or nullopt when the text is not one.
  std::optional<double> value() const;

 private:
  QString shown_;
  double exact_;
};

// "lo - hi" of a class, or its one value.
QString range_text(const KeyClass& c, NumberType type);

}  // namespace tsn::ui
