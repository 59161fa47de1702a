// The timeline's costs: the waveform of a 10-minute MP3 (decoded once in the background; it should be
// ready within 2 s) and the waveform's columns after a resize.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "timeline/timeline_geometry.h"
#include "timeline/waveform.h"

namespace {

// A 10-minute stereo MP3 at 192 kbit/s (made once per run).
std::string TenMinuteMp3() {
  static const std::string path = [] {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quarnel-timeline-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string wav = (dir / "long.wav").string(), mp3 = (dir / "long.mp3").string();
    const std::string make = "sox -n -r 44100 -c 2 -b 16 " + wav +
                             " synth 600 sine 200-2000 vol 0.5 && lame --quiet -b 192 " + wav + " " + mp3 + " && rm " +
                             wav;
    return std::system(make.c_str()) == 0 ? mp3 : std::string();
  }();
  return path;
}

void WaveformOfTenMinutes(benchmark::State& state) {
  const std::string mp3 = TenMinuteMp3();
  if (mp3.empty()) {
    state.SkipWithError("sox or lame failed");
    return;
  }
  const std::atomic<bool> cancel{false};
  size_t peaks = 0;
  for (auto _ : state) peaks += DecodeWavePeaks(mp3, cancel).high.size();
  state.counters["peaks"] = double(peaks) / state.iterations();
  std::filesystem::remove_all(std::filesystem::path(mp3).parent_path());
}
BENCHMARK(WaveformOfTenMinutes)->Unit(benchmark::kMillisecond)->Iterations(2);

// The columns of a 96-second waveform for a 1280-pixel window: worked out again only when the window's
// width changes, a small part of one 60 fps frame (16.7 ms).
void ColumnsForANewWidth(benchmark::State& state) {
  WavePeaks peaks;
  peaks.low.assign(9600, -0.5f);
  peaks.high.assign(9600, 0.5f);
  TimelineGeometry geometry{1280, 400, 96000, 15, {}};
  for (auto _ : state) benchmark::DoNotOptimize(PeaksPerColumn(peaks, geometry));
}
BENCHMARK(ColumnsForANewWidth)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
