#pragma once
// Loading a data folder for the command-line tools: the presets and the sequence read as the start-up
// reads them, every report printed to stderr with its file and line.
#include <string>

#include "scene/scene_update.h"
#include "scene/sequence.h"

struct LoadedDemo {
  SceneState scene;
  SceneSequence sequence;
  int faults = 0;   // reports that would end the program
  int notices = 0;  // reports of what loads but not as written (the defaults for no presets, the 255-preset cap)
};

// Prints text and a line end to stderr, its unprintable bytes escaped (PrintableMessage).
void PrintReport(const std::string& text);

// False when a file could not be read or a fault was reported. Every file is read to its end or its
// first fault, so a fault in one does not hide those in the others. Notices are printed after
// noticePrefix. When some entry follows the soundtrack, its envelopes are loaded too (a notice when
// there are none).
bool LoadDataFolder(const std::string& dataDir, LoadedDemo& demo, const std::string& noticePrefix = "");
