#include "ui/authoring_session.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "engine/toolkit_guard.h"
#include "tweak/tweak_window.h"

namespace {

constexpr double kReloadPollSeconds = 0.5;

AuthoringSession* keySession = nullptr;  // FLTK's event handlers carry no data

// The tweak window's info shows the section loop.
void ShowLoop(AuthoringSession& session) {
  if (!session.tweak) return;
  ShowLoopInfo(session.clock, ModelOf(*session.tweak));
  RefreshTweakWindow(*session.tweak);
}

void RunClockCommand(AuthoringSession& session, ClockCommand command) {
  ApplyClockCommand(session, command, nullptr);
  ShowLoop(session);
}

// Whether the keyboard is the output window's: it has the focus (the pointer over the picture gives
// it the focus) or the pointer is over it.
bool OutputHasKeys(const AuthoringSession& session) {
  const Fl_Widget* focus = Fl::focus();
  const Fl_Widget* below = Fl::belowmouse();
  const auto inOutput = [&session](const Fl_Widget* widget) {
    return widget && (widget == session.output || widget->top_window() == session.output);
  };
  return inOutput(focus) || inOutput(below);
}

// Keys no widget used. The tweak window takes F5..F8 itself, so what arrives here comes from the
// output window, except a Space the tweak window did not use: that one is left alone. F2 shows the
// tweak window again after Escape hid it.
int OutputWindowKeys(int event) {
  if (event != FL_SHORTCUT || !keySession) return 0;
  const int key = Fl::event_key();
  if (key == ' ') {
    if (!OutputHasKeys(*keySession)) return 0;
    FromToolkit([] { RunClockCommand(*keySession, ClockCommand::TogglePause); });
    return 1;
  }
  if (key == FL_F + 2) {
    if (keySession->tweak) FromToolkit([] { ReopenTweakWindow(*keySession->tweak); });
    return 1;
  }
  if (key < FL_F + 5 || key > FL_F + 8) return 0;
  constexpr ClockCommand kCommands[] = {ClockCommand::TogglePause, ClockCommand::SetLoopIn, ClockCommand::SetLoopOut,
                                        ClockCommand::ClearLoop};
  const ClockCommand command = kCommands[key - (FL_F + 5)];
  FromToolkit([command] { RunClockCommand(*keySession, command); });
  return 1;
}

void PollTimer(void* data) {
  HotReloadTimer& timer = *static_cast<HotReloadTimer*>(data);
  DemoEngine& engine = *timer.engine;
  if (engine.terminating) return;
  // Not again before this poll is done: a box it opens runs the event loop meanwhile.
  FromToolkit([&] { PollDataFiles(timer.watch, engine.scene, engine.sequence, engine.SequenceCount, timer.events); });
  Fl::repeat_timeout(kReloadPollSeconds, PollTimer, data);
}

}  // namespace

void ConnectAuthoring(AuthoringSession& session, DemoEngine& engine, Fl_Window* output) {
  ConnectAuthoringClock(session, engine);
  session.output = output;
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

void StartHotReload(HotReloadTimer& timer, DemoEngine& engine) {
  timer.engine = &engine;
  WatchDataFiles(timer.watch, engine.settings.dataDir, engine.scene.PresetCount);
  Fl::add_timeout(kReloadPollSeconds, PollTimer, &timer);
}
