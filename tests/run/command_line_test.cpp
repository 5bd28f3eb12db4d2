// Tests of command-line splitting, switch recognition and the command grammar.
#include "run/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tsn {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Tokens = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateQuotesGroupAndEmptyTokensAreSkipped) {
  const std::pair<const char*, Tokens> cases[] = {
      {"  /T=0\troads.shp\nout.dxf  ", {"/T=0", "roads.shp", "out.dxf"}},
      {" \t\n ", {}},
      {"a \"\" b", {"a", "b"}},
      {"-T \"my data/main roads.shp\" \"a\tb\nc\"", {"-T", "my data/main roads.shp", "a\tb\nc"}},
      // Text before a quote is dropped; the closing quote ends the token; an open one runs on.
      {"prefix\"roads.shp\"", {"roads.shp"}},
      {"x\"y\"z", {"y", "z"}},
      {"in.shp \"my out.dxf", {"in.shp", "my out.dxf"}},
  };
  for (const auto& [line, tokens] : cases) EXPECT_EQ(split_command_line(line), tokens) << line;
}

TEST(SplitCommandLine, KeepsOnlyTheFirst64Tokens) {
  std::string line;
  for (int i = 0; i < 70; ++i) line += "t" + std::to_string(i) + " ";
  const Tokens tokens = split_command_line(line);
  ASSERT_EQ(tokens.size(), 64u);
  EXPECT_EQ(tokens.front(), "t0");
  EXPECT_EQ(tokens.back(), "t63");
}

TEST(IsSwitch, DashOrSlashUnlessAPathOrADataFileName) {
  for (const char* token : {"-h", "-", "/T=0", "/X", "/L=roads/main", "/TF=fonts/romans.shx"}) {
    EXPECT_TRUE(is_switch(token)) << token;
  }
  for (const char* token : {"/abs/path/roads.shp", "/data/jobs/commands", "/x.shp", "/x.DBF",
                            "/x.csv", "/x.Dxf", "/x.dwg", "roads.shp", "", "@jobs.txt"}) {
    EXPECT_FALSE(is_switch(token)) << token;
  }
}

TEST(ParseRequest, FaultsAreNumberedByTheMessageThatExplainsThem) {
  const std::pair<Tokens, int> cases[] = {
      {{"@jobs.txt", "/H"}, 37}, {{"/T=0", "@jobs.txt"}, 37},
      {{"roads.txt", "@jobs.txt"}, 37},  // reported even where the rest is also wrong
      {{"/T=0"}, 175}, {{"/T=0", "-C=1", "/L=roads/main"}, 175},
      {{"in.shp", "/T=0", "out.dxf"}, 175}, {{"in.shp", "out.dxf", "/T=0", "x.dxf"}, 175},
      {{"in.shp", "out.dxf", "other.dxf"}, 175},
      {{"roads.txt"}, 176}, {{"/T=0", "roads"}, 176}, {{"roads.shp.bak", "out.dxf"}, 176},
  };
  for (const auto& [tokens, message] : cases) {
    ConversionRequest request;
    EXPECT_EQ(parse_request(tokens, 0, request), message) << testing::PrintToString(tokens);
  }
}

TEST(ParseRequest, SwitchesMayFollowTheOutputFile) {
  ConversionRequest request;
  ASSERT_EQ(parse_request({"/C=1", "roads.shp", "out.dxf", "/L=ROADS", "/REL=14"}, 1, request), 0);
  EXPECT_EQ(request.output_path, "out.dxf");
  EXPECT_EQ(request.save_file_type, 0);
  EXPECT_EQ(request.switches, (Tokens{"/C=1", "/L=ROADS", "/REL=14"}));
}

TEST(ParseRequest, NoTokensCommentAndCommandFile) {
  ConversionRequest request;
  EXPECT_EQ(parse_request({}, 0, request), 0);
  EXPECT_EQ(request.kind, RequestKind::interactive);
  EXPECT_EQ(parse_request({";roads.shp", "@x"}, 0, request), 0);
  EXPECT_EQ(request.kind, RequestKind::comment);
  ASSERT_EQ(parse_request({"/T=0", "a.shp"}, 0, request), 0);
  EXPECT_EQ(parse_request({"@jobs/night run.txt"}, 0, request), 0);
  EXPECT_EQ(request.kind, RequestKind::command_file);
  EXPECT_EQ(request.command_file, "jobs/night run.txt");
  // A reused request starts afresh.
  EXPECT_TRUE(request.input_path.empty());
  EXPECT_THAT(request.switches, IsEmpty());
}

TEST(ParseRequest, ExtensionsSetTheInputTypeAndChooseTheOutputTypeOtherwiseItIsKept) {
  // The tokens, the current output type, the input type and the output type chosen.
  const std::tuple<Tokens, int, int, int> cases[] = {
      {{"/C=1", "data/Roads.SHP", "maps/Roads.DWG"}, 0, 0, 1},
      {{"wells.Dbf", "wells.dxf"}, 1, 1, 0},
      {{"points.csv", "points.out"}, 1, 2, 1},
      {{"roads.shp", "roads"}, 0, 0, 0},
  };
  for (const auto& [tokens, current, input_type, chosen] : cases) {
    SCOPED_TRACE(tokens.back());
    ConversionRequest request;
    ASSERT_EQ(parse_request(tokens, current, request), 0);
    EXPECT_EQ(request.kind, RequestKind::convert);
    EXPECT_EQ(request.input_path, tokens[tokens.size() - 2]);
    EXPECT_EQ(request.input_file_type, input_type);
    EXPECT_EQ(request.output_path, tokens.back());
    EXPECT_EQ(request.save_file_type, chosen);
  }
}

TEST(ParseRequest, WithoutOutputFileTheInputGetsTheCurrentExtension) {
  ConversionRequest request;
  ASSERT_EQ(parse_request(split_command_line("-T=0 \"my maps.v2/main roads.shp\""), 1, request), 0);
  EXPECT_EQ(request.output_path, "my maps.v2/main roads.dwg");
  EXPECT_EQ(request.save_file_type, 1);

  ASSERT_EQ(parse_request({"/L=roads/main", "/abs/path/roads.shp", "-C=1", "/T=0"}, 0, request), 0);
  EXPECT_EQ(request.input_path, "/abs/path/roads.shp");
  EXPECT_EQ(request.output_path, "/abs/path/roads.dxf");
  EXPECT_THAT(request.switches, ElementsAre("/L=roads/main", "-C=1", "/T=0"));
}

}  // namespace
}  // namespace tsn
