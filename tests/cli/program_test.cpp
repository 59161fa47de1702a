// The real program on a private X server, driven with xdotool as a user would: the demo from the
// launcher's "Start" to Escape or to its end (the shipped demo too), development mode (also driven over
// OSC), bad data folders
// that end after their message boxes, signals, and the window's picture against the offscreen one.
// Sound goes to SDL's dummy driver; every run has the GL check and Mesa's error report switched on and
// fails on a GL error of any kind. The longer runs use the frame-stepped clock, which draws the same
// frames as the wall clock would, only as fast as they can be drawn.
#include <gtest/gtest.h>

#include <lo/lo.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

#include "cli/console_load.h"
#include "draw/demo_frame.h"
#include "draw/device_setup.h"
#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"
#include "support/screenshot.h"
#include "tweak/tweak_window.h"
#include "ui/dev_window_layout.h"
#include "support/x_display.h"
#include "support/demo_folder.h"
#include "support/poll_until.h"
#include "support/test_paths.h"
#include "support/xdotool.h"
#include "support/expose.h"  // last: Xlib's macros
#include "support/fail_on_fatal.h"

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
    setenv("QUARNEL_GL_CHECK", "1", 1);
    setenv("MESA_DEBUG", "1", 1);
    dataDir = (std::filesystem::temp_directory_path() / ("quarnel-DemoProgram-" + std::to_string(getpid()))).string();
    std::filesystem::remove_all(dataDir);
    madeData = MakeDemoFolder(dataDir, 60000);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dataDir); }

  void SetUp() override {
    ASSERT_EQ(madeData, "");
    ASSERT_TRUE(display.Ready()) << "Xvfb did not start";
  }
  void TearDown() override {
    StopProcess(program);
    const std::string output = ReadFile(dir / "program.out");
    EXPECT_EQ(output.find("Mesa: User error"), std::string::npos) << output;
    EXPECT_EQ(output.find("GL error"), std::string::npos) << output;
  }

  void Start(const std::vector<std::string>& args) {
    std::vector<std::string> argv{QUARNEL_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    program = StartProcess(argv, dir / "program.out");
  }

  // The shipped demo, from the source folder (its sequence names the MP3 relative to it).
  void StartShippedDemo(const std::string& options) {
    program = StartProcess(
        {"sh", "-c",
         std::string("cd '") + QUARNEL_SOURCE_DIR + "' && exec '" + QUARNEL_BINARY + "' " + options + " data"},
        dir / "program.out");
  }

  // Clicks the launcher at (x, y) of its window.
  void ClickLauncher(int x, int y) {
    const std::string launcher = DemoWindow();
    ASSERT_FALSE(launcher.empty()) << ReadFile(dir / "program.out");
    AtWindow(launcher, x, y, "click 1");
  }

  // The message boxes the program showed, as it reports them on standard error, in order.
  std::vector<std::string> Messages() {
    std::istringstream lines(ReadFile(dir / "program.out"));
    std::vector<std::string> messages;
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("quarnel: Demo fuckup message...: ", 0) == 0 || line.rfind("quarnel: dravel was here: ", 0) == 0)
        messages.push_back(line.substr(line.find(": ", 9) + 2));
    return messages;
  }

  std::string DemoWindow() { return FindWindow("--class '^quarnel$'"); }  // not the tweak window

  void Key(const std::string& window, const std::string& key) { AtWindow(window, 20, 20, "key " + key); }

  // Screenshots until drawn(screen) holds, for up to 5 s; the last one is written to the test output.
  template <class Drawn>
  RgbaImage ScreenOnceDrawn(const std::string& name, Drawn drawn) {
    RgbaImage screen;
    PollUntil(
        [&] {
          screen = TakeScreenshot(dir / "screen.ppm");
          return screen.widthPx == screenWidthPx && screen.heightPx == screenHeightPx && drawn(screen);
        },
        std::chrono::seconds(5));
    EXPECT_EQ(WritePng(TestOutPath(name), screen), "");
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

  // Closes every message box with Return as it comes up, until the program ends (at most timeoutS);
  // returns the boxes' titles in order, and the exit status in status. With expose, the program's
  // windows are made to redraw about every half second meanwhile, as a desktop would now and then.
  std::vector<std::string> CloseBoxesUntilExit(std::optional<int>& status, int timeoutS = 30, bool expose = false) {
    std::vector<std::string> titles;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutS);
    for (int round = 0; std::chrono::steady_clock::now() < end; ++round) {
      status = WaitForExit(program, 100);
      if (status) break;
      if (expose && round % 2 == 0) ExposeScreen();
      const CommandResult found = Xdotool("search --onlyvisible --name 'Demo fuckup|dravel was here'");
      const std::string box = found.output.substr(0, found.output.find('\n'));
      if (box.empty()) continue;
      const std::string title = WindowName(box);
      if (title.empty()) continue;                                            // gone in between
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

constexpr int kStartX = 502, kStartY = 140;         // the launcher's "Start" button
constexpr int kWindowedX = 300, kWindowedY = 88;    // its "Windowed" choice (640 x 480)
constexpr int kWindowLeft = 192, kWindowTop = 144;  // where the 640 x 480 window opens on the 1024 x 768 screen

}  // namespace

TEST_F(DemoProgram, StartPlaysTheLetterboxedDemoFullscreenAndEscapeEndsIt) {
  Start({dataDir});
  const std::string launcher = DemoWindow();
  ASSERT_FALSE(launcher.empty()) << ReadFile(dir / "program.out");
  AtWindow(launcher, kStartX, kStartY, "click 1");
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
  // The 640 x 480 window at the top left of the screen, made smaller (aspect kept) so the timeline
  // finds room below it on the 1024 x 768 screen, letterboxed; the tweak window beside it, covering
  // none of it.
  const DevWindowLayout layout =
      LayOutDevWindows({0, 0, 1024, 768}, 640, 480, kTweakWindowWidthPx, kTweakWindowHeightPx);
  const uint32_t widthPx = layout.output.widthPx, heightPx = layout.output.heightPx;
  const uint32_t barPx = CinemaBarHeightFor(uint16_t(heightPx), 8);
  const std::string tweak = FindWindow("--class '^quarnel-tweak$'");
  ASSERT_FALSE(tweak.empty()) << "development mode opens the tweak window";
  const auto [outputX, outputY] = WindowCorner(window);
  const auto [tweakX, tweakY] = WindowCorner(tweak);
  EXPECT_LE(outputX + int(widthPx), tweakX);
  EXPECT_LE(tweakX + kTweakWindowWidthPx, 1024);
  const uint32_t x = uint32_t(outputX), y = uint32_t(outputY);
  const RgbaImage screen = ScreenOnceDrawn("program-development.png", [=](const RgbaImage& shot) {
    return Letterboxed(shot, x, y, widthPx, heightPx, barPx);
  });
  EXPECT_TRUE(Letterboxed(screen, x, y, widthPx, heightPx, barPx)) << "see program-development.png";
  const std::string caption = WindowName(window);
  const std::string size = std::to_string(widthPx) + "/";
  EXPECT_EQ(caption.rfind("F.c: " + size + std::to_string(heightPx) + " A.s: " + size +
                              std::to_string(heightPx - 2 * barPx) + " f: ",
                          0),
            0u)
      << caption;
  EXPECT_NE(caption.find(" \xC2\xB0 fps: "), std::string::npos) << caption;
  EXPECT_EQ(caption.find("mcpu"), std::string::npos) << "music is off in development mode: " << caption;
  ExpectEscapeEnds();
}

namespace {

// A UDP port on the loopback that nothing listens on now.
int FreeUdpPort() {
  const int socket = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(socket, reinterpret_cast<sockaddr*>(&address), length);
  getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
  close(socket);
  return ntohs(address.sin_port);
}

// The last reply of each address: "/quarnel/time" -> 30016.
int KeepReply(const char* path, const char* types, lo_arg** argv, int argc, lo_message, void* data) {
  if (argc == 1) (*static_cast<std::map<std::string, double>*>(data))[path] = lo_hires_val(lo_type(types[0]), argv[0]);
  return 0;
}

}  // namespace

// Another program seeks and edits the running development mode over OSC, between frames; a second
// program on the same port ends at once, saying why.
TEST_F(DemoProgram, DevelopmentModeTakesRemoteMessagesBetweenFrames) {
  const std::string port = std::to_string(FreeUdpPort());
  Start({"-d", "--osc", port, dataDir});
  ASSERT_FALSE(FindWindow("--class '^quarnel-tweak$'").empty()) << ReadFile(dir / "program.out");
  lo_address quarnel = lo_address_new("127.0.0.1", port.c_str());
  lo_server client = lo_server_new_with_proto(nullptr, LO_UDP, nullptr);
  std::map<std::string, double> replies;
  lo_server_add_method(client, nullptr, nullptr, KeepReply, &replies);
  const auto ask = [&](const char* path, double wanted) {
    replies.erase(path);
    return PollUntil([&] {
      lo_send_from(quarnel, client, LO_TT_IMMEDIATE, path, "");
      while (lo_server_recv_noblock(client, 100) > 0) {
      }
      return replies.count(path) && replies[path] >= wanted;
    });
  };
  ASSERT_TRUE(ask("/quarnel/param/BG_r", 0));
  const double red = replies["/quarnel/param/BG_r"];
  lo_send_from(quarnel, client, LO_TT_IMMEDIATE, "/quarnel/param/BG_r", "f", 201.0f);
  lo_send_from(quarnel, client, LO_TT_IMMEDIATE, "/quarnel/time", "i", 30000);
  EXPECT_TRUE(ask("/quarnel/param/BG_r", 201));
  EXPECT_TRUE(ask("/quarnel/time", 30000));
  EXPECT_LT(replies["/quarnel/time"], 40000) << "the demo went on from 30 s";

  const pid_t second = StartProcess({QUARNEL_BINARY, "-d", "--osc", port, dataDir}, dir / "second.out");
  EXPECT_EQ(WaitForExit(second, 10000), std::optional<int>(1));
  EXPECT_EQ(ReadFile(dir / "second.out"),
            "quarnel: OSC: cannot listen on 127.0.0.1 port " + port + ": Address already in use\n");

  // Its own value back: nothing unsaved, so Escape ends without a question.
  lo_send_from(quarnel, client, LO_TT_IMMEDIATE, "/quarnel/param/BG_r", "f", float(red));
  EXPECT_TRUE(PollUntil([&] { return ask("/quarnel/param/BG_r", 0) && replies["/quarnel/param/BG_r"] == red; }));
  lo_server_free(client);
  lo_address_free(quarnel);
  ExpectEscapeEnds();
}

TEST_F(DemoProgram, BrokenPresetEndsWithNonZeroStatusAfterTheFatalBox) {
  const std::string broken = dir / "broken";  // in the test's folder: a second TempDir would be the same one
  ASSERT_EQ(MakeDemoFolder(broken, 60000), "");
  std::string preset = ReadFile(broken + "/scene0.txt");
  preset.replace(preset.find("\r\n2.9280\r\n"), 10, "\r\n2,9280\r\n");
  WriteFile(broken + "/scene0.txt", preset);
  Start({broken});
  const std::string launcher = DemoWindow();
  ASSERT_FALSE(launcher.empty());
  AtWindow(launcher, kStartX, kStartY, "click 1");
  ASSERT_FALSE(FindWindow("--name 'Demo fuckup'").empty()) << "no fatal box";
  ScreenOnceDrawn("program-broken-preset.png", [](const RgbaImage&) { return true; });
  std::optional<int> status;
  EXPECT_EQ(CloseBoxesUntilExit(status), std::vector<std::string>{"Demo fuckup message..."});
  ASSERT_TRUE(status.has_value()) << "the program did not end";
  EXPECT_NE(*status, 0);
}

TEST_F(DemoProgram, ShippedDemoPlaysWindowedFromTheLauncherToItsEndWithMusic) {
  StartShippedDemo("--frame-step 400");  // 240 frames, every entry in ten or more
  ClickLauncher(kWindowedX, kWindowedY);
  ClickLauncher(kStartX, kStartY);  // Music on, Loop off: the launcher's defaults
  std::optional<int> status;
  EXPECT_EQ(CloseBoxesUntilExit(status, 300, true), std::vector<std::string>{}) << ReadFile(dir / "program.out");
  EXPECT_EQ(status, std::optional<int>(0)) << ReadFile(dir / "program.out");
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

TEST_F(DemoProgram, ShippedDemoPlaysFullscreenFromItsLastRenderToTextureEntryToItsEnd) {
  StartShippedDemo("--start 80000 --frame-step 200");
  ClickLauncher(kStartX, kStartY);
  std::optional<int> status;
  EXPECT_EQ(CloseBoxesUntilExit(status, 120, true), std::vector<std::string>{}) << ReadFile(dir / "program.out");
  EXPECT_EQ(status, std::optional<int>(0)) << ReadFile(dir / "program.out");
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

TEST_F(DemoProgram, FirstEntryWithRenderToTexturePlaysToItsEnd) {
  const std::string effects = dir / "effects";
  ASSERT_EQ(MakeEffectsFolder(effects), "");
  Start({"--frame-step", "100", effects});
  ClickLauncher(kStartX, kStartY);
  std::optional<int> status;
  EXPECT_EQ(CloseBoxesUntilExit(status, 120, true), std::vector<std::string>{}) << ReadFile(dir / "program.out");
  EXPECT_EQ(status, std::optional<int>(0)) << ReadFile(dir / "program.out");
  EXPECT_EQ(Messages(), std::vector<std::string>{});
}

// Preset 0 runs through the six render-to-texture effects and target sizes 4..12 while development
// mode plays it; the test waits (through the statistics caption) until the demo has run its length.
TEST_F(DemoProgram, DevelopmentModePlaysAPresetZeroOfEveryRenderToTextureEffect) {
  const std::string folder = dir / "folder";
  TScene1ParamIArray preset0 = InitParamTable();
  SetParamValue(preset0, "UseR2TEffects", 1);
  SetParamValue(preset0, "R2TEffectPreset", 0, 5, 0.002f, 5);             // 0..5, about 3 s of effect time a round
  SetParamValue(preset0, "R2tTextureSizeTweakFactor", 4, 5, 0.0013f, 8);  // 4..12
  ASSERT_EQ(MakeDemoFolder(folder, 12000, preset0), "");
  Start({"-d", "--frame-step", "100", folder});
  const std::string window = DemoWindow();
  ASSERT_FALSE(window.empty()) << ReadFile(dir / "program.out");
  const std::regex demoTime(" t: ([0-9]+) ");
  int latestMs = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (latestMs < 11500 && std::chrono::steady_clock::now() < end && !WaitForExit(program, 100)) {
    std::smatch match;
    const std::string caption = WindowName(window);
    if (std::regex_search(caption, match, demoTime)) latestMs = std::max(latestMs, std::stoi(match[1]));
    ExposeScreen();
  }
  EXPECT_GE(latestMs, 11500) << ReadFile(dir / "program.out");
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  ExpectEscapeEnds();
}

TEST_F(DemoProgram, FolderWithoutPresetsWarnsOnceAndPlaysTheDefaultsToTheEnd) {
  const std::string folder = dir / "folder";
  ASSERT_EQ(MakeDemoFolder(folder, 4000), "");
  std::filesystem::remove(folder + "/scene0.txt");
  Start({"--frame-step", "100", folder});
  ClickLauncher(kStartX, kStartY);
  std::optional<int> status;
  EXPECT_EQ(CloseBoxesUntilExit(status, 60, true), std::vector<std::string>{"dravel was here"});
  EXPECT_EQ(status, std::optional<int>(0));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Loading Error: no scene1 presets found! Using default settings"});
}

TEST_F(DemoProgram, MissingMp3ShowsTheSequenceErrorThenTheSoundErrorAndEnds) {
  const std::string folder = dir / "folder";
  ASSERT_EQ(MakeDemoFolder(folder, 4000), "");
  std::filesystem::remove(DemoMp3Path(folder));
  Start({folder});
  ClickLauncher(kStartX, kStartY);  // Music on
  std::optional<int> status;
  EXPECT_EQ(CloseBoxesUntilExit(status), std::vector<std::string>{"Demo fuckup message..."});
  ASSERT_TRUE(status.has_value()) << "the program did not end";
  EXPECT_NE(*status, 0);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"seq file error: No correct MP3 file",
                                                  "sound init failed! Error: Stream creation failed (in other words: "
                                                  "where is my mp3 file (" +
                                                      DemoMp3Path(folder) + "), eh?!)"}));
}

