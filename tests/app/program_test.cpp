// The real program on a private X server, driven with xdotool as a user would: the demo from the
// launcher's "Start" to Escape, development mode, and bad data folders that end after their message
// boxes. Sound goes to SDL's dummy driver.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/screenshot.h"
#include "support/x_display.h"
#include "tests/app/demo_folder.h"
#include "tests/render/test_paths.h"

namespace {

bool Black(const RgbaImage& image, uint32_t x, uint32_t y) {
  const uint8_t* p = image.Pixel(x, y);
  return p[0] < 16 && p[1] < 16 && p[2] < 16;
}

// Share of black pixels in rows y0..y1-1, columns x0..x1-1.
double BlackShare(const RgbaImage& image, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
  size_t black = 0;
  for (uint32_t y = y0; y < y1; ++y)
    for (uint32_t x = x0; x < x1; ++x) black += Black(image, x, y);
  return double(black) / (double(x1 - x0) * (y1 - y0));
}

// A letterboxed picture in the rectangle: black bars of barPx at top and bottom, a mostly coloured
// picture between them.
bool Letterboxed(const RgbaImage& screen, uint32_t left, uint32_t top, uint32_t widthPx, uint32_t heightPx,
                 uint32_t barPx) {
  if (screen.widthPx < left + widthPx || screen.heightPx < top + heightPx) return false;
  const uint32_t right = left + widthPx, bottom = top + heightPx;
  return BlackShare(screen, left, top, right, top + barPx - 1) == 1.0 &&
         BlackShare(screen, left, bottom - barPx + 1, right, bottom) == 1.0 &&
         BlackShare(screen, left, top + barPx + 1, right, bottom - barPx - 1) < 0.5;
}

class DemoProgram : public ::testing::Test {
 protected:
  explicit DemoProgram(const char* screen = "1024x768x24", uint32_t widthPx = 1024, uint32_t heightPx = 768)
      : display(screen), screenWidthPx(widthPx), screenHeightPx(heightPx) {}

  static void SetUpTestSuite() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    dataDir = (std::filesystem::temp_directory_path() / ("quarnel-DemoProgram-" + std::to_string(getpid()))).string();
    std::filesystem::remove_all(dataDir);
    madeData = MakeDemoFolder(dataDir, 60000);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dataDir); }

  void SetUp() override {
    ASSERT_EQ(madeData, "");
    ASSERT_TRUE(display.Ready()) << "Xvfb did not start";
  }
  void TearDown() override { StopProcess(program); }

  void Start(const std::vector<std::string>& args) {
    std::vector<std::string> argv{QUARNEL_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    program = StartProcess(argv, dir / "program.out");
  }

  // The first visible window that xdotool finds with these search options, waiting up to 5 s.
  std::string FindWindow(const std::string& searchOptions) {
    const CommandResult found = RunCommand("timeout 5 xdotool search --sync --onlyvisible " + searchOptions);
    return found.output.substr(0, found.output.find('\n'));
  }
  std::string DemoWindow() { return FindWindow("--class '^quarnel$'"); }  // not the tweak window

  void Key(const std::string& window, const std::string& key) {
    RunCommand("xdotool mousemove --sync --window " + window + " 20 20 key " + key);
  }

  // Screenshots until drawn(screen) holds, for up to 5 s; the last one is written to the test output.
  template <class Drawn>
  RgbaImage ScreenOnceDrawn(const std::string& name, Drawn drawn) {
    RgbaImage screen;
    for (int attempt = 0; attempt < 50; ++attempt) {
      screen = TakeScreenshot(dir / "screen.ppm");
      if (screen.widthPx == screenWidthPx && screen.heightPx == screenHeightPx && drawn(screen)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    WritePng(TestOutPath(name), screen);
    return screen;
  }

  // Escape over the demo's window ends the program with status 0.
  void ExpectEscapeEnds() {
    const std::string window = DemoWindow();
    ASSERT_FALSE(window.empty());
    Key(window, "Escape");
    EXPECT_EQ(WaitForExit(program, 5000), std::optional<int>(0)) << ReadFile(dir / "program.out");
    program = -1;
  }

  // Closes every message box with Return as it comes up, until the program ends (at most 10 s);
  // returns the boxes' titles in order, and the exit status in status.
  std::vector<std::string> CloseBoxesUntilExit(std::optional<int>& status) {
    std::vector<std::string> titles;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
      status = WaitForExit(program, 100);
      if (status) break;
      const CommandResult found = RunCommand("xdotool search --onlyvisible --name 'Demo fuckup|dravel was here'");
      const std::string box = found.output.substr(0, found.output.find('\n'));
      if (box.empty()) continue;
      std::string title = RunCommand("xdotool getwindowname " + box).output;
      if (!title.empty() && title.back() == '\n') title.pop_back();
      if (titles.empty() || titles.back() != title) titles.push_back(title);  // a box seen again: not yet closed
      Key(box, "Return");
    }
    if (status) program = -1;
    return titles;
  }

  static std::string dataDir;   // a 60-second demo, made once for all these tests
  static std::string madeData;  // what went wrong making it
  XDisplay display;
  uint32_t screenWidthPx, screenHeightPx;
  TempDir dir;
  pid_t program = -1;
};

// A 16:9 monitor.
class WideScreenProgram : public DemoProgram {
 protected:
  WideScreenProgram() : DemoProgram("1280x720x24", 1280, 720) {}
};

std::string DemoProgram::dataDir, DemoProgram::madeData;

constexpr int kStartX = 502, kStartY = 140;  // the launcher's "Start" button

}  // namespace

