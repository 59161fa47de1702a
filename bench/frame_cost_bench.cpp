// The cost of one 640 × 480 frame at the parameters' extremes: the default scene with the counts, powers
// and sizes that make a frame expensive set to their largest values, drawn offscreen on OpenGL. Counter
// frame_ms is the time of the slowest of six frames (with their read-back) over 10 s of effect time; the
// goal for every case is at most about one second on a 2-core machine with no GPU. vs_default is the
// case's frame time over the default scene's, measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_data_dir.h"
#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"
#include "bench/report_to_stderr.h"

namespace {

using Clock = std::chrono::steady_clock;
using Values = std::vector<std::pair<const char*, float>>;

constexpr uint32_t kTimesMs[] = {1000, 3000, 5000, 7000, 9000, 11000};

// Milliseconds of the slowest of the frames at kTimesMs of the default scene with values set (static).
double FrameMs(const Values& values) {
  RenderState state;
  ReportToStderr(state);
  const std::string error = StartOffscreenRenderer(state, Direct3DCreate8(D3D_SDK_VERSION),
                                                   MakeBenchDataDir("quarnel-frame-cost-data"), 8, 640, 480);
  if (!error.empty()) return -1;
  SceneState scene;
  scene.ScenePresets = {InitParamTable()};
  scene.PresetCount = 1;
  for (const auto& [name, value] : values)
    for (TScene1ParamInterface& param : scene.ScenePresets[0])
      if (ShortName(param.Name) == name) param.BaseVal = value, param.OscForm = 0;
  SceneSequence sequence;
  sequence.DemoLength = 20000;
  sequence.ScreenCinemaWidthRatio = 8;
  sequence.SequenceEntries = {TSceneSeqEntry{0, 0, 20000, 1, 0, 0, 0, 0, {}, {}}};
  RgbaImage image;
  // Warm-up: geometry, first target.
  (void)DrawDemoFrameToImage(state, scene, sequence, 0, false, image, [](const std::string&) {});
  double slowestMs = 0;
  for (uint32_t ms : kTimesMs) {  // effect phases and sizes change with time: the slowest frame counts
    const auto start = Clock::now();
    (void)DrawDemoFrameToImage(state, scene, sequence, ms, false, image, [](const std::string&) {});
    slowestMs = std::max(slowestMs, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  ReleaseRenderObjects(state);
  return slowestMs;
}

constexpr float kMaxWord = 65535, kMaxByte = 255;
constexpr float kFan = 6;

Values Effect(float preset) {
  return {{"UseR2TEffects", 1}, {"R2TEffectPreset", preset}, {"R2TEffectPower", kMaxWord}, {"R2TEffectSpeed", 1}};
}

const std::vector<std::pair<std::string, Values>>& Cases() {
  static const std::vector<std::pair<std::string, Values>> cases = {
      {"effect0_strip", Effect(0)},
      {"effect1_stretched_echoes", Effect(1)},
      {"effect2_slices", Effect(2)},
      {"effect5_tiles", Effect(5)},
      {"rings_fans", {{"NumberOfRingObjects", kMaxWord}, {"RingObjectPrimitive", kFan}, {"RingObjectPreset", 0}}},
      {"rings_fans_rerendered",
       {{"NumberOfRingObjects", kMaxWord},
        {"RingObjectPrimitive", kFan},
        {"UseR2TEffects", 1},
        {"ReRenderRingObjects", 1}}},
      {"planes_fans", {{"NumberOfPlanes", kMaxByte}, {"PlanesPrimitive", kFan}, {"PlaneDist", 0}}},
      {"waves_large_sprites",
       {{"NumberOfPointSpriteWaves", kMaxWord}, {"PointSpriteSizeTweak", 1000}, {"PointSpriteDist", 0}}},
      {"everything_at_once",
       {{"NumberOfRingObjects", kMaxWord},
        {"RingObjectPrimitive", kFan},
        {"NumberOfPlanes", kMaxByte},
        {"PlanesPrimitive", kFan},
        {"NumberOfPointSpriteWaves", kMaxWord},
        {"PointSpriteSizeTweak", 1000},
        {"UseR2TEffects", 1},
        {"R2TEffectPreset", 1},
        {"R2TEffectPower", kMaxWord},
        {"ReRenderRingObjects", 1},
        {"ReRenderMainObject", 1},
        {"ReRenderSprite2", 1}}},
  };
  return cases;
}

void ExtremeFrame(benchmark::State& bench) {
  const auto& [name, values] = Cases()[size_t(bench.range(0))];
  bench.SetLabel(name);
  double defaultMs = 0, caseMs = 0;
  for (auto _ : bench) {
    defaultMs = FrameMs({});
    caseMs = FrameMs(values);
  }
  if (caseMs < 0 || defaultMs < 0) {
    bench.SkipWithError("offscreen renderer did not start");
    return;
  }
  bench.counters["frame_ms"] = caseMs;
  bench.counters["vs_default"] = caseMs / defaultMs;
}
BENCHMARK(ExtremeFrame)->DenseRange(0, 8)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
