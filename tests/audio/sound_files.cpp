#include "tests/audio/sound_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "audio/mp3_decoder.h"
#include "tests/support/run_command.h"

std::filesystem::path MakeMp3(const std::filesystem::path& dir, const std::string& name, const std::string& synth,
                              int rateHz, int channels) {
  std::filesystem::path wav = dir / (name + ".wav");
  std::filesystem::path mp3 = dir / (name + ".mp3");
  std::string command = "sox -n -r " + std::to_string(rateHz) + " -c " + std::to_string(channels) + " -b 16 '" +
                        wav.string() + "' synth " + synth + " && lame --quiet -b 192 '" + wav.string() + "' '" +
                        mp3.string() + "'";
  CommandResult result = RunCommand(command);
  if (result.status == 0) return mp3;
  ADD_FAILURE() << "sox or lame failed (tools/setup.sh installs them): " << result.output;
  return {};
}

std::vector<int16_t> DecodeWholeMp3(const std::filesystem::path& file) {
  Mp3Decoder decoder;
  if (!OpenMp3(decoder, file.string()).empty()) return {};
  DecodeMp3Frames(decoder, UINT64_MAX);
  std::vector<int16_t> samples = decoder.samples;
  CloseMp3(decoder);
  return samples;
}

std::vector<int16_t> ReadRawSamples(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = int16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
  return samples;
}

int64_t FindFrames(const std::vector<int16_t>& haystack, const std::vector<int16_t>& needle, size_t needleFrame,
                   size_t frames, size_t fromFrame) {
  if ((needleFrame + frames) * 2 > needle.size()) return -1;
  const int16_t* wanted = needle.data() + needleFrame * 2;
  for (size_t at = fromFrame; (at + frames) * 2 <= haystack.size(); ++at) {
    size_t i = 0;
    while (i < frames * 2 && haystack[at * 2 + i] == wanted[i]) ++i;
    if (i == frames * 2) return int64_t(at);
  }
  return -1;
}

double LeftRms(const std::vector<int16_t>& samples, size_t firstFrame, size_t frames) {
  double sum = 0.0;
  for (size_t f = firstFrame; f < firstFrame + frames; ++f) sum += double(samples[f * 2]) * samples[f * 2];
  return std::sqrt(sum / double(frames));
}

double LeftFrequencyHz(const std::vector<int16_t>& samples, size_t firstFrame, size_t frames, int rateHz) {
  int crossings = 0;
  for (size_t f = firstFrame + 1; f < firstFrame + frames; ++f)
    if (samples[(f - 1) * 2] < 0 && samples[f * 2] >= 0) ++crossings;
  return crossings * double(rateHz) / double(frames);
}
