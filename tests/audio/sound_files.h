#pragma once
// Test sounds: MP3 files made with sox and lame, raw output read back, and what a listener would notice
// (level, pitch, whether a stretch of the file is there). Samples are stereo signed 16-bit, interleaved.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Makes dir/name.mp3 (beside dir/name.wav) from sox's synth arguments, for example "0.8 sine 440 vol 0.5",
// at rateHz with `channels` channels. When sox or lame fails: a test failure with their output, and an
// empty path.
std::filesystem::path MakeMp3(const std::filesystem::path& dir, const std::string& name, const std::string& synth,
                              int rateHz = 44100, int channels = 2);

// Every frame of the MP3, decoded the way the player decodes it.
std::vector<int16_t> DecodeWholeMp3(const std::filesystem::path& file);

std::vector<int16_t> ReadRawSamples(const std::filesystem::path& file);

// The first frame at or after fromFrame where `frames` frames of `needle` (from needleFrame on) appear
// exactly in `haystack`; -1 when they don't.
int64_t FindFrames(const std::vector<int16_t>& haystack, const std::vector<int16_t>& needle, size_t needleFrame,
                   size_t frames, size_t fromFrame = 0);

// Root mean square of the left channel over `frames` frames from firstFrame.
double LeftRms(const std::vector<int16_t>& samples, size_t firstFrame, size_t frames);

// Pitch of the left channel from its rising zero crossings over `frames` frames from firstFrame.
double LeftFrequencyHz(const std::vector<int16_t>& samples, size_t firstFrame, size_t frames, int rateHz = 44100);
