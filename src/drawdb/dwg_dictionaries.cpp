// The objects of a binary drawing outside the tables: the named object dictionary and what
// hangs from it (groups, multi-line styles, and from 2000 on layouts and plot styles).
#include <iterator>
#include <numbers>
#include <span>

#include "drawdb/dwg_save.h"
#include "drawdb/fixed_objects.h"

namespace tsn::dwg {
namespace {

namespace fo = fixed_objects;

// A dictionary's own fields: entry count, (2000) cloning 1 and not a hard owner, (14) a
// zero byte; the names, then their objects as soft owners.
void dictionary_body(DwgSave& s, std::span<const fo::DictionaryEntry> entries) {
  BitWriter& w = s.object.data();
  write_bl(w, static_cast<std::uint32_t>(entries.size()));
  if (s.r2000) write_bs(w, 1);
  write_rc(w, 0);
  for (const fo::DictionaryEntry& e : entries) write_t(w, e.name);
  for (const fo::DictionaryEntry& e : entries) s.object.handle(kSoftOwner, e.handle);
}

// Every object but the named object dictionary names its owner as its one reactor too.
void begin_owned(DwgSave& s, std::uint16_t type, std::uint32_t handle, std::uint32_t owner) {
  const std::uint32_t reactors[] = {owner};
  s.object.begin_object(type, handle, owner,
                        owner == 0 ? std::span<const std::uint32_t>{} : reactors);
}

void dictionary(DwgSave& s, std::uint32_t handle, std::uint32_t owner,
                std::span<const fo::DictionaryEntry> entries) {
  begin_owned(s, kTypeDictionary, handle, owner);
  dictionary_body(s, entries);
  s.add_object(handle);
}

void mline_style(DwgSave& s) {
  const FixedHandles& f = s.d.fixed;
  begin_owned(s, kTypeMlinestyle, f.mlinestyle, f.mlinestyles);
  BitWriter& w = s.object.data();
  write_t(w, fo::kMlineStyleName);
  write_t(w, "");  // description
  write_bs(w, 0);  // flags
  write_cmc(w, 256);
  const double cap = fo::kMlineAngle * std::numbers::pi / 180.0;
  write_bd(w, cap);
  write_bd(w, cap);
  write_rc(w, static_cast<std::uint8_t>(std::size(fo::kMlineOffsets)));
  for (const double offset : fo::kMlineOffsets) {
    write_bd(w, offset);
    write_cmc(w, 256);
    write_bs(w, 0x7FFF);  // line type index: by layer
  }
  s.add_object(f.mlinestyle);
}

void write_2bd(BitWriter& w, double x, double y) {
  write_bd(w, x);
  write_bd(w, y);
}

void layout(DwgSave& s, std::uint32_t block, std::string_view name, int tab) {
  const BlockRec& b = s.d.blocks[block];
  const DbHeader& h = s.d.header;
  begin_owned(s, s.layout_type(), b.layout, s.d.fixed.layouts);
  BitWriter& w = s.object.data();
  // Plot settings.
  write_t(w, "");  // page setup
  write_t(w, fo::kPlotDevice);
  write_bs(w, static_cast<std::uint16_t>(block == 0 ? fo::kModelPlotFlags : fo::kLayoutPlotFlags));
  for (int i = 0; i < 6; ++i) write_bd(w, 0.0);  // margins, paper width and height
  write_t(w, "");  // paper size
  write_2bd(w, 0.0, 0.0);  // plot origin
  write_bs(w, 0);  // paper units: inches
  write_bs(w, 0);  // rotation
  write_bs(w, fo::kPlotType);
  write_2bd(w, 0.0, 0.0);  // plot window
  write_2bd(w, 0.0, 0.0);
  write_t(w, "");  // plot view
  write_bd(w, 1.0);  // scale numerator, denominator
  write_bd(w, 1.0);
  write_t(w, "");  // style sheet
  write_bs(w, fo::kScaleType);
  write_bd(w, 1.0);
  write_2bd(w, 0.0, 0.0);  // paper image origin
  // The layout.
  write_t(w, name);
  write_bs(w, static_cast<std::uint16_t>(tab));
  write_bs(w, fo::kLayoutFlags);
  write_3bd(w, {0.0, 0.0, 0.0});  // UCS origin
  write_2rd(w, h.limmin[0], h.limmin[1]);
  write_2rd(w, h.limmax[0], h.limmax[1]);
  write_3bd(w, h.insbase);
  write_3bd(w, {1.0, 0.0, 0.0});  // UCS axes
  write_3bd(w, {0.0, 1.0, 0.0});
  write_bd(w, 0.0);  // elevation
  write_bs(w, 0);    // not an orthographic UCS
  write_3bd(w, h.extmin);
  write_3bd(w, h.extmax);
  s.object.handle(kSoftPointer, b.handle);
  s.object.handle(kSoftPointer, 0);  // no viewport active yet
  s.object.handle(kHardPointer, 0);  // base and named UCS
  s.object.handle(kHardPointer, 0);
  s.add_object(b.layout);
}

void plot_style_names(DwgSave& s) {
  const FixedHandles& f = s.d.fixed;
  begin_owned(s, s.dictionary_with_default_type(), f.plotstyles, f.root_dictionary);
  const fo::DictionaryEntry normal[] = {{"Normal", f.placeholder}};
  dictionary_body(s, normal);
  s.object.handle(kHardPointer, f.placeholder);  // the default entry
  s.add_object(f.plotstyles);
  begin_owned(s, s.placeholder_type(), f.placeholder, f.plotstyles);
  s.add_object(f.placeholder);
}

}  // namespace

void write_dictionary_objects(DwgSave& s) {
  const FixedHandles& f = s.d.fixed;
  for (const fo::Dictionary& dict : fo::dictionaries(s.d, s.r2000)) {
    dictionary(s, dict.handle, dict.owner, dict.entries);
    if (dict.handle == f.mlinestyles) mline_style(s);
  }
  if (!s.r2000) return;
  plot_style_names(s);
  layout(s, 0, "Model", 0);
  layout(s, 1, "Layout1", 1);
}

}  // namespace tsn::dwg
