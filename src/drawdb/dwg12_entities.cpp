// The entity records of a release 12 binary drawing: type, flags, size, layer, option bits,
// the optional common values, the kind's own fields and a CRC; vertices and attributes follow
// their polyline or INSERT, closed by a SEQEND that points back at it.
#include <cmath>
#include <numbers>

#include "drawdb/dwg12_sections.h"
#include "drawdb/dwg_eed.h"
#include "drawdb/dwg_entity_fields.h"
#include "drawdb/entity_slots.h"
#include "drawdb/releases.h"

namespace tsn::dwg12 {
namespace {

using dwg::Bits;
using dwg::DwgField;
using dwg::write_rc;
using dwg::write_rd;
using dwg::write_rl;
using dwg::write_rs;

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// The common part of a record that its fields do not give.
struct Common {
  std::uint8_t type = 0;
  std::uint16_t layer = 0;
  int colour = kDbColourByLayer;
  double elevation = 0.0;
  bool followed = false;  // vertices or attributes follow
  const EntityRec* xdata_of = nullptr;
};

class Writer {
 public:
  Writer(const Drawing& d, const Indices& ix, Stream& out, SaveProgress& progress,
         EntityCounts& counts)
      : d_(d), ix_(ix), out_(out), progress_(progress), counts_(counts) {}
  bool block(std::uint32_t index, bool frame);

 private:
  // Writes one record and returns its offset; `body` writes the fields and returns the
  // option bits they set.
  template <typename Body>
  std::uint64_t record(const Common& c, Body&& body);
  void entity(const BlockRec& b, std::size_t& at);
  std::uint64_t listed(const dwg::DwgKind& k, const StoredEntity& e, bool followed);
  void polyline(const StoredEntity& e, bool light);
  void seqend(const EntityRec& owner_rec, std::uint64_t owner);
  Common common_of(const EntityRec& rec, std::uint8_t type) const {
    Common c;
    c.type = type;
    c.layer = static_cast<std::uint16_t>(rec.layer);
    c.colour = rec.colour;
    c.xdata_of = &rec;
    return c;
  }
  std::uint16_t field(BitWriter& w, const DwgField& f, const StoredEntity& e) const;

