// The main window on the offscreen platform, driven as a user would: browsing a folder of real
// inputs, selecting files, saving DXF and DWG, the questions before a conversion, Cancel during
// one, Quit and the settings it keeps, and Help. Screenshots go to the build tree.
#include <QApplication>
#include <csignal>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QLineEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QTreeView>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>

#include "drawdb/init_file.h"
#include "platform/console_host.h"
#include "support/shell.h"
#include "e2e/generated_input.h"
#include "platform/program_dir.h"
#include "run/conv_state.h"
#include "settings/program_settings.h"
#include "ui/colour_dialogs.h"
#include "ui/file_browser.h"
#include "ui/help_viewer.h"
#include "ui/layer_dialogs.h"
#include "ui/main_window.h"

namespace tsn::ui {

namespace fs = std::filesystem;

// Answers every message box that opens while it lives, and remembers what they said.
class BoxAnswerer {
 public:
  using Choose = std::function<QMessageBox::StandardButton(const QMessageBox&)>;
  explicit BoxAnswerer(Choose choose) : choose_(std::move(choose)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal != nullptr && modal->objectName() == "option_dialog") {
        // Help from the dialog shows the section of its settings; then Cancel.
        auto* buttons = modal->findChild<QDialogButtonBox*>();
        buttons->button(QDialogButtonBox::Help)->click();
        auto* help = modal->findChild<HelpViewer*>();
        seen.push_back("option: " + modal->windowTitle() + ": help at " +
                       (help != nullptr ? help->shown_section() : QString()));
        QAbstractButton* leave = buttons->button(QDialogButtonBox::Cancel);
        (leave != nullptr ? leave : buttons->button(QDialogButtonBox::Ok))->click();
        return;
      }
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) return;
      seen.push_back(box->windowTitle() + ": " + box->text());
      box->button(choose_(*box))->click();
    });
    timer_.start(20);
  }
  int count(const QString& caption) const {
    return static_cast<int>(std::count_if(seen.begin(), seen.end(), [&](const QString& s) {
      return s.startsWith(caption + ":");
    }));
  }
  QStringList seen;

 private:
  Choose choose_;
  QTimer timer_;
};

// The main window shown with its host, the host answering for the program meanwhile.
struct ShownWindow {
  QtHost host;
  MainWindow window{host, conv_state};
  ShownWindow() {
    set_host(&host);
    window.show();
  }
  ~ShownWindow() { set_host(nullptr); }
};

