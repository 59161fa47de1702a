// Recording keys while a gesture goes on: a 10 s drag over 40 parameters at 60 fps, every frame one
// sample of each parameter thinned as it comes and the entry's tracks written again (what the recording
// does at each frame of a drag). Two drags: a straight one (every value on a line, so no sample stays a
// key and each frame checks all samples since the start: the thinning's worst case) and a wavering one
// (most samples stay keys, so the tracks written grow). The entry already holds 100 keys on each of the
// 40 tracks. Reported as the mean and the worst frame's share of a 60 fps frame (16.7 ms), in the CPU
// time of this thread (steady when other programs load the machine).
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "devmode/key_recording.h"
#include "scene/param_table.h"

namespace {

constexpr double kFrameBudgetMs = 1000.0 / 60.0;
constexpr int kParams = 40;
constexpr int kFrames = 600;  // 10 s at 60 fps
constexpr uint32_t kFrameMs = 17;
constexpr int kKeysBefore = 100;

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The value of parameter param at frame `frame` of the drag: within its key range, along a line or
// wavering around it.
float ValueAt(int param, int frame, bool wavering) {
  const KeyRange range = ParamKeyRange(param);
  double share = double(frame) / kFrames;
  if (wavering) share = 0.5 + 0.4 * std::sin(frame * 0.3 + param);
  return static_cast<float>(range.minimum + (range.maximum - range.minimum) * share);
}

struct FrameCost {
  double meanMs = 0, worstMs = 0;
  size_t keys = 0;  // recorded, over all tracks
};

FrameCost Drag(bool wavering) {
  AutomationTracks before;
  for (int param = 0; param < kParams; ++param)
    for (int key = 0; key < kKeysBefore; ++key)
      SetKey(TrackFor(before, param), 20000 + key * 10, ValueAt(param, key, false));
  std::map<int, SampledParam> params;
  AutomationTracks tracks;
  FrameCost cost;
  for (int frame = 0; frame < kFrames; ++frame) {
    const double startMs = ThreadCpuMs();
    for (int param = 0; param < kParams; ++param)
      AddSample(param, params[param], frame * kFrameMs, ValueAt(param, frame, wavering));
    tracks = RecordedTracks(before, params);
    const double tookMs = ThreadCpuMs() - startMs;
    cost.meanMs += tookMs / kFrames;
    cost.worstMs = std::max(cost.worstMs, tookMs);
  }
  for (const AutomationTrack& track : tracks) cost.keys += track.Keys.size() - kKeysBefore;
  return cost;
}

}  // namespace

int main() {
  std::printf("recording a 10 s drag of %d parameters at 60 fps, as a share of a 60 fps frame (16.7 ms):\n", kParams);
  for (const bool wavering : {false, true}) {
    const FrameCost cost = Drag(wavering);
    std::printf("  %-9s drag: mean %6.3f %%, worst frame %6.3f %%  (%zu keys recorded)\n",
                wavering ? "wavering" : "straight", 100 * cost.meanMs / kFrameBudgetMs,
                100 * cost.worstMs / kFrameBudgetMs, cost.keys);
  }
  return 0;
}
