// The ten table sections of a release 12 binary drawing: fixed-size records, each closed by
// its CRC, between the table's sentinels.
#include "drawdb/dwg12_sections.h"

#include <algorithm>

#include "drawdb/table_fields.h"

namespace tsn::dwg12 {
namespace {

using dwg::write_rc;
using dwg::write_rd;
using dwg::write_rl;
using dwg::write_rs;

constexpr std::uint16_t kUnused = 0xFFFF;

// A record: flag byte, 32-byte name, a use count the format keeps at -1, the table's own
// fields (from `fields`), then the CRC of the record; `size` bytes in all.
template <typename Fields>
bool write_record(BitWriter& w, std::uint16_t size, int flags, std::string_view name,
                  Fields&& fields) {
  const std::size_t start = dwg::byte_size(w);
  write_rc(w, static_cast<std::uint8_t>(flags));
  write_fixed_text(w, name, 32);
  write_rs(w, kUnused);
  fields();
  write_rs(w, dwg::crc16({w.bytes.data() + start, dwg::byte_size(w) - start}, dwg::kCrcSeed));
  return dwg::byte_size(w) - start == size;
}

}  // namespace

std::uint16_t linetype_index(const Drawing& d, std::uint32_t linetype) {
  // BYBLOCK and BYLAYER are not table records in this release.
  return static_cast<std::uint16_t>(linetype >= 2 && linetype < d.linetypes.size() ? linetype - 2 : 0);
}

Tables table_layout(const Drawing& d, const Indices& ix, std::uint64_t first_table_at) {
  Tables t{};
  t[kBlock].count = static_cast<std::uint16_t>(ix.written.size());
  t[kLayer].count = static_cast<std::uint16_t>(d.layers.size());
  t[kStyle].count = static_cast<std::uint16_t>(d.styles.size());
  t[kLtype].count = static_cast<std::uint16_t>(d.linetypes.size() > 2 ? d.linetypes.size() - 2 : 0);
  t[kVport].count = 1;
  t[kAppid].count = static_cast<std::uint16_t>(d.regapps.size());
  std::uint64_t at = first_table_at;
  for (int i = 0; i < kTableCount; ++i) {
    t[i].record_size = kRecordSize[i];
    at += 16;  // the table's begin sentinel
    t[i].address = static_cast<std::uint32_t>(at);
    at += std::uint64_t{t[i].record_size} * t[i].count + 16;
  }
  return t;
}

std::uint64_t tables_end(const Tables& t) {
  const TableInfo& last = t[kVx];
  return std::uint64_t{last.address} + std::uint64_t{last.record_size} * last.count + 16;
}

bool write_tables(BitWriter& w, const Drawing& d, const Indices& ix,
                  const std::vector<std::uint32_t>& block_offsets) {
  bool ok = true;
  const auto open = [&](Table t) { dwg::write_sentinel(w, table_sentinels(t).begin); };
  const auto close = [&](Table t) { dwg::write_sentinel(w, table_sentinels(t).end); };

  open(kBlock);
  const std::vector<std::uint32_t>& blocks = ix.written;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const BlockRec& b = d.blocks[blocks[i]];
    ok &= write_record(w, kRecordSize[kBlock], b.flags, block_display_name(d, blocks[i], false),
                       [&] {
                         write_rl(w, kBlocksSizeFlag | block_offsets[i]);
                         write_rs(w, kUnused);  // the BLOCK entity, not kept by index
                         write_rc(w, 0xFF);
                         write_rc(w, 0xFF);
                       });
  }
  close(kBlock);

  open(kLayer);
  for (const LayerRec& l : d.layers) {
    ok &= write_record(w, kRecordSize[kLayer], l.flags, d.strings.get(l.name), [&] {
      write_rs(w, static_cast<std::uint16_t>(static_cast<std::int16_t>(l.colour)));
      write_rs(w, linetype_index(d, l.linetype));
    });
  }
  close(kLayer);

  open(kStyle);
  for (const StyleRec& s : d.styles) {
    ok &= write_record(w, kRecordSize[kStyle], s.flags, s.name, [&] {
      write_rd(w, s.height);
      write_rd(w, s.width_factor);
      write_rd(w, 0.0);  // oblique angle
      write_rc(w, 0);    // generation
      write_rd(w, s.height > 0.0 ? s.height : 2.5);  // last height used
      write_fixed_text(w, s.font, 64);
      write_fixed_text(w, "", 64);  // big font
    });
  }
  close(kStyle);

  open(kLtype);
  for (std::size_t i = 2; i < d.linetypes.size(); ++i) {
    const LinetypeRec& lt = d.linetypes[i];
    ok &= write_record(w, kRecordSize[kLtype], 0, lt.name, [&] {
      write_fixed_text(w, lt.description, 48);
      write_rc(w, 'A');  // alignment
      const std::size_t dashes = std::min<std::size_t>(lt.dashes.size(), 12);
      write_rc(w, static_cast<std::uint8_t>(dashes));
      write_rd(w, pattern_length(lt));
      for (std::size_t k = 0; k < 12; ++k) write_rd(w, k < dashes ? lt.dashes[k] : 0.0);
    });
  }
  close(kLtype);

  open(kView);
  close(kView);
  open(kUcs);
  close(kUcs);

  open(kVport);
  const DbVport& v = d.vport;
  ok &= write_record(w, kRecordSize[kVport], 0, "*ACTIVE", [&] {
    dwg::write_2rd(w, 0.0, 0.0);  // lower left and upper right corners on the screen
    dwg::write_2rd(w, 1.0, 1.0);
    for (double c : {0.0, 0.0, 0.0, 0.0, 0.0, 1.0}) write_rd(w, c);  // target, direction
    write_rd(w, 0.0);  // twist
    write_rd(w, v.height);
    dwg::write_2rd(w, v.centre[0], v.centre[1]);
    write_rd(w, v.aspect);
    write_rd(w, 50.0);  // lens length
    write_rd(w, 0.0);   // front and back clipping
    write_rd(w, 0.0);
    // View mode, circle zoom, fast zoom, UCS icon, snap, grid, snap style, isometric plane.
    for (int s : {0, 100, 1, 1, 0, 0, 0, 0}) write_rs(w, static_cast<std::uint16_t>(s));
    write_rd(w, 0.0);        // snap angle
    dwg::write_2rd(w, 0.0, 0.0);  // snap base
    dwg::write_2rd(w, 1.0, 1.0);  // snap spacing
    dwg::write_2rd(w, 0.0, 0.0);  // grid spacing: the snap's
  });
  close(kVport);

  open(kAppid);
  for (const RegappRec& a : d.regapps) {
    ok &= write_record(w, kRecordSize[kAppid], a.flags, a.name, [] {});
  }
  close(kAppid);

  open(kDimstyle);
  close(kDimstyle);
  open(kVx);
  close(kVx);
  return ok;
}

}  // namespace tsn::dwg12
