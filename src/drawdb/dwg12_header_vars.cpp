// The release 12 header variables, written in file order from one table of declarations.
#include "drawdb/dwg12_header_vars.h"

#include <cmath>
#include <string_view>
#include <variant>
#include <vector>

#include "drawdb/header_fields.h"

namespace tsn::dwg12 {
namespace {

using dwg::write_rc;
using dwg::write_rd;
using dwg::write_rl;
using dwg::write_rs;
using Point2 = std::array<double, 2>;
using Triple = dwg::Triple;

// How a variable is stored: raw numbers, points, fixed-width texts, a julian date as RL day
// and RL milliseconds, a table descriptor, a table index the save decides.
enum class Enc : std::uint8_t { rc, rs, rl, rd, rd2, rd3, text, time, table, index };
enum class Index : std::uint8_t { none, clayer, textstyle, celtype };

struct Var {
  std::string_view name;
  Enc enc;
  std::variant<double, Point2, Triple, std::string_view> fixed{0.0};
  int width = 0;  // of a text; the table of a descriptor
  Index index = Index::none;
  const HeaderVar* stored = nullptr;  // the drawing's value, where its header holds one
};

Var num(std::string_view n, Enc e, double v = 0.0) { return {n, e, v}; }
Var pt2(std::string_view n, const Point2& v) { return {n, Enc::rd2, v}; }
Var pt3(std::string_view n, const Triple& v) { return {n, Enc::rd3, v}; }
Var text(std::string_view n, int width, std::string_view v = {}) { return {n, Enc::text, v, width}; }
Var table(Table t) { return {"table", Enc::table, 0.0, static_cast<int>(t)}; }
Var index(std::string_view n, Index i) { return {n, Enc::index, 0.0, 0, i}; }
// A variable the drawing's header record holds, found by its DXF name.
Var stored(std::string_view n, Enc e, double fallback = 0.0) {
  Var v{n, e, fallback};
  v.stored = find_header_var(n);
  return v;
}

constexpr Triple kOrigin{0, 0, 0}, kXAxis{1, 0, 0}, kYAxis{0, 1, 0}, kZAxis{0, 0, 1};
constexpr Triple kNoMin{1e20, 1e20, 1e20}, kNoMax{-1e20, -1e20, -1e20};

std::vector<Var> declare() {
  return {
      stored("$INSBASE", Enc::rd3), stored("$PLINEGEN", Enc::rs), stored("$EXTMIN", Enc::rd3),
      stored("$EXTMAX", Enc::rd3), stored("$LIMMIN", Enc::rd2), stored("$LIMMAX", Enc::rd2),
      stored("$VIEWCTR", Enc::rd3), stored("$VIEWSIZE", Enc::rd, 1.0), num("$SNAPMODE", Enc::rs),
      pt2("$SNAPUNIT", {1, 1}), pt2("$SNAPBASE", {0, 0}), num("$SNAPANG", Enc::rd),
      num("$SNAPSTYLE", Enc::rs), num("$SNAPISOPAIR", Enc::rs), num("$GRIDMODE", Enc::rs),
      pt2("$GRIDUNIT", {0, 0}), stored("$ORTHOMODE", Enc::rs), stored("$REGENMODE", Enc::rs, 1),
      stored("$FILLMODE", Enc::rs, 1), stored("$QTEXTMODE", Enc::rs),
      num("$DRAGMODE", Enc::rs, 2), stored("$LTSCALE", Enc::rd, 1.0),
      stored("$TEXTSIZE", Enc::rd, 2.5), stored("$TRACEWID", Enc::rd, 1.0),
      index("$CLAYER", Index::clayer),
      // The current colour as releases before 11 kept it, unused since.
      num("old colour 1", Enc::rl), num("old colour 2", Enc::rl),
      num("unknown 1", Enc::rs), stored("$PSLTSCALE", Enc::rs, 1),
      num("$TREEDEPTH", Enc::rs, 3020), num("unknown 2", Enc::rs),
      num("aspect ratio", Enc::rd, 1.0), num("$LUNITS", Enc::rs, 2), num("$LUPREC", Enc::rs, 4),
      num("$AXISMODE", Enc::rs), pt2("$AXISUNIT", {0, 0}), num("$SKETCHINC", Enc::rd, 0.1),
      num("$FILLETRAD", Enc::rd), num("$AUNITS", Enc::rs), num("$AUPREC", Enc::rs),
      index("$TEXTSTYLE", Index::textstyle), num("$OSMODE", Enc::rs),
      stored("$ATTMODE", Enc::rs, 1), text("$MENU", 15, "acad"),
      num("$DIMSCALE", Enc::rd, 1.0), num("$DIMASZ", Enc::rd, 0.18),
      num("$DIMEXO", Enc::rd, 0.0625), num("$DIMDLI", Enc::rd, 0.38),
      num("$DIMEXE", Enc::rd, 0.18), num("$DIMTP", Enc::rd), num("$DIMTM", Enc::rd),
      num("$DIMTXT", Enc::rd, 0.18), num("$DIMCEN", Enc::rd, 0.09), num("$DIMTSZ", Enc::rd),
      num("$DIMTOL", Enc::rc), num("$DIMLIM", Enc::rc), num("$DIMTIH", Enc::rc, 1),
      num("$DIMTOH", Enc::rc, 1), num("$DIMSE1", Enc::rc), num("$DIMSE2", Enc::rc),
      num("$DIMTAD", Enc::rc), num("$LIMCHECK", Enc::rc),
      text("menu name continued", 46), num("$ELEVATION", Enc::rd), num("$THICKNESS", Enc::rd),
      pt3("$VIEWDIR", kZAxis),
      // The view point axes of releases before 11.
      pt3("view x", kXAxis), pt3("view y", kYAxis), pt3("view z", kZAxis),
      pt3("view x again", kXAxis), pt3("view y again", kYAxis), pt3("view z again", kZAxis),
      num("3D flag", Enc::rs), num("$BLIPMODE", Enc::rs), num("$DIMZIN", Enc::rc),
      num("$DIMRND", Enc::rd), num("$DIMDLE", Enc::rd), text("$DIMBLK", 33),
      num("circle zoom percent", Enc::rs, 100), num("$COORDS", Enc::rs, 1),
      stored("$CECOLOR", Enc::rs, 256), index("$CELTYPE", Index::celtype),
      stored("$TDCREATE", Enc::time), stored("$TDUPDATE", Enc::time),
      num("$TDINDWG", Enc::time), num("$TDUSRTIMER", Enc::time), num("$USRTIMER", Enc::rs, 1),
      num("$FASTZOOM", Enc::rs, 1), num("$SKPOLY", Enc::rs),
      // A date of the saving program's; zeros.
      num("month", Enc::rs), num("day", Enc::rs), num("year", Enc::rs), num("hour", Enc::rs),
      num("minute", Enc::rs), num("second", Enc::rs), num("millisecond", Enc::rs),
      num("$ANGBASE", Enc::rd), num("$ANGDIR", Enc::rs), stored("$PDMODE", Enc::rs),
      stored("$PDSIZE", Enc::rd), num("$PLINEWID", Enc::rd),
      num("$USERI1", Enc::rs), num("$USERI2", Enc::rs), num("$USERI3", Enc::rs),
      num("$USERI4", Enc::rs), num("$USERI5", Enc::rs), num("$USERR1", Enc::rd),
      num("$USERR2", Enc::rd), num("$USERR3", Enc::rd), num("$USERR4", Enc::rd),
      num("$USERR5", Enc::rd), num("$DIMALT", Enc::rc), num("$DIMALTD", Enc::rc, 2),
      num("$DIMASO", Enc::rc, 1), num("$DIMSHO", Enc::rc, 1), text("$DIMPOST", 16),
      text("$DIMAPOST", 16), num("$DIMALTF", Enc::rd, 25.4), num("$DIMLFAC", Enc::rd, 1.0),
      num("$SPLINESEGS", Enc::rs, 8), num("$SPLFRAME", Enc::rs), num("$ATTREQ", Enc::rs, 1),
      num("$ATTDIA", Enc::rs), num("$CHAMFERA", Enc::rd), num("$CHAMFERB", Enc::rd),
      stored("$MIRRTEXT", Enc::rs, 1), table(kUcs), stored("$DWGCODEPAGE", Enc::rs, 30),
      pt3("$UCSORG", kOrigin), pt3("$UCSXDIR", kXAxis), pt3("$UCSYDIR", kYAxis),
      pt3("$TARGET", kOrigin), num("$LENSLENGTH", Enc::rd, 50.0), num("$VIEWTWIST", Enc::rd),
      num("$FRONTZ", Enc::rd), num("$BACKZ", Enc::rd), num("$VIEWMODE", Enc::rs),
      num("$DIMTOFL", Enc::rc), text("$DIMBLK1", 33), text("$DIMBLK2", 33),
      num("$DIMSAH", Enc::rc), num("$DIMTIX", Enc::rc), num("$DIMSOXD", Enc::rc),
      num("$DIMTVP", Enc::rd), text("unknown text", 33),
      // No entity handles: HANDLING off, and a zero seed (8 bytes, most significant first).
      num("$HANDLING", Enc::rs), num("$HANDSEED high", Enc::rl), num("$HANDSEED low", Enc::rl),
      num("$SURFU", Enc::rs, 6), num("$SURFV", Enc::rs, 6), num("$SURFTYPE", Enc::rs, 6),
      num("$SURFTAB1", Enc::rs, 6), num("$SURFTAB2", Enc::rs, 6), table(kVport),
      num("$FLATLAND", Enc::rs), num("$SPLINETYPE", Enc::rs, 6), num("$UCSICON", Enc::rs, 1),
      num("$UCSNAME", Enc::rs, -1), table(kAppid), num("$WORLDVIEW", Enc::rs, 1),
      num("unknown 3", Enc::rs), num("unknown 4", Enc::rs), table(kDimstyle),
      num("unknown 5", Enc::rs, -1), num("unknown 6", Enc::rs), num("unknown 7", Enc::rc),
      num("$DIMCLRD", Enc::rs), num("$DIMCLRE", Enc::rs), num("$DIMCLRT", Enc::rs),
      num("$SHADEDGE", Enc::rs, 3), num("$SHADEDIF", Enc::rs, 70), num("unknown 8", Enc::rs),
      num("$UNITMODE", Enc::rs),
      // Unit conversions nobody documents, as in the later releases.
      num("unit ratio 1", Enc::rd, 412148564080.0), num("unit ratio 2", Enc::rd, 1.0),
      num("unit ratio 3", Enc::rd, 1.0), num("unit ratio 4", Enc::rd, 1.0),
      text("unit name 1", 32, "m"), text("unit name 2", 32), text("unit name 3", 32),
      text("unit name 4", 32), num("$DIMTFAC", Enc::rd, 1.0), pt3("$PUCSORG", kOrigin),
      pt3("$PUCSXDIR", kXAxis), pt3("$PUCSYDIR", kYAxis), num("$PUCSNAME", Enc::rs, -1),
      num("$TILEMODE", Enc::rs, 1), num("$PLIMCHECK", Enc::rs), num("unknown 9", Enc::rs),
      pt3("$PEXTMIN", kNoMin), pt3("$PEXTMAX", kNoMax), pt2("$PLIMMIN", {0, 0}),
      pt2("$PLIMMAX", {12, 9}), pt3("$PINSBASE", kOrigin), table(kVx),
      num("$MAXACTVP", Enc::rs, 16), num("$DIMGAP", Enc::rd, 0.09), num("$PELEVATION", Enc::rd),
      num("$VISRETAIN", Enc::rs),
  };
}

const std::vector<Var>& vars() {
  static const std::vector<Var> v = declare();
  return v;
}

void write_descriptor(BitWriter& w, const TableInfo& t) {
  write_rs(w, t.record_size);
  write_rs(w, t.count);
  write_rs(w, 0);  // flags
  write_rl(w, t.address);
}

void write_time(BitWriter& w, double julian) {
  const dwg::JulianParts t = dwg::julian_parts(julian);
  write_rl(w, t.days);
  write_rl(w, t.ms);
}

double real_of(const Var& v, const DbHeader& h) {
  if (v.stored != nullptr && v.stored->real != nullptr) return h.*(v.stored->real);
  if (v.stored != nullptr && v.stored->integer != nullptr) return h.*(v.stored->integer);
  return std::get<double>(v.fixed);
}

void write_var(BitWriter& w, const Var& v, const Drawing& d, const Tables& tables,
               const HeaderIndices& ix) {
  const DbHeader& h = d.header;
  switch (v.enc) {
    case Enc::rc: write_rc(w, static_cast<std::uint8_t>(real_of(v, h))); break;
    case Enc::rs:
      write_rs(w, static_cast<std::uint16_t>(static_cast<std::int16_t>(real_of(v, h))));
      break;
    case Enc::rl: write_rl(w, static_cast<std::uint32_t>(real_of(v, h))); break;
    case Enc::rd: write_rd(w, real_of(v, h)); break;
    case Enc::time: write_time(w, real_of(v, h)); break;
    case Enc::rd2: {
      const Point2 p = v.stored != nullptr && v.stored->point2 != nullptr
                           ? h.*(v.stored->point2)
                           : std::get<Point2>(v.fixed);
      dwg::write_2rd(w, p[0], p[1]);
      break;
    }
    case Enc::rd3: {
      Triple p{};
      if (v.stored != nullptr && v.stored->point2 != nullptr) {
        const Point2& q = h.*(v.stored->point2);  // a centre kept in two dimensions
        p = {q[0], q[1], 0.0};
      } else if (v.stored != nullptr && v.stored->point3 != nullptr) {
        p = h.*(v.stored->point3);
      } else {
        p = std::get<Triple>(v.fixed);
      }
      for (double c : p) write_rd(w, c);
      break;
    }
    case Enc::text: write_fixed_text(w, std::get<std::string_view>(v.fixed), v.width); break;
    case Enc::table: write_descriptor(w, tables[static_cast<std::size_t>(v.width)]); break;
    case Enc::index:
      write_rs(w, v.index == Index::clayer      ? ix.clayer
                  : v.index == Index::textstyle ? ix.textstyle
                                                : ix.celtype);
      break;
  }
}

}  // namespace

void write_file_header(BitWriter& w, const Drawing& d, const SectionPlaces& p,
                       const Tables& tables, const HeaderIndices& indices) {
  const std::size_t start = dwg::byte_size(w);
  write_fixed_text(w, "AC1009", 12);  // the version, zeros, and a zero maintenance release
  write_rc(w, 1);
  write_rs(w, 3);  // entity sections
  write_rs(w, 5);  // tables described here
  write_rs(w, 205);  // header variables
  write_rc(w, 0);
  for (std::uint32_t v : {p.entities_start, p.entities_end, p.blocks_start, p.blocks_size,
                          p.extras_start, p.extras_size}) {
    write_rl(w, v);
  }
  for (Table t : {kBlock, kLayer, kStyle, kLtype, kView}) write_descriptor(w, tables[t]);
  for (const Var& v : vars()) write_var(w, v, d, tables, indices);
  const auto crc = dwg::crc16({w.bytes.data() + start, dwg::byte_size(w) - start}, dwg::kCrcSeed);
  write_rs(w, crc);
}

}  // namespace tsn::dwg12
