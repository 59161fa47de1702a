#pragma once
// Reading whole data files so that nothing in a data folder can make a reader wait or fill the memory:
// only regular files are read (a FIFO or a device is refused before any read), and only up to a size
// far above what such a file holds.
#include <cstdint>
#include <string>

inline constexpr uint64_t kMaxTextFileBytes = 4u << 20;  // presets and sequences are a few KB

// Reads the file at path (links followed) into bytes. Returns "" on success; otherwise "path: reason",
// with bytes empty and the errno value in *errorCode when it is given, for a missing or unreadable file, a
// link that leads nowhere or in a circle, anything that is not a regular file (EINVAL), and a file larger
// than maxBytes (EFBIG).
[[nodiscard]] std::string ReadWholeFile(const std::string& path, uint64_t maxBytes, std::string& bytes,
                                        int* errorCode = nullptr);

// Whether the folder holds an entry of that name, also a link that leads nowhere or in a circle (which
// std::filesystem::exists denies): a scan over numbered files must not end silently at one.
bool EntryExists(const std::string& path);
