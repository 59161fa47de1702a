#pragma once
// The calls to the operating system that make a replaced file last: writing it, flushing it to the
// disk, renaming it over the target and flushing the folder. A seam: the plain class makes the real
// calls; a test derives from it to fail one call or to see what a power loss at any moment would leave.
#include <string>
#include <string_view>

class FileOperations {
 public:
  virtual ~FileOperations() = default;

  // Each returns 0 on success, otherwise the errno code of the failure.
  virtual int WriteAll(int fd, std::string_view bytes);  // every byte, or a failure
  virtual int SyncFile(int fd);                          // fsync
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int SyncFolder(const std::string& folder);  // fsync of the folder's entries
};
