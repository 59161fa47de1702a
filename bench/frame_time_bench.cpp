// Frame times of the shipped demo (data/), measured in one run so that the ratios hold on a loaded
// machine: every frame of a 30 frames/s pass drawn offscreen and in a 640 × 480 output window (run it
// under an X server, e.g. xvfb-run), the two taking turns frame by frame so that both see the same
// load, with p50, p95, p99, the worst frame and the costliest section (a span between two entry starts
// or ends) of each, and the window/offscreen rate ratio (a window frame includes the toolkit's event
// handling after it). Then
// the export (build/quarnel --export) at 10, 30 and 60 frames/s, as a multiple of real time, and its
// time over that of the same export into a null pipe (an "ffmpeg" that only swallows the frames).
// Also the main thread's share of a frame of 255 cheap layers (the default scene 255 times over, in
// wireframe, without planes, waves, sprites or clears): mostly the device turning Direct3D state into
// GL calls.
//
//   build/bench/frame_time_bench [--frame-step N] [--cpu-time] [--sections] [--no-window] [--no-export]
//
// --frame-step N draws every Nth frame of the pass (default 1). --cpu-time measures the frames in CPU
// time of the whole process (the renderer's threads included) instead of wall time: steadier on a
// machine that others load, for comparing the cost of scenes. --sections lists every section's mean.
// Prints a table.
#define GL_GLEXT_PROTOTYPES
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <GL/gl.h>

#include <algorithm>
#include <time.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cli/console_load.h"
#include "draw/demo_frame.h"
#include "draw/device_setup.h"
#include "draw/offscreen_demo.h"
#include "gpu/gl_direct3d.h"
#include "scene/shared_random.h"
#include "ui/output_view.h"
#include "bench/report_to_stderr.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kFps = 30;
constexpr uint32_t kWidthPx = 640, kHeightPx = 480;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

bool cpuTime = false;       // --cpu-time
bool everySection = false;  // --sections

// Now in ms: wall time, or with --cpu-time the CPU time of the process.
double NowMs() {
  if (!cpuTime) return Ms(Clock::now().time_since_epoch());
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// The spans between consecutive entry starts and ends, as [from, to) in ms.
std::vector<std::pair<uint32_t, uint32_t>> Sections(const SceneSequence& sequence) {
  std::set<uint32_t> bounds = {0, sequence.DemoLength + 1};
  for (const TSceneSeqEntry& entry : sequence.SequenceEntries) {
    bounds.insert(std::min(entry.StartTime, sequence.DemoLength));
    bounds.insert(std::min(entry.EndTime + 1, sequence.DemoLength + 1));
  }
  std::vector<std::pair<uint32_t, uint32_t>> sections;
  for (auto it = bounds.begin(); std::next(it) != bounds.end(); ++it) sections.push_back({*it, *std::next(it)});
  return sections;
}

struct Pass {
  std::vector<double> frameMs;
  std::vector<uint32_t> timesMs;
  double totalMs = 0;
};

// Draws the frame at tMs with state's device, Present ending it (a swap in a window, a finish offscreen);
// returns the ms it took.
double DrawTimedFrame(RenderState& state, LoadedDemo& demo, uint32_t tMs) {
  uint32_t fxTimeMs = 0;
  const double startMs = NowMs();
  DrawDemoFrame(state, demo.scene, demo.sequence, tMs, false, kWidthPx, kHeightPx, fxTimeMs, [](const std::string&) {});
  return NowMs() - startMs;
}

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

void PrintPass(const char* name, const Pass& pass, const SceneSequence& sequence) {
  std::map<std::pair<uint32_t, uint32_t>, std::pair<double, int>> bySection;
  const auto sections = Sections(sequence);
  for (size_t i = 0; i < pass.frameMs.size(); ++i)
    for (const auto& section : sections)
      if (pass.timesMs[i] >= section.first && pass.timesMs[i] < section.second) {
        bySection[section].first += pass.frameMs[i];
        bySection[section].second += 1;
      }
  if (everySection)
    for (const auto& [section, sum] : bySection)
      std::printf("  section %7.3f-%7.3f s: %6.2f ms\n", section.first / 1000.0, section.second / 1000.0,
                  sum.first / sum.second);
  std::pair<uint32_t, uint32_t> worst{};
  double worstMs = -1;
  for (const auto& [section, sum] : bySection)
    if (sum.first / sum.second > worstMs) worstMs = sum.first / sum.second, worst = section;
  const double p50 = Percentile(pass.frameMs, 0.50);
  std::printf(
      "%-10s %6zu frames  p50 %6.2f ms  p95 %6.2f ms  p99 %6.2f ms  worst %6.2f ms  p99/p50 %.2f  "
      "worst section %.3f-%.3f s: %.2f ms (%.0f fps, %.2f x p50)\n",
      name, pass.frameMs.size(), p50, Percentile(pass.frameMs, 0.95), Percentile(pass.frameMs, 0.99),
      *std::max_element(pass.frameMs.begin(), pass.frameMs.end()), Percentile(pass.frameMs, 0.99) / p50,
      worst.first / 1000.0, worst.second / 1000.0, worstMs, 1000.0 / worstMs, worstMs / p50);
}

std::string StartRenderer(RenderState& state, LoadedDemo& demo, HWND window) {
  SeedRandom(kRepeatableSeed);
  state.d3d = Direct3DCreate8(D3D_SDK_VERSION);
  ReportToStderr(state);
  DeviceChoice choice;
  choice.windowed = true;
  choice.widthPx = kWidthPx;
  choice.heightPx = kHeightPx;
  choice.window = window;
  std::string error = CreateRenderDevice(state, choice);
  if (error.empty()) error = CreateSceneObjects(state, "data");
  if (error.empty()) error = InitFrameStates(state, demo.sequence.ScreenCinemaWidthRatio);
  return error;
}

// The offscreen renderer on a thread of its own, so that its EGL context and the window's GLX context
// each stay current on their own thread; it draws the frame it is handed while the caller waits.
class OffscreenThread {
 public:
  explicit OffscreenThread(const LoadedDemo& demo) : demo_(demo), thread_([this] { Run(); }) {}
  ~OffscreenThread() {
    Hand(kStop);
    thread_.join();
  }
  // The ms the frame at tMs took; negative when the renderer did not start.
  double Draw(uint32_t tMs) {
    Hand(tMs);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !frameHanded_; });
    return frameMs_;
  }

 private:
  static constexpr uint32_t kStop = UINT32_MAX;

  void Hand(uint32_t tMs) {
    std::lock_guard lock(mutex_);
    frameTimeMs_ = tMs;
    frameHanded_ = true;
    changed_.notify_all();
  }

  void Run() {
    RenderState state;
    const std::string error = StartRenderer(state, demo_, nullptr);
    if (!error.empty()) std::fprintf(stderr, "offscreen: %s\n", error.c_str());
    for (;;) {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return frameHanded_; });
      if (frameTimeMs_ == kStop) break;
      lock.unlock();
      const double ms = error.empty() ? DrawTimedFrame(state, demo_, frameTimeMs_) : -1.0;
      lock.lock();
      frameMs_ = ms;
      frameHanded_ = false;
      changed_.notify_all();
    }
    ReleaseRenderObjects(state);
  }

  LoadedDemo demo_;  // its own copy: the scene's state moves with the frames drawn
  std::mutex mutex_;
  std::condition_variable changed_;
  bool frameHanded_ = false;
  uint32_t frameTimeMs_ = 0;
  double frameMs_ = 0;
  std::thread thread_;
};

