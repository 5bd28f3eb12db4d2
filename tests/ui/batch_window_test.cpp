// The batch window on the offscreen platform: three commands and /X run and close the window
// by themselves; with /N it waits for Next after each command; Cancel stops a running command
// and writes nothing. Screenshots go to the build tree.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "drawdb/init_file.h"
#include "e2e/generated_input.h"
#include "platform/program_dir.h"
#include "run/conv_state.h"
#include "settings/program_settings.h"
#include "ui/batch_window.h"

namespace tsn::ui {

class BatchWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  // A fresh program directory and settings, and a command file of `lines` in it.
  std::optional<CommandSource> command_file(const std::string& lines) {
    const std::string home = dir_.path().toStdString() + "/home" + std::to_string(++homes_) + "/";
    QDir().mkpath(QString::fromStdString(home));
    seed_default_files(home);
    seed_text_file(home + "adinit2k.dat", default_init_text());
    conv_state = ConvState{};
    load_program_settings(conv_state.settings, home);
    const std::string path = home + "cmds.txt";
    std::ofstream(path) << lines;
    return CommandSource::open_command_file(path, conv_state.run);
  }

  std::string out(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }

  static std::string input(const char* name) { return std::string(TSN_TESTDATA_DIR) + "/" + name; }

  std::string three_commands() const {
    return input("shapelib-eg/mexico/states.shp") + " " + out("states.dxf") + " /T=2\n" +
           input("shapelib-eg/mexico/rivers.shp") + " " + out("rivers.dwg") + "\n" +
           input("geopandas-ne/naturalearth_cities.shp") + " " + out("cities.dxf") + "\n";
  }

  static QPushButton* button(QWidget& w, const QString& text) {
    for (QPushButton* b : w.findChildren<QPushButton*>()) {
      if (b->text() == text) return b;
    }
    return nullptr;
  }

  int homes_ = 0;

 private slots:
  void threeCommandsAndAnExitLineCloseTheWindowByThemselves() {
    std::optional<CommandSource> source = command_file(three_commands() + "/X\n");
    QVERIFY(source.has_value());
    QtHost host;
    set_host(&host);
    BatchWindow window(host, *source);
    QVERIFY(!window.hidden());
    // The window must close by itself; should it not, the guard closes it and the test fails.
    bool guard_fired = false;
    QTimer::singleShot(60000, &window, [&] {
      guard_fired = true;
      window.reject();
    });
    window.exec();
    set_host(nullptr);
    QVERIFY(!guard_fired);
    QCOMPARE(window.status(), 0);
    for (const char* name : {"states.dxf", "rivers.dwg", "cities.dxf"}) {
      QVERIFY2(QFile::exists(QString::fromStdString(out(name))), name);
    }
    QVERIFY(window.status_text().contains("Shapefile to DXF/DWG Converter."));
    QVERIFY(window.status_text().contains("Translated 3 source files to 3 output files."));
  }

  void withNTheWindowWaitsForNextAfterEachCommand() {
    std::optional<CommandSource> source = command_file("/N\n" + three_commands());
    QVERIFY(source.has_value());
    QtHost host;
    set_host(&host);
    BatchWindow window(host, *source);
    window.show();
    QPushButton* next = button(window, "&Next");
    QPushButton* exit = button(window, "E&xit");
    QVERIFY(next != nullptr && exit != nullptr);
    QVERIFY(next->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(next->isEnabled(), 30000);  // the first command ran
    QVERIFY(window.status_text().contains("Translate " + QString::fromStdString(input("shapelib-eg/mexico/states.shp"))));
    QVERIFY(!window.status_text().contains("rivers.shp"));
    window.grab().save(QString(TSN_SCREENSHOT_DIR) + "/batch_window_waiting.png");
    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(window.status_text().contains("rivers.shp"));
    QVERIFY(next->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);  // the last command, then the end of the file
    QVERIFY(!next->isEnabled());
    QVERIFY(exit->isEnabled());
    QVERIFY(window.status_text().contains("Translated 3 source files to 3 output files."));
    window.grab().save(QString(TSN_SCREENSHOT_DIR) + "/batch_window_done.png");
    QTest::mouseClick(exit, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    set_host(nullptr);
    QCOMPARE(window.status(), 0);
  }

  void cancelStopsTheRunningCommandAndWritesNothing() {
    test::ScratchDir d;
    QVERIFY(test::write_polyline_file(d, 400000, "big"));
    const std::string output = (d / "big.dxf").string();
    std::optional<CommandSource> source =
        command_file((d / "big.shp").string() + " " + output + "\n");
    QVERIFY(source.has_value());
    QtHost host;
    set_host(&host);
    BatchWindow window(host, *source);
    window.show();
    QPushButton* cancel = button(window, "&Cancel");
    QPushButton* exit = button(window, "E&xit");
    QVERIFY(cancel != nullptr && exit != nullptr);
    // Cancel once the command runs, then answer the question Yes; the time from the click to
    // the question is what the user waits.
    QElapsedTimer since_click;
    qint64 waited_ms = -1;
    QTimer clicker;
    connect(&clicker, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        if (yes == nullptr) {  // the input has no table: a warning to take note of
          box->button(QMessageBox::Ok)->click();
          return;
        }
        waited_ms = since_click.elapsed();
        clicker.stop();
        yes->click();
      } else if (cancel->isEnabled() && !since_click.isValid()) {
        window.grab().save(QString(TSN_SCREENSHOT_DIR) + "/batch_window_converting.png");
        since_click.start();
        cancel->click();
      }
    });
    clicker.start(50);
    QTRY_VERIFY_WITH_TIMEOUT(exit->isEnabled(), 60000);
    set_host(nullptr);
    QVERIFY2(waited_ms >= 0, "the question was never asked");
    qInfo("the abort question came %lld ms after the Cancel click", waited_ms);
    QVERIFY2(waited_ms < 1000, qPrintable(QString("asked after %1 ms").arg(waited_ms)));
    QVERIFY(window.status_text().contains("Process aborted due to user cancellation."));
    QCOMPARE(window.status(), 2);
    QVERIFY(!QFile::exists(QString::fromStdString(output)));
    for (const auto& e : std::filesystem::directory_iterator(d.path())) {
      QVERIFY2(!e.path().string().ends_with("~"), e.path().c_str());
    }
  }
};

}  // namespace tsn::ui

QTEST_MAIN(tsn::ui::BatchWindowTest)
#include "batch_window_test.moc"
