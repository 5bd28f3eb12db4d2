// The layout of a binary drawing: the file header with its section locators, the auxiliary
// header (release 2000), an empty preview, the header variables, the classes, the objects, the
// object map, the second file header and the measurement section.
#include "drawdb/dwg_file.h"

#include <array>
#include <cmath>

#include "drawdb/dwg_header_vars.h"
#include "drawdb/dwg_save.h"
#include "drawdb/table_fields.h"

namespace tsn::dwg {
namespace {

enum Locator : std::uint8_t { kHeaderVars, kClasses, kObjectMap, kFreeSpace, kTemplate, kAux };

struct SectionPlace {
  std::uint32_t address = 0, size = 0;
};

using Places = std::array<SectionPlace, 6>;

int locator_count(bool r2000) { return r2000 ? 6 : 5; }

// The file header's CRC is seeded with 0 and then mixed with a value for the locator count.
std::uint16_t locator_mix(int count) {
  switch (count) {
    case 3: return 0xA598;
    case 4: return 0x8101;
    case 5: return 0x3CC4;
    case 6: return 0x8461;
    default: return 0;
  }
}

// The release name, five zeros, the maintenance release (0) and a byte that is 1.
void write_version(BitWriter& w, bool r2000) {
  write_raw(w, std::span<const std::uint8_t>(
                   reinterpret_cast<const std::uint8_t*>(r2000 ? "AC1015" : "AC1014"), 6));
  for (int i = 0; i < 6; ++i) write_rc(w, 0);
  write_rc(w, 1);
}

std::size_t file_header_size(bool r2000) { return 0x19 + 9 * locator_count(r2000) + 2 + 16; }

BitWriter file_header(const DwgSave& s, const Places& places, std::uint32_t preview) {
  BitWriter w;
  write_version(w, s.r2000);
  write_rl(w, preview);
  write_rc(w, s.r2000 ? 0x17 : 0x15);  // format generation of the writer
  write_rc(w, 0);
  write_rs(w, s.code_page());
  const int count = locator_count(s.r2000);
  write_rl(w, static_cast<std::uint32_t>(count));
  for (int i = 0; i < count; ++i) {
    write_rc(w, static_cast<std::uint8_t>(i));
    write_rl(w, places[i].address);
    write_rl(w, places[i].size);
  }
  const auto crc = static_cast<std::uint16_t>(crc16(w.bytes, 0) ^ locator_mix(count));
  write_rs(w, crc);
  write_sentinel(w, kFileHeaderEnd);
  return w;
}

// Release 2000's auxiliary header: format generations, save counts, dates and the seed.
BitWriter aux_header(const DwgSave& s) {
  BitWriter w;
  for (const unsigned b : {0xFFu, 0x77u, 0x01u}) write_rc(w, static_cast<std::uint8_t>(b));
  write_rs(w, 0x17);
  write_rs(w, 0);
  write_rl(w, 1);  // saves
  write_rl(w, 0xFFFFFFFFu);
  write_rs(w, 1);
  write_rs(w, 1);
  write_rl(w, 0);
  for (int i = 0; i < 2; ++i) {
    write_rs(w, 0x17);
    write_rs(w, 0);
  }
  for (const unsigned v : {4u, 0x565u, 0u, 0u, 2u, 1u}) write_rs(w, static_cast<std::uint16_t>(v));
  for (const std::uint32_t v : {0u, 0u, 0u, 256u, 393218u}) write_rl(w, v);
  for (const double julian : {s.d.header.tdcreate, s.d.header.tdupdate}) {
    const double day = std::floor(julian);
    write_rl(w, static_cast<std::uint32_t>(day));
    write_rl(w, static_cast<std::uint32_t>(std::lround((julian - day) * 86400000.0)));
  }
  write_rl(w, s.handseed());
  write_rl(w, 0);  // plot stamp
  write_rs(w, 0);
  write_rs(w, 1);
  for (int i = 0; i < 3; ++i) write_rl(w, 0);
  write_rl(w, 1);
  write_rl(w, 0);
  write_rl(w, 0);
  while (w.bytes.size() < 123) write_rc(w, 0);
  return w;
}

BitWriter empty_preview() {
  BitWriter w;
  write_sentinel(w, kPreviewStart);
  write_rl(w, 1);
  write_rc(w, 0);  // no images
  write_sentinel(w, kPreviewEnd);
  return w;
}

BitWriter classes_section(const DwgSave& s) {
  BitWriter w;
  write_sentinel(w, kClassesStart);
  const Reserved size = reserve(w, 4);
  for (const DwgClass& c : s.classes()) {
    write_bs(w, c.number);
    write_bs(w, 0);  // proxy flags
    write_t(w, c.app);
    write_t(w, c.cpp_name);
    write_t(w, c.dxf_name);
    write_b(w, false);  // not a zombie
    write_bs(w, c.entity ? 0x1F2 : 0x1F3);
  }
  align_byte(w);
  patch(w, size, w.bytes.size() - 20);
  const Reserved crc = reserve(w, 2);
  patch_crc(w, crc, 16, kCrcSeed);
  write_sentinel(w, kClassesEnd);
  return w;
}

// Handle and offset pairs, each relative to the one before, in parts of at most 2032 bytes
// that open with their big-endian size and end with their big-endian CRC; an empty part ends
// the map.
BitWriter object_map(std::span<const std::pair<std::uint32_t, std::uint32_t>> map,
                     std::uint32_t handseed) {
  // Handles are dense below the seed: placed by value rather than sorted.
  std::vector<std::uint32_t> at(handseed, kNone);
  for (const auto& [handle, offset] : map) {
    if (handle < handseed) at[handle] = offset;
  }
  BitWriter w;
  std::uint32_t next = 0;  // the next handle to look at
  while (true) {
    const std::size_t start = w.bytes.size();
    const Reserved size = reserve(w, 2, ByteOrder::big);
    std::uint32_t handle = 0, offset = 0;
    for (; next < handseed && w.bytes.size() - start < 2020; ++next) {
      if (at[next] == kNone) continue;
      write_mc(w, static_cast<std::int64_t>(next) - handle);
      write_mc(w, static_cast<std::int64_t>(at[next]) - offset);
      handle = next;
      offset = at[next];
    }
    patch(w, size, w.bytes.size() - start);
    const Reserved crc{w.bytes.size() * 8, 2, ByteOrder::big};
    for (int k = 0; k < 2; ++k) write_rc(w, 0);
    patch(w, crc, crc16({w.bytes.data() + start, w.bytes.size() - start - 2}, kCrcSeed));
    if (w.bytes.size() - start == 4) break;  // the empty closing part
  }
  return w;
}

BitWriter second_header(const DwgSave& s, const HeaderRefs& refs, const Places& places,
                        std::uint32_t address) {
  BitWriter w;
  write_sentinel(w, kSecondHeaderStart);
  const std::size_t from = w.bytes.size();
  const Reserved size = reserve(w, 4);
  write_bl(w, address);
  write_version(w, s.r2000);
  write_bs(w, s.r2000 ? 0x17 : 0x15);
  write_rs(w, s.code_page());
  const int count = locator_count(s.r2000);
  write_bs(w, static_cast<std::uint16_t>(count));
  for (int i = 0; i < count; ++i) {
    write_rc(w, static_cast<std::uint8_t>(i));
    write_bl(w, places[i].address);
    write_bl(w, places[i].size);
  }
  const std::uint32_t handles[14] = {
      refs.handseed, refs.block_control, refs.layer_control, refs.style_control,
      refs.ltype_control, refs.view_control, refs.ucs_control, refs.vport_control,
      refs.appid_control, refs.dimstyle_control, refs.vx_control, refs.named_objects,
      refs.cmlstyle, refs.groups};
  write_bs(w, 14);
  for (int i = 0; i < 14; ++i) {
    int bytes = 0;
    while (bytes < 4 && (handles[i] >> (8 * bytes)) != 0) ++bytes;
    write_rc(w, static_cast<std::uint8_t>(bytes));
    write_rc(w, static_cast<std::uint8_t>(i));
    for (int b = bytes - 1; b >= 0; --b) write_rc(w, static_cast<std::uint8_t>(handles[i] >> (8 * b)));
  }
  align_byte(w);
  // The size counts from itself to the end sentinel: the CRC and 8 unused bytes follow.
  patch(w, size, w.bytes.size() + 10 - from);
  const Reserved crc = reserve(w, 2);
  patch_crc(w, crc, from, kCrcSeed);
  for (int i = 0; i < 8; ++i) write_rc(w, 0);
  write_sentinel(w, kSecondHeaderEnd);
  return w;
}

BitWriter template_section(const Drawing& d) {
  BitWriter w;
  write_rs(w, 0);  // no description
  write_rs(w, static_cast<std::uint16_t>(d.header.measurement));
  return w;
}



HeaderRefs header_refs(const DwgSave& s, std::uint32_t handseed) {
  const Drawing& d = s.d;
  const FixedHandles& f = d.fixed;
  HeaderRefs r;
  r.handseed = handseed;
  r.clayer = layer_handle(d, d.header.clayer);
  if (r.clayer == 0) r.clayer = d.layers[0].handle;
  r.textstyle = style_handle(d, d.header.textstyle);
  r.celtype = linetype_handle(d, d.header.celtype);
  r.dimstyle = f.dimstyle;
  r.cmlstyle = f.mlinestyle;
  r.dimtxsty = style_handle(d, "STANDARD");
  r.block_control = f.tables[kBlockRecord];
  r.layer_control = f.tables[kLayer];
  r.style_control = f.tables[kStyle];
  r.ltype_control = f.tables[kLtype];
  r.view_control = f.tables[kView];
  r.ucs_control = f.tables[kUcs];
  r.vport_control = f.tables[kVport];
  r.appid_control = f.tables[kAppid];
  r.dimstyle_control = f.tables[kDimstyle];
  r.vx_control = s.vx_control;
  r.groups = f.groups;
  r.mlinestyles = f.mlinestyles;
  r.named_objects = f.root_dictionary;
  if (s.r2000) {
    r.layouts = f.layouts;
    r.plotsettings = f.plotsettings;
    r.plotstyles = f.plotstyles;
  }
  r.model_space = d.blocks[0].handle;
  r.paper_space = d.blocks[1].handle;
  r.bylayer = linetype_handle(d, "BYLAYER");
  r.byblock = linetype_handle(d, "BYBLOCK");
  r.continuous = linetype_handle(d, "CONTINUOUS");
  return r;
}

void place(Places& p, Locator which, std::size_t address, std::size_t size) {
  p[which] = {static_cast<std::uint32_t>(address), static_cast<std::uint32_t>(size)};
}

}  // namespace

bool save_dwg(const Drawing& d, std::FILE* file, bool r2000) {
  DwgSave s(d, r2000, file);
  // The save gives out handles to the viewport entity control and to the VERTEX and SEQEND
  // records of stored classic polylines.
  const std::uint32_t handseed = d.next_handle + 1 + polyline_record_count(d);
  s.vx_control = s.issue_handle();
  const HeaderRefs refs = header_refs(s, handseed);
  Places places{};

  BitWriter gap;  // the file header, written again at the end
  gap.bytes.assign(file_header_size(r2000), 0);
  gap.bit = gap.bytes.size() * 8;
  s.write_bytes(gap);
  if (r2000) {
    const BitWriter aux = aux_header(s);
    place(places, kAux, s.offset(), aux.bytes.size());
    s.write_bytes(aux);
  }
  const auto preview = static_cast<std::uint32_t>(s.offset());
  s.write_bytes(empty_preview());

  BitWriter vars;
  write_header_vars(vars, d.header, refs, r2000);
  place(places, kHeaderVars, s.offset(), vars.bytes.size());
  s.write_bytes(vars);
  const BitWriter classes = classes_section(s);
  place(places, kClasses, s.offset(), classes.bytes.size());
  s.write_bytes(classes);

  write_table_objects(s);
  write_dictionary_objects(s);
  write_block_entities(s);

  const BitWriter map = object_map(s.object_map(), handseed);
  place(places, kObjectMap, s.offset(), map.bytes.size());
  s.write_bytes(map);
  const BitWriter tmpl = template_section(d);
  const auto second_at = static_cast<std::uint32_t>(s.offset());
  // The second header repeats the locators; the measurement section follows it.
  // Its own size depends on the addresses it holds (compressed numbers): placed until stable.
  BitWriter second = second_header(s, refs, places, second_at);
  for (std::size_t size = 0; size != second.bytes.size();) {
    size = second.bytes.size();
    place(places, kTemplate, second_at + size, tmpl.bytes.size());
    second = second_header(s, refs, places, second_at);
  }
  s.write_bytes(second);
  s.write_bytes(tmpl);
  if (!s.flush()) return false;

  const BitWriter head = file_header(s, places, preview);
  return std::fseek(file, 0, SEEK_SET) == 0 &&
         std::fwrite(head.bytes.data(), 1, head.bytes.size(), file) == head.bytes.size() &&
         std::fseek(file, 0, SEEK_END) == 0;
}

}  // namespace tsn::dwg
