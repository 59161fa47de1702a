#pragma once
// The authoring clock of a run in development mode or with --start: each frame's tick comes from the
// program's real tick through the clock, which pauses, loops and seeks, and the music follows it. A
// default run (no -d, no --start) has no AuthoringSession. No window toolkit here.
#include <memory>
#include <optional>

#include "authoring/authoring_clock.h"
#include "authoring/clock_command.h"
#include "engine/demo_engine.h"
#include "engine/play_options.h"

struct TweakForm;

struct AuthoringSession {
  DemoEngine* engine = nullptr;
  AuthoringClock clock;
  MusicControl music;
  uint32_t realMs = 0;  // the program's own tick at the last frame, where the clock keys act
};

// A session for development mode or --start; nullptr for a default run.
std::unique_ptr<AuthoringSession> NewAuthoringSession(bool developmentMode, const PlayOptions& options);

// Once InitDemo succeeded and the clock started at the real tick: the music from the clock.
void ConnectAuthoringClock(AuthoringSession& session, DemoEngine& engine);

// F5..F8 (authoring/clock_command.h): the command on the session's clock; form (nullptr: none) shows the
// loop. With a bpm, F6 and F7 put the loop point on the beat nearest the demo time (beats from time 0).
void ApplyClockCommand(AuthoringSession& session, ClockCommand command, TweakForm* form, std::optional<double> bpm);

// The loop line of form's info from the clock's loop points.
void ShowLoopInfo(const AuthoringClock& clock, TweakForm& form);

// Around DemoIdle: before it, with the program's tick, the clock's moves; returns the tick the frame
// is drawn at.
uint32_t AuthoringBeforeFrame(AuthoringSession& session, uint32_t realMs);
void AuthoringAfterFrame(AuthoringSession& session);
