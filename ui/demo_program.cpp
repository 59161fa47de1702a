#include "ui/demo_program.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <optional>

#include "ui/ui_messages.h"
#include "devmode/dev_document.h"
#include "devmode/quit_signals.h"
#include "ui/dev_window_layout.h"
#include "ui/display_refresh.h"
#include "engine/frame_pacing.h"
#include "ui/reload_timer.h"
#include "engine/data_location.h"
#include "engine/init_demo.h"
#include "ui/launcher_window.h"
#include "ui/message_text.h"
#include "engine/playback.h"
#include "gpu/gl_direct3d.h"
#include "gpu/window_host.h"
#include "timeline/timeline_window.h"
#include "engine/toolkit_guard.h"
#include "tweak/tweak_window.h"

#include <FL/x.H>  // last: the macros of X11's headers (Bool, None, Status) clash with names above

namespace {

uint32_t MonotonicTickMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

double MonotonicSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A box asked for while another one is open waits for it: FLTK shows one message box at a time and
// silently drops a second one.
struct QueuedBox {
  bool fatal = false;
  std::string text;
};

struct Program {
  DemoEngine engine;
  DevDocument document{engine};
  LauncherWindow* form = nullptr;
  bool inFrame = false;  // a message box opened inside a frame runs the event loop again: no nested frame
  bool fatalShown = false;
  bool boxOpen = false;
  std::deque<QueuedBox> waitingBoxes;
  std::optional<DevWindowLayout> layout;  // development mode: where the windows go
  TweakWindow* tweak = nullptr;           // development mode only
  TimelineWindowPtr timeline;             // development mode only
  std::optional<uint32_t> frameStepMs;    // --frame-step: the tick is steppedTickMs, moved on after each frame
  uint32_t steppedTickMs = 0;
  FramePacer pacer{0};  // at most the display's refresh or --max-fps
  bool framesRunning = false;
};

// The program's tick: the monotonic clock, or with --frame-step the stepped one.
uint32_t NowMs(const Program& program) { return program.frameStepMs ? program.steppedTickMs : MonotonicTickMs(); }

// One frame of the document at the program's tick, then every window shows its model once.
void Frame(Program& program) {
  if (program.engine.terminating) {  // a fatal error was shown: end once control is back here
    ShutdownDemo(program.engine);
    return;
  }
  program.inFrame = true;
  DocumentFrame(program.document, NowMs(program));
  if (program.frameStepMs) program.steppedTickMs += *program.frameStepMs;
  if (program.tweak) SyncTweakWindow(*program.tweak);
  if (program.timeline) TimelineFrame(*program.timeline);
}

void DrawFrame(void* data);

// The next frame: from a timer when it is not due yet, else once the toolkit is idle. (A timer due at
// once would be run before any event is read, frame after frame, so no key would reach the program
// while frames take longer than the cap allows.)
void ScheduleFrame(Program& program) {
  const double waitS = program.pacer.SecondsToNext(MonotonicSeconds());
  if (waitS > 0) Fl::add_timeout(waitS, DrawFrame, &program);
  else Fl::add_idle(DrawFrame, &program);
}

// The frame loop: draws a frame and schedules the next. While a message box opened inside a frame is
// open, no frame is drawn: the next is scheduled only when that frame is done.
void DrawFrame(void* data) {
  Program& program = *static_cast<Program*>(data);
  Fl::remove_idle(DrawFrame, data);
  EndOnQuitSignal(program.document,
                  MonotonicTickMs());  // (while a box opened inside a frame waits, the reload timer does)
  if (program.inFrame) return;
  program.pacer.FrameStarted(MonotonicSeconds());
  FromToolkit([&program] { Frame(program); });
  program.inFrame = false;
  if (program.framesRunning) ScheduleFrame(program);
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

// Shows the boxes that waited, one after the other; nothing while a box is open (its owner shows them).
void ShowWaitingBoxes(Program& program) {
  if (program.boxOpen) return;
  program.boxOpen = true;
  while (!program.waitingBoxes.empty()) {
    const QueuedBox box = program.waitingBoxes.front();
    program.waitingBoxes.pop_front();
    PlaceBox(program);
    fl_message_title(box.fatal ? kFatalErrorTitle : kApplicationTitle);
    if (box.fatal) fl_alert("%s", MessageBoxText(box.text).c_str());
    else fl_message("%s", MessageBoxText(box.text).c_str());
  }
  program.boxOpen = false;
}

void ShowBox(Program& program, bool fatal, const std::string& text) {
  if (fatal) program.fatalShown = true;
  std::fprintf(stderr, "%s\n", MessageBoxLogLine(fatal ? kFatalErrorTitle : kApplicationTitle, text).c_str());
  program.waitingBoxes.push_back({fatal, text});
  ShowWaitingBoxes(program);
}

// A question of the document. fl_choice answers 0 (its rightmost button) when the box is closed or
// Escape is pressed, and 1 on Enter: the safe answer (the last) goes to 0 and the first answer to 1, so
// that no key alone discards anything. While another box is open FLTK would not show this one: nullopt.
std::optional<size_t> AskBox(Program& program, const std::string& question, const std::vector<std::string>& answers) {
  if (program.boxOpen || answers.empty() || answers.size() > 3) return std::nullopt;
  const size_t safe = answers.size() - 1;
  std::fprintf(stderr, "%s\n", MessageBoxLogLine(kApplicationTitle, question).c_str());
  // Button k shows answer (k + safe) % answers.size(); "&" makes the first letter its key. When Enter's
  // answer is the safe one too (first and last alike), button 0 stays hidden: Escape and the close box
  // still answer 0.
  const bool enterIsSafe = answers.size() == 3 && answers.front() == answers.back();
  std::vector<std::string> captions;
  for (size_t k = 0; k < answers.size(); ++k) captions.push_back("&" + answers[(k + safe) % answers.size()]);
  const auto caption = [&](size_t k) {
    return k < captions.size() && !(enterIsSafe && k == 0) ? captions[k].c_str() : nullptr;
  };
  program.boxOpen = true;
  PlaceBox(program);
  fl_message_title(kApplicationTitle);
  const int button = fl_choice("%s", caption(0), caption(1), caption(2), MessageBoxText(question).c_str());
  program.boxOpen = false;
  ShowWaitingBoxes(program);  // what was said meanwhile
  return button >= 0 && static_cast<size_t>(button) <= safe ? (button + safe) % answers.size() : safe;
}

std::string WallClock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

void ShowDevWindows(Program& program) {
  if (program.tweak) ReopenTweakWindow(*program.tweak);
  if (program.timeline) ShowTimelineWindow(*program.timeline);
}

void PlugInDocumentWindows(Program& program) {
  DevWindows& windows = program.document.windows;
  windows.Ask = [&program](const std::string& question, const std::vector<std::string>& answers) {
    return AskBox(program, question, answers);
  };
  windows.ShowWindows = [&program] { ShowDevWindows(program); };
  windows.WallClock = WallClock;
}

void PlugInHost(Program& program) {
  DemoHost& host = program.engine.host;
  host.WallTickMs = MonotonicTickMs;
  host.ShowFatalError = [&program](const std::string& text) { ShowBox(program, true, text); };
  host.ShowMessage = [&program](const std::string& text) { ShowBox(program, false, text); };
  host.SetCaption = [&program](const std::string& text) { program.form->SetCaption(text); };
  host.ClientSizePx = [&program](uint32_t& widthPx, uint32_t& heightPx) {
    program.form->OutputView().SizePx(widthPx, heightPx);
  };
  host.Terminate = [&program] {
    program.framesRunning = false;
    Fl::remove_timeout(DrawFrame, &program);
    Fl::remove_idle(DrawFrame, &program);
    while (Fl_Window* window = Fl::first_window()) window->hide();  // Fl::run returns once none is shown
  };
}

// The window around the output view, where the clock keys are read.
Fl_Window* OutputWindowOf(LauncherWindow& form) { return dynamic_cast<Fl_Widget&>(form.OutputView()).top_window(); }

// Development mode: the output window goes to the top left of the screen's work area, the tweak
// window beside it; the output shrinks rather than hide behind it.
ScreenRectPx PlaceOutput(Program& program, int wantedWidthPx, int wantedHeightPx) {
  ScreenRectPx screen;
  Fl::screen_work_area(screen.xPx, screen.yPx, screen.widthPx, screen.heightPx, 0);
  program.layout = LayOutDevWindows(screen, wantedWidthPx, wantedHeightPx, kTweakWindowWidthPx, kTweakWindowHeightPx);
  return program.layout->output;
}

// The timeline below the output and the tweak window (program.layout, set when the output was
// placed), its host filled by the document.
void OpenTimeline(Program& program) {
  FillDocumentTimelineHost(program.document);
  // Below the windows above it where they actually are, should they not stand where the layout puts
  // them, and no lower than the screen's bottom (a window reaching past it is moved up over the others).
  ScreenRectPx screen;
  Fl::screen_work_area(screen.xPx, screen.yPx, screen.widthPx, screen.heightPx, 0);
  ScreenRectPx place = program.layout->timeline;
  const Fl_Window* output = OutputWindowOf(*program.form);
  const Fl_Window& tweak = TweakWindowOf(*program.tweak);
  const bool underTweak = place.xPx + place.widthPx > tweak.x();
  place.yPx = std::max({place.yPx, output->y() + output->h() + kDevWindowTitleGapPx,
                        underTweak ? tweak.y() + tweak.h() + kDevWindowTitleGapPx : place.yPx});
  const int roomPx = screen.yPx + screen.heightPx - place.yPx;
  if (roomPx >= kTimelineMinHeightPx / 2) place.heightPx = std::min(place.heightPx, roomPx);
  program.timeline =
      OpenTimelineWindow(program.document.timelineHost, place.xPx, place.yPx, place.widthPx, place.heightPx);
  AttachTimeline(program.document, ModelOf(*program.timeline));
}

}  // namespace

int RunDemoProgram(bool developmentMode, const std::string& dataDir, const PlayOptions& options) {
  if (!OpenDisplay()) {
    std::fputs((kNoDisplayText + ProgramCommand() + kNoDisplayEnd).c_str(), stderr);
    return 1;
  }
  Program program;
  if (options.oscPort) {  // before any window: a port taken elsewhere ends the start at once
    if (const std::string fault = StartOsc(program.document, options.oscAddress, *options.oscPort); !fault.empty()) {
      std::fprintf(stderr, "%s%s\n", kProgramPrefix, fault.c_str());
      return 1;
    }
  }
  DemoEngine& engine = program.engine;
  engine.settings.dataDir = dataDir;
  engine.settings.developmentMode = developmentMode;
  engine.render.callbacks.fatalError = [&engine](const std::string& text) { FatalError(engine, text); };
  PlugInHost(program);
  SetErrorDisplay(engine.host.ShowMessage);
  program.pacer = FramePacer(options.maxFps ? *options.maxFps : DisplayRefreshHz());
  if (options.frameStepMs) {
    program.frameStepMs = options.frameStepMs;
    engine.settings.repeatable = true;
  }

  LauncherCallbacks callbacks;
  callbacks.fatalError = [&engine](const std::string& text) { FatalError(engine, text); };
  program.document.authoring = NewAuthoringSession(developmentMode, options);
  callbacks.start = [&program, &options](const DeviceChoice& choice, const LauncherSwitches& switches) {
    DemoSettings& settings = program.engine.settings;
    settings.music = switches.music || options.music;
    settings.loop = switches.loop;
    settings.stats = switches.stats;
    if (InitDemo(program.engine, choice)) {
      StartDemoClock(program.engine.clock, NowMs(program));
      ConnectDocument(program.document);
      StartHotReload(program.document);
      // From here on the frame loop (and the reload timer) end the program on a quit signal.
      if (program.engine.settings.developmentMode) WatchQuitSignals();
      program.framesRunning = true;
      ScheduleFrame(program);
    } else {
      ShutdownDemo(program.engine);
    }
  };
  // Escape or the close box of the output window; in development mode unsaved work is asked about first.
  callbacks.shutdown = [&program] {
    if (program.tweak) return RequestQuit(program.document);
    ShutdownDemo(program.engine);
  };
  if (developmentMode) {
    callbacks.placeOutput = [&program](int widthPx, int heightPx) { return PlaceOutput(program, widthPx, heightPx); };
    callbacks.key = [&program](int key, bool ctrl, bool shift) {
      return program.tweak && OutputWindowKey(program.document, key, ctrl, shift);
    };
  }

  LauncherWindow form(callbacks);
  program.form = &form;
  engine.render.d3d = CreateGLDirect3D8(DesktopModes());
  form.SetUp(engine.render.d3d, developmentMode);
  if (engine.terminating) return program.fatalShown ? 1 : 0;

  // In development mode the start-up is done by now; the tweak window edits the live set from here on.
  FillDocumentTweakHost(program.document, developmentMode);
  const TweakWindowPtr tweak = OpenTweakWindow(program.document.tweakHost);
  if (developmentMode) {
    program.tweak = tweak.get();
    PlugInDocumentWindows(program);
    AttachTweak(program.document, ModelOf(*tweak));
    OpenMidiInput(program.document);
    if (program.layout) PlaceTweakWindow(*tweak, program.layout->tweak.xPx, program.layout->tweak.yPx);
  }
  form.Show();
  if (program.tweak && program.layout && !engine.terminating) OpenTimeline(program);
  Fl::run();
  return program.fatalShown ? 1 : 0;
}