TEST_F(DemoProgram, NoPresetsAndABadTextureShowTheirMessagesOnceInStartUpOrder) {
  const std::string folder = dir / "folder";
  ASSERT_EQ(MakeDemoFolder(folder, 4000), "");
  std::filesystem::remove(folder + "/scene0.txt");
  WriteFile(folder + "/texture1.bmp", "not a picture");
  Start({folder});
  ClickLauncher(kStartX, kStartY);
  std::optional<int> status;
  EXPECT_EQ(CloseBoxesUntilExit(status), (std::vector<std::string>{"dravel was here", "Demo fuckup message..."}));
  ASSERT_TRUE(status.has_value()) << "the program did not end";
  EXPECT_NE(*status, 0);
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Loading Error: no scene1 presets found! Using default settings",
                                      "Texture(1) Init Error: cannot load texture (" + folder +
                                          "/texture1.bmp: not a BMP picture the decoder reads (unknown image type))"}));
}

class DemoProgramSignal : public DemoProgram, public ::testing::WithParamInterface<int> {};

TEST_P(DemoProgramSignal, EndsARunWithMusicWithTheSignalsStatus) {
  Start({dataDir});
  ClickLauncher(kStartX, kStartY);  // Music on
  ScreenOnceDrawn("program-signal.png", [](const RgbaImage& shot) { return Letterboxed(shot, 0, 0, 1024, 768, 96); });
  kill(program, GetParam());
  EXPECT_EQ(WaitForExit(program, 5000), std::optional<int>(128 + GetParam())) << ReadFile(dir / "program.out");
  program = -1;
}

