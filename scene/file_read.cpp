#include "scene/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "scene/scene_messages.h"

namespace {

// Why a file could not be read: an errno value and the text "path: reason".
struct FileError {
  int code = 0;
  std::string text;
};

bool Fail(FileError& error, const std::string& path, int code, const std::string& reason) {
  error.code = code;
  error.text = path + ": " + reason;
  return false;
}

bool FailWithErrno(FileError& error, const std::string& path, int code) {
  struct stat link;
  if (code == ENOENT && lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
    return Fail(error, path, code, kMsgDanglingLink);
  return Fail(error, path, code, std::strerror(code));
}

// "a FIFO (named pipe), not a regular file" and the like.
std::string NotRegularText(mode_t mode) {
  const char* kind = S_ISDIR(mode)                    ? kMsgIsFolder
                     : S_ISFIFO(mode)                 ? kMsgIsFifo
                     : S_ISCHR(mode) || S_ISBLK(mode) ? kMsgIsDevice
                     : S_ISSOCK(mode)                 ? kMsgIsSocket
                                                      : "";
  return kind + std::string(kMsgNotARegularFile);
}

bool ReadOrFail(const std::string& path, uint64_t maxBytes, std::string& bytes, FileError& error) {
  bytes.clear();
  // Without O_NONBLOCK, opening a FIFO waits for a writer.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return FailWithErrno(error, path, errno);
  struct stat status;
  bool ok = fstat(fd, &status) == 0 || FailWithErrno(error, path, errno);
  if (ok && !S_ISREG(status.st_mode)) ok = Fail(error, path, EINVAL, NotRegularText(status.st_mode));
  const std::string tooLarge = kMsgFileTooLarge + std::to_string(maxBytes) + kMsgFileTooLargeUnit;
  if (ok && uint64_t(status.st_size) > maxBytes) ok = Fail(error, path, EFBIG, tooLarge);
  if (ok) bytes.resize(size_t(status.st_size));
  // The file may grow while it is read: one byte more than allowed tells.
  size_t done = 0;
  while (ok) {
    if (done == bytes.size()) bytes.resize(std::min<uint64_t>(maxBytes + 1, done + 65536));
    const ssize_t count = read(fd, bytes.data() + done, bytes.size() - done);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) ok = FailWithErrno(error, path, errno);
    if (count <= 0) break;
    done += size_t(count);
    if (done > maxBytes) ok = Fail(error, path, EFBIG, tooLarge);
  }
  close(fd);
  bytes.resize(ok ? done : 0);
  return ok;
}

}  // namespace

std::string ReadWholeFile(const std::string& path, uint64_t maxBytes, std::string& bytes, int* errorCode) {
  FileError error;
  ReadOrFail(path, maxBytes, bytes, error);
  if (errorCode != nullptr) *errorCode = error.code;
  return error.text;
}

bool EntryExists(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}