// Every frameStep-th frame of the demo at 30 fps, offscreen and, with onScreen, then in an output
// window; false when a renderer did not start.
bool DrawPasses(LoadedDemo& demo, uint32_t frameStep, Pass& offscreen, Pass* onScreen) {
  std::unique_ptr<Fl_Window> window;
  RenderState windowState;
  if (onScreen != nullptr) {
    window = std::make_unique<Fl_Window>(kWidthPx, kHeightPx, "frame_time_bench");
    auto* view = new OutputView(0, 0, kWidthPx, kHeightPx);
    window->end();
    window->show();
    for (int i = 0; i < 20; ++i) Fl::check();
    const std::string error = StartRenderer(windowState, demo, view);
    if (!error.empty()) {
      std::fprintf(stderr, "window: %s\n", error.c_str());
      ReleaseRenderObjects(windowState);
      return false;
    }
  }
  OffscreenThread offscreenThread(demo);
  const uint32_t frameCount = uint32_t(uint64_t(demo.sequence.DemoLength) * kFps / 1000 + 1);
  for (uint32_t n = 0; n < frameCount; n += frameStep) {
    const uint32_t t = uint32_t(uint64_t(n) * 1000 / kFps);
    const double offscreenMs = offscreenThread.Draw(t);
    if (offscreenMs < 0) return false;
    offscreen.frameMs.push_back(offscreenMs);
    offscreen.timesMs.push_back(t);
    offscreen.totalMs += offscreenMs;
    if (onScreen == nullptr) continue;
    const double startMs = NowMs();
    onScreen->frameMs.push_back(DrawTimedFrame(windowState, demo, t));
    onScreen->timesMs.push_back(t);
    Fl::check();
    onScreen->totalMs += NowMs() - startMs;
  }
  if (onScreen != nullptr) {
    ReleaseRenderObjects(windowState);
    window->hide();
    Fl::check();
  }
  return true;
}

