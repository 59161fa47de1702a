// The launcher window on a private X server, driven with xdotool as a user would: what it shows, and
// what "Start", "Exit", Escape and the development switch do. The probe program stands in for the demo.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gpu/rgba_image.h"
#include "support/poll_until.h"
#include "support/run_command.h"
#include "support/screenshot.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/x_display.h"
#include "support/xdotool.h"

namespace {

struct Geometry {
  int x = -1, y = -1, w = 0, h = 0;
  bool operator==(const Geometry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Geometry& g) {
  return out << g.w << "x" << g.h << "+" << g.x << "+" << g.y;
}

enum class Look { White, Black, Grey, Colourful, Blue };

Look LookOf(const RgbaImage& image, int x, int y) {
  const uint8_t* p = image.Pixel(x, y);
  const int r = p[0], g = p[1], b = p[2];
  if (r > 240 && g > 240 && b > 240) return Look::White;
  if (r < 16 && g < 16 && b < 16) return Look::Black;
  if (b > 200 && r < 80 && g > 80 && g < 130) return Look::Blue;
  if (std::max({r, g, b}) - std::min({r, g, b}) < 24) return Look::Grey;
  return Look::Colourful;
}

class LauncherWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(display.Ready()) << "Xvfb did not start"; }
  void TearDown() override { StopProcess(probe); }

  void StartProbe(const std::vector<std::string>& args = {}) {
    std::vector<std::string> argv{LAUNCHER_PROBE};
    argv.insert(argv.end(), args.begin(), args.end());
    probe = StartProcess(argv, dir / "probe.out");
  }

  // The visible window of class "quarnel", waiting up to 5 s for it; empty when there is none.
  std::string WindowId() { return FindWindow("--class quarnel"); }

  Geometry WindowGeometry(const std::string& id) {
    std::istringstream lines(Xdotool("getwindowgeometry --shell " + id).output);
    Geometry g;
    for (std::string line; std::getline(lines, line);) {
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      const std::string key = line.substr(0, eq);
      const int value = std::atoi(line.c_str() + eq + 1);
      if (key == "X") g.x = value;
      if (key == "Y") g.y = value;
      if (key == "WIDTH") g.w = value;
      if (key == "HEIGHT") g.h = value;
    }
    return g;
  }

  // Waits up to 5 s for the window to take the wanted place and size; returns the last one seen.
  Geometry WaitForGeometry(const Geometry& wanted) {
    Geometry seen;
    PollUntil(
        [&] {
          const std::string id = WindowId();
          if (!id.empty()) seen = WindowGeometry(id);
          return seen == wanted;
        },
        std::chrono::seconds(5));
    return seen;
  }

  void Click(const std::string& id, int x, int y) { AtWindow(id, x, y, "click 1"); }

  // The whole screen, also written to the test output folder as name.
  RgbaImage Screenshot(const std::string& name) {
    RgbaImage image = TakeScreenshot(dir / "screen.ppm");
    EXPECT_EQ(WritePng(TestOutPath(name), image), "");
    return image;
  }

  // A screenshot once drawn(screen) holds, retried for up to 3 s (a window is drawn after it appears).
  template <class Drawn>
  RgbaImage ScreenshotOnceDrawn(const std::string& name, Drawn drawn) {
    RgbaImage screen;
    PollUntil(
        [&] {
          screen = Screenshot(name);
          return screen.widthPx == 1024 && screen.heightPx == 768 && drawn(screen);
        },
        std::chrono::seconds(3));
    return screen;
  }

  // Escape over the window ends the program with status 0 after the shutdown callback.
  void ExpectEscapeEnds(const std::string& id) {
    AtWindow(id, 20, 20, "key Escape");
    EXPECT_EQ(WaitForExit(probe, 5000), std::optional<int>(0));
    probe = -1;
    EXPECT_NE(ProbeOutput().find("shutdown\n"), std::string::npos) << ProbeOutput();
  }

  std::string ProbeOutput() { return ReadFile(dir / "probe.out"); }

  // Waits up to 5 s for the probe's report of Start.
  std::string StartReport() {
    std::string report;
    PollUntil(
        [&] {
          const std::string output = ProbeOutput();
          const size_t start = output.find("start ");
          if (start == std::string::npos || output.find('\n', start) == std::string::npos) return false;
          report = output.substr(start, output.find('\n', start) - start);
          return true;
        },
        std::chrono::seconds(5));
    return report;
  }

  XDisplay display;
  TempDir dir;
  pid_t probe = -1;
};

// Launcher controls, in window pixels.
constexpr int kWindowedX = 300, kWindowedY = 88;
constexpr int kStartX = 502, kStartY = 140;
constexpr int kExitX = 486, kExitY = 160;
constexpr int kAdapterBoxX = 330, kAdapterBoxY = 162;
constexpr int kDisplayBoxX = 430, kDisplayBoxY = 66;

}  // namespace

