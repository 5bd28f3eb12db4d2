// OutputCommit on its own: which file a finished output replaces or is written into, what is
// refused, and that discarding, destruction and a late cancellation keep the earlier file.
#include "platform/output_commit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace tsn {
namespace {

namespace fs = std::filesystem;

enum class Finish { commit, cancel, discard, destroy };

TEST(OutputCommit, PutsTheFileInPlaceOrLeavesTheTargetAsItWas) {
  const struct {
    const char* name;
    std::function<void(const fs::path& out)> make_target;
    Finish finish;
    int opened;            // open's result; 1 ends the case there
    int committed;         // commit's result, for commit and cancel
    bool in_private;       // the temporary output goes to the private directory
    const char* read;      // the file read afterwards, in the scratch directory
    const char* contents;  // what it holds
  } cases[] = {
      {"regular target replaced", [](const fs::path& out) { test::write_file(out, "old"); },
       Finish::commit, 0, 0, false, "out", "new"},
      {"missing target created", [](const fs::path&) {}, Finish::commit, 0, 0, false, "out",
       "new"},
      {"dangling link followed, link kept",
       [](const fs::path& out) { fs::create_symlink("real", out); }, Finish::commit, 0, 0, false,
       "real", "new"},
      {"device written into", [](const fs::path& out) { fs::create_symlink("/dev/null", out); },
       Finish::commit, 0, 0, true, "out", ""},
      {"directory refused", [](const fs::path& out) { fs::create_directory(out); },
       Finish::commit, 1, 0, false, "", ""},
      {"discard keeps the target", [](const fs::path& out) { test::write_file(out, "old"); },
       Finish::discard, 0, 0, false, "out", "old"},
      {"destructor keeps the target", [](const fs::path& out) { test::write_file(out, "old"); },
       Finish::destroy, 0, 0, false, "out", "old"},
      {"cancel before the rename keeps the target",
       [](const fs::path& out) { test::write_file(out, "old"); }, Finish::cancel, 0, -1, false,
       "out", "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::RecordingHost host;
    test::ScopedHost scoped(host);
    test::ScratchDir d;
    const fs::path priv = d / "priv";
    fs::create_directory(priv);
    const std::string out = (d / "out").string();
    c.make_target(out);
    std::optional<OutputCommit> commit(std::in_place);

    ASSERT_EQ(commit->open(out), c.opened);
    if (c.opened != 0) {
      EXPECT_EQ(host.status_text(), "\nError: Could not open output file " + out);
      EXPECT_EQ(d.listing(), (std::set<std::string>{"out", "priv"}));
      continue;
    }
    ASSERT_EQ(commit->make_temporary(priv.string() + "/"), 0);
    const fs::path temporary = commit->temporary_path();
    EXPECT_EQ(temporary.parent_path(), c.in_private ? priv : d.path());
    test::write_file(temporary, "new");

    if (c.finish == Finish::commit || c.finish == Finish::cancel) {
      const bool cancel = c.finish == Finish::cancel;
      EXPECT_EQ(commit->commit([cancel] { return cancel; }), c.committed);
    } else if (c.finish == Finish::discard) {
      commit->discard();
    } else {
      commit.reset();
    }
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_EQ(test::read_file(d / c.read), c.contents);
    EXPECT_TRUE(host.status.empty()) << host.status_text();
  }
}

}  // namespace
}  // namespace tsn