TEST_F(DemoProgram, StartPlaysTheLetterboxedDemoFullscreenAndEscapeEndsIt) {
  Start({dataDir});
  const std::string launcher = DemoWindow();
  ASSERT_FALSE(launcher.empty()) << ReadFile(dir / "program.out");
  RunCommand("xdotool mousemove --sync --window " + launcher + " " + std::to_string(kStartX) + " " +
             std::to_string(kStartY) + " click 1");
  // 640 x 480 with ratio 8 has bars of 60 rows; on the 1024 x 768 screen they are 96 rows high.
  const RgbaImage screen = ScreenOnceDrawn(
      "program-fullscreen.png", [](const RgbaImage& shot) { return Letterboxed(shot, 0, 0, 1024, 768, 96); });
  EXPECT_TRUE(Letterboxed(screen, 0, 0, 1024, 768, 96)) << "see program-fullscreen.png";
  ExpectEscapeEnds();
}

TEST_F(DemoProgram, DevelopmentSwitchPlaysWindowedWithStatisticsAtOnce) {
  Start({"-d", dataDir});
  const std::string window = DemoWindow();
  ASSERT_FALSE(window.empty()) << ReadFile(dir / "program.out");
  // The 640 x 480 window centred on the screen: bars of 60 rows inside it. The tweak window covers its
  // right half.
  const RgbaImage screen = ScreenOnceDrawn(
      "program-development.png", [](const RgbaImage& shot) { return Letterboxed(shot, 192, 144, 300, 480, 60); });
  EXPECT_TRUE(Letterboxed(screen, 192, 144, 300, 480, 60)) << "see program-development.png";
  EXPECT_FALSE(FindWindow("--class '^quarnel-tweak$'").empty()) << "development mode opens the tweak window";
  const std::string caption = RunCommand("xdotool getwindowname " + window).output;
  EXPECT_EQ(caption.rfind("F.c: 640/480 A.s: 640/360 f: ", 0), 0u) << caption;
  EXPECT_NE(caption.find(" \xC2\xB0 fps: "), std::string::npos) << caption;
  EXPECT_EQ(caption.find("mcpu"), std::string::npos) << "music is off in development mode: " << caption;
  ExpectEscapeEnds();
}

TEST_F(DemoProgram, BrokenPresetEndsWithNonZeroStatusAfterTheFatalBox) {
  TempDir broken;
  ASSERT_EQ(MakeDemoFolder(broken.Path(), 60000), "");
  std::string preset = ReadFile(broken / "scene0.txt");
  preset.replace(preset.find("\r\n2.9280\r\n"), 10, "\r\n2,9280\r\n");
  WriteFile(broken / "scene0.txt", preset);
  Start({broken.Path()});
  const std::string launcher = DemoWindow();
  ASSERT_FALSE(launcher.empty());
  RunCommand("xdotool mousemove --sync --window " + launcher + " " + std::to_string(kStartX) + " " +
             std::to_string(kStartY) + " click 1");
  ASSERT_FALSE(FindWindow("--name 'Demo fuckup'").empty()) << "no fatal box";
  ScreenOnceDrawn("program-broken-preset.png", [](const RgbaImage&) { return true; });
  std::optional<int> status;
  EXPECT_EQ(CloseBoxesUntilExit(status), std::vector<std::string>{"Demo fuckup message..."});
  ASSERT_TRUE(status.has_value()) << "the program did not end";
  EXPECT_NE(*status, 0);
}

