// The real program in development mode on a private X server, driven with xdotool as a developer would:
// pick a parameter in the tweak window, type a value, save the live set, change it, load the file back,
// pick a loaded preset, end with F10.
// What the output window shows is read from the screen; the saved file is read from the disk.
// Convention: colours are 0xRRGGBB; window points are pixels from the window's top-left corner.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "support/bmp_writer.h"
#include "scene/preset_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/poll_until.h"
#include "support/x_display.h"
#include "support/xdotool.h"
#include "timeline/timeline_geometry.h"
#include "timeline/timeline_layout.h"

#include <X11/Xlib.h>  // last: its macros (Bool, None, Status) clash with names above
#include <X11/Xutil.h>

namespace {

// A plain scene: the background colour and nothing drawn over it.
constexpr uint32_t kStartColour = 0xC8283C;  // BG_r 200, BG_g 40, BG_b 60

TScene1ParamIArray PlainScene(float bgR) {
  TScene1ParamIArray params = InitParamTable();
  const auto set = [&params](std::string_view name, float value) {
    for (TScene1ParamInterface& p : params)
      if (std::string_view(p.Name.Text()).substr(5) == name) {
        p.BaseVal = value;
        p.OscForm = 0;
        p.Osc1 = p.Osc2 = 0;
        return;
      }
    FAIL() << "no parameter " << name;
  };
  set("BG_r", bgR);
  set("BG_g", 40);
  set("BG_b", 60);
  set("ClearTarget", 1);
  set("MainObject", 0);
  set("NumberOfRingObjects", 0);
  set("SpriteAlpha", 0);
  set("SpriteAlpha2", 0);
  set("UseR2TEffects", 0);
  return params;
}

std::string Hex(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", colour);
  return text;
}

bool Near(uint32_t a, uint32_t b) {
  for (int shift : {0, 8, 16})
    if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 3) return false;
  return true;
}

// Every line ends in CR LF.
bool AllCrLf(const std::string& text) {
  if (text.empty() || text.back() != '\n') return false;
  for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
    if (i == 0 || text[i - 1] != '\r') return false;
  return true;
}

class TweakProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.Ready()) << "Xvfb did not start";
    screen = XOpenDisplay(nullptr);
    ASSERT_NE(screen, nullptr);

    // The data folder the program is started with, named relative to its working folder.
    const std::string data = dir / "data";
    std::filesystem::create_directories(data);
    ASSERT_NO_FATAL_FAILURE(WriteData(data));

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("LC_ALL", "C", 1);            // numbers with a decimal point, as the expected file is written here
    setenv("QUARNEL_GL_CHECK", "1", 1);  // any GL error fails the test (TearDown)
    setenv("MESA_DEBUG", "1", 1);
    setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);  // the recovery file
    Start();
  }

  void Start() {
    program =
        StartProcess({"sh", "-c", "cd '" + dir.Path() + "' && exec '" QUARNEL_BINARY "' -d data"}, dir / "program.out");
  }

  // Two plain presets, a 10-minute sequence of preset 0, two textures.
  virtual void WriteData(const std::string& data) {
    ASSERT_EQ(WriteScenePreset(data + "/scene0.txt", PlainScene(200)), "");
    ASSERT_EQ(WriteScenePreset(data + "/scene1.txt", PlainScene(100)), "");
    WriteFile(data + "/song.mp3", "not played: development mode has no music");
    WriteFile(data + "/sceneseq.txt", CrLf({"// tweak program test", "600000", "ratio", "8", "mp3", "data/song.mp3",
                                            "entries", "0", "0", "600000", "1", "0", "0", "0", "0", "~~~"}));
    for (int n = 0; n < 2; ++n)
      WriteTestBmp(data + "/texture" + std::to_string(n) + ".bmp", 4, 4,
                   std::vector<uint32_t>(16, n ? 0x00FF00 : 0xFF00FF), 24);
  }

  // Empty while the program runs and shows no fatal error box; otherwise what happened.
  std::string Fault() {
    if (const std::optional<int> status = WaitForExit(program, 0)) {
      program = -1;
      return "the program ended with status " + std::to_string(*status) + "\n" + Output();
    }
    const std::string box = Xdotool("search --onlyvisible --name '^Demo fuckup message'").output;
    return box.empty() ? "" : "a fatal error box\n" + Output();
  }

  void TearDown() override {
    StopProcess(program);
    if (screen) XCloseDisplay(screen);
    EXPECT_EQ(Output().find("Mesa: User error"), std::string::npos) << Output();
    EXPECT_EQ(Output().find("GL error"), std::string::npos) << Output();
  }

  std::string Output() { return ReadFile(dir / "program.out"); }

  // The id of the visible window whose class (or name) is exactly the given one, waiting up to 5 s.
  std::string FindWindow(const std::string& how, const std::string& what) {
    return ::FindWindow(how + " '^" + what + "$'");
  }

  // Does actions with the pointer at (x, y) of window; the test fails when xdotool does.
  void Do(const std::string& window, int x, int y, const std::string& actions) {
    const CommandResult result = AtWindow(window, x, y, actions);
    EXPECT_EQ(result.status, 0) << actions << ": " << result.output;
  }
  void Click(const std::string& window, int x, int y) { Do(window, x, y, "click 1"); }

  // Replaces the text of the edit field at (x, y) with text and finishes it with Enter.
  void TypeInto(const std::string& window, int x, int y, const std::string& text) {
    Do(window, x, y, "click --repeat 3 1 key ctrl+a BackSpace type '" + text + "'");
    EXPECT_EQ(Xdotool("key Return").status, 0);
  }

  // Waits for the message box, closes it with Enter and waits until it is gone.
  void CloseMessageBox() {
    const std::string box = FindWindow("--name", "dravel was here");
    ASSERT_FALSE(box.empty()) << "no message box\n" << Output();
    Do(box, 20, 20, "key Return");
    ASSERT_TRUE(PollUntil([] { return Xdotool("search --onlyvisible --name '^dravel was here$'").output.empty(); },
                          std::chrono::seconds(5)))
        << "the message box stayed open";
  }

  // Waits up to 5 s until the program's output holds text.
  void WaitForOutput(const std::string& text) {
    if (!PollUntil([&] { return Output().find(text) != std::string::npos; }, std::chrono::seconds(5)))
      FAIL() << "no \"" << text << "\" in\n" << Output();
  }

  // Waits for the unsaved-work question and picks the answer whose first letter is key.
  void Answer(char key) {
    const std::string box = FindWindow("--name", "dravel was here");
    ASSERT_FALSE(box.empty()) << "no question\n" << Output();
    Do(box, 20, 20, "key " + std::string(1, key));
  }

  // The window's top-left corner on the screen.
  void Corner(const std::string& window, int& x, int& y) {
    Window child = 0;
    XTranslateCoordinates(screen, std::stoul(window), DefaultRootWindow(screen), 0, 0, &x, &y, &child);
  }

  uint32_t ScreenPixel(int x, int y) {
    XImage* image = XGetImage(screen, DefaultRootWindow(screen), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0xFFFFFFFF;
    const uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
  }

  // Waits up to 5 s until every sample point of the output picture shows colour; returns the colour
  // seen last where it differs (so a failure names it), colour itself on success.
  uint32_t WaitForPicture(const std::string& output, uint32_t colour) {
    // Points of the letterboxed picture. On the 1024x768 screen the output window is made smaller for
    // the timeline below it (554x415, bars of about 52 pixels; 640x480 would have bars of 60).
    static constexpr int kPoints[][2] = {{20, 70}, {300, 120}, {40, 300}};
    uint32_t seen = colour;
    PollUntil(
        [&] {
          int outputX = 0, outputY = 0;
          Corner(output, outputX, outputY);
          seen = colour;
          for (const auto& [x, y] : kPoints) {
            const uint32_t pixel = ScreenPixel(outputX + x, outputY + y);
            if (!Near(pixel, colour)) seen = pixel;
          }
          return seen == colour;
        },
        std::chrono::seconds(5));
    return seen;
  }

  void Screenshot(const std::string& name) { RunCommand("import -window root " + TestOutPath(name)); }

  XDisplay display;
  TempDir dir;
  Display* screen = nullptr;
  pid_t program = -1;
};

// Tweak window controls.
constexpr int kListRow0X = 40, kListRow0Y = 96;  // "000 byte:BG_r"
constexpr int kBaseValX = 238, kBaseValY = 290;
constexpr int kPresetFileX = 238, kPresetFileY = 466;
constexpr int kLoadX = 80, kLoadY = 512;
constexpr int kSaveX = 116, kSaveY = 512;
constexpr int kPresetListX = 80, kPresetListY = 490;
// A point in the timeline's first row (under its controls, the axis and the waveform), for the window's
// size as the screen shows it.
int TimelineFirstRowY(const std::string& timeline) {
  const std::string geometry = Xdotool("getwindowgeometry " + timeline).output;
  int widthPx = 0, heightPx = 0;
  const size_t at = geometry.find("Geometry: ");
  if (at == std::string::npos || std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &widthPx, &heightPx) != 2)
    return -1;
  return LayOutTimeline(widthPx, heightPx).canvas.yPx + kRowsTopPx + 4;
}

}  // namespace

