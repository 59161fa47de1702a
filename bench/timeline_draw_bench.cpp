// What the timeline adds to the frames of development mode, measured in one run each as a ratio:
//  - a full redraw of the window (everything drawn again, as after a scroll or an edit) with 255
//    entries at the closest zoom, at 1280x400, as a share of a 60 fps frame (goal: under 5 %);
//  - the same with an entry's eight automation lanes open and 2000 keys in view, at 1024x480 (goal:
//    under 5 %);
//  - the shipped demo's frame rate (640x480, offscreen) with the timeline open and following the
//    cursor, against the rate without it, frame by frame interleaved (goal: within 5 %).
// The redraw is timed up to the X server's end of the drawing; the frames as the program's loop runs
// them. Needs a display: run it under xvfb-run -a -s "-screen 0 1280x1024x24".
#include <benchmark/benchmark.h>

#include <FL/Fl.H>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "cli/console_load.h"
#include "draw/offscreen_demo.h"
#include "gpu/gl_direct3d.h"
#include "scene/shared_random.h"
#include "timeline/timeline_form.h"
#include "timeline/timeline_view.h"
#include "timeline/timeline_window.h"
#include "bench/report_to_stderr.h"

#include <FL/x.H>  // last: X11's macros clash with names above

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kFrameMs60 = 1000.0 / 60;

// The pieces a timeline window needs, around a sequence.
struct TimelineRig {
  explicit TimelineRig(SceneSequence& sequence, SceneState& scene) {
    host.sequence = &sequence;
    host.scene = &scene;
    host.history = &history;
    host.dataDir = QUARNEL_SOURCE_DIR "/data";
  }
  UndoHistory history;
  TimelineHost host;
};

