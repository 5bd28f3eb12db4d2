// The main window's layout and what each of its controls does.
#include "ui/main_window.h"

#include <QApplication>
#include <csignal>
#include <tuple>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include "platform/format.h"
#include "platform/host.h"
#include "platform/messages.h"
#include "platform/string_table.h"
#include "run/batch_runner.h"
#include "run/usage.h"
#include "settings/conv_settings.h"
#include "ui/colour_dialogs.h"
#include "ui/dialog_widgets.h"
#include "ui/scheme_dialogs.h"
#include "ui/file_browser.h"
#include "ui/front_end_run.h"
#include "ui/help_viewer.h"
#include "ui/preview_pane.h"
#include "ui/settings_dialogs.h"
#include "ui/annotation_dialogs.h"
#include "ui/layer_dialogs.h"
#include "ui/point_dialogs.h"

namespace tsn::ui {

namespace {

constexpr int kMainPosition = 0;  // the main window's remembered position
constexpr int kHelpMain = 0;
constexpr int kHelpAttributes = 211;
constexpr int kHelpLabels = 221;
constexpr int kHelpLegend = 231;
constexpr int kHelpLayers = 241;
constexpr int kHelpPointColours = 252;
constexpr int kHelpPolygonColours = 256;
constexpr int kHelpPointShapes = 261;
constexpr int kHelpOtherShapes = 296;
constexpr int kHelpTables = 304;
constexpr int kHelpSettings = 270;
constexpr int kHelpSaving = 280;

QString text_of(int message) { return QString::fromStdString(load_text(message)); }

QString number(double value) { return QString::fromStdString(plain_number(value)); }

// The platform save dialog with the seven release and type entries.
std::optional<SaveDialogAnswer> platform_save_dialog(QWidget* owner, const QString& directory,
                                                     int initial_entry, bool) {
  QStringList filters;
  for (int entry = 1; entry <= kSaveFilterEntries; ++entry) {
    const QString name = QString::fromStdString(save_filter_name(entry));
    filters << name + (entry <= 3 ? " (*.dxf)" : entry <= 6 ? " (*.dwg)" : " (*)");
  }
  QFileDialog dialog(owner, "Save As", directory);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(initial_entry - 1));
  // The extension is the program's to add: a name typed without one follows the chosen entry.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return SaveDialogAnswer{dialog.selectedFiles().front().toStdString(),
                          static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

// The signal that asked the process to end and cancelled a conversion; 0 when none did.
int ended_by_signal() {
  const int signal = cancelling_signal();
  return signal == SIGINT ? 0 : signal;
}

QPushButton* push_button(QWidget* parent, const QString& text, const char* name) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  return b;
}

}  // namespace

MainWindow::MainWindow(QtHost& host, ConvState& cs)
    : host_(host), cs_(cs), session_(cs), save_dialog_(platform_save_dialog) {
  setWindowTitle(QString::fromStdString(std::string(kProgramName)));
  const ConvSettings& s = cs_.settings;
  browser_ = new FileBrowser(this, browser_filters(), s.InputFileType,
                             QString::fromStdString(s.InDir));
  preview_ = new PreviewPane(this);
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(browser_);
  split->addWidget(build_controls());
  split->addWidget(preview_);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  split->setStretchFactor(2, 4);
  setCentralWidget(split);
  resize(1320, 660);
  const WindowPosition& at = s.window_positions[kMainPosition];
  if (at.x >= 0 && at.y >= 0) move(at.x, at.y);

  host_.set_status_window({this, status_list_, progress_, percent_});
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, [this] { show_help(); });
  browser_->on_selection([this](const std::string& path) { file_selected(path); });
  host_.on_end_request([this] { close(); });
  clear_input();
  session_.open();
}

MainWindow::~MainWindow() {
  host_.on_end_request(nullptr);
  host_.set_status_window({});
}

