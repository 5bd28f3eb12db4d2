// The entity field declarations.
#include "drawdb/entity_fields.h"

#include <array>
#include <vector>

#include "drawdb/db_records.h"
#include "drawdb/releases.h"

namespace tsn {
namespace {

using F = FieldType;
using S = Slot;
using W = When;

constexpr FieldDecl sub(std::string_view name, std::uint8_t r = kR14On, When w = W::always) {
  return {100, F::subclass, S::none, r, w, name};
}

constexpr FieldDecl kHead[] = {
    {0, F::entity_name},  {5, F::handle, S::none, kR14On}, {102, F::reactors, S::none, kR14On},
    {330, F::owner, S::none, kR2000}, sub("AcDbEntity"), {8, F::layer}, {62, F::colour}};
constexpr FieldDecl kTail[] = {{1001, F::xdata}};

constexpr FieldDecl kLine[] = {sub("AcDbLine"), {10, F::point, S::p0}, {11, F::point, S::p1}};
constexpr FieldDecl kPoint[] = {sub("AcDbPoint"), {10, F::point, S::p0}};
constexpr FieldDecl kCircle[] = {
    sub("AcDbCircle"), {10, F::point, S::p0}, {40, F::real, S::height}};
// The text part TEXT, ATTRIB and ATTDEF share, then each kind's own fields.
constexpr FieldDecl kTextPart[] = {
    sub("AcDbText"),
    {10, F::point, S::p0},
    {40, F::real, S::height},
    {1, F::text, S::text},
    {50, F::real, S::rotation, kAllReleases, W::nonzero},
    {41, F::real, S::width, kAllReleases, W::not_one},
    {7, F::style_name, S::style},
    {72, F::integer, S::h_justify, kAllReleases, W::nonzero},
    {11, F::point, S::p1, kAllReleases, W::justified}};
constexpr FieldDecl kText[] = {
    sub("AcDbText"), {73, F::integer, S::v_justify, kAllReleases, W::nonzero}};
// 74 is the vertical justification of attributes.
constexpr FieldDecl kAttrib[] = {
    sub("AcDbAttribute"),
    {2, F::text, S::tag},
    {70, F::integer, S::flags},
    {74, F::integer, S::v_justify, kAllReleases, W::nonzero}};
constexpr FieldDecl kAttdef[] = {
    sub("AcDbAttributeDefinition"),
    {3, F::text, S::prompt},
    {2, F::text, S::tag},
    {70, F::integer, S::flags},
    {73, F::integer, S::field_length, kAllReleases, W::nonzero},
    {74, F::integer, S::v_justify, kAllReleases, W::nonzero}};
constexpr FieldDecl kSolid[] = {sub("AcDbTrace"),    {10, F::point, S::p0},
                                {11, F::point, S::p1}, {12, F::point, S::p2},
                                {13, F::point, S::p3}};
constexpr FieldDecl kFace[] = {sub("AcDbFace"),       {10, F::point3, S::p0},
                               {11, F::point3, S::p1}, {12, F::point3, S::p2},
                               {13, F::point3, S::p3}, {70, F::integer, S::flags}};
constexpr FieldDecl kInsert[] = {
    sub("AcDbBlockReference"),
    {66, F::integer, S::follow, kAllReleases, W::nonzero},
    {2, F::block_name, S::block},
    {10, F::point, S::p0},
    {41, F::real, S::width, kAllReleases, W::not_one},
    {42, F::real, S::y_scale, kAllReleases, W::not_one},
    {43, F::real, S::z_scale, kAllReleases, W::not_one},
    {50, F::real, S::rotation, kAllReleases, W::nonzero}};
constexpr FieldDecl kSeqend[] = {{0, F::constant, S::none, 0}};  // nothing of its own
constexpr FieldDecl kLwpolyline[] = {
    sub("AcDbPolyline"),
    {90, F::vertex_count, S::none, kR14On},
    {70, F::integer, S::closed, kR14On},
    {43, F::real, S::start_width, kR14On, W::nonzero},
    {38, F::real, S::elevation, kR14On, W::nonzero},
    // Release 12 has no light-weight polyline: the same data as a classic one.
    {66, F::constant, S::none, kR12, W::always, "1"},
    {10, F::elevation_point, S::elevation, kR12},
    {70, F::integer, S::closed, kR12},
    {40, F::real, S::start_width, kR12, W::nonzero},
    {41, F::real, S::start_width, kR12, W::nonzero},
    {10, F::lw_vertices}};
constexpr FieldDecl kPolyline[] = {
    sub("AcDb2dPolyline", kR14On, W::is_2d),
    sub("AcDb3dPolyline", kR14On, W::is_3d),
    {66, F::constant, S::none, kAllReleases, W::always, "1"},
    {10, F::elevation_point, S::elevation},
    {70, F::integer, S::vertex_flags},
    {40, F::real, S::start_width, kAllReleases, W::nonzero},
    {41, F::real, S::end_width, kAllReleases, W::nonzero},
    {10, F::poly_vertices}};
constexpr FieldDecl kVertex[] = {
    sub("AcDbVertex"),
    sub("AcDb2dVertex", kR14On, W::is_2d),
    sub("AcDb3dPolylineVertex", kR14On, W::is_3d),
    {10, F::point, S::p0},
    {42, F::real, S::bulge, kAllReleases, W::nonzero},
    {70, F::integer, S::vertex_flags}};
constexpr FieldDecl kHatch[] = {
    sub("AcDbHatch"),
    {10, F::elevation_point3, S::elevation},
    {210, F::constant, S::none, kAllReleases, W::always, "0.0"},
    {220, F::constant, S::none, kAllReleases, W::always, "0.0"},
    {230, F::constant, S::none, kAllReleases, W::always, "1.0"},
    {2, F::hatch_body}};

struct KindSource {
  int type;
  std::string_view name, r12_name;
  std::uint8_t releases;
  std::span<const FieldDecl> fields;
  std::span<const FieldDecl> shared = {};  // written before the kind's own fields
};

constexpr KindSource kSources[] = {
    {kDbLine, "LINE", "", kAllReleases, kLine},
    {kDbPoint, "POINT", "", kAllReleases, kPoint},
    {kDbCircle, "CIRCLE", "", kAllReleases, kCircle},
    {kDbText, "TEXT", "", kAllReleases, kText, kTextPart},
    {kDbSolid, "SOLID", "", kAllReleases, kSolid},
    {kDbInsert, "INSERT", "", kAllReleases, kInsert},
    {kDbAttdef, "ATTDEF", "", kAllReleases, kAttdef, kTextPart},
    {kDbAttrib, "ATTRIB", "", kAllReleases, kAttrib, kTextPart},
    {kDbSeqend, "SEQEND", "", kAllReleases, std::span<const FieldDecl>(kSeqend, 0)},
    {kDbLwpolyline, "LWPOLYLINE", "POLYLINE", kAllReleases, kLwpolyline},
    {kDbPolyline, "POLYLINE", "", kAllReleases, kPolyline},
    {kDbVertex, "VERTEX", "", kAllReleases, kVertex},
    {kDb3dFace, "3DFACE", "", kAllReleases, kFace},
    {kDbHatch, "HATCH", "", kR14On, kHatch},
};

EntityKind make_kind(const KindSource& src) {
  EntityKind k{src.type, src.name, src.r12_name, src.releases, {src.shared, src.fields}, {}, 0};
  for (auto& o : k.real_offset) o = -1;
  for_each_field(k, [&k](const FieldDecl& f) {
    const int n = slot_reals(f.slot);
    auto& offset = k.real_offset[static_cast<int>(f.slot)];
    if (n == 0 || offset >= 0) return;
    offset = static_cast<std::int8_t>(k.real_count);
    k.real_count = static_cast<std::uint8_t>(k.real_count + n);
  });
  return k;
}

const std::vector<EntityKind>& kinds() {
  static const std::vector<EntityKind> all = [] {
    std::vector<EntityKind> v;
    for (const KindSource& s : kSources) v.push_back(make_kind(s));
    return v;
  }();
  return all;
}

}  // namespace

const EntityKind* find_kind(int type) {
  for (const EntityKind& k : kinds()) {
    if (k.type == type) return &k;
  }
  return nullptr;
}

std::span<const FieldDecl> common_head_fields() { return kHead; }
std::span<const FieldDecl> common_tail_fields() { return kTail; }

int slot_reals(Slot slot) {
  if (slot >= Slot::p0 && slot <= Slot::p3) return 3;
  if (slot >= Slot::height && slot <= Slot::bulge) return 1;
  return 0;
}

}  // namespace tsn
