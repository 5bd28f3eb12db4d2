// The entities a drawing writer is given: typed values, each with its own geometry and flags,
// that the DXF text writer and the drawing database turn into their own form.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

namespace tsn {

struct Point3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

struct Point2 {
  double x = 0.0;
  double y = 0.0;
};

// Names an entity given earlier (or reserved for one given later) to entities that point to
// it: an outline to its associative hatch, a hatch path to its outline. 0 names nothing.
struct EntityRef {
  std::uint32_t id = 0;
  explicit operator bool() const { return id != 0; }
};

// One item of extended entity data: a group code of 1000 to 1071 and its text.
struct XdataItem {
  int code = 1000;
  std::string_view text;
};

// What every entity has. The layer is the name classification chose (the writer cleans it by
// the release's rule and finds the layer record); a negative colour leaves the entity BYLAYER.
struct EntityLook {
  std::string_view layer;
  int colour = -1;
  // The record has Z values: release 12 points keep their Z with "2D" on, polylines are 3D.
  bool has_z = false;
};

struct PointEntity {
  Point3 at;
};

struct LineEntity {
  Point3 from;
  Point3 to;
};

struct CircleEntity {
  Point3 centre;
  double radius = 0.0;
};

// Where a text stands and how: its first point, for left justification the only one; for
// centred or right-justified text the second point is where the text ends or is centred. A
// rotation is given only for text aligned with a line.
struct TextPlacement {
  Point3 first;
  std::optional<Point3> second;
  std::optional<double> rotation_degrees;
  int justification = 0;  // 0 left, 1 centre, 2 right
};

struct TextEntity {
  TextPlacement at;
  double height = 1.0;
  std::string_view style;
  std::string_view text;
};

// An insertion of a block; with attributes_follow its ATTRIBs and a SequenceEnd come next.
struct InsertEntity {
  std::string_view block;
  Point3 at;
  std::optional<double> scale;  // the same in X, Y and Z
  bool attributes_follow = false;
};

struct AttribEntity {
  TextPlacement at;
  double height = 1.0;
  std::string_view style;
  std::string_view value;
  std::string_view tag;
  bool visible = true;
};

// An attribute definition of a block, at (0, y), invisible, with an empty default; its field
// width goes with it.
struct AttdefEntity {
  double y = 0.0;
  double height = 1.0;
  std::string_view tag;
  int width = 0;
};

// The end of the ATTRIBs after an INSERT.
struct SequenceEnd {};

// SOLID: the four corners in the order 10, 11, 12, 13.
struct SolidEntity {
  Point3 corners[4];
};

// 3DFACE with the invisible-edge flags (1, 2, 4, 8 for the first to the fourth edge).
struct FaceEntity {
  Point3 corners[4];
  int invisible_edges = 0;
};

// Polyline flags (group 70 of POLYLINE): closed, and 3D.
inline constexpr int kPolylineClosed = 1;
inline constexpr int kPolyline3d = 8;

// A polyline: a classic POLYLINE with VERTEX entities and a SEQEND, or a light-weight one.
// The form is decided by the caller (polyline_form), the vertices are final.
struct PolylineEntity {
  std::span<const Point3> vertices;
  double elevation = 0.0;
  bool closed = false;
  bool classic = true;
  int vertex_colour = -1;  // the colour of a classic polyline's VERTEX entities
};

// A boundary path of a hatch: line edges, and the outline polyline it came from (when the
// hatch is associative).
struct HatchPath {
  std::span<const Point2> edge_points;  // two points per edge
  EntityRef outline;
};

// One family of pattern lines, already scaled.
struct HatchPatternLine {
  double angle = 0.0;  // radians
  double base_x = 0.0;
  double base_y = 0.0;
  double offset_x = 0.0;
  double offset_y = 0.0;
  std::span<const double> dashes;  // negative lengths are gaps
};

// A hatch bears the reference reserved for it before its outlines were given.
struct HatchEntity {
  EntityRef reserved;
  double elevation = 0.0;
  std::string_view pattern_name;
  bool solid = false;
  bool associative = false;
  std::span<const HatchPath> paths;
  std::span<const HatchPatternLine> lines;
};

// A filled disc (the dot marker): a wide closed polyline of two half circles where the release
// has no hatches, a solid hatch bounded by the circle otherwise.
struct FilledDisc {
  double radius = 0.5;
};

using EntityShape = std::variant<PointEntity, LineEntity, CircleEntity, TextEntity, InsertEntity,
                                 AttribEntity, AttdefEntity, SequenceEnd, SolidEntity, FaceEntity,
                                 PolylineEntity, HatchEntity, FilledDisc>;

// One entity as the writers take it.
struct Entity {
  EntityLook look;
  EntityShape shape;
  // The associative hatch this entity bounds (a persistent reactor to it).
  EntityRef reactor;
  std::span<const XdataItem> xdata;
};

}  // namespace tsn
