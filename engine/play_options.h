#pragma once
// The options of the windowed program beyond "-d" and the data folder: our authoring additions.
#include <cstdint>
#include <optional>
#include <string>

struct PlayOptions {
  bool music = false;               // --music: the soundtrack plays in development mode too
  std::optional<uint32_t> startMs;  // --start MS: the first frame shows demo time MS (0..2147483647)
  // --frame-step MS (0..60000): each frame shows the demo MS ms after the one before, however long it
  // took to draw, with the random seed of --render and --export; 0 holds one moment.
  std::optional<uint32_t> frameStepMs;
  // --max-fps N (0..1000): frames start at most N times a second; 0 draws as fast as it can. Without
  // the option: at most at the display's refresh.
  std::optional<uint32_t> maxFps;
  // --osc PORT (1..65535) with -d: the remote control listens there, on --osc-address ADDR (a name or a
  // numeric address; the loopback one when not given).
  std::optional<uint16_t> oscPort;
  std::string oscAddress = "127.0.0.1";
};
