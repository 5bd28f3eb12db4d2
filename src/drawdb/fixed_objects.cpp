// The dictionaries every saved drawing carries.
#include "drawdb/fixed_objects.h"

namespace tsn::fixed_objects {

std::vector<Dictionary> dictionaries(const Drawing& d, bool r2000) {
  const FixedHandles& f = d.fixed;
  std::vector<Dictionary> out;
  if (r2000) {
    out.push_back({f.root_dictionary, 0,
                   {{"ACAD_GROUP", f.groups}, {"ACAD_LAYOUT", f.layouts},
                    {"ACAD_MLINESTYLE", f.mlinestyles}, {"ACAD_PLOTSETTINGS", f.plotsettings},
                    {"ACAD_PLOTSTYLENAME", f.plotstyles}}});
  } else {
    out.push_back({f.root_dictionary, 0,
                   {{"ACAD_GROUP", f.groups}, {"ACAD_MLINESTYLE", f.mlinestyles}}});
  }
  out.push_back({f.groups, f.root_dictionary, {}});
  out.push_back({f.mlinestyles, f.root_dictionary, {{kMlineStyleName, f.mlinestyle}}});
  if (r2000) {
    out.push_back({f.layouts, f.root_dictionary,
                   {{"Layout1", d.blocks[1].layout}, {"Model", d.blocks[0].layout}}});
    out.push_back({f.plotsettings, f.root_dictionary, {}});
  }
  return out;
}

}  // namespace tsn::fixed_objects
