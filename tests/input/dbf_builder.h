// Builds dBase III tables in memory for tests, and changes one named header field of the bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/coding.h"

namespace tsn::test {

class DbfBuilder {
 public:
  DbfBuilder& field(const std::string& name, char type, int width, int decimals = 0) {
    fields_.push_back({name, type, width, decimals});
    return *this;
  }
  // Values are padded with spaces to their field's width (numbers right-aligned, as dBase does).
  DbfBuilder& record(const std::vector<std::string>& values, bool deleted = false) {
    std::string rec(1, deleted ? '*' : ' ');
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      std::string v = i < values.size() ? values[i] : std::string();
      const auto w = static_cast<std::size_t>(fields_[i].width);
      v.resize(std::min(v.size(), w));
      const std::string pad(w - v.size(), ' ');
      rec += fields_[i].type == 'N' ? pad + v : v + pad;
    }
    records_.push_back(rec);
    return *this;
  }
  DbfBuilder& version(unsigned char v) {
    version_ = v;
    return *this;
  }
  // Without the final end-of-file byte (0x1A).
  DbfBuilder& no_eof_marker() {
    eof_marker_ = false;
    return *this;
  }

  std::string bytes() const {
    const std::size_t header_length = 32 + 32 * fields_.size() + 1;
    std::size_t record_length = 1;
    for (const Field& f : fields_) record_length += static_cast<std::size_t>(f.width);
    std::string out(32, '\0');
    out[0] = static_cast<char>(version_);
    out[1] = 124;  // date of last update: 2024-06-01
    out[2] = 6;
    out[3] = 1;
    auto* p = reinterpret_cast<unsigned char*>(out.data());
    store_le32(p + 4, static_cast<std::uint32_t>(records_.size()));
    store_le16(p + 8, static_cast<std::uint16_t>(header_length));
    store_le16(p + 10, static_cast<std::uint16_t>(record_length));
    for (const Field& f : fields_) {
      std::string d(32, '\0');
      d.replace(0, std::min<std::size_t>(f.name.size(), 11), f.name.substr(0, 11));
      d[11] = f.type;
      d[16] = static_cast<char>(f.width);
      d[17] = static_cast<char>(f.decimals);
      out += d;
    }
    out += '\x0D';
    for (const std::string& r : records_) out += r;
    if (eof_marker_) out += '\x1A';
    return out;
  }

 private:
  struct Field {
    std::string name;
    char type;
    int width;
    int decimals;
  };
  std::vector<Field> fields_;
  std::vector<std::string> records_;
  unsigned char version_ = 0x03;
  bool eof_marker_ = true;
};

// Header fields by name, changed in finished bytes.
inline unsigned char* dbf_bytes(std::string& b) {
  return reinterpret_cast<unsigned char*>(b.data());
}
inline void set_version(std::string& b, unsigned char v) { b[0] = static_cast<char>(v); }
inline void set_record_count(std::string& b, std::int32_t n) {
  store_le32(dbf_bytes(b) + 4, static_cast<std::uint32_t>(n));
}
inline void set_header_length(std::string& b, std::uint16_t n) { store_le16(dbf_bytes(b) + 8, n); }
inline void set_record_length(std::string& b, std::uint16_t n) { store_le16(dbf_bytes(b) + 10, n); }
inline std::uint16_t header_length_of(const std::string& b) {
  return load_le16(reinterpret_cast<const unsigned char*>(b.data()) + 8);
}
// Descriptor i's width byte, and the byte that ends the descriptors.
inline void set_field_width(std::string& b, int i, unsigned char w) {
  b[32 + 32 * static_cast<std::size_t>(i) + 16] = static_cast<char>(w);
}
inline void set_terminator(std::string& b, char c) { b[header_length_of(b) - 1u] = c; }

}  // namespace tsn::test
