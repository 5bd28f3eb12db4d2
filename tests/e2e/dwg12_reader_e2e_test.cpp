// The tests' own reader of release 12 DWG (tests/e2e/dwg12_read.py), on which the release 12
// output checks rely: it reads the real release 12 samples with no problem, and it reports a
// flipped byte in the header, a table record, an entity and a block entity, and a cut file.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "support/shell.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;
using test::quoted;

const fs::path kSamples = fs::path(TSN_TESTDATA_DIR) / "cad-samples";
const std::string kReader = std::string(TSN_SOURCE_DIR) + "/tests/e2e/dwg12_read.py";

std::uint32_t rl(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

struct Damage {
  const char* what;
  std::size_t (*where)(const std::string&);  // the byte to flip; 0 cuts the file in half
  const char* reported;                      // a word of the problem the reader must give
};

// Offsets from the file header: entities start at 0x14, block entities at 0x1C, the LAYER
// table at the address in its descriptor (0x36 + 6).
const std::vector<Damage> kDamage = {
    {"header variable", [](const std::string&) -> std::size_t { return 0x120; }, "header CRC"},
    {"layer record", [](const std::string& b) -> std::size_t { return rl(b, 0x3C) + 3; },
     "LAYER record 0"},
    {"model space entity", [](const std::string& b) -> std::size_t { return rl(b, 0x14) + 8; },
     "ENTITIES entity"},
    {"block entity", [](const std::string& b) -> std::size_t { return rl(b, 0x1C) + 8; },
     "BLOCK ENTITIES entity"},
    {"cut in half", [](const std::string&) -> std::size_t { return 0; }, "runs past"},
};

struct Result {
  int status;
  std::string output;
};

Result read_dwg(const fs::path& file) {
  const std::string out = test::capture("/usr/bin/python3 " + quoted(kReader) + " " +
                                        quoted(file.string()) + " 2>&1; echo \"status=$?\"");
  const std::size_t at = out.rfind("status=");
  return {at == std::string::npos ? -1 : std::stoi(out.substr(at + 7)), out};
}

TEST(Dwg12Reader, ReadsTheRealSamplesAndReportsEachKindOfDamage) {
  const std::vector<fs::path> samples = {
      kSamples / "dwg/r12/libredwg_r11_ACEB10.dwg",
      kSamples / "dwg/r12/libredwg_r11_entities-2d.dwg",
      kSamples / "dwg/r12/libredwg_r11_entities-3d.dwg",
      kSamples / "synthetic/synth_r12.dwg"};
  for (const fs::path& s : samples)
    if (!fs::exists(s)) GTEST_SKIP() << "test data missing: " << s;
  if (!test::have_ezdxf()) GTEST_SKIP() << "python3-ezdxf is not installed";
  test::ScratchDir d;
  for (const fs::path& sample : samples) {
    const Result sound = read_dwg(sample);
    EXPECT_EQ(sound.status, 0) << sample << "\n" << sound.output.substr(0, 2000);
    EXPECT_NE(sound.output.find("\"LINE\""), std::string::npos) << sample << ": no LINE read";
    std::ifstream in(sample, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    for (const Damage& damage : kDamage) {
      std::string copy = bytes;
      const std::size_t at = damage.where(bytes);
      if (at == 0) copy.resize(copy.size() / 2);
      else copy[at] = static_cast<char>(copy[at] ^ 0x5A);
      const fs::path broken = d / (sample.stem().string() + "-" + damage.what + ".dwg");
      std::ofstream(broken, std::ios::binary) << copy;
      const Result run = read_dwg(broken);
      EXPECT_EQ(run.status, 1) << sample << ", " << damage.what << "\n" << run.output.substr(0, 2000);
      EXPECT_NE(run.output.find(damage.reported), std::string::npos)
          << sample << ", " << damage.what << ": no \"" << damage.reported << "\" in\n"
          << run.output.substr(run.output.find("\"problems\""), 2000);
    }
  }
}

}  // namespace
}  // namespace tsn
