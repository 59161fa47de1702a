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
      if (screen.widthPx == 1024 && screen.heightPx == 768 && drawn(screen)) break;
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
  TempDir dir;
  pid_t program = -1;
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
