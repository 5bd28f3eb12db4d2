// The handle counter, the reserved handle and the release 14 markers, reactors and pointers.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "dxf/dxf_writer.h"
#include "dxf/entity_types.h"
#include "dxf/output_mode.h"
#include "dxf_test_support.h"

namespace tsn {
namespace {

using test::CollectingWriter;
using test::Settings;

TEST(HandleCounter, StartsAt33SoTheFirstHandleIs22Hex) {
  DxfState s;
  s.n_last_handle = 500;
  dxf_reset_handles(s);
  EXPECT_EQ(s.n_last_handle, 33u);
  EXPECT_EQ(dxf_new_handle(s), 0x22u);
  EXPECT_EQ(dxf_new_handle(s), 0x23u);
  EXPECT_EQ(s.n_last_handle, 0x23u);
}

TEST(HandleCounter, ReservedHandleIsIssuedAheadAndTheCounterRunsOn) {
  CollectingWriter c(Settings{.verDXF = 6});
  dxf_reset_handles(c.state);
  dxf_entity_handle(c.w);                         // 22
  EXPECT_EQ(dxf_reserve_handle(c.state), 0x23u);  // the hatch
  dxf_soft_pointer(c.w, c.state.n_reserved_handle);
  dxf_entity_handle(c.w);   // 24, a boundary
  dxf_reserved_handle(c.w); // the hatch itself: 23 again, no new handle
  dxf_entity_handle(c.w);   // 25
  EXPECT_EQ(c.text(),
            "  5\n      22\n100\nAcDbEntity\n"
            "330\n      23\n"
            "  5\n      24\n100\nAcDbEntity\n"
            "  5\n      23\n100\nAcDbEntity\n"
            "  5\n      25\n100\nAcDbEntity\n");
  EXPECT_EQ(c.state.n_last_handle, 0x25u);
}

TEST(HandleCounter, HandlesPastNineAreUpperCaseHex) {
  CollectingWriter c(Settings{.verDXF = 6});
  c.state.n_last_handle = 0x2E;
  dxf_entity_handle(c.w);
  c.state.n_last_handle = 0xFFFFFFFEu;
  dxf_entity_handle(c.w);
  EXPECT_EQ(c.text(), "  5\n      2F\n100\nAcDbEntity\n  5\nFFFFFFFF\n100\nAcDbEntity\n");
}

TEST(Markers, SymbolTablesAndTheirRecords) {
  CollectingWriter c(Settings{.verDXF = 6, .TidyDxf = 0});
  dxf_reset_handles(c.state);
  dxf_table_handle(c.w);
  dxf_table_record_handle(c.w, "Layer");
  dxf_table_record_handle(c.w, "TextStyle");
  EXPECT_EQ(c.text(),
            "  5\n      22\n100\nAcDbSymbolTable\n"
            "  5\n      23\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n"
            "  5\n      24\n100\nAcDbSymbolTableRecord\n100\nAcDbTextStyleTableRecord\n");
}

TEST(Markers, SubclassAndBlockMarkers) {
  CollectingWriter c(Settings{.verDXF = 6});
  dxf_subclass(c.w, "2dPolyline");
  dxf_block_begin_marker(c.w);
  dxf_block_end_marker(c.w);
  EXPECT_EQ(c.text(), "100\nAcDb2dPolyline\n100\nAcDbBlockBegin\n100\nAcDbBlockEnd\n");
}

TEST(Markers, ReactorsListEveryOwner) {
  CollectingWriter c(Settings{.verDXF = 6});
  const std::array<std::uint32_t, 2> owners = {0x19, 0x1B};
  dxf_reactors(c.w, owners);
  dxf_reactors(c.w, {});
  EXPECT_EQ(c.text(),
            "102\n{ACAD_REACTORS\n330\n      19\n330\n      1B\n102\n}\n"
            "102\n{ACAD_REACTORS\n102\n}\n");
}

TEST(Markers, WriteNothingAndIssueNoHandleOutsideRelease14Text) {
  const Settings outside[] = {
      {.verDXF = 4},                    // release 12 text
      {.verDXF = 6, .SaveFileType = 1}, // release 14 DWG
      {.verDXF = 7},                    // release 2000 through the database
  };
  for (const Settings& o : outside) {
    CollectingWriter c(o);
    dxf_reset_handles(c.state);
    const std::array<std::uint32_t, 1> owner = {0x19};
    dxf_entity_handle(c.w);
    dxf_reserved_handle(c.w);
    dxf_subclass(c.w, "Line");
    dxf_table_handle(c.w);
    dxf_table_record_handle(c.w, "Layer");
    dxf_block_begin_marker(c.w);
    dxf_block_end_marker(c.w);
    dxf_reactors(c.w, owner);
    dxf_soft_pointer(c.w, 0x19);
    EXPECT_EQ(c.text(), "") << "verDXF " << o.verDXF << " type " << o.SaveFileType;
    EXPECT_EQ(c.state.n_last_handle, kHandleSeedStart);
  }
  CollectingWriter merged(Settings{.verDXF = 6}, /*merge_group_active=*/true);
  dxf_entity_handle(merged.w);
  EXPECT_EQ(merged.text(), "");
}

TEST(OutputMode, TextPathOnlyForDxfRelease12And14OutsideMergeGroups) {
  ConvSettings s;
  s.SaveFileType = 0;
  s.verDXF = 4;
  EXPECT_TRUE(uses_text_path(s, false));
  EXPECT_FALSE(r14_text_mode(s, false));
  s.verDXF = 6;
  EXPECT_TRUE(uses_text_path(s, false));
  EXPECT_TRUE(r14_text_mode(s, false));
  EXPECT_FALSE(uses_text_path(s, true));
  EXPECT_FALSE(r14_text_mode(s, true));
  s.verDXF = 7;
  EXPECT_FALSE(uses_text_path(s, false));
  s.verDXF = 5;
  EXPECT_FALSE(uses_text_path(s, false));
  s.verDXF = 6;
  s.SaveFileType = 1;
  EXPECT_FALSE(uses_text_path(s, false));
  EXPECT_FALSE(r14_text_mode(s, false));
}

TEST(EntityTypes, NamesAndSubclassesFollowTheTable) {
  EXPECT_EQ(entity_type_info(0), nullptr);
  EXPECT_EQ(entity_type_info(27), nullptr);
  EXPECT_EQ(entity_type_info(kEntLine)->dxf_name, "LINE");
  EXPECT_EQ(entity_type_info(kEntArc)->subclass, "Circle");
  EXPECT_EQ(entity_type_info(kEntSolid)->subclass, "Trace");
  EXPECT_EQ(entity_type_info(kEntLine2)->dxf_name, "LINE");
  EXPECT_EQ(entity_type_info(kEntLine2)->subclass, "");
  EXPECT_EQ(entity_type_info(kEnt3dFace)->dxf_name, "3DFACE");
  EXPECT_EQ(entity_type_info(kEnt3dFace)->subclass, "Face");
  EXPECT_EQ(entity_type_info(kEntInsert)->subclass, "BlockReference");
  EXPECT_EQ(entity_type_info(kEntSolid2)->dxf_name, "SOLID");
  EXPECT_EQ(entity_type_info(kEntHatch)->dxf_name, "HATCH");
}

}  // namespace
}  // namespace tsn
