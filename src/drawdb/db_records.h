// The work records a caller fills and the drawing database reads: handles, entities and their
// bulky parts, block headers, the drawing header and the table records.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tsn {

// A drawing-database handle: 8 bytes, the value little-endian; all zero is "no handle".
struct DbHandle {
  std::array<std::uint8_t, 8> bytes{};
};

std::uint64_t handle_value(const DbHandle& h);
DbHandle make_handle(std::uint64_t value);

// Entity kinds the database stores (the program's entity type codes).
enum DbEntityType : int {
  kDbLine = 1,
  kDbPoint = 2,
  kDbCircle = 3,
  kDbText = 7,
  kDbSolid = 11,
  kDbBlock = 12,
  kDbEndblk = 13,
  kDbInsert = 14,
  kDbAttdef = 15,
  kDbAttrib = 16,
  kDbSeqend = 17,
  kDbLwpolyline = 18,
  kDbPolyline = 19,
  kDbVertex = 20,
  kDb3dFace = 22,
  kDbHatch = 26,
};

inline constexpr int kDbColourByLayer = 256;
inline constexpr int kDbColourByBlock = 0;
inline constexpr int kDbPolylineClosed = 1;
inline constexpr int kDbPolyline3d = 8;
inline constexpr int kDbVertex3d = 32;

using DbPoint = std::array<double, 3>;

// One item of extended data: code 1001 application, 1000 string, 1002 control string ("{" or
// "}"), 1003 layer name, 1040..1042 real, 1070 16-bit and 1071 32-bit integer.
inline bool xdata_text_code(int code) { return code >= 1000 && code <= 1003; }

struct DbXdataItem {
  int code = 0;
  std::string text;
  double real = 0.0;
  long integer = 0;
};

// The entity work record. Which fields a kind uses is listed by its field declarations
// (entity_fields.cpp); the rest is ignored.
struct DbEntity {
  int type = 0;
  DbHandle handle;  // zero: the database issues one when the entity is added
  DbHandle layer;
  int colour = kDbColourByLayer;
  std::array<DbPoint, 4> points{};  // groups 10, 11, 12, 13
  double height = 0.0;              // 40: text height, or the radius of a circle
  double width_factor = 1.0;        // 41: text width factor, or the X scale of an insert
  double y_scale = 1.0;             // 42
  double z_scale = 1.0;             // 43
  double rotation = 0.0;            // 50, degrees
  double elevation = 0.0;           // 38 of a light-weight polyline, Z of a polyline header
  double start_width = 0.0;         // 40 of POLYLINE; 43 (constant width) of LWPOLYLINE
  double end_width = 0.0;           // 41 of POLYLINE
  double bulge = 0.0;               // 42 of a VERTEX: tan(arc angle / 4), 1 a half circle
  int flags = 0;                    // 70: attribute flags, 3DFACE invisible edges
  int attributes_follow = 0;        // 66 of an INSERT
  int h_justify = 0;                // 72
  int v_justify = 0;                // 73 of TEXT, 74 of ATTRIB and ATTDEF
  int field_length = 0;             // 73 of an ATTDEF
  int vertex_flags = 0;             // 70 of POLYLINE and VERTEX (closed 1, 3D 8, 3D vertex 32)
  bool closed = false;              // LWPOLYLINE 70 bit 1
  std::string text;                 // 1
  std::string tag;                  // 2 of ATTRIB/ATTDEF
  std::string prompt;               // 3 of ATTDEF
  std::string style_name;           // 7, used when style is zero
  DbHandle style;
  DbHandle block;  // the block record an INSERT names
  std::vector<DbXdataItem> xdata;
};

// One line family of a hatch pattern (angle in degrees, as written).
struct DbHatchLine {
  double angle = 0.0;
  double base_x = 0.0, base_y = 0.0;
  double offset_x = 0.0, offset_y = 0.0;
  std::vector<double> dashes;
};

// A full circle as a hatch boundary: one counter-clockwise circular-arc edge.
struct DbHatchCircle {
  std::array<double, 2> centre{};
  double radius = 0.0;
};

// A closed boundary of line edges through consecutive vertices, or, when `circle` is set, of
// that one circle (the vertices are then empty); with the handles of the outline entities it
// was made from (associative hatches).
struct DbHatchPath {
  std::vector<std::array<double, 2>> vertices;
  std::vector<DbHandle> sources;
  std::optional<DbHatchCircle> circle;
};

// Type-specific bulky parts of an entity.
struct DbAux {
  std::string pattern_name;  // HATCH
  bool solid = false;
  bool associative = false;
  std::vector<DbHatchLine> pattern;
  std::vector<DbHatchPath> paths;
  std::vector<DbHandle> reactors;  // persistent reactors (owners) of any entity
  // Vertices read back with an entity (x, y pairs of a light-weight polyline, x, y, z of a
  // classic one); given when adding, they stand in for a data list or VERTEX records.
  std::vector<double> vertices;
  // One bulge per vertex of a polyline (given with aux vertices or a data list), or empty for
  // straight segments only; read back empty when every bulge is zero.
  std::vector<double> bulges;
};

// What a block's entities are added to: its block record.
struct DbEntityList {
  std::uint32_t block = 0xFFFFFFFFu;
};

// A position in a block's entities for db_read_block_entity; start with {}.
struct DbCursor {
  std::uint32_t next = 0;
};

struct DbBlockHeader {
  std::string name;  // up to 255 characters
  int flags = 0;
  DbPoint base{};
  DbHandle handle;
  DbEntityList entities;
};

struct DbLayer {
  std::string name;
  int colour = 7;
  std::string linetype = "CONTINUOUS";
  int flags = 0;
  DbHandle handle;
};

struct DbStyle {
  std::string name;
  std::string font = "txt";
  double height = 0.0;
  double width_factor = 1.0;
  int flags = 0;
  DbHandle handle;
};

struct DbRegapp {
  std::string name;
  int flags = 0;
  DbHandle handle;
};

// A data list (vertex list of a light-weight polyline): 16 bytes, two doubles, per vertex.
struct DbDataList {
  std::uint32_t id = 0xFFFFFFFFu;
};

struct DbVport {
  std::array<double, 2> centre{};
  double height = 1.0;
  double aspect = 1.0;
  DbHandle handle;
};

// The header variables the database writes; every one is declared in header_fields.cpp.
struct DbHeader {
  DbPoint insbase{};
  DbPoint extmin{};
  DbPoint extmax{};
  std::array<double, 2> limmin{};
  std::array<double, 2> limmax{{420.0, 297.0}};
  std::array<double, 2> view_centre{};
  double view_size = 1.0;
  int code_page = 30;  // index of the drawing's code page; 30 is ANSI_1252
  double tdcreate = 0.0;
  double tdupdate = 0.0;
  int orthomode = 0;
  int regenmode = 1;
  int fillmode = 1;
  int qtextmode = 0;
  int mirrtext = 1;
  int attmode = 1;
  double ltscale = 1.0;
  double textsize = 2.5;
  double tracewid = 1.0;
  std::string textstyle = "STANDARD";
  std::string clayer = "0";
  std::string celtype = "BYLAYER";
  int cecolor = 256;
  int pdmode = 0;
  double pdsize = 0.0;
  int plinegen = 0;
  int psltscale = 1;
  int measurement = 1;
  int insunits = 0;
};

}  // namespace tsn
