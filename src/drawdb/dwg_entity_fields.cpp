// The binary entity field declarations.
#include "drawdb/dwg_entity_fields.h"

#include <array>

#include "drawdb/db_records.h"
#include "drawdb/dwg_save.h"

namespace tsn::dwg {
namespace {

using B = Bits;
using S = Slot;

constexpr DwgField kLine[] = {{B::line_ends, S::p0}, {B::thickness}, {B::extrusion}};
constexpr DwgField kPoint[] = {{B::point3, S::p0}, {B::thickness}, {B::extrusion}, {B::zero_bd}};
constexpr DwgField kCircle[] = {
    {B::point3, S::p0}, {B::bd, S::height}, {B::thickness}, {B::extrusion}};
constexpr DwgField kSolid[] = {{B::thickness},      {B::z_bd, S::p0},   {B::point2, S::p0},
                               {B::point2, S::p1}, {B::point2, S::p2}, {B::point2, S::p3},
                               {B::extrusion}};
constexpr DwgField kFace[] = {{B::face_corners, S::p0}};
constexpr DwgField kText[] = {{B::text_body}};
constexpr DwgField kAttrib[] = {
    {B::text_body}, {B::text, S::tag}, {B::bs, S::field_length}, {B::rc, S::flags}};
constexpr DwgField kAttdef[] = {{B::text_body},
                                {B::text, S::tag},
                                {B::bs, S::field_length},
                                {B::rc, S::flags},
                                {B::text, S::prompt}};
constexpr DwgField kInsert[] = {{B::point3, S::p0}, {B::insert_scale}, {B::angle, S::rotation},
                                {B::extrusion3},    {B::has_attribs, S::follow}};

constexpr DwgKind kKinds[] = {
    {kDbLine, kTypeLine, kLine, DwgRefs::none},
    {kDbPoint, kTypePoint, kPoint, DwgRefs::none},
    {kDbCircle, kTypeCircle, kCircle, DwgRefs::none},
    {kDbSolid, kTypeSolid, kSolid, DwgRefs::none},
    {kDb3dFace, kType3dFace, kFace, DwgRefs::none},
    {kDbText, kTypeText, kText, DwgRefs::style},
    {kDbAttrib, kTypeAttrib, kAttrib, DwgRefs::style},
    {kDbAttdef, kTypeAttdef, kAttdef, DwgRefs::style},
    {kDbInsert, kTypeInsert, kInsert, DwgRefs::insert},
    {kDbSeqend, kTypeSeqend, {}, DwgRefs::none},
};

}  // namespace

const DwgKind* find_dwg_kind(int type) {
  for (const DwgKind& k : kKinds) {
    if (k.type == type) return &k;
  }
  return nullptr;
}

}  // namespace tsn::dwg
