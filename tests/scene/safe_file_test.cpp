// ReplaceFile: the one way the program writes its files.
#include "scene/safe_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

unsigned ModeOf(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A process id that no process has now: a child that has ended and been reaped.
pid_t EndedProcessId() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

}  // namespace

TEST(ReplaceFile, WritesANewFileWithTheUsualMode) {
  TempDir dir;
  const mode_t previous = umask(022);
  EXPECT_EQ(ReplaceFile(dir / "a.txt", "hello"), "");
  umask(previous);
  EXPECT_EQ(ReadFile(dir / "a.txt"), "hello");
  EXPECT_EQ(ModeOf(dir / "a.txt"), 0644u);
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"a.txt"});  // no temporary left behind
}

TEST(ReplaceFile, KeepsTheModeOfTheFileItReplaces) {
  TempDir dir;
  WriteFile(dir / "a.txt", "old");
  ASSERT_EQ(chmod((dir / "a.txt").c_str(), 0640), 0);
  ASSERT_EQ(ReplaceFile(dir / "a.txt", "new"), "");
  EXPECT_EQ(ReadFile(dir / "a.txt"), "new");
  EXPECT_EQ(ModeOf(dir / "a.txt"), 0640u);
}

TEST(ReplaceFile, WritesThroughASymbolicLinkToItsTarget) {
  TempDir dir;
  fs::create_directory(dir / "real");
  WriteFile(dir / "real/a.txt", "old");
  fs::create_symlink("real/a.txt", dir / "link.txt");
  fs::create_symlink("link.txt", dir / "link2.txt");
  ASSERT_EQ(ReplaceFile(dir / "link2.txt", "new"), "");
  EXPECT_TRUE(fs::is_symlink(dir / "link2.txt"));
  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_EQ(ReadFile(dir / "real/a.txt"), "new");
  EXPECT_EQ(Names(dir / "real"), std::vector<std::string>{"a.txt"});
}

TEST(ReplaceFile, PreparedNamesInTheFolderRedirectNothing) {
  TempDir dir;
  WriteFile(dir / "victim.txt", "keep me");
  WriteFile(dir / "a.txt", "old");
  // The fixed temporary name of earlier versions, as a link to another file and as a folder.
  fs::create_symlink(dir / "victim.txt", dir / "a.txt.saving");
  fs::create_directory(dir / ".a.txt.saving-");
  ASSERT_EQ(ReplaceFile(dir / "a.txt", "new"), "");
  EXPECT_EQ(ReadFile(dir / "a.txt"), "new");
  EXPECT_EQ(ReadFile(dir / "victim.txt"), "keep me");
}

TEST(ReplaceFile, RemovesTemporariesLeftByEndedWrites) {
  TempDir dir;
  const std::string own = ".a.txt.saving-" + std::to_string(getpid()) + "-17";
  const std::string ended = ".a.txt.saving-" + std::to_string(EndedProcessId()) + "-4";
  const std::string running = ".a.txt.saving-1-99";  // process 1 always runs: a write in progress
  const std::string otherFile = ".b.txt.saving-" + std::to_string(getpid()) + "-3";
  for (const std::string& name : {own, ended, running, otherFile}) WriteFile(dir / name, "half");
  const std::string otherEnded = ".b.txt.saving-" + std::to_string(EndedProcessId()) + "-5";
  WriteFile(dir / otherEnded, "half");
  ASSERT_EQ(ReplaceFile(dir / "a.txt", "new"), "");
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{running, otherFile, "a.txt"}))
      << "another file's temporary of an ended process goes too; this process's may be a save going on";
}

TEST(RemoveStaleSaves, RemovesTheTemporariesOfEveryFileWhoseProcessEnded) {
  TempDir dir;
  const std::string ended = std::to_string(EndedProcessId());
  const std::vector<std::string> stale{".scene1.txt.saving-" + ended + "-7", ".sceneseq.txt.saving-" + ended + "-1"};
  const std::vector<std::string> kept{".scene2.txt.saving-1-3", ".notes.saving", "scene0.txt",
                                      "x.saving-" + ended + "-2"};
  for (const std::string& name : stale) WriteFile(dir / name, "half");
  for (const std::string& name : kept) WriteFile(dir / name, "keep");
  RemoveStaleSaves(dir.Path());
  std::vector<std::string> expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(dir.Path()), expected);
}

TEST(ReplaceFile, AFailedWriteKeepsThePreviousFileAndSaysWhy) {
  TempDir dir;
  const std::string path = dir / "a.txt";
  WriteFile(path, "the previous content");
  // A child process whose files may not grow beyond 1000 bytes: the write fails halfway.
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(ReplaceFile(path, std::string(5000, 'x')) == path + ": File too large" ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFile(path), "the previous content");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"a.txt"});
}

// The temporary beside a target with the longest possible name is cut to fit a folder entry.
TEST(ReplaceFile, WritesATargetWithTheLongestName) {
  TempDir dir;
  const std::string path = dir / std::string(255, 'n');
  ASSERT_EQ(ReplaceFile(path, "first"), "");
  ASSERT_EQ(ReplaceFile(path, "second"), "");
  EXPECT_EQ(ReadFile(path), "second");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{std::string(255, 'n')});
}

TEST(ReplaceFile, RefusesWhatItCannotReplace) {
  TempDir dir;
  EXPECT_EQ(ReplaceFile(dir / "missing/a.txt", "x"), dir / "missing/a.txt: No such file or directory");

  fs::create_directory(dir / "folder.txt");
  EXPECT_EQ(ReplaceFile(dir / "folder.txt", "x"), dir / "folder.txt: not a regular file");

  fs::create_symlink("loop.txt", dir / "loop.txt");
  EXPECT_EQ(ReplaceFile(dir / "loop.txt", "x"), dir / "loop.txt: Too many levels of symbolic links");
  EXPECT_TRUE(fs::is_symlink(dir / "loop.txt"));
}
