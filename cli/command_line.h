#pragma once
// The program's arguments read into what to do: which command, its values and options. Reading touches
// no file; every refusal says which argument and why, in one line.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/play_options.h"

enum class Command { Play, Check, PrintFrame, Render, Export, New, Help, Version };

struct CommandLine {
  Command command = Command::Play;
  bool developmentMode = false;  // "-d" (or "-D") as the first argument
  PlayOptions play;              // --music, --start, --frame-step (Play)
  uint32_t demoTimeMs = 0;       // --print-frame MS, --render MS
  std::string target;            // --render OUT.png, --export OUT, --new DIR
  uint32_t fps = 60, widthPx = 640, heightPx = 480;  // --fps, --size (Render, Export)
  std::string dataDir;           // DATA_DIR; empty when none is given
};

// Reads args (the arguments after the program's name) into line. Empty, or the refusal, which names the
// argument first ("--start: '-1' is not a whole number of milliseconds 0..2147483647").
[[nodiscard]] std::string ReadCommandLine(const std::vector<std::string>& args, CommandLine& line);
