// The option dialogs' checks at their limits: a refused value is said on the error line and
// the dialog stays open with the settings untouched; Cancel changes nothing; the picker's
// cells pick their colour; Help opens the manual at the dialog's section.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>

#include "run/conv_state.h"
#include "settings/scheme_colours.h"
#include "ui/annotation_dialogs.h"
#include "ui/colour_dialogs.h"
#include "ui/colour_swatch.h"
#include "ui/layer_dialogs.h"
#include "ui/point_dialogs.h"
#include "settings/scheme_editor.h"
#include "ui/scheme_dialogs.h"
#include "ui/settings_dialogs.h"
#include "ui/styles_dialog.h"
#include "ui/text_position_dialog.h"

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

  static std::vector<dbf_field> three_fields() {
    return {{'C', 0, "NAME", 20}, {'N', 0, "POP", 10}, {'C', 0, "ISO", 3}};
  }
  static void check(QListWidget* list, int row) { list->item(row)->setCheckState(Qt::Checked); }

  QTemporaryDir dir_;

  // Two schemes: red, green and blue repeated, and a graded one of eight.
  ConvSettings with_schemes() {
    ConvSettings s;
    s.colours_file = dir_.filePath("colors.ini").toStdString();
    std::ofstream(s.colours_file) << "[ColorSchemes]\nNumSchemes=2\n0=Primary\n1=Reds\n"
                                     "[Primary]\nGrad=0\n0=1,3,5\n"
                                     "[Reds]\nGrad=1\n0=10,12,14,16,18,20,22,240\n";
    s.scheme_names = {"Primary", "Reds"};
    load_scheme_colours(s);
    s.def.ColoursKey = "POP";
    s.cur.Use1ColourPoints = 0;
    return s;
  }
  static ColourInput colour_input(int shape_type) {
    InputInfo info;
    info.shape_type = shape_type;
    info.has_table = true;
    info.field_count = 3;
    info.extent_diagonal = 1000.0;
    return {three_fields(), info};
  }
  // Classes of POP as the session would build them: five ranges, or unique integers.
  static KeyPreviewer classes_of_pop(bool integers) {
    return [integers](const std::string&, int method, int) {
      KeyPreview p;
      p.method = integers ? 2 : method;
      p.numeric = true;
      p.classes.type = integers ? NumberType::integer : NumberType::real;
      for (int i = 0; i < 5; ++i) {
        const double lo = integers ? i + 1 : i * 10.5;
        const double hi = integers ? lo : lo + 10;
        const QString label = integers ? QString::number(lo) : QString("%1 - %2").arg(lo).arg(hi);
        p.classes.classes.push_back({label.toStdString(), lo, hi, "", ""});
      }
      return p;
    };
  }
  static std::vector<int> first_colours(const ColoursDialog& d, int n) {
    return {d.class_colours().begin(), d.class_colours().begin() + n};
  }

 private slots:
  void pointOptionChecks() {
    const std::vector<dbf_field> no_numbers = {{'C', 0, "NAME", 20}};
    const struct {
      const char* factor;
      bool elevation;
      bool numbers;  // the table has a numeric field
      bool z_shapes;
      QString error;
    } cases[] = {
        {"0.000001", false, true, false, ""},
        {"0.0000009", false, true, false,
         "Elevation factor must be in absolute range 0.000001 to 1000000.0"},
        {"1000000", false, true, false, ""},
        {"1000001", false, true, false,
         "Elevation factor must be in absolute range 0.000001 to 1000000.0"},
        {"-5", false, true, false, ""},
        {"x", false, true, false, "Elevation factor must be in absolute range 0.000001 to 1000000.0"},
        {"1", true, false, false, "No elevation data for this file"},
        {"1", true, false, true, ""},  // a Z shapefile has heights of its own
        {"1", true, true, false, ""},
    };
    for (const auto& c : cases) {
      ConvSettings s;
      PointOptionsDialog dialog(nullptr, s, {c.numbers ? three_fields() : no_numbers, 0, false,
                                             c.z_shapes}, {});
      dialog.show();
      child<QCheckBox>(dialog, "elevation")->setChecked(c.elevation);
      QCOMPARE(ok_with(dialog, "factor", c.factor), c.error.isEmpty());
      QCOMPARE(dialog.error_text(), c.error);
      QCOMPARE(s.cur.PointsElev, c.error.isEmpty() && c.elevation ? 1 : 0);
    }
  }

  void pointTableFieldsMarkersAndTheTinWarning() {
    ConvSettings s;
    std::vector<dbf_field> fields = three_fields();
    fields.push_back({'N', 2, "EAST", 12});
    {
      PointOptionsDialog cancelled(nullptr, s, {fields, 0, true, false}, {});
      cancelled.show();
      child<QCheckBox>(cancelled, "raw")->setChecked(true);
      cancelled.reject();
      QCOMPARE(s.cur.CSVHasHeader, 1);
    }
    PointOptionsDialog dialog(nullptr, s, {fields, 0, true, false}, {});
    dialog.show();
    child<QComboBox>(dialog, "x_key")->setCurrentText("EAST");
    child<QComboBox>(dialog, "y_key")->setCurrentText("POP");
    child<QCheckBox>(dialog, "raw")->setChecked(true);
    child<QRadioButton>(dialog, "markers")->setChecked(true);
    QTimer::singleShot(20, [] {
      auto* marker = dynamic_cast<MarkerDialog*>(QApplication::activeModalWidget());
      QVERIFY(marker != nullptr);
      marker->findChild<QRadioButton*>("marker_5")->setChecked(true);
      marker->accept();
    });
    QTest::mouseClick(child<QPushButton>(dialog, "marker"), Qt::LeftButton);
    QCOMPARE(s.cur.Marker, 1);  // taken with the point options' OK
    dialog.grab().save(QString(TSN_SCREENSHOT_DIR) + "/point_options_dialog.png");
    dialog.accept();
    QCOMPARE(s.cur.XKey, std::string("EAST"));
    QCOMPARE(s.cur.YKey, std::string("POP"));
    QCOMPARE(s.cur.CSVHasHeader, 0);
    QCOMPARE(s.cur.PointsTranslate, 1);
    QCOMPARE(s.cur.Marker, 5);
    // The TIN case of a polygon shapefile warns when it is switched on.
    PointOptionsDialog polygons(nullptr, s, {fields, 2, false, false}, {});
    polygons.show();
    QString caption;
    QTimer::singleShot(20, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      caption = box->windowTitle();
      box->accept();
    });
    child<QCheckBox>(polygons, "tin")->setChecked(true);
    QCOMPARE(caption, QString("Warning:  This option for special conforming shapefiles only."));
    polygons.accept();
    QCOMPARE(s.cur.TIN, 1);
  }

  void textPositionOfPolygonLabels() {
    ConvSettings s;
    s.def.label_fields[0] = 1;
    s.def.num_label_fields = 1;
    TextLabelsDialog labels(nullptr, s, three_fields(), 2, {});
    labels.show();
    QTimer::singleShot(20, [] {
      auto* dialog = dynamic_cast<TextPositionDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      auto* move = dialog->findChild<QCheckBox*>("move_close");
      QCOMPARE(move->text(), QString("Center text inside Polygon part"));
      dialog->findChild<QRadioButton*>("anchor_242")->setChecked(true);
      QCOMPARE(move->text(), QString("Move text next to Polygon edge"));
      move->setChecked(false);
      dialog->findChild<QRadioButton*>("vertical_1")->setChecked(true);
      dialog->findChild<QRadioButton*>("justify_2")->setChecked(true);
      dialog->grab().save(QString(TSN_SCREENSHOT_DIR) + "/text_position_dialog.png");
      dialog->accept();
    });
    QTest::mouseClick(child<QPushButton>(labels, "position"), Qt::LeftButton);
    // Taken with the labels' OK, not before.
    QCOMPARE(s.cur.label_position[2].MinMaxPos, 238);
    labels.accept();
    const TextPosition& p = s.cur.label_position[2];
    QCOMPARE(p.MinMaxPos, 242);
    QCOMPARE(p.VerticalPos, 1);
    QCOMPARE(p.AnnotJust, 2);
    QCOMPARE(s.cur.label_move_close[2], 0);
    QCOMPARE(s.cur.label_position[0].MinMaxPos, 238);  // other classes keep theirs
  }

  void rangeChecks() {
    const std::string name255(255, 'n');
    const std::string name256(256, 'n');
    const std::string name32(32, 'n');
    const struct {
      NumberType type;
      bool layer_class;
      int verDXF;
      std::string label;
      const char* low;
      QString error;    // empty: accepted
      bool warned;      // the 31-character warning came first
    } cases[] = {
        {NumberType::real, true, 7, "A", "x", "Invalid Number - Re-enter", false},
        {NumberType::real, true, 7, "A", "2.5", "", false},
        {NumberType::alphabetic, true, 7, "A", "x", "", false},  // texts are not parsed
        {NumberType::integer, true, 7, name256, "1", "DXF/DWG Layer Names cannot exceed 255 characters", false},
        {NumberType::integer, true, 7, name255, "1", "", false},
        {NumberType::integer, true, 6, name32, "1", "", true},
        {NumberType::integer, false, 6, name256, "1", "Label cannot exceed 255 characters", false},
        {NumberType::integer, false, 6, name255, "1", "", false},
    };
    for (const auto& c : cases) {
      KeyClass range{"old", 1, 3, "1", "3"};
      EditRangeDialog dialog(nullptr, range, c.type, c.layer_class, c.verDXF, {}, 241);
      dialog.show();
      child<QLineEdit>(dialog, "label")->setText(QString::fromStdString(c.label));
      bool warned = false;
      QTimer answer;
      connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          warned = box->text().startsWith("Warning: Layer name exceeding 31 characters");
          box->accept();
        }
      });
      answer.start(10);
      QCOMPARE(ok_with(dialog, "low", c.low), c.error.isEmpty());
      QCOMPARE(dialog.error_text(), c.error);
      QCOMPARE(warned, c.warned);
      QCOMPARE(dialog.range().label, c.error.isEmpty() ? c.label : std::string("old"));
    }
  }

  void textLabelChecks() {
    const std::string long_name(32, 'L');
    const struct {
      const char* overlap;
      bool eliminate;
      const char* layer_button;
      std::string layer;
      int verDXF;
      bool field;
      QString error;  // empty: accepted
    } cases[] = {
        {"0.01", true, "same_layer", "TEXT", 4, true, ""},
        {"0.0099", true, "same_layer", "TEXT", 4, true,
         "Range error: Overlap factor must be greater than 0.01"},
        {"0.0099", false, "same_layer", "TEXT", 4, true, ""},  // not eliminating: not checked
        {"1", false, "same_layer", "TEXT", 4, false,
         "Error: No Text Label Fields have been specified"},
        {"1", false, "single_layer", long_name, 6, true,
         "Layer Name cannot exceed 31 characters for DXF/DWG versions up to release 14, reenter"},
        {"1", false, "single_layer", long_name, 7, true, ""},
        {"1", false, "single_layer", "  ", 7, true, "Name cannot be blank, reenter"},
    };
    for (const auto& c : cases) {
      ConvSettings s;
      s.verDXF = c.verDXF;
      TextLabelsDialog dialog(nullptr, s, three_fields(), 2, {});
      dialog.show();
      if (c.field) check(child<QListWidget>(dialog, "fields"), 2);
      child<QCheckBox>(dialog, "eliminate")->setChecked(c.eliminate);
      child<QRadioButton>(dialog, c.layer_button)->setChecked(true);
      child<QLineEdit>(dialog, "layer_name")->setText(QString::fromStdString(c.layer));
      QCOMPARE(ok_with(dialog, "overlap", c.overlap), c.error.isEmpty());
      QCOMPARE(dialog.error_text(), c.error);
      QCOMPARE(s.def.num_label_fields, c.error.isEmpty() ? 1 : 0);
    }
  }

  void labelOrderMovesOneFieldAtATime() {
    ConvSettings s;
    s.def.label_fields[1] = 1;  // POP, then NAME
    s.def.label_fields[0] = 2;
    s.def.num_label_fields = 2;
    TextLabelsDialog dialog(nullptr, s, three_fields(), 2, {});
    dialog.show();
    QListWidget* list = child<QListWidget>(dialog, "fields");
    QCOMPARE(list->item(0)->text(), QString("POP"));
    QCOMPARE(list->item(1)->text(), QString("NAME"));
    list->item(0)->setSelected(true);
    list->item(1)->setSelected(true);
    dialog.move_selected(1);
    QCOMPARE(dialog.error_text(), QString("To change Text Labels order, select 1 Label only"));
    list->clearSelection();
    list->item(1)->setSelected(true);
    dialog.move_selected(-1);  // NAME before POP
    check(list, 2);            // and ISO last
    dialog.accept();
    QCOMPARE(s.def.label_fields[0], 1);
    QCOMPARE(s.def.label_fields[1], 2);
    QCOMPARE(s.def.label_fields[2], 3);
    QCOMPARE(s.def.num_label_fields, 3);
    dialog.grab().save(QString(TSN_SCREENSHOT_DIR) + "/text_labels_dialog.png");
  }

  void attributeFieldsAndType() {
    ConvSettings s;
    AttributesDialog none(nullptr, s, three_fields(), 2, {});
    none.show();
    none.accept();
    QCOMPARE(none.error_text(),
             QString("Error: No Feature Attributes to Translate have been specified"));
    QVERIFY(none.isVisible());
    AttributesDialog dialog(nullptr, s, three_fields(), 2, {});
    dialog.show();
    check(child<QListWidget>(dialog, "fields"), 0);
    check(child<QListWidget>(dialog, "fields"), 2);
    child<QRadioButton>(dialog, "xdata")->setChecked(true);
    dialog.accept();
    QCOMPARE(s.cur.Attribs, 5);
    QCOMPARE(s.def.num_attrib_selected, 2);
    QCOMPARE(s.def.attrib_fields[1], 0);
    QCOMPARE(s.def.attrib_fields[2], 1);
  }

  void decimalPlacesOutside0To16AreRefused() {
    const struct {
      const char* text;
      bool accepted;
    } cases[] = {{"17", false}, {"-1", false}, {"six", false}, {"16", true}, {"0", true}};
    for (const auto& c : cases) {
      ConvSettings s;
      s.DecPlaces = 6;
      SettingsDialog dialog(nullptr, s, nullptr, {});
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
      SettingsDialog dialog(nullptr, s, nullptr, {});
      dialog.show();
      child<QCheckBox>(dialog, "merge")->setChecked(true);
      child<QRadioButton>(dialog, "release_7")->setChecked(true);
      dialog.reject();
      QCOMPARE(s.Merge, 0);
      QCOMPARE(s.verDXF, 4);
    }
    SettingsDialog dialog(nullptr, s, nullptr, {});
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

  void colourDialogsTakeTheirChoicesOnOk() {
    const struct {
      int shape_type;
      bool linked;
      bool one_outline_colour;  // polygons coloured by class keep one outline colour
      const char* title;
      int method;               // the effective colour method
    } cases[] = {
        {1, true, false, "Point Colours", 2},   {1, false, false, "Point Colours", 0},
        {3, true, false, "Point Colours", 2},   {3, false, false, "Point Colours", 0},
        {5, true, true, "Polygon Colours", 2},  {5, false, false, "Polygon Colours", 0},
    };
    for (const auto& c : cases) {
      ConvSettings s = with_schemes();
      s.cur.Fill = 1;
      ColoursDialog dialog(nullptr, s, colour_input(c.shape_type), classes_of_pop(false), {});
      dialog.show();
      QCOMPARE(dialog.windowTitle(), QString(c.title));
      child<QRadioButton>(dialog, c.linked ? "linked" : "single")->setChecked(true);
      child<ColourSwatch>(dialog, "single_colour")->set_colour(30);
      if (c.shape_type == 5) {
        child<QCheckBox>(dialog, "one_outline_colour")->setChecked(c.one_outline_colour);
        child<ColourSwatch>(dialog, "outline_colour")->set_colour(40);
      }
      dialog.accept();
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      const FileSettings& f = s.cur;
      QCOMPARE(f.ColourMethod, c.method);
      switch (c.shape_type) {
        case 1: QCOMPARE(std::pair(f.Use1ColourPoints, f.SingleColourPoints), std::pair(c.linked ? 0 : 1, 30)); break;
        case 3: QCOMPARE(std::pair(f.Use1ColourArcs, f.Pen0), std::pair(c.linked ? 0 : 1, 30)); break;
        default:
          QCOMPARE(std::pair(f.Use1ColourFill, f.SingleColourFill), std::pair(c.linked ? 0 : 1, 30));
          QCOMPARE(std::pair(f.Use1ColourLines, f.SingleColourLines),
                   std::pair(c.linked && !c.one_outline_colour ? 0 : 1, 40));
      }
      QCOMPARE(s.colour_ranges.classes.size(), c.linked ? 5u : 0u);
    }
  }

  void schemesRampsAndTheClassesOwnColours() {
    ConvSettings s = with_schemes();
    ColoursDialog dialog(nullptr, s, colour_input(1), classes_of_pop(false), {});
    dialog.show();
    QCOMPARE(first_colours(dialog, 5), (std::vector<int>{1, 3, 5, 1, 3}));
    // The graded scheme of eight shrunk to five classes: the first, entries 2, 4 and 5, the last.
    child<QComboBox>(dialog, "scheme")->setCurrentIndex(1);
    QCOMPARE(first_colours(dialog, 5), (std::vector<int>{10, 14, 18, 20, 240}));
    dialog.set_class_colour(2, 77);
    QCOMPARE(first_colours(dialog, 5), (std::vector<int>{10, 14, 77, 20, 240}));
    // The list shows each class's colour.
    QCOMPARE(child<QListWidget>(dialog, "classes")->item(2)->icon().pixmap(14).toImage().pixelColor(7, 7),
             qcolour(77));
    dialog.accept();
    QCOMPARE(s.cur.DefaultColorSet, 1);
    QCOMPARE(s.def.NumColors, 5);
    QCOMPARE(std::vector<int>(s.colour_list.colours.begin(), s.colour_list.colours.end()),
             (std::vector<int>{10, 14, 77, 20, 240}));
    QCOMPARE(int(s.class_colours[2]), 77);

    // Reopened: the input's own colours stay until Default gives the program's scheme back.
    ColoursDialog again(nullptr, s, colour_input(1), classes_of_pop(false), {});
    again.show();
    QCOMPARE(first_colours(again, 5), (std::vector<int>{10, 14, 77, 20, 240}));
    again.default_colours();
    QCOMPARE(first_colours(again, 5), (std::vector<int>{1, 3, 5, 1, 3}));
    // A ramp from red to blue, each class matched to the nearest of the first scheme's
    // colours: the first three nearer red, the last two nearer blue.
    child<ColourSwatch>(again, "ramp_start")->set_colour(1);
    child<ColourSwatch>(again, "ramp_end")->set_colour(5);
    child<QCheckBox>(again, "ramp")->setChecked(true);
    QCOMPARE(first_colours(again, 5), (std::vector<int>{1, 1, 1, 5, 5}));
    again.accept();
    QCOMPARE(std::tuple(s.def.Ramp, s.def.RampStart, s.def.RampEnd, s.def.NumColors),
             std::tuple(1, 1, 5, 0));
  }

  void mappingSchemeNeedsUniqueIntegers() {
    for (const bool integers : {false, true}) {
      ConvSettings s = with_schemes();
      ColoursDialog dialog(nullptr, s, colour_input(1), classes_of_pop(integers), {});
      dialog.show();
      auto* scheme = child<QComboBox>(dialog, "scheme");
      QCOMPARE(scheme->itemText(2), QString("AutoCAD Mapping"));
      scheme->setCurrentIndex(2);
      if (!integers) {
        QCOMPARE(dialog.error_text(),
                 QString("AutoCAD Mapping scheme not available here (needs Unique integer "
                         "values in range 0-256)"));
        QCOMPARE(scheme->currentIndex(), 0);
        continue;
      }
      QCOMPARE(dialog.error_text(), QString());
      QCOMPARE(first_colours(dialog, 5), (std::vector<int>{1, 2, 3, 4, 5}));
      dialog.accept();
      QCOMPARE(std::pair(s.cur.DefaultColorSet, s.cur.AcadMapping), std::pair(2, 1));
    }
  }

  void polygonFillHatchScaleAndEdges() {
    const struct {
      int verDXF;
      const char* scale;
      QString error;
    } cases[] = {
        {6, "0.000001", "Invalid Hatch Scale, must be greater than 0.000001"},
        {6, "x", "Invalid Hatch Scale, must be greater than 0.000001"},
        {6, "0.0000011", ""},
        {4, "x", ""},  // release 12 fills are solid: no pattern, no scale
    };
    for (const auto& c : cases) {
      ConvSettings s = with_schemes();
      s.verDXF = c.verDXF;
      s.cur.Fill = 1;
      s.cur.DrawEdges = 1;
      ColoursDialog dialog(nullptr, s, colour_input(15), classes_of_pop(false), {});
      dialog.show();
      // Not set yet: the scale proposed from the input's extent.
      QCOMPARE(child<QLineEdit>(dialog, "hatch_scale")->text(), QString("20"));
      child<QComboBox>(dialog, "hatch")->setCurrentIndex(2);
      child<QCheckBox>(dialog, "hide_joins")->setChecked(true);
      QCOMPARE(ok_with(dialog, "hatch_scale", c.scale), c.error.isEmpty());
      QCOMPARE(dialog.error_text(), c.error);
      if (!c.error.isEmpty()) {
        QCOMPARE(s.cur.HatchScale, -1.0);
        continue;
      }
      QCOMPARE(s.cur.DrawEdges, 3);
      QCOMPARE(s.cur.ACADHatchPattern, std::string(c.verDXF == 4 ? "SOLID" : "ANSI31"));
      QCOMPARE(s.cur.HatchScale, c.verDXF == 4 ? -1.0 : 0.0000011);
    }
  }

  void rangesEditedOrLoadedAreKeptAsEdited() {
    ConvSettings s = with_schemes();
    s.LegendFileType = "lgd";
    const std::string file = dir_.filePath("pop.lgd").toStdString();
    {
      ColoursDialog dialog(nullptr, s, colour_input(1), classes_of_pop(false), {});
      dialog.show();
      QCOMPARE(dialog.classes().save_legend(file), QString());
    }
    KeyPreviewer texts = [](const std::string&, int, int) {
      KeyPreview p;
      p.classes.classes.push_back({"A", 0, 0, "A", "A"});
      return p;
    };
    ColoursDialog text_key(nullptr, s, colour_input(1), texts, {});
    text_key.show();
    QCOMPARE(text_key.classes().load_legend(file),
             QString("The ranges of this file are numbers but the key field holds text"));
    ColoursDialog dialog(nullptr, s, colour_input(1), classes_of_pop(false), {});
    dialog.show();
    QCOMPARE(dialog.classes().load_legend(dir_.filePath("none.lgd").toStdString()).isEmpty(), false);
    QCOMPARE(dialog.classes().load_legend(file), QString());
    dialog.accept();
    QVERIFY(s.colour_ranges.edited);
    QCOMPARE(s.colour_ranges.classes.size(), 5u);
    QCOMPARE(s.colour_ranges.classes[4].label, std::string("42 - 52"));
    QCOMPARE(s.colour_ranges.classes[4].hi, 52.0);
  }

  // Every option dialog under its own title, with OK, Cancel and Help; its picture goes to the
  // screenshots (the manual shows them).
  void everyDialogUnderItsTitle() {
    ConvSettings s = with_schemes();
    s.styles_file = dir_.filePath("styles.ini").toStdString();
    s.text_styles = {{"STANDARD", "txt"}, {"ROMANS", "romans"}};
    SchemeEditor schemes(s);
    QVERIFY(schemes.begin());
    const KeyClass range{"Europe", 0, 0, "Europe", "Europe"};
    using Make = std::function<OptionDialog*()>;
    const std::vector<std::tuple<QString, const char*, Make>> dialogs = {
        {"Layers Control", "layers-control",
         [&] { return new LayersDialog(nullptr, s, three_fields(), classes_of_pop(false), {}); }},
        {"Point Colours", "point-colours",
         [&] { return new ColoursDialog(nullptr, s, colour_input(1), classes_of_pop(false), {}); }},
        {"Polygon Colours", "polygon-colours",
         [&] { return new ColoursDialog(nullptr, s, colour_input(15), classes_of_pop(false), {}); }},
        {"Point Options", "point-options",
         [&] { return new PointOptionsDialog(nullptr, s, {three_fields(), 0, false, false}, {}); }},
        {"Point Options", "point-options-table",
         [&] { return new PointOptionsDialog(nullptr, s, {three_fields(), 0, true, false}, {}); }},
        {"Marker Definition", "marker-definition",
         [&] { return new MarkerDialog(nullptr, s, {4, 42, "STANDARD", 3.5}, {}, 261); }},
        {"Text Labels", "text-labels",
         [&] { return new TextLabelsDialog(nullptr, s, three_fields(), 2, {}); }},
        {"Text Position", "text-position",
         [&] { return new TextPositionDialog(nullptr, {kInitialTextPositions[1], 1, 1}, 1, {}, 221); }},
        {"Feature Attributes Filter", "feature-attributes",
         [&] { return new AttributesDialog(nullptr, s, three_fields(), 2, {}); }},
        {"Attribute Properties", "attribute-properties",
         [&] { return new AttributePropertiesDialog(nullptr, s, 2, {}); }},
        {"Legend Properties", "legend-properties", [&] { return new LegendDialog(nullptr, s, {}); }},
        {"Global Settings", "global-settings",
         [&] { return new SettingsDialog(nullptr, s, [](QWidget*) {}, {}); }},
        {"Text Styles", "text-styles", [&] { return new StylesDialog(nullptr, s, {}, 221); }},
        {"No. of Classes", "classes", [&] { return new ClassesDialog(nullptr, 5, {}, 241); }},
        {"Edit Range", "edit-range",
         [&] { return new EditRangeDialog(nullptr, range, NumberType::alphabetic, true, 4, {}, 241); }},
        {"Colours", "colours", [&] { return new ColourPicker(nullptr, 30, {}, 252); }},
        {"Edit Color Schemes", "edit-color-schemes", [&] { return new SchemesDialog(nullptr, s, {}); }},
        {"Colours", "scheme-colours", [&] { return new SchemeColoursDialog(nullptr, schemes, 1, {}); }},
        {"Colour Scheme Name", "scheme-name",
         [&] { return new SchemeNameDialog(nullptr, schemes, 0, "Primary", {}); }},
    };
    for (const auto& [title, picture, make] : dialogs) {
      std::unique_ptr<OptionDialog> dialog(make());
      dialog->show();
      QCOMPARE(dialog->windowTitle(), title);
      auto* buttons = dialog->findChild<QDialogButtonBox*>();
      QVERIFY(buttons != nullptr);
      for (auto role : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel, QDialogButtonBox::Help}) {
        QVERIFY2(buttons->button(role) != nullptr, picture);
      }
      QVERIFY(dialog->grab().save(QString(TSN_SCREENSHOT_DIR) + "/dialog-" + picture + ".png"));
      dialog->reject();
    }
  }

  void helpAsksForTheDialogsOwnContext() {
    ConvSettings s;
    int asked = -1;
    QWidget* asker = nullptr;
    SettingsDialog dialog(nullptr, s, nullptr, [&](QWidget* d, int context) {
      asker = d;
      asked = context;
    });
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
