// The tweak window on a real X display (CTest runs it on an X server of its own): it shows its controls where the
// layout puts them, and mouse and keys reach the handlers. Screenshots go to QUARNEL_TEST_OUT.
#include "scene/preset_file.h"
#include "support/fltk_pump.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/xdotool.h"
#include "tweak/tweak_controls.h"
#include "tweak/tweak_window.h"

#include <FL/Fl.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

constexpr int kWidthPx = kTweakWindowWidthPx, kHeightPx = kTweakWindowHeightPx;

// The window's pixels as RGB rows, read back from the screen.
std::vector<uint8_t> ReadWindow(Fl_Window& window) {
  window.make_current();
  std::vector<uint8_t> rgb(kWidthPx * kHeightPx * 3);
  fl_read_image(rgb.data(), 0, 0, kWidthPx, kHeightPx);
  return rgb;
}

struct Pixels {
  const std::vector<uint8_t>& rgb;
  const uint8_t* At(int x, int y) const { return &rgb[(y * kWidthPx + x) * 3]; }
  // Pixels in the rectangle that are clearly dark (text, frames).
  int Dark(int x, int y, int w, int h) const {
    int count = 0;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) count += At(i, j)[0] + At(i, j)[1] + At(i, j)[2] < 200;
    return count;
  }
  // Pixels whose channels differ strongly: coloured, not grey.
  int Colourful(int x, int y, int w, int h) const {
    int count = 0;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) {
        const uint8_t* p = At(i, j);
        count += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 80;
      }
    return count;
  }
  // Rows of the rectangle that hold some dark pixel.
  int DarkRows(int x, int y, int w, int h) const {
    int rows = 0;
    for (int j = y; j < y + h; ++j) rows += Dark(x, j, w, 1) > 0;
    return rows;
  }
};

// A timeout that looks for the file chooser; seeing it proves that timeouts run while it is open. It
// then puts the file name into the chooser's name field and presses its OK button.
struct ChooserWatch {
  std::string file;
  bool sawChooser;
};
template <typename T>
T* FindChild(Fl_Group* group) {
  for (int i = 0; i < group->children(); ++i) {
    if (T* found = dynamic_cast<T*>(group->child(i))) return found;
    if (Fl_Group* inner = group->child(i)->as_group())
      if (T* found = FindChild<T>(inner)) return found;
  }
  return nullptr;
}
void WatchForChooser(void* data) {
  auto* watch = static_cast<ChooserWatch*>(data);
  for (Fl_Window* open = Fl::first_window(); open; open = Fl::next_window(open)) {
    if (!open->label() || std::string(open->label()) != "open/save path and file") continue;
    watch->sawChooser = true;
    Fl_File_Input* name = FindChild<Fl_File_Input>(open);
    Fl_Return_Button* ok = FindChild<Fl_Return_Button>(open);
    EXPECT_TRUE(name && ok);
    if (!name || !ok) return open->hide();
    name->value(watch->file.c_str());
    ok->do_callback();
    return;
  }
  Fl::repeat_timeout(0.05, WatchForChooser, data);
}

class TweakWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run it through tests/support/own_display.sh)";
    const std::string data = dir / "data";
    std::filesystem::create_directories(data);
    for (int n = 0; n < 3; ++n) ASSERT_EQ(WriteScenePreset(data + "/scene" + std::to_string(n) + ".txt", InitParamTable()), "");
    scene.PresetCount = LoadScenePresets(data + "/scene", scene.ScenePresets, {});
    host.scene = &scene;
    host.clock = &clock;
    host.developmentMode = true;
    host.TextureCount = 9;
    host.SequenceCount = 2;
    host.DemoLength = 60000;
    host.dataDir = data;
    host.ShutdownDemo = [this] { ++shutdowns; };
    host.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
  }

  TempDir dir;
  SceneState scene;
  DemoClock clock;
  TweakHost host;
  std::vector<std::string> messages;
  int shutdowns = 0;
};

TEST_F(TweakWindow, ShowsItsControlsWhereTheLayoutPutsThem) {
  TweakWindowPtr window = OpenTweakWindow(host);
  ModelOf(*window).controls.notice = "scene0.txt changed on disk: reloaded, Ctrl+Z to undo";
  RefreshTweakWindow(*window);
  Fl_Window* shown = Fl::first_window();
  ASSERT_NE(shown, nullptr);
  // Drawn once the logo and the notice line are on the screen.
  std::vector<uint8_t> rgb;
  ASSERT_TRUE(PumpUntil([&] {
    if (!shown->visible()) return false;
    rgb = ReadWindow(*shown);
    const Pixels drawn{rgb};
    return drawn.Colourful(0, 4, 101, 73) > 400 && drawn.Dark(4, 560, 277, 14) > 60;
  }));
  EXPECT_EQ(shown->w(), kWidthPx);
  EXPECT_EQ(shown->h(), kHeightPx);
  EXPECT_STREQ(shown->label(), "[ tweak control ] v0.95b");

  const std::string shot = TestOutPath("tweak_window.png");
  ASSERT_EQ(std::system(("import -window root -crop " + std::to_string(kWidthPx) + "x" + std::to_string(kHeightPx) + "+" + std::to_string(shown->x()) + "+" +
                         std::to_string(shown->y()) + " " + shot).c_str()),
            0);

  const Pixels pixels{rgb};
  EXPECT_GT(pixels.Colourful(0, 4, 101, 73), 400);      // the logo
  EXPECT_LT(pixels.Colourful(110, 0, 170, 81), 20);     // the info group beside it is grey and black
  EXPECT_GE(pixels.DarkRows(120, 16, 150, 60), 30);     // four lines of info text
  EXPECT_GE(pixels.DarkRows(8, 90, 230, 143), 60);      // eleven list rows of text
  EXPECT_GT(pixels.Dark(4, 536, 277, 21), 100);         // "outta here" with its frame
  EXPECT_GT(pixels.Dark(36, 456, 169, 21), 100);        // the path field shows the data folder
  EXPECT_GT(pixels.Dark(248, 348, 30, 13), 10);         // the chance beside its bar: "1%"
  EXPECT_GT(pixels.Dark(4, 560, 277, 14), 60);          // the notice line under "outta here"
  EXPECT_LT(pixels.Dark(4, 560, 277, 14), 1500);        // text, not a filled bar
}

