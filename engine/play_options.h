#pragma once
// The options of the windowed program beyond "-d" and the data folder: our authoring additions.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PlayOptions {
  bool music = false;               // --music: the soundtrack plays in development mode too
  std::optional<uint32_t> startMs;  // --start MS: the first frame shows demo time MS (0..2147483647)
  // --frame-step MS (0..60000): each frame shows the demo MS ms after the one before, however long it
  // took to draw, with the random seed of --render and --export; 0 holds one moment.
  std::optional<uint32_t> frameStepMs;
};

// Takes --music, --start MS and --frame-step MS out of args (the arguments after "-d"), leaving the
// rest in order. False for a --start without a whole number 0..2147483647, a --frame-step without one
// of 0..60000, and for --music without development mode.
bool TakePlayOptions(std::vector<std::string>& args, bool developmentMode, PlayOptions& options);
