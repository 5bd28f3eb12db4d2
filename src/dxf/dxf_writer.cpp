// The DXF group primitives, the entity header, vertices, sequence ends and release 14 handles.
#include "dxf/dxf_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

#include "dxf/caret_escape.h"
#include "platform/dxf_number.h"
#include "dxf/entity_types.h"
#include "dxf/output_mode.h"
#include "platform/messages.h"

namespace tsn {
namespace {


// Polyline vertex flag of a 3D polyline vertex.
constexpr int kVertexFlag3d = 32;

// Builds one entity's or one point's groups on the stack, then hands them to the stream in a
// single write, so nothing is formatted in pieces across the sink. Lines are stored with the
// file's CR LF ends and counted, so that the sink can take them as they are; a line longer than
// a temporary file keeps sends the whole buffer through the sink's translating write instead.
class Groups {
 public:
  explicit Groups(DxfWriter& w) : w_(w) {}
  Groups(const Groups&) = delete;
  Groups& operator=(const Groups&) = delete;

  // A piece of a line that the program itself made: no line feed in it.
  Groups& put(std::string_view text) { return append(text); }
  Groups& line(std::string_view text) { return append(text).end_line(); }
  // A piece of text from elsewhere (names, values, tags), which may hold any byte: control
  // characters and carets go in caret notation, so that no value can end its line early or
  // bring groups of its own. Escapes that lengthen the line past what a temporary file keeps
  // are cut there, at a whole escape.
  Groups& text(std::string_view text) {
    if (!needs_caret_escape(text)) return append(text);
    const std::size_t used = std::min(size_ - line_start_, kMaxLineLength);
    std::string escaped;
    escaped.reserve(std::min(2 * text.size(), kMaxLineLength));
    append_caret_escaped(text, escaped, kMaxLineLength - used);
    return append(escaped);
  }
  Groups& text_line(std::string_view text) { return this->text(text).end_line(); }
  // "%3d\n"
  Groups& code(long code) {
    if (code >= 0 && code < 1000) {
      // The usual codes, in a few stores instead of a conversion and three copies.
      if (size_ + 5 > sizeof buf_) emit();
      char* const p = buf_ + size_;
      p[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
      p[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
      p[2] = static_cast<char>('0' + code % 10);
      size_ += 3;
      return end_line();
    }
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, code);
    const auto n = static_cast<std::size_t>(r.ptr - digits);
    if (n < 3) append(std::string_view("   ", 3 - n));
    return line(std::string_view(digits, n));
  }
  // "%s<code>\n" with the prefix for the number of digits.
  Groups& prefixed_code(int code) {
    if (code >= 0 && code <= 9) {
      append(w_.state.sz_pad1);
    } else if (code >= 10 && code <= 99) {
      append(w_.state.sz_pad2);
    }
    return integer(code);
  }
  // "%d\n"
  Groups& integer(long value) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, value);
    return append(std::string_view(digits, static_cast<std::size_t>(r.ptr - digits))).end_line();
  }
  // Formatted in place, straight into the buffer.
  Groups& real(double value, bool trimmed) {
    if (!std::isfinite(value)) [[unlikely]] ++w_.state.non_finite_reals;  // written as 0
    if (size_ + kRealTextSize + 2 > sizeof buf_) emit();
    char* const end = write_real(value, w_.state.dec_places, trimmed, buf_ + size_);
    size_ = static_cast<std::size_t>(end - buf_);
    return end_line();
  }
  // "%8lX\n"
  Groups& handle(std::uint32_t h) {
    char text[kHandleTextSize];
    format_handle(h, text);
    return append(std::string_view(text, kHandleTextSize)).end_line();
  }
  void emit() {
    if (size_ > 0) {
      // A line still open at the end also goes the translating way, which keeps its length.
      if (translate_ || line_start_ != size_) {
        write_translated();
      } else {
        dxf_write_lines(w_, std::string_view(buf_, size_), lines_);
      }
    }
    size_ = 0;
    line_start_ = 0;
    lines_ = 0;
    translate_ = false;
  }

 private:
  Groups& append(std::string_view text) {
    if (size_ + text.size() + 2 > sizeof buf_) {
      // A line in progress keeps its place: the rest follows in the next write.
      emit();
      if (text.size() + 2 > sizeof buf_) {
        dxf_write(w_, text);
        return *this;
      }
    }
    std::memcpy(buf_ + size_, text.data(), text.size());
    size_ += text.size();
    return *this;
  }
  Groups& end_line() {
    if (size_ + 2 > sizeof buf_) emit();
    if (size_ - line_start_ > kMaxLineLength) translate_ = true;
    buf_[size_++] = '\r';
    buf_[size_++] = '\n';
    ++lines_;
    line_start_ = size_;
    return *this;
  }
  // The buffer with LF line ends, through the sink's translating write.
  void write_translated() {
    std::string text;
    text.reserve(size_);
    for (std::size_t i = 0; i < size_; ++i) {
      if (!(buf_[i] == '\r' && i + 1 < size_ && buf_[i + 1] == '\n')) text += buf_[i];
    }
    dxf_write(w_, text);
  }

