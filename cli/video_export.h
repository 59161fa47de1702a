#pragma once
// quarnel --export: the whole demo drawn offscreen on a fixed-step clock (frame n at n * 1000 / fps ms)
// and written as an H.264 video with the sequence's MP3 as its soundtrack (through the ffmpeg program),
// or, for an output path ending in "/", as numbered PNG files.
#include <cstdint>
#include <string>

struct ExportOptions {
  std::string outPath;        // OUT.mp4, or DIR/ for PNG files
  uint32_t fps = 60;          // 1..240
  uint32_t widthPx = 640, heightPx = 480;
  std::string dataDir = "data";
};

// Returns the exit status; a progress bar (frames done, frames/s, time left) goes to stderr.
int RunExport(const ExportOptions& options);
