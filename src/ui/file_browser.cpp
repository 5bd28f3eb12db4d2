// The folder tree, the filtered file list and the type box of the main window.
#include "ui/file_browser.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace tsn::ui {

FileBrowser::FileBrowser(QWidget* parent, const std::vector<BrowserFilter>& filters,
                         int initial_filter, const QString& directory)
    : QWidget(parent),
      filters_(filters),
      folders_(new QTreeView(this)),
      files_(new QListView(this)),
      types_(new QComboBox(this)),
      folder_model_(new QFileSystemModel(this)),
      file_model_(new QFileSystemModel(this)) {
  folder_model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folder_model_->setRootPath(QDir::rootPath());
  folders_->setModel(folder_model_);
  folders_->setObjectName("folders");
  // The name column is enough to find a folder.
  for (int column = 1; column < folder_model_->columnCount(); ++column) folders_->hideColumn(column);
  folders_->header()->hide();
  file_model_->setFilter(QDir::Files);
  file_model_->setNameFilterDisables(false);
  files_->setModel(file_model_);
  files_->setObjectName("files");
  for (const BrowserFilter& f : filters_) types_->addItem(QString::fromStdString(f.name));
  types_->setObjectName("types");

  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(folders_);
  split->addWidget(files_);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* folders_label = new QLabel("&Folders and files:", this);
  folders_label->setBuddy(folders_);
  layout->addWidget(folders_label);
  layout->addWidget(split, 1);
  auto* type_label = new QLabel("Files of &type:", this);
  type_label->setBuddy(types_);
  layout->addWidget(type_label);
  layout->addWidget(types_);

  connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) set_directory(folder_model_->filePath(current));
          });
  // Folders are read in the background: the current one is shown once its parents are known.
  connect(folder_model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    if (directory_.startsWith(loaded)) reveal_folder();
  });
  connect(files_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            notify(current.isValid() ? file_model_->filePath(current) : QString());
          });
  connect(types_, &QComboBox::currentIndexChanged, this, [this](int index) {
    apply_filter(index);
    forget_current_file();
    notify(QString());
  });

  types_->setCurrentIndex(std::clamp(initial_filter, 0, std::max(0, types_->count() - 1)));
  apply_filter(types_->currentIndex());
  set_directory(QDir(directory).exists() && !directory.isEmpty() ? directory : QDir::homePath());
}

int FileBrowser::filter_index() const { return types_->currentIndex(); }

void FileBrowser::set_filter(int index) { types_->setCurrentIndex(index); }

void FileBrowser::apply_filter(int index) {
  if (index < 0 || index >= static_cast<int>(filters_.size())) return;
  const QString pattern = QString::fromStdString(filters_[static_cast<std::size_t>(index)].pattern);
  // "*.*" matches names without a dot too: every file.
  file_model_->setNameFilters(pattern == "*.*" ? QStringList{"*"} : pattern.split(';'));
}

void FileBrowser::set_directory(const QString& directory) {
  const QString clean = QDir::cleanPath(QDir(directory).absolutePath());
  if (clean == directory_) return;
  directory_ = clean;
  files_->setRootIndex(file_model_->setRootPath(clean));
  forget_current_file();
  reveal_folder();
  notify(QString());
}

void FileBrowser::forget_current_file() {
  // Selecting the same file again must count as a new selection.
  const QSignalBlocker quiet(files_->selectionModel());
  files_->selectionModel()->clear();
}

void FileBrowser::reveal_folder() {
  const QModelIndex folder = folder_model_->index(directory_);
  if (!folder.isValid()) return;
  if (folders_->currentIndex() != folder) folders_->setCurrentIndex(folder);
  folders_->scrollTo(folder, QAbstractItemView::PositionAtCenter);
}

bool FileBrowser::select_file(const QString& name) {
  const QModelIndex index = file_model_->index(QDir(directory_).filePath(name));
  if (!index.isValid()) return false;
  files_->setCurrentIndex(index);
  return true;
}

void FileBrowser::notify(const QString& path) {
  if (selected_) selected_(path.toStdString());
}

}  // namespace tsn::ui