// Offscreen frames of 255 low-fill layers: main-thread CPU ms and wall ms per frame.
void CheapLayersLine() {
  RenderState state;
  ReportToStderr(state);
  SeedRandom(kRepeatableSeed);
  const std::string error =
      StartOffscreenRenderer(state, Direct3DCreate8(D3D_SDK_VERSION), "data", 8, kWidthPx, kHeightPx);
  if (!error.empty()) {
    std::fprintf(stderr, "cheap layers: %s\n", error.c_str());
    ReleaseRenderObjects(state);
    return;
  }
  SceneState scene;
  scene.ScenePresets = {InitParamTable()};
  scene.PresetCount = 1;
  for (TScene1ParamInterface& param : scene.ScenePresets[0]) {
    const std::string_view name = ShortName(param.Name);
    if (name == "NumberOfPlanes" || name == "NumberOfPointSpriteWaves" || name == "ClearTarget" ||
        name == "ClearZBuffer" || name == "SpriteAlpha" || name == "SpriteAlpha2")
      param.BaseVal = 0, param.OscForm = 0;
    if (name == "FillMode") param.BaseVal = D3DFILL_WIREFRAME;  // the rings and the object as lines
  }
  SceneSequence sequence;
  sequence.DemoLength = 20000;
  sequence.ScreenCinemaWidthRatio = 8;
  sequence.SequenceEntries.assign(255, TSceneSeqEntry{0, 0, 20000, 1, 0, 0, 0, 0, {}, {}});
  constexpr int kFrames = 20;
  double threadMs = 0, wallMs = 0;
  for (int k = 0; k < kFrames; ++k) {
    uint32_t fxTimeMs = 0;
    timespec before{}, after{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
    const auto start = Clock::now();
    DrawDemoFrame(state, scene, sequence, uint32_t(k) * 40, false, kWidthPx, kHeightPx, fxTimeMs,
                  [](const std::string&) {});
    wallMs += Ms(Clock::now() - start);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
    threadMs += double(after.tv_sec - before.tv_sec) * 1000.0 + double(after.tv_nsec - before.tv_nsec) / 1e6;
  }
  std::printf("255 cheap layers: main thread %.1f ms of %.1f ms per frame (%.0f %%)\n", threadMs / kFrames,
              wallMs / kFrames, 100.0 * threadMs / wallMs);
  ReleaseRenderObjects(state);
}

// Seconds build/quarnel --export takes at fps; with nullPipe, into an "ffmpeg" that swallows the frames.
double ExportSeconds(uint32_t fps, bool nullPipe, const std::filesystem::path& scratch) {
  std::string command;
  if (nullPipe) command = "PATH=" + (scratch / "null-ffmpeg").string() + ":\"$PATH\" ";
  command += "build/quarnel --export " + (scratch / "bench.mp4").string() + " --fps " + std::to_string(fps) +
             " data 2>/dev/null";
  const auto start = Clock::now();
  const int status = std::system(command.c_str());
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return status == 0 ? seconds : -1;
}

void ExportTable(const SceneSequence& sequence) {
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "quarnel-frame-time-bench";
  std::filesystem::create_directories(scratch / "null-ffmpeg");
  const std::filesystem::path fake = scratch / "null-ffmpeg" / "ffmpeg";
  // Reads every frame, writes an empty output file (its last argument) so the export completes.
  std::ofstream(fake) << "#!/bin/sh\nfor last; do :; done\ncat >/dev/null\n: >\"$last\"\n";
  std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
  const double demoS = sequence.DemoLength / 1000.0;
  for (uint32_t fps : {10u, 30u, 60u}) {
    const double nullS = ExportSeconds(fps, true, scratch);
    const double realS = ExportSeconds(fps, false, scratch);
    if (nullS <= 0 || realS <= 0) {
      std::printf("export %2u fps: failed (is ffmpeg installed, build/quarnel built?)\n", fps);
      continue;
    }
    std::printf("export %2u fps: %6.1f s  %.2f x real time   null pipe %6.1f s  export/null %.3f\n", fps, realS,
                demoS / realS, nullS, realS / nullS);
  }
  std::filesystem::remove_all(scratch);
}

}  // namespace

int main(int argc, char** argv) {
  uint32_t frameStep = 1;
  bool window = true, exportToo = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--frame-step" && i + 1 < argc) frameStep = uint32_t(std::max(1, std::atoi(argv[++i])));
    else if (arg == "--sections") everySection = true;
    else if (arg == "--cpu-time") cpuTime = true;
    else if (arg == "--no-window") window = false;
    else if (arg == "--no-export") exportToo = false;
    else {
      std::fprintf(stderr, "usage: %s [--frame-step N] [--cpu-time] [--sections] [--no-window] [--no-export]\n",
                   argv[0]);
      return 2;
    }
  }
  std::filesystem::current_path(QUARNEL_SOURCE_DIR);  // the sequence names its MP3 from there
  LoadedDemo demo;
  if (!LoadDataFolder("data", demo)) return 1;
  std::printf("shipped demo, %u x %u, every %u. frame of %u fps, %u cores\n", kWidthPx, kHeightPx, frameStep, kFps,
              std::max(1u, std::thread::hardware_concurrency()));
  CheapLayersLine();
  if (window && !std::getenv("DISPLAY")) {
    std::fprintf(stderr, "window: no X display (run under xvfb-run)\n");
    window = false;
  }
  Pass offscreen, onScreen;
  if (!DrawPasses(demo, frameStep, offscreen, window ? &onScreen : nullptr)) return 1;
  PrintPass("offscreen", offscreen, demo.sequence);
  if (window) {
    PrintPass("window", onScreen, demo.sequence);
    std::printf("window/offscreen rate: %.3f\n", offscreen.totalMs / onScreen.totalMs);
  }
  if (exportToo) ExportTable(demo.sequence);
  return 0;
}
