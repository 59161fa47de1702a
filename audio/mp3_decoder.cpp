#include "audio/mp3_decoder.h"

#include <mpg123.h>

#include <algorithm>

#include "audio/music_messages.h"

namespace {

constexpr size_t kChunkFrames = 4096;
// Room is reserved for the length the file announces (plus the chunk read last), so that decoding while
// playing rarely has to move what is already decoded; an absurd announcement reserves no more than this.
constexpr int64_t kMaxReservedFrames = int64_t(kMp3RateHz) * 60 * 15;

void StopDecoding(Mp3Decoder& decoder) {
  if (decoder.handle == nullptr) return;
  mpg123_close(decoder.handle);
  mpg123_delete(decoder.handle);
  decoder.handle = nullptr;
}

}  // namespace

std::string OpenMp3(Mp3Decoder& decoder, const std::string& fileName) {
  CloseMp3(decoder);
  int error = MPG123_OK;
  decoder.handle = mpg123_new(nullptr, &error);
  if (decoder.handle == nullptr) return kMp3NotDecodableText;
  long rateHz = 0;
  int channels = 0;
  int encoding = 0;
  bool ok = mpg123_param(decoder.handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0) == MPG123_OK &&
            mpg123_format_none(decoder.handle) == MPG123_OK &&
            mpg123_format(decoder.handle, kMp3RateHz, MPG123_STEREO, MPG123_ENC_SIGNED_16) == MPG123_OK &&
            mpg123_open(decoder.handle, fileName.c_str()) == MPG123_OK &&
            mpg123_getformat(decoder.handle, &rateHz, &channels, &encoding) == MPG123_OK &&
            rateHz == long(kMp3RateHz) && channels == int(kMp3Channels) && encoding == MPG123_ENC_SIGNED_16;
  if (!ok) {
    StopDecoding(decoder);
    return kMp3NotDecodableText;
  }
  int64_t announcedFrames = mpg123_length(decoder.handle);
  if (announcedFrames > 0)
    decoder.samples.reserve((size_t(std::min(announcedFrames, kMaxReservedFrames)) + kChunkFrames) * kMp3Channels);
  return "";
}

uint64_t DecodeMp3Frames(Mp3Decoder& decoder, uint64_t frameCount) {
  while (decoder.handle != nullptr && decoder.samples.size() / kMp3Channels < frameCount) {
    size_t oldSize = decoder.samples.size();
    decoder.samples.resize(oldSize + kChunkFrames * kMp3Channels);
    size_t doneBytes = 0;
    int result =
        mpg123_read(decoder.handle, decoder.samples.data() + oldSize, kChunkFrames * kMp3Channels * 2, &doneBytes);
    decoder.samples.resize(oldSize + doneBytes / 2);
    // The format is fixed before decoding starts, so anything but OK means the end (or a broken tail).
    if (result != MPG123_OK && result != MPG123_DONE) decoder.damage = mpg123_strerror(decoder.handle);
    if (result != MPG123_OK) StopDecoding(decoder);
  }
  return decoder.samples.size() / kMp3Channels;
}

void CloseMp3(Mp3Decoder& decoder) {
  StopDecoding(decoder);
  decoder.samples = {};
  decoder.damage.clear();
}
