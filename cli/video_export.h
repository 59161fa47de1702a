#pragma once
// quarnel --export: the demo drawn offscreen on a fixed-step clock (frame n at n * 1000 / fps ms) and
// written as a video with the sequence's MP3 as its soundtrack (through the ffmpeg program), or, for an
// output path ending in "/", as numbered PNG files; the whole demo, or the frames of a time range.
#include <cstdint>
#include <optional>
#include <string>

#include "draw/offscreen_demo.h"

struct ExportOptions {
  std::string outPath;  // OUT.mp4 (or .mkv, .mov), or DIR/ for PNG files
  FrameRate rate;       // 1..240 frames per second
  uint32_t widthPx = 640, heightPx = 480;
  std::string dataDir = "data";
  uint32_t fromMs = 0;           // --from: the first frame at or after it
  std::optional<uint32_t> toMs;  // --to: the last frame at or before it (else the demo's end)
  std::string codec = "h264";    // --codec: h264, ffv1, png or prores
  uint32_t jobs = 1;             // --jobs: ranges drawn side by side, then joined
  bool withMusic = true;         // --no-music: the picture alone (for instance a part to be joined)
};

// Returns the exit status; a progress bar (frames done, frames/s, time left) goes to stderr.
int RunExport(const ExportOptions& options);
