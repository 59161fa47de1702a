#pragma once
// The authoring clock of a run in development mode or with --start: the engine reads its tick through
// the clock, which pauses, loops and seeks, and the music follows it. A default run (no -d, no --start)
// has no AuthoringSession. No window toolkit here.
#include <functional>
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
  std::function<uint32_t()> realTick;  // the program's own tick; engine->host.GetTickCount reads the clock's
};

// A session for development mode or --start; nullptr for a default run.
std::unique_ptr<AuthoringSession> NewAuthoringSession(bool developmentMode, const PlayOptions& options);

// Once InitDemo succeeded: the tick through the clock, the music from it.
void ConnectAuthoringClock(AuthoringSession& session, DemoEngine& engine);

// F5..F8 (authoring/clock_command.h): the command on the session's clock; form (nullptr: none) shows the
// loop. With a bpm, F6 and F7 put the loop point on the beat nearest the demo time (beats from time 0).
void ApplyClockCommand(AuthoringSession& session, ClockCommand command, TweakForm* form, std::optional<double> bpm);

// The loop line of form's info from the clock's loop points.
void ShowLoopInfo(const AuthoringClock& clock, TweakForm& form);

// Around DemoIdle.
void AuthoringBeforeFrame(AuthoringSession& session);
void AuthoringAfterFrame(AuthoringSession& session);