TEST_F(LauncherWindow, ShowsARoundedBlackFrameAroundTheWhitePanelCentred) {
  StartProbe();
  const std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  const Geometry g = WindowGeometry(id);
  EXPECT_EQ(g, (Geometry{216, 279, 592, 210}));  // client 544x162 inside a 24-pixel frame, centred
  EXPECT_EQ(WindowName(id), "quarnel");

  const RgbaImage screen = ScreenshotOnceDrawn(
      "launcher.png", [&](const RgbaImage& shot) { return LookOf(shot, g.x + 200, g.y + 180) == Look::White; });
  ASSERT_EQ(screen.widthPx, 1024u);
  const auto look = [&](int x, int y) { return LookOf(screen, g.x + x, g.y + y); };
  for (const auto& [x, y] : {std::pair{1, 1}, {590, 1}, {1, 208}, {590, 208}}) {
    EXPECT_EQ(look(x, y), Look::White) << "corner " << x << "," << y << " is cut away";
  }
  EXPECT_EQ(look(15, 1), Look::Black);         // the frame next to a rounded corner
  EXPECT_EQ(look(5, 105), Look::Black);        // left frame
  EXPECT_EQ(look(300, 200), Look::Black);      // bottom frame
  EXPECT_EQ(look(100, 100), Look::Colourful);  // splash picture
  EXPECT_EQ(look(200, 180), Look::White);      // the panel
  EXPECT_EQ(look(240, 40), Look::Grey);        // the bevelled frame around the output choice
  EXPECT_EQ(look(580, 100), Look::Black);      // right frame
}

TEST_F(LauncherWindow, WindowedStartTurnsItIntoTheCentredOutputWindow) {
  StartProbe();
  const std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  Click(id, kWindowedX, kWindowedY);
  Click(id, kStartX, kStartY);
  EXPECT_EQ(StartReport(), "start adapter=0 windowed=1 size=640x480 format=22 music=1 loop=0 stats=0 view=640x480");
  EXPECT_EQ(WaitForGeometry({192, 144, 640, 480}), (Geometry{192, 144, 640, 480}));
  const std::string output = WindowId();
  const RgbaImage screen = ScreenshotOnceDrawn(
      "launcher-windowed-output.png", [](const RgbaImage& shot) { return LookOf(shot, 512, 384) == Look::Blue; });
  ASSERT_EQ(screen.widthPx, 1024u);
  for (const auto& [x, y] : {std::pair{193, 145}, {512, 384}, {830, 622}}) {
    EXPECT_EQ(LookOf(screen, x, y), Look::Blue) << x << "," << y << ": the probe's frame fills the window";
  }
  EXPECT_EQ(LookOf(screen, 190, 384), Look::White);
  EXPECT_EQ(WindowName(output).rfind("probe frame ", 0), 0u);
  ExpectEscapeEnds(output);
}

TEST_F(LauncherWindow, FullscreenStartCoversTheScreen) {
  StartProbe();
  const std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  Click(id, kStartX, kStartY);
  EXPECT_EQ(StartReport(), "start adapter=0 windowed=0 size=640x480 format=22 music=1 loop=0 stats=0 view=1024x768");
  EXPECT_EQ(WaitForGeometry({0, 0, 1024, 768}), (Geometry{0, 0, 1024, 768}));
  ExpectEscapeEnds(WindowId());
}

TEST_F(LauncherWindow, OpenGLDeviceFillsTheScreenWithTheAspectKept) {
  StartProbe({"--gl"});
  const std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  Click(id, kDisplayBoxX, kDisplayBoxY);
  Xdotool("key --delay 50 Up Up Return");  // from "640x480, 32bit" to "640x400, 32bit"
  Click(id, kStartX, kStartY);
  EXPECT_EQ(StartReport(), "start adapter=0 windowed=0 size=640x400 format=22 music=1 loop=0 stats=0 view=1024x768");
  EXPECT_NE(ProbeOutput().find("device created\n"), std::string::npos) << ProbeOutput();
  // 640x400 scaled by 1.6 is 1024x640: black bars of 64 pixels above and below.
  const RgbaImage screen = ScreenshotOnceDrawn(
      "launcher-gl-fullscreen.png", [](const RgbaImage& shot) { return LookOf(shot, 512, 384) == Look::Blue; });
  ASSERT_EQ(screen.widthPx, 1024u);
  for (const int y : {0, 62, 706, 767}) EXPECT_EQ(LookOf(screen, 512, y), Look::Black) << "bar at " << y;
  for (const int y : {66, 384, 701}) {
    for (const int x : {0, 512, 1023}) EXPECT_EQ(LookOf(screen, x, y), Look::Blue) << x << "," << y;
  }
  ExpectEscapeEnds(WindowId());
}

TEST_F(LauncherWindow, SecondAdapterOffersItsOwnModes) {
  StartProbe();
  const std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  Click(id, kAdapterBoxX, kAdapterBoxY);
  Xdotool("key --delay 50 Down Return");
  Click(id, kStartX, kStartY);
  EXPECT_EQ(StartReport(), "start adapter=1 windowed=0 size=512x384 format=22 music=1 loop=0 stats=0 view=1024x768");
  ExpectEscapeEnds(WindowId());
}

TEST_F(LauncherWindow, ExitAndEscapeEndTheLauncher) {
  StartProbe();
  std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  Click(id, kExitX, kExitY);
  EXPECT_EQ(WaitForExit(probe, 5000), std::optional<int>(0));
  probe = -1;
  EXPECT_EQ(ProbeOutput(), "shutdown\n");

  StartProbe();
  id = WindowId();
  ASSERT_FALSE(id.empty());
  ExpectEscapeEnds(id);
  EXPECT_EQ(ProbeOutput().find("start"), std::string::npos);
}

TEST_F(LauncherWindow, DevelopmentSwitchStartsWindowedAtOnce) {
  StartProbe({"-D"});
  EXPECT_EQ(StartReport(), "start adapter=0 windowed=1 size=640x480 format=22 music=0 loop=1 stats=1 view=640x480");
  EXPECT_EQ(WaitForGeometry({192, 144, 640, 480}), (Geometry{192, 144, 640, 480}));
  ExpectEscapeEnds(WindowId());
}