QWidget* MainWindow::build_controls() {
  auto* panel = new QWidget(this);
  // What the selected input holds.
  auto* info = new QGroupBox("Input", panel);
  auto* form = new QFormLayout(info);
  type_ = new QLabel(info);
  size_ = new QLabel(info);
  extent_min_ = new QLabel(info);
  extent_max_ = new QLabel(info);
  records_ = new QLabel(info);
  type_->setObjectName("type");
  size_->setObjectName("size");
  extent_min_->setObjectName("extent_min");
  extent_max_->setObjectName("extent_max");
  records_->setObjectName("records");
  for (QLabel* l : {type_, size_, extent_min_, extent_max_, records_}) {
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  form->addRow("Type:", type_);
  form->addRow("Size:", size_);
  form->addRow("Extent min:", extent_min_);
  form->addRow("Extent max:", extent_max_);
  form->addRow("Records:", records_);

  // The conversion options.
  auto* options = new QGroupBox("Conversion", panel);
  auto* grid = new QGridLayout(options);
  layers_ = push_button(options, "&Layers", "layers");
  colours_ = push_button(options, spelled("&C%ss"), "colours");
  points_ = push_button(options, text_of(166), "points");
  settings_ = push_button(options, "Setti&ngs", "settings");
  attributes_ = new QCheckBox("&Feature Attributes", options);
  attributes_->setObjectName("attributes");
  // The three Specify buttons differ in their mnemonic letter only.
  attributes_specify_ = push_button(options, with_mnemonic("Specify", 2), "attributes_specify");
  labels_ = new QCheckBox("&Text Labels", options);
  labels_->setObjectName("labels");
  labels_specify_ = push_button(options, with_mnemonic("Specify", 6), "labels_specify");
  legend_ = new QCheckBox("Le&gend", options);
  legend_->setObjectName("legend");
  legend_specify_ = push_button(options, with_mnemonic("Specify", 4), "legend_specify");
  release_ = new QLabel(options);
  release_->setObjectName("release");
  grid->addWidget(layers_, 0, 0);
  grid->addWidget(colours_, 0, 1);
  grid->addWidget(points_, 0, 2);
  grid->addWidget(attributes_, 1, 0, 1, 2);
  grid->addWidget(attributes_specify_, 1, 2);
  grid->addWidget(labels_, 2, 0, 1, 2);
  grid->addWidget(labels_specify_, 2, 2);
  grid->addWidget(legend_, 3, 0, 1, 2);
  grid->addWidget(legend_specify_, 3, 2);
  grid->addWidget(settings_, 4, 0);
  grid->addWidget(release_, 4, 1, 1, 2, Qt::AlignRight);

  status_list_ = new QPlainTextEdit(panel);
  status_list_->setObjectName("status");
  status_list_->setReadOnly(true);
  status_list_->setMinimumHeight(150);
  progress_ = new QProgressBar(panel);
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  percent_ = new QLabel("0 %", panel);
  cancel_ = push_button(panel, "&Cancel", "cancel");
  auto* bar = new QHBoxLayout;
  bar->addWidget(progress_, 1);
  bar->addWidget(percent_);

  save_ = push_button(panel, text_of(84), "save");
  save_as_ = push_button(panel, "Save &As...", "save_as");
  about_ = push_button(panel, "A&bout", "about");
  help_button_ = push_button(panel, "&Help", "help");
  quit_ = push_button(panel, "&Quit", "quit");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save_);
  buttons->addWidget(save_as_);
  buttons->addWidget(cancel_);
  buttons->addStretch(1);
  buttons->addWidget(about_);
  buttons->addWidget(help_button_);
  buttons->addWidget(quit_);

  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(info);
  layout->addWidget(options);
  layout->addWidget(status_list_, 1);
  layout->addLayout(bar);
  layout->addLayout(buttons);
  progress_->hide();
  percent_->hide();
  cancel_->setEnabled(false);

  connect(save_, &QPushButton::clicked, this, [this] { save_clicked(); });
  connect(save_as_, &QPushButton::clicked, this, [this] { save_as_clicked(); });
  connect(quit_, &QPushButton::clicked, this, [this] { quit_clicked(); });
  connect(about_, &QPushButton::clicked, this, [this] { about(); });
  connect(help_button_, &QPushButton::clicked, this, [this] { show_help(); });
  // Asked between records; the conversion then asks whether to abort.
  connect(cancel_, &QPushButton::clicked, this, [this] { host_.request_cancel(); });
  connect(layers_, &QPushButton::clicked, this, [this] {
    const KeyPreviewer preview = [this](const std::string& field, int method, int classes) {
      return session_.preview_layer_key(field, method, classes);
    };
    if (run_dialog<LayersDialog>(kHelpLayers, session_.selected().summary.field_list, preview)) {
      session_.write_layer_message();
    }
  });
  connect(colours_, &QPushButton::clicked, this, [this] {
    const int context =
        session_.selected().shape_class == 2 ? kHelpPolygonColours : kHelpPointColours;
    const KeyPreviewer preview = [this](const std::string& field, int method, int classes) {
      return session_.preview_colour_key(field, method, classes);
    };
    const SelectedInput& in = session_.selected();
    if (run_dialog<ColoursDialog>(context, ColourInput{in.summary.field_list, in.info}, preview)) {
      session_.write_colour_message();
    }
  });
  connect(points_, &QPushButton::clicked, this, [this] {
    const SelectedInput& in = session_.selected();
    const PointInput input{in.summary.field_list, in.shape_class, cs_.settings.InputFileType != 0,
                           is_z_shape_type(in.summary.shape_type)};
    const int context = input.table_input   ? kHelpTables
                        : in.shape_class == 0 ? kHelpPointShapes
                                              : kHelpOtherShapes;
    run_dialog<PointOptionsDialog>(context, input);
  });
  connect(settings_, &QPushButton::clicked, this, [this] {
    const int network = cs_.settings.Network;
    const SchemeEditorOpener edit_schemes = [this](QWidget* dialog) {
      open_scheme_editor(dialog, cs_.settings, help_opener());
    };
    if (!run_dialog<SettingsDialog>(kHelpSettings, edit_schemes)) return;
    release_->setText(QString::fromStdString(session_.release_text()));
    if (cs_.settings.Network != network) show_message(10, load_text(293), Icon::information);
  });
  // Whether OK or Cancel closed a field dialog, an output left without fields is turned off.
  connect(attributes_specify_, &QPushButton::clicked, this, [this] {
    if (converting_) return;
    const SelectedInput& in = session_.selected();
    run_dialog<AttributesDialog>(kHelpAttributes, in.summary.field_list, in.shape_class);
    session_.after_attribute_fields();
    show_input();
  });
  connect(labels_specify_, &QPushButton::clicked, this, [this] {
    if (converting_) return;
    const SelectedInput& in = session_.selected();
    run_dialog<TextLabelsDialog>(kHelpLabels, in.summary.field_list, in.shape_class);
    session_.after_label_fields();
    show_input();
  });
  connect(legend_specify_, &QPushButton::clicked, this,
          [this] { run_dialog<LegendDialog>(kHelpLegend); });
  // Each box turns its output on or off; its Specify button follows it.
  const std::tuple<QCheckBox*, QPushButton*, void (InteractiveSession::*)(bool)> boxes[] = {
      {attributes_, attributes_specify_, &InteractiveSession::set_attributes},
      {labels_, labels_specify_, &InteractiveSession::set_labels},
      {legend_, legend_specify_, &InteractiveSession::set_legend}};
  for (const auto& [box, specify_button, session_setter] : boxes) {
    // Copies: structured bindings cannot be captured by every compiler this builds with.
    QPushButton* specify = specify_button;
    auto set = session_setter;
    connect(box, &QCheckBox::toggled, this, [this, specify, set](bool on) {
      (session_.*set)(on);
      specify->setEnabled(on);
      refresh_preview();
    });
  }
  return panel;
}

