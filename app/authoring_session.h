#pragma once
// The authoring additions wired into the windowed program: the development clock around each frame,
// its keys (F5 or Space pause, F6 loop-in, F7 loop-out, F8 clear) in the output window and, through the
// tweak host, in the tweak window, the music following the clock, and the hot reload timer. A default
// run (no -d, no --start) creates no AuthoringSession; the hot reload timer runs in every run.
#include <functional>
#include <memory>

#include "app/authoring_clock.h"
#include "app/demo_engine.h"
#include "app/hot_reload.h"
#include "app/play_options.h"

class Fl_Window;
class TForm2;
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

// The tweak window's F5..F8 run the session's clock commands; the window shows the loop.
void ConnectTweakWindow(AuthoringSession& session, TweakHost& host, TForm2* tweak);

// The section loop set to inMs..outMs at once (dragged on the timeline's axis); the tweak window shows it.
void SetLoopRange(AuthoringSession& session, uint32_t inMs, uint32_t outMs);

// Around DemoIdle.
void AuthoringBeforeFrame(AuthoringSession& session);
void AuthoringAfterFrame(AuthoringSession& session);

// The hot reload timer: polls the data files twice a second while the engine runs.
struct HotReloadTimer {
  DemoEngine* engine = nullptr;
  DataWatch watch;
  ReloadEvents events;
};
void StartHotReload(HotReloadTimer& timer, DemoEngine& engine);