TEST_F(TweakProgram, EditSaveAndLoadShowInTheNextFrames) {
  const std::string output = FindWindow("--class", "quarnel");
  const std::string tweak = FindWindow("--class", "quarnel-tweak");
  ASSERT_FALSE(output.empty()) << Output();
  ASSERT_FALSE(tweak.empty()) << Output();
  EXPECT_EQ(Hex(WaitForPicture(output, kStartColour)), Hex(kStartColour)) << "preset 0 on screen\n" << Output();
  int outputX = 0, outputY = 0;
  Corner(output, outputX, outputY);
  EXPECT_EQ(Hex(ScreenPixel(outputX + 20, outputY + 30)), "000000") << "the letterbox bar";

  // Pick BG_r and type 30: the next frames show it.
  Click(tweak, kListRow0X, kListRow0Y);
  TypeInto(tweak, kBaseValX, kBaseValY, "30");
  EXPECT_EQ(Hex(WaitForPicture(output, 0x1E283C)), "1E283C") << "after typing 30";
  Screenshot("tweak_program_edited.png");

  // Save under a new name into the data folder: the file holds the live set with the new value.
  // A save reports in the notice line: no box waits for a key.
  TypeInto(tweak, kPresetFileX, kPresetFileY, "tweaked.txt");
  Click(tweak, kSaveX, kSaveY);
  ASSERT_TRUE(PollUntil([&] { return EntryExists(dir / "data/tweaked.txt"); }, std::chrono::seconds(5)));
  const std::string saved = ReadFile(dir / "data/tweaked.txt");
  EXPECT_NE(saved.find("byte:BG_r\r\n30\r\n0\r\n"), std::string::npos) << saved.substr(0, 200);
  EXPECT_TRUE(AllCrLf(saved));
  EXPECT_EQ(saved, ScenePresetText(PlainScene(30)));

  // Change it again, then load the file back (discarding the change, as asked): the saved value returns
  // with the next frame.
  TypeInto(tweak, kBaseValX, kBaseValY, "90");
  EXPECT_EQ(Hex(WaitForPicture(output, 0x5A283C)), "5A283C") << "after typing 90";
  Click(tweak, kLoadX, kLoadY);
  ASSERT_NO_FATAL_FAILURE(Answer('d'));
  ASSERT_NO_FATAL_FAILURE(WaitForOutput(" loaded!"));
  ASSERT_NO_FATAL_FAILURE(CloseMessageBox());
  EXPECT_EQ(Hex(WaitForPicture(output, 0x1E283C)), "1E283C") << "after loading tweaked.txt";
  Screenshot("tweak_program_loaded.png");

  // Picking scene1 in the preset list puts loaded preset 1 on screen.
  Click(tweak, kPresetListX, kPresetListY);
  EXPECT_EQ(Xdotool("key Down Return").status, 0);
  EXPECT_EQ(Hex(WaitForPicture(output, 0x64283C)), "64283C") << "after picking scene1";

  // F10 in the tweak window ends the program normally.
  Do(tweak, 200, 50, "key F10");
  EXPECT_EQ(WaitForExit(program, 5000), std::optional<int>(0)) << Output();
  program = -1;
}

namespace {

// The demo time the output window's caption shows ("... t: 1234 (2%) ..."); -1 when there is none.
int64_t CaptionTime(const std::string& output) {
  const std::string name = WindowName(output);
  const size_t at = name.find(" t: ");
  return at == std::string::npos ? -1 : std::stoll(name.substr(at + 4));
}

// The frame count the output window's caption shows ("f: 12 ..."); -1 when there is none.
int64_t CaptionFrames(const std::string& output) {
  const std::string name = WindowName(output);
  const size_t at = name.find("f: ");
  return at == std::string::npos ? -1 : std::stoll(name.substr(at + 3));
}

// Waits until the output window has drawn `frames` more frames (at most 10 s): whatever a key or a click
// did before has been handled and shown by then.
void WaitForFrames(const std::string& output, int64_t frames) {
  const int64_t from = CaptionFrames(output);
  EXPECT_TRUE(PollUntil([&] { return CaptionFrames(output) >= from + frames; })) << "the output window stopped drawing";
}

// The caption's demo time once it is past afterMs (at most 10 s); the last one seen otherwise.
int64_t WaitForCaptionTimeAfter(const std::string& output, int64_t afterMs) {
  int64_t seen = CaptionTime(output);
  PollUntil([&] { return (seen = CaptionTime(output)) > afterMs; });
  return seen;
}

bool Visible(const std::string& windowClass) {
  return !Xdotool("search --onlyvisible --class '^" + windowClass + "$'").output.empty();
}

}  // namespace

