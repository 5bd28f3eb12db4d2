// Extended data items as bytes: a code byte (the group code less 1000), then the value.
#include "drawdb/dwg_eed.h"

#include <bit>
#include <cstring>

namespace tsn::dwg {
namespace {

void put(std::vector<std::uint8_t>& b, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Release 12 strings have no code page of their own.
void put_string(std::vector<std::uint8_t>& b, std::string_view s, std::uint16_t code_page,
                bool r12) {
  const std::size_t n = s.size() > 255 ? 255 : s.size();
  b.push_back(0);
  b.push_back(static_cast<std::uint8_t>(n));
  if (!r12) put(b, code_page, 2);
  b.insert(b.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
}

// One more than the table index of a registered application; 0 for one not registered.
std::uint32_t regapp_index(const Drawing& d, std::string_view name) {
  for (std::uint32_t i = 0; i < d.regapps.size(); ++i) {
    if (same_name(d.regapps[i].name, name)) return i + 1;
  }
  return 0;
}

}  // namespace

void encode_eed(const Drawing& d, const EntityRec& rec, std::uint16_t code_page,
                std::vector<EedBlock>& out, bool r12) {
  if (rec.xdata == kNone) return;
  const auto [first, count] = d.xdata_ranges[rec.xdata];
  EedBlock* block = nullptr;
  for (std::uint32_t i = 0; i < count; ++i) {
    const XdataRec& x = d.xdata[first + i];
    const std::string_view text = d.strings.get(x.text);
    if (x.code == 1001) {
      // Release 12 names applications and layers by their table index.
      const std::uint32_t app = r12 ? regapp_index(d, text) : regapp_handle(d, text);
      block = nullptr;
      if (app == 0) continue;
      out.push_back({r12 ? app - 1 : app, {}});
      block = &out.back();
      continue;
    }
    if (block == nullptr) continue;
    std::vector<std::uint8_t>& b = block->bytes;
    switch (x.code) {
      case 1000: put_string(b, text, code_page, r12); break;
      case 1002:
        b.push_back(2);
        b.push_back(text == "}" ? 1 : 0);
        break;
      case 1003: {
        b.push_back(3);
        if (r12) {
          const auto it = d.layer_index.find(upper_name(text));
          put(b, it == d.layer_index.end() ? 0 : it->second, 2);
        } else {
          put(b, layer_handle(d, text), 8);
        }
        break;
      }
      case 1040: case 1041: case 1042:
        b.push_back(static_cast<std::uint8_t>(x.code - 1000));
        put(b, std::bit_cast<std::uint64_t>(x.real), 8);
        break;
      case 1070:
        b.push_back(70);
        put(b, static_cast<std::uint16_t>(x.integer), 2);
        break;
      case 1071:
        b.push_back(71);
        put(b, static_cast<std::uint32_t>(x.integer), 4);
        break;
      default: break;
    }
  }
  std::erase_if(out, [](const EedBlock& e) { return e.bytes.empty(); });
}

}  // namespace tsn::dwg
