// The point and polygon colour dialogs.
#include "ui/colour_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <random>

#include "platform/format.h"
#include "platform/string_table.h"
#include "settings/class_colours.h"
#include "settings/file_keys.h"
#include "settings/file_reset.h"
#include "settings/hatch_pattern_names.h"
#include "settings/scheme_colours.h"
#include "ui/colour_swatch.h"
#include "ui/dialog_widgets.h"

namespace tsn::ui {

namespace {

constexpr int kHelpPointColours = 252;
constexpr int kHelpPolygonColours = 256;
constexpr int kMappingSchemeText = 267;
constexpr double kMinHatchScale = 0.000001;
// DrawEdges bits of Z shapes.
constexpr int kDrawEdges = 1;
constexpr int kHideInternalJoins = 2;

int single_colour_of(const FileSettings& f, int shape_class) {
  return shape_class == 0 ? f.SingleColourPoints : shape_class == 1 ? f.Pen0 : f.SingleColourFill;
}

bool one_colour_of(const FileSettings& f, int shape_class) {
  return shape_class == 0   ? f.Use1ColourPoints != 0
         : shape_class == 1 ? f.Use1ColourArcs != 0
                            : f.Use1ColourFill != 0 && f.Use1ColourLines != 0;
}

// A ramp not chosen yet runs from the first class's colour to the last's.
int ramp_end_colour(const ConvSettings& s, bool end) {
  const int chosen = end ? s.def.RampEnd : s.def.RampStart;
  if (chosen >= 1) return chosen;
  const std::size_t n = std::max<std::size_t>(1, s.colour_ranges.classes.size());
  return std::max(1, static_cast<int>(s.class_colours[end ? (n - 1) % kMaxColours : 0]));
}

}  // namespace

ColoursDialog::ColoursDialog(QWidget* parent, ConvSettings& s, const ColourInput& input,
                             KeyPreviewer preview, HelpOpener help)
    : ColoursDialog(parent, s, input, std::move(preview), std::move(help),
                    shape_class(input.info, s.cur) == 2) {}

ColoursDialog::ColoursDialog(QWidget* parent, ConvSettings& s, const ColourInput& input,
                             KeyPreviewer preview, HelpOpener help, bool polygon_dialog)
    : OptionDialog(parent, polygon_dialog ? "Polygon Colours" : "Point Colours",
                   polygon_dialog ? kHelpPolygonColours : kHelpPointColours,
                   polygon_dialog ? DialogPlace::polygon_colours : DialogPlace::point_colours,
                   help),
      s_(s),
      work_(s),
      info_(input.info),
      shape_class_(shape_class(input.info, s.cur)),
      shown_scheme_(s.cur.DefaultColorSet),
      linked_(new QRadioButton(spelled("&C%ss linked to Feature:"), this)),
      single_(new QRadioButton(spelled("Single C%s"), this)),
      single_colour_(new ColourSwatch(this, single_colour_of(s.cur, shape_class_), help,
                                      help_context())),
      scheme_(new QComboBox(this)),
      ramp_(new QCheckBox("Ramp", this)),
      ramp_start_(new ColourSwatch(this, ramp_end_colour(s, false), help, help_context())),
      ramp_end_(new ColourSwatch(this, ramp_end_colour(s, true), help, help_context())) {
  const FileSettings& f = s.cur;
  linked_->setObjectName("linked");
  single_->setObjectName("single");
  single_colour_->setObjectName("single_colour");
  scheme_->setObjectName("scheme");
  ramp_->setObjectName("ramp");
  ramp_start_->setObjectName("ramp_start");
  ramp_end_->setObjectName("ramp_end");
  auto* group = new QButtonGroup(this);
  group->addButton(linked_);
  group->addButton(single_);

  KeyPanelSetup setup;
  setup.layer_key = false;
  setup.key = s.def.ColoursKey;
  setup.method = f.ClassTypeColor;
  setup.requested = f.NumClassesColor;
  setup.ignore_outside = f.IgnoreColRangeEnts != 0;
  if (f.ColourMethod == 2) setup.current = &s.colour_ranges;
  setup.help_context = help_context();
  classes_ = new KeyClassesPanel(this, s, input.fields, setup, std::move(preview), help);
  classes_->on_error = [this](const QString& text) { show_error(text); };
  classes_->on_classes_changed = [this] { recompute_colours(); };
  classes_->row_icon = [this](int row) {
    return colour_icon(work_.class_colours[static_cast<std::size_t>(row) % kMaxColours]);
  };

  auto* which = new QFormLayout;
  which->addRow(linked_, classes_->findChild<QComboBox*>("key"));
  auto* single_row = new QHBoxLayout;
  if (polygons()) {
    one_outline_colour_ = new QCheckBox(spelled("Outlines in one c%s"), this);
    one_outline_colour_->setObjectName("one_outline_colour");
    one_outline_colour_->setChecked(f.Use1ColourLines != 0);
    outline_colour_ = new ColourSwatch(this, f.SingleColourLines, help, help_context());
    outline_colour_->setObjectName("outline_colour");
    single_row->addWidget(new QLabel("Fill:", this));
    single_row->addWidget(single_colour_);
    single_row->addWidget(new QLabel("Outlines:", this));
    single_row->addWidget(outline_colour_);
    single_row->addStretch(1);
    which->addRow(single_, single_row);
    which->addRow("", one_outline_colour_);
  } else {
    single_row->addWidget(single_colour_);
    single_row->addStretch(1);
    which->addRow(single_, single_row);
  }
  body()->addLayout(which);
  body()->addWidget(classes_, 1);

  for (const std::string& name : s.scheme_names) scheme_->addItem(qtext(name));
  scheme_->addItem(qtext(load_text(kMappingSchemeText)));
  scheme_->setCurrentIndex(std::clamp(f.DefaultColorSet, 0, scheme_->count() - 1));
  shown_scheme_ = scheme_->currentIndex();
  ramp_->setChecked(s.def.Ramp == 1);
  auto* scheme_row = new QHBoxLayout;
  auto* scheme_label = new QLabel(spelled("C%s Scheme:"), this);
  scheme_label->setBuddy(scheme_);
  scheme_row->addWidget(scheme_label);
  scheme_row->addWidget(scheme_, 1);
  auto* random = new QPushButton("Random", this);
  auto* defaults = new QPushButton("Default", this);
  auto* class_colour = new QPushButton(spelled("Class C%s..."), this);
  random->setObjectName("random");
  defaults->setObjectName("default");
  class_colour->setObjectName("class_colour");
  scheme_row->addWidget(random);
  scheme_row->addWidget(defaults);
  body()->addLayout(scheme_row);
  auto* ramp_row = new QHBoxLayout;
  ramp_row->addWidget(ramp_);
  ramp_row->addWidget(ramp_start_);
  ramp_row->addWidget(new QLabel("to", this));
  ramp_row->addWidget(ramp_end_);
  ramp_row->addStretch(1);
  ramp_row->addWidget(class_colour);
  body()->addLayout(ramp_row);

  if (polygons()) {
    auto* look = new QGroupBox("Polygons", this);
    auto* rows = new QVBoxLayout(look);
    auto* fill_row = new QHBoxLayout;
    fill_ = new QCheckBox("&Fill", this);
    outlines_ = new QCheckBox("&Outlines", this);
    hatch_ = new QComboBox(this);
    // Not set yet: the scale the conversion would take, from the input's extent.
    const double scale =
        f.HatchScale > 0.0 ? f.HatchScale : input.info.extent_diagonal * s.HatchToMinMax;
    hatch_scale_ = new RealEdit(this, scale);
    fill_->setObjectName("fill");
    outlines_->setObjectName("outlines");
    hatch_->setObjectName("hatch");
    hatch_scale_->setObjectName("hatch_scale");
    fill_->setChecked(f.Fill != 0);
    outlines_->setChecked(f.DrawOutlines != 0);
    for (std::string_view name : kHatchPatternNames) hatch_->addItem(qtext(std::string(name)));
    hatch_->setCurrentIndex(std::clamp(f.HatchNumber, 0, hatch_->count() - 1));
    fill_row->addWidget(fill_);
    fill_row->addWidget(outlines_);
    fill_row->addStretch(1);
    fill_row->addWidget(new QLabel("Hatch:", this));
    fill_row->addWidget(hatch_);
    fill_row->addWidget(new QLabel("Scale:", this));
    fill_row->addWidget(hatch_scale_);
    rows->addLayout(fill_row);
    if (is_z_shape_type(input.info.shape_type)) {
      auto* edges_row = new QHBoxLayout;
      draw_edges_ = new QCheckBox("Draw Edges", this);
      hide_joins_ = new QCheckBox("Hide internal joins", this);
      draw_edges_->setObjectName("draw_edges");
      hide_joins_->setObjectName("hide_joins");
      draw_edges_->setChecked((f.DrawEdges & kDrawEdges) != 0);
      hide_joins_->setChecked((f.DrawEdges & kHideInternalJoins) != 0);
      edges_row->addWidget(draw_edges_);
      edges_row->addWidget(hide_joins_);
      edges_row->addStretch(1);
      rows->addLayout(edges_row);
    }
    body()->addWidget(look);
    connect(fill_, &QCheckBox::toggled, this, [this] { update_enabled(); });
  }

  (one_colour_of(f, shape_class_) || input.fields.empty() ? single_ : linked_)->setChecked(true);
  linked_->setEnabled(!input.fields.empty());
  connect(linked_, &QRadioButton::toggled, this, [this] {
    update_enabled();
    classes_->refresh();
  });
  connect(scheme_, &QComboBox::currentIndexChanged, this, [this](int i) { choose_scheme(i); });
  connect(random, &QPushButton::clicked, this, [this] { random_colours(); });
  connect(defaults, &QPushButton::clicked, this, [this] { default_colours(); });
  connect(ramp_, &QCheckBox::toggled, this, [this] { classes_->show_classes(); });
  ramp_start_->on_changed = [this](int) {
    if (ramp_->isChecked()) classes_->show_classes();
  };
  ramp_end_->on_changed = ramp_start_->on_changed;
  connect(class_colour, &QPushButton::clicked, this, [this, help] {
    const int row = classes_->selected_row();
    if (row < 0) return;
    ColourPicker picker(this, work_.class_colours[static_cast<std::size_t>(row)], help,
                        help_context());
    if (picker.exec() == QDialog::Accepted) set_class_colour(row, picker.colour());
  });

  update_enabled();
  if (linked_->isChecked() && f.ColourMethod == 2 && !s.colour_ranges.classes.empty()) {
    classes_->show_classes();
  } else {
    classes_->refresh();
  }
  resize(560, 620);
}

void ColoursDialog::update_enabled() {
  const bool keyed = linked_->isChecked();
  classes_->set_keyed(keyed);
  if (one_outline_colour_ != nullptr) one_outline_colour_->setEnabled(keyed);
  if (hatch_ != nullptr) {
    // Release 12 has no hatches: its fills are solid.
    const bool patterns = fill_->isChecked() && release_index(s_) > 0;
    hatch_->setEnabled(patterns);
    hatch_scale_->setEnabled(patterns);
  }
}

void ColoursDialog::recompute_colours() {
  const KeyPreview& shown = classes_->shown();
  work_.colour_ranges = shown.classes;
  work_.cur.ClassTypeColor = shown.method;
  // A key that names colour numbers ("COLOR", "PEN") takes the mapping scheme.
  if (shown.forced_scheme >= 0 && shown.forced_scheme != scheme_->currentIndex()) {
    const QSignalBlocker quiet(scheme_);
    scheme_->setCurrentIndex(shown.forced_scheme);
    shown_scheme_ = shown.forced_scheme;
    work_.cur.DefaultColorSet = shown.forced_scheme;
  }
  work_.def.Ramp = ramp_->isChecked() ? 1 : 0;
  work_.def.RampStart = ramp_start_->colour();
  work_.def.RampEnd = ramp_end_->colour();
  if (!compute_class_colours(work_)) show_error(qtext(std::string(kMappingNotAvailable)));
}

void ColoursDialog::choose_scheme(int index) {
  ConvSettings trial = work_;
  trial.cur.DefaultColorSet = index;
  trial.cur.AcadMapping = 0;
  trial.colour_key_holds_colour_numbers = false;
  trial.def.NumColors = 0;  // a scheme chosen replaces colours of the input's own
  load_scheme_colours(trial);
  const bool mapping = index == static_cast<int>(s_.scheme_names.size());
  if (mapping && !mapping_scheme_allowed(classes_->shown().classes, classes_->shown().method)) {
    show_error(qtext(std::string(kMappingNotAvailable)));
    const QSignalBlocker quiet(scheme_);
    scheme_->setCurrentIndex(shown_scheme_);
    return;
  }
  clear_error();
  work_ = std::move(trial);
  shown_scheme_ = index;
  classes_->show_classes();
}

void ColoursDialog::keep_own_colours() {
  const std::size_t n = std::max<std::size_t>(1, classes_->shown().classes.classes.size());
  work_.colour_list.colours.assign(work_.class_colours.begin(),
                                   work_.class_colours.begin() + static_cast<long>(n));
  work_.colour_list.graded = false;
  work_.def.NumColors = static_cast<int>(n);
  work_.cur.AcadMapping = 0;
  work_.colour_key_holds_colour_numbers = false;
  ramp_->setChecked(false);
}

void ColoursDialog::set_class_colour(int row, int colour) {
  if (row < 0 || row >= static_cast<int>(classes_->shown().classes.classes.size())) return;
  keep_own_colours();
  work_.colour_list.colours[static_cast<std::size_t>(row)] = static_cast<std::uint8_t>(colour);
  classes_->show_classes();
}

void ColoursDialog::random_colours() {
  keep_own_colours();
  std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<int> colour(1, 255);
  for (std::uint8_t& c : work_.colour_list.colours) c = static_cast<std::uint8_t>(colour(random));
  classes_->show_classes();
}

void ColoursDialog::default_colours() {
  ramp_->setChecked(false);
  const int index = std::clamp(s_.prog.DefaultColorSet, 0, scheme_->count() - 1);
  if (index == scheme_->currentIndex()) {
    choose_scheme(index);  // drops colours of the input's own
  } else {
    scheme_->setCurrentIndex(index);
  }
}

bool ColoursDialog::take_values() {
  double scale = 0.0;
  if (hatch_scale_ != nullptr && hatch_scale_->isEnabled()) {
    const std::optional<double> typed = hatch_scale_->value();
    scale = typed.value_or(0.0);
    if (!typed || scale <= kMinHatchScale) {
      show_error("Invalid Hatch Scale, must be greater than 0.000001");
      return false;
    }
  }
  const bool keyed = linked_->isChecked();
  const KeyPreview& shown = classes_->shown();
  if (keyed && work_.cur.DefaultColorSet == static_cast<int>(s_.scheme_names.size()) &&
      !mapping_scheme_allowed(shown.classes, shown.method)) {
    show_error(qtext(std::string(kMappingNotAvailable)));
    return false;
  }
  FileSettings& f = s_.cur;
  const int one = keyed ? 0 : 1;
  switch (shape_class_) {
    case 0:
      f.Use1ColourPoints = one;
      f.SingleColourPoints = single_colour_->colour();
      break;
    case 1:
      f.Use1ColourArcs = one;
      f.Pen0 = single_colour_->colour();
      break;
    default:
      f.Use1ColourFill = one;
      f.Use1ColourLines = keyed ? (one_outline_colour_->isChecked() ? 1 : 0) : 1;
      f.SingleColourFill = single_colour_->colour();
      f.SingleColourLines = outline_colour_->colour();
      f.Fill = fill_->isChecked() ? 1 : 0;
      f.DrawOutlines = outlines_->isChecked() || f.Fill == 0 ? 1 : 0;
      if (hatch_->isEnabled()) {
        f.HatchNumber = hatch_->currentIndex();
        f.ACADHatchPattern = hatch_->currentText().toStdString();
        f.HatchScale = scale;
      }
      if (draw_edges_ != nullptr) {
        f.DrawEdges = (draw_edges_->isChecked() ? kDrawEdges : 0) |
                      (hide_joins_->isChecked() ? kHideInternalJoins : 0);
      }
      break;
  }
  f.ColourMethod = effective_colour_method(f, info_);
  if (!keyed) return true;
  f.IgnoreColRangeEnts = classes_->ignore_outside() ? 1 : 0;
  s_.def.ColoursKey = classes_->key();
  f.ClassTypeColor = shown.method;
  f.NumClassesColor = classes_->requested();
  f.DefaultColorSet = work_.cur.DefaultColorSet;
  f.AcadMapping = f.DefaultColorSet == static_cast<int>(s_.scheme_names.size()) ? 1 : 0;
  s_.colour_ranges = shown.classes;
  s_.colour_list = work_.colour_list;
  s_.colour_key_holds_colour_numbers = work_.colour_key_holds_colour_numbers;
  s_.def.NumColors = work_.def.NumColors;
  s_.def.Ramp = work_.def.Ramp;
  s_.def.RampStart = work_.def.Ramp == 1 ? work_.def.RampStart : -1;
  s_.def.RampEnd = work_.def.Ramp == 1 ? work_.def.RampEnd : -1;
  s_.class_colours = work_.class_colours;
  return true;
}

}  // namespace tsn::ui