  DxfWriter& w_;
  // Room for a header with a layer name of 255 characters or three groups of long reals.
  char buf_[1536];
  std::size_t size_ = 0;
  std::size_t line_start_ = 0;
  long lines_ = 0;
  bool translate_ = false;
};

bool classic_polyline(const DxfState& s) { return s.verDXF < 6 || s.record_has_z || s.tin; }

// "  5" with the handle, then the AcDbEntity marker; between them the owner link of an outline
// to its hatch when `reactor` is not 0.
void put_entity_handle(Groups& g, std::uint32_t handle, std::uint32_t reactor = 0) {
  g.line("  5").handle(handle);
  if (reactor != 0) {
    g.line("102").line("{ACAD_REACTORS").line("330").handle(reactor);
    g.line("102").line("}");
  }
  g.line("100").line("AcDbEntity");
}

// The text-path entity header into g: name, handle and subclass (release 14), layer, colour.
void put_entity_header(Groups& g, DxfState& s, int entity_type, const EntityTypeInfo& info,
                       std::string_view layer, int colour) {
  g.put(s.sz_pad1).line("0").line(info.dxf_name);
  if (s.r14_text) {
    const std::uint32_t handle =
        entity_type == kEntHatch ? s.n_reserved_handle : dxf_new_handle(s);
    put_entity_handle(g, handle, std::exchange(s.reactor_owner, 0));
    if (entity_type != kEntPolyline && !info.subclass.empty()) {
      g.line("100").put("AcDb").line(info.subclass);
    }
  }
  // The name goes through the rule, once per distinct name in a row, since consecutive
  // entities nearly always share their layer. An empty name, or one that cleans to nothing,
  // writes no layer group.
  if (s.clean_layer_name != nullptr && !layer.empty()) {
    if (layer != s.layer_scratch_source) {
      s.clean_layer_name(layer, s.verDXF, s.layer_scratch);
      s.layer_scratch_source.assign(layer);
    }
    if (!s.layer_scratch.empty()) g.put(s.sz_pad1).line("8").text_line(s.layer_scratch);
  } else if (!layer.empty()) {
    g.put(s.sz_pad1).line("8").text_line(layer);
  }
  if (colour >= 0) g.put(s.sz_pad2).line("62").integer(colour);
}

// The point groups of dxf_point into g.
void put_point(Groups& g, const DxfState& s, int code, double x, double y, double z) {
  g.code(code).real(x, true).code(code + 10).real(y, true);
  if (!s.use_2d || s.record_has_z || s.verDXF > 5) g.code(code + 20).real(z, true);
}

}  // namespace

void dxf_configure(DxfState& state, const ConvSettings& s, bool merge_group_active) {
  state.sz_pad1 = s.TidyDxf == 0 ? "" : "  ";
  state.sz_pad2 = s.TidyDxf == 0 ? "" : " ";
  state.dec_places = s.DecPlaces < 0 || s.DecPlaces > kMaxDecPlaces ? 6 : s.DecPlaces;
  state.verDXF = s.verDXF;
  state.text_path = uses_text_path(s, merge_group_active);
  state.r14_text = r14_text_mode(s, merge_group_active);
  state.use_2d = s.Use2D != 0;
  state.tin = s.cur.TIN != 0;
  state.layer_scratch_source.clear();  // the release may have changed
}

namespace {

// Recorded, never acted on here: the driver sees it, reports it and unwinds.
void write_failed(DxfWriter& w) {
  if (w.state.write_failures++ == 0 && w.sink != nullptr) {
    w.state.failed_path.assign(w.sink->path());
  }
}

}  // namespace

void dxf_write(DxfWriter& w, std::string_view text) {
  if (w.sink == nullptr || !w.sink->write(text)) write_failed(w);
}

void dxf_write_lines(DxfWriter& w, std::string_view text, long lines) {
  if (w.sink == nullptr || !w.sink->write_lines(text, lines)) write_failed(w);
}

void dxf_write_raw(DxfWriter& w, std::string_view text) {
  if (w.sink != nullptr) (void)w.sink->write(text);
}

void dxf_group(DxfWriter& w, int code, std::string_view text) {
  Groups g(w);
  g.code(code).text_line(text).emit();
}

void dxf_prefixed_group(DxfWriter& w, int code, std::string_view text) {
  Groups g(w);
  g.prefixed_code(code).text_line(text).emit();
}

void dxf_prefixed_int(DxfWriter& w, int code, long value) {
  Groups g(w);
  g.prefixed_code(code).integer(value).emit();
}

void dxf_real(DxfWriter& w, int code, double value) {
  Groups g(w);
  g.code(code).real(value, true).emit();
}

void dxf_real_untrimmed(DxfWriter& w, int code, double value) {
  Groups g(w);
  g.code(code).real(value, false).emit();
}

