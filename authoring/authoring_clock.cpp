#include "authoring/authoring_clock.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFilterMs = 250;       // smoothing of the stepwise music position
constexpr double kCorrectionMs = 500;   // a steady offset is worked off with this time constant
constexpr double kMaxSlewShare = 0.05;  // the picture runs at most 5 % fast or slow while catching up

// Seeks the music to demoTimeMs; a seek that stops short found the music's end.
void SeekMusic(AuthoringClock& authoring, const MusicControl& music, uint32_t demoTimeMs) {
  if (music.Seek) music.Seek(demoTimeMs);
  if (music.SetPaused) music.SetPaused(authoring.paused);
  authoring.filteredLeadMs.reset();
  const int64_t positionMs = music.PositionMs ? music.PositionMs() : -1;
  if (positionMs >= 0 && positionMs < demoTimeMs) authoring.musicEndMs = static_cast<uint32_t>(positionMs);
}

// Moves the picture's tick toward the music: positive when the music runs ahead.
void FollowMusic(AuthoringClock& authoring, uint32_t demoTimeMs, uint32_t realTickMs, const MusicControl& music) {
  const double elapsedMs = static_cast<uint32_t>(realTickMs - authoring.lastMeasureTick);
  const int64_t positionMs = music.PositionMs ? music.PositionMs() : -1;
  if (positionMs < 0 || (authoring.musicEndMs && demoTimeMs >= *authoring.musicEndMs)) return;
  const double leadMs = static_cast<double>(positionMs) - demoTimeMs - kMusicLeadMs;
  const double share = std::min(1.0, elapsedMs / kFilterMs);
  const double filtered = authoring.filteredLeadMs.value_or(0.0);
  authoring.filteredLeadMs = filtered + share * (leadMs - filtered);
  if (std::fabs(*authoring.filteredLeadMs) > kResyncMs) return SeekMusic(authoring, music, demoTimeMs);
  const double limitMs = kMaxSlewShare * elapsedMs;
  authoring.slewMs += std::clamp(*authoring.filteredLeadMs * elapsedMs / kCorrectionMs, -limitMs, limitMs);
}

}  // namespace

uint32_t AuthoringTick(const AuthoringClock& authoring, uint32_t realTickMs) {
  const uint32_t running = (authoring.paused ? authoring.pausedAtTick : realTickMs) - authoring.heldMs;
  return running + static_cast<uint32_t>(static_cast<int64_t>(std::floor(authoring.slewMs)));
}

void TogglePause(AuthoringClock& authoring, uint32_t realTickMs, const MusicControl& music) {
  if (authoring.paused) {
    authoring.heldMs += realTickMs - authoring.pausedAtTick;
    authoring.paused = false;
    authoring.resync = true;  // the music resumes at the next frame's time
    return;
  }
  authoring.paused = true;
  authoring.pausedAtTick = realTickMs;
  if (music.SetPaused) music.SetPaused(true);
}

void SetLoopIn(AuthoringClock& authoring, uint32_t demoTimeMs) { authoring.loopInMs = demoTimeMs; }
void SetLoopOut(AuthoringClock& authoring, uint32_t demoTimeMs) { authoring.loopOutMs = demoTimeMs; }
void ClearLoop(AuthoringClock& authoring) { authoring.loopInMs.reset(), authoring.loopOutMs.reset(); }

bool LoopActive(const AuthoringClock& authoring) {
  return authoring.loopInMs && authoring.loopOutMs && *authoring.loopInMs < *authoring.loopOutMs;
}

std::optional<uint32_t> WrappedTime(const AuthoringClock& authoring, uint32_t lastDemoTimeMs, uint32_t demoTimeMs) {
  if (!LoopActive(authoring)) return std::nullopt;
  const uint32_t in = *authoring.loopInMs, out = *authoring.loopOutMs;
  if (demoTimeMs < out || lastDemoTimeMs > out || demoTimeMs == lastDemoTimeMs) return std::nullopt;
  return in + (demoTimeMs - out) % (out - in);
}

void BeforeFrame(AuthoringClock& authoring, DemoClock& clock, uint32_t tickMs, uint32_t realTickMs,
                 const MusicControl& music) {
  if (!authoring.framesStarted) {
    authoring.framesStarted = true;
    authoring.expectedStartTick = clock.StartTick;
    authoring.lastDemoTimeMs = clock.DemoTime;
    authoring.lastMeasureTick = realTickMs;
    if (authoring.startMs) {
      clock.StartTick -= *authoring.startMs;
      authoring.startMs.reset();
      authoring.resync = true;
    }
  }
  const int32_t demoTimeMs = static_cast<int32_t>(tickMs - clock.StartTick);
  const bool jumped = clock.StartTick != authoring.expectedStartTick;
  bool moved = jumped || authoring.resync;
  if (!jumped && demoTimeMs >= 0) {
    if (const std::optional<uint32_t> wrapped = WrappedTime(authoring, authoring.lastDemoTimeMs, demoTimeMs)) {
      clock.StartTick = tickMs - *wrapped;
      moved = true;
    }
  }
  const uint32_t frameTimeMs = static_cast<uint32_t>(std::max<int32_t>(0, int32_t(tickMs - clock.StartTick)));
  if (moved) {
    SeekMusic(authoring, music, frameTimeMs);
    authoring.resync = false;
  } else if (authoring.followMusic && !authoring.paused) {
    const double slewBeforeMs = authoring.slewMs;
    FollowMusic(authoring, frameTimeMs, realTickMs, music);
    // Slowing the picture down never takes the tick back before StartTick, which a restart at the end
    // of the last frame may have set a moment ago: the playback loop would take that for a faulty clock.
    // Only the correction is held back; a real tick that went back is still seen as the fault it is.
    const int32_t behindMs = static_cast<int32_t>(clock.StartTick - AuthoringTick(authoring, realTickMs));
    if (behindMs > 0) authoring.slewMs = std::min(slewBeforeMs, authoring.slewMs + behindMs);
  }
  authoring.expectedStartTick = clock.StartTick;
  authoring.lastMeasureTick = realTickMs;
}

void AfterFrame(AuthoringClock& authoring, const DemoClock& clock, const MusicControl& music) {
  if (clock.StartTick != authoring.expectedStartTick) SeekMusic(authoring, music, clock.DemoTime);
  authoring.expectedStartTick = clock.StartTick;
  authoring.lastDemoTimeMs = clock.DemoTime;
}