void MainWindow::file_selected(const std::string& path) {
  if (converting_) return;
  help_context_ = kHelpMain;
  if (path.empty()) {
    session_.clear();
    clear_input();
    preview_->clear();
    return;
  }
  session_.select(path);
  show_input();
  refresh_preview();
}

void MainWindow::refresh_preview() {
  PreviewDrawing drawing;
  (void)session_.preview_drawing(drawing);  // with the busy cursor meanwhile
  preview_->show_drawing(std::move(drawing));
}

void MainWindow::clear_input() {
  for (QLabel* l : {type_, size_, extent_min_, extent_max_, records_}) l->clear();
  save_->setText(text_of(84));
  for (QWidget* w : std::initializer_list<QWidget*>{
           save_as_, save_, layers_, colours_, points_, attributes_, labels_, legend_,
           attributes_specify_, labels_specify_, legend_specify_, release_}) {
    w->setEnabled(false);
  }
  release_->setText(QString::fromStdString(session_.release_text()));
}

void MainWindow::show_input() {
  const SelectedInput& in = session_.selected();
  if (!in.convertible) {
    clear_input();
    return;
  }
  size_->setText(QString::fromStdString(format_printf("%lld bytes", static_cast<long long>(in.file_size))));
  save_->setText(QString::fromStdString(session_.save_caption()));
  release_->setText(QString::fromStdString(session_.release_text()));
  const bool prepared = in.prepared == 0;
  if (prepared) {
    type_->setText(QString::fromStdString(in.summary.type_name));
    extent_min_->setText(number(in.summary.xmin) + ", " + number(in.summary.ymin));
    extent_max_->setText(number(in.summary.xmax) + ", " + number(in.summary.ymax));
    records_->setText(QString::number(in.summary.records));
  } else {
    for (QLabel* l : {type_, extent_min_, extent_max_, records_}) l->clear();
  }
  save_->setEnabled(session_.can_save());
  save_as_->setEnabled(prepared);
  release_->setEnabled(prepared);
  // A declined question leaves the options usable; an input that cannot be read does not.
  const bool usable = in.prepared != -1;
  layers_->setEnabled(usable);
  colours_->setEnabled(usable);
  // After a declined question the shape class is not known.
  points_->setEnabled(prepared && session_.points_enabled());
  points_->setText(QString::fromStdString(session_.points_caption()));
  const bool table = usable && session_.has_table();
  const std::pair<QCheckBox*, QPushButton*> boxes[] = {
      {attributes_, attributes_specify_}, {labels_, labels_specify_}, {legend_, legend_specify_}};
  const bool checked[] = {session_.attributes_on(), session_.labels_on(), session_.legend_on()};
  for (std::size_t i = 0; i < 3; ++i) {
    QSignalBlocker block(boxes[i].first);
    boxes[i].first->setChecked(table && checked[i]);
    boxes[i].first->setEnabled(table);
    boxes[i].second->setEnabled(table && checked[i]);
  }
}

