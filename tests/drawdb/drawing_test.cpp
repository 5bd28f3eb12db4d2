// The drawing database's operations: handles and owners in the saved file, refused entities
// and their error texts, dissolving a block into model space, failed saves, storage size.
#include <malloc.h>

#include <algorithm>
#include <map>
#include <set>

#include "dxf_reading.h"
#include "sample_drawing.h"

namespace tsn::test {
namespace {

std::uint32_t hex(const std::string& s) {
  return static_cast<std::uint32_t>(std::stoul(s, nullptr, 16));
}

TEST(DrawingDatabase, HandlesAreUniqueAndBelowTheSeedAndEveryEntityHasItsOwner) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  Drawing* d = sample_drawing(7);
  DbHandle a, b;
  ASSERT_NE(db_new_handle(d, a), 0);
  ASSERT_NE(db_new_handle(d, b), 0);
  EXPECT_EQ(handle_value(b), handle_value(a) + 1);
  ASSERT_NE(adSaveFile(d, (dir / "h.dxf").string(), 1, 7, 6, 1), 0);
  const auto groups = dxf_groups(read_file(dir / "h.dxf"));

  std::set<std::uint32_t> handles;
  std::uint32_t seed = 0;
  std::map<std::string, std::uint32_t> record_of;  // block name -> BLOCK_RECORD handle
  std::string section, type, last_name;
  std::uint32_t handle = 0, owner_insert = 0, block_record = 0;
  std::vector<std::pair<std::string, std::uint32_t>> owners;  // "section/type", owner
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const Group& g = groups[i];
    if (g.code == 0) type = g.value;
    if (g.code == 2 && i > 0 && groups[i - 1].value == "SECTION") section = g.value;
    if (g.code == 9 && g.value == "$HANDSEED") seed = hex(groups[i + 1].value);
    if ((g.code == 5 || g.code == 105) && section != "HEADER") {
      handle = hex(g.value);
      EXPECT_TRUE(handles.insert(handle).second) << "handle " << g.value << " twice";
    }
    if (type == "BLOCK_RECORD" && g.code == 2) record_of[g.value] = handle;
    if (type == "BLOCK" && g.code == 330) block_record = hex(g.value);
    // The owner follows the handle, or the reactors that follow the handle.
    const bool after_head = i > 0 && (groups[i - 1].code == 5 || groups[i - 1].value == "}");
    if (g.code == 330 && after_head &&
        (section == "ENTITIES" || section == "BLOCKS") && type != "BLOCK" && type != "ENDBLK") {
      owners.emplace_back(section + "/" + type, hex(g.value));
      if (type == "INSERT" || type == "POLYLINE") owner_insert = handle;
      if (type == "ATTRIB" || type == "VERTEX" || type == "SEQEND") {
        EXPECT_EQ(hex(g.value), owner_insert) << type << " " << handle;
      } else if (section == "ENTITIES") {
        EXPECT_EQ(hex(g.value), record_of["*Model_Space"]) << type;
      } else {
        EXPECT_EQ(hex(g.value), block_record) << type;
      }
    }
  }
  EXPECT_NE(record_of.count("MARK"), 0u);
  EXPECT_EQ(std::count_if(owners.begin(), owners.end(),
                          [](const auto& o) { return o.first == "BLOCKS/ATTDEF"; }),
            1);
  EXPECT_GE(owners.size(), 25u);
  ASSERT_FALSE(handles.empty());
  EXPECT_GT(seed, *handles.rbegin());
  EXPECT_GT(seed, handle_value(b));
}

