#include "audio/mp3_scan.h"

#include <cstdio>

#include "audio/mp3_decoder.h"
#include "audio/music_messages.h"

Mp3Scan ScanMp3(const std::string& fileName) {
  constexpr uint64_t kChunkFrames = kMp3RateHz * 10;  // decoded and dropped in turn: little memory for a long file
  Mp3Scan scan;
  Mp3Decoder decoder;
  scan.fault = OpenMp3(decoder, fileName);
  if (!scan.fault.empty()) return scan;
  uint64_t frames = 0;
  while (decoder.handle != nullptr) {
    frames += DecodeMp3Frames(decoder, kChunkFrames);
    decoder.samples.clear();
  }
  scan.soundS = double(frames) / kMp3RateHz;
  if (frames == 0) scan.fault = kMp3NoSoundText;
  if (!decoder.damage.empty()) {
    char at[32];
    std::snprintf(at, sizeof at, "%.1f", scan.soundS);
    scan.fault = kMp3DamagedText + std::string(at) + kMp3DamagedSeconds + decoder.damage + ")";
  }
  CloseMp3(decoder);
  return scan;
}
