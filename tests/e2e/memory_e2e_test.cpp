// The text path streams entities to disk: converting twenty times as many records must not
// take more memory. The conversions run in this process, whose peak resident size is reset
// before each one, so the peak measures the conversion alone; the inputs are built by a child
// process, so that no freed memory is left here for the conversion to reuse.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "generated_input.h"
#include "run/startup.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::ScratchDir;

// A "Vm...:" value of this process in KiB, or -1.
long vm_kib(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == key) {
      long value = -1;
      status >> value;
      return value;
    }
  }
  return -1;
}

// Sets the peak resident size back to the current one; false where the system does not allow it.
bool reset_peak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return clear.good();
}

// How far the resident size rose above its level before the conversion, in KiB; -1 on failure.
long conversion_growth(const std::string& input, const std::string& release) {
  const std::string output = input + ".dxf";
  const std::string rel = "/REL=" + release;
  std::vector<std::string> args{"tessaryn", input, output, rel};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (!reset_peak()) return -1;
  const long before = vm_kib("VmRSS:");
  if (run_program(static_cast<int>(args.size()), argv.data()) != 0) return -1;
  return vm_kib("VmHWM:") - before;
}

TEST(Memory, PeakStaysFlatAsTheRecordCountGrows) {
  if (!reset_peak()) GTEST_SKIP() << "the peak resident size cannot be reset here";
  ScratchDir d;
  ASSERT_EQ(::setenv("TESSARYN_HOME", (d / "home").c_str(), 1), 0);
  ASSERT_TRUE(test::write_polyline_file(d, 2000, "small"));
  ASSERT_TRUE(test::write_polyline_file(d, 40000, "large"));
  const std::string small = (d / "small.shp").string();
  const std::string large = (d / "large.shp").string();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  std::vector<long> growth;
  for (const std::string release : {"12", "14"}) {
    growth.push_back(conversion_growth(small, release));
    growth.push_back(conversion_growth(large, release));
  }
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  ::unsetenv("TESSARYN_HOME");
  for (std::size_t i = 0; i < growth.size(); i += 2) {
    ASSERT_GE(growth[i], 0) << "conversion " << i << " failed";
    ASSERT_GE(growth[i + 1], 0) << "conversion " << i + 1 << " failed";
    // 38,000 more records (about 20 MB more drawing in release 12) may touch a few more
    // pages of buffers, nothing that grows with the records.
    EXPECT_LT(growth[i + 1] - growth[i], 512)
        << "release " << (i == 0 ? 12 : 14) << ": " << growth[i] << " KiB for 2,000 records, "
        << growth[i + 1] << " KiB for 40,000";
  }
}

}  // namespace
}  // namespace tsn
