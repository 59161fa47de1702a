#pragma once
// Names of the temporaries a write prepares beside its target, and their removal once the process
// that made them is gone. A temporary is named PREFIX + PID + "-" + ..., so its maker can be told.
#include <cstddef>
#include <filesystem>
#include <string>

// The longest name of one folder entry (NAME_MAX of Linux file systems), in bytes.
inline constexpr size_t kMaxFileNameBytes = 255;

// name, cut so that otherBytes more bytes still fit in one folder entry's name. With keepExtension the
// cut is made before the extension (".mp4"), which some programs read to choose the format.
std::string NameThatFits(const std::string& name, size_t otherBytes, bool keepExtension);

// The entry a write to path lands in: path itself, or the end of its chain of symbolic links. A chain
// that cannot be followed gives an empty path and the reason in errorCode (an errno value).
std::filesystem::path FinalTarget(const std::filesystem::path& path, int& errorCode);

// Removes from folder the entries named prefix + PID + "-" + ... (or prefix + PID alone) whose process is
// gone, or is this one when thisProcessToo; a folder with everything in it.
void RemoveDeadTemporaries(const std::filesystem::path& folder, const std::string& prefix, bool thisProcessToo);
