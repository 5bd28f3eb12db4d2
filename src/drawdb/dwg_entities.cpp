// Every block's entities as binary objects: BLOCK, the entities with their neighbours, ENDBLK;
// attributes under their INSERT, vertices under their polyline.
#include <cmath>
#include <numbers>

#include "drawdb/dwg_eed.h"
#include "drawdb/dwg_entity_fields.h"
#include "drawdb/dwg_save.h"
#include "drawdb/entity_slots.h"
#include "drawdb/releases.h"
#include "drawdb/session.h"

namespace tsn::dwg {
namespace {

constexpr Triple kUp = {0.0, 0.0, 1.0};

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

using Stored = StoredEntity;

void write_text(BitWriter& w, std::string_view s) {
  if (!write_t(w, s)) write_t(w, s.substr(0, 65535));
}

void line_ends(BitWriter& w, const Triple& a, const Triple& b, bool r2000) {
  if (!r2000) {
    write_3bd(w, a);
    write_3bd(w, b);
    return;
  }
  const bool flat = a[2] == 0.0 && b[2] == 0.0;
  write_b(w, flat);
  write_rd(w, a[0]);
  write_dd(w, b[0], a[0]);
  write_rd(w, a[1]);
  write_dd(w, b[1], a[1]);
  if (!flat) {
    write_rd(w, a[2]);
    write_dd(w, b[2], a[2]);
  }
}

void face_corners(BitWriter& w, const Stored& e, bool r2000) {
  const Triple c[4] = {e.point(Slot::p0), e.point(Slot::p1), e.point(Slot::p2),
                       e.point(Slot::p3)};
  const int flags = e.integer(Slot::flags);
  if (!r2000) {
    for (const Triple& p : c) write_3bd(w, p);
    write_bs(w, static_cast<std::uint16_t>(flags));
    return;
  }
  write_b(w, flags == 0);  // no edge flags
  write_b(w, c[0][2] == 0.0);
  write_rd(w, c[0][0]);
  write_rd(w, c[0][1]);
  if (c[0][2] != 0.0) write_rd(w, c[0][2]);
  for (int i = 1; i < 4; ++i) {
    for (int k = 0; k < 3; ++k) write_dd(w, c[i][k], c[i - 1][k]);
  }
  if (flags != 0) write_bs(w, static_cast<std::uint16_t>(flags));
}

// Insertion point, alignment point, heights, angles and justification of a text.
void text_body(BitWriter& w, const Stored& e, bool r2000) {
  const Triple at = e.point(Slot::p0);
  const bool justified = e.integer(Slot::h_justify) != 0 || e.integer(Slot::v_justify) != 0;
  const Triple align = justified ? e.point(Slot::p1) : Triple{};
  const double rotation = radians(e.real(Slot::rotation));
  const double height = e.real(Slot::height), width = e.real(Slot::width, 1.0);
  const auto h = static_cast<std::uint16_t>(e.integer(Slot::h_justify));
  const auto v = static_cast<std::uint16_t>(e.integer(Slot::v_justify));
  if (!r2000) {
    write_bd(w, at[2]);
    write_2rd(w, at[0], at[1]);
    write_2rd(w, align[0], align[1]);
    write_3bd(w, kUp);
    write_bd(w, 0.0);  // thickness
    write_bd(w, 0.0);  // oblique angle
    write_bd(w, rotation);
    write_bd(w, height);
    write_bd(w, width);
    write_text(w, e.text(Slot::text));
    write_bs(w, 0);  // generation
    write_bs(w, h);
    write_bs(w, v);
    return;
  }
  // Data flags: bit set where a value is left out at its default.
  std::uint8_t flags = 0x20;  // generation 0
  if (at[2] == 0.0) flags |= 0x01;
  if (!justified) flags |= 0x02;
  flags |= 0x04;  // no oblique angle
  if (rotation == 0.0) flags |= 0x08;
  if (width == 1.0) flags |= 0x10;
  if (h == 0) flags |= 0x40;
  if (v == 0) flags |= 0x80;
  write_rc(w, flags);
  if (!(flags & 0x01)) write_rd(w, at[2]);
  write_2rd(w, at[0], at[1]);
  if (!(flags & 0x02)) {
    write_dd(w, align[0], at[0]);
    write_dd(w, align[1], at[1]);
  }
  write_be(w, kUp, true);
  write_bt(w, 0.0, true);
  if (!(flags & 0x08)) write_rd(w, rotation);
  write_rd(w, height);
  if (!(flags & 0x10)) write_rd(w, width);
  write_text(w, e.text(Slot::text));
  if (!(flags & 0x40)) write_bs(w, h);
  if (!(flags & 0x80)) write_bs(w, v);
}

void insert_scale(BitWriter& w, const Stored& e, bool r2000) {
  const double x = e.real(Slot::width, 1.0), y = e.real(Slot::y_scale, 1.0),
               z = e.real(Slot::z_scale, 1.0);
  if (!r2000) return write_3bd(w, {x, y, z});
  if (x == 1.0 && y == 1.0 && z == 1.0) return write_bb(w, 3);
  write_bb(w, 0);
  write_rd(w, x);
  write_dd(w, y, x);
  write_dd(w, z, x);
}

void write_field(BitWriter& w, const DwgField& f, const Stored& e, bool r2000) {
  switch (f.bits) {
    case Bits::bd: write_bd(w, e.real(f.slot)); break;
    case Bits::bs: write_bs(w, static_cast<std::uint16_t>(e.integer(f.slot))); break;
    case Bits::rc: write_rc(w, static_cast<std::uint8_t>(e.integer(f.slot))); break;
    case Bits::angle: write_bd(w, radians(e.real(f.slot))); break;
    case Bits::point3: write_3bd(w, e.point(f.slot)); break;
    case Bits::point2: {
      const Triple p = e.point(f.slot);
      write_2rd(w, p[0], p[1]);
      break;
    }
    case Bits::z_bd: write_bd(w, e.point(f.slot)[2]); break;
    case Bits::text: write_text(w, e.text(f.slot)); break;
    case Bits::zero_bd: write_bd(w, 0.0); break;
    case Bits::thickness: write_bt(w, 0.0, r2000); break;
    case Bits::extrusion: write_be(w, kUp, r2000); break;
    case Bits::extrusion3: write_3bd(w, kUp); break;
    case Bits::line_ends: line_ends(w, e.point(Slot::p0), e.point(Slot::p1), r2000); break;
    case Bits::face_corners: face_corners(w, e, r2000); break;
    case Bits::text_body: text_body(w, e, r2000); break;
    case Bits::insert_scale: insert_scale(w, e, r2000); break;
    case Bits::has_attribs: write_b(w, e.integer(f.slot) != 0); break;
    default: break;  // a release 12 form, filtered out by the caller
  }
}

// The writer of one block's entities.
class BlockWriter {
 public:
  BlockWriter(DwgSave& s, std::uint32_t block) : s_(s), d_(s.d), block_(d_.blocks[block]),
                                                  index_(block) {}
  void write();