// Until the waveform is decoded and shown.
void LetTheWaveformArrive() {
  for (int n = 0; n < 300; ++n) {
    Fl::wait(0.01);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// One full frame of the window, up to the X server's end of the drawing, in ms.
double TimedFrame(TimelineWindow& window) {
  const Clock::time_point start = Clock::now();
  TimelineFrame(window);
  Fl::flush();
  XSync(fl_display, False);  // the X server's part of the drawing counts too
  const double drawnMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  Fl::wait(0);
  return drawnMs;
}

// The shipped sequence with the path of its MP3; false (the benchmark skipped) when it is not there.
bool LoadShippedSequence(SceneSequence& sequence, benchmark::State& state) {
  if (LoadSceneSequence(QUARNEL_SOURCE_DIR "/data/sceneseq", sequence, {}) == 0) {
    state.SkipWithError("no data/sceneseq.txt");
    return false;
  }
  sequence.Mp3FileName = QUARNEL_SOURCE_DIR "/" + sequence.Mp3FileName;
  return true;
}

void RedrawOf255EntriesAtTheClosestZoom(benchmark::State& state) {
  SceneSequence sequence;
  if (!LoadShippedSequence(sequence, state)) return;
  const std::vector<TSceneSeqEntry> shipped = sequence.SequenceEntries;
  sequence.SequenceEntries.clear();
  for (int i = 0; i < 255; ++i) {
    TSceneSeqEntry entry = shipped[i % shipped.size()];
    entry.StartTime = (i * 373) % (sequence.DemoLength - 4000);
    entry.EndTime = entry.StartTime + 3999;
    sequence.SequenceEntries.push_back(entry);
  }
  SceneState scene;
  TimelineRig rig(sequence, scene);
  TimelineWindowPtr window = OpenTimelineWindow(rig.host, 0, 600, 1280, 400);
  TimelineForm& form = ModelOf(*window);
  form.bpm = 120;
  LetTheWaveformArrive();
  ZoomAroundCursor(form.geometry, 1000, form.cursorMs, form.bpm);
  double drawnMs = 0, frames = 0;
  for (auto _ : state) {
    // A new place every frame: the axis and the rows scroll, so nothing drawn before can be reused.
    ScrollAxisTo(form.geometry, double(uint32_t(frames) * 97 % 60000));
    ScrollRowsTo(form.geometry, int(frames) * 7 % (MaxRowsScrollPx(form.geometry) + 1));
    drawnMs += TimedFrame(*window);
    frames += 1;
  }
  state.counters["redraw_ms"] = drawnMs / frames;
  state.counters["share_of_60fps_frame"] = drawnMs / frames / kFrameMs60;
}
BENCHMARK(RedrawOf255EntriesAtTheClosestZoom)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The shipped sequence with its first entry stretched over the first minute and selected: eight tracks
// of 250 keys each (one every 240 ms, the curves taking turns), all in view with the whole minute shown.
void RedrawOf2000KeysInView(benchmark::State& state) {
  SceneSequence sequence;
  if (!LoadShippedSequence(sequence, state)) return;
  TSceneSeqEntry& entry = sequence.SequenceEntries.front();
  entry.StartTime = 0;
  entry.EndTime = 59999;
  for (int param = 0; param < 8; ++param) {
    AutomationTrack& track = TrackFor(entry.Tracks, param * 9 + 4);
    for (uint32_t key = 0; key < 250; ++key)
      track.Keys.push_back({key * 240, float((key * 37 + param * 11) % 100), static_cast<KeyCurve>(key % 4)});
  }
  SceneState scene;
  TimelineRig rig(sequence, scene);
  TimelineWindowPtr window = OpenTimelineWindow(rig.host, 0, 160, 1024, 480);
  TimelineForm& form = ModelOf(*window);
  form.bpm = 120;
  LetTheWaveformArrive();
  SelectEntry(form, 0);
  TimelineFrame(*window);
  if (LaneTopPx(form.geometry, 7) + kLaneHeightPx > form.geometry.heightPx) {
    state.SkipWithError("not every lane shows");
    return;
  }
  form.geometry.view.followCursor = false;
  const double minutePxPerMs = (form.geometry.widthPx - 2 * kTimelineMarginPx) / 60000.0;
  double drawnMs = 0, frames = 0;
  for (auto _ : state) {
    // Zoomed a little in and out every frame: all of it is drawn again, the keys staying in view.
    form.geometry.view.pxPerMs = minutePxPerMs * (1 - 0.01 * (int(frames) % 2));
    drawnMs += TimedFrame(*window);
    frames += 1;
  }
  state.counters["keys_in_view"] = double(KeyCount(entry.Tracks));
  state.counters["redraw_ms"] = drawnMs / frames;
  state.counters["share_of_60fps_frame"] = drawnMs / frames / kFrameMs60;
}
BENCHMARK(RedrawOf2000KeysInView)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ShippedDemoWithAndWithoutTheTimeline(benchmark::State& state) {
  std::filesystem::current_path(QUARNEL_SOURCE_DIR);  // the sequence names its MP3 from there
  LoadedDemo demo;
  if (!LoadDataFolder("data", demo)) {
    state.SkipWithError("data folder not loadable");
    return;
  }
  SeedRandom(1);
  RenderState render;
  ReportToStderr(render);
  const std::string error = StartOffscreenRenderer(render, Direct3DCreate8(D3D_SDK_VERSION), "data",
                                                   demo.sequence.ScreenCinemaWidthRatio, 640, 480);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    ReleaseRenderObjects(render);
    return;
  }
  SceneSequence timelineSequence = demo.sequence;
  SceneState timelineScene = demo.scene;
  TimelineRig rig(timelineSequence, timelineScene);
  TimelineWindowPtr window = OpenTimelineWindow(rig.host, 0, 600, 1280, 400);
  ModelOf(*window).bpm = 120;
  LetTheWaveformArrive();
  ZoomAroundCursor(ModelOf(*window).geometry, 4, 0, 120.0);  // zoomed in: the view turns pages while playing
  RgbaImage image;
  double withoutMs = 0, withMs = 0, frames = 0;
  // One frame of the program's loop: the output's frame, the timeline's (or not), then the toolkit's
  // turn, where it draws what changed.
  const auto frame = [&](uint32_t timeMs, bool timeline) {
    const Clock::time_point start = Clock::now();
    (void)DrawDemoFrameToImage(render, demo.scene, demo.sequence, timeMs, false, image, [](const std::string&) {});
    if (timeline) {
      ModelOf(*window).cursorMs = timeMs;
      TimelineFrame(*window);
    }
    Fl::wait(0);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };
  for (auto _ : state) {
    for (uint32_t timeMs = 0; timeMs < demo.sequence.DemoLength; timeMs += 160) {
      withoutMs += frame(timeMs, false);
      withMs += frame(timeMs, true);
      frames += 1;
    }
  }
  state.counters["fps_without"] = frames * 1000 / withoutMs;
  state.counters["fps_with_timeline"] = frames * 1000 / withMs;
  state.counters["rate_ratio"] = withoutMs / withMs;
  window.reset();
  ReleaseRenderObjects(render);
}
BENCHMARK(ShippedDemoWithAndWithoutTheTimeline)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY")) {
    std::puts("timeline_draw_bench needs a display (xvfb-run)");
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
