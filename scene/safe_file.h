#pragma once
// Replacing a file so that a crash, a power loss or a full disk never leaves it half written or lost,
// and a name prepared in its folder cannot redirect the write. Every file the program writes goes
// through here.
#include <string>
#include <string_view>

class FileOperations;

// Writes bytes as the new content of path:
// - into a temporary file beside the target with a unique name (".NAME.saving-PID-RANDOM"), created
//   exclusively, so an existing file, link or folder of that name is never followed or reused;
// - flushed to the disk, given the permission bits of the file it replaces (a new file gets the usual
//   0666 less the umask), renamed over the target, and the folder flushed after the rename;
// - when path is a symbolic link, the file it points to is replaced and the link stays a link.
// Temporaries of this kind for the same target left behind by a process that no longer runs (or by
// this one) are removed first. A target that exists but is not a regular file is refused.
// Returns "" on success; otherwise path + ": " + the reason (strerror's text), with the target as it was
// (unless only the flush of the folder after the rename failed: then the new content is in place but may
// not survive a power loss).
// Temporaries of other files of the folder whose process no longer runs go too.
[[nodiscard]] std::string ReplaceFile(const std::string& path, std::string_view bytes);

// The same, making its writes, flushes and rename through operations.
[[nodiscard]] std::string ReplaceFile(const std::string& path, std::string_view bytes, FileOperations& operations);
// Removes from folder the temporaries of this kind (".NAME.saving-PID-...") of every file whose process
// no longer runs: what a save killed at the wrong moment left.
void RemoveStaleSaves(const std::string& folder);