void MainWindow::about() {
  QMessageBox::about(this, "About " + windowTitle(),
                     QString::fromStdString(version_text()).trimmed() +
                         "\n\nConverts shapefiles, dBase point tables and comma-delimited "
                         "tables into DXF and DWG drawings.");
}

HelpOpener MainWindow::help_opener() {
  return [this](QWidget* dialog, int context) {
    const int shown = help_context_;
    help_context_ = context;
    show_help(dialog);
    help_context_ = shown;
  };
}

void MainWindow::show_help(QWidget* dialog) {
  if (dialog != nullptr) {
    // A window of the main window would be blocked by the modal dialog: this one is the
    // dialog's own and closes with it.
    auto* viewer = new HelpViewer(dialog);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show_context(help_context_);
    return;
  }
  if (help_ == nullptr) help_ = new HelpViewer(this);
  help_->show_context(help_context_);
}

bool MainWindow::may_replace(const std::string& output) {
  if (!QFileInfo::exists(QString::fromStdString(output))) return true;
  const std::string text = format_printf(load_text(87).c_str(), output.c_str());
  return host_.message_box(load_text(88), text, Icon::question, Buttons::yes_no, Answer::no) ==
         Answer::yes;
}

bool MainWindow::confirm_conversion() {
  const bool go_on = session_.confirm_conversion();
  // A Yes may have turned attributes or labels off: the boxes show it whatever comes next.
  show_input();
  return go_on;
}

