#pragma once
// The options of the windowed program beyond "-d" and the data folder: our authoring additions.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PlayOptions {
  bool music = false;               // --music: the soundtrack plays in development mode too
  std::optional<uint32_t> startMs;  // --start MS: the first frame shows demo time MS (0..2147483647)
};

// Takes --music and --start MS out of args (the arguments after "-d"), leaving the rest in order.
// False for a --start without a whole number 0..2147483647, and for --music without development mode.
bool TakePlayOptions(std::vector<std::string>& args, bool developmentMode, PlayOptions& options);
