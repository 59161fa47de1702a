#include "app/authoring_session.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "app/authoring_music.h"
#include "tweak/tweak_controls.h"
#include "tweak/tweak_setup.h"
#include "tweak/tweak_window.h"

namespace {

constexpr double kReloadPollSeconds = 0.5;

AuthoringSession* keySession = nullptr;  // FLTK's event handlers carry no data

// The tweak window's info shows the section loop.
void ShowLoop(AuthoringSession& session) {
  const AuthoringClock& clock = session.clock;
  if (!session.tweak) return;
  TweakForm& form = ModelOf(*session.tweak);
  form.loopInfo = LoopInfoLine(clock.loopInMs, clock.loopOutMs);
  UpdateInfo(form);
  RefreshTweakWindow(*session.tweak);
}

void RunClockCommand(AuthoringSession& session, ClockCommand command) {
  AuthoringClock& clock = session.clock;
  const uint32_t demoTimeMs = session.engine->clock.DemoTime;
  switch (command) {
    case ClockCommand::TogglePause: TogglePause(clock, session.realTick(), session.music); break;
    case ClockCommand::SetLoopIn: SetLoopIn(clock, demoTimeMs); break;
    case ClockCommand::SetLoopOut: SetLoopOut(clock, demoTimeMs); break;
    case ClockCommand::ClearLoop: ClearLoop(clock); break;
  }
  ShowLoop(session);
}

// Keys no widget used. The tweak window takes F5..F8 itself, so what arrives here comes from the
// output window, except a Space the tweak window did not use: that one is left alone.
int OutputWindowKeys(int event) {
  if (event != FL_SHORTCUT || !keySession) return 0;
  const int key = Fl::event_key();
  if (key == ' ') {
    const Fl_Widget* focus = Fl::focus();
    if (!focus || (focus != keySession->output && focus->top_window() != keySession->output)) return 0;
    RunClockCommand(*keySession, ClockCommand::TogglePause);
    return 1;
  }
  if (key < FL_F + 5 || key > FL_F + 8) return 0;
  constexpr ClockCommand kCommands[] = {ClockCommand::TogglePause, ClockCommand::SetLoopIn, ClockCommand::SetLoopOut,
                                        ClockCommand::ClearLoop};
  RunClockCommand(*keySession, kCommands[key - (FL_F + 5)]);
  return 1;
}

void PollTimer(void* data) {
  HotReloadTimer& timer = *static_cast<HotReloadTimer*>(data);
  DemoEngine& engine = *timer.engine;
  if (engine.terminating) return;
  PollDataFiles(timer.watch, engine.scene, engine.sequence, engine.SequenceCount, timer.events);
  Fl::repeat_timeout(kReloadPollSeconds, PollTimer, data);
}

}  // namespace

std::unique_ptr<AuthoringSession> NewAuthoringSession(bool developmentMode, const PlayOptions& options) {
  if (!developmentMode && !options.startMs) return nullptr;
  auto session = std::make_unique<AuthoringSession>();
  session->clock.followMusic = developmentMode && options.music;
  session->clock.startMs = options.startMs;
  return session;
}

void ConnectAuthoring(AuthoringSession& session, DemoEngine& engine, Fl_Window* output) {
  session.engine = &engine;
  session.music = MusicControlFor(engine.music);
  session.realTick = engine.host.GetTickCount;
  session.output = output;
  engine.host.GetTickCount = [&session] { return AuthoringTick(session.clock, session.realTick()); };
  if (!engine.settings.developmentMode) return;
  keySession = &session;
  Fl::add_handler(OutputWindowKeys);
}

void ConnectTweakWindow(AuthoringSession& session, TweakHost& host, TForm2* tweak) {
  session.tweak = tweak;
  host.RunClockCommand = [&session](ClockCommand command) { RunClockCommand(session, command); };
}

void SetLoopRange(AuthoringSession& session, uint32_t inMs, uint32_t outMs) {
  SetLoopIn(session.clock, inMs);
  SetLoopOut(session.clock, outMs);
  ShowLoop(session);
}

void AuthoringBeforeFrame(AuthoringSession& session) {
  if (!session.engine) return;
  const uint32_t real = session.realTick();
  BeforeFrame(session.clock, session.engine->clock, AuthoringTick(session.clock, real), real, session.music);
}

void AuthoringAfterFrame(AuthoringSession& session) {
  if (!session.engine || session.engine->terminating) return;
  AfterFrame(session.clock, session.engine->clock, session.music);
}

void StartHotReload(HotReloadTimer& timer, DemoEngine& engine) {
  timer.engine = &engine;
  WatchDataFiles(timer.watch, engine.settings.dataDir, engine.scene.PresetCount);
  Fl::add_timeout(kReloadPollSeconds, PollTimer, &timer);
}
