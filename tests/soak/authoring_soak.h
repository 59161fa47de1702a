#pragma once
// The scripted authoring soak: development mode driven as an author drives it, through the program's
// own logic (the engine on the real OpenGL device offscreen, development mode's document wired as the
// program wires it: the tweak window's and the timeline's models, the development clock, hot reload
// and undo), with a random walk over the tweak window's actions, edits of the picked preset's file and
// of the sequence from outside and in the timeline, saves, the document's questions answered at random,
// undo and redo, and frames between.
// The soak writes only into a copy of the data folder. Times are ms of a scripted tick.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SoakOptions {
  std::string sourceDataDir = "data";  // copied into workDir; its MP3 path is read relative to the working folder
  std::string workDir;                 // an empty or missing folder the soak may fill
  uint64_t seed = 1;
  uint64_t maxSteps = 0;  // 0: no limit
  double maxSeconds = 0;  // 0: no limit
  bool music = false;     // the soundtrack through SDL (SDL_AUDIODRIVER=dummy without a sound card)
  uint32_t widthPx = 320, heightPx = 180;
};

struct SoakReport {
  uint64_t steps = 0, frames = 0, saves = 0, loads = 0, outsideEdits = 0, reloads = 0, undos = 0, messages = 0,
           questions = 0;
  // What must never happen: a fatal error, an exception leaving an entry point, a broken rule.
  std::vector<std::string> faults;
};

// Runs until maxSteps or maxSeconds (the first reached) or the first fault. log gets a line now and
// then (progress) and every fault.
SoakReport RunAuthoringSoak(const SoakOptions& options, const std::function<void(const std::string&)>& log);
