#include "scene/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#include "scene/file_operations.h"
#include "scene/scene_messages.h"
#include "scene/temporary_names.h"

namespace {

constexpr int kNameAttempts = 100;  // unique names tried before giving up
constexpr const char* kTemporaryInfix = ".saving-";

struct Failure {
  int code;
};

// "." + the target's name (cut to leave room for PID-RANDOM) + ".saving-".
std::string TemporaryPrefix(const std::filesystem::path& target) {
  constexpr size_t kPidAndRandomBytes = 20;  // up to 10 digits, "-", up to 9 digits
  const std::string infix = kTemporaryInfix;
  return "." + NameThatFits(target.filename().string(), 1 + infix.size() + kPidAndRandomBytes, false) + infix;
}

int CreateTemporary(const std::filesystem::path& folder, const std::string& prefix, std::string& name) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = (folder / (prefix + std::to_string(getpid()) + "-" + std::to_string(random() % 1000000000))).string();
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) throw Failure{errno};
  }
  throw Failure{EEXIST};
}

// Writes the temporary and renames it over target; the temporary is gone afterwards either way.
void WriteAndRename(const std::filesystem::path& target, std::string_view bytes, FileOperations& operations) {
  struct stat existing;
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) throw Failure{errno};
  if (exists && !S_ISREG(existing.st_mode)) throw Failure{0};

  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  const std::string prefix = TemporaryPrefix(target);
  RemoveDeadTemporaries(folder, prefix, true);
  RemoveStaleSaves(folder.string());
  std::string temporary;
  const int fd = CreateTemporary(folder, prefix, temporary);
  try {
    if (const int code = operations.WriteAll(fd, bytes)) throw Failure{code};
    if (exists && fchmod(fd, existing.st_mode & 07777) != 0) throw Failure{errno};
    if (const int code = operations.SyncFile(fd)) throw Failure{code};
  } catch (const Failure&) {
    close(fd);
    unlink(temporary.c_str());
    throw;
  }
  const int code = close(fd) != 0 ? errno : operations.Rename(temporary, target);
  if (code != 0) {
    unlink(temporary.c_str());
    throw Failure{code};
  }
  if (const int folderCode = operations.SyncFolder(folder)) throw Failure{folderCode};
}

}  // namespace

std::string ReplaceFile(const std::string& path, std::string_view bytes) {
  FileOperations system;
  return ReplaceFile(path, bytes, system);
}

std::string ReplaceFile(const std::string& path, std::string_view bytes, FileOperations& operations) {
  try {
    int linkError = 0;
    const std::filesystem::path target = FinalTarget(path, linkError);
    if (linkError != 0) throw Failure{linkError};
    WriteAndRename(target, bytes, operations);
    return "";
  } catch (const Failure& failure) {
    return path + ": " + (failure.code == 0 ? kMsgNotARegularFile : std::strerror(failure.code));
  }
}

void RemoveStaleSaves(const std::string& folder) {
  std::set<std::string> prefixes;  // "." NAME ".saving-" of every temporary in the folder
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    const size_t infix = name.find(kTemporaryInfix);
    if (name.front() == '.' && infix != std::string::npos)
      prefixes.insert(name.substr(0, infix + std::string_view(kTemporaryInfix).size()));
  }
  for (const std::string& prefix : prefixes) RemoveDeadTemporaries(folder, prefix, false);
}
