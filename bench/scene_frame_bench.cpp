// The default scene drawn offscreen at 640 × 480 on the OpenGL device, frame by frame as the playback
// loop draws it, next to the same device calls replayed from a recording with no engine work (the
// device's own limit). Engine and replay frames alternate in one run, so both see the same machine
// load. Counters: frames per second of each, their ratio (goal: at least 0.95), and the engine's own
// time per frame (frame time minus the time spent inside the device).
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/bench_data_dir.h"
#include "call_capture.h"
#include "draw/demo_frame.h"
#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"
#include "bench/report_to_stderr.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kRecordedFrames = 300;
constexpr uint32_t kFrameStepMs = 40;

void DefaultSceneEngineVersusReplay(benchmark::State& bench) {
  auto capture = std::make_shared<CallCapture>();
  RenderState state;
  ReportToStderr(state);
  const std::string error =
      StartOffscreenRenderer(state, CreateCaptureDirect3D8(Direct3DCreate8(D3D_SDK_VERSION), capture),
                             MakeBenchDataDir("quarnel-bench-data"), 2.35f, 640, 480);
  if (!error.empty()) {
    bench.SkipWithError(error.c_str());
    ReleaseRenderObjects(state);
    return;
  }
  SceneState scene;  // no presets: the default scene
  SceneSequence sequence;
  sequence.DemoLength = kRecordedFrames * kFrameStepMs;
  sequence.ScreenCinemaWidthRatio = 2.35f;
  sequence.SequenceEntries = {TSceneSeqEntry{0, 0, sequence.DemoLength, 1, 0, 0, 0, 0, {}, {}}};
  uint32_t fxTimeMs = 0;

  std::vector<std::vector<ReplayStep>> frames(kRecordedFrames);
  for (uint32_t k = 0; k < kRecordedFrames; ++k) {
    capture->recordInto = &frames[k];
    DrawDemoFrame(state, scene, sequence, k * kFrameStepMs, false, 640, 480, fxTimeMs, [](const std::string&) {});
  }
  capture->recordInto = nullptr;

  Clock::duration engineTime{}, replayTime{};
  capture->deviceTime = {};
  uint32_t k = 0;
  for (auto _ : bench) {
    auto start = Clock::now();
    for (const ReplayStep& step : frames[k]) step();
    replayTime += Clock::now() - start;
    start = Clock::now();
    DrawDemoFrame(state, scene, sequence, k * kFrameStepMs, false, 640, 480, fxTimeMs, [](const std::string&) {});
    engineTime += Clock::now() - start;
    k = (k + 1) % kRecordedFrames;
  }
  const double frameCount = double(bench.iterations());
  const double engineS = std::chrono::duration<double>(engineTime).count();
  const double replayS = std::chrono::duration<double>(replayTime).count();
  const double deviceS = std::chrono::duration<double>(capture->deviceTime).count();
  bench.counters["engine_fps"] = frameCount / engineS;
  bench.counters["replay_fps"] = frameCount / replayS;
  bench.counters["engine_vs_replay"] = replayS / engineS;
  bench.counters["engine_own_ms"] = (engineS - deviceS) * 1000 / frameCount;
  bench.counters["calls_per_frame"] = double(frames[0].size());
  ReleaseRenderObjects(state);
  ReleaseReplayObjects(*capture);
}
BENCHMARK(DefaultSceneEngineVersusReplay)->Iterations(kRecordedFrames)->Unit(benchmark::kMillisecond);

}  // namespace
