#include "ui/demo_program.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <optional>

#include "ui/ui_messages.h"
#include "ui/authoring_session.h"
#include "ui/authoring_wiring.h"
#include "ui/dev_window_layout.h"
#include "engine/init_demo.h"
#include "ui/launcher_form.h"
#include "ui/message_text.h"
#include "engine/playback.h"
#include "gpu/gl_direct3d.h"
#include "gpu/window_host.h"
#include "timeline/timeline_form.h"
#include "timeline/timeline_window.h"
#include "tweak/time_control.h"
#include "engine/toolkit_guard.h"
#include "tweak/tweak_host.h"
#include "tweak/tweak_window.h"
#include "tweak/user_events.h"
#include "tweak/tweak_setup.h"

#include <FL/x.H>  // last: the macros of X11's headers (Bool, None, Status) clash with names above

namespace {

uint32_t MonotonicTickMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// A box asked for while another one is open waits for it: FLTK shows one message box at a time and
// silently drops a second one.
struct QueuedBox {
  bool fatal = false;
  std::string text;
};

struct Program {
  DemoEngine engine;
  TForm1* form = nullptr;
  bool inFrame = false;     // a message box opened inside a frame runs the idle loop again: no nested frame
  bool fatalShown = false;
  bool boxOpen = false;
  std::deque<QueuedBox> waitingBoxes;
  std::optional<DevWindowLayout> layout;  // development mode: where the windows go
  std::unique_ptr<AuthoringSession> authoring;  // development mode and --start only
  HotReloadTimer reload;
  TForm2* tweak = nullptr;
  TimelineHost timelineHost;
  TimelineWindowPtr timeline;  // development mode only
  std::optional<uint32_t> frameStepMs;  // --frame-step: the tick is steppedTickMs, moved on after each frame
  uint32_t steppedTickMs = 0;
};

void Frame(Program& program) {
  if (program.engine.terminating) {  // a fatal error was shown: end once control is back here
    ShutdownDemo(program.engine);
    return;
  }
  program.inFrame = true;
  if (program.authoring) AuthoringBeforeFrame(*program.authoring);
  if (program.tweak) program.engine.preview.livePreset = ModelOf(*program.tweak).controls.PresetList.selected;
  DemoIdle(program.engine);
  if (program.authoring) AuthoringAfterFrame(*program.authoring);
  if (program.frameStepMs) program.steppedTickMs += *program.frameStepMs;
  if (program.timeline) TimelineFrame(*program.timeline);
}

void Idle(void* data) {
  Program& program = *static_cast<Program*>(data);
  if (program.inFrame) return;
  FromToolkit([&program] { Frame(program); });
  program.inFrame = false;
}

// Opens the X display and hands the connection to FLTK; false when there is none. A probe that closed
// its connection again would be the server's last client: Xvfb resets then and refuses the next
// connection for a moment.
bool OpenDisplay() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  fl_open_display(display);
  return true;
}

std::vector<D3DDISPLAYMODE> DesktopModes() {
  std::vector<D3DDISPLAYMODE> modes;
  for (int screen = 0; screen < Fl::screen_count(); ++screen) {
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_xywh(x, y, w, h, screen);
    modes.push_back({UINT(w), UINT(h), 60, D3DFMT_X8R8G8B8});
  }
  return modes;
}

// Boxes open over the tweak window while it is shown, so that they never cover the picture.
void PlaceBox(const Program& program) {
  const Fl_Window* tweak = program.tweak ? &TweakWindowOf(*program.tweak) : nullptr;
  fl_message_hotspot(!tweak || !tweak->visible());
  if (!tweak || !tweak->visible()) return;
  Fl_Window* box = fl_message_icon()->window();
  int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
  Fl::screen_work_area(screenX, screenY, screenW, screenH, tweak->x(), tweak->y());
  const int x = std::max(screenX, std::min(tweak->x(), screenX + screenW - box->w()));
  box->position(x, tweak->y() + tweak->h() / 3);
}

void ShowBox(Program& program, bool fatal, const std::string& text) {
  if (fatal) program.fatalShown = true;
  std::fprintf(stderr, "%s\n", MessageBoxLogLine(fatal ? kFatalErrorTitle : kApplicationTitle, text).c_str());
  program.waitingBoxes.push_back({fatal, text});
  if (program.boxOpen) return;
  program.boxOpen = true;
  while (!program.waitingBoxes.empty()) {
    const QueuedBox box = program.waitingBoxes.front();
    program.waitingBoxes.pop_front();
    PlaceBox(program);
    fl_message_title(box.fatal ? kFatalErrorTitle : kApplicationTitle);
    if (box.fatal)
      fl_alert("%s", MessageBoxText(box.text).c_str());
    else
      fl_message("%s", MessageBoxText(box.text).c_str());
  }
  program.boxOpen = false;
}

