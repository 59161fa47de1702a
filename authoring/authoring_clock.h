#pragma once
// The authoring clock of development mode: pause, section loop, the --start jump and music that follows
// the picture. It sits between the real millisecond tick and the playback loop: each frame's tick is
// AuthoringTick of the real one, and BeforeFrame/AfterFrame run around each DemoIdle. Nothing here runs
// in a default run, so the playback loop itself stays as it is.
//
// Convention: ticks and times are milliseconds; ticks are 32-bit wrapping counters like DemoClock's,
// demo times 0..2147483647.
#include <cstdint>
#include <functional>
#include <optional>

#include "engine/demo_clock.h"

// The soundtrack as the authoring clock drives it. Empty functions: no music.
struct MusicControl {
  std::function<void(uint32_t positionMs)> Seek;  // sample-accurate; keeps the paused state
  std::function<int64_t()> PositionMs;            // the stream's position; -1 when unknown
  std::function<void(bool paused)> SetPaused;     // pauses or resumes the output, position kept
};

// How far the stream's position runs ahead of the picture on average: the mixer fills the device's
// buffer of 1024 frames (about 23 ms) at a time, so the position leads by half of that.
inline constexpr double kMusicLeadMs = 11.6;

// The smoothed offset between music and picture beyond which the music is sought to the picture.
inline constexpr double kResyncMs = 30;

struct AuthoringClock {
  bool followMusic = false;         // keep the picture locked to the music (development mode with music)
  std::optional<uint32_t> startMs;  // --start: jump there at the first frame, then cleared

  bool paused = false;
  uint32_t pausedAtTick = 0;  // real tick of the pause
  uint32_t heldMs = 0;        // real ms spent paused, taken off the tick
  double slewMs = 0;          // correction toward the music, added to the tick

  std::optional<uint32_t> loopInMs, loopOutMs;

  bool resync = false;  // seek the music at the next frame (after a resume)
  bool framesStarted = false;
  uint32_t expectedStartTick = 0;        // StartTick as the last frame left it: a change is a time jump
  uint32_t lastDemoTimeMs = 0;           // demo time of the last frame
  uint32_t lastMeasureTick = 0;          // real tick of the last music measurement
  std::optional<double> filteredLeadMs;  // smoothed (music position - demo time - kMusicLeadMs)
  std::optional<uint32_t> musicEndMs;    // the music's length, once a seek found its end
};

// The tick the playback loop reads in place of the real one: it stands still while paused and carries
// the music correction. Equal to realTickMs as long as nothing was paused or corrected.
uint32_t AuthoringTick(const AuthoringClock& authoring, uint32_t realTickMs);

// F5 / Space: pauses or resumes picture and music together.
void TogglePause(AuthoringClock& authoring, uint32_t realTickMs, const MusicControl& music);

// F6, F7, F8: loop-in and loop-out at demoTimeMs, and clearing both.
void SetLoopIn(AuthoringClock& authoring, uint32_t demoTimeMs);
void SetLoopOut(AuthoringClock& authoring, uint32_t demoTimeMs);
void ClearLoop(AuthoringClock& authoring);

// Both loop points set and loop-in before loop-out.
bool LoopActive(const AuthoringClock& authoring);

// The demo time a frame at demoTimeMs shows when the loop is active and playback went from
// lastDemoTimeMs (at or before loop-out) to demoTimeMs (at or past it): loop-in plus the overshoot,
// wrapped into the loop's length. nullopt when there is nothing to wrap.
std::optional<uint32_t> WrappedTime(const AuthoringClock& authoring, uint32_t lastDemoTimeMs, uint32_t demoTimeMs);

// Before DemoIdle, with the tick the frame will read (AuthoringTick) and the real tick: the --start
// jump, a jump the time control made since the last frame, and the loop wrap move clock.StartTick and
// seek the music to the frame's demo time. Otherwise, when following the music, the picture's tick is
// nudged toward the music's position (by at most 5 % of the elapsed time); when they are further apart
// than kResyncMs all the same (the audio fell behind on a busy machine, say) the music is sought back to
// the picture. Past the music's end the picture runs on alone.
void BeforeFrame(AuthoringClock& authoring, DemoClock& clock, uint32_t tickMs, uint32_t realTickMs,
                 const MusicControl& music);

// After DemoIdle: a restart at the demo's end (the loop moved StartTick) seeks the music to the new
// demo time and keeps it paused when the clock is; the frame is remembered.
void AfterFrame(AuthoringClock& authoring, const DemoClock& clock, const MusicControl& music);
