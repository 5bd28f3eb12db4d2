// File helpers of the assembly: appending a range of one file to another, in the kernel or
// through a buffer, and refusing a source that is too short.
#include "dxf/temp_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "support/scratch_dir.h"

namespace tsn {
namespace {

using test::read_file;
using test::ScratchDir;

std::string pattern(std::size_t size) {
  std::string s(size, '\0');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7) % 26);
  return s;
}

TEST(AppendFileRange, AppendsTheRangeAtTheTargetsPosition) {
  ScratchDir d;
  const std::string source = pattern(700000);
  test::write_file(d / "src", source);
  test::write_file(d / "dst", "head:");
  UniqueFd from(::open((d / "src").c_str(), O_RDONLY));
  UniqueFd to(::open((d / "dst").c_str(), O_RDWR));
  ASSERT_TRUE(from.valid() && to.valid());
  ASSERT_EQ(::lseek(to.get(), 0, SEEK_END), 5);
  ASSERT_TRUE(append_file_range(from.get(), 3, to.get(), 600000));
  ASSERT_TRUE(append_file_range(from.get(), 0, to.get(), 0));
  ASSERT_TRUE(append_file_range(from.get(), 699990, to.get(), 10));
  ASSERT_TRUE(to.close());
  EXPECT_EQ(read_file(d / "dst"), "head:" + source.substr(3, 600000) + source.substr(699990));
}

TEST(AppendFileRange, FallsBackToReadingForAPipeAndRefusesAShortSource) {
  ScratchDir d;
  const std::string source = pattern(5000);
  test::write_file(d / "src", source);
  UniqueFd from(::open((d / "src").c_str(), O_RDONLY));
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  UniqueFd read_end(fds[0]);
  UniqueFd write_end(fds[1]);
  ASSERT_TRUE(append_file_range(from.get(), 100, write_end.get(), 4000));
  ASSERT_TRUE(write_end.close());
  std::string got(8000, '\0');
  std::size_t size = 0;
  for (ssize_t n; (n = ::read(read_end.get(), got.data() + size, got.size() - size)) > 0;) {
    size += static_cast<std::size_t>(n);
  }
  got.resize(size);
  EXPECT_EQ(got, source.substr(100, 4000));

  test::write_file(d / "dst", "");
  UniqueFd to(::open((d / "dst").c_str(), O_RDWR));
  EXPECT_FALSE(append_file_range(from.get(), 4000, to.get(), 2000));
}

}  // namespace
}  // namespace tsn