void dxf_point(DxfWriter& w, int code, double x, double y, double z) {
  Groups g(w);
  put_point(g, w.state, code, x, y, z);
  g.emit();
}

void dxf_point2(DxfWriter& w, int code, double x, double y) {
  Groups g(w);
  g.code(code).real(x, true).code(code + 10).real(y, true).emit();
}

int dxf_entity_start(DxfWriter& w, int entity_type, std::string_view layer, int colour) {
  DxfState& s = w.state;
  const EntityTypeInfo* info = entity_type_info(entity_type);
  if (info == nullptr || !s.text_path) return -1;
  Groups g(w);
  put_entity_header(g, s, entity_type, *info, layer, colour);
  g.emit();
  return 0;
}

int dxf_vertex(DxfWriter& w, double x, double y, double z, std::string_view layer, int colour) {
  DxfState& s = w.state;
  if (!s.text_path) return -1;
  if (!classic_polyline(s)) {
    dxf_point2(w, 10, x, y);
    return 0;
  }
  const int flags = s.record_has_z ? kVertexFlag3d : 0;
  // The whole VERTEX in one write.
  Groups g(w);
  put_entity_header(g, s, kEntVertex, *entity_type_info(kEntVertex), layer, colour);
  if (s.r14_text) g.line("100").put("AcDb").line(s.record_has_z ? "3dPolylineVertex" : "2dVertex");
  g.put(s.sz_pad2).line("70").integer(flags);
  put_point(g, s, 10, x, y, z);
  g.emit();
  return 0;
}

int dxf_sequence_end(DxfWriter& w) {
  DxfState& s = w.state;
  if (!s.text_path) return -1;
  Groups g(w);
  g.put(s.sz_pad1).line("0").line("SEQEND");
  if (s.r14_text) put_entity_handle(g, dxf_new_handle(s));
  g.emit();
  return 0;
}

int dxf_seqend(DxfWriter& w) {
  DxfState& s = w.state;
  if (!s.text_path) return -1;
  return classic_polyline(s) ? dxf_sequence_end(w) : 0;
}

int dxf_endblk(DxfWriter& w) {
  DxfState& s = w.state;
  if (!s.text_path) return -1;
  Groups g(w);
  g.put(s.sz_pad1).line("0").line("ENDBLK");
  if (s.r14_text) put_entity_handle(g, dxf_new_handle(s));
  g.put(s.sz_pad1).line("8").line("0");
  if (s.r14_text) g.line("100").line("AcDbBlockEnd");
  g.emit();
  return 0;
}

void dxf_reset_handles(DxfState& state) { state.n_last_handle = kHandleSeedStart; }

std::uint32_t dxf_new_handle(DxfState& state) { return ++state.n_last_handle; }

std::uint32_t dxf_reserve_handle(DxfState& state) {
  state.n_reserved_handle = dxf_new_handle(state);
  return state.n_reserved_handle;
}

void dxf_entity_handle(DxfWriter& w) {
  if (!w.state.r14_text) return;
  Groups g(w);
  put_entity_handle(g, dxf_new_handle(w.state));
  g.emit();
}

void dxf_reserved_handle(DxfWriter& w) {
  if (!w.state.r14_text) return;
  Groups g(w);
  put_entity_handle(g, w.state.n_reserved_handle);
  g.emit();
}

void dxf_subclass(DxfWriter& w, std::string_view name) {
  if (!w.state.r14_text) return;
  Groups g(w);
  g.line("100").put("AcDb").text_line(name).emit();
}

void dxf_table_handle(DxfWriter& w) {
  if (!w.state.r14_text) return;
  Groups g(w);
  g.line("  5").handle(dxf_new_handle(w.state)).line("100").line("AcDbSymbolTable").emit();
}

void dxf_table_record_handle(DxfWriter& w, std::string_view record_name) {
  if (!w.state.r14_text) return;
  Groups g(w);
  g.line("  5").handle(dxf_new_handle(w.state)).line("100").line("AcDbSymbolTableRecord");
  g.line("100").put("AcDb").text(record_name).line("TableRecord").emit();
}

void dxf_block_begin_marker(DxfWriter& w) {
  if (w.state.r14_text) dxf_write_raw(w, "100\nAcDbBlockBegin\n");
}

void dxf_block_end_marker(DxfWriter& w) {
  if (w.state.r14_text) dxf_write_raw(w, "100\nAcDbBlockEnd\n");
}

void dxf_reactors(DxfWriter& w, std::span<const std::uint32_t> owners) {
  if (!w.state.r14_text) return;
  Groups g(w);
  g.line("102").line("{ACAD_REACTORS");
  for (const std::uint32_t owner : owners) g.line("330").handle(owner);
  g.line("102").line("}").emit();
}

void dxf_soft_pointer(DxfWriter& w, std::uint32_t handle) {
  if (!w.state.r14_text) return;
  Groups g(w);
  g.line("330").handle(handle).emit();
}

}  // namespace tsn
