// quarnel --new when things go wrong: copies left by runs that were killed, a copy that comes out short.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

CommandResult Quarnel(const std::string& args) { return RunCommand(std::string(QUARNEL_BINARY) + " " + args); }

}  // namespace

// A run killed while it copied leaves its copy under .quarnel-new-PID: the next --new beside it removes
// it once that process is gone, and leaves the copy of a process that still runs.
TEST(NewDemo, CopiesOfKilledRunsAreRemoved) {
  TempDir dir;
  const std::string left = dir / (".quarnel-new-" + std::to_string(EndedProcessId()));
  fs::create_directories(left + "/data");
  WriteFile(left + "/data/scene0.txt", "half a copy");
  fs::create_directories(dir / ".quarnel-new-1");  // process 1 always runs
  const CommandResult result = Quarnel("--new " + dir / "mydemo");
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_FALSE(fs::exists(left));
  EXPECT_TRUE(fs::exists(dir / ".quarnel-new-1"));
  EXPECT_TRUE(fs::exists(dir / "mydemo/data/sceneseq.txt"));
}

// A file system that takes no more (here a file size limit) stops the copy: the message names the file
// and the system's reason, and nothing is left, also not the folders made on the way to the copy.
TEST(NewDemo, AShortCopySaysWhyAndLeavesNothing) {
  TempDir dir;
  for (const std::string& target : {dir / "mydemo", dir / "sub/deeper/mydemo"}) {
    const CommandResult result =
        RunCommand("ulimit -f 100; trap '' XFSZ; " + std::string(QUARNEL_BINARY) + " --new " + target);
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_NE(result.output.find("quarnel: could not make " + target + ": "), std::string::npos) << result.output;
    EXPECT_NE(result.output.find(": File too large\n"), std::string::npos) << result.output;
    EXPECT_TRUE(fs::is_empty(dir.Path())) << result.output;
  }
}
