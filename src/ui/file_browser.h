// The main window's file browser: a folder tree, the files of the chosen folder and the type
// box that filters them; it tells its owner which file was selected.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "run/interactive_session.h"

class QComboBox;
class QFileSystemModel;
class QListView;
class QTreeView;

namespace tsn::ui {

class FileBrowser final : public QWidget {
 public:
  // `filters` fill the type box; `initial_filter` (0-based) is selected; the browser opens in
  // `directory` (the home directory when it does not exist).
  FileBrowser(QWidget* parent, const std::vector<BrowserFilter>& filters, int initial_filter,
              const QString& directory);

  // Called with the file's path when a file is selected, with an empty path when the folder
  // or the type filter changed and nothing is selected.
  void on_selection(std::function<void(const std::string&)> handler) {
    selected_ = std::move(handler);
  }
  QString directory() const { return directory_; }
  int filter_index() const;
  void set_directory(const QString& directory);
  void set_filter(int index);
  // Selects the file of that name in the current folder (as a click would); false when absent.
  bool select_file(const QString& name);

 private:
  void apply_filter(int index);
  void notify(const QString& path);
  void reveal_folder();
  void forget_current_file();

  std::vector<BrowserFilter> filters_;
  QTreeView* folders_;
  QListView* files_;
  QComboBox* types_;
  QFileSystemModel* folder_model_;
  QFileSystemModel* file_model_;
  QString directory_;
  std::function<void(const std::string&)> selected_;
};

}  // namespace tsn::ui
