// The manual, built into the program as a resource, rendered from its markdown.
#include "ui/help_viewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QVBoxLayout>
#include <utility>

namespace tsn::ui {

namespace {

constexpr const char* kManualResource = ":/docs/manual.md";

}  // namespace

QString help_section(int context) {
  static const std::pair<int, const char*> kSections[] = {
      {211, "Feature attributes"}, {221, "Text labels"},       {231, "Legend"},
      {241, "Layers"},             {252, "Colours"},           {256, "Colours"},
      {261, "Points and elevation"}, {296, "Points and elevation"},
      {304, "Points and elevation"}, {270, "Settings"},        {275, "Colour schemes"},
      {280, "Saving a drawing"}};
  for (const auto& [number, heading] : kSections) {
    if (number == context) return heading;
  }
  return "The main window";
}

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setWindowTitle("Tessaryn Help");
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({":/docs"});
  browser_->setObjectName("manual");
  QFile file(kManualResource);
  if (file.open(QIODevice::ReadOnly)) {
    browser_->setMarkdown(QString::fromUtf8(file.readAll()));
  } else {
    browser_->setPlainText("The user manual is not part of this build.");
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_, 1);
  layout->addWidget(buttons);
  resize(760, 640);
}

void HelpViewer::show_context(int context) {
  // Shown first: the scroll position follows from the layout at the window's own width.
  show();
  raise();
  activateWindow();
  const QString heading = help_section(context);
  shown_.clear();
  // The rendered headings carry their level; the section is the heading whose text matches.
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() > 0 && block.text().trimmed() == heading) {
      browser_->setTextCursor(QTextCursor(block));
      // The heading at the top of the view, not merely somewhere on screen.
      const QRectF at = browser_->document()->documentLayout()->blockBoundingRect(block);
      browser_->verticalScrollBar()->setValue(static_cast<int>(at.top()));
      shown_ = heading;
      break;
    }
  }
}

}  // namespace tsn::ui