void MainWindow::save_clicked() {
  if (converting_ || !session_.can_save()) return;
  help_context_ = kHelpSaving;
  if (!confirm_conversion()) return;
  const std::string output = session_.output_path();
  if (may_replace(output)) convert(output);
}

void MainWindow::save_as_clicked() {
  if (converting_ || session_.selected().prepared != 0) return;
  help_context_ = kHelpSaving;
  if (!confirm_conversion()) return;
  const ConvSettings& s = cs_.settings;
  QString directory = QString::fromStdString(s.OutDir);
  if (directory.isEmpty()) directory = browser_->directory();
  const std::optional<SaveDialogAnswer> answer = save_dialog_(
      this, directory, initial_save_filter(s.SaveFileType, release_index(s)), s.Network == 1);
  if (!answer) {
    trace_write("CDExtErr==%u\n", 0U);
    status_write("%s", load_status_text(44).c_str());
    return;
  }
  session_.remember_output_directory(answer->path);
  const SaveAsChoice choice = resolve_save_as(answer->path, answer->entry, s.SaveFileType);
  if (choice.message != 0) {
    show_message(7, load_text(choice.message), Icon::error);
    return;
  }
  if (!may_replace(choice.path)) return;
  session_.apply_save_as(choice);
  convert(choice.path);
}

void MainWindow::convert(const std::string& output) {
  save_->setText(QString::fromStdString(session_.save_caption()));
  release_->setText(QString::fromStdString(session_.release_text()));
  set_converting(true);
  session_.convert(output);
  set_converting(false);
  show_input();
  QApplication::processEvents();
  // A request to end the process (not Ctrl-C, which asked first) ended the conversion: the
  // window goes too.
  if (ended_by_signal() != 0 || close_asked_) close();
}

void MainWindow::set_converting(bool on) {
  converting_ = on;
  // The window keeps repainting while busy; only Cancel (and the right button) act.
  // Leaving the busy state, show_input() enables what the prepared input allows.
  browser_->setEnabled(!on);
  if (on) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             save_, save_as_, layers_, colours_, points_, attributes_, labels_, legend_,
             attributes_specify_, labels_specify_, legend_specify_}) {
      w->setEnabled(false);
    }
  }
  for (QWidget* w : {settings_, about_, quit_}) w->setEnabled(!on);
  cancel_->setEnabled(on);
}

void MainWindow::quit_clicked() {
  if (!converting_) close();
}

void MainWindow::keep_settings() {
  WindowPosition& at = cs_.settings.window_positions[kMainPosition];
  at.x = pos().x();
  at.y = pos().y();
  if (!session_.quit(browser_->directory().toStdString())) {
    status_error("\nCould not write the program settings file " + cs_.settings.settings_file);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (converting_) {
    // Closing while converting asks to cancel; the window closes once the conversion ended.
    close_asked_ = true;
    host_.request_cancel();
    event->ignore();
    return;
  }
  keep_settings();
  if (help_ != nullptr) help_->close();
  event->accept();
}

int run_main_window() {
  return run_front_end([](QtHost& host) {
    MainWindow window(host, conv_state);
    window.show();
    if (QApplication::exec() != 0) return kExitFatal;
    // As on the console, a conversion ended by a signal ends the run with 128 + the signal.
    return ended_by_signal() != 0 ? kExitSignalBase + ended_by_signal() : kExitSuccess;
  });
}

}  // namespace tsn::ui
