// The DXF group primitives, the entity header, vertices, sequence ends and release 14 handles.
#include "dxf/dxf_writer.h"

#include <charconv>
#include <cstring>

#include "dxf/dxf_number.h"
#include "dxf/entity_types.h"
#include "dxf/output_mode.h"
#include "run/messages.h"

namespace tsn {
namespace {

// Database failure contexts reported with the database's error text.
constexpr int kContextVertex = 1006;
constexpr int kContextEndblk = 1032;
constexpr int kContextSeqend = 1033;

// Polyline vertex flag of a 3D polyline vertex.
constexpr int kVertexFlag3d = 32;

// Builds one entity's or one point's groups on the stack, then hands them to the stream in a
// single write, so nothing is formatted in pieces across the sink.
class Groups {
 public:
  explicit Groups(DxfWriter& w) : w_(w) {}
  Groups(const Groups&) = delete;
  Groups& operator=(const Groups&) = delete;

  Groups& put(std::string_view text) {
    if (size_ + text.size() > sizeof buf_) {
      emit();
      if (text.size() > sizeof buf_) {
        dxf_write(w_, text);
        return *this;
      }
    }
    std::memcpy(buf_ + size_, text.data(), text.size());
    size_ += text.size();
    return *this;
  }
  Groups& line(std::string_view text) {
    put(text);
    if (size_ == sizeof buf_) emit();
    buf_[size_++] = '\n';
    return *this;
  }
  // "%3d\n"
  Groups& code(long code) {
    if (code >= 0 && code < 1000) {
      // The usual codes, in four stores instead of a conversion and three copies.
      if (size_ + 4 > sizeof buf_) emit();
      char* const p = buf_ + size_;
      p[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
      p[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
      p[2] = static_cast<char>('0' + code % 10);
      p[3] = '\n';
      size_ += 4;
      return *this;
    }
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, code);
    const auto n = static_cast<std::size_t>(r.ptr - digits);
    if (n < 3) put(std::string_view("   ", 3 - n));
    return put(std::string_view(digits, n)).put("\n");
  }
  // "%s<code>\n" with the prefix for the number of digits.
  Groups& prefixed_code(int code) {
    if (code >= 0 && code <= 9) {
      put(w_.state.sz_pad1);
    } else if (code >= 10 && code <= 99) {
      put(w_.state.sz_pad2);
    }
    return integer(code);
  }
  // "%d\n"
  Groups& integer(long value) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, value);
    return line(std::string_view(digits, static_cast<std::size_t>(r.ptr - digits)));
  }
  // Formatted in place, straight into the buffer.
  Groups& real(double value, bool trimmed) {
    if (size_ + kRealTextSize + 1 > sizeof buf_) emit();
    char* const end = write_real(value, w_.state.dec_places, trimmed, buf_ + size_);
    size_ = static_cast<std::size_t>(end - buf_);
    buf_[size_++] = '\n';
    return *this;
  }
  // "%8lX\n"
  Groups& handle(std::uint32_t h) {
    char text[kHandleTextSize];
    format_handle(h, text);
    return line(std::string_view(text, kHandleTextSize));
  }
  void emit() {
    if (size_ > 0) dxf_write(w_, std::string_view(buf_, size_));
    size_ = 0;
  }

