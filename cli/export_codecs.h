#pragma once
// What the export asks of ffmpeg's encoders: the video codec and its container, the soundtrack copied
// as it is where the container holds MP3, and the numbers written the way ffmpeg reads them (a '.'
// whatever the locale says, a frame rate as a fraction).
#include <cstdint>
#include <string>
#include <vector>

#include "draw/offscreen_demo.h"

// The codecs of --codec: h264 (the default), ffv1 and png (lossless), prores (an intermediate codec).
bool IsExportCodec(const std::string& codec);
// Whether the file name at the end of path ends in a video's extension (kExportVideoExtensions, any case);
// a name that is only an extension (".mp4") is no video's.
bool IsVideoFileName(const std::string& path);
// Empty, or why the file's container (its extension, one of a video's) cannot hold the codec.
std::string ContainerFault(const std::string& codec, const std::string& videoPath);
// Whether the codec's pixel format needs an even width and height.
bool NeedsEvenSize(const std::string& codec);
std::vector<std::string> VideoArguments(const std::string& codec, const std::string& videoPath);
// The soundtrack of an export: the MP3 (empty: none) and whether its sound ends before the video.
struct ExportSound {
  std::string mp3;
  bool endsEarly = false;
};
// How sound (not empty) goes into videoPath: the MP3 copied where the container holds MP3, else encoded
// as AAC; a sound that ends early is padded with silence, which needs a filter and so always encodes.
std::vector<std::string> AudioArguments(const ExportSound& sound, const std::string& videoPath);

// "60", or "30000/1001".
std::string RateText(FrameRate rate);
// A duration in seconds with three decimals and a '.'.
std::string SecondsText(uint64_t ms);
// How long frameCount frames at rate last, in whole ms rounded up.
uint64_t DurationMs(uint64_t frameCount, FrameRate rate);