void PlugInHost(Program& program) {
  DemoHost& host = program.engine.host;
  host.GetTickCount = MonotonicTickMs;
  host.ShowFatalError = [&program](const std::string& text) { ShowBox(program, true, text); };
  host.ShowMessage = [&program](const std::string& text) { ShowBox(program, false, text); };
  host.SetCaption = [&program](const std::string& text) { program.form->SetCaption(text); };
  host.ClientSizePx = [&program](uint32_t& widthPx, uint32_t& heightPx) {
    program.form->OutputView().SizePx(widthPx, heightPx);
  };
  host.Terminate = [&program] {
    Fl::remove_idle(Idle, &program);
    while (Fl_Window* window = Fl::first_window()) window->hide();  // Fl::run returns once none is shown
  };
}

// The window around the output view, where the clock keys are read.
Fl_Window* OutputWindowOf(TForm1& form) { return dynamic_cast<Fl_Widget&>(form.OutputView()).top_window(); }

// Development mode: the output window goes to the top left of the screen's work area, the tweak
// window beside it; the output shrinks rather than hide behind it.
ScreenRectPx PlaceOutput(Program& program, int wantedWidthPx, int wantedHeightPx) {
  ScreenRectPx screen;
  Fl::screen_work_area(screen.xPx, screen.yPx, screen.widthPx, screen.heightPx, 0);
  program.layout = LayOutDevWindows(screen, wantedWidthPx, wantedHeightPx, kTweakWindowWidthPx, kTweakWindowHeightPx);
  return program.layout->output;
}

// The timeline below the output and the tweak window (program.layout, set when the output was
// placed), wired to the engine, the clock and the tweak window's undo history.
void OpenTimeline(Program& program, TweakHost& tweakHost) {
  DemoEngine& engine = program.engine;
  TimelineHost& host = program.timelineHost;
  host.sequence = &engine.sequence;
  host.scene = &engine.scene;
  host.history = &ModelOf(*program.tweak).history;
  host.dataDir = engine.settings.dataDir;
  host.DemoTime = [&engine] { return engine.clock.DemoTime; };
  host.Seek = [&engine](uint32_t demoTimeMs) {
    // Several seeks may come between two frames: each one starts from the time the last one set.
    if (JumpStartTick(engine.clock.StartTick, engine.clock.DemoTime, static_cast<int32_t>(demoTimeMs)))
      engine.clock.DemoTime = demoTimeMs;
  };
  if (AuthoringSession* session = program.authoring.get()) {
    host.LoopIn = [session] { return session->clock.loopInMs; };
    host.LoopOut = [session] { return session->clock.loopOutMs; };
    host.SetLoop = [session](uint32_t inMs, uint32_t outMs) { SetLoopRange(*session, inMs, outMs); };
  }
  host.PickedPreset = [&program] { return ModelOf(*program.tweak).controls.PresetList.selected; };
  host.SetPreview = [&engine](bool on) { engine.preview.on = on; };
  // An edited sequence shows in the tweak window as a reloaded one does.
  host.SequenceChanged = [&engine, tweakShows = program.reload.events.SequenceReloaded] {
    engine.SequenceCount = static_cast<uint8_t>(engine.sequence.SequenceEntries.size());
    tweakShows();
  };
  host.SequenceSaved = [&program] { NoteOwnWrite(program.reload.watch, program.reload.watch.sequence.path); };
  host.ShowMessage = engine.host.ShowMessage;
  host.Undo = [&program] {
    UndoChange(ModelOf(*program.tweak));
    RefreshTweakWindow(*program.tweak);
  };
  host.Redo = [&program] {
    RedoChange(ModelOf(*program.tweak));
    RefreshTweakWindow(*program.tweak);
  };
  host.RunClockCommand = tweakHost.RunClockCommand;
  host.ShutdownDemo = tweakHost.ShutdownDemo;

  // Below the two windows where they actually are, should they not stand where the layout puts them,
  // and no lower than the screen's bottom (a window reaching past it is moved up over the others).
  ScreenRectPx screen;
  Fl::screen_work_area(screen.xPx, screen.yPx, screen.widthPx, screen.heightPx, 0);
  ScreenRectPx place = program.layout->timeline;
  const Fl_Window* output = OutputWindowOf(*program.form);
  const Fl_Window& tweak = TweakWindowOf(*program.tweak);
  place.yPx = std::max({place.yPx, output->y() + output->h() + kDevWindowTitleGapPx,
                        tweak.y() + tweak.h() + kDevWindowTitleGapPx});
  const int roomPx = screen.yPx + screen.heightPx - place.yPx;
  if (roomPx >= kTimelineMinHeightPx / 2) place.heightPx = std::min(place.heightPx, roomPx);
  program.timeline = OpenTimelineWindow(host, place.xPx, place.yPx, place.widthPx, place.heightPx);
}

}  // namespace

