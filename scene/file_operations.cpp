#include "scene/file_operations.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int FileOperations::WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? errno : EIO;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

int FileOperations::SyncFile(int fd) { return fsync(fd) == 0 ? 0 : errno; }

int FileOperations::Rename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int FileOperations::SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const bool synced = fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
  const int code = synced ? 0 : errno;
  close(fd);
  return code;
}
