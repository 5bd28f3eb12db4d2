// The option dialogs' checks at their limits: a refused value is said on the error line and
// the dialog stays open with the settings untouched; Cancel changes nothing; the picker's
// cells pick their colour; Help opens the manual at the dialog's section.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "run/conv_state.h"
#include "ui/colour_swatch.h"
#include "ui/settings_dialogs.h"

namespace tsn::ui {

class OptionDialogsTest : public QObject {
  Q_OBJECT

  template <typename Widget>
  static Widget* child(QWidget& w, const char* name) {
    auto* found = w.findChild<Widget*>(name);
    if (found == nullptr) qFatal("no widget %s", name);
    return found;
  }

  // Types `text` into the edit, presses OK: true when the dialog closed accepting it.
  static bool ok_with(OptionDialog& dialog, const char* edit, const QString& text) {
    dialog.show();
    child<QLineEdit>(dialog, edit)->setText(text);
    dialog.accept();
    return !dialog.isVisible() && dialog.result() == QDialog::Accepted;
  }

 private slots:
  void decimalPlacesOutside0To16AreRefused() {
    const struct {
      const char* text;
      bool accepted;
    } cases[] = {{"17", false}, {"-1", false}, {"six", false}, {"16", true}, {"0", true}};
    for (const auto& c : cases) {
      ConvSettings s;
      s.DecPlaces = 6;
      SettingsDialog dialog(nullptr, s, {}, nullptr);
      QCOMPARE(ok_with(dialog, "decimals", c.text), c.accepted);
      if (c.accepted) {
        QCOMPARE(s.DecPlaces, QString(c.text).toInt());
        QVERIFY(dialog.error_text().isEmpty());
      } else {
        QCOMPARE(dialog.error_text(), QString("Decimal Places must be between 0-16"));
        QCOMPARE(s.DecPlaces, 6);
      }
    }
  }

  void settingsChangeOnlyOnOk() {
    ConvSettings s;
    s.verDXF = 4;
    {
      SettingsDialog dialog(nullptr, s, {}, nullptr);
      dialog.show();
      child<QCheckBox>(dialog, "merge")->setChecked(true);
      child<QRadioButton>(dialog, "release_7")->setChecked(true);
      dialog.reject();
      QCOMPARE(s.Merge, 0);
      QCOMPARE(s.verDXF, 4);
    }
    SettingsDialog dialog(nullptr, s, {}, nullptr);
    dialog.show();
    child<QCheckBox>(dialog, "merge")->setChecked(true);
    child<QRadioButton>(dialog, "release_7")->setChecked(true);
    child<QCheckBox>(dialog, "network")->setChecked(true);
    dialog.accept();
    QCOMPARE(s.Merge, 1);
    QCOMPARE(s.verDXF, 7);
    QCOMPARE(s.Network, 1);
  }

  void classCountsFrom1To1024() {
    const struct {
      const char* text;
      bool accepted;
    } cases[] = {{"1024", true}, {"1", true}, {"1025", false}, {"0", false}, {"", false}};
    for (const auto& c : cases) {
      ClassesDialog dialog(nullptr, 5, {}, 241);
      QCOMPARE(ok_with(dialog, "classes", c.text), c.accepted);
      QCOMPARE(dialog.classes(), c.accepted ? QString(c.text).toInt() : 5);
      if (!c.accepted) {
        QCOMPARE(dialog.error_text(), QString("Number of Classes out of range (1-1024)"));
      }
    }
  }

  void colourNumbersFrom1To255() {
    const struct {
      const char* text;
      bool accepted;
    } cases[] = {{"0", false}, {"256", false}, {"x", false}, {"1", true}, {"255", true}};
    for (const auto& c : cases) {
      ColourPicker picker(nullptr, 7, {}, 252);
      QCOMPARE(ok_with(picker, "colour_number", c.text), c.accepted);
      QCOMPARE(picker.colour(), c.accepted ? QString(c.text).toInt() : 7);
      if (!c.accepted) QCOMPARE(picker.error_text(), QString("Col. No. out of range (1-255)"));
    }
    // A cell of the extended colours picks its number; the grey shades are 250 to 255.
    ColourPicker picker(nullptr, 7, {}, 252);
    picker.show();
    QTest::mouseClick(child<ColourCell>(picker, "colour_137"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(picker, "colour_number")->text(), QString("137"));
    QVERIFY(picker.findChild<ColourCell*>("colour_250") != nullptr);
    QVERIFY(picker.findChild<ColourCell*>("colour_0") == nullptr);
    picker.grab().save(QString(TSN_SCREENSHOT_DIR) + "/colour_picker.png");
    picker.accept();
    QCOMPARE(picker.colour(), 137);
  }

  void helpAsksForTheDialogsOwnContext() {
    ConvSettings s;
    int asked = -1;
    QWidget* asker = nullptr;
    SettingsDialog dialog(nullptr, s, [&](QWidget* d, int context) {
      asker = d;
      asked = context;
    }, nullptr);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(asked, 270);
    QCOMPARE(asker, &dialog);
    QVERIFY(dialog.isVisible());
    dialog.grab().save(QString(TSN_SCREENSHOT_DIR) + "/settings_dialog.png");
  }
};

}  // namespace tsn::ui

QTEST_MAIN(tsn::ui::OptionDialogsTest)
#include "option_dialogs_test.moc"
