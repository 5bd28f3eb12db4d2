// The main window of the interactive program: the file browser, what the selected input holds,
// the conversion controls, the status list and progress, Save and Save As, Help and Quit.
#pragma once

#include <QMainWindow>
#include <functional>
#include <optional>
#include <string>

#include "run/interactive_session.h"
#include "ui/option_dialog.h"
#include "ui/qt_host.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tsn::ui {

class FileBrowser;
class HelpViewer;
class PreviewPane;

// What the save dialog returned: the path as typed and the filter entry (1..7).
struct SaveDialogAnswer {
  std::string path;
  int entry = 1;
};
// Shows the save dialog; nothing when the user cancelled. Tests put their own in its place.
using SaveDialog = std::function<std::optional<SaveDialogAnswer>(
    QWidget* owner, const QString& directory, int initial_entry, bool network)>;

class MainWindow final : public QMainWindow {
 public:
  MainWindow(QtHost& host, ConvState& cs);
  ~MainWindow() override;

  void set_save_dialog(SaveDialog dialog) { save_dialog_ = std::move(dialog); }
  FileBrowser& browser() { return *browser_; }
  InteractiveSession& session() { return session_; }
  int help_context() const { return help_context_; }
  HelpViewer* help_viewer() const { return help_; }
  bool converting() const { return converting_; }
  PreviewPane& preview() { return *preview_; }

  void save_clicked();
  void save_as_clicked();
  // Quit (and closing the window): the position, InDir and the program settings are kept.
  void quit_clicked();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* build_controls();
  void file_selected(const std::string& path);
  void show_input();
  void clear_input();
  // The preview drawn again for the selected input and the settings as they are.
  void refresh_preview();
  // The manual at the current help context; from a modal dialog, in a viewer of its own.
  void show_help(QWidget* dialog = nullptr);
  // What an option dialog calls for its Help: the manual at its own context.
  HelpOpener help_opener();
  // Runs an option dialog on the settings, F1 meanwhile answering with its context; true on OK.
  // Nothing opens while a conversion runs.
  template <typename Dialog, typename... Extra>
  bool run_dialog(int context, const Extra&... extra) {
    if (converting_) return false;
    help_context_ = context;
    Dialog dialog(this, cs_.settings, extra..., help_opener());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    help_context_ = 0;
    if (accepted) refresh_preview();
    return accepted;
  }
  void about();
  // Step 5 of a save: the conversion into `output`, with the window busy meanwhile.
  void convert(const std::string& output);
  void set_converting(bool on);
  // The questions before a conversion, the window then showing what they changed.
  bool confirm_conversion();
  // True when `output` does not exist or the user agreed to replace it.
  bool may_replace(const std::string& output);
  void keep_settings();

  QtHost& host_;
  ConvState& cs_;
  InteractiveSession session_;
  FileBrowser* browser_ = nullptr;
  PreviewPane* preview_ = nullptr;
  QLabel* type_;
  QLabel* size_;
  QLabel* extent_min_;
  QLabel* extent_max_;
  QLabel* records_;
  QLabel* release_;
  QPushButton* layers_;
  QPushButton* colours_;
  QPushButton* points_;
  QCheckBox* attributes_;
  QPushButton* attributes_specify_;
  QCheckBox* labels_;
  QPushButton* labels_specify_;
  QCheckBox* legend_;
  QPushButton* legend_specify_;
  QPushButton* settings_;
  QPushButton* save_;
  QPushButton* save_as_;
  QPushButton* cancel_;
  QPushButton* about_;
  QPushButton* help_button_;
  QPushButton* quit_;
  QPlainTextEdit* status_list_;
  QProgressBar* progress_;
  QLabel* percent_;
  HelpViewer* help_ = nullptr;
  SaveDialog save_dialog_;
  int help_context_ = 0;
  bool converting_ = false;
  bool close_asked_ = false;  // the window was closed during a conversion
};

// The front end of a run without arguments: the main window on the display. Installed by main().
int run_main_window();

}  // namespace tsn::ui