INSTANTIATE_TEST_SUITE_P(CtrlCAndTerm, DemoProgramSignal, ::testing::Values(SIGINT, SIGTERM));

// The offscreen picture (as --render and --export draw it) of a moment drawn a few times over, as the
// window shows it when its frame-stepped clock holds the moment: a frame can differ from the first one
// at the same moment (the render target still holds the frame before).
RgbaImage OffscreenMoment(const std::string& dataDir, uint32_t demoTimeMs) {
  LoadedDemo demo;
  if (!LoadDataFolder(dataDir, demo)) return {};
  RenderState state;
  FailOnFatalError(state);
  RgbaImage image;
  if (StartOffscreenRenderer(state, Direct3DCreate8(D3D_SDK_VERSION), dataDir, demo.sequence.ScreenCinemaWidthRatio,
                             640, 480)
          .empty())
    for (int frame = 0; frame < 3; ++frame)
      if (!DrawDemoFrameToImage(state, demo.scene, demo.sequence, demoTimeMs, false, image,
                                [](const std::string& text) { ADD_FAILURE() << text; })
               .empty())
        return {};
  ReleaseRenderObjects(state);
  return image;
}

// The window's picture against the offscreen one at one moment of each render-to-texture effect and each
// sprite layer. The frame-stepped clock with step 0 holds the moment in every frame.
TEST_F(DemoProgram, WindowShowsTheOffscreenPictureOfEveryEffectAndSpriteLayer) {
  const std::string effects = dir / "effects";
  ASSERT_EQ(MakeEffectsFolder(effects), "");
  for (int k = 0; k < kEffectsFolderEntries; ++k) {
    SCOPED_TRACE(k);
    const std::string moment = std::to_string(k * 1000 + 500);
    const RgbaImage offscreen = OffscreenMoment(effects, k * 1000 + 500);
    ASSERT_EQ(offscreen.widthPx, 640u);

    Start({"--frame-step", "0", "--start", moment, effects});
    ClickLauncher(kWindowedX, kWindowedY);
    ClickLauncher(kStartX, kStartY);
    ExposeScreen();  // a redraw between frames changes nothing
    // Effect 0 draws its strips with a random blue in each frame: red and green only there.
    const bool blue = k != 0;
    auto differing = [&](const RgbaImage& screen, const RgbaImage& picture, uint32_t left, uint32_t top) {
      size_t count = 0;
      for (uint32_t y = 0; y < 480; ++y)
        for (uint32_t x = 0; x < 640; ++x) {
          const uint8_t *a = screen.Pixel(left + x, top + y), *b = picture.Pixel(x, y);
          count += std::abs(a[0] - b[0]) > 8 || std::abs(a[1] - b[1]) > 8 || (blue && std::abs(a[2] - b[2]) > 8);
        }
      return double(count) / (640.0 * 480.0);
    };
    const RgbaImage screen = ScreenOnceDrawn("program-window-" + moment + ".png", [&](const RgbaImage& shot) {
      return differing(shot, offscreen, kWindowLeft, kWindowTop) < 0.002;
    });
    ASSERT_EQ(screen.widthPx, 1024u);
    EXPECT_LT(differing(screen, offscreen, kWindowLeft, kWindowTop), 0.002)
        << "see program-window-" << moment << ".png and offscreen-" << moment << ".png";
    EXPECT_EQ(WritePng(TestOutPath("offscreen-" + moment + ".png"), offscreen), "");
    ExpectEscapeEnds();
    StopProcess(program);
  }
}