 private:
  DxfWriter& w_;
  // Room for a header with a layer name of 255 characters or three groups of long reals.
  char buf_[1536];
  std::size_t size_ = 0;
};

void default_write_failure() { critical_error(3); }

bool classic_polyline(const DxfState& s) { return s.verDXF < 6 || s.record_has_z || s.tin; }

// Adds a finished record to the database, reporting a refusal with the caller's context.
int add_to_database(DxfState& s, const DbTarget& db, int context) {
  if (s.database->add_entity(db.list, *db.record, db.aux) == 0) {
    report_database_error(context);
  }
  return 0;
}

// Entity header on the database path: type, defaults, handle, layer, colour.
int database_entity_start(DxfState& s, int entity_type, int colour, const DbTarget& db) {
  if (s.database == nullptr || db.record == nullptr) return -1;
  db.record->entity_type = entity_type;
  s.database->init_entity(*db.record, db.aux);
  s.database->new_handle(db.record->handle);
  if (db.layer != nullptr) db.record->layer = *db.layer;
  if (colour >= 0) db.record->colour = colour;
  return 0;
}

// "  5" with the handle, then the AcDbEntity marker.
void put_entity_handle(Groups& g, std::uint32_t handle) {
  g.line("  5").handle(handle).line("100").line("AcDbEntity");
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

void dxf_write(DxfWriter& w, std::string_view text) {
  if (w.sink != nullptr && w.sink->write(text)) return;
  const WriteFailureHandler handler = w.state.on_write_failure;
  if (handler != nullptr) {
    handler();
  } else {
    default_write_failure();
  }
}

void dxf_write_raw(DxfWriter& w, std::string_view text) {
  if (w.sink != nullptr) (void)w.sink->write(text);
}

void dxf_group(DxfWriter& w, int code, std::string_view text) {
  Groups g(w);
  g.code(code).line(text).emit();
}

void dxf_prefixed_group(DxfWriter& w, int code, std::string_view text) {
  Groups g(w);
  g.prefixed_code(code).line(text).emit();
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
  const DxfState& s = w.state;
  Groups g(w);
  g.code(code).real(x, true).code(code + 10).real(y, true);
  if (!s.use_2d || s.record_has_z || s.verDXF > 5) g.code(code + 20).real(z, true);
  g.emit();
}

void dxf_point2(DxfWriter& w, int code, double x, double y) {
  Groups g(w);
  g.code(code).real(x, true).code(code + 10).real(y, true).emit();
}

int dxf_entity_start(DxfWriter& w, int entity_type, std::string_view layer, int colour,
                     const DbTarget& db) {
  DxfState& s = w.state;
  const EntityTypeInfo* info = entity_type_info(entity_type);
  if (info == nullptr) return -1;
  if (!s.text_path) return database_entity_start(s, entity_type, colour, db);

  // An empty name writes no layer group; others go through the rule, once per distinct name
  // in a row, since consecutive entities nearly always share their layer.
  std::string_view clean = layer;
  if (s.clean_layer_name != nullptr && !layer.empty()) {
    if (layer != s.layer_scratch_source) {
      s.clean_layer_name(layer, s.verDXF, s.layer_scratch);
      s.layer_scratch_source.assign(layer);
    }
    clean = s.layer_scratch;
  }
  Groups g(w);
  g.put(s.sz_pad1).line("0").line(info->dxf_name);
  if (s.r14_text) {
    const std::uint32_t handle =
        entity_type == kEntHatch ? s.n_reserved_handle : dxf_new_handle(s);
    put_entity_handle(g, handle);
    if (entity_type != kEntPolyline && !info->subclass.empty()) {
      g.line("100").put("AcDb").line(info->subclass);
    }
  }
  if (!clean.empty()) g.put(s.sz_pad1).line("8").line(clean);
  if (colour >= 0) g.put(s.sz_pad2).line("62").integer(colour);
  g.emit();
  return 0;
}

int dxf_vertex(DxfWriter& w, double x, double y, double z, std::string_view layer, int colour,
               const DbTarget& db) {
  DxfState& s = w.state;
  if (!classic_polyline(s)) {
    if (s.text_path) {
      dxf_point2(w, 10, x, y);
      return 0;
    }
    if (s.database == nullptr) return -1;
    const double xy[2] = {x, y};
    s.database->list_put(xy, sizeof xy);
    return 0;
  }
  if (dxf_entity_start(w, kEntVertex, layer, colour, db) != 0) return -1;
  const int flags = s.record_has_z ? kVertexFlag3d : 0;
  if (!s.text_path) {
    db.record->point = {x, y, z};
    db.record->vertex_flags = flags;
    return add_to_database(s, db, kContextVertex);
  }
  if (s.r14_text) dxf_subclass(w, s.record_has_z ? "3dPolylineVertex" : "2dVertex");
  dxf_prefixed_int(w, 70, flags);
  dxf_point(w, 10, x, y, z);
  return 0;
}

int dxf_seqend(DxfWriter& w, const DbTarget& db) {
  DxfState& s = w.state;
  const bool classic = classic_polyline(s);
  if (s.text_path) {
    if (!classic) return 0;
    Groups g(w);
    g.put(s.sz_pad1).line("0").line("SEQEND");
    if (s.r14_text) put_entity_handle(g, dxf_new_handle(s));
    g.emit();
    return 0;
  }
  if (s.database == nullptr || db.record == nullptr) return -1;
  if (!classic) {
    s.database->close_list();
    if (s.database->add_entity_list(db.list, *db.record, db.aux) == 0) {
      report_database_error(kContextSeqend);
    }
    return 0;
  }
  if (database_entity_start(s, kEntSeqend, -1, db) != 0) return -1;
  return add_to_database(s, db, kContextSeqend);
}

int dxf_endblk(DxfWriter& w, const DbTarget& db) {
  DxfState& s = w.state;
  if (!s.text_path) {
    if (database_entity_start(s, kEntEndblk, -1, db) != 0) return -1;
    return add_to_database(s, db, kContextEndblk);
  }
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
  g.line("100").put("AcDb").line(name).emit();
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
  g.line("100").put("AcDb").put(record_name).line("TableRecord").emit();
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
