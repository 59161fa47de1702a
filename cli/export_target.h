#pragma once
// Where an export writes while it runs, and how its result replaces what was there: the video file or
// the folder of frames is made under a temporary name beside the target (".partial-PID-NAME") and put
// in place only when it is whole, so an export that fails or is interrupted leaves the earlier result
// as it was. A target that is a symbolic link is written through: the link stays a link.
#include <string>

struct ExportTarget {
  std::string target;     // the video file or the frames' folder, links followed
  std::string temporary;  // beside the target
  bool frames = false;    // a folder of PNG frames
};

// Prepares outPath (a folder of frames when frames is set): removes the temporaries of exports that no
// longer run from the target's folder and, for frames, makes the temporary folder. Refused, before
// anything is made: a folder to write into that does not exist, a frames folder that holds anything but
// an earlier export's frames, a video target that is a folder or whose name is no video format's.
// Empty, or what is wrong.
[[nodiscard]] std::string PrepareExportTarget(const std::string& outPath, bool frames, ExportTarget& target);

// Puts the finished temporary in the target's place (the earlier frames go with their folder). Empty,
// or what went wrong; the temporary is removed either way.
[[nodiscard]] std::string PutExportInPlace(const ExportTarget& target);

// Removes the temporary and everything in it.
void RemoveExportTemporary(const ExportTarget& target);

// The name of frame n in the frames folder.
std::string FrameFileName(unsigned n);