TEST(ProgramWithoutDisplay, SaysSoInOneLineAndShowsTheExportCommand) {
  const CommandResult result =
      RunCommand(std::string("env -u DISPLAY ") + QUARNEL_BINARY + " " + QUARNEL_SOURCE_DIR + "/data");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, std::string("quarnel: no display found. Without one, export the demo as a video: ") +
                               QUARNEL_BINARY + " --export demo.mp4\n");
}

// A circle of radius 1 seen from straight above (camera 1 at effect time 0, time frozen): on the 640 x 480
// mode, whose aspect the camera takes, the letterboxed 640 x 360 area shows it 4/3 as wide as high. The
// picture is scaled to the 16:9 screen's height (1.5 times), aspect kept; were the camera to take the
// monitor's aspect, the circle would come out round.
TEST_F(WideScreenProgram, FullscreenCameraTakesTheDisplayModesAspect) {
  TempDir circle;
  ASSERT_EQ(MakeDemoFolder(circle.Path(), 60000), "");
  TScene1ParamIArray preset = InitParamTable();
  const std::vector<std::pair<std::string, float>> values = {{"BG_r", 0},
                                                             {"BG_g", 0},
                                                             {"BG_b", 0},
                                                             {"ClearZBuffer", 0},
                                                             {"ZBuffer", 0},
                                                             {"FogEnable", 0},
                                                             {"EnableLight", 0},
                                                             {"SpriteAlpha", 0},
                                                             {"SpriteAlpha2", 0},
                                                             {"UseR2TEffects", 0},
                                                             {"NumberOfRingObjects", 0},
                                                             {"NumberOfPointSpriteWaves", 0},
                                                             {"MainObject", 1},
                                                             {"_ObjectPreset", 2},
                                                             {"_TweakX", 10},
                                                             {"_TweakY", 0},
                                                             {"_TweakZ", 0.025f},
                                                             {"NumberOfPlanes", 1},
                                                             {"PlaneDist", 0},
                                                             {"PlanesPrimitive", 3},
                                                             {"CameraPreset", 1},
                                                             {"ScreenProportionAdjust", 0},
                                                             {"ScrBlend", 5},
                                                             {"DestBlend", 6},
                                                             {"FillMode", 3}};
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
  AtWindow(launcher, kStartX, kStartY, "click 1");
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
