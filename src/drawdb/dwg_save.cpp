// The shared state of a binary drawing save: classes, handles, the buffered output.
#include "drawdb/dwg_save.h"


namespace tsn::dwg {
namespace {

constexpr std::size_t kFlushBytes = 1 << 20;
constexpr std::string_view kDbxApp = "ObjectDBX Classes";

}  // namespace

DwgSave::DwgSave(const Drawing& drawing, bool release_2000, std::FILE* file)
    : d(drawing), r2000(release_2000), object(release_2000), progress(drawing), file_(file),
      next_handle_(drawing.next_handle) {
  std::uint16_t n = 500;
  const auto add = [&](std::string_view cpp, std::string_view dxf, bool entity) {
    classes_.push_back({n++, kDbxApp, cpp, dxf, entity});
  };
  add("AcDbDictionaryWithDefault", "ACDBDICTIONARYWDFLT", false);
  add("AcDbPlaceHolder", "ACDBPLACEHOLDER", false);
  if (r2000) {
    add("AcDbLayout", "LAYOUT", false);
  } else {
    add("AcDbPolyline", "LWPOLYLINE", true);
    add("AcDbHatch", "HATCH", true);
  }
}

std::span<const DwgClass> DwgSave::classes() const { return classes_; }

std::uint16_t DwgSave::class_type(std::string_view dxf_name) const {
  for (const DwgClass& c : classes_) {
    if (c.dxf_name == dxf_name) return c.number;
  }
  return 0;
}

std::uint16_t DwgSave::lwpolyline_type() const {
  return r2000 ? std::uint16_t{kTypeLwpolyline} : class_type("LWPOLYLINE");
}
std::uint16_t DwgSave::hatch_type() const {
  return r2000 ? std::uint16_t{kTypeHatch} : class_type("HATCH");
}

std::uint16_t DwgSave::code_page() const {
  return static_cast<std::uint16_t>(d.header.code_page);
}


void DwgSave::add_object(std::uint32_t handle) {
  const std::size_t at = object.finish(out_) + flushed_;
  // Offsets are 32-bit in these releases: a larger file would be unreadable, so it fails.
  if (at > 0xFFFFFFFFu) failed_ = true;
  map_.emplace_back(handle, static_cast<std::uint32_t>(at));
  if (out_.bytes.size() >= kFlushBytes) flush();
}

void DwgSave::write_bytes(const BitWriter& section) {
  align_byte(out_);
  append_bits(out_, section);
  align_byte(out_);
}

bool DwgSave::flush() {
  align_byte(out_);
  if (!failed_ && !out_.bytes.empty() &&
      std::fwrite(out_.bytes.data(), 1, out_.bytes.size(), file_) != out_.bytes.size()) {
    failed_ = true;
  }
  flushed_ += out_.bytes.size();
  out_.bytes.clear();
  out_.bit = 0;
  return !failed_;
}

std::vector<std::size_t> top_level_entities(const Drawing& d, std::uint32_t block) {
  std::vector<std::size_t> top;
  for_each_top_level(d, block, [&top](std::size_t i) { top.push_back(i); });
  return top;
}

std::pair<std::uint32_t, std::uint32_t> block_entity_range(const Drawing& d,
                                                           std::uint32_t block) {
  const BlockRec& b = d.blocks[block];
  std::uint32_t first = 0, last = 0;
  for_each_top_level(d, block, [&](std::size_t i) {
    last = d.entities[b.entities[i]].handle;
    if (first == 0) first = last;
  });
  return {first, last};
}

}  // namespace tsn::dwg
