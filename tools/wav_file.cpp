#include "tools/wav_file.h"

#include "tools/binary_file.h"

namespace {

void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& interleaved, int channels, int rateHz) {
  const uint32_t dataBytes = static_cast<uint32_t>(interleaved.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, channels);
  PutU32(out, rateHz);
  PutU32(out, rateHz * channels * 2);
  PutU16(out, channels * 2);
  PutU16(out, 16);
  PutTag(out, "data");
  PutU32(out, dataBytes);
  for (int16_t sample : interleaved) PutU16(out, static_cast<uint16_t>(sample));
  return out;
}

std::string WriteWav(const std::string& path, const std::vector<int16_t>& interleaved, int channels, int rateHz) {
  return WriteBytes(path, EncodeWav(interleaved, channels, rateHz));
}
