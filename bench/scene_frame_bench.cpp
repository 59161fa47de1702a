// The default scene drawn offscreen at 640 × 480 on the OpenGL device, frame by frame as the playback
// loop draws it, next to the same device calls replayed from a recording with no engine work (the
// device's own limit). Engine and replay frames alternate in one run, so both see the same machine
// load. Counters: frames per second of each, their ratio (goal: at least 0.95), and the engine's own
// time per frame (frame time minus the time spent inside the device).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "call_capture.h"
#include "render/demo_frame.h"
#include "render/gl_direct3d.h"
#include "render/offscreen_demo.h"
#include "scene/shared_random.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kRecordedFrames = 300;
constexpr uint32_t kFrameStepMs = 40;

// A 64 × 64 texture: a colourful disc on black, as a 24-bit BMP.
std::string MakeDataDir() {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quarnel-bench-data";
  std::filesystem::create_directories(dir);
  std::vector<uint8_t> file(54 + 64 * 64 * 3, 0);
  auto put32 = [&file](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i)); };
  file[0] = 'B', file[1] = 'M';
  put32(2, uint32_t(file.size())), put32(10, 54), put32(14, 40), put32(18, 64), put32(22, 64);
  file[26] = 1, file[28] = 24;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const int dx = x - 32, dy = y - 32, r2 = dx * dx + dy * dy;
      uint8_t* p = &file[54 + (size_t(y) * 64 + x) * 3];
      if (r2 < 900) p[0] = uint8_t(4 * x), p[1] = uint8_t(255 - 3 * y), p[2] = 255;
    }
  std::ofstream(dir / "texture0.bmp", std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  return dir.string();
}

void DefaultSceneEngineVersusReplay(benchmark::State& bench) {
  auto capture = std::make_shared<CallCapture>();
  RenderState state;
  SeedRandom(1);
  const std::string error = StartOffscreenRenderer(
      state, CreateCaptureDirect3D8(Direct3DCreate8(D3D_SDK_VERSION), capture), MakeDataDir(), 2.35f, 640, 480);
  if (!error.empty()) {
    bench.SkipWithError(error.c_str());
    ReleaseRenderObjects(state);
    return;
  }
  SceneState scene;  // no presets: the default scene
  SceneSequence sequence;
  sequence.DemoLength = kRecordedFrames * kFrameStepMs;
  sequence.ScreenCinemaWidthRatio = 2.35f;
  sequence.SequenceEntries = {TSceneSeqEntry{0, 0, sequence.DemoLength, 1, 0, 0, 0, 0}};
  uint32_t fxTimeMs = 0;

  std::vector<std::vector<ReplayStep>> frames(kRecordedFrames);
  for (uint32_t k = 0; k < kRecordedFrames; ++k) {
    capture->recordInto = &frames[k];
    DrawDemoFrame(state, scene, sequence, k * kFrameStepMs, false, 640, 480, fxTimeMs);
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
    DrawDemoFrame(state, scene, sequence, k * kFrameStepMs, false, 640, 480, fxTimeMs);
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
