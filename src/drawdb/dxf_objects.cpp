// The OBJECTS section: the named object dictionary and what hangs from it.
#include <iterator>
#include <span>

#include "drawdb/fixed_objects.h"
#include "drawdb/save_context.h"

namespace tsn {
namespace {

namespace fo = fixed_objects;

void object_head(SaveContext& c, std::string_view type, std::uint32_t handle,
                 std::uint32_t owner) {
  c.out.group(0, type);
  c.out.hex(5, handle);
  if (owner != 0) {
    c.out.group(102, "{ACAD_REACTORS");
    c.out.hex(330, owner);
    c.out.group(102, "}");
  }
  c.out.hex(330, owner);  // release 14 readers take it as well
}

void dictionary(SaveContext& c, std::uint32_t handle, std::uint32_t owner,
                std::span<const fo::DictionaryEntry> entries) {
  object_head(c, "DICTIONARY", handle, owner);
  c.out.group(100, "AcDbDictionary");
  if (c.r2000()) c.out.integer(281, 1);
  for (const fo::DictionaryEntry& e : entries) {
    c.out.group(3, e.name);
    c.out.hex(350, e.handle);
  }
}

void mline_style(SaveContext& c) {
  const FixedHandles& f = c.d.fixed;
  object_head(c, "MLINESTYLE", f.mlinestyle, f.mlinestyles);
  DxfOut& o = c.out;
  o.group(100, "AcDbMlineStyle");
  o.group(2, fo::kMlineStyleName);
  o.integer(70, 0);
  o.group(3, "");
  o.integer(62, 256);
  o.real(51, fo::kMlineAngle);
  o.real(52, fo::kMlineAngle);
  o.integer(71, static_cast<long>(std::size(fo::kMlineOffsets)));
  for (const double offset : fo::kMlineOffsets) {
    o.real(49, offset);
    o.integer(62, 256);
    o.group(6, "BYLAYER");
  }
}

void layout(SaveContext& c, std::uint32_t block, std::string_view name, int tab) {
  const BlockRec& b = c.d.blocks[block];
  const DbHeader& h = c.d.header;
  DxfOut& o = c.out;
  object_head(c, "LAYOUT", b.layout, c.d.fixed.layouts);
  o.group(100, "AcDbPlotSettings");
  o.group(1, "");
  o.group(2, fo::kPlotDevice);
  o.group(4, "");
  o.group(6, "");
  for (int code = 40; code <= 49; ++code) o.real(code, 0.0);
  o.real(140, 0.0);
  o.real(141, 0.0);
  o.real(142, 1.0);
  o.real(143, 1.0);
  o.integer(70, block == 0 ? fo::kModelPlotFlags : fo::kLayoutPlotFlags);
  o.integer(72, 0);
  o.integer(73, 0);
  o.integer(74, fo::kPlotType);
  o.group(7, "");
  o.integer(75, fo::kScaleType);
  o.real(147, 1.0);
  o.real(148, 0.0);
  o.real(149, 0.0);
  o.group(100, "AcDbLayout");
  o.group(1, name);
  o.integer(70, fo::kLayoutFlags);
  o.integer(71, tab);
  o.point2(10, h.limmin[0], h.limmin[1]);
  o.point2(11, h.limmax[0], h.limmax[1]);
  o.point3(12, h.insbase.data());
  o.point3(14, h.extmin.data());
  o.point3(15, h.extmax.data());
  o.real(146, 0.0);
  const double origin[3] = {0, 0, 0}, x_axis[3] = {1, 0, 0}, y_axis[3] = {0, 1, 0};
  o.point3(13, origin);
  o.point3(16, x_axis);
  o.point3(17, y_axis);
  o.integer(76, 0);
  o.hex(330, b.handle);
}

void plot_style_names(SaveContext& c) {
  const FixedHandles& f = c.d.fixed;
  object_head(c, "ACDBDICTIONARYWDFLT", f.plotstyles, f.root_dictionary);
  c.out.group(100, "AcDbDictionary");
  c.out.integer(281, 1);
  c.out.group(3, "Normal");
  c.out.hex(350, f.placeholder);
  c.out.group(100, "AcDbDictionaryWithDefault");
  c.out.hex(340, f.placeholder);
  object_head(c, "ACDBPLACEHOLDER", f.placeholder, f.plotstyles);
}

}  // namespace

void write_objects_section(SaveContext& c) {
  if (c.r12()) return;
  const FixedHandles& f = c.d.fixed;
  c.out.group(0, "SECTION");
  c.out.group(2, "OBJECTS");
  for (const fo::Dictionary& dict : fo::dictionaries(c.d, c.r2000())) {
    dictionary(c, dict.handle, dict.owner, dict.entries);
    if (dict.handle == f.mlinestyles) mline_style(c);
  }
  if (c.r2000()) {
    plot_style_names(c);
    layout(c, 0, "Model", 0);
    layout(c, 1, "Layout1", 1);
  }
  c.out.group(0, "ENDSEC");
}

}  // namespace tsn