// Keys over the output window need no click: Space pauses with the pointer over the picture even while
// a field of the tweak window had the focus; F2 there brings back the tweak window Escape hid; Escape
// there with an unsaved live set asks first: cancel keeps the program running, discard ends it.
TEST_F(TweakProgram, KeysOverTheOutputWindowNeedNoClick) {
  const std::string output = FindWindow("--class", "quarnel");
  const std::string tweak = FindWindow("--class", "quarnel-tweak");
  ASSERT_FALSE(output.empty()) << Output();
  ASSERT_FALSE(tweak.empty()) << Output();
  Click(tweak, kListRow0X, kListRow0Y);
  TypeInto(tweak, kBaseValX, kBaseValY, "30");  // the field keeps the focus

  Do(output, 300, 200, "key space");
  ASSERT_NO_FATAL_FAILURE(WaitForFrames(output, 5));
  const int64_t pausedMs = CaptionTime(output);
  ASSERT_NO_FATAL_FAILURE(WaitForFrames(output, 20));
  EXPECT_GE(pausedMs, 0);
  EXPECT_EQ(CaptionTime(output), pausedMs) << "paused by Space over the picture: 20 frames showed one moment";
  EXPECT_EQ(Xdotool("key space").status, 0);
  EXPECT_GT(WaitForCaptionTimeAfter(output, pausedMs), pausedMs) << "running again";

  Do(tweak, 200, 50, "key Escape");
  EXPECT_TRUE(PollUntil([] { return !Visible("quarnel-tweak"); }, std::chrono::seconds(5)))
      << "Escape hid the tweak window";
  Do(output, 300, 200, "key F2");
  EXPECT_FALSE(FindWindow("--class", "quarnel-tweak").empty()) << "F2 brought it back";

  Do(output, 300, 200, "key Escape");
  ASSERT_NO_FATAL_FAILURE(Answer('c'));
  ASSERT_NO_FATAL_FAILURE(WaitForFrames(output, 5));
  EXPECT_EQ(WaitForExit(program, 0), std::nullopt) << "cancelled: it draws on; the typed 30 was never saved";
  Do(output, 300, 200, "key Escape");
  Screenshot("tweak_program_unsaved.png");
  ASSERT_NO_FATAL_FAILURE(Answer('d'));
  EXPECT_EQ(WaitForExit(program, 5000), std::optional<int>(0)) << Output();
  program = -1;
  EXPECT_EQ(ReadFile(dir / "data/scene0.txt"), ScenePresetText(PlainScene(200))) << "discarded";
}

// The author: an unsaved edit in the timeline, then Escape over the output. The program asks
// and keeps running; "discard" ends it with status 0 and the sequence file as it was.
TEST_F(TweakProgram, UnsavedTimelineEditAsksBeforeQuittingAndDiscardKeepsTheFile) {
  const std::string output = FindWindow("--class", "quarnel");
  const std::string timeline = FindWindow("--class", "quarnel-timeline");
  ASSERT_FALSE(output.empty()) << Output();
  ASSERT_FALSE(timeline.empty()) << Output();
  const std::string before = ReadFile(dir / "data/sceneseq.txt");
  // The bar of the only entry, in the first row under the axis and the waveform, then Delete.
  const int firstRowY = TimelineFirstRowY(timeline);
  ASSERT_GT(firstRowY, 0) << "the timeline's size";
  Click(timeline, 40, firstRowY);
  EXPECT_EQ(Xdotool("key Delete").status, 0);
  EXPECT_TRUE(PollUntil([&] { return WindowName(timeline) == "timeline *"; }, std::chrono::seconds(5)))
      << "the unsaved mark: " << WindowName(timeline);

  Do(output, 300, 200, "key Escape");
  EXPECT_FALSE(FindWindow("--name", "dravel was here").empty()) << "asked\n" << Output();
  EXPECT_EQ(WaitForExit(program, 0), std::nullopt) << "still running while it asks";
  EXPECT_NE(Output().find("Unsaved work: the sequence (1 unsaved change)"), std::string::npos) << Output();
  Screenshot("timeline_unsaved_quit.png");
  ASSERT_NO_FATAL_FAILURE(Answer('d'));
  EXPECT_EQ(WaitForExit(program, 5000), std::optional<int>(0)) << Output();
  program = -1;
  EXPECT_EQ(ReadFile(dir / "data/sceneseq.txt"), before);
}