 private:
  EntityCommon common_for(const EntityRec& rec, std::uint32_t prev, std::uint32_t next) const;
  void begin(std::uint16_t type, std::uint32_t handle, const EntityCommon& c,
             const EntityRec* rec);
  void frame(bool begin_block);
  void entity(const EntityRec& rec, const EntityCommon& c, std::size_t at);
  void listed(const DwgKind& k, const Stored& e, const EntityCommon& c, std::size_t at);
  void lwpolyline(const Stored& e, const EntityCommon& c);
  void polyline(const Stored& e, const EntityCommon& c);
  void hatch(const Stored& e, const EntityCommon& c);
  std::uint32_t layer_of(const EntityRec& rec) const { return d_.layers[rec.layer].handle; }

  DwgSave& s_;
  const Drawing& d_;
  const BlockRec& block_;
  std::uint32_t index_;
  std::vector<std::uint32_t> reactors_;
  std::vector<EedBlock> eed_;
};

EntityCommon BlockWriter::common_for(const EntityRec& rec, std::uint32_t prev,
                                     std::uint32_t next) const {
  EntityCommon c;
  c.owner = block_.handle;
  c.in_block = index_ != 0;
  c.layer = layer_of(rec);
  c.colour = static_cast<std::uint16_t>(rec.colour);
  c.prev = prev;
  c.next = next;
  return c;
}

void BlockWriter::begin(std::uint16_t type, std::uint32_t handle, const EntityCommon& c,
                        const EntityRec* rec) {
  reactors_.clear();
  eed_.clear();
  if (rec != nullptr && rec->aux != kNone) {
    const AuxRec& a = d_.aux[rec->aux];
    for (std::uint32_t i = 0; i < a.reactor_count; ++i) reactors_.push_back(d_.refs[a.reactors + i]);
  }
  if (rec != nullptr) encode_eed(d_, *rec, s_.code_page(), eed_);
  s_.object.begin_entity(type, handle, c, reactors_, eed_);
}

void BlockWriter::frame(bool begin_block) {
  EntityCommon c;
  c.owner = block_.handle;
  c.layer = d_.layers[0].handle;
  c.colour = 256;
  const std::uint32_t handle = begin_block ? block_.begin_handle : block_.end_handle;
  s_.object.begin_entity(begin_block ? kTypeBlock : kTypeEndblk, handle, c);
  if (begin_block) write_text(s_.object.data(), block_display_name(d_, index_, s_.r2000));
  s_.add_object(handle);
}

void BlockWriter::write() {
  frame(true);
  const std::vector<std::size_t> top = top_level_entities(d_, index_);
  for (std::size_t k = 0; k < top.size(); ++k) {
    const EntityRec& rec = d_.entities[block_.entities[top[k]]];
    const std::uint32_t prev = k > 0 ? d_.entities[block_.entities[top[k - 1]]].handle : 0;
    const std::uint32_t next =
        k + 1 < top.size() ? d_.entities[block_.entities[top[k + 1]]].handle : 0;
    entity(rec, common_for(rec, prev, next), top[k]);
    s_.progress.entity_done();
  }
  frame(false);
}

void BlockWriter::entity(const EntityRec& rec, const EntityCommon& c, std::size_t at) {
  const EntityKind* kind = find_kind(rec.type);
  if (kind == nullptr) return;
  const Stored e{d_, rec, *kind, d_.reals.data() + rec.values};
  if (rec.type == kDbLwpolyline) return lwpolyline(e, c);
  if (rec.type == kDbPolyline) return polyline(e, c);
  if (rec.type == kDbHatch) return hatch(e, c);
  if (const DwgKind* k = find_dwg_kind(rec.type)) listed(*k, e, c, at);
}

void BlockWriter::listed(const DwgKind& k, const Stored& e, const EntityCommon& c,
                         std::size_t at) {
  // An INSERT's attributes: the records after it up to its SEQEND.
  std::vector<const EntityRec*> attribs;
  const EntityRec* seqend = nullptr;
  if (k.refs == DwgRefs::insert && e.integer(Slot::follow) != 0) {
    for (std::size_t i = at + 1; i < block_.entities.size(); ++i) {
      if (block_.entities[i] == kNone) continue;
      const EntityRec& r = d_.entities[block_.entities[i]];
      if (r.type == kDbAttrib) {
        attribs.push_back(&r);
        continue;
      }
      if (r.type == kDbSeqend) seqend = &r;
      break;
    }
  }
  const bool has_attribs = !attribs.empty() && seqend != nullptr;
  begin(k.dwg_type, e.rec.handle, c, &e.rec);
  BitWriter& w = s_.object.data();
  for (const DwgField& f : k.fields) {
    if ((f.releases & (s_.r2000 ? kR2000 : kR14)) == 0) continue;
    if (f.bits == Bits::has_attribs) {
      write_b(w, has_attribs);
    } else {
      write_field(w, f, e, s_.r2000);
    }
  }
  if (k.refs == DwgRefs::style) s_.object.handle(kHardPointer, d_.styles[e.rec.ref].handle);
  if (k.refs == DwgRefs::insert) {
    s_.object.handle(kHardPointer, d_.blocks[e.rec.ref].handle);
    if (has_attribs) {
      s_.object.handle(kSoftPointer, attribs.front()->handle);
      s_.object.handle(kSoftPointer, attribs.back()->handle);
      s_.object.handle(kHardOwner, seqend->handle);
    }
  }
  s_.add_object(e.rec.handle);
  if (!has_attribs) return;
  EntityCommon owned;
  owned.owner = e.rec.handle;
  for (std::size_t i = 0; i < attribs.size(); ++i) {
    const EntityRec& r = *attribs[i];
    owned.layer = layer_of(r);
    owned.colour = static_cast<std::uint16_t>(r.colour);
    owned.prev = i > 0 ? attribs[i - 1]->handle : 0;
    owned.next = i + 1 < attribs.size() ? attribs[i + 1]->handle : 0;
    listed(*find_dwg_kind(kDbAttrib), Stored{d_, r, *find_kind(kDbAttrib), d_.reals.data() + r.values}, owned, 0);
  }
  owned.layer = layer_of(*seqend);
  owned.prev = owned.next = 0;
  begin(kTypeSeqend, seqend->handle, owned, seqend);
  s_.add_object(seqend->handle);
}

void BlockWriter::lwpolyline(const Stored& e, const EntityCommon& c) {
  const EntityRec& r = e.rec;
  const double width = e.real(Slot::start_width), elevation = e.real(Slot::elevation);
  const bool bulged = r.bulged != 0;
  std::uint16_t flags = 0;
  if (width != 0.0) flags |= 4;
  if (elevation != 0.0) flags |= 8;
  if (bulged) flags |= 16;
  if (r.closed != 0) flags |= 512;
  begin(s_.lwpolyline_type(), r.handle, c, &r);
  BitWriter& w = s_.object.data();
  write_bs(w, flags);
  if (flags & 4) write_bd(w, width);
  if (flags & 8) write_bd(w, elevation);
  write_bl(w, r.vertex_count);
  if (bulged) write_bl(w, r.vertex_count);
  const double* p = d_.reals.data() + r.verts;
  for (std::uint32_t i = 0; i < r.vertex_count; ++i) {
    if (i == 0 || !s_.r2000) {
      write_2rd(w, p[2 * i], p[2 * i + 1]);
    } else {
      write_dd(w, p[2 * i], p[2 * i - 2]);
      write_dd(w, p[2 * i + 1], p[2 * i - 1]);
    }
  }
  if (bulged) {
    for (std::uint32_t i = 0; i < r.vertex_count; ++i) write_bd(w, e.bulge(2, i));
  }
  s_.add_object(r.handle);
}

// A classic polyline: its header, a VERTEX per stored vertex and SEQEND, with handles issued
// by the save.
void BlockWriter::polyline(const Stored& e, const EntityCommon& c) {
  const EntityRec& r = e.rec;
  const int flags = e.integer(Slot::vertex_flags);
  const bool three_d = (flags & kDbPolyline3d) != 0;
  const std::uint32_t count = r.vertex_count;
  const std::uint32_t first = s_.issue_handle();
  for (std::uint32_t i = 1; i < count; ++i) s_.issue_handle();
  const std::uint32_t seqend = s_.issue_handle();
  const std::uint32_t last = count == 0 ? 0 : first + count - 1;

  begin(three_d ? kTypePolyline3d : kTypePolyline2d, r.handle, c, &r);
  BitWriter& w = s_.object.data();
  if (three_d) {
    write_rc(w, 0);  // no curve fitting
    write_rc(w, static_cast<std::uint8_t>(flags & kDbPolylineClosed));
  } else {
    write_bs(w, static_cast<std::uint16_t>(flags));
    write_bs(w, 0);  // curve type
    write_bd(w, e.real(Slot::start_width));
    write_bd(w, e.real(Slot::end_width));
    write_bt(w, 0.0, s_.r2000);
    write_bd(w, e.real(Slot::elevation));
    write_be(w, kUp, s_.r2000);
  }
  s_.object.handle(kSoftPointer, count == 0 ? 0 : first);
  s_.object.handle(kSoftPointer, last);
  s_.object.handle(kHardOwner, seqend);
  s_.add_object(r.handle);

  EntityCommon owned;
  owned.owner = r.handle;
  owned.layer = c.layer;
  owned.colour = 256;
  const double elevation = e.real(Slot::elevation);
  for (std::uint32_t i = 0; i < count; ++i) {
    const double* p = d_.reals.data() + r.verts + 3 * i;
    const std::uint32_t handle = first + i;
    owned.prev = i > 0 ? handle - 1 : 0;
    owned.next = i + 1 < count ? handle + 1 : 0;
    s_.object.begin_entity(three_d ? kTypeVertex3d : kTypeVertex2d, handle, owned);
    BitWriter& v = s_.object.data();
    if (three_d) {
      write_rc(v, kDbVertex3d);
      write_3bd(v, {p[0], p[1], p[2]});
    } else {
      write_rc(v, 0);
      write_3bd(v, {p[0], p[1], elevation});
      write_bd(v, 0.0);  // start width
      write_bd(v, 0.0);  // end width
      write_bd(v, e.bulge(3, i));
      write_bd(v, 0.0);  // tangent direction
    }
    s_.add_object(handle);
  }
  owned.prev = owned.next = 0;
  s_.object.begin_entity(kTypeSeqend, seqend, owned);
  s_.add_object(seqend);
}

void BlockWriter::hatch(const Stored& e, const EntityCommon& c) {
  static const AuxRec kEmpty{};
  const EntityRec& r = e.rec;
  const AuxRec& a = r.aux == kNone ? kEmpty : d_.aux[r.aux];
  begin(s_.hatch_type(), r.handle, c, &r);
  BitWriter& w = s_.object.data();
  write_bd(w, e.real(Slot::elevation));
  write_3bd(w, kUp);
  write_text(w, a.pattern_name == kNone ? "SOLID" : d_.strings.get(a.pattern_name));
  write_b(w, a.solid != 0);
  write_b(w, a.associative != 0);
  write_bl(w, a.path_count);
  for (std::uint32_t i = 0; i < a.path_count; ++i) {
    const HatchPathRec& p = d_.hatch_paths[a.paths + i];
    write_bl(w, 1);  // external boundary of edges
    const double* v = d_.reals.data() + p.verts;
    if (p.vertex_count == 0) {  // one circular arc all the way round, counter-clockwise
      write_bl(w, 1);
      write_rc(w, 2);
      write_2rd(w, v[0], v[1]);
      write_bd(w, v[2]);
      write_bd(w, 0.0);
      write_bd(w, 2.0 * std::numbers::pi);
      write_b(w, true);
    } else {
      write_bl(w, p.vertex_count);
      for (std::uint32_t k = 0; k < p.vertex_count; ++k) {
        const std::uint32_t n = (k + 1) % p.vertex_count;
        write_rc(w, 1);
        write_2rd(w, v[2 * k], v[2 * k + 1]);
        write_2rd(w, v[2 * n], v[2 * n + 1]);
      }
    }
    write_bl(w, p.source_count);
  }
  write_bs(w, 0);  // odd parity
  write_bs(w, 1);  // predefined pattern
  if (a.solid == 0) {
    write_bd(w, 0.0);  // angle
    write_bd(w, 1.0);  // scale
    write_b(w, false);  // not doubled
    write_bs(w, static_cast<std::uint16_t>(a.line_count));
    std::size_t at = a.lines;
    for (std::uint32_t i = 0; i < a.line_count; ++i) {
      const double* l = d_.reals.data() + at;
      const auto dashes = static_cast<std::size_t>(l[5]);
      write_bd(w, radians(l[0]));
      write_bd(w, l[1]);
      write_bd(w, l[2]);
      write_bd(w, l[3]);
      write_bd(w, l[4]);
      write_bs(w, static_cast<std::uint16_t>(dashes));
      for (std::size_t k = 0; k < dashes; ++k) write_bd(w, l[6 + k]);
      at += 6 + dashes;
    }
  }
  write_bl(w, 1);  // one seed point
  write_2rd(w, 0.0, 0.0);
  for (std::uint32_t i = 0; i < a.path_count; ++i) {
    const HatchPathRec& p = d_.hatch_paths[a.paths + i];
    for (std::uint32_t k = 0; k < p.source_count; ++k) {
      s_.object.handle(kSoftPointer, d_.refs[p.sources + k]);
    }
  }
  s_.add_object(r.handle);
}

}  // namespace

void write_block_entities(DwgSave& s) {
  for (std::uint32_t i = 0; i < s.d.blocks.size(); ++i) {
    if (!s.d.blocks[i].deleted) BlockWriter(s, i).write();
  }
}

}  // namespace tsn::dwg
