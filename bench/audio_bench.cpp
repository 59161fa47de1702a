// How fast MP3 decoding runs: it bounds both the music's CPU load and the cost of a far seek.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "audio/mp3_decoder.h"

static void DecodeTenSecondsOfMp3(benchmark::State& state) {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("quarnel-audio-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::string wav = (dir / "sweep.wav").string();
  std::string mp3 = (dir / "sweep.mp3").string();
  std::string make =
      "sox -n -r 44100 -c 2 -b 16 " + wav + " synth 10 sine 200-2000 vol 0.5 && lame --quiet -b 192 " + wav + " " + mp3;
  if (std::system(make.c_str()) != 0) {
    state.SkipWithError("sox or lame failed");
    return;
  }
  uint64_t frames = 0;
  for (auto _ : state) {
    Mp3Decoder decoder;
    if (!OpenMp3(decoder, mp3).empty()) return state.SkipWithError("the MP3 does not open");
    frames += DecodeMp3Frames(decoder, UINT64_MAX);
    CloseMp3(decoder);
  }
  state.counters["audio_s_per_s"] = benchmark::Counter(double(frames) / kMp3RateHz, benchmark::Counter::kIsRate);
  std::filesystem::remove_all(dir);
}
BENCHMARK(DecodeTenSecondsOfMp3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
