// The symbol table declarations.
#include "drawdb/table_fields.h"

#include "drawdb/releases.h"

namespace tsn {
namespace {

using V = RecordValue;

constexpr RecordField c(int code, std::string_view text, std::uint8_t r = kAllReleases) {
  return {code, V::constant, 0, r, text};
}

// VPORT: reals 0, 1 view centre, 2 view height, 3 aspect.
constexpr RecordField kVportFields[] = {
    {70, V::flags}, c(10, "0.0"), c(20, "0.0"), c(11, "1.0"), c(21, "1.0"),
    {12, V::real, 0}, {22, V::real, 1}, c(13, "0.0"), c(23, "0.0"), c(14, "1.0"),
    c(24, "1.0"), c(15, "0.0"), c(25, "0.0"), c(16, "0.0"), c(26, "0.0"), c(36, "1.0"),
    c(17, "0.0"), c(27, "0.0"), c(37, "0.0"), {40, V::real, 2}, {41, V::real, 3},
    c(42, "50.0"), c(43, "0.0"), c(44, "0.0"), c(50, "0.0"), c(51, "0.0"), c(71, "0"),
    c(72, "100"), c(73, "1"), c(74, "3"), c(75, "0"), c(76, "0"), c(77, "0"), c(78, "0")};
// LTYPE: texts 0 description; ints 0 dash count; reals 0 pattern length.
constexpr RecordField kLtypeFields[] = {{70, V::flags},      {3, V::text, 0},  c(72, "65"),
                                        {73, V::integer, 0}, {40, V::real, 0}, {49, V::dashes}};
// LAYER: ints 0 colour; texts 0 linetype.
constexpr RecordField kLayerFields[] = {{70, V::flags}, {62, V::integer, 0}, {6, V::text, 0}};
// STYLE: reals 0 height, 1 width factor, 2 last height used; texts 0 font.
constexpr RecordField kStyleFields[] = {{70, V::flags},   {40, V::real, 0}, {41, V::real, 1},
                                        c(50, "0.0"),     c(71, "0"),       {42, V::real, 2},
                                        {3, V::text, 0},  c(4, "")};
constexpr RecordField kFlagsOnly[] = {{70, V::flags}};
// BLOCK_RECORD: ref the layout object of a layout block.
constexpr RecordField kBlockRecordFields[] = {
    {340, V::hex, 0, kR2000}, c(70, "0", kR2000), c(280, "1", kR2000), c(281, "0", kR2000)};

constexpr TableDecl kTables[kTableCount] = {
    {"VPORT", "AcDbViewportTableRecord", kAllReleases, 5, kVportFields},
    {"LTYPE", "AcDbLinetypeTableRecord", kAllReleases, 5, kLtypeFields},
    {"LAYER", "AcDbLayerTableRecord", kAllReleases, 5, kLayerFields},
    {"STYLE", "AcDbTextStyleTableRecord", kAllReleases, 5, kStyleFields},
    {"VIEW", "AcDbViewTableRecord", kAllReleases, 5, kFlagsOnly},
    {"UCS", "AcDbUCSTableRecord", kAllReleases, 5, kFlagsOnly},
    {"APPID", "AcDbRegAppTableRecord", kAllReleases, 5, kFlagsOnly},
    {"DIMSTYLE", "AcDbDimStyleTableRecord", kAllReleases, 105, kFlagsOnly},
    {"BLOCK_RECORD", "AcDbBlockTableRecord", kR14On, 5, kBlockRecordFields},
};

}  // namespace

std::span<const TableDecl> table_decls() { return kTables; }

}  // namespace tsn
