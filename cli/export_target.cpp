#include "cli/export_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/cli_messages.h"
#include "cli/export_codecs.h"
#include "scene/temporary_names.h"

namespace fs = std::filesystem;

namespace {

bool IsFrameFileName(const std::string& name) {
  constexpr size_t kHead = sizeof "frame" - 1, kTail = sizeof ".png" - 1;
  if (name.size() <= kHead + kTail || name.compare(0, kHead, "frame") != 0 ||
      name.compare(name.size() - kTail, kTail, ".png") != 0)
    return false;
  for (size_t i = kHead; i < name.size() - kTail; ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

// Empty, or the first entry of folder that is not a frame of an earlier export.
std::string OtherEntry(const fs::path& folder, std::error_code& error) {
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!IsFrameFileName(name) || !entry.is_regular_file(error)) return name;
  }
  return "";
}

std::string Reason(const std::string& path, int code) { return path + ": " + std::strerror(code); }

}  // namespace

std::string FrameFileName(unsigned n) {
  char name[32];
  std::snprintf(name, sizeof name, "frame%06u.png", n);
  return name;
}

std::string PrepareExportTarget(const std::string& outPath, bool frames, ExportTarget& target) {
  std::string path = outPath;
  while (frames && path.size() > 1 && path.back() == '/') path.pop_back();
  int linkError = 0;
  const fs::path final = FinalTarget(path, linkError);
  if (linkError != 0) return Reason(outPath, linkError);
  const fs::path folder = final.has_parent_path() ? final.parent_path() : ".";
  // The folder the result goes into must exist, as for --render: a mistyped path makes no folders.
  if (struct stat status; stat(folder.c_str(), &status) != 0) return Reason(folder.string(), errno);
  if (!frames) {
    if (struct stat status; stat(final.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
      return outPath + kExportTargetIsFolderText + outPath + kExportTargetIsFolderEnd;
    if (!IsVideoFileName(final.filename().string())) return outPath + kExportUnknownFormatText;
  }
  RemoveDeadTemporaries(folder, kExportTemporaryPrefix, false);

  const std::string head = kExportTemporaryPrefix + std::to_string(getpid()) + "-";
  target.target = final.string();
  target.temporary = (folder / (head + NameThatFits(final.filename().string(), head.size(), true))).string();
  target.frames = frames;
  if (!frames) return "";

  struct stat status;
  if (stat(target.target.c_str(), &status) == 0) {
    if (!S_ISDIR(status.st_mode)) return Reason(outPath, ENOTDIR);
    std::error_code error;
    const std::string other = OtherEntry(target.target, error);
    if (error) return Reason(outPath, error.value());
    if (!other.empty()) return outPath + kExportFolderNotFramesText + other + kExportFolderNotFramesEnd;
  }
  if (mkdir(target.temporary.c_str(), 0777) != 0) return Reason(target.temporary, errno);
  return "";
}

std::string PutExportInPlace(const ExportTarget& target) {
  struct stat status;
  const bool replacing = target.frames && stat(target.target.c_str(), &status) == 0;
  // Folders are swapped in one step (the earlier frames land in the temporary's name), then the
  // earlier frames are removed.
  const int renamed =
      replacing ? renameat2(AT_FDCWD, target.temporary.c_str(), AT_FDCWD, target.target.c_str(), RENAME_EXCHANGE)
                : rename(target.temporary.c_str(), target.target.c_str());
  const int code = errno;
  RemoveExportTemporary(target);
  return renamed == 0 ? "" : Reason(target.target, code);
}

void RemoveExportTemporary(const ExportTarget& target) {
  std::error_code ignored;
  fs::remove_all(target.temporary, ignored);
}
