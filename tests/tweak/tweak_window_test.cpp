// The tweak window on a real X display (CTest runs it on an X server of its own): it shows its controls where the
// layout puts them, and mouse and keys reach the handlers. Screenshots go to QUARNEL_TEST_OUT.
#include "scene/preset_file.h"
#include "support/fltk_pump.h"
#include "support/frame_timer.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/xdotool.h"
#include "tweak/tweak_controls.h"
#include "tweak/tweak_layout.h"
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
constexpr const TweakLayout& kAt = kTweakLayout;
constexpr int kListRowPx = 13;  // a row of the parameter list

constexpr TweakRectPx Inset(const TweakRectPx& r, int px) {
  return {r.xPx + px, r.yPx + px, r.widthPx - 2 * px, r.heightPx - 2 * px};
}

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
  int Dark(const TweakRectPx& r) const { return Dark(r.xPx, r.yPx, r.widthPx, r.heightPx); }
  int Colourful(const TweakRectPx& r) const { return Colourful(r.xPx, r.yPx, r.widthPx, r.heightPx); }
  int DarkRows(const TweakRectPx& r) const { return DarkRows(r.xPx, r.yPx, r.widthPx, r.heightPx); }
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

class TweakWindowOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run it through tests/support/own_display.sh)";
    const std::string data = dir / "data";
    std::filesystem::create_directories(data);
    for (int n = 0; n < 3; ++n)
      ASSERT_EQ(WriteScenePreset(data + "/scene" + std::to_string(n) + ".txt", InitParamTable()), "");
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

TEST_F(TweakWindowOnScreen, ShowsItsControlsWhereTheLayoutPutsThem) {
  TweakWindowPtr window = OpenTweakWindow(host);
  const FrameTimer frames([&window] { SyncTweakWindow(*window); });
  ModelOf(*window).controls.notice = "scene0.txt changed on disk: reloaded, Ctrl+Z to undo";
  ModelOf(*window).changed = true;
  Fl_Window* shown = Fl::first_window();
  ASSERT_NE(shown, nullptr);
  // Drawn once the logo and the notice line are on the screen.
  std::vector<uint8_t> rgb;
  ASSERT_TRUE(PumpUntil([&] {
    if (!shown->visible()) return false;
    rgb = ReadWindow(*shown);
    const Pixels drawn{rgb};
    return drawn.Colourful(kAt.logo) > 400 && drawn.Dark(kAt.notice) > 60;
  }));
  EXPECT_EQ(shown->w(), kWidthPx);
  EXPECT_EQ(shown->h(), kHeightPx);
  EXPECT_STREQ(shown->label(), "[ tweak control ] v0.95b");

  const std::string shot = TestOutPath("tweak_window.png");
  ASSERT_EQ(std::system(("import -window root -crop " + std::to_string(kWidthPx) + "x" + std::to_string(kHeightPx) +
                         "+" + std::to_string(shown->x()) + "+" + std::to_string(shown->y()) + " " + shot)
                            .c_str()),
            0);

  const Pixels pixels{rgb};
  const TweakRectPx chance{kAt.possibilityValue.xPx, kAt.possibilityValue.yPx, 30, kListRowPx};
  EXPECT_GT(pixels.Colourful(kAt.logo), 400);               // the logo
  EXPECT_LT(pixels.Colourful(kAt.infoGroup), 20);           // the info group beside it is grey and black
  EXPECT_GE(pixels.DarkRows(kAt.info), 30);                 // four lines of info text
  EXPECT_GE(pixels.DarkRows(Inset(kAt.paramList, 4)), 60);  // eleven list rows of text
  EXPECT_GT(pixels.Dark(kAt.outtaHere), 100);               // "outta here" with its frame
  EXPECT_GT(pixels.Dark(kAt.presetPath), 100);              // the path field shows the data folder
  EXPECT_GT(pixels.Dark(chance), 10);                       // the chance beside its bar: "1%"
  EXPECT_GT(pixels.Dark(kAt.rec), 30);                      // the "rec" switch and its caption
  EXPECT_GT(pixels.Dark(kAt.notice), 60);                   // the notice line under "outta here"
  EXPECT_LT(pixels.Dark(kAt.notice), 1500);                 // text, not a filled bar
}

