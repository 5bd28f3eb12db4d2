// The header variables section of a binary drawing, written from one table of declarations.
#include "drawdb/dwg_header_vars.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "drawdb/header_fields.h"
#include "drawdb/releases.h"

namespace tsn::dwg {
namespace {

using H = DbHeader;
using Refs = HeaderRefs;
using Point2 = std::array<double, 2>;

// How one variable is stored. h3/h5 are handle references of code 3 (hard owner) and 5
// (hard pointer); seed is the next-handle form (code 0); time is a julian date as BL day
// then BL milliseconds.
enum class Enc : std::uint8_t { b, rc, bs, bl, bd, cmc, t, h3, h5, seed, time, bd3, rd2 };

// A constant: numbers (integers too, as their exact double), points, texts.
using Fixed = std::variant<double, Triple, Point2, std::string_view>;

// One variable in file order. Its value is the first slot named, else `fixed`.
struct DwgVar {
  std::string_view name;
  Enc enc;
  std::uint8_t releases;
  Fixed fixed{0.0};
  int H::*integer = nullptr;
  double H::*real = nullptr;
  DbPoint H::*point3 = nullptr;
  Point2 H::*point2 = nullptr;
  std::uint32_t Refs::*ref = nullptr;
};

constexpr std::uint8_t kBoth = kR14On;

DwgVar fix(std::string_view n, Enc e, double v, std::uint8_t r = kBoth) { return {n, e, r, v}; }
DwgVar fix3(std::string_view n, const Triple& v, std::uint8_t r = kBoth) {
  return {n, Enc::bd3, r, v};
}
DwgVar text(std::string_view n, std::string_view v, std::uint8_t r = kBoth) {
  return {n, Enc::t, r, v};
}
// A variable the drawing's header record holds: its slot is taken, by name, from the header
// declarations the DXF writer walks.
DwgVar stored(std::string_view n, Enc e, std::uint8_t r = kBoth) {
  DwgVar d{n, e, r};
  if (const HeaderVar* v = find_header_var(n)) {
    d.integer = v->integer;
    d.real = v->real;
    d.point3 = v->point3;
    d.point2 = v->point2;
  }
  return d;
}
DwgVar ref(std::string_view n, Enc e, std::uint32_t Refs::*m, std::uint8_t r = kBoth) {
  return {n, e, r, 0.0, nullptr, nullptr, nullptr, nullptr, m};
}

constexpr Triple kOrigin{0, 0, 0}, kXAxis{1, 0, 0}, kYAxis{0, 1, 0};
// Paper space extents of an empty layout: inverted, as AutoCAD leaves them.
constexpr Triple kNoMin{1e20, 1e20, 1e20}, kNoMax{-1e20, -1e20, -1e20};

// The release 2000 bit field: line weight index of new objects (low 5 bits; 29 is
// BYLAYER), LWDISPLAY off (bit set), XEDIT on (bit clear), EXTNAMES on, PSTYLEMODE 1.
constexpr double kR2000Flags = 29 | 0x200 | 0x800 | 0x2000;

// A user coordinate system's origin, axes and name, then from 2000 on its orthographic
// reference, view, base and the origins of its six orthographic views.
struct UcsNames {
  std::string_view org, xdir, ydir, name, orthoref, orthoview, base;
  std::array<std::string_view, 6> origins;
};
constexpr UcsNames kPaperUcs{"$PUCSORG", "$PUCSXDIR", "$PUCSYDIR", "$PUCSNAME",
                             "$PUCSORTHOREF", "$PUCSORTHOVIEW", "$PUCSBASE",
                             {"$PUCSORGTOP", "$PUCSORGBOTTOM", "$PUCSORGLEFT", "$PUCSORGRIGHT",
                              "$PUCSORGFRONT", "$PUCSORGBACK"}};
constexpr UcsNames kModelUcs{"$UCSORG", "$UCSXDIR", "$UCSYDIR", "$UCSNAME",
                             "$UCSORTHOREF", "$UCSORTHOVIEW", "$UCSBASE",
                             {"$UCSORGTOP", "$UCSORGBOTTOM", "$UCSORGLEFT", "$UCSORGRIGHT",
                              "$UCSORGFRONT", "$UCSORGBACK"}};

void ucs(std::vector<DwgVar>& v, const UcsNames& n) {
  v.insert(v.end(), {fix3(n.org, kOrigin), fix3(n.xdir, kXAxis), fix3(n.ydir, kYAxis),
                     fix(n.name, Enc::h5, 0), fix(n.orthoref, Enc::h5, 0, kR2000),
                     fix(n.orthoview, Enc::bs, 0, kR2000), fix(n.base, Enc::h5, 0, kR2000)});
  for (std::string_view o : n.origins) v.push_back(fix3(o, kOrigin, kR2000));
}

std::vector<DwgVar> declare() {
  std::vector<DwgVar> v;
  auto add = [&v](std::initializer_list<DwgVar> list) { v.insert(v.end(), list); };
  add({
      // Unit conversion ratios and names nobody documents; these are AutoCAD's.
      fix("unit ratio 1", Enc::bd, 412148564080.0), fix("unit ratio 2", Enc::bd, 1.0),
      fix("unit ratio 3", Enc::bd, 1.0), fix("unit ratio 4", Enc::bd, 1.0),
      text("unit name 1", "m"), text("unit name 2", ""), text("unit name 3", ""),
      text("unit name 4", ""),
      fix("unknown long 1", Enc::bl, 0), fix("unknown long 2", Enc::bl, 0),
      fix("unknown short", Enc::bs, 256, kR14),
      fix("current VX", Enc::h5, 0),
      fix("$DIMASO", Enc::b, 1), fix("$DIMSHO", Enc::b, 1), fix("$DIMSAV", Enc::b, 0, kR14),
      stored("$PLINEGEN", Enc::b), stored("$ORTHOMODE", Enc::b),
      stored("$REGENMODE", Enc::b), stored("$FILLMODE", Enc::b),
      stored("$QTEXTMODE", Enc::b),
      stored("$PSLTSCALE", Enc::b), fix("$LIMCHECK", Enc::b, 0),
      fix("$BLIPMODE", Enc::b, 0, kR14), fix("$USRTIMER", Enc::b, 1), fix("$SKPOLY", Enc::b, 0),
      fix("$ANGDIR", Enc::b, 0), fix("$SPLFRAME", Enc::b, 0), fix("$ATTREQ", Enc::b, 1, kR14),
      fix("$ATTDIA", Enc::b, 0, kR14), stored("$MIRRTEXT", Enc::b),
      fix("$WORLDVIEW", Enc::b, 1), fix("wireframe", Enc::b, 0, kR14),
      fix("$TILEMODE", Enc::b, 1), fix("$PLIMCHECK", Enc::b, 0), fix("$VISRETAIN", Enc::b, 1),
      fix("$DELOBJ", Enc::b, 1, kR14), fix("$DISPSILH", Enc::b, 0), fix("$PELLIPSE", Enc::b, 0),
      fix("$PROXYGRAPHICS", Enc::bs, 1), fix("$DRAGMODE", Enc::bs, 2, kR14),
      fix("$TREEDEPTH", Enc::bs, 3020), fix("$LUNITS", Enc::bs, 2), fix("$LUPREC", Enc::bs, 4),
      fix("$AUNITS", Enc::bs, 0), fix("$AUPREC", Enc::bs, 0), fix("$OSMODE", Enc::bl, 37, kR14),
      stored("$ATTMODE", Enc::bs), fix("$COORDS", Enc::bs, 1, kR14),
      stored("$PDMODE", Enc::bs), fix("$PICKSTYLE", Enc::bs, 1, kR14),
      fix("$USERI1", Enc::bs, 0), fix("$USERI2", Enc::bs, 0), fix("$USERI3", Enc::bs, 0),
      fix("$USERI4", Enc::bs, 0), fix("$USERI5", Enc::bs, 0), fix("$SPLINESEGS", Enc::bs, 8),
      fix("$SURFU", Enc::bs, 6), fix("$SURFV", Enc::bs, 6), fix("$SURFTYPE", Enc::bs, 6),
      fix("$SURFTAB1", Enc::bs, 6), fix("$SURFTAB2", Enc::bs, 6),
      fix("$SPLINETYPE", Enc::bs, 6), fix("$SHADEDGE", Enc::bs, 3),
      fix("$SHADEDIF", Enc::bs, 70), fix("$UNITMODE", Enc::bs, 0), fix("$MAXACTVP", Enc::bs, 64),
      fix("$ISOLINES", Enc::bs, 4), fix("$CMLJUST", Enc::bs, 0), fix("$TEXTQLTY", Enc::bs, 50),
      stored("$LTSCALE", Enc::bd), stored("$TEXTSIZE", Enc::bd),
      stored("$TRACEWID", Enc::bd), fix("$SKETCHINC", Enc::bd, 1.0),
      fix("$FILLETRAD", Enc::bd, 0), fix("$THICKNESS", Enc::bd, 0), fix("$ANGBASE", Enc::bd, 0),
      stored("$PDSIZE", Enc::bd), fix("$PLINEWID", Enc::bd, 0),
      fix("$USERR1", Enc::bd, 0), fix("$USERR2", Enc::bd, 0), fix("$USERR3", Enc::bd, 0),
      fix("$USERR4", Enc::bd, 0), fix("$USERR5", Enc::bd, 0), fix("$CHAMFERA", Enc::bd, 0),
      fix("$CHAMFERB", Enc::bd, 0), fix("$CHAMFERC", Enc::bd, 0), fix("$CHAMFERD", Enc::bd, 0),
      fix("$FACETRES", Enc::bd, 0.5), fix("$CMLSCALE", Enc::bd, 1.0),
      fix("$CELTSCALE", Enc::bd, 1.0), text("$MENU", "acad"),
      stored("$TDCREATE", Enc::time), stored("$TDUPDATE", Enc::time),
      fix("$TDINDWG", Enc::time, 0), fix("$TDUSRTIMER", Enc::time, 0),
      stored("$CECOLOR", Enc::cmc), ref("$HANDSEED", Enc::seed, &Refs::handseed),
      ref("$CLAYER", Enc::h5, &Refs::clayer), ref("$TEXTSTYLE", Enc::h5, &Refs::textstyle),
      ref("$CELTYPE", Enc::h5, &Refs::celtype), ref("$DIMSTYLE", Enc::h5, &Refs::dimstyle),
      ref("$CMLSTYLE", Enc::h5, &Refs::cmlstyle), fix("$PSVPSCALE", Enc::bd, 0, kR2000),
      // Paper space.
      fix3("$PINSBASE", kOrigin), fix3("$PEXTMIN", kNoMin), fix3("$PEXTMAX", kNoMax),
      {"$PLIMMIN", Enc::rd2, kBoth, Point2{0, 0}}, {"$PLIMMAX", Enc::rd2, kBoth, Point2{12, 9}},
      fix("$PELEVATION", Enc::bd, 0),
  });
  ucs(v, kPaperUcs);
  add({
      // Model space.
      stored("$INSBASE", Enc::bd3), stored("$EXTMIN", Enc::bd3),
      stored("$EXTMAX", Enc::bd3), stored("$LIMMIN", Enc::rd2),
      stored("$LIMMAX", Enc::rd2), fix("$ELEVATION", Enc::bd, 0),
  });
  ucs(v, kModelUcs);
  add({
      text("$DIMPOST", "", kR2000), text("$DIMAPOST", "", kR2000),
      // Release 14 keeps the dimension switches and counts here, several as RC.
      fix("$DIMTOL", Enc::b, 0, kR14), fix("$DIMLIM", Enc::b, 0, kR14),
      fix("$DIMTIH", Enc::b, 1, kR14), fix("$DIMTOH", Enc::b, 1, kR14),
      fix("$DIMSE1", Enc::b, 0, kR14), fix("$DIMSE2", Enc::b, 0, kR14),
      fix("$DIMALT", Enc::b, 0, kR14), fix("$DIMTOFL", Enc::b, 0, kR14),
      fix("$DIMSAH", Enc::b, 0, kR14), fix("$DIMTIX", Enc::b, 0, kR14),
      fix("$DIMSOXD", Enc::b, 0, kR14), fix("$DIMALTD", Enc::rc, 2, kR14),
      fix("$DIMZIN", Enc::rc, 0, kR14), fix("$DIMSD1", Enc::b, 0, kR14),
      fix("$DIMSD2", Enc::b, 0, kR14), fix("$DIMTOLJ", Enc::rc, 1, kR14),
      fix("$DIMJUST", Enc::rc, 0, kR14), fix("$DIMFIT", Enc::rc, 3, kR14),
      fix("$DIMUPT", Enc::b, 0, kR14), fix("$DIMTZIN", Enc::rc, 0, kR14),
      fix("$DIMALTZ", Enc::rc, 0, kR14), fix("$DIMALTTZ", Enc::rc, 0, kR14),
      fix("$DIMTAD", Enc::rc, 0, kR14), fix("$DIMUNIT", Enc::bs, 2, kR14),
      fix("$DIMAUNIT", Enc::bs, 0, kR14), fix("$DIMDEC", Enc::bs, 4, kR14),
      fix("$DIMTDEC", Enc::bs, 4, kR14), fix("$DIMALTU", Enc::bs, 2, kR14),
      fix("$DIMALTTD", Enc::bs, 2, kR14), ref("$DIMTXSTY", Enc::h5, &Refs::dimtxsty, kR14),
      fix("$DIMSCALE", Enc::bd, 1.0), fix("$DIMASZ", Enc::bd, 0.18),
      fix("$DIMEXO", Enc::bd, 0.0625), fix("$DIMDLI", Enc::bd, 0.38),
      fix("$DIMEXE", Enc::bd, 0.18), fix("$DIMRND", Enc::bd, 0), fix("$DIMDLE", Enc::bd, 0),
      fix("$DIMTP", Enc::bd, 0), fix("$DIMTM", Enc::bd, 0),
      fix("$DIMTOL", Enc::b, 0, kR2000), fix("$DIMLIM", Enc::b, 0, kR2000),
      fix("$DIMTIH", Enc::b, 1, kR2000), fix("$DIMTOH", Enc::b, 1, kR2000),
      fix("$DIMSE1", Enc::b, 0, kR2000), fix("$DIMSE2", Enc::b, 0, kR2000),
      fix("$DIMTAD", Enc::bs, 0, kR2000), fix("$DIMZIN", Enc::bs, 0, kR2000),
      fix("$DIMAZIN", Enc::bs, 0, kR2000),
      fix("$DIMTXT", Enc::bd, 0.18), fix("$DIMCEN", Enc::bd, 0.09), fix("$DIMTSZ", Enc::bd, 0),
      fix("$DIMALTF", Enc::bd, 25.4), fix("$DIMLFAC", Enc::bd, 1.0), fix("$DIMTVP", Enc::bd, 0),
      fix("$DIMTFAC", Enc::bd, 1.0), fix("$DIMGAP", Enc::bd, 0.09),
      text("$DIMPOST", "", kR14), text("$DIMAPOST", "", kR14), text("$DIMBLK", "", kR14),
      text("$DIMBLK1", "", kR14), text("$DIMBLK2", "", kR14),
      fix("$DIMALTRND", Enc::bd, 0, kR2000), fix("$DIMALT", Enc::b, 0, kR2000),
      fix("$DIMALTD", Enc::bs, 2, kR2000), fix("$DIMTOFL", Enc::b, 0, kR2000),
      fix("$DIMSAH", Enc::b, 0, kR2000), fix("$DIMTIX", Enc::b, 0, kR2000),
      fix("$DIMSOXD", Enc::b, 0, kR2000),
      fix("$DIMCLRD", Enc::cmc, 0), fix("$DIMCLRE", Enc::cmc, 0), fix("$DIMCLRT", Enc::cmc, 0),
      fix("$DIMADEC", Enc::bs, 0, kR2000), fix("$DIMDEC", Enc::bs, 4, kR2000),
      fix("$DIMTDEC", Enc::bs, 4, kR2000), fix("$DIMALTU", Enc::bs, 2, kR2000),
      fix("$DIMALTTD", Enc::bs, 2, kR2000), fix("$DIMAUNIT", Enc::bs, 0, kR2000),
      fix("$DIMFRAC", Enc::bs, 0, kR2000), fix("$DIMLUNIT", Enc::bs, 2, kR2000),
      fix("$DIMDSEP", Enc::bs, '.', kR2000), fix("$DIMTMOVE", Enc::bs, 0, kR2000),
      fix("$DIMJUST", Enc::bs, 0, kR2000), fix("$DIMSD1", Enc::b, 0, kR2000),
      fix("$DIMSD2", Enc::b, 0, kR2000), fix("$DIMTOLJ", Enc::bs, 1, kR2000),
      fix("$DIMTZIN", Enc::bs, 0, kR2000), fix("$DIMALTZ", Enc::bs, 0, kR2000),
      fix("$DIMALTTZ", Enc::bs, 0, kR2000), fix("$DIMUPT", Enc::b, 0, kR2000),
      fix("$DIMATFIT", Enc::bs, 3, kR2000), ref("$DIMTXSTY", Enc::h5, &Refs::dimtxsty, kR2000),
      fix("$DIMLDRBLK", Enc::h5, 0, kR2000), fix("$DIMBLK", Enc::h5, 0, kR2000),
      fix("$DIMBLK1", Enc::h5, 0, kR2000), fix("$DIMBLK2", Enc::h5, 0, kR2000),
      fix("$DIMLWD", Enc::bs, -2, kR2000), fix("$DIMLWE", Enc::bs, -2, kR2000),
      // Table controls, then the dictionaries.
      ref("block control", Enc::h3, &Refs::block_control),
      ref("layer control", Enc::h3, &Refs::layer_control),
      ref("style control", Enc::h3, &Refs::style_control),
      ref("line type control", Enc::h3, &Refs::ltype_control),
      ref("view control", Enc::h3, &Refs::view_control),
      ref("UCS control", Enc::h3, &Refs::ucs_control),
      ref("viewport control", Enc::h3, &Refs::vport_control),
      ref("application control", Enc::h3, &Refs::appid_control),
      ref("dimension style control", Enc::h3, &Refs::dimstyle_control),
      ref("VX control", Enc::h3, &Refs::vx_control),
      ref("group dictionary", Enc::h5, &Refs::groups),
      ref("multi-line style dictionary", Enc::h5, &Refs::mlinestyles),
      ref("named object dictionary", Enc::h3, &Refs::named_objects),
      fix("$TSTACKALIGN", Enc::bs, 1, kR2000), fix("$TSTACKSIZE", Enc::bs, 70, kR2000),
      text("$HYPERLINKBASE", "", kR2000), text("$STYLESHEET", "", kR2000),
      ref("layout dictionary", Enc::h5, &Refs::layouts, kR2000),
      ref("plot settings dictionary", Enc::h5, &Refs::plotsettings, kR2000),
      ref("plot style dictionary", Enc::h5, &Refs::plotstyles, kR2000),
      fix("flags", Enc::bl, kR2000Flags, kR2000),
      stored("$INSUNITS", Enc::bs, kR2000),
      fix("$CEPSNTYPE", Enc::bs, 0, kR2000),  // by layer, so no plot style handle follows
      text("$FINGERPRINTGUID", "{4E63AFE2-3106-42AB-8F93-FC75356D9B24}", kR2000),
      text("$VERSIONGUID", "{A8BA976B-B209-447F-B5AD-32D9C095A8D0}", kR2000),
      ref("paper space block", Enc::h5, &Refs::paper_space),
      ref("model space block", Enc::h5, &Refs::model_space),
      ref("BYLAYER line type", Enc::h5, &Refs::bylayer),
      ref("BYBLOCK line type", Enc::h5, &Refs::byblock),
      ref("CONTINUOUS line type", Enc::h5, &Refs::continuous),
      // Four shorts readers skip.
      fix("unknown 1", Enc::bs, 0), fix("unknown 2", Enc::bs, 0), fix("unknown 3", Enc::bs, 0),
      fix("unknown 4", Enc::bs, 0),
  });
  return v;
}

const std::vector<DwgVar>& vars() {
  static const std::vector<DwgVar> table = declare();
  return table;
}

double number(const DwgVar& d, const H& h, const Refs& r) {
  if (d.integer) return h.*d.integer;
  if (d.real) return h.*d.real;
  if (d.ref) return r.*d.ref;
  return std::get<double>(d.fixed);
}

void write_time(BitWriter& w, double julian) {
  const JulianParts t = julian_parts(julian);
  write_bl(w, t.days);
  write_bl(w, t.ms);
}

void write_var(BitWriter& w, const DwgVar& d, const H& h, const Refs& r) {
  switch (d.enc) {
    case Enc::bd3:
      write_3bd(w, d.point3 ? h.*d.point3 : std::get<Triple>(d.fixed));
      return;
    case Enc::rd2: {
      const Point2 p = d.point2 ? h.*d.point2 : std::get<Point2>(d.fixed);
      write_2rd(w, p[0], p[1]);
      return;
    }
    case Enc::t: {
      // AutoCAD counts the terminating zero of a non-empty text.
      std::string s(std::get<std::string_view>(d.fixed));
      if (!s.empty()) s.push_back('\0');
      write_t(w, s);
      return;
    }
    default:
      break;
  }
  const double v = number(d, h, r);
  // Integers go through their two's complement, so -2 becomes BS 0xFFFE.
  const auto n = static_cast<std::uint32_t>(static_cast<std::int64_t>(v));
  switch (d.enc) {
    case Enc::b: write_b(w, v != 0); break;
    case Enc::rc: write_rc(w, static_cast<std::uint8_t>(n)); break;
    case Enc::bs: write_bs(w, static_cast<std::uint16_t>(n)); break;
    case Enc::cmc: write_cmc(w, static_cast<std::uint16_t>(n)); break;
    case Enc::bl: write_bl(w, n); break;
    case Enc::bd: write_bd(w, v); break;
    case Enc::h3: write_h(w, 3, n); break;
    case Enc::h5: write_h(w, 5, n); break;
    case Enc::seed: write_h(w, 0, n); break;
    case Enc::time: write_time(w, v); break;
    default: break;
  }
}

}  // namespace

void write_header_vars(BitWriter& w, const DbHeader& h, const HeaderRefs& refs, bool r2000) {
  align_byte(w);
  write_sentinel(w, kHeaderVarsStart);
  const std::size_t size_at = byte_size(w);
  const Reserved size = reserve(w, 4);
  const std::uint8_t release = r2000 ? kR2000 : kR14;
  for (const DwgVar& d : vars()) {
    if (d.releases & release) write_var(w, d, h, refs);
  }
  align_byte(w);
  patch(w, size, byte_size(w) - size_at - 4);
  const Reserved crc = reserve(w, 2);
  patch_crc(w, crc, size_at, kCrcSeed);
  write_sentinel(w, kHeaderVarsEnd);
}

}  // namespace tsn::dwg
