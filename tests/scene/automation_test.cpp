// A track's value over an entry's local time, every curve and its edges, and a layer evaluated with its
// entry's tracks.
#include <gtest/gtest.h>

#include <atomic>
#include <cfloat>
#include <cstdlib>
#include <new>

#include "scene/scene_update.h"
#include "scene/sequence.h"

// Every allocation of this test program is counted, to see that a frame's evaluation makes none.
namespace {
std::atomic<size_t> allocations{0};
}  // namespace
void* operator new(size_t bytes) {
  ++allocations;
  if (void* memory = std::malloc(bytes ? bytes : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }

namespace {

AutomationTrack Track(std::vector<AutomationKey> keys) { return {4, std::move(keys)}; }

}  // namespace

TEST(TrackValue, HoldsTheFirstValueBeforeAndTheLastAfter) {
  const AutomationTrack one = Track({{500, 7, KeyCurve::Smooth}});
  for (const int64_t ms : {int64_t{-5000}, int64_t{0}, int64_t{500}, int64_t{3'000'000'000}})
    EXPECT_EQ(TrackValue(one, ms), 7) << ms;
  const AutomationTrack two = Track({{100, 1, KeyCurve::Linear}, {200, 3, KeyCurve::Ramp}});
  EXPECT_EQ(TrackValue(two, -1), 1) << "negative local time: before the entry starts";
  EXPECT_EQ(TrackValue(two, 100), 1);
  EXPECT_EQ(TrackValue(two, 200), 3);
  EXPECT_EQ(TrackValue(two, 10'000), 3);
}

TEST(TrackValue, EachCurveLeadsToTheNextKey) {
  const auto at = [](KeyCurve curve, int64_t ms) {
    return TrackValue(Track({{1000, 10, curve}, {2000, 20, KeyCurve::Linear}}), ms);
  };
  EXPECT_EQ(at(KeyCurve::Linear, 1250), 12.5f);
  EXPECT_EQ(at(KeyCurve::Smooth, 1250), 11.5625f) << "t²(3 - 2t) at a quarter";
  EXPECT_EQ(at(KeyCurve::Smooth, 1500), 15);
  EXPECT_EQ(at(KeyCurve::Ramp, 1500), 12.5f) << "t² at the middle";
  EXPECT_EQ(at(KeyCurve::Step, 1999), 10) << "a step holds until the next key";
  for (const KeyCurve curve : {KeyCurve::Step, KeyCurve::Linear, KeyCurve::Smooth, KeyCurve::Ramp}) {
    EXPECT_EQ(at(curve, 1000), 10) << kKeyCurveNames[int(curve)];
    EXPECT_EQ(at(curve, 2000), 20) << kKeyCurveNames[int(curve)] << ": it ends on the next key's value";
  }
}

TEST(TrackValue, EqualTimesJump) {
  const AutomationTrack jump = Track(
      {{0, 0, KeyCurve::Linear}, {100, 5, KeyCurve::Linear}, {100, 50, KeyCurve::Linear}, {200, 60, KeyCurve::Linear}});
  EXPECT_EQ(TrackValue(jump, 99), 4.95f);
  EXPECT_EQ(TrackValue(jump, 100), 50) << "at the time itself the later key holds";
  EXPECT_EQ(TrackValue(jump, 150), 55);
}

TEST(TrackValue, ValuesBetweenKeysStayBetweenThemAtTheRangeLimits) {
  for (const KeyCurve curve : {KeyCurve::Step, KeyCurve::Linear, KeyCurve::Smooth, KeyCurve::Ramp}) {
    const AutomationTrack real = Track({{0, -FLT_MAX, curve}, {2147483647, FLT_MAX, curve}});
    const AutomationTrack byte = Track({{0, 255, curve}, {7, 0, curve}});
    for (int64_t ms = 0; ms <= 7; ++ms) {
      const float value = TrackValue(byte, ms);
      EXPECT_TRUE(value >= 0 && value <= 255) << ms;
    }
    for (const int64_t ms : {int64_t{1}, int64_t{1073741823}, int64_t{2147483646}, int64_t{2147483647}}) {
      const float value = TrackValue(real, ms);
      EXPECT_TRUE(value >= -FLT_MAX && value <= FLT_MAX) << kKeyCurveNames[int(curve)] << " " << ms;
    }
    EXPECT_EQ(TrackValue(real, 2147483647), FLT_MAX);
  }
}

TEST(UpdateSceneParams, ATrackSetsTheBaseValueAndTheOscillatorSwingsAroundIt) {
  SceneState scene;
  scene.ScenePresets = {InitParamTable()};
  scene.PresetCount = 1;
  for (TScene1ParamInterface& param : scene.ScenePresets[0]) param.OscForm = 0;
  TScene1ParamInterface& bgR = scene.ScenePresets[0][0];
  bgR.OscForm = 1, bgR.Osc1 = 0.001f, bgR.Osc2 = 10;  // sin(fx * 0.001) * 10 around the base
  const AutomationTracks tracks = {{0, {{0, 100, KeyCurve::Linear}, {1000, 200, KeyCurve::Linear}}},
                                   {4, {{0, 2.5f, KeyCurve::Step}}}};
  const TFrameParamBlock untracked = UpdateSceneParams(scene, 0, 0, 1000, 0, false);
  const TFrameParamBlock atStart = UpdateSceneParams(scene, 0, 0, 1000, 0, false, {&tracks, 0});
  const TFrameParamBlock halfway = UpdateSceneParams(scene, 0, 0, 1000, 1571, false, {&tracks, 500});
  EXPECT_EQ(untracked.BG_r, 157) << "the preset's own base";
  EXPECT_EQ(atStart.BG_r, 100);
  EXPECT_EQ(halfway.BG_r, 160) << "150 + sin(1.571) * 10";
  EXPECT_EQ(halfway.TweakX, 2.5f);
  EXPECT_EQ(halfway.BG_g, untracked.BG_g) << "an untracked parameter as today";
  EXPECT_EQ(scene.LiveParams[0].BaseVal, 157) << "the live set keeps the preset's value";

  SceneState live;  // development mode's live set alone, or no preset loaded: the live set untouched
  UpdateSceneParams(live, 0, 0, 1000, 0, true, {&tracks, 500});
  EXPECT_EQ(live.LiveParams[0].BaseVal, InitParamTable()[0].BaseVal);
}

TEST(EntryTracksAt, LocalTimeIsTheDemoTimeFromTheEntrysStart) {
  TSceneSeqEntry entry;
  entry.StartTime = 5000;
  EXPECT_EQ(EntryTracksAt(entry, 7500).localMs, 2500);
  EXPECT_EQ(EntryTracksAt(entry, 0).localMs, -5000);
  EXPECT_EQ(EntryTracksAt(entry, 7500).tracks, &entry.Tracks);
}

TEST(UpdateSceneParams, AllocatesNothingForTrackedParameters) {
  SceneState scene;
  scene.ScenePresets = {InitParamTable()};
  scene.PresetCount = 1;
  AutomationTracks tracks;
  for (const int param : {0, 4, 12, 22, 76}) {
    AutomationTrack& track = TrackFor(tracks, param);
    for (uint32_t k = 0; k < 100; ++k) track.Keys.push_back({k * 100, float(k % 2), KeyCurve(k % kKeyCurveCount)});
  }
  const size_t before = allocations;
  int lit = 0;
  for (int64_t ms = -500; ms < 11000; ms += 37)
    lit += UpdateSceneParams(scene, 0, 0, 10000, uint32_t(ms + 500), false, {&tracks, ms}).BG_r;
  EXPECT_EQ(allocations, before);
  EXPECT_GT(lit, 0);
}