TEST(DrawingDatabase, RefusedCallsFailWithTheirErrorText) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  Drawing* d = sample_drawing(7);
  const DbEntityList ms = model_space(d);
  DbHandle layer0;
  ASSERT_NE(db_find_layer(d, "0", layer0), 0);
  DbDataList closed_list;
  ASSERT_NE(db_new_list(d, closed_list), 0);
  DbHandle used;
  ASSERT_NE(db_new_handle(d, used), 0);
  DbEntity first = entity(d, kDbPoint, layer0);
  first.handle = used;
  ASSERT_NE(db_add_entity(d, ms, first, nullptr), 0);

  struct Case {
    const char* what;
    std::function<int()> call;
    std::string_view text;
  };
  const std::vector<Case> cases = {
      {"unknown type", [&] { DbEntity e = entity(d, kDbPoint, layer0); e.type = 99;
                             return db_add_entity(d, ms, e, nullptr); }, "Unknown entity type"},
      {"no layer", [&] { DbEntity e = entity(d, kDbLine, make_handle(0xFFFF));
                         return db_add_entity(d, ms, e, nullptr); }, "Entity refused: no layer"},
      {"no list", [&] { DbEntity e = entity(d, kDbLine, layer0);
                        return db_add_entity(d, DbEntityList{999}, e, nullptr); },
       "No such entity list"},
      {"list not open", [&] { const double v = 1.0;
                              return db_list_put(d, closed_list, &v, sizeof v); },
       "Data list not open"},
      {"vertex alone", [&] { DbEntity e = entity(d, kDbVertex, layer0);
                             return db_add_entity(d, ms, e, nullptr); },
       "Entity refused: VERTEX or SEQEND without an open polyline"},
      {"xdata unregistered", [&] { DbEntity e = entity(d, kDbPoint, layer0);
                                   db_put_xdata(e, 1001, std::string_view("NOBODY"));
                                   return db_add_entity(d, ms, e, nullptr); },
       "Extended data must begin with a registered application name"},
      {"handle twice", [&] { DbEntity e = entity(d, kDbPoint, layer0);
                             e.handle = used;
                             return db_add_entity(d, ms, e, nullptr); }, "Handle already in use"},
      {"insert of model space", [&] { DbEntity e = entity(d, kDbInsert, layer0);
                                      db_find_block(d, "*MODEL_SPACE", e.block);
                                      return db_add_entity(d, ms, e, nullptr); },
       "No such block"},
      {"bulge missing", [&] { DbEntity e = entity(d, kDbLwpolyline, layer0);
                              DbAux aux;
                              aux.vertices = {0, 0, 1, 1};
                              aux.bulges = {1.0};
                              return db_add_entity(d, ms, e, &aux); },
       "Polyline refused: the number of bulges differs from the number of vertices"},
      {"circle of no radius", [&] { DbEntity e = entity(d, kDbHatch, layer0);
                                    DbAux aux;
                                    aux.paths = {{{}, {}, DbHatchCircle{{1.0, 1.0}, 0.0}}};
                                    return db_add_entity(d, ms, e, &aux); },
       "Hatch refused: a boundary path needs three vertices, or a circle of positive radius and "
       "no vertices"},
      {"DWG 13", [&] { return adSaveFile(d, (dir / "x.dwg").string(), 0, 5, 0, 0); },
       "DWG output of that release is not written"},
      {"no directory", [&] { return adSaveFile(d, (dir / "no" / "x.dxf").string(), 1, 7, 6, 0); },
       "Cannot write file"},
      {"disk full", [&] { return adSaveFile(d, "/dev/full", 1, 7, 6, 0); }, "Cannot write file"},
      {"DWG, disk full", [&] { return adSaveFile(d, "/dev/full", 0, 7, 0, 0); },
       "Cannot write file"},
      {"release 13", [&] { return adSaveFile(d, (dir / "x.dxf").string(), 1, 5, 6, 0); },
       "Release must be 4, 6 or 7"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.call(), 0) << c.what;
    EXPECT_GT(db_last_error(), 0) << c.what;
    EXPECT_LE(db_last_error(), 307) << c.what;
    EXPECT_EQ(db_error_text(db_last_error()), c.text) << c.what;
  }
  EXPECT_EQ(db_error_text(308), "Error number out of range");
  EXPECT_EQ(db_error_text(-1), "Error number out of range");
  EXPECT_NE(db_error_text(307), "Error number out of range");
}

