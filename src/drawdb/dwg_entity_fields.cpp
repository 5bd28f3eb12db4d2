// The binary entity field declarations.
#include "drawdb/dwg_entity_fields.h"

#include <array>
#include <limits>

#include "drawdb/db_records.h"
#include "drawdb/dwg_save.h"
#include "drawdb/releases.h"

namespace tsn::dwg {
namespace {

using B = Bits;
using S = Slot;

constexpr std::uint8_t k12 = kR12;
// The fallback of an optional field written always: readers differ on the default of a left
// out scale or width factor (some take 0), so these are never left out.
constexpr double kAlways = std::numeric_limits<double>::quiet_NaN();

constexpr DwgField kLine[] = {{B::line_ends, S::p0}, {B::thickness}, {B::extrusion},
                              {B::r12_rd3, S::p0, k12}, {B::r12_rd3, S::p1, k12}};
constexpr DwgField kPoint[] = {{B::point3, S::p0}, {B::thickness}, {B::extrusion}, {B::zero_bd},
                               {B::r12_rd3, S::p0, k12}};
constexpr DwgField kCircle[] = {{B::point3, S::p0}, {B::bd, S::height}, {B::thickness},
                                {B::extrusion},     {B::r12_rd2, S::p0, k12},
                                {B::r12_rd, S::height, k12}};
constexpr DwgField kSolid[] = {{B::thickness},      {B::z_bd, S::p0},   {B::point2, S::p0},
                               {B::point2, S::p1}, {B::point2, S::p2}, {B::point2, S::p3},
                               {B::extrusion},
                               {B::r12_rd2, S::p0, k12}, {B::r12_rd2, S::p1, k12},
                               {B::r12_rd2, S::p2, k12}, {B::r12_rd2, S::p3, k12}};
constexpr DwgField kFace[] = {{B::face_corners, S::p0},
                              {B::r12_rd3, S::p0, k12}, {B::r12_rd3, S::p1, k12},
                              {B::r12_rd3, S::p2, k12}, {B::r12_rd3, S::p3, k12},
                              {B::r12_rs, S::flags, k12, 1}};
// Release 12 texts: insertion point, height and string, then the options.
constexpr DwgField kText[] = {
    {B::text_body},
    {B::r12_rd2, S::p0, k12}, {B::r12_rd, S::height, k12}, {B::r12_tv, S::text, k12},
    {B::r12_angle, S::rotation, k12, 1}, {B::r12_rd, S::width, k12, 2, kAlways},
    {B::r12_style, S::style, k12, 8}, {B::r12_rc, S::h_justify, k12, 32},
    {B::r12_align, S::p1, k12, 64}, {B::r12_rc, S::v_justify, k12, 256}};
// Attributes and their definitions shift the text options up by one bit.
#define TSN_R12_ATTRIBUTE_OPTIONS                                                          \
  {B::r12_angle, S::rotation, k12, 2}, {B::r12_rd, S::width, k12, 4, kAlways},                \
      {B::r12_style, S::style, k12, 16}, {B::r12_rc, S::h_justify, k12, 64},              \
      {B::r12_align, S::p1, k12, 128}, {B::r12_rc, S::v_justify, k12, 0x200}
constexpr DwgField kAttrib[] = {
    {B::text_body}, {B::text, S::tag}, {B::bs, S::field_length}, {B::rc, S::flags},
    {B::r12_rd2, S::p0, k12}, {B::r12_rd, S::height, k12}, {B::r12_tv, S::text, k12},
    {B::r12_tv, S::tag, k12}, {B::r12_rc, S::flags, k12}, TSN_R12_ATTRIBUTE_OPTIONS};
constexpr DwgField kAttdef[] = {
    {B::text_body}, {B::text, S::tag}, {B::bs, S::field_length}, {B::rc, S::flags},
    {B::text, S::prompt},
    {B::r12_rd2, S::p0, k12}, {B::r12_rd, S::height, k12}, {B::r12_tv, S::text, k12},
    {B::r12_tv, S::prompt, k12}, {B::r12_tv, S::tag, k12}, {B::r12_rc, S::flags, k12},
    TSN_R12_ATTRIBUTE_OPTIONS};
#undef TSN_R12_ATTRIBUTE_OPTIONS
constexpr DwgField kInsert[] = {{B::point3, S::p0}, {B::insert_scale}, {B::angle, S::rotation},
                                {B::extrusion3},    {B::has_attribs, S::follow},
                                {B::r12_block, S::block, k12}, {B::r12_rd2, S::p0, k12},
                                {B::r12_rd, S::width, k12, 1, kAlways},
                                {B::r12_rd, S::y_scale, k12, 2, kAlways},
                                {B::r12_angle, S::rotation, k12, 4},
                                {B::r12_rd, S::z_scale, k12, 8, kAlways}};

constexpr DwgKind kKinds[] = {
    {kDbLine, kTypeLine, kLine, DwgRefs::none},
    {kDbPoint, kTypePoint, kPoint, DwgRefs::none},
    {kDbCircle, kTypeCircle, kCircle, DwgRefs::none, true},
    {kDbSolid, kTypeSolid, kSolid, DwgRefs::none, true},
    {kDb3dFace, kType3dFace, kFace, DwgRefs::none},
    {kDbText, kTypeText, kText, DwgRefs::style, true},
    {kDbAttrib, kTypeAttrib, kAttrib, DwgRefs::style, true},
    {kDbAttdef, kTypeAttdef, kAttdef, DwgRefs::style, true},
    {kDbInsert, kTypeInsert, kInsert, DwgRefs::insert, true},
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
