// Drawings built through the database's operations for the tests: a session with the shipped
// initialisation file, and a drawing with one entity of every kind.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "drawdb/drawdb.h"
#include "drawdb/init_file.h"
#include "support/scratch_dir.h"

namespace tsn::test {

// db_init with the default file written into dir; db_shutdown at the end of the scope.
class DbSessionScope {
 public:
  explicit DbSessionScope(const ScratchDir& dir) {
    const auto path = dir / "adinit2k.dat";
    write_file(path, std::string(default_init_text()));
    int error = -1;
    ok_ = db_init(path.string(), 0, &error) != 0 && error == 0;
  }
  ~DbSessionScope() { db_shutdown(); }
  DbSessionScope(const DbSessionScope&) = delete;
  DbSessionScope& operator=(const DbSessionScope&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

inline DbEntityList model_space(Drawing* d) {
  DbHandle h;
  DbEntityList list;
  EXPECT_NE(db_find_block(d, "*MODEL_SPACE", h), 0);
  EXPECT_NE(db_block_entities(d, h, list), 0);
  return list;
}

inline DbEntity entity(Drawing* d, int type, const DbHandle& layer) {
  DbEntity e;
  e.type = type;
  EXPECT_NE(db_init_entity(d, e, nullptr), 0);
  e.layer = layer;
  return e;
}

inline void add(Drawing* d, DbEntityList list, DbEntity e, const DbAux* aux = nullptr) {
  EXPECT_NE(db_add_entity(d, list, e, aux), 0) << db_error_text(db_last_error());
}

// The light-weight polyline of `n` vertices (x, x * x) in a data list.
inline DbHandle add_lwpolyline(Drawing* d, DbEntityList list, const DbHandle& layer, int n,
                               const DbAux* aux = nullptr, bool closed = false,
                               double width = 0.0) {
  DbEntity e = entity(d, kDbLwpolyline, layer);
  e.closed = closed;
  e.start_width = width;
  DbDataList data;
  EXPECT_NE(db_new_list(d, data), 0);
  EXPECT_NE(db_open_list(d, data), 0);
  for (int i = 0; i < n; ++i) {
    const double xy[2] = {1.0 * i, 1.0 * i * i};
    EXPECT_NE(db_list_put(d, data, xy, sizeof xy), 0);
  }
  EXPECT_NE(db_close_list(d, data), 0);
  EXPECT_NE(db_add_entity_list(d, list, e, aux, data), 0) << db_error_text(db_last_error());
  return e.handle;
}

// Every entity kind: POINT, LINE, CIRCLE, justified TEXT, SOLID, 3DFACE, 2D and 3D POLYLINE,
// LWPOLYLINE (wide, one arc), a block with an ATTDEF inserted with an ATTRIB, a solid and a pattern HATCH
// associated with their outlines, extended data of a registered application, and a wide
// polyline of arcs and a hatch bounded by a circle.
inline Drawing* sample_drawing(int generation) {
  Drawing* d = db_new_drawing(generation);
  EXPECT_NE(d, nullptr);
  DbLayer layer;
  db_init_layer(d, layer);
  layer.name = "ROADS";
  layer.colour = 3;
  EXPECT_NE(db_add_layer(d, layer), 0);
  DbRegapp app;
  db_init_regapp(d, app);
  app.name = "TESSARYN";
  EXPECT_NE(db_add_regapp(d, app), 0);
  const DbEntityList ms = model_space(d);
  const DbHandle l = layer.handle;

  DbEntity point = entity(d, kDbPoint, l);
  point.points[0] = {1.5, 2.25, 0.0};
  EXPECT_NE(db_put_xdata(point, 1001, std::string_view("TESSARYN")), 0);
  EXPECT_NE(db_put_xdata(point, 1000, std::string_view("Main Street")), 0);
  EXPECT_NE(db_put_xdata(point, 1040, 12.5), 0);
  EXPECT_NE(db_put_xdata(point, 1070, 7L), 0);
  EXPECT_NE(db_put_xdata(point, 1071, 70000L), 0);
  add(d, ms, point);
  DbEntity line = entity(d, kDbLine, l);
  line.colour = 1;
  line.points[0] = {0, 0, 0};
  line.points[1] = {10, 5, 0};
  add(d, ms, line);
  DbEntity circle = entity(d, kDbCircle, l);
  circle.points[0] = {4, 4, 0};
  circle.height = 2.0;
  add(d, ms, circle);
  DbEntity text = entity(d, kDbText, l);
  text.points[0] = {5, 5, 0};
  text.height = 1.0;
  text.text = "Centre";
  text.h_justify = 1;
  text.v_justify = 2;
  EXPECT_NE(db_align_text(d, text), 0);
  add(d, ms, text);
  DbEntity solid = entity(d, kDbSolid, l);
  solid.points = {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}};
  add(d, ms, solid);
  DbEntity face = entity(d, kDb3dFace, l);
  face.points = {{{0, 0, 1}, {1, 0, 2}, {1, 1, 3}, {0, 1, 4}}};
  face.flags = 5;
  add(d, ms, face);
  for (const bool three_d : {false, true}) {
    DbEntity poly = entity(d, kDbPolyline, l);
    poly.vertex_flags = three_d ? kDbPolyline3d : kDbPolylineClosed;
    add(d, ms, poly);
    for (int i = 0; i < 3; ++i) {
      DbEntity v = entity(d, kDbVertex, l);
      v.points[0] = {1.0 * i, 2.0 + i, three_d ? 0.5 * i : 0.0};
      v.vertex_flags = three_d ? kDbVertex3d : 0;
      v.bulge = !three_d && i == 1 ? 0.5 : 0.0;
      add(d, ms, v);
    }
    add(d, ms, entity(d, kDbSeqend, l));
  }
  DbAux arcs;
  arcs.bulges = {0.0, -0.5, 0.0, 0.0};
  add_lwpolyline(d, ms, l, 4, &arcs, false, 0.25);

  DbBlockHeader block;
  db_init_blockheader(d, block);
  block.name = "MARK";
  EXPECT_NE(adAddBlockheader(d, block), 0);
  DbEntity attdef = entity(d, kDbAttdef, make_handle(0));
  EXPECT_NE(db_find_layer(d, "0", attdef.layer), 0);
  attdef.height = 0.5;
  attdef.tag = "NAME";
  attdef.prompt = "ENTER NAME";
  attdef.flags = 1;
  attdef.field_length = 10;
  add(d, block.entities, attdef);
  DbEntity mark = entity(d, kDbCircle, attdef.layer);
  mark.height = 0.25;
  add(d, block.entities, mark);
  DbEntity insert = entity(d, kDbInsert, l);
  insert.block = block.handle;
  insert.points[0] = {8, 8, 0};
  insert.attributes_follow = 1;
  insert.width_factor = insert.y_scale = insert.z_scale = 2.0;
  add(d, ms, insert);
  DbEntity attrib = entity(d, kDbAttrib, l);
  attrib.points[0] = {8, 8, 0};
  attrib.height = 0.5;
  attrib.text = "Oak";
  attrib.tag = "NAME";
  add(d, ms, attrib);
  add(d, ms, entity(d, kDbSeqend, l));

  for (const bool solid_fill : {true, false}) {
    DbHandle hatch_handle;
    EXPECT_NE(db_new_handle(d, hatch_handle), 0);
    DbAux outline_aux;
    outline_aux.reactors = {hatch_handle};
    const DbHandle outline = add_lwpolyline(d, ms, l, 3, &outline_aux, true);
    DbEntity hatch = entity(d, kDbHatch, l);
    hatch.handle = hatch_handle;
    DbAux aux;
    aux.solid = solid_fill;
    aux.associative = true;
    aux.pattern_name = solid_fill ? "SOLID" : "ANSI31";
    if (!solid_fill) aux.pattern = {{45.0, 0.0, 0.0, -2.2, 2.2, {}}};
    aux.paths = {{{{0.0, 0.0}, {1.0, 1.0}, {2.0, 4.0}}, {outline}, {}}};
    add(d, ms, hatch, &aux);
  }

  // A filled disc two ways: a closed wide polyline of two half circles, a hatch in a circle.
  DbEntity dot = entity(d, kDbPolyline, l);
  dot.colour = kDbColourByBlock;
  dot.vertex_flags = kDbPolylineClosed;
  dot.start_width = dot.end_width = 0.5;
  DbAux dot_aux;
  dot_aux.vertices = {-0.25, 0.0, 0.0, 0.25, 0.0, 0.0};
  dot_aux.bulges = {1.0, 1.0};
  add(d, ms, dot, &dot_aux);
  DbEntity disc = entity(d, kDbHatch, l);
  DbAux disc_aux;
  disc_aux.solid = true;
  disc_aux.paths = {{{}, {}, DbHatchCircle{{0.0, 0.0}, 0.5}}};
  add(d, ms, disc, &disc_aux);
  return d;
}

}  // namespace tsn::test