int RunDemoProgram(bool developmentMode, const std::string& dataDir, const PlayOptions& options) {
  if (!OpenDisplay()) {
    std::fputs(kNoDisplayText, stderr);
    return 1;
  }
  Program program;
  DemoEngine& engine = program.engine;
  engine.settings.dataDir = dataDir;
  engine.settings.developmentMode = developmentMode;
  engine.render.callbacks.fatalError = [&engine](const std::string& text) { FatalError(engine, text); };
  PlugInHost(program);
  SetErrorDisplay(engine.host.ShowMessage);
  if (options.frameStepMs) {
    program.frameStepMs = options.frameStepMs;
    engine.settings.repeatable = true;
    engine.host.GetTickCount = [&program] { return program.steppedTickMs; };
    engine.host.WallTickMs = MonotonicTickMs;  // the caption's fps: frames per second of wall time
  }

  LauncherCallbacks callbacks;
  callbacks.fatalError = [&engine](const std::string& text) { FatalError(engine, text); };
  program.authoring = NewAuthoringSession(developmentMode, options);
  callbacks.start = [&program, &options](const DeviceChoice& choice, const LauncherSwitches& switches) {
    DemoSettings& settings = program.engine.settings;
    settings.music = switches.music || options.music;
    settings.loop = switches.loop;
    settings.stats = switches.stats;
    if (InitDemo(program.engine, choice)) {
      if (program.authoring) ConnectAuthoring(*program.authoring, program.engine,
                                                 OutputWindowOf(*program.form));
      program.reload.events.Report = program.engine.host.ShowMessage;
      StartHotReload(program.reload, program.engine);
      Fl::add_idle(Idle, &program);
    } else {
      ShutdownDemo(program.engine);
    }
  };
  // Escape or the close box of the output window; in development mode an unsaved live set is said first.
  callbacks.shutdown = [&program] {
    if (program.tweak && !MayEndProgram(ModelOf(*program.tweak))) return RefreshTweakWindow(*program.tweak);
    ShutdownDemo(program.engine);
  };
  if (developmentMode)
    callbacks.placeOutput = [&program](int widthPx, int heightPx) { return PlaceOutput(program, widthPx, heightPx); };

  TForm1 form(callbacks);
  program.form = &form;
  engine.render.d3d = CreateGLDirect3D8(DesktopModes());
  form.FormCreate(engine.render.d3d, developmentMode);
  if (engine.terminating) return program.fatalShown ? 1 : 0;

  // In development mode the start-up is done by now; the tweak window edits the live set from here on.
  TweakHost tweakHost;
  FillTweakHost(tweakHost, engine, developmentMode, program.reload.watch);
  const TweakWindowPtr tweak = OpenTweakWindow(tweakHost);
  if (developmentMode) {
    program.tweak = tweak.get();
    if (program.authoring) ConnectTweakWindow(*program.authoring, tweakHost, tweak.get());
    program.reload.events = ReloadEventsFor(engine, tweakHost, ModelOf(*tweak),
                                            [&program] { RefreshTweakWindow(*program.tweak); });
    if (program.layout) PlaceTweakWindow(*tweak, program.layout->tweak.xPx, program.layout->tweak.yPx);
  }
  form.Show();
  if (program.tweak && program.layout && !engine.terminating) OpenTimeline(program, tweakHost);
  if (program.timeline) {  // a reloaded sequence shows in the timeline too
    program.reload.events.SequenceReloaded = [&program, tweakShows = program.reload.events.SequenceReloaded] {
      TimelineSequenceReloaded(ModelOf(*program.timeline));
      RefreshTimelineWindow(*program.timeline);
      if (tweakShows) tweakShows();
    };
  }
  Fl::run();
  return program.fatalShown ? 1 : 0;
}
