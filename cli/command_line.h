#pragma once
// The program's arguments read into what to do: which command, its values and options. Reading touches
// no file; every refusal says which argument and why, in one line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "draw/offscreen_demo.h"
#include "engine/play_options.h"

enum class Command { Play, Check, PrintFrame, Render, Export, New, GuessBpm, Help, Version };

struct CommandLine {
  Command command = Command::Play;
  bool developmentMode = false;            // "-d" (or "-D") as the first argument
  PlayOptions play;                        // --music, --start, --frame-step, --max-fps, --osc... (Play)
  uint32_t demoTimeMs = 0;                 // --print-frame MS, --render MS
  std::string target;                      // --render OUT.png, --export OUT, --new DIR
  FrameRate rate;                          // --fps (Render, Export)
  uint32_t widthPx = 640, heightPx = 480;  // --size (Render, Export)
  uint32_t fromMs = 0;                     // --from (Export)
  std::optional<uint32_t> toMs;            // --to (Export)
  std::string codec = "h264";              // --codec (Export)
  uint32_t jobs = 1;                       // --jobs (Export)
  bool withMusic = true;                   // false: --no-music (Export)
  std::string dataDir;                     // DATA_DIR; empty when none is given
};

// Reads args (the arguments after the program's name) into line. Empty, or the refusal, which names the
// argument first ("--start: '-1' is not a whole number of milliseconds 0..2147483647").
[[nodiscard]] std::string ReadCommandLine(const std::vector<std::string>& args, CommandLine& line);