TEST_F(DemoProgram, MissingDataFolderEndsWithNonZeroStatusAfterItsMessages) {
  Start({"-d", dir / "no-such-folder"});
  std::optional<int> status;
  // No presets: a plain message, then no sequence: the fatal box.
  EXPECT_EQ(CloseBoxesUntilExit(status), (std::vector<std::string>{"dravel was here", "Demo fuckup message..."}))
      << "status " << status.value_or(-1) << ": " << ReadFile(dir / "program.out");
  ASSERT_TRUE(status.has_value()) << "the program did not end";
  EXPECT_NE(*status, 0);
}

TEST(ProgramWithoutDisplay, SaysSoInOneLineAndShowsTheExportCommand) {
  const CommandResult result = RunCommand(std::string("env -u DISPLAY ") + QUARNEL_BINARY + " data");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output,
            "quarnel: no display found. Without one, export the demo as a video: build/quarnel --export demo.mp4\n");
}

// A circle of radius 1 seen from straight above (camera 1 at effect time 0, time frozen): on the 640 x 480
// mode, whose aspect the camera takes, the letterboxed 640 x 360 area shows it 4/3 as wide as high. The
// picture is scaled to the 16:9 screen's height (1.5 times), aspect kept; were the camera to take the
// monitor's aspect, the circle would come out round.
TEST_F(WideScreenProgram, FullscreenCameraTakesTheDisplayModesAspect) {
  TempDir circle;
  ASSERT_EQ(MakeDemoFolder(circle.Path(), 60000), "");
  TScene1ParamIArray preset = InitParamTable();
  const std::vector<std::pair<std::string, float>> values = {
      {"BG_r", 0}, {"BG_g", 0}, {"BG_b", 0}, {"ClearZBuffer", 0}, {"ZBuffer", 0}, {"FogEnable", 0},
      {"EnableLight", 0}, {"SpriteAlpha", 0}, {"SpriteAlpha2", 0}, {"UseR2TEffects", 0}, {"NumberOfRingObjects", 0},
      {"NumberOfPointSpriteWaves", 0}, {"MainObject", 1}, {"_ObjectPreset", 2}, {"_TweakX", 10}, {"_TweakY", 0},
      {"_TweakZ", 0.025f}, {"NumberOfPlanes", 1}, {"PlaneDist", 0}, {"PlanesPrimitive", 3}, {"CameraPreset", 1},
      {"ScreenProportionAdjust", 0}, {"ScrBlend", 5}, {"DestBlend", 6}, {"FillMode", 3}};
  for (const auto& [name, value] : values)
    for (TScene1ParamInterface& param : preset)
      if (ShortName(param.Name) == name) param = SetParam(param.Name.Text(), 0, value, 0, 0);
  ASSERT_EQ(WriteScenePreset(circle.Path() + "/scene0.txt", preset), "");
  WriteFile(circle.Path() + "/sceneseq.txt",
            CrLf({"// frozen circle", "60000", "ratio", "8", "mp3", DemoMp3Path(circle.Path()), "entries", "0", "0",
                  "60000", "0", "0", "0", "0", "0", "~~~"}));
  Start({circle.Path()});
  const std::string launcher = DemoWindow();
  ASSERT_FALSE(launcher.empty()) << ReadFile(dir / "program.out");
  RunCommand("xdotool mousemove --sync --window " + launcher + " " + std::to_string(kStartX) + " " +
             std::to_string(kStartY) + " click 1");
  // The circle's extent: lit pixels of the picture area (columns 160..1119, rows 90..629).
  struct Box {
    uint32_t left = 1280, right = 0, top = 720, bottom = 0;
  };
  const auto extent = [](const RgbaImage& shot) {
    Box box;
    for (uint32_t y = 90; y < 630; ++y)
      for (uint32_t x = 160; x < 1120; ++x)
        if (!Black(shot, x, y))
          box.left = std::min(box.left, x), box.right = std::max(box.right, x), box.top = std::min(box.top, y),
          box.bottom = std::max(box.bottom, y);
    return box;
  };
  const RgbaImage screen = ScreenOnceDrawn("program-fullscreen-wide.png", [&](const RgbaImage& shot) {
    const Box box = extent(shot);  // once the picture is there: black bars, background and pillars
    return Black(shot, 640, 45) && Black(shot, 640, 675) && Black(shot, 170, 100) && Black(shot, 80, 360) &&
           box.right > box.left + 40 && box.bottom > box.top + 40;
  });
  const Box box = extent(screen);
  ASSERT_GT(box.bottom, box.top + 40) << "see program-fullscreen-wide.png";
  const double ratio = double(box.right - box.left) / double(box.bottom - box.top);
  EXPECT_NEAR(ratio, 4.0 / 3.0, 0.08) << "see program-fullscreen-wide.png";
  ExpectEscapeEnds();
}