  const Drawing& d_;
  const Indices& ix_;
  Stream& out_;
  SaveProgress& progress_;
  EntityCounts& counts_;
  std::vector<dwg::EedBlock> eed_;
};

template <typename Body>
std::uint64_t Writer::record(const Common& c, Body&& body) {
  BitWriter& w = out_.buf();
  const std::uint64_t at = out_.offset();
  const std::size_t start = dwg::byte_size(w);
  eed_.clear();
  if (c.xdata_of != nullptr) dwg::encode_eed(d_, *c.xdata_of, 0, eed_, true);
  // Applications' data kept whole while they fit the record.
  std::size_t eed_bytes = 0, kept = 0;
  for (; kept < eed_.size() && eed_bytes + 3 + eed_[kept].bytes.size() <= kMaxEed; ++kept) {
    eed_bytes += 3 + eed_[kept].bytes.size();
  }
  eed_.resize(kept);
  std::uint8_t flags = 0;
  if (c.colour != kDbColourByLayer) flags |= kHasColour;
  if (c.elevation != 0.0) flags |= kHasElevation;
  if (!eed_.empty()) flags |= kHasExtra;
  if (c.followed) flags |= kFollowed;
  write_rc(w, c.type);
  write_rc(w, flags);
  const dwg::Reserved size = dwg::reserve(w, 2);
  write_rs(w, c.layer);
  const dwg::Reserved options = dwg::reserve(w, 2);
  if (!eed_.empty()) {
    write_rc(w, kExtraHasEed);
    write_rs(w, static_cast<std::uint16_t>(eed_bytes));
    for (const dwg::EedBlock& b : eed_) {
      write_rc(w, 1);  // the application, by table index
      write_rs(w, static_cast<std::uint16_t>(b.appid));
      dwg::write_raw(w, b.bytes);
    }
  }
  if (flags & kHasColour) write_rc(w, static_cast<std::uint8_t>(c.colour));
  if (flags & kHasElevation) write_rd(w, c.elevation);
  dwg::patch(w, options, body(w));
  dwg::patch(w, size, dwg::byte_size(w) - start + 2);
  write_rs(w, dwg::crc16({w.bytes.data() + start, dwg::byte_size(w) - start}, dwg::kCrcSeed));
  out_.maybe_flush();
  return at;
}

std::uint16_t Writer::field(BitWriter& w, const DwgField& f, const StoredEntity& e) const {
  const auto optional = [&](double v) { return f.option == 0 || v != f.fallback; };
  switch (f.bits) {
    case Bits::r12_rd: {
      // A field written always (a NaN fallback) is a scale or width: 1 when the kind has none.
      const double v = e.real(f.slot, std::isnan(f.fallback) ? 1.0 : f.fallback);
      if (!optional(v)) return 0;
      write_rd(w, v);
      return f.option;
    }
    case Bits::r12_angle:
      if (!optional(e.real(f.slot))) return 0;
      write_rd(w, radians(e.real(f.slot)));
      return f.option;
    case Bits::r12_rd2: {
      const DbPoint p = e.point(f.slot);
      dwg::write_2rd(w, p[0], p[1]);
      return 0;
    }
    case Bits::r12_rd3:
      for (const double c : e.point(f.slot)) write_rd(w, c);
      return 0;
    case Bits::r12_rc:
      if (!optional(e.integer(f.slot))) return 0;
      write_rc(w, static_cast<std::uint8_t>(e.integer(f.slot)));
      return f.option;
    case Bits::r12_rs:
      if (!optional(e.integer(f.slot))) return 0;
      write_rs(w, static_cast<std::uint16_t>(e.integer(f.slot)));
      return f.option;
    case Bits::r12_tv: write_tv(w, e.text(f.slot)); return 0;
    case Bits::r12_style:
      if (e.rec.ref == kNone || e.rec.ref == 0 || e.rec.ref > 255) return 0;
      write_rc(w, static_cast<std::uint8_t>(e.rec.ref));
      return f.option;
    case Bits::r12_block: {
      const std::int32_t i = e.rec.ref < ix_.block.size() ? ix_.block[e.rec.ref] : -1;
      write_rs(w, static_cast<std::uint16_t>(i < 0 ? 0 : i));
      return 0;
    }
    case Bits::r12_align: {
      if (e.integer(Slot::h_justify) == 0 && e.integer(Slot::v_justify) == 0) return 0;
      const DbPoint p = e.point(f.slot);
      dwg::write_2rd(w, p[0], p[1]);
      return f.option;
    }
    default: return 0;  // a field of the later releases
  }
}

std::uint64_t Writer::listed(const dwg::DwgKind& k, const StoredEntity& e, bool followed) {
  Common c = common_of(e.rec, static_cast<std::uint8_t>(e.rec.type));
  if (k.r12_elevation) c.elevation = e.point(Slot::p0)[2];
  c.followed = followed;
  return record(c, [&](BitWriter& w) {
    std::uint16_t options = 0;
    for (const DwgField& f : k.fields) {
      if (f.releases & kR12) options |= field(w, f, e);
    }
    return options;
  });
}

void Writer::seqend(const EntityRec& owner_rec, std::uint64_t owner) {
  Common c;
  c.type = kSeqend;
  c.layer = static_cast<std::uint16_t>(owner_rec.layer);
  record(c, [&](BitWriter& w) {
    write_rl(w, static_cast<std::uint32_t>(owner));
    return std::uint16_t{0};
  });
}

// A classic polyline, or a light-weight one written as one: header, VERTEX per vertex,
// SEQEND.
void Writer::polyline(const StoredEntity& e, bool light) {
  const EntityRec& r = e.rec;
  const int flags = light ? (r.closed != 0 ? kDbPolylineClosed : 0) : e.integer(Slot::vertex_flags);
  const bool three_d = (flags & kDbPolyline3d) != 0;
  const double elevation = three_d ? 0.0 : e.real(Slot::elevation);
  const double start_width = e.real(Slot::start_width);
  const double end_width = light ? start_width : e.real(Slot::end_width);
  Common c = common_of(r, kPolyline);
  c.elevation = elevation;
  c.followed = true;
  const std::uint64_t at = record(c, [&](BitWriter& w) {
    std::uint16_t options = 0;
    if (flags != 0) {
      write_rc(w, static_cast<std::uint8_t>(flags));
      options |= 1;
    }
    if (start_width != 0.0) {
      write_rd(w, start_width);
      options |= 2;
    }
    if (end_width != 0.0) {
      write_rd(w, end_width);
      options |= 4;
    }
    return options;
  });
  const std::uint32_t per = light ? 2 : 3;
  for (std::uint32_t i = 0; i < r.vertex_count; ++i) {
    const double* p = d_.reals.data() + r.verts + per * i;
    Common v;
    v.type = kVertex;
    v.layer = static_cast<std::uint16_t>(r.layer);
    v.elevation = three_d ? p[2] : elevation;
    const double bulge = e.bulge(per, i);
    record(v, [&](BitWriter& w) {
      dwg::write_2rd(w, p[0], p[1]);
      std::uint16_t options = 0;
      if (bulge != 0.0) {
        write_rd(w, bulge);
        options |= 4;
      }
      if (three_d) {
        write_rc(w, kDbVertex3d);
        options |= 8;
      }
      return options;
    });
  }
  seqend(r, at);
}

void Writer::entity(const BlockRec& b, std::size_t& at) {
  const EntityRec& rec = d_.entities[b.entities[at]];
  const EntityKind* kind = find_kind(rec.type);
  if (kind == nullptr) return;
  const StoredEntity e{d_, rec, *kind, d_.reals.data() + rec.values};
  if (rec.type == kDbHatch) {
    ++counts_.hatches_left_out;  // release 12 has no hatches
    return;
  }
  if (rec.type == kDbLwpolyline || rec.type == kDbPolyline) {
    return polyline(e, rec.type == kDbLwpolyline);
  }
  const dwg::DwgKind* k = dwg::find_dwg_kind(rec.type);
  if (k == nullptr || rec.type == kDbSeqend) return;
  if (rec.type != kDbInsert || rec.ints[kIntFollow] == 0) {
    listed(*k, e, false);
    return;
  }
  // The attributes after the INSERT, up to its SEQEND.
  std::size_t end = at + 1;
  std::vector<const EntityRec*> attribs;
  for (; end < b.entities.size(); ++end) {
    if (b.entities[end] == kNone) continue;
    const EntityRec& r = d_.entities[b.entities[end]];
    if (r.type != kDbAttrib) break;
    attribs.push_back(&r);
  }
  const bool closed = end < b.entities.size() && b.entities[end] != kNone &&
                      d_.entities[b.entities[end]].type == kDbSeqend;
  const bool followed = closed && !attribs.empty();
  const std::uint64_t owner = listed(*k, e, followed);
  if (!followed) return;
  for (const EntityRec* r : attribs) {
    listed(*dwg::find_dwg_kind(kDbAttrib),
           StoredEntity{d_, *r, *find_kind(kDbAttrib), d_.reals.data() + r->values}, false);
  }
  seqend(d_.entities[b.entities[end]], owner);
  at = end;
}

bool Writer::block(std::uint32_t index, bool frame) {
  const BlockRec& b = d_.blocks[index];
  if (frame) {
    Common c;
    c.type = kBlockBegin;
    record(c, [&](BitWriter& w) {
      dwg::write_2rd(w, b.base[0], b.base[1]);
      write_tv(w, block_display_name(d_, index, false));
      return std::uint16_t{4};  // the name follows
    });
  }
  for (std::size_t i = 0; i < b.entities.size(); ++i) {
    if (b.entities[i] == kNone) continue;
    entity(b, i);
    progress_.entity_done();
  }
  if (frame) {
    Common c;
    c.type = kBlockEnd;
    record(c, [](BitWriter&) { return std::uint16_t{0}; });
  }
  return !out_.failed();
}

}  // namespace

Indices::Indices(const Drawing& d) : block(d.blocks.size(), -1) {
  for (std::uint32_t i = 2; i < d.blocks.size(); ++i) {
    if (d.blocks[i].deleted) continue;
    block[i] = static_cast<std::int32_t>(written.size());
    written.push_back(i);
  }
}

bool write_block_entities(const Drawing& d, const Indices& ix, std::uint32_t block, bool frame,
                          Stream& out, SaveProgress& progress, EntityCounts& counts) {
  return Writer(d, ix, out, progress, counts).block(block, frame);
}

}  // namespace tsn::dwg12
