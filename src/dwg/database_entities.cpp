// Each entity shape into the fields of the database's entity record.
#include "dwg/database_entities.h"

#include "drawdb/drawdb.h"
#include "drawing/overloaded.h"

#include <numbers>
#include <string>

namespace tsn {
namespace {

constexpr int kAttributeInvisible = 1;
constexpr int kAttdefFlags = 1;  // invisible, as the text writer makes them

DbPoint db_point(const Point3& p) { return {p.x, p.y, p.z}; }

// The groups a TEXT and an ATTRIB share.
void placed_text(const TextPlacement& at, double height, std::string_view style, DbEntity& e) {
  e.points[0] = db_point(at.first);
  if (at.second) e.points[1] = db_point(*at.second);
  e.height = height;
  if (at.rotation_degrees) e.rotation = *at.rotation_degrees;
  e.h_justify = at.justification;
  e.style_name.assign(style);
}

void polyline(const EntityLook& look, const PolylineEntity& p, DbEntity& e, DbAux& aux) {
  e.elevation = p.elevation;
  aux.vertices.clear();
  if (p.classic) {
    e.type = kDbPolyline;
    e.vertex_flags = (p.closed ? kDbPolylineClosed : 0) | (look.has_z ? kDbPolyline3d : 0);
    e.points[0] = {0.0, 0.0, p.elevation};
    for (const Point3& v : p.vertices) aux.vertices.insert(aux.vertices.end(), {v.x, v.y, v.z});
  } else {
    e.type = kDbLwpolyline;
    e.closed = p.closed;
    for (const Point3& v : p.vertices) aux.vertices.insert(aux.vertices.end(), {v.x, v.y});
  }
}

// A hatch path's edges, each from one point to the next, become the boundary's vertices: the
// start of every edge (the last edge closes the boundary).
void hatch(const HatchEntity& h, DbEntity& e, DbAux& aux) {
  e.type = kDbHatch;
  e.handle = make_handle(h.reserved.id);
  e.elevation = h.elevation;
  e.points[0] = {0.0, 0.0, h.elevation};
  aux.pattern_name.assign(h.pattern_name);
  aux.solid = h.solid;
  aux.associative = h.associative;
  for (const HatchPatternLine& l : h.lines) {
    aux.pattern.push_back({l.angle * 180.0 / std::numbers::pi, l.base_x, l.base_y, l.offset_x,
                           l.offset_y, std::vector<double>(l.dashes.begin(), l.dashes.end())});
  }
  for (const HatchPath& p : h.paths) {
    DbHatchPath path;
    for (std::size_t i = 0; i + 1 < p.edge_points.size(); i += 2) {
      path.vertices.push_back({p.edge_points[i].x, p.edge_points[i].y});
    }
    if (p.outline) path.sources.push_back(make_handle(p.outline.id));
    aux.paths.push_back(std::move(path));
  }
}

}  // namespace

// Back to the defaults; the bulky parts keep their storage for the next entity.
static void reset(DbEntity& e, DbAux& aux) {
  e = DbEntity{};
  aux.pattern_name.clear();
  aux.solid = aux.associative = false;
  aux.pattern.clear();
  aux.paths.clear();
  aux.reactors.clear();
  aux.vertices.clear();
  aux.bulges.clear();
}

bool database_records(const Entity& entity, const DatabaseRefs& refs, DbEntity& e, DbAux& aux) {
  reset(e, aux);
  e.layer = refs.layer;
  e.colour = entity.look.colour < 0 ? kDbColourByLayer : entity.look.colour;
  if (entity.reactor) aux.reactors.push_back(make_handle(entity.reactor.id));
  const bool handled = std::visit(
      Overloaded{
          [&](const PointEntity& p) {
            e.type = kDbPoint;
            e.points[0] = db_point(p.at);
            return true;
          },
          [&](const LineEntity& l) {
            e.type = kDbLine;
            e.points[0] = db_point(l.from);
            e.points[1] = db_point(l.to);
            return true;
          },
          [&](const CircleEntity& c) {
            e.type = kDbCircle;
            e.points[0] = db_point(c.centre);
            e.height = c.radius;
            return true;
          },
          [&](const TextEntity& t) {
            e.type = kDbText;
            placed_text(t.at, t.height, t.style, e);
            e.text.assign(t.text);
            return true;
          },
          [&](const InsertEntity& i) {
            e.type = kDbInsert;
            e.block = refs.block;
            e.points[0] = db_point(i.at);
            if (i.scale) e.width_factor = e.y_scale = e.z_scale = *i.scale;
            e.attributes_follow = i.attributes_follow ? 1 : 0;
            return true;
          },
          [&](const AttribEntity& a) {
            e.type = kDbAttrib;
            placed_text(a.at, a.height, a.style, e);
            e.text.assign(a.value);
            e.tag.assign(a.tag);
            e.flags = a.visible ? 0 : kAttributeInvisible;
            return true;
          },
          [&](const AttdefEntity& a) {
            e.type = kDbAttdef;
            e.points[0] = {0.0, a.y, 0.0};
            e.height = a.height;
            e.tag.assign(a.tag);
            e.prompt = "ENTER " + std::string(a.tag);
            e.field_length = a.width;
            e.flags = kAttdefFlags;
            return true;
          },
          [&](const SequenceEnd&) {
            e.type = kDbSeqend;
            return true;
          },
          [&](const SolidEntity& s) {
            e.type = kDbSolid;
            for (std::size_t k = 0; k < 4; ++k) e.points[k] = db_point(s.corners[k]);
            return true;
          },
          [&](const FaceEntity& f) {
            e.type = kDb3dFace;
            for (std::size_t k = 0; k < 4; ++k) e.points[k] = db_point(f.corners[k]);
            e.flags = f.invisible_edges;
            return true;
          },
          [&](const PolylineEntity& p) {
            polyline(entity.look, p, e, aux);
            return true;
          },
          [&](const HatchEntity& h) {
            hatch(h, e, aux);
            return true;
          },
          [&](const FilledDisc&) { return false; },
      },
      entity.shape);
  if (!handled) return false;
  for (const XdataItem& x : entity.xdata) {
    if (db_put_xdata(e, x.code, x.text) == 0) return false;
  }
  return true;
}

int database_context(const EntityShape& shape) {
  // Numbered by the entity kinds of the writers; a vertex list polyline keeps its header's.
  static constexpr int kContexts[] = {1002, 1003, 1004, 1007, 1008, 1009, 1010, 1033,
                                      1012, 1013, 1005, 1011, 1014};
  static_assert(std::size(kContexts) == std::variant_size_v<EntityShape>);
  return kContexts[shape.index()];
}

DatabaseRecord disc_record(const ReleaseTraits& release, const Entity& entity,
                           const DatabaseRefs& refs) {
  const double r = std::get<FilledDisc>(entity.shape).radius;
  DatabaseRecord disc;
  disc.entity.layer = refs.layer;
  disc.entity.colour = entity.look.colour < 0 ? kDbColourByLayer : entity.look.colour;
  disc.has_aux = true;
  if (release.hatch) {
    // A solid hatch bounded by the full circle.
    disc.entity.type = kDbHatch;
    disc.aux.pattern_name = "SOLID";
    disc.aux.solid = true;
    DbHatchPath path;
    path.circle = DbHatchCircle{{0.0, 0.0}, r};
    disc.aux.paths.push_back(std::move(path));
  } else {
    // A closed polyline of two half circles, as wide as the radius.
    disc.entity.type = kDbPolyline;
    disc.entity.vertex_flags = kDbPolylineClosed;
    disc.entity.start_width = disc.entity.end_width = r;
    disc.aux.vertices = {-r / 2, 0.0, 0.0, r / 2, 0.0, 0.0};
    disc.aux.bulges = {1.0, 1.0};
  }
  return disc;
}

}  // namespace tsn
