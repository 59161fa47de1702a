// Per-frame scene cost of a full sequence: 255 entries, each a preset copy and 77 evaluations, as the
// playback loop does every frame. Reported as the share of a 60 fps frame (16.7 ms) it takes.
#include <benchmark/benchmark.h>

#include <chrono>

#include "scene/scene_update.h"
#include "scene/sequence.h"

namespace {

constexpr double kFrameBudgetMs = 1000.0 / 60.0;

void SequenceFrame(benchmark::State& state) {
  SceneState scene;
  scene.ScenePresets.assign(255, InitParamTable());
  scene.PresetCount = 255;
  std::vector<TSceneSeqEntry> entries;
  for (int i = 0; i < 255; ++i)
    entries.push_back({static_cast<uint8_t>(i), 0, 100000, 0.5f + i * 0.01f, i * 10, 1, 0.001f, 200, {}});
  uint32_t demoTimeMs = 0;
  double totalMs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (const TSceneSeqEntry& entry : entries) {
      const TFrameParamBlock block = UpdateSceneParams(scene, entry.PresetNumber, entry.StartTime, entry.EndTime,
                                                       EntryEffectTime(entry, demoTimeMs), false);
      benchmark::DoNotOptimize(block);
    }
    totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    demoTimeMs += 16;
  }
  state.counters["share_of_60fps_frame_%"] = 100.0 * totalMs / state.iterations() / kFrameBudgetMs;
}
BENCHMARK(SequenceFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
