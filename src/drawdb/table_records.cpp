// The table records of a drawing as the writers see them: names, flags and value slots.
#include "drawdb/drawing.h"
#include "drawdb/table_fields.h"

namespace tsn {
namespace {

std::vector<RecordView> vport_records(const Drawing& d) {
  RecordView v{d.fixed.vport, "*ACTIVE"};
  v.reals = {d.vport.centre[0], d.vport.centre[1], d.vport.height, d.vport.aspect};
  return {v};
}

std::vector<RecordView> linetype_records(const Drawing& d) {
  std::vector<RecordView> out;
  for (const LinetypeRec& lt : d.linetypes) {
    RecordView v{lt.handle, lt.name};
    v.texts[0] = lt.description;
    v.ints[0] = static_cast<long>(lt.dashes.size());
    v.reals[0] = pattern_length(lt);
    v.dashes = lt.dashes;
    out.push_back(v);
  }
  return out;
}

std::vector<RecordView> layer_records(const Drawing& d) {
  std::vector<RecordView> out;
  for (const LayerRec& l : d.layers) {
    RecordView v{l.handle, d.strings.get(l.name), l.flags};
    v.ints[0] = l.colour;
    v.texts[0] = d.linetypes[l.linetype].name;
    out.push_back(v);
  }
  return out;
}

std::vector<RecordView> style_records(const Drawing& d) {
  std::vector<RecordView> out;
  for (const StyleRec& s : d.styles) {
    RecordView v{s.handle, s.name, s.flags};
    v.reals = {s.height, s.width_factor, s.height > 0.0 ? s.height : 2.5, 0.0};
    v.texts[0] = s.font;
    out.push_back(v);
  }
  return out;
}

std::vector<RecordView> app_records(const Drawing& d) {
  std::vector<RecordView> out;
  for (const RegappRec& a : d.regapps) out.push_back({a.handle, a.name, a.flags});
  return out;
}

std::vector<RecordView> block_records(const Drawing& d, bool r2000) {
  std::vector<RecordView> out;
  for (std::uint32_t i = 0; i < d.blocks.size(); ++i) {
    const BlockRec& b = d.blocks[i];
    if (b.deleted) continue;
    RecordView v{b.handle, block_display_name(d, i, r2000)};
    v.ref = b.layout;
    out.push_back(v);
  }
  return out;
}

}  // namespace

std::vector<RecordView> table_records(const Drawing& d, int table, bool r2000) {
  switch (table) {
    case kVport: return vport_records(d);
    case kLtype: return linetype_records(d);
    case kLayer: return layer_records(d);
    case kStyle: return style_records(d);
    case kAppid: return app_records(d);
    case kDimstyle: return {RecordView{d.fixed.dimstyle, "STANDARD"}};
    case kBlockRecord: return block_records(d, r2000);
    default: return {};  // VIEW and UCS stay empty
  }
}


}  // namespace tsn
