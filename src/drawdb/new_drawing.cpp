// A new drawing's contents: the standard tables, the layout blocks and the fixed objects.
#include "drawdb/drawing.h"
#include "drawdb/init_file.h"

namespace tsn {

namespace {

void add_linetype(Drawing& d, std::string_view name, std::string_view description,
                  const std::vector<double>& dashes) {
  for (const LinetypeRec& lt : d.linetypes) {
    if (same_name(lt.name, name)) return;
  }
  d.linetypes.push_back({std::string(name), std::string(description), dashes, d.issue_handle()});
}

void add_layout_block(Drawing& d, std::string_view name) {
  BlockRec b;
  b.name = d.strings.intern(name);
  b.handle = d.issue_handle();
  b.begin_handle = d.issue_handle();
  b.end_handle = d.issue_handle();
  b.layout = d.issue_handle();
  add_block_record(d, std::move(b));
}

}  // namespace

void seed_new_drawing(Drawing& d, const InitDefaults& defaults) {
  d.header = defaults.header;
  FixedHandles& f = d.fixed;
  for (std::uint32_t& t : f.tables) t = d.issue_handle();
  for (std::uint32_t* h : {&f.dimstyle, &f.vport, &f.root_dictionary, &f.groups, &f.mlinestyles,
                           &f.mlinestyle, &f.layouts, &f.plotstyles, &f.placeholder,
                           &f.plotsettings}) {
    *h = d.issue_handle();
  }
  d.vport.handle = make_handle(f.vport);
  add_linetype(d, "BYBLOCK", "", {});
  add_linetype(d, "BYLAYER", "", {});
  add_linetype(d, "CONTINUOUS", "Solid line", {});
  for (const InitLinetype& lt : defaults.linetypes) {
    add_linetype(d, lt.name, lt.description, lt.dashes);
  }
  const std::uint32_t layer0 = d.issue_handle();
  d.layers.push_back({d.strings.intern("0"), 7, 2, 0, layer0});
  d.layer_index.emplace("0", 0);
  d.layer_by_handle.emplace(layer0, 0);
  const DbStyle& s = defaults.standard_style;
  d.styles.push_back({s.name, s.font, s.height, s.width_factor, s.flags, d.issue_handle()});
  d.regapps.push_back({"ACAD", 0, d.issue_handle()});
  add_layout_block(d, "*MODEL_SPACE");
  add_layout_block(d, "*PAPER_SPACE");
}

}  // namespace tsn