// The label block's dissolve: read, delete, re-handle, add to model space, delete the block.
TEST(DrawingDatabase, DissolvedBlockEntitiesFollowAllOthersInModelSpace) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  Drawing* d = db_new_drawing(7);
  const DbEntityList ms = model_space(d);
  DbHandle layer0;
  ASSERT_NE(db_find_layer(d, "0", layer0), 0);
  DbBlockHeader block;
  db_init_blockheader(d, block);
  block.name = "TEMP_ANNOT";
  ASSERT_NE(adAddBlockheader(d, block), 0);
  std::vector<std::uint64_t> old_handles;
  for (const char* label : {"A", "B", "C"}) {
    DbEntity t = entity(d, kDbText, layer0);
    t.text = label;
    t.height = 1.0;
    add(d, block.entities, t);
    old_handles.push_back(handle_value(t.handle));
    add(d, ms, entity(d, kDbLine, layer0));  // model space keeps growing meanwhile
  }
  DbCursor cursor;
  DbEntity e;
  int moved = 0;
  while (db_read_block_entity(d, block.entities, cursor, e, nullptr) != 0) {
    ASSERT_NE(db_delete_entity(d, block.entities, e.handle), 0);
    if (e.type == kDbBlock || e.type == kDbEndblk) continue;
    ASSERT_NE(db_new_handle(d, e.handle), 0);
    ASSERT_NE(db_add_entity(d, ms, e, nullptr), 0) << db_error_text(db_last_error());
    ++moved;
  }
  EXPECT_EQ(moved, 3);
  ASSERT_NE(db_delete_block(d, block.handle), 0);
  DbHandle gone;
  EXPECT_EQ(db_find_block(d, "TEMP_ANNOT", gone), 0);

  std::string order;
  DbCursor all;
  while (db_read_block_entity(d, ms, all, e, nullptr) != 0) {
    if (e.type == kDbText) {
      order += e.text;
      EXPECT_EQ(std::count(old_handles.begin(), old_handles.end(), handle_value(e.handle)), 0);
    } else if (e.type == kDbLine) {
      order += "-";
    }
  }
  EXPECT_EQ(order, "---ABC");
  ASSERT_NE(adSaveFile(d, (dir / "m.dxf").string(), 1, 7, 6, 0), 0);
  EXPECT_EQ(read_file(dir / "m.dxf").find("TEMP_ANNOT"), std::string::npos);
}

// Heap growth of 200,000 light-weight polylines of 10 and of 20 vertices: what one entity and
// one vertex cost.
TEST(DrawingDatabase, EntitiesAndVerticesAreStoredCompactly) {
  ScratchDir dir;
  DbSessionScope session(dir);
  ASSERT_TRUE(session.ok());
  constexpr int kCount = 200000;
  const auto grow = [](int vertices) {
    Drawing* d = db_new_drawing(7);
    const DbEntityList ms = model_space(d);
    DbHandle layer0;
    db_find_layer(d, "0", layer0);
    const auto heap = [] {
      const struct mallinfo2 m = mallinfo2();
      return m.uordblks + m.hblkhd;  // large blocks are mapped apart from the arena
    };
    const std::size_t before = heap();
    DbEntity e = entity(d, kDbLwpolyline, layer0);
    for (int i = 0; i < kCount; ++i) {
      DbDataList list;
      db_new_list(d, list);
      db_open_list(d, list);
      for (int v = 0; v < vertices; ++v) {
        const double xy[2] = {1.0 * v, 1.0 * i};
        db_list_put(d, list, xy, sizeof xy);
      }
      db_close_list(d, list);
      e.handle = {};
      if (db_add_entity_list(d, ms, e, nullptr, list) == 0) return 0.0;
    }
    const double grown = static_cast<double>(heap() - before);
    db_close_drawing(d);
    return grown;
  };
  const double ten = grow(10), twenty = grow(20);
  // A sanitizer's allocator keeps the heap apart from what mallinfo2 counts.
  if (ten == 0.0 && twenty == 0.0) GTEST_SKIP() << "the allocator reports no use";
  const double per_vertex = (twenty - ten) / (10.0 * kCount);
  const double per_entity = (ten - 10.0 * kCount * per_vertex) / kCount;
  std::printf("bytes per entity %.1f, per vertex %.1f\n", per_entity, per_vertex);
  EXPECT_GT(per_vertex, 15.0);  // the two doubles are there
  EXPECT_LE(per_vertex, 40.0);
  EXPECT_LE(per_entity, 200.0);
}

}  // namespace
}  // namespace tsn::test
