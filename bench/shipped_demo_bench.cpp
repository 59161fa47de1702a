// The shipped demo (data/) drawn offscreen at 640 × 480 as the video export draws it: every 10th frame
// of a 30 frames/s export, each read back. Counters: frames per second with the read-back, that rate as
// a multiple of real time (the export's goal: at least 2), and the fragments llvmpipe shades per frame
// and per second, measured over the same frames in the same run. The fragment rate staying put while
// the frame rate falls in the costly scenes shows the time goes into filling pixels, not into the
// device's own work.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "cli/console_load.h"
#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"
#include "bench/report_to_stderr.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kFps = 30;
constexpr uint32_t kFrameStep = 10;  // every 10th frame of the export

void ShippedDemoFrames(benchmark::State& bench) {
  std::filesystem::current_path(QUARNEL_SOURCE_DIR);  // the sequence names its MP3 from there
  LoadedDemo demo;
  if (!LoadDataFolder("data", demo)) {
    bench.SkipWithError("data folder not loadable");
    return;
  }
  RenderState state;
  ReportToStderr(state);
  const std::string error = StartOffscreenRenderer(state, Direct3DCreate8(D3D_SDK_VERSION), "data",
                                                   demo.sequence.ScreenCinemaWidthRatio, 640, 480);
  if (!error.empty()) {
    bench.SkipWithError(error.c_str());
    ReleaseRenderObjects(state);
    return;
  }
  const uint32_t frameCount = uint32_t(uint64_t(demo.sequence.DemoLength) * kFps / 1000 + 1);
  GLuint query = 0;
  glGenQueries(1, &query);
  RgbaImage image;
  Clock::duration drawTime{};
  double fragments = 0, frames = 0;
  for (auto _ : bench) {
    for (uint32_t n = 0; n < frameCount; n += kFrameStep) {
      // Timed without the query: waiting for its result would stall between frames.
      auto start = Clock::now();
      (void)DrawDemoFrameToImage(state, demo.scene, demo.sequence, n * 1000 / kFps, false, image,
                                 [](const std::string&) {});
      drawTime += Clock::now() - start;
      frames += 1;
    }
    for (uint32_t n = 0; n < frameCount; n += kFrameStep) {
      glBeginQuery(GL_SAMPLES_PASSED, query);
      (void)DrawDemoFrameToImage(state, demo.scene, demo.sequence, n * 1000 / kFps, false, image,
                                 [](const std::string&) {});
      glEndQuery(GL_SAMPLES_PASSED);
      GLuint64 passed = 0;
      glGetQueryObjectui64v(query, GL_QUERY_RESULT, &passed);
      fragments += double(passed);
    }
  }
  glDeleteQueries(1, &query);
  const double drawS = std::chrono::duration<double>(drawTime).count();
  bench.counters["frames_per_s"] = frames / drawS;
  bench.counters["times_real_time"] = frames / drawS / kFps;
  bench.counters["fragments_per_frame"] = fragments / frames;
  bench.counters["fragments_per_s"] = fragments / drawS;
  ReleaseRenderObjects(state);
}
BENCHMARK(ShippedDemoFrames)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
