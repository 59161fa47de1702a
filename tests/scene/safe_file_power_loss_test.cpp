// ReplaceFile against power losses and failing system calls, seen through its file operations: at no
// moment may a power loss leave anything but the old or the new content under the target's name, and
// once it reports success only the new content may survive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>

#include "scene/file_operations.h"
#include "scene/safe_file.h"
#include "support/temp_dir.h"

namespace {

// Makes the real calls and keeps, after each of them, what a power loss at that moment could leave
// under the target's name: data reaches the disk only through SyncFile, a rename only through
// SyncFolder (until then the old entry may come back).
class PowerLossWitness : public FileOperations {
 public:
  explicit PowerLossWitness(std::string before) : durable_(std::move(before)) { Note(); }

  int WriteAll(int fd, std::string_view bytes) override {
    written_ += bytes;
    return Note(FileOperations::WriteAll(fd, bytes));
  }
  int SyncFile(int fd) override {
    const int code = FileOperations::SyncFile(fd);
    if (code == 0) synced_ = written_;
    return Note(code);
  }
  int Rename(const std::string& from, const std::string& to) override {
    const int code = FileOperations::Rename(from, to);
    if (code == 0) renamed_ = synced_;  // what the renamed file holds after a power loss
    return Note(code);
  }
  int SyncFolder(const std::string& folder) override {
    const int code = FileOperations::SyncFolder(folder);
    if (code == 0 && renamed_) durable_ = *std::exchange(renamed_, std::nullopt);
    return Note(code);
  }

  // What a power loss could leave after the last call.
  std::set<std::string> Survivors() const { return moments_.back(); }
  // Everything a power loss could have left at any moment.
  std::set<std::string> EverPossible() const {
    std::set<std::string> all;
    for (const auto& moment : moments_) all.insert(moment.begin(), moment.end());
    return all;
  }

 private:
  int Note(int code = 0) {
    std::set<std::string> now{durable_};
    if (renamed_) now.insert(*renamed_);
    moments_.push_back(now);
    return code;
  }

  std::string durable_, written_, synced_;
  std::optional<std::string> renamed_;
  std::vector<std::set<std::string>> moments_;
};

// Fails the one call named by failing with EIO, and makes the others.
class FailingCall : public FileOperations {
 public:
  enum class Call { Write, SyncFile, Rename, SyncFolder };
  explicit FailingCall(Call failing) : failing_(failing) {}

  int WriteAll(int fd, std::string_view bytes) override {
    return failing_ == Call::Write ? EIO : FileOperations::WriteAll(fd, bytes);
  }
  int SyncFile(int fd) override { return failing_ == Call::SyncFile ? EIO : FileOperations::SyncFile(fd); }
  int Rename(const std::string& from, const std::string& to) override {
    return failing_ == Call::Rename ? EIO : FileOperations::Rename(from, to);
  }
  int SyncFolder(const std::string& folder) override {
    return failing_ == Call::SyncFolder ? EIO : FileOperations::SyncFolder(folder);
  }

 private:
  Call failing_;
};

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(ReplaceFileOnPowerLoss, LeavesTheOldOrTheNewContentAtEveryMomentAndTheNewOnceDone) {
  TempDir dir;
  WriteFile(dir / "a.txt", "the old content");
  PowerLossWitness witness("the old content");
  ASSERT_EQ(ReplaceFile(dir / "a.txt", "the new content", witness), "");
  EXPECT_EQ(witness.Survivors(), std::set<std::string>{"the new content"}) << "flushed file and folder";
  EXPECT_EQ(witness.EverPossible(), (std::set<std::string>{"the old content", "the new content"}))
      << "never empty or half written";
  EXPECT_EQ(ReadFile(dir / "a.txt"), "the new content");
}

TEST(ReplaceFileOnPowerLoss, AFailingCallIsReportedAndLeavesNoTemporary) {
  for (const auto failing : {FailingCall::Call::Write, FailingCall::Call::SyncFile, FailingCall::Call::Rename}) {
    TempDir dir;
    WriteFile(dir / "a.txt", "the old content");
    FailingCall operations(failing);
    EXPECT_EQ(ReplaceFile(dir / "a.txt", "the new content", operations), dir / "a.txt: Input/output error")
        << "call " << int(failing);
    EXPECT_EQ(ReadFile(dir / "a.txt"), "the old content") << "call " << int(failing);
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"a.txt"}) << "call " << int(failing);
  }
  // The folder's flush comes after the rename: the new content is in place, but may not last.
  TempDir dir;
  WriteFile(dir / "a.txt", "the old content");
  FailingCall operations(FailingCall::Call::SyncFolder);
  EXPECT_EQ(ReplaceFile(dir / "a.txt", "the new content", operations), dir / "a.txt: Input/output error");
  EXPECT_EQ(ReadFile(dir / "a.txt"), "the new content");
  EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"a.txt"});
}
