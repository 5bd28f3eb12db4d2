// The user manual in a window of its own, opened at the section that belongs to what the user is
// doing (the help context of the main window and of each option dialog).
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace tsn::ui {

// The manual's section heading for a help context number (0 main, 211 attributes, 280 saving …).
QString help_section(int context);

class HelpViewer final : public QDialog {
 public:
  explicit HelpViewer(QWidget* parent);
  // Shows the manual scrolled to the heading of `context`.
  void show_context(int context);
  // The heading the view was last scrolled to (empty when it was not found).
  QString shown_section() const { return shown_; }

 private:
  QTextBrowser* browser_;
  QString shown_;
};

}  // namespace tsn::ui
