// The BLOCKS section frame: section head, layout blocks, block frames and per-feature block names.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "dxf/blocks_section.h"
#include "dxf/dxf_writer.h"
#include "dxf_test_support.h"
#include "settings/name_counter.h"

namespace tsn {
namespace {

using test::CollectingWriter;
using test::Settings;

// The main stream and both block streams of one output, sharing one state as in a conversion.
struct ThreeStreams {
  explicit ThreeStreams(const Settings& o) : c(o) { dxf_reset_handles(c.state); }
  CollectingWriter c;
  StringGroupSink first_sink;
  StringGroupSink second_sink;
  DxfWriter first{c.state, &first_sink};
  DxfWriter second{c.state, &second_sink};
  BlockStreams streams{c.w, first, second};

  const std::string& main_text() const { return c.text(); }
};

TEST(BlocksSection, Release12HasOnlyTheSectionHead) {
  ThreeStreams s(Settings{.verDXF = 4});
  EXPECT_EQ(open_blocks_section(s.streams), 0);
  EXPECT_EQ(s.first_sink.text(), "0\nSECTION\n2\nBLOCKS\n");
  EXPECT_EQ(s.main_text(), "");
  EXPECT_EQ(s.second_sink.text(), "");
  EXPECT_EQ(s.c.state.n_last_handle, kHandleSeedStart);
}

TEST(BlocksSection, Release14DefinesBothLayoutsWithTheirRecords) {
  ThreeStreams s(Settings{.verDXF = 6});
  EXPECT_EQ(open_blocks_section(s.streams), 0);
  // BLOCK 22, its record 23, ENDBLK 24; then 25, 26, 27 for paper space.
  EXPECT_EQ(s.first_sink.text(),
            "0\nSECTION\n2\nBLOCKS\n"
            "0\nBLOCK\n8\n0\n  5\n      22\n100\nAcDbEntity\n100\nAcDbBlockBegin\n"
            "2\n*MODEL_SPACE\n70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n3\n*MODEL_SPACE\n1\n\n"
            "0\nENDBLK\n  5\n      24\n100\nAcDbEntity\n8\n0\n100\nAcDbBlockEnd\n"
            "0\nBLOCK\n8\n0\n  5\n      25\n100\nAcDbEntity\n100\nAcDbBlockBegin\n"
            "2\n*PAPER_SPACE\n70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n3\n*PAPER_SPACE\n1\n\n"
            "0\nENDBLK\n  5\n      27\n100\nAcDbEntity\n8\n0\n100\nAcDbBlockEnd\n");
  EXPECT_EQ(s.main_text(),
            "  0\nBLOCK_RECORD\n  5\n      23\n100\nAcDbSymbolTableRecord\n"
            "100\nAcDbBlockTableRecord\n  2\n*MODEL_SPACE\n"
            "  0\nBLOCK_RECORD\n  5\n      26\n100\nAcDbSymbolTableRecord\n"
            "100\nAcDbBlockTableRecord\n  2\n*PAPER_SPACE\n");
  EXPECT_EQ(s.second_sink.text(), "");
}

TEST(BlocksSection, TidyPrefixesOnTheHead) {
  ThreeStreams s(Settings{.verDXF = 4, .TidyDxf = 1});
  open_blocks_section(s.streams);
  close_blocks_section(s.second);
  EXPECT_EQ(s.first_sink.text(), "  0\nSECTION\n  2\nBLOCKS\n");
  EXPECT_EQ(s.second_sink.text(), "  0\nENDSEC\n");
}

TEST(BlocksSection, NothingOutsideTheTextPath) {
  ThreeStreams s(Settings{.verDXF = 7});
  EXPECT_EQ(open_blocks_section(s.streams), -1);
  EXPECT_EQ(begin_block(s.first, s.c.w, "X", {}, 0), -1);
  EXPECT_EQ(s.first_sink.text(), "");
  EXPECT_EQ(s.main_text(), "");
}

TEST(BlockFrame, Release12BlockAndEndblk) {
  ThreeStreams s(Settings{.verDXF = 4});
  ASSERT_EQ(begin_block(s.first, s.c.w, "ROADS_INFO", {1.5, -2.0, 9.0}, 2), 0);
  ASSERT_EQ(dxf_endblk(s.first), 0);
  // "2D" on and no Z in the record: the base point has no 30 group.
  EXPECT_EQ(s.first_sink.text(),
            "0\nBLOCK\n8\n0\n2\nROADS_INFO\n70\n2\n 10\n1.5\n 20\n-2.0\n"
            "3\nROADS_INFO\n1\n\n"
            "0\nENDBLK\n8\n0\n");
  EXPECT_EQ(s.main_text(), "");
}

TEST(BlockFrame, Release12BasePointCarriesZWhen2DIsOff) {
  ThreeStreams s(Settings{.verDXF = 4, .TidyDxf = 1, .Use2D = 0});
  begin_block(s.first, s.c.w, "B", {0.0, 0.0, 9.25}, 0);
  EXPECT_EQ(s.first_sink.text(),
            "  0\nBLOCK\n  8\n0\n  2\nB\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n9.25\n"
            "  3\nB\n  1\n\n");
}

TEST(BlockFrame, Release14HandlesOfBlockRecordAndEndblkRunInOrder) {
  ThreeStreams s(Settings{.verDXF = 6, .TidyDxf = 1});
  s.c.state.n_last_handle = 0x3F;
  begin_block(s.first, s.c.w, "LEGSYM_POLY", {}, 0);
  dxf_endblk(s.first);
  EXPECT_EQ(s.first_sink.text(),
            "  0\nBLOCK\n  8\n0\n  5\n      40\n100\nAcDbEntity\n100\nAcDbBlockBegin\n"
            "  2\nLEGSYM_POLY\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\nLEGSYM_POLY\n  1\n\n"
            "  0\nENDBLK\n  5\n      42\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockEnd\n");
  EXPECT_EQ(s.main_text(),
            "  0\nBLOCK_RECORD\n  5\n      41\n100\nAcDbSymbolTableRecord\n"
            "100\nAcDbBlockTableRecord\n  2\nLEGSYM_POLY\n");
}

TEST(FeatureBlocks, NamesAdvanceTheCountersFromTheRunningTotals) {
  std::array<std::uint32_t, 4> totals{35, 0, 0, 0};
  NameCounters counters{&totals};
  counters.counts[0] = 6;
  ThreeStreams s(Settings{.verDXF = 4});
  EXPECT_EQ(next_feature_block_name(s.streams, counters, NameKind::polygon, {}).name, "POL00015");
  EXPECT_EQ(next_feature_block_name(s.streams, counters, NameKind::polygon, {}).name, "POL00016");
  EXPECT_EQ(next_feature_block_name(s.streams, counters, NameKind::arc, {}).name, "ARC00000");
  EXPECT_EQ(next_feature_block_name(s.streams, counters, NameKind::fill, {}).name, "FIL00000");
  EXPECT_EQ(next_feature_block_name(s.streams, counters, NameKind::multipoint, {}).name,
            "MPT00000");
  EXPECT_EQ(counters.counts, (std::array<std::uint32_t, 4>{8, 1, 1, 1}));
  EXPECT_EQ(totals, (std::array<std::uint32_t, 4>{35, 0, 0, 0}));
}

TEST(FeatureBlocks, FillBlocksGoToTheSecondStreamAtTheOrigin) {
  std::array<std::uint32_t, 4> totals{0, 0, 37, 0};
  NameCounters counters{&totals};
  ThreeStreams s(Settings{.verDXF = 4, .Use2D = 0});
  const FeatureBlock fil =
      next_feature_block_name(s.streams, counters, NameKind::fill, {5.0, 6.0, 7.0});
  EXPECT_EQ(fil.result, 0);
  EXPECT_EQ(fil.name, "FIL00011");
  EXPECT_EQ(&feature_block_stream(s.streams, NameKind::fill), &s.second);
  EXPECT_EQ(s.second_sink.text(),
            "0\nBLOCK\n8\n0\n2\nFIL00011\n70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n"
            "3\nFIL00011\n1\n\n");
  EXPECT_EQ(s.first_sink.text(), "");
}

TEST(FeatureBlocks, OtherKindsGoToTheFirstStreamAtTheirPointMultipointsFlat) {
  std::array<std::uint32_t, 4> totals{0, 0, 0, 0};
  NameCounters counters{&totals};
  ThreeStreams s(Settings{.verDXF = 6});
  next_feature_block_name(s.streams, counters, NameKind::arc, {5.0, 6.0, 7.0});
  next_feature_block_name(s.streams, counters, NameKind::multipoint, {1.0, 2.0, 3.0});
  EXPECT_EQ(&feature_block_stream(s.streams, NameKind::polygon), &s.first);
  EXPECT_EQ(s.first_sink.text(),
            "0\nBLOCK\n8\n0\n  5\n      22\n100\nAcDbEntity\n100\nAcDbBlockBegin\n"
            "2\nARC00000\n70\n0\n 10\n5.0\n 20\n6.0\n 30\n7.0\n3\nARC00000\n1\n\n"
            "0\nBLOCK\n8\n0\n  5\n      24\n100\nAcDbEntity\n100\nAcDbBlockBegin\n"
            "2\nMPT00000\n70\n0\n 10\n1.0\n 20\n2.0\n 30\n0.0\n3\nMPT00000\n1\n\n");
  EXPECT_EQ(s.main_text(),
            "  0\nBLOCK_RECORD\n  5\n      23\n100\nAcDbSymbolTableRecord\n"
            "100\nAcDbBlockTableRecord\n  2\nARC00000\n"
            "  0\nBLOCK_RECORD\n  5\n      25\n100\nAcDbSymbolTableRecord\n"
            "100\nAcDbBlockTableRecord\n  2\nMPT00000\n");
  EXPECT_EQ(s.second_sink.text(), "");
}

}  // namespace
}  // namespace tsn
