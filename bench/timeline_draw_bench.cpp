// What the timeline adds to every frame of development mode: one redraw of the whole window (waveform,
// beat lines, the shipped demo's bars, the cursor) at 1280x400, drawn and flushed to the X server.
// Needs a display: run it under xvfb-run -a -s "-screen 0 1280x1024x24". Compare the time with a
// frame of the output (shipped_demo_bench) for the share it takes.
#include <benchmark/benchmark.h>

#include <FL/Fl.H>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "scene/sequence.h"
#include "timeline/timeline_form.h"
#include "timeline/timeline_window.h"

namespace {

void RedrawShippedTimeline(benchmark::State& state) {
  SceneSequence sequence;
  if (LoadSceneSequence(QUARNEL_SOURCE_DIR "/data/sceneseq", sequence, {}) == 0) {
    state.SkipWithError("no data/sceneseq.txt");
    return;
  }
  sequence.Mp3FileName = QUARNEL_SOURCE_DIR "/" + sequence.Mp3FileName;
  SceneState scene;
  UndoHistory history;
  TimelineHost host;
  host.sequence = &sequence;
  host.scene = &scene;
  host.history = &history;
  host.dataDir = QUARNEL_SOURCE_DIR "/data";
  uint32_t nowMs = 0;
  host.DemoTime = [&nowMs] { return nowMs; };
  TimelineWindowPtr window = OpenTimelineWindow(host, 0, 600, 1280, 400);
  TimelineForm& form = ModelOf(*window);
  form.bpm = 120;
  // Until the waveform is decoded and shown.
  for (int n = 0; n < 300; ++n) {
    Fl::wait(0.01);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  for (auto _ : state) {
    nowMs = (nowMs + 16) % sequence.DemoLength;
    TimelineFrame(*window);
    Fl::flush();
    Fl::wait(0);
  }
}
BENCHMARK(RedrawShippedTimeline)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
