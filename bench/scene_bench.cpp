// Per-frame scene cost of a full sequence: 255 entries, each a preset copy and 77 evaluations, as the
// playback loop does every frame. Reported as the share of a 60 fps frame (16.7 ms) it takes; with key
// tracks (10 of 100 keys on every entry) also what the tracks add, measured beside the same frames
// without them in one run.
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
    entries.push_back({static_cast<uint8_t>(i), 0, 100000, 0.5f + i * 0.01f, i * 10, 1, 0.001f, 200, {}, {}});
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

// The 255 entries with 10 tracks of 100 keys each over their 100 s, every curve in turn.
std::vector<TSceneSeqEntry> TrackedEntries() {
  std::vector<TSceneSeqEntry> entries;
  for (int i = 0; i < 255; ++i) {
    TSceneSeqEntry entry{static_cast<uint8_t>(i), 0, 100000, 0.5f + i * 0.01f, i * 10, 1, 0.001f, 200, {}, {}};
    for (const int param : {0, 1, 2, 4, 5, 6, 20, 22, 28, 67}) {
      AutomationTrack& track = TrackFor(entry.Tracks, param);
      for (uint32_t k = 0; k < 100; ++k)
        track.Keys.push_back({k * 1000, float(k % 2 ? 200 : 10), static_cast<KeyCurve>(k % kKeyCurveCount)});
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

void TrackedSequenceFrame(benchmark::State& state) {
  SceneState scene;
  scene.ScenePresets.assign(255, InitParamTable());
  scene.PresetCount = 255;
  const std::vector<TSceneSeqEntry> entries = TrackedEntries();
  const auto frameMs = [&](uint32_t demoTimeMs, bool tracked) {
    const auto start = std::chrono::steady_clock::now();
    for (const TSceneSeqEntry& entry : entries) {
      const TFrameParamBlock block = UpdateSceneParams(scene, entry.PresetNumber, entry.StartTime, entry.EndTime,
                                                       EntryEffectTime(entry, demoTimeMs), false,
                                                       tracked ? EntryTracksAt(entry, demoTimeMs) : TracksAt{});
      benchmark::DoNotOptimize(block);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  };
  uint32_t demoTimeMs = 0;
  double plainMs = 0, trackedMs = 0;
  for (auto _ : state) {
    plainMs += frameMs(demoTimeMs, false);
    trackedMs += frameMs(demoTimeMs, true);
    demoTimeMs = (demoTimeMs + 16) % 100000;
  }
  const double frames = double(state.iterations());
  state.counters["share_of_60fps_frame_%"] = 100.0 * trackedMs / frames / kFrameBudgetMs;
  state.counters["tracks_share_of_60fps_frame_%"] = 100.0 * (trackedMs - plainMs) / frames / kFrameBudgetMs;
}
BENCHMARK(TrackedSequenceFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
