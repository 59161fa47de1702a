#pragma once
// MP3 decoding for the music stream. Output is always 44 100 Hz stereo signed 16-bit (mono files are
// doubled, other rates resampled by libmpg123). Decoded frames stay in memory, so any position already
// reached can be played again sample-exactly; positions further on are decoded when first asked for.
// A frame is one left and one right sample; frame numbers count from the start of the file.
#include <cstdint>
#include <string>
#include <vector>

typedef struct mpg123_handle_struct mpg123_handle;

constexpr uint32_t kMp3RateHz = 44100;
constexpr uint32_t kMp3Channels = 2;

struct Mp3Decoder {
  mpg123_handle* handle = nullptr;  // nullptr once the whole file is decoded (or never opened)
  std::vector<int16_t> samples;     // decoded frames so far, left and right interleaved
  std::string damage;               // why decoding stopped before the end of the file, or empty
};

// Opens fileName (UTF-8 path) and checks that it holds MPEG audio. Returns "" on success, else (with an
// empty decoder) kMp3NotDecodableText: the file is missing, unreadable or not MP3.
[[nodiscard]] std::string OpenMp3(Mp3Decoder& decoder, const std::string& fileName);

// Decodes until at least frameCount frames are in memory or the file ends. Returns the number of frames in
// memory, which is less than frameCount only at the end of the file.
uint64_t DecodeMp3Frames(Mp3Decoder& decoder, uint64_t frameCount);

// Frees the decoder and everything decoded; a closed decoder can be closed again.
void CloseMp3(Mp3Decoder& decoder);
