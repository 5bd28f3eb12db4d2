// The main window's preview of real layers, on the offscreen platform: points, lines and
// filled polygons drawn in their class colours (the pixels are there), redrawn when a box is
// ticked and when an option dialog closes with OK but not with Cancel, and the time to build
// and paint the preview of a large polygon layer. Screenshots go to the build tree.
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <map>

#include "entities/marker_blocks.h"
#include "platform/program_dir.h"
#include "run/conv_state.h"
#include "settings/program_settings.h"
#include "ui/file_browser.h"
#include "ui/colour_swatch.h"
#include "ui/main_window.h"
#include "ui/preview_painter.h"
#include "ui/preview_pane.h"

namespace tsn::ui {

namespace fs = std::filesystem;

// The main window shown with its host, on a folder holding a copy of one input.
struct PreviewWindow {
  QtHost host;
  std::unique_ptr<MainWindow> window;
  std::string name;

  PreviewWindow(const QString& root, const std::string& relative) {
    const fs::path source = fs::path(TSN_TESTDATA_DIR) / relative;
    const std::string home = root.toStdString() + "/home/";
    const fs::path inputs = root.toStdString() + "/inputs";
    fs::create_directories(home);
    fs::create_directories(inputs);
    seed_default_files(home);
    conv_state = ConvState{};
    load_program_settings(conv_state.settings, home);
    for (const char* ext : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) {
      fs::path from = source;
      from.replace_extension(ext);
      if (fs::exists(from)) fs::copy_file(from, inputs / from.filename());
    }
    name = source.filename().string();
    conv_state.settings.InDir = inputs.string();
    set_host(&host);
    window = std::make_unique<MainWindow>(host, conv_state);
    window->show();
  }
  ~PreviewWindow() {
    window.reset();
    set_host(nullptr);
  }
  PreviewPane& pane() { return window->preview(); }
  ConvSettings& settings() { return conv_state.settings; }
  void tick(const char* box) {
    auto* b = window->findChild<QCheckBox*>(box);
    QVERIFY(b != nullptr && b->isEnabled());
    b->click();
  }
};

int field_position(const MainWindow& w, const char* name) {
  const auto& fields = const_cast<MainWindow&>(w).session().selected().summary.field_list;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (QString::fromStdString(fields[i].name).compare(name, Qt::CaseInsensitive) == 0) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// Colours by a field's unique values, labels of another field; what the Colours and Text
// Labels dialogs would set.
void classify(PreviewWindow& w, const char* colour_field, const char* label_field) {
  ConvSettings& s = w.settings();
  s.cur.ColourMethod = 2;
  s.cur.ClassTypeColor = 2;
  s.def.ColoursKey = colour_field;
  const int label = field_position(*w.window, label_field);
  QVERIFY(label >= 0);
  s.def.label_fields.fill(0);
  s.def.label_fields[static_cast<std::size_t>(label)] = 1;
  s.def.num_label_fields = 1;
}

// The shapes' colours that colour at least one shape in a hundred, by how many they colour.
std::map<int, long> main_colours(const PreviewDrawing& d) {
  std::map<int, long> all;
  for (const PreviewShape& s : d.shapes) ++all[s.colour];
  std::map<int, long> main;
  for (const auto& [colour, count] : all) {
    if (count * 100 >= static_cast<long>(d.shapes.size())) main[colour] = count;
  }
  return main;
}

// The colours of `wanted` that no pixel of the image has exactly.
QStringList missing_colours(const QImage& image, const std::map<int, long>& wanted) {
  std::map<QRgb, int> pixels;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) ++pixels[line[x] | 0xFF000000u];
  }
  QStringList missing;
  for (const auto& [colour, count] : wanted) {
    if (pixels.count(qcolour(colour).rgb() | 0xFF000000u) == 0) {
      missing << QString::number(colour);
    }
  }
  return missing;
}

void save_screenshots(PreviewWindow& w, const QString& name) {
  QTest::qWait(100);
  w.window->grab().save(QString(TSN_SCREENSHOT_DIR) + "/main_window_preview_" + name + ".png");
  w.pane().grab().save(QString(TSN_SCREENSHOT_DIR) + "/preview_" + name + ".png");
}

class PreviewPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void drawsARealLayerInItsClassColours_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("colour_field");
    QTest::addColumn<QString>("label_field");
    QTest::addColumn<int>("shape_class");
    QTest::newRow("points") << "ne-2.0-wagner7/110m_cultural/ne_110m_populated_places.shp"
                            << "SCALERANK" << "NAME" << 0;
    QTest::newRow("lines") << "ne-2.0-wagner7/10m_physical/ne_10m_rivers_lake_centerlines.shp"
                           << "scalerank" << "name" << 1;
    QTest::newRow("polygons") << "ne-2.0-wagner7/50m_cultural/ne_50m_admin_0_countries.shp"
                              << "mapcolor7" << "name" << 2;
  }

  void drawsARealLayerInItsClassColours() {
    QFETCH(QString, input);
    QFETCH(QString, colour_field);
    QFETCH(QString, label_field);
    QFETCH(int, shape_class);
    if (!fs::exists(fs::path(TSN_TESTDATA_DIR) / input.toStdString())) QSKIP("no test data");
    QTemporaryDir dir;
    PreviewWindow w(dir.path(), input.toStdString());
    QTRY_VERIFY(w.window->browser().select_file(QString::fromStdString(w.name)));
    // Selecting the input drew it with the settings it has.
    const long shapes_at_first = static_cast<long>(w.pane().drawing().shapes.size());
    QVERIFY(shapes_at_first > 0);
    QVERIFY(w.pane().drawing().texts.empty());

    ConvSettings& s = w.settings();
    if (shape_class == 0) {
      s.cur.PointsTranslate = 1;
      s.cur.Marker = kMarkerDot;
    }
    if (shape_class == 2) s.cur.Fill = 1;
    classify(w, colour_field.toUtf8().constData(), label_field.toUtf8().constData());
    // Ticking a box draws the preview again, with everything set meanwhile.
    w.tick("labels");
    w.tick("legend");
    const PreviewDrawing& d = w.pane().drawing();
    QVERIFY(!d.empty());
    QCOMPARE(d.left_out, 0L);
    QVERIFY2(d.texts.size() > 10, "labels and legend texts");
    const std::map<int, long> colours = main_colours(d);
    QVERIFY2(colours.size() >= 3, "several class colours");
    if (shape_class == 0) {
      QVERIFY(std::any_of(d.shapes.begin(), d.shapes.end(),
                          [](const PreviewShape& x) { return x.kind == PreviewShapeKind::disc; }));
    }
    if (shape_class == 2) {
      QVERIFY(static_cast<long>(d.shapes.size()) > shapes_at_first);  // the fill's faces
    }
    const char* const names[] = {"points", "lines", "polygons"};
    save_screenshots(w, names[shape_class]);
    const QStringList missing = missing_colours(w.pane().grab().toImage(), colours);
    QVERIFY2(missing.isEmpty(), qPrintable("colours without a pixel: " + missing.join(", ")));
  }

  // The release chosen in Settings redraws the preview on OK: release 14 hatches each polygon
  // once instead of filling it with faces. Cancel leaves it as it was.
  void anOptionDialogRedrawsThePreviewOnOkOnly() {
    const char* input = "ne-2.0-wagner7/50m_cultural/ne_50m_admin_0_countries.shp";
    if (!fs::exists(fs::path(TSN_TESTDATA_DIR) / input)) QSKIP("no test data");
    QTemporaryDir dir;
    PreviewWindow w(dir.path(), input);
    w.settings().prog.Fill = 1;
    w.settings().cur.Fill = 1;
    QTRY_VERIFY(w.window->browser().select_file(QString::fromStdString(w.name)));
    const auto fills = [&w] {
      const auto& shapes = w.pane().drawing().shapes;
      return std::count_if(shapes.begin(), shapes.end(),
                           [](const PreviewShape& x) { return x.kind == PreviewShapeKind::fill; });
    };
    const auto faces = fills();
    QVERIFY(faces > 10000);
    const auto choose = [&w](const char* release, QDialogButtonBox::StandardButton button) {
      QTimer::singleShot(50, [release, button] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr);
        dialog->findChild<QRadioButton*>(release)->setChecked(true);
        dialog->findChild<QDialogButtonBox*>()->button(button)->click();
      });
      QTest::mouseClick(w.window->findChild<QPushButton*>("settings"), Qt::LeftButton);
    };
    choose("release_7", QDialogButtonBox::Cancel);
    QCOMPARE(fills(), faces);
    choose("release_6", QDialogButtonBox::Ok);
    QCOMPARE(w.settings().verDXF, 6);
    const auto hatches = fills();
    QVERIFY2(hatches > 100 && hatches < 300, qPrintable(QString::number(hatches)));
    save_screenshots(w, "hatched");
  }

  // The largest polygon layer of the test data, filled by class, labelled, with its legend.
  void theCountriesOfTheWorldArePreviewedQuickly() {
    const char* input = "ne-2.0-wagner7/50m_cultural/ne_50m_admin_0_countries.shp";
    if (!fs::exists(fs::path(TSN_TESTDATA_DIR) / input)) QSKIP("no test data");
    QTemporaryDir dir;
    PreviewWindow w(dir.path(), input);
    QTRY_VERIFY(w.window->browser().select_file(QString::fromStdString(w.name)));
    w.settings().cur.Fill = 1;
    classify(w, "mapcolor7", "name");
    w.settings().cur.TextLabels = 1;
    w.settings().cur.Legend = 1;
    for (const int release : {4, 6}) {
      w.settings().verDXF = release;
      PreviewDrawing d;
      QElapsedTimer timer;
      timer.start();
      QCOMPARE(w.window->session().preview_drawing(d), 0);
      const qint64 build_ms = timer.elapsed();
      const auto shapes = d.shapes.size();
      const auto points = d.points.size();
      PreviewPane pane(nullptr);
      pane.resize(600, 600);
      pane.show_drawing(std::move(d));
      timer.restart();
      const QPixmap picture = pane.grab();  // the first paint draws the image
      const qint64 paint_ms = timer.elapsed();
      timer.restart();
      pane.grab();
      const qint64 repaint_ms = timer.elapsed();
      qInfo("ne_50m_admin_0_countries, release %d: %zu shapes, %zu points; build %lld ms, "
            "paint %lld ms, repaint %lld ms",
            release == 4 ? 12 : 14, shapes, points, static_cast<long long>(build_ms),
            static_cast<long long>(paint_ms), static_cast<long long>(repaint_ms));
      QVERIFY(build_ms < 5000);
      QVERIFY(paint_ms < 5000);
      QVERIFY(repaint_ms < paint_ms + 50);
      QVERIFY(!picture.isNull());
    }
  }
};

}  // namespace tsn::ui

QTEST_MAIN(tsn::ui::PreviewPaneTest)
#include "preview_pane_test.moc"