// SIGTERM over an unsaved edit: the recovery file keeps it (written on the signal, the edit being newer
// than the last periodic write), and the next start offers it back.
TEST_F(TweakProgram, AnUnsavedEditSurvivesSigtermAndIsRestoredOnTheNextStart) {
  std::string output = FindWindow("--class", "quarnel");
  std::string tweak = FindWindow("--class", "quarnel-tweak");
  ASSERT_FALSE(tweak.empty()) << Output();
  Click(tweak, kListRow0X, kListRow0Y);
  TypeInto(tweak, kBaseValX, kBaseValY, "30");
  EXPECT_EQ(Hex(WaitForPicture(output, 0x1E283C)), "1E283C");
  TypeInto(tweak, kBaseValX, kBaseValY, "90");
  EXPECT_EQ(Hex(WaitForPicture(output, 0x5A283C)), "5A283C");
  kill(program, SIGTERM);
  EXPECT_EQ(WaitForExit(program, 5000), std::optional<int>(128 + SIGTERM)) << "ended by the signal\n" << Output();
  program = -1;
  std::string recovery;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "state/quarnel"))
    recovery = ReadFile(entry.path());
  EXPECT_NE(recovery.find("byte:BG_r\r\n90\r\n"), std::string::npos) << recovery.substr(0, 300);
  EXPECT_EQ(ReadFile(dir / "data/scene0.txt"), ScenePresetText(PlainScene(200))) << "nothing saved";

  Start();
  ASSERT_NO_FATAL_FAILURE(Answer('r'));  // restore
  output = FindWindow("--class", "quarnel");
  EXPECT_EQ(Hex(WaitForPicture(output, 0x5A283C)), "5A283C") << "the edit is back\n" << Output();
  Screenshot("recovery_restored.png");
  tweak = FindWindow("--class", "quarnel-tweak");
  AtWindow(tweak, 200, 50, "key F10");
  ASSERT_NO_FATAL_FAILURE(Answer('s'));  // save all
  EXPECT_EQ(WaitForExit(program, 5000), std::optional<int>(0)) << Output();
  program = -1;
  EXPECT_EQ(ReadFile(dir / "data/scene0.txt"), ScenePresetText(PlainScene(90)));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "state/quarnel")) << "a clean save removes the recovery file";
}

namespace {

// The shipped demo's data, whose presets 3, 5, 6, 7, 8 and 10 switch render-to-texture on.
class ShippedPresets : public TweakProgram {
 protected:
  void WriteData(const std::string& data) override {
    std::filesystem::copy(QUARNEL_DATA_DIR, data, std::filesystem::copy_options::recursive);
  }
};

}  // namespace

// Render-to-texture switched on while authoring, on screen: each such preset picked in "set" and then
// loaded from its file with "load" keeps the session running with the effect drawn.
TEST_F(ShippedPresets, RenderToTexturePresetsPickedAndLoadedWhileRunning) {
  const std::string output = FindWindow("--class", "quarnel");
  const std::string tweak = FindWindow("--class", "quarnel-tweak");
  ASSERT_FALSE(output.empty()) << Output();
  ASSERT_FALSE(tweak.empty()) << Output();
  int picked = 0;
  for (const int preset : {3, 5, 6, 7, 8, 10}) {
    SCOPED_TRACE("scene" + std::to_string(preset));
    Click(tweak, kPresetListX, kPresetListY);
    std::string keys;
    for (; picked < preset; ++picked) keys += " Down";
    EXPECT_EQ(Xdotool("key" + keys + " Return").status, 0);
    ASSERT_NO_FATAL_FAILURE(WaitForFrames(output, 30));
    ASSERT_EQ(Fault(), "") << "after picking it in set";
    Click(tweak, kLoadX, kLoadY);  // the pick put sceneN.txt into the file field
    ASSERT_NO_FATAL_FAILURE(CloseMessageBox());
    ASSERT_NO_FATAL_FAILURE(WaitForFrames(output, 30));
    ASSERT_EQ(Fault(), "") << "after loading its file";
    Screenshot("r2t_scene" + std::to_string(preset) + ".png");
  }
  EXPECT_EQ(Output().find("Mesa: User error"), std::string::npos) << Output();
  EXPECT_EQ(Output().find("cannot create r2t texture"), std::string::npos) << Output();
}
