// The HEADER and CLASSES sections of the database's DXF output.
#include "drawdb/header_fields.h"
#include "drawdb/save_context.h"

namespace tsn {
namespace {

std::string_view version_name(const SaveContext& c) {
  return c.r12() ? "AC1009" : c.r2000() ? "AC1015" : "AC1014";
}

void write_var(SaveContext& c, const HeaderVar& v) {
  const DbHeader& h = c.d.header;
  DxfOut& o = c.out;
  o.group(9, v.name);
  switch (v.type) {
    case HeaderValue::real: o.real(v.code, h.*(v.real)); break;
    case HeaderValue::integer: o.integer(v.code, h.*(v.integer)); break;
    case HeaderValue::text: o.group(v.code, h.*(v.text)); break;
    case HeaderValue::point3: o.point3(v.code, (h.*(v.point3)).data()); break;
    case HeaderValue::point2: o.point2(v.code, (h.*(v.point2))[0], (h.*(v.point2))[1]); break;
    case HeaderValue::code_page: o.group(v.code, code_page_name(h.*(v.integer))); break;
    case HeaderValue::version: o.group(v.code, version_name(c)); break;
    case HeaderValue::handling: o.integer(v.code, c.r12() ? 0 : 1); break;
    case HeaderValue::handseed: o.hex(v.code, c.handseed); break;
  }
}

struct ClassDecl {
  std::string_view name, cpp_name;
  int is_entity;
};
constexpr ClassDecl kClasses[] = {
    {"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", 0},
    {"ACDBPLACEHOLDER", "AcDbPlaceHolder", 0},
    {"LAYOUT", "AcDbLayout", 0},
    {"LWPOLYLINE", "AcDbPolyline", 1},
    {"HATCH", "AcDbHatch", 1},
};

}  // namespace

void write_header_section(SaveContext& c) {
  c.out.group(0, "SECTION");
  c.out.group(2, "HEADER");
  for (const HeaderVar& v : header_vars()) {
    if ((v.releases & c.out.release()) != 0) write_var(c, v);
  }
  c.out.group(0, "ENDSEC");
}

void write_classes_section(SaveContext& c) {
  if (!c.r2000()) return;
  c.out.group(0, "SECTION");
  c.out.group(2, "CLASSES");
  for (const ClassDecl& k : kClasses) {
    c.out.group(0, "CLASS");
    c.out.group(1, k.name);
    c.out.group(2, k.cpp_name);
    c.out.group(3, "ObjectDBX Classes");
    c.out.integer(90, 0);
    c.out.integer(280, 0);
    c.out.integer(281, k.is_entity);
  }
  c.out.group(0, "ENDSEC");
}

}  // namespace tsn
