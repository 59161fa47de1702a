// How fast MP3 decoding runs: it bounds both the music's CPU load and the cost of a far seek.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "audio/mp3_decoder.h"
#include "audio/sound_analysis.h"
#include "audio/tempo_guess.h"

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

// CPU seconds of the calling thread.
static double ThreadCpuS() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The shipped soundtrack (96 s) decoded, analysed into its envelopes and its tempo guessed, as the first
// use of a new MP3 does (later uses read the cache). budget_ratio: CPU seconds per analysis over the 1 s
// budget, below 1 within it. The analysis runs on one thread, so on an idle machine its wall time is the
// same; its CPU time stays so when other programs load the machine.
static void AnalyseShippedSoundtrack(benchmark::State& state) {
  const std::string mp3 = QUARNEL_SOURCE_DIR "/data/soundtrack.mp3";
  double seconds = 0;
  for (auto _ : state) {
    const double start = ThreadCpuS();
    EnvelopeSteps steps;
    if (!AnalyseMp3(mp3, steps).empty()) return state.SkipWithError("the shipped soundtrack does not decode");
    const SoundEnvelopes envelopes = EnvelopesPerMs(steps);
    benchmark::DoNotOptimize(GuessBpm(envelopes.levels[size_t(SoundSource::Onset)]));
    seconds += ThreadCpuS() - start;
  }
  constexpr double kBudgetS = 1;
  state.counters["budget_ratio"] = seconds / double(state.iterations()) / kBudgetS;
}
BENCHMARK(AnalyseShippedSoundtrack)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
