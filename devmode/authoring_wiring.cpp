#include "devmode/authoring_wiring.h"

#include "authoring/authoring_music.h"
#include "devmode/authoring_session.h"
#include "engine/data_location.h"
#include "engine/playback.h"
#include "timeline/timeline_snap.h"
#include "tweak/tweak_setup.h"

void FillTweakHost(TweakHost& host, DemoEngine& engine, bool developmentMode, DataWatch& watch) {
  host.scene = &engine.scene;
  host.clock = &engine.clock;
  host.developmentMode = developmentMode;
  host.TextureCount = engine.render.TextureCount;
  host.SequenceCount = engine.SequenceCount;
  host.DemoLength = engine.sequence.DemoLength;
  host.dataDir = engine.settings.dataDir;
  host.readOnly = IsInstalledData(engine.settings.dataDir);
  host.ShutdownDemo = [&engine] { ShutdownDemo(engine); };
  host.ShowMessage = engine.host.ShowMessage;
  host.reports.FatalError = [&engine](const std::string&, const std::string& text) { engine.host.ShowMessage(text); };
  host.reports.Notice = host.reports.FatalError;
  host.PresetFileWritten = [&watch](const std::string& path) { NoteOwnWrite(watch, path); };
}

std::unique_ptr<AuthoringSession> NewAuthoringSession(bool developmentMode, const PlayOptions& options) {
  if (!developmentMode && !options.startMs) return nullptr;
  auto session = std::make_unique<AuthoringSession>();
  session->clock.followMusic = developmentMode && options.music;
  session->clock.startMs = options.startMs;
  return session;
}

void ConnectAuthoringClock(AuthoringSession& session, DemoEngine& engine) {
  session.engine = &engine;
  session.music = MusicControlFor(engine.music);
  session.realMs = engine.clock.StartTick;
}

uint32_t AuthoringBeforeFrame(AuthoringSession& session, uint32_t realMs) {
  if (!session.engine) return realMs;
  session.realMs = realMs;
  BeforeFrame(session.clock, session.engine->clock, AuthoringTick(session.clock, realMs), realMs, session.music);
  return AuthoringTick(session.clock, realMs);
}

void AuthoringAfterFrame(AuthoringSession& session) {
  if (!session.engine || session.engine->terminating) return;
  AfterFrame(session.clock, session.engine->clock, session.music);
}

void ApplyClockCommand(AuthoringSession& session, ClockCommand command, TweakForm* form, std::optional<double> bpm) {
  AuthoringClock& clock = session.clock;
  const uint32_t demoTimeMs = bpm ? SnapMs(session.engine->clock.DemoTime, bpm) : session.engine->clock.DemoTime;
  switch (command) {
    case ClockCommand::TogglePause: TogglePause(clock, session.realMs, session.music); break;
    case ClockCommand::SetLoopIn: SetLoopIn(clock, demoTimeMs); break;
    case ClockCommand::SetLoopOut: SetLoopOut(clock, demoTimeMs); break;
    case ClockCommand::ClearLoop: ClearLoop(clock); break;
  }
  if (form) ShowLoopInfo(clock, *form);
}

void ShowLoopInfo(const AuthoringClock& clock, TweakForm& form) {
  form.loopInfo = LoopInfoLine(clock.loopInMs, clock.loopOutMs);
  UpdateInfo(form);
}
