#include "scene/temporary_names.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {
constexpr int kMaxLinkHops = 40;  // as the kernel allows when it follows links itself
}  // namespace

std::string NameThatFits(const std::string& name, size_t otherBytes, bool keepExtension) {
  if (name.size() + otherBytes <= kMaxFileNameBytes) return name;
  const size_t room = otherBytes < kMaxFileNameBytes ? kMaxFileNameBytes - otherBytes : 0;
  const size_t dot = name.rfind('.');
  const std::string extension = keepExtension && dot != std::string::npos && dot > 0 ? name.substr(dot) : "";
  if (extension.size() >= room) return name.substr(0, room);
  return name.substr(0, room - extension.size()) + extension;
}

std::filesystem::path FinalTarget(const std::filesystem::path& path, int& errorCode) {
  errorCode = 0;
  std::filesystem::path target = path;
  for (int hops = 0;; ++hops) {
    struct stat status;
    if (lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return target;
    if (hops == kMaxLinkHops) {
      errorCode = ELOOP;
      return {};
    }
    std::error_code error;
    const std::filesystem::path link = std::filesystem::read_symlink(target, error);
    if (error) {
      errorCode = error.value();
      return {};
    }
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
}

void RemoveDeadTemporaries(const std::filesystem::path& folder, const std::string& prefix, bool thisProcessToo) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    char* end = nullptr;
    const pid_t pid = static_cast<pid_t>(std::strtol(name.c_str() + prefix.size(), &end, 10));
    if (pid <= 0 || (*end != '-' && *end != '\0')) continue;
    const bool gone = pid == getpid() ? thisProcessToo : kill(pid, 0) != 0 && errno == ESRCH;
    std::error_code ignored;
    if (gone) std::filesystem::remove_all(folder / name, ignored);
  }
  closedir(dir);
}
