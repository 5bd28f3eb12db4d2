// The release 12 binary layout: file header and header variables, the entities, the ten
// tables, the block entities, an empty extras section and the auxiliary header. The entities
// stream to the file; the header, which gives where everything lies, is written last.
#include "drawdb/dwg12_file.h"

#include "drawdb/dwg12_header_vars.h"
#include "drawdb/dwg12_sections.h"

namespace tsn::dwg12 {
namespace {

using dwg::write_rl;
using dwg::write_rs;

// Offsets must fit the format's 32 bits, and the blocks section's 30.
constexpr std::uint64_t kMaxOffset = 0xFFFFFFFFu, kMaxBlocks = 0x3FFFFFFFu;

// The indices the header variables name: current layer, text style and linetype.
HeaderIndices header_indices(const Drawing& d) {
  HeaderIndices ix;
  const auto layer = d.layer_index.find(upper_name(d.header.clayer));
  if (layer != d.layer_index.end()) ix.clayer = static_cast<std::uint16_t>(layer->second);
  for (std::size_t i = 0; i < d.styles.size(); ++i) {
    if (same_name(d.styles[i].name, d.header.textstyle)) ix.textstyle = static_cast<std::uint16_t>(i);
  }
  if (same_name(d.header.celtype, "BYBLOCK")) ix.celtype = 0x7FFE;
  for (std::uint32_t i = 2; i < d.linetypes.size(); ++i) {
    if (same_name(d.linetypes[i].name, d.header.celtype)) ix.celtype = linetype_index(d, i);
  }
  return ix;
}

// The auxiliary header: section places and table descriptors again, with a CRC.
void write_aux_header(BitWriter& w, const SectionPlaces& p, const Tables& t, std::uint64_t at) {
  dwg::write_sentinel(w, aux_sentinels().begin);
  const std::size_t start = dwg::byte_size(w);
  write_rs(w, 0x10);
  write_rs(w, 138);  // bytes from here to the end sentinel
  for (std::uint32_t v : {p.entities_start, p.entities_end, p.blocks_start, p.extras_start,
                          0u, 0u}) {
    write_rl(w, v);
  }
  write_rs(w, 0);
  write_rs(w, kTableCount);
  for (int i = 0; i < kTableCount; ++i) {
    write_rs(w, kAuxTableId[i]);
    write_rs(w, t[i].record_size);
    write_rs(w, t[i].count);
    write_rl(w, t[i].address);
  }
  write_rl(w, static_cast<std::uint32_t>(at));
  write_rs(w, dwg::crc16({w.bytes.data() + start, dwg::byte_size(w) - start}, dwg::kCrcSeed));
  dwg::write_sentinel(w, aux_sentinels().end);
}

// Tables and indices are counted in 16 bits.
bool fits(const Drawing& d, const Indices& ix) {
  constexpr std::size_t kMax = 0xFFFF;
  return ix.written.size() <= kMax && d.layers.size() <= kMax && d.styles.size() <= kMax &&
         d.linetypes.size() <= kMax && d.regapps.size() <= kMax;
}

}  // namespace

SaveResult save_dwg12(const Drawing& d, std::FILE* file) {
  SaveResult result;
  const Indices ix(d);
  if (!fits(d, ix)) {
    result.too_large = true;
    return result;
  }
  SaveProgress progress(d);
  EntityCounts counts;

  // The header's place, then the model space entities between their sentinels.
  Stream out(file, 0);
  for (std::uint32_t i = 0; i < kHeaderVarsEnd + 2; ++i) dwg::write_rc(out.buf(), 0);
  dwg::write_sentinel(out.buf(), entities_sentinels().begin);
  SectionPlaces places;
  places.entities_start = kEntitiesAt;
  if (!write_block_entities(d, ix, 0, false, out, progress, counts)) return result;
  if (out.offset() > kMaxOffset) {
    result.too_large = true;
    return result;
  }
  places.entities_end = static_cast<std::uint32_t>(out.offset());
  dwg::write_sentinel(out.buf(), entities_sentinels().end);

  // The tables' places are fixed by their counts; the block entities follow them.
  const Tables tables = table_layout(d, ix, out.offset());
  const std::uint64_t blocks_start = tables_end(tables) + 16;
  Stream blocks(nullptr, kBlocksSizeFlag);
  std::vector<std::uint32_t> block_offsets;
  for (std::uint32_t b : ix.written) {
    block_offsets.push_back(static_cast<std::uint32_t>(blocks.offset() - kBlocksSizeFlag));
    if (!write_block_entities(d, ix, b, true, blocks, progress, counts)) return result;
  }
  const std::uint64_t blocks_size = dwg::byte_size(blocks.buf());
  if (blocks_size > kMaxBlocks || blocks_start + blocks_size + 64 + 170 > kMaxOffset) {
    result.too_large = true;
    return result;
  }
  places.blocks_start = static_cast<std::uint32_t>(blocks_start);
  places.blocks_size = kBlocksSizeFlag | static_cast<std::uint32_t>(blocks_size);
  places.extras_start = static_cast<std::uint32_t>(blocks_start + blocks_size + 32);
  places.extras_size = kExtrasSizeFlag;

  if (!write_tables(out.buf(), d, ix, block_offsets)) return result;
  dwg::write_sentinel(out.buf(), blocks_sentinels().begin);
  dwg::write_raw(out.buf(), {blocks.buf().bytes.data(), static_cast<std::size_t>(blocks_size)});
  dwg::write_sentinel(out.buf(), blocks_sentinels().end);
  dwg::write_sentinel(out.buf(), extras_sentinels().begin);
  dwg::write_sentinel(out.buf(), extras_sentinels().end);
  write_aux_header(out.buf(), places, tables, out.offset());
  if (!out.flush()) return result;

  BitWriter header;
  write_file_header(header, d, places, tables, header_indices(d));
  if (std::fseek(file, 0, SEEK_SET) != 0) return result;
  const std::size_t n = dwg::byte_size(header);
  if (std::fwrite(header.bytes.data(), 1, n, file) != n) return result;
  result.written = true;
  result.hatches_left_out = counts.hatches_left_out;
  return result;
}

}  // namespace tsn::dwg12