TEST_F(TweakWindowOnScreen, MouseAndKeysReachTheHandlers) {
  TweakWindowPtr window = OpenTweakWindow(host);
  const FrameTimer frames([&window] { SyncTweakWindow(*window); });
  TweakForm& form = ModelOf(*window);
  Fl_Window* shown = Fl::first_window();
  ASSERT_TRUE(PumpUntil([&] { return shown->visible() != 0; }));
  const auto at = [&](int x, int y) { return PointerTo(shown->x() + x, shown->y() + y); };
  const auto centreOf = [&](const TweakRectPx& r) { return at(r.xPx + r.widthPx / 2, r.yPx + r.heightPx / 2); };
  const int infoXPx = kAt.info.xPx + kAt.info.widthPx / 2, infoYPx = kAt.info.yPx + kAt.info.heightPx / 2;
  ASSERT_TRUE(MovePointerInto(*shown, infoXPx, infoYPx));

  // Third row of the parameter list: "002 byte:BG_b".
  ASSERT_EQ(
      Xdotool(at(kAt.paramList.xPx + 36, kAt.paramList.yPx + 2 + kListRowPx * 2 + kListRowPx / 2) + " click 1").status,
      0);
  ASSERT_TRUE(PumpUntil([&] { return form.controls.ParamList.selected >= 0; }));
  EXPECT_EQ(form.controls.ParamList.selected, 2);
  EXPECT_TRUE(form.controls.BaseVal.enabled);
  EXPECT_EQ(form.controls.BaseVal.text, "107");

  // Type into the base field: every keystroke stores, a clipped value says so once.
  ASSERT_EQ(Xdotool(centreOf(kAt.baseVal) + " click --repeat 3 1 key ctrl+a BackSpace type 300").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return !messages.empty(); }));
  EXPECT_EQ(messages, (std::vector<std::string>{"value clipped [ > 255 ]"}));
  EXPECT_EQ(scene.LiveParams[2].BaseVal, 255);
  EXPECT_EQ(form.controls.BaseVal.text, "255");

  // "search" opens FLTK's own chooser, which keeps timeouts (and so the frame loop) running.
  const std::string chosen = dir / "data/scene7.txt";
  WriteFile(chosen, "");  // the chooser takes existing files only
  ChooserWatch watch{chosen, false};
  Fl::add_timeout(0.05, WatchForChooser, &watch);
  ASSERT_EQ(Xdotool(centreOf(kAt.search) + " click 1").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return form.controls.ScenePresetFile.text == "scene7.txt"; }));
  EXPECT_TRUE(watch.sawChooser);
  EXPECT_EQ(form.controls.ScenePresetPath.text, (dir / "data") + "/");

  // Keys no control uses go on to the program whichever control has the focus: F10 ends the program
  // (here by hiding every window, which the tweak window then respects); Escape hides the window.
  std::vector<int> keys;
  host.Key = [&](int keysym, bool, bool) {
    keys.push_back(keysym);
    shown->hide();
    return true;
  };
  ASSERT_EQ(Xdotool("windowfocus --sync " + std::to_string(fl_xid(shown))).status, 0);
  ASSERT_EQ(Xdotool(centreOf(kAt.baseVal) + " click 1 key F10").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return !keys.empty(); }));
  EXPECT_EQ(keys, std::vector<int>{FL_F + 10});
  EXPECT_TRUE(PumpUntil([&] { return !shown->visible(); }));
  shown->show();
  ASSERT_TRUE(PumpUntil([&] { return shown->visible() != 0; }));
  ASSERT_TRUE(MovePointerInto(*shown, infoXPx + 1, infoYPx + 1));  // over the info box
  ASSERT_EQ(Xdotool("click 1 key Escape").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return !form.controls.visible; }));
  EXPECT_TRUE(PumpUntil([&] { return !shown->visible(); })) << "the next frame hides it";
  Fl::remove_timeout(WatchForChooser, &watch);
}

// The time bar spans the whole demo, about 400 ms per pixel here; dragged with Shift held its thumb moves
// 10 ms per pixel, for exact positions.
TEST_F(TweakWindowOnScreen, TheTimeBarDraggedWithShiftMovesInFineSteps) {
  TweakWindowPtr window = OpenTweakWindow(host);
  const FrameTimer frames([&window] { SyncTweakWindow(*window); });
  TweakForm& form = ModelOf(*window);
  Fl_Window* shown = Fl::first_window();
  ASSERT_TRUE(PumpUntil([&] { return shown->visible() != 0; }));
  ASSERT_EQ(form.controls.TimeScale.position, 1);
  // The thumb at position 1 lies just right of the bar's left arrow, which is as wide as the bar is high.
  const TweakRectPx bar = kAt.timeScale;
  const int thumbXPx = bar.xPx + bar.heightPx + 3, thumbYPx = bar.yPx + bar.heightPx / 2;
  // The steps one by one, each handled by the window before the next, as a hand makes them.
  ASSERT_TRUE(MovePointerInto(*shown, thumbXPx, thumbYPx));
  const int thumbX = shown->x() + thumbXPx, thumbY = shown->y() + thumbYPx;
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
