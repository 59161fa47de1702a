#pragma once
// The authoring additions wired into the windowed program: the development clock around each frame,
// its keys (F5 or Space pause, F6 loop-in, F7 loop-out, F8 clear) in the output window and, through the
// tweak host, in the tweak window, the music following the clock, and the hot reload timer. A default
// run (no -d, no --start) creates no AuthoringSession; the hot reload timer runs in every run.
#include <functional>
#include <memory>

#include "authoring/authoring_clock.h"
#include "engine/demo_engine.h"
#include "authoring/hot_reload.h"
#include "engine/play_options.h"
#include "tweak/tweak_host.h"

class Fl_Window;
class TForm2;
struct TweakForm;
struct TweakHost;

struct AuthoringSession {
  DemoEngine* engine = nullptr;
  AuthoringClock clock;
  MusicControl music;
  std::function<uint32_t()> realTick;  // the program's own tick; engine->host.GetTickCount reads the clock's
  Fl_Window* output = nullptr;         // the output window, whose Space pauses too
  TForm2* tweak = nullptr;             // shows the loop; nullptr outside development mode
};

// A session for development mode or --start; nullptr for a default run.
std::unique_ptr<AuthoringSession> NewAuthoringSession(bool developmentMode, const PlayOptions& options);

// Once InitDemo succeeded: the engine reads its tick through the session's clock, the music is driven
// from it, and in development mode the keys of output work.
void ConnectAuthoring(AuthoringSession& session, DemoEngine& engine, Fl_Window* output);

// The part of ConnectAuthoring without windows: the tick through the clock, the music from it.
void ConnectAuthoringClock(AuthoringSession& session, DemoEngine& engine);

// The tweak window's F5..F8 run the session's clock commands; the window shows the loop.
void ConnectTweakWindow(AuthoringSession& session, TweakHost& host, TForm2* tweak);

// F5..F8 (tweak/tweak_host.h): the command on the session's clock; form (nullptr: none) shows the loop.
void ApplyClockCommand(AuthoringSession& session, ClockCommand command, TweakForm* form);

// The loop line of form's info from the clock's loop points.
void ShowLoopInfo(const AuthoringClock& clock, TweakForm& form);

// The section loop set to inMs..outMs at once (dragged on the timeline's axis); the tweak window shows it.
void SetLoopRange(AuthoringSession& session, uint32_t inMs, uint32_t outMs);

// Around DemoIdle. These, NewAuthoringSession, ConnectAuthoringClock, ApplyClockCommand and ShowLoopInfo
// need no window toolkit (app/authoring_wiring.cpp); the rest does (app/authoring_session.cpp).
void AuthoringBeforeFrame(AuthoringSession& session);
void AuthoringAfterFrame(AuthoringSession& session);

// The hot reload timer: polls the data files twice a second while the engine runs.
struct HotReloadTimer {
  DemoEngine* engine = nullptr;
  DataWatch watch;
  ReloadEvents events;
};
void StartHotReload(HotReloadTimer& timer, DemoEngine& engine);