QMessageBox::StandardButton yes_or_ok(const QMessageBox& box) {
  return box.button(QMessageBox::Yes) != nullptr ? QMessageBox::Yes : QMessageBox::Ok;
}

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  int homes_ = 0;

  std::string path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }

  // A fresh program directory whose settings file holds `settings` lines, and a folder of
  // inputs copied from the test data (the outputs are written beside them).
  std::string fresh_start(const std::string& settings = "") {
    const std::string home = path("home" + std::to_string(++homes_) + "/");
    QDir().mkpath(QString::fromStdString(home));
    seed_default_files(home);
    seed_text_file(home + "adinit2k.dat", default_init_text());
    if (!settings.empty()) std::ofstream(home + "tsn25.ini") << "[Tessaryn]\n" << settings;
    conv_state = ConvState{};
    load_program_settings(conv_state.settings, home);
    const std::string inputs = path("data" + std::to_string(homes_) + "/geopandas-ne");
    fs::create_directories(inputs);
    const fs::path ne = fs::path(TSN_TESTDATA_DIR) / "geopandas-ne";
    for (const char* ext : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) {
      fs::copy_file(ne / (std::string("naturalearth_lowres") + ext),
                    fs::path(inputs) / (std::string("naturalearth_lowres") + ext));
      // A name of 20 characters.
      fs::copy_file(ne / (std::string("naturalearth_lowres") + ext),
                    fs::path(inputs) / (std::string("countries_of_world_1") + ext));
    }
    return inputs;
  }

  static QString text(QWidget& w, const char* name) {
    if (auto* label = w.findChild<QLabel*>(name)) return label->text();
    if (auto* button = w.findChild<QAbstractButton*>(name)) return button->text();
    return "(no widget " + QString(name) + ")";
  }
  static bool enabled(QWidget& w, const char* name) {
    QWidget* child = w.findChild<QWidget*>(name);
    return child != nullptr && child->isEnabled();
  }
  static void click(QWidget& w, const char* name) {
    QWidget* child = w.findChild<QAbstractButton*>(name);
    QVERIFY2(child != nullptr, name);
    QTest::mouseClick(child, Qt::LeftButton);
  }

  // Runs `fill` on the next modal dialog once it shows (over the one open now, if any);
  // `fill` closes it. Gives up after five seconds.
  static void on_next_dialog(std::function<void(QDialog&)> fill) {
    QWidget* open_now = QApplication::activeModalWidget();
    auto* poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, waited, open_now, fill] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      const bool found = dialog != nullptr && dialog != open_now && dialog->isVisible();
      if (!found && ++*waited < 250) return;
      poll->stop();
      poll->deleteLater();
      if (!found) return;
      fill(*dialog);
      // A failed check left it open: closed, so that the test goes on to report it.
      if (dialog->isVisible()) dialog->reject();
    });
    poll->start(20);
  }
  template <typename Widget>
  static Widget* in(QWidget& w, const char* name) {
    auto* found = w.findChild<Widget*>(name);
    if (found == nullptr) qFatal("no widget %s", name);
    return found;
  }
  static void tick(QDialog& d, const char* field) {
    const QList<QListWidgetItem*> item =
        in<QListWidget>(d, "fields")->findItems(field, Qt::MatchExactly);
    QCOMPARE(item.size(), 1);
    item.front()->setCheckState(Qt::Checked);
  }

  static std::string ini_value(const std::string& key) {
    std::ifstream in(conv_state.settings.settings_file);
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return {};
  }

 private slots:
  void theProgramWithoutArgumentsOpensTheWindowOnADisplay() {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSARYN_HOME", QString::fromStdString(path("window_home")));
    program.setProcessEnvironment(env);
    program.start(TSN_BINARY, {});
    QVERIFY(program.waitForStarted());
    // The settings file is written at start-up; without a window the program would then print
    // the usage and end with status 2 at once.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString::fromStdString(path("window_home/tsn25.ini"))),
                             20000);
    QVERIFY(!program.waitForFinished(1500));
    QCOMPARE(program.state(), QProcess::Running);
    QVERIFY(!program.readAllStandardError().contains("Usage:"));
    // A request to end closes the window as Quit does: the settings keep its position.
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    std::ifstream ini(path("window_home/tsn25.ini"));
    const std::string settings((std::istreambuf_iterator<char>(ini)), {});
    QVERIFY2(settings.find("[Windows]") != std::string::npos, settings.c_str());
  }

  void selectingAShapefileShowsWhatItHoldsAndAnotherFileClearsIt() {
    const std::string inputs = fresh_start();
    QtHost host;
    set_host(&host);
    MainWindow window(host, conv_state);
    window.show();
    // A first start opens in the home folder; choosing a folder in the tree lists its files.
    QCOMPARE(window.browser().directory(), QDir::homePath());
    QTest::qWait(200);
    window.grab().save(QString(TSN_SCREENSHOT_DIR) + "/main_window_opened.png");
    auto* folders = window.findChild<QTreeView*>("folders");
    QVERIFY(folders != nullptr);
    auto* model = qobject_cast<QFileSystemModel*>(folders->model());
    QVERIFY(model != nullptr);
    folders->setCurrentIndex(model->index(QString::fromStdString(inputs)));
    QCOMPARE(window.browser().directory().toStdString(), inputs);
    QVERIFY(!enabled(window, "save") && !enabled(window, "save_as"));
    QCOMPARE(text(window, "save"), QString("Save .."));
    QTRY_VERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    QCOMPARE(text(window, "type"), QString("Polygon"));
    QCOMPARE(text(window, "records"), QString("177"));
    QCOMPARE(text(window, "extent_min"), QString("-180, -90"));
    QCOMPARE(text(window, "extent_max"), QString("180, 83.64513"));
    QCOMPARE(text(window, "save"), QString("&Save naturaleart.. .dxf"));
    QCOMPARE(text(window, "release"), QString("( Rel 12 )"));
    QCOMPARE(text(window, "points"), QString("Ele&vation"));
    for (const char* name : {"save", "save_as", "layers", "colours", "points", "attributes",
                             "labels", "legend"}) {
      QVERIFY2(enabled(window, name), name);
    }
    for (const char* name : {"attributes_specify", "labels_specify", "legend_specify"}) {
      QVERIFY2(!enabled(window, name), name);  // their boxes are off
    }
    // Another type and back: the same file selected again is prepared again.
    window.browser().set_filter(3);
    QVERIFY(text(window, "records").isEmpty());
    window.browser().set_filter(0);
    QVERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    QCOMPARE(text(window, "records"), QString("177"));
    QTest::qWait(200);  // the layout and the file list settle before the picture
    window.grab().save(QString(TSN_SCREENSHOT_DIR) + "/main_window_selected.png");
    // A 20-character name is cut to 11 characters in the caption.
    QVERIFY(window.browser().select_file("countries_of_world_1.shp"));
    QCOMPARE(text(window, "save"), QString("&Save countries_o.. .dxf"));
    // Any other extension clears the information and disables the conversion buttons.
    window.browser().set_filter(3);  // All files
    QTRY_VERIFY(window.browser().select_file("naturalearth_lowres.prj"));
    QCOMPARE(text(window, "save"), QString("Save .."));
    QVERIFY(text(window, "records").isEmpty() && text(window, "type").isEmpty());
    for (const char* name : {"save", "save_as", "layers", "colours", "points", "attributes",
                             "labels", "legend", "attributes_specify", "labels_specify",
                             "legend_specify"}) {
      QVERIFY2(!enabled(window, name), name);
    }
    // Help opens the manual at the section of the current action.
    click(window, "help");
    QVERIFY(window.help_viewer() != nullptr && window.help_viewer()->isVisible());
    QCOMPARE(window.help_viewer()->shown_section(), QString("The main window"));
    set_host(nullptr);
  }

  void saveWritesADxfThatPassesTheAuditAndSaveAsADwgOfRelease14() {
    const std::string inputs = fresh_start();
    conv_state.settings.InDir = inputs;
    QtHost host;
    set_host(&host);
    MainWindow window(host, conv_state);
    window.show();
    bool replace = true;
    BoxAnswerer answers([&](const QMessageBox& box) {
      if (box.windowTitle() == "Save") return replace ? QMessageBox::Yes : QMessageBox::No;
      return yes_or_ok(box);
    });
    QTRY_VERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    click(window, "save");
    const std::string dxf = inputs + "/naturalearth_lowres.dxf";
    QVERIFY(fs::exists(dxf));
    const std::string audit =
        test::capture("/usr/bin/python3 " TSN_TESTS_DIR "/e2e/drawing_compare.py --audit '" + dxf +
                      "' 2>&1");
    QVERIFY2(audit.find(dxf + " 0 ") == 0, audit.c_str());
    window.grab().save(QString(TSN_SCREENSHOT_DIR) + "/main_window_saved_dxf.png");
    // Saving again asks before the file is replaced; No keeps it as it was.
    fs::resize_file(dxf, 10);
    replace = false;
    click(window, "save");
    QCOMPARE(answers.count("Save"), 1);
    QCOMPARE(fs::file_size(dxf), std::uintmax_t{10});
    replace = true;
    click(window, "save");
    QCOMPARE(answers.count("Save"), 2);
    QVERIFY(fs::file_size(dxf) > 10);
    // Help after a save opens the manual where saving is told.
    click(window, "help");
    QCOMPARE(window.help_viewer()->shown_section(), QString("Saving a drawing"));
    QTest::qWait(100);
    window.help_viewer()->grab().save(QString(TSN_SCREENSHOT_DIR) + "/help_viewer.png");
    window.help_viewer()->close();

    // Save As "DWG Rel. 14" with a name typed without extension.
    QString shown_directory;
    int shown_entry = 0;
    window.set_save_dialog([&](QWidget*, const QString& directory, int entry, bool) {
      shown_directory = directory;
      shown_entry = entry;
      return SaveDialogAnswer{path("countries"), 5};
    });
    click(window, "save_as");
    QCOMPARE(shown_entry, 1);  // DXF release 12, the settings' choice so far
    const std::string dwg = path("countries.dwg");
    QVERIFY(fs::exists(dwg));
    std::ifstream in(dwg, std::ios::binary);
    char version[6] = {};
    in.read(version, 6);
    QCOMPARE(std::string(version, 6), std::string("AC1014"));
    QCOMPARE(text(window, "release"), QString("( Rel 14 )"));
    QCOMPARE(text(window, "save"), QString("&Save naturaleart.. .dwg"));
    // A name typed with its extension that exists is not replaced without asking.
    window.set_save_dialog([&](QWidget*, const QString&, int, bool) {
      return SaveDialogAnswer{dwg, 5};
    });
    replace = false;
    const auto written = fs::last_write_time(dwg);
    click(window, "save_as");
    QCOMPARE(answers.count("Save"), 3);
    QVERIFY(fs::last_write_time(dwg) == written);
    window.grab().save(QString(TSN_SCREENSHOT_DIR) + "/main_window_saved_dwg.png");
    // Quit keeps the choice and the folder shown.
    click(window, "quit");
    QVERIFY(!window.isVisible());
    set_host(nullptr);
    QCOMPARE(ini_value("SaveFileType"), std::string("1"));
    QCOMPARE(ini_value("verDXF"), std::string("6"));
    QCOMPARE(ini_value("InDir"), inputs);
    QCOMPARE(ini_value("OutDir"), dir_.path().toStdString() + "/");
  }

  void theQuestionsBeforeAConversion() {
    // Layers keyed by unique values: the eight continents, more than the warning allows.
    const std::string inputs = fresh_start("LayerByFeature=1\nClassTypeLayer=2\nLayersWarning=5\n");
    conv_state.settings.InDir = inputs;
    QtHost host;
    set_host(&host);
    MainWindow window(host, conv_state);
    window.show();
    bool revise = true;
    BoxAnswerer answers([&](const QMessageBox& box) {
      if (box.windowTitle() == "Lots of Layers Warning") {
        return revise ? QMessageBox::Yes : QMessageBox::No;
      }
      return yes_or_ok(box);
    });
    QTRY_VERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    const std::string dxf = inputs + "/naturalearth_lowres.dxf";
    click(window, "save");  // asked; Yes revises the selection: nothing is converted
    QCOMPARE(answers.count("Lots of Layers Warning"), 1);
    QVERIFY(!fs::exists(dxf));
    click(window, "save");  // not asked again before a conversion
    QCOMPARE(answers.count("Lots of Layers Warning"), 1);
    QVERIFY(fs::exists(dxf));
    revise = false;
    click(window, "save");  // a conversion happened: asked again, No goes on
    QCOMPARE(answers.count("Lots of Layers Warning"), 2);
    // Labels on without a field: asked, and Yes turns them off.
    auto* labels = window.findChild<QCheckBox*>("labels");
    QVERIFY(labels != nullptr);
    labels->setChecked(true);
    QVERIFY(enabled(window, "labels_specify"));
    click(window, "save");
    QVERIFY(answers.seen.join("\n").contains("Text Labels flag is on"));
    QVERIFY(window.findChild<QWidget*>("status")->property("plainText").toString().contains(
        "No Text Label Fields specified, setting Text Labels off"));
    // Attributes on, and their field dialog closed without a field: they are off again.
    auto* attributes = window.findChild<QCheckBox*>("attributes");
    attributes->setChecked(true);
    click(window, "attributes_specify");
    QVERIFY2(answers.seen.contains("option: Feature Attributes Filter: help at Feature attributes"),
             qPrintable(answers.seen.join("\n")));
    QVERIFY(!attributes->isChecked() && !enabled(window, "attributes_specify"));
    QVERIFY(window.findChild<QWidget*>("status")->property("plainText").toString().contains(
        "No Feature Attribute Fields specified, setting Feature Attributes off"));
    // Save As with an extension that is neither .dwg nor .dxf writes nothing.
    window.set_save_dialog([&](QWidget*, const QString&, int, bool) {
      return SaveDialogAnswer{path("countries.txt"), 2};
    });
    click(window, "save_as");
    QVERIFY(answers.seen.join("\n").contains("Output file must have a '.dwg' or '.dxf' extension"));
    QVERIFY(!fs::exists(path("countries.txt")));
    set_host(nullptr);
  }

  void labelsChosenInTheirDialogReachTheDrawingAndItsDefinitionFile() {
    const std::string inputs = fresh_start();
    conv_state.settings.InDir = inputs;
    ShownWindow shown_window;
    MainWindow& window = shown_window.window;
    QTRY_VERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    window.findChild<QCheckBox*>("labels")->setChecked(true);
    // The label dialog: the field "name", then OK.
    QTimer::singleShot(50, [] {
      QWidget* dialog = QApplication::activeModalWidget();
      QVERIFY(dialog != nullptr && dialog->windowTitle() == "Text Labels");
      auto* fields = dialog->findChild<QListWidget*>("fields");
      const QList<QListWidgetItem*> name = fields->findItems("name", Qt::MatchExactly);
      QCOMPARE(name.size(), 1);
      name.front()->setCheckState(Qt::Checked);
      qobject_cast<QDialog*>(dialog)->accept();
    });
    click(window, "labels_specify");
    QVERIFY(window.findChild<QCheckBox*>("labels")->isChecked());
    BoxAnswerer answers(yes_or_ok);
    click(window, "save");
    const std::string dxf = inputs + "/naturalearth_lowres.dxf";
    const std::string texts = test::capture(
        "/usr/bin/python3 -c \"import ezdxf,sys\n"
        "m=ezdxf.readfile(sys.argv[1]).modelspace()\n"
        "t=[e.dxf.text for e in m.query('TEXT')]\n"
        "print(len(t), 'France' in t)\" '" + dxf + "' 2>&1");
    QVERIFY2(texts.rfind("177 True", 0) == 0, texts.c_str());
    // The choice is the input's: reopening it shows labels on.
    QVERIFY(window.browser().select_file("countries_of_world_1.shp"));
    QVERIFY(!window.findChild<QCheckBox*>("labels")->isChecked());
    QVERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    QVERIFY(window.findChild<QCheckBox*>("labels")->isChecked());
  }

  void layersByUniqueValuesWithAnEditedClassReachTheDrawing() {
    const std::string inputs = fresh_start();
    conv_state.settings.InDir = inputs;
    ShownWindow shown_window;
    MainWindow& window = shown_window.window;
    QTRY_VERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    QStringList shown;
    // Layers by "continent", Unique Values; the class "Africa" renamed in Edit Range.
    QTimer::singleShot(50, [&] {
      auto* dialog = dynamic_cast<LayersDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      dialog->findChild<QRadioButton*>("by_feature")->setChecked(true);
      auto* key = dialog->findChild<QComboBox*>("key");
      key->setCurrentIndex(key->findText("continent"));
      dialog->findChild<QRadioButton*>("method_2")->setChecked(true);
      auto* classes = dialog->findChild<QListWidget*>("classes");
      for (int i = 0; i < classes->count(); ++i) shown << classes->item(i)->text();
      QTimer::singleShot(50, [] {
        auto* range = dynamic_cast<EditRangeDialog*>(QApplication::activeModalWidget());
        QVERIFY(range != nullptr);
        range->findChild<QLineEdit*>("label")->setText("AFRIKA");
        range->accept();
      });
      dialog->classes().edit_class(static_cast<int>(shown.indexOf(QRegularExpression("(?i)africa"))));
      QVERIFY(dialog->findChild<QRadioButton*>("by_feature")->isChecked());
      dialog->grab().save(QString(TSN_SCREENSHOT_DIR) + "/layers_dialog.png");
      dialog->accept();
    });
    click(window, "layers");
    QCOMPARE(shown.size(), 8);
    QVERIFY(window.findChild<QWidget*>("status")->property("plainText").toString().contains(
        "Layers keyed to continent"));
    BoxAnswerer answers(yes_or_ok);
    click(window, "save");
    const std::string layers = test::capture(
        "/usr/bin/python3 -c \"import ezdxf,sys\n"
        "m=ezdxf.readfile(sys.argv[1]).modelspace()\n"
        "print(','.join(sorted({e.dxf.layer for e in m})))\" '" + inputs +
        "/naturalearth_lowres.dxf' 2>&1");
    // Release 12 layer names: upper case, no runs of underscores.
    QCOMPARE(QString::fromStdString(layers).trimmed(),
             QString("AFRIKA,ANTARCTICA,ASIA,EUROPE,NORTH_AMERICA,OCEANIA,SEVEN_SEAS_OPEN_OCEAN,"
                     "SOUTH_AMERICA"));
  }

  void optionsChosenInTheWindowGiveTheDrawingOfTheSameSwitches() {
    const std::string inputs = fresh_start("verDXF=6\n");
    conv_state.settings.InDir = inputs;
    ShownWindow shown_window;
    MainWindow& window = shown_window.window;
    QTRY_VERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    on_next_dialog([](QDialog& d) {
      in<QRadioButton>(d, "by_feature")->setChecked(true);
      in<QComboBox>(d, "key")->setCurrentText("continent");
      in<QRadioButton>(d, "method_2")->setChecked(true);
      d.accept();
    });
    click(window, "layers");
    on_next_dialog([](QDialog& d) {
      QCOMPARE(d.windowTitle(), QString("Polygon Colours"));
      in<QRadioButton>(d, "linked")->setChecked(true);
      in<QComboBox>(d, "key")->setCurrentText("pop_est");
      in<QRadioButton>(d, "method_0")->setChecked(true);
      dynamic_cast<ColoursDialog&>(d).classes().set_class_count(5);
      in<QComboBox>(d, "scheme")->setCurrentIndex(2);
      in<QCheckBox>(d, "fill")->setChecked(true);
      in<QComboBox>(d, "hatch")->setCurrentText("ANSI31");
      in<QLineEdit>(d, "hatch_scale")->setText("2.5");
      QCOMPARE(in<QListWidget>(d, "classes")->count(), 5);
      d.grab().save(QString(TSN_SCREENSHOT_DIR) + "/polygon_colours_dialog.png");
      d.accept();
    });
    click(window, "colours");
    window.findChild<QCheckBox*>("labels")->setChecked(true);
    on_next_dialog([](QDialog& d) {
      tick(d, "name");
      on_next_dialog([](QDialog& position) {
        in<QRadioButton>(position, "anchor_238")->setChecked(true);
        in<QRadioButton>(position, "justify_1")->setChecked(true);
        position.accept();
      });
      QTest::mouseClick(in<QPushButton>(d, "position"), Qt::LeftButton);
      d.accept();
    });
    click(window, "labels_specify");
    window.findChild<QCheckBox*>("attributes")->setChecked(true);
    on_next_dialog([](QDialog& d) {
      tick(d, "iso_a3");
      in<QRadioButton>(d, "xdata")->setChecked(true);
      d.accept();
    });
    click(window, "attributes_specify");
    window.findChild<QCheckBox*>("legend")->setChecked(true);
    {
      // (Only while saving: it would also answer the option dialogs.)
      BoxAnswerer answers(yes_or_ok);
      click(window, "save");
    }
    const std::string saved = inputs + "/naturalearth_lowres.dxf";
    QVERIFY(fs::exists(saved));

    // The command line with the same choices, from a program directory of its own (where the
    // scale is a program setting: no switch sets it) on a copy of the input.
    const std::string home = path("cli_home/");
    const std::string copies = path("cli_inputs/");
    fs::create_directories(home);
    fs::create_directories(copies);
    std::ofstream(home + "tsn25.ini") << "[Tessaryn]\nHatchScale=2.5\n";
    for (const char* ext : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) {
      fs::copy_file(inputs + "/naturalearth_lowres" + ext, copies + "naturalearth_lowres" + ext);
    }
    const std::string cli = copies + "naturalearth_lowres.dxf";
    const std::string run = test::capture(
        "TESSARYN_HOME='" + home + "' " TSN_BINARY " '" + copies + "naturalearth_lowres.shp' '" +
        cli + "' /REL=14 /LF=1 /LC=2 /CF=0 /CC=0 /C2=5 /CP=2 /C=2 /CH=2 /T=2 /TPPB=4 /TPPJ=1 "
        "/AE=3 /V= 2>&1");
    QVERIFY2(fs::exists(cli), run.c_str());
    const std::string compared = test::capture("/usr/bin/python3 " TSN_TESTS_DIR
                                               "/e2e/drawing_compare.py --tables --colours '" +
                                               saved + "' '" + cli + "' 2>&1");
    QVERIFY2(compared.find(" same") != std::string::npos, compared.c_str());
    // What the comparison saw: a layer per continent, five fill colours, the pattern at 2.5
    // times its line spacing of 0.125, labels, extended data on every shape, and the legend's
    // five class symbols under the key field's name.
    const std::string held = test::capture(
        "/usr/bin/python3 -c \"import ezdxf,math,sys\n"
        "d=ezdxf.readfile(sys.argv[1]);m=d.modelspace()\n"
        "h=m.query('HATCH');p=m.query('LWPOLYLINE')\n"
        "t=[e.dxf.text for e in m.query('TEXT')]\n"
        "print(len({e.dxf.layer for e in p}),len({e.dxf.color for e in h}),"
        "{e.dxf.pattern_name for e in h},round(math.hypot(*h[0].pattern.lines[0].offset),4),"
        "'France' in t,all(e.has_xdata('TESSARYN') for e in list(p)+list(h)),"
        "len(m.query('INSERT[name==\\\"LEGSYM_POLY\\\"]')),any('pop_est' in x for x in t))\" '" +
        saved + "' 2>&1");
    QVERIFY2(held.rfind("8 5 {'ANSI31'} 0.3125 True True 5 True", 0) == 0, held.c_str());

    // The definition file remembers every choice: reopening the input shows them again.
    QVERIFY(window.browser().select_file("countries_of_world_1.shp"));
    QVERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    for (const char* box : {"labels", "attributes", "legend"}) {
      QVERIFY2(window.findChild<QCheckBox*>(box)->isChecked(), box);
    }
    on_next_dialog([](QDialog& d) {
      QCOMPARE(in<QComboBox>(d, "key")->currentText(), QString("pop_est"));
      QVERIFY(in<QRadioButton>(d, "linked")->isChecked());
      QCOMPARE(in<QComboBox>(d, "scheme")->currentIndex(), 2);
      QCOMPARE(in<QComboBox>(d, "hatch")->currentText(), QString("ANSI31"));
      QCOMPARE(in<QLineEdit>(d, "hatch_scale")->text(), QString("2.5"));
      QCOMPARE(in<QListWidget>(d, "classes")->count(), 5);
      d.reject();
    });
    click(window, "colours");
    on_next_dialog([](QDialog& d) {
      QCOMPARE(in<QComboBox>(d, "key")->currentText(), QString("continent"));
      QVERIFY(in<QRadioButton>(d, "method_2")->isChecked());
      d.reject();
    });
    click(window, "layers");
  }

  void schemesStylesAndTheNetworkSettingFromTheirDialogs() {
    const std::string inputs = fresh_start();
    conv_state.settings.InDir = inputs;
    ShownWindow shown_window;
    MainWindow& window = shown_window.window;
    QTRY_VERIFY(window.browser().select_file("naturalearth_lowres.shp"));
    QStringList opened;
    const auto open_and_leave = [&](const char* button) {
      return [&opened, button](QDialog& d) {
        on_next_dialog([&opened](QDialog& inner) {
          opened << inner.windowTitle();
          inner.reject();
        });
        QTest::mouseClick(in<QPushButton>(d, button), Qt::LeftButton);
        d.reject();
      };
    };
    on_next_dialog(open_and_leave("edit_schemes"));
    click(window, "settings");
    window.findChild<QCheckBox*>("legend")->setChecked(true);
    on_next_dialog(open_and_leave("styles"));
    click(window, "legend_specify");
    QCOMPARE(opened, (QStringList{"Edit Color Schemes", "Text Styles"}));
    // A changed network setting is announced once the settings are taken.
    QString told;
    on_next_dialog([&told](QDialog& d) {
      on_next_dialog([&told](QDialog& box) {
        if (auto* message = qobject_cast<QMessageBox*>(&box)) told = message->text();
        box.accept();
      });
      in<QCheckBox>(d, "network")->setChecked(true);
      d.accept();
    });
    click(window, "settings");
    QCOMPARE(told, QString("Network setting changed.  The new setting will take effect\n"
                           "the next time that Tessaryn is started."));
    QCOMPARE(conv_state.settings.Network, 1);
  }

  void cancelDuringALargeConversionLeavesNoOutput() {
    fresh_start();
    test::ScratchDir d;
    QVERIFY(test::write_polyline_file(d, 200000, "big"));
    conv_state.settings.InDir = d.path().string();
    QtHost host;
    set_host(&host);
    MainWindow window(host, conv_state);
    window.show();
    auto* progress = window.findChild<QProgressBar*>();
    QVERIFY(progress != nullptr);
    // Cancel once the bar has moved; the time from the click to the question is what the
    // user waits.
    QElapsedTimer since_click;
    qint64 waited_ms = -1;
    int progress_seen = 0;
    BoxAnswerer answers([&](const QMessageBox& box) {  // the missing table's warning, and Yes
      if (box.text() == "Abort current process ?") waited_ms = since_click.elapsed();
      return yes_or_ok(box);
    });
    QTRY_VERIFY(window.browser().select_file("big.shp"));
    QCOMPARE(text(window, "records"), QString("200000"));
    QTimer clicker;
    connect(&clicker, &QTimer::timeout, [&] {
      if (QApplication::activeModalWidget() != nullptr) return;
      if (!window.converting() || since_click.isValid()) return;
      progress_seen = progress->value();
      if (progress_seen < 5) return;
      window.grab().save(QString(TSN_SCREENSHOT_DIR) + "/main_window_converting.png");
      since_click.start();
      click(window, "cancel");
    });
    clicker.start(10);
    click(window, "save");
    QVERIFY2(waited_ms >= 0, "the abort question was never asked");
    qInfo("progress at %d %% when Cancel was clicked; the question came %lld ms later",
          progress_seen, waited_ms);
    QVERIFY2(waited_ms < 1000, qPrintable(QString("asked after %1 ms").arg(waited_ms)));
    QVERIFY(!fs::exists(d / "big.dxf"));
    QVERIFY(window.findChild<QWidget*>("status")->property("plainText").toString().contains(
        "Process aborted due to user cancellation."));
    for (const auto& e : fs::directory_iterator(d.path())) {
      QVERIFY2(!e.path().string().ends_with("~"), e.path().c_str());
    }
    // The input is prepared again and can be saved.
    QVERIFY(enabled(window, "save"));

    // A whole conversion to DWG 2000: records, assembly and the database's save all let the
    // window repaint and move its bar; the longest gap between two ticks of a 10 ms timer
    // while the bar shows is the longest the window stops answering while it can be cancelled
    // (putting the written file in place, after the bar, is logged but not bounded: the disk
    // decides it).
    window.set_save_dialog([&](QWidget*, const QString&, int, bool) {
      return SaveDialogAnswer{(d / "big").string(), 6};
    });
    QElapsedTimer since_tick;
    qint64 longest_gap = 0;
    qint64 longest_any = 0;
    std::set<int> bar_values;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] {
      if (!window.converting()) return;
      const qint64 gap = since_tick.isValid() ? since_tick.elapsed() : 0;
      longest_any = std::max(longest_any, gap);
      // While the bar shows, the work can be cancelled; after it the file is put in place.
      if (progress->isVisible()) longest_gap = std::max(longest_gap, gap);
      since_tick.start();
      bar_values.insert(progress->value());
    });
    ticker.start(10);
    QElapsedTimer whole;
    whole.start();
    click(window, "save_as");
    qInfo("DWG 2000 of 200,000 records in %lld ms: while the bar showed, the window stopped "
          "answering for %lld ms at most (%lld ms with putting the file in place); the bar "
          "showed %zu values",
          whole.elapsed(), longest_gap, longest_any, bar_values.size());
    QVERIFY(fs::exists(d / "big.dwg"));
    QVERIFY2(longest_gap < 1000, qPrintable(QString("a gap of %1 ms").arg(longest_gap)));
    QVERIFY(bar_values.size() >= 5);  // the bar moved, not only its start and end

    // A request to end the process during a conversion ends it without a question, and the
    // window with it. (The signal stays on record for the rest of this process: last test.)
    fs::remove(d / "big.dwg");
    ConsoleHost::install_interrupt_handler();
    QTimer ender;
    connect(&ender, &QTimer::timeout, [&] {
      if (window.converting() && progress->value() >= 5) {
        ender.stop();
        ::raise(SIGTERM);
      }
    });
    ender.start(10);
    const int questions = static_cast<int>(answers.seen.size());
    click(window, "save_as");
    ConsoleHost::remove_interrupt_handler();
    QVERIFY(window.findChild<QWidget*>("status")->property("plainText").toString().contains(
        "Process aborted: the program received SIGTERM."));
    QCOMPARE(static_cast<int>(answers.seen.size()), questions);
    QVERIFY(!fs::exists(d / "big.dwg"));
    QVERIFY(!window.isVisible());
    set_host(nullptr);
  }
};

}  // namespace tsn::ui

QTEST_MAIN(tsn::ui::MainWindowTest)
#include "main_window_test.moc"