TEST_F(TweakWindow, MouseAndKeysReachTheHandlers) {
  TweakWindowPtr window = OpenTweakWindow(host);
  TweakForm& form = ModelOf(*window);
  Fl_Window* shown = Fl::first_window();
  ASSERT_TRUE(PumpUntil([&] { return shown->visible() != 0; }));
  const auto at = [&](int x, int y) {
    return "mousemove --sync " + std::to_string(shown->x() + x) + " " + std::to_string(shown->y() + y);
  };
  ASSERT_TRUE(MovePointerInto(*shown, 200, 50));

  // Third row of the parameter list: "002 byte:BG_b".
  ASSERT_EQ(Xdotool(at(40, 88 + 2 + 13 * 2 + 6) + " click 1").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return form.controls.ListBox1.selected >= 0; }));
  EXPECT_EQ(form.controls.ListBox1.selected, 2);
  EXPECT_TRUE(form.controls.BaseVal.enabled);
  EXPECT_EQ(form.controls.BaseVal.text, "107");

  // Type into the base field: every keystroke stores, a clipped value says so once.
  ASSERT_EQ(Xdotool(at(4 + 204 + 30, 236 + 44 + 10) + " click --repeat 3 1 key ctrl+a BackSpace type 300").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return !messages.empty(); }));
  EXPECT_EQ(messages, (std::vector<std::string>{"value clipped [ > 255 ]"}));
  EXPECT_EQ(scene.LiveParams[2].BaseVal, 255);
  EXPECT_EQ(form.controls.BaseVal.text, "255");

  // "search" opens FLTK's own chooser, which keeps timeouts (and so the frame loop) running.
  const std::string chosen = dir / "data/scene7.txt";
  WriteFile(chosen, "");  // the chooser takes existing files only
  ChooserWatch watch{chosen, false};
  Fl::add_timeout(0.05, WatchForChooser, &watch);
  ASSERT_EQ(Xdotool(at(4 + 200 + 30, 440 + 64 + 8) + " click 1").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return form.controls.ScenePresetFile.text == "scene7.txt"; }));
  EXPECT_TRUE(watch.sawChooser);
  EXPECT_EQ(form.controls.ScenePresetPath.text, (dir / "data") + "/");

  // Keys go to the window whichever control has the focus: F10 ends the program (here by hiding every
  // window, which the tweak window then respects), Escape hides the window.
  host.ShutdownDemo = [&] {
    ++shutdowns;
    shown->hide();
  };
  ASSERT_EQ(Xdotool("windowfocus --sync " + std::to_string(fl_xid(shown))).status, 0);
  ASSERT_EQ(Xdotool(at(4 + 204 + 30, 236 + 44 + 10) + " click 1 key F10").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return shutdowns == 1; }));
  EXPECT_FALSE(shown->visible());
  shown->show();
  ASSERT_TRUE(PumpUntil([&] { return shown->visible() != 0; }));
  ASSERT_TRUE(MovePointerInto(*shown, 201, 51));  // over the info box
  ASSERT_EQ(Xdotool("click 1 key Escape").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return !form.controls.visible; }));
  EXPECT_FALSE(shown->visible());
  Fl::remove_timeout(WatchForChooser, &watch);
}

// The time bar spans the whole demo, about 400 ms per pixel here; dragged with Shift held its thumb moves
// 10 ms per pixel, for exact positions.
TEST_F(TweakWindow, TheTimeBarDraggedWithShiftMovesInFineSteps) {
  TweakWindowPtr window = OpenTweakWindow(host);
  TweakForm& form = ModelOf(*window);
  Fl_Window* shown = Fl::first_window();
  ASSERT_TRUE(PumpUntil([&] { return shown->visible() != 0; }));
  ASSERT_EQ(form.controls.TimeScale.position, 1);
  // The steps one by one, each handled by the window before the next, as a hand makes them.
  ASSERT_TRUE(MovePointerInto(*shown, 16 + 13 + 3, 412 + 6));  // the thumb
  const int thumbX = shown->x() + 16 + 13 + 3, thumbY = shown->y() + 412 + 6;
  ASSERT_EQ(Xdotool("keydown shift mousedown 1").status, 0);
  ASSERT_TRUE(PumpUntil([] { return Fl::event_state(FL_BUTTON1) && Fl::event_state(FL_SHIFT); }));
  for (int step = 1; step <= 2; ++step) {
    ASSERT_EQ(Xdotool("mousemove_relative --sync 10 0").status, 0);
    ASSERT_TRUE(PumpUntilPointerAt(thumbX + 10 * step, thumbY)) << "step " << step;
  }
  ASSERT_EQ(Xdotool("mouseup 1 keyup shift").status, 0);
  PumpUntil([&] { return std::abs(form.controls.TimeScale.position - (1 + 20 * 10)) <= 30; });
  EXPECT_NEAR(form.controls.TimeScale.position, 1 + 20 * 10, 30);
  EXPECT_EQ(form.controls.TimeResetCaption, "reset: " + std::to_string(form.controls.TimeScale.position) + "ms");
}

}  // namespace
