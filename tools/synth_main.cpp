// synth OUT.wav SECONDS: composes the soundtrack, writes it as a 44.1 kHz 16-bit stereo WAV file and
// prints the tempo and the start of every section in milliseconds.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/song.h"
#include "tools/voices.h"
#include "tools/wav_file.h"

namespace {

constexpr double kMaxSeconds = 600.0;  // the whole mix is held in memory: about 1.7 MB per second

// SECONDS as a number 1..kMaxSeconds, or a negative value when the text is not one.
double ParseSeconds(const char* text) {
  char* end = nullptr;
  const double seconds = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(seconds) || seconds < 1.0 || seconds > kMaxSeconds) return -1.0;
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: synth OUT.wav SECONDS\n");
    return 2;
  }
  const double seconds = ParseSeconds(argv[2]);
  if (seconds < 0.0) {
    std::fprintf(stderr, "synth: SECONDS must be a number from 1 to %.0f, not \"%s\"\n", kMaxSeconds, argv[2]);
    return 2;
  }
  if (const std::string errorText = WriteWav(argv[1], ComposeSong(seconds), 2, kSampleRateHz); !errorText.empty()) {
    std::fprintf(stderr, "synth: %s\n", errorText.c_str());
    return 1;
  }
  std::printf("%s: %.3f s, %d BPM (beat %d ms, bar %d ms)\n", argv[1], seconds, kTempoBpm, kBeatMs, kBarMs);
  for (const SongSection& section : PlanSections(SongBarCount(seconds)))
    std::printf("  %-9s bar %3d  %7d ms\n", section.name, section.startBar, section.startBar * kBarMs);
  return 0;
}
