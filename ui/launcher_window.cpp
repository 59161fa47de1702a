#include "ui/launcher_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Round_Button.H>
#include <FL/fl_draw.H>

#include <cstdio>
#include <vector>

#include "ui/ui_messages.h"
#include "ui/launcher_choices.h"
#include "ui/output_view.h"
#include "ui/splash_picture.h"
#include "ui/x11_window.h"
#include "engine/toolkit_guard.h"

namespace {

// The launcher: a black frame kBorderPx wide around the client area, rounded corners.
constexpr int kBorderPx = 24;
constexpr int kClientWidthPx = 544, kClientHeightPx = 162;
constexpr int kWindowWidthPx = kClientWidthPx + 2 * kBorderPx, kWindowHeightPx = kClientHeightPx + 2 * kBorderPx;
constexpr int kCornerPx = 30;
// The white panel lies at (-16, -12) of the client area; the controls on it are placed relative to it.
constexpr int kGroupLeftPx = kBorderPx - 16, kGroupTopPx = kBorderPx - 12;
constexpr int kChoiceHeightPx = 21;
// "MS Sans Serif" and "Verdana" are not part of an X desktop; FLTK's sans-serif stands in for both.
constexpr Fl_Font kFont = FL_HELVETICA;
constexpr int kFontSizePx = 11;
constexpr Fl_Color kButtonFace = 0xD4D0C800;

// The window. Escape ends the program wherever the focus is: no control uses the key, so it always
// reaches the window, in the launcher and while the demo runs.
class EscapeWindow final : public Fl_Double_Window {
 public:
  EscapeWindow() : Fl_Double_Window(kWindowWidthPx, kWindowHeightPx, kLauncherCaption) {}
  std::function<void()> onEscape;
  std::function<bool(int key, bool ctrl, bool shift)> onKey;  // true when it used the key

  int handle(int event) override {
    if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && Fl::event_key() == FL_Escape) {
      if (onEscape) FromToolkit(onEscape);
      return 1;
    }
    if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && onKey && HasKeys()) {
      bool used = false;
      const int state = Fl::event_state();
      FromToolkit([&] { used = onKey(Fl::event_key(), state & FL_CTRL, state & FL_SHIFT); });
      if (used) return 1;
    }
    return Fl_Double_Window::handle(event);
  }

 private:
  // Whether the keyboard is this window's: it has the focus (the pointer over the picture gives it the
  // focus) or the pointer is over it. A key another window left unused reaches every window.
  bool HasKeys() const {
    const auto inside = [this](const Fl_Widget* widget) {
      return widget && (widget == this || widget->top_window() == this);
    };
    return inside(Fl::focus()) || inside(Fl::belowmouse());
  }
};

// A decorative frame, single black border around a raised bevel.
class BevelPanel final : public Fl_Box {
 public:
  BevelPanel(int x, int y, int w, int h) : Fl_Box(x, y, w, h) {}

  void draw() override {
    fl_rectf(x(), y(), w(), h(), kButtonFace);
    fl_color(FL_BLACK);
    fl_rect(x(), y(), w(), h());
    fl_color(FL_WHITE);
    fl_xyline(x() + 1, y() + 1, x() + w() - 2);
    fl_yxline(x() + 1, y() + 1, y() + h() - 2);
    fl_color(FL_DARK3);
    fl_xyline(x() + 1, y() + h() - 2, x() + w() - 2);
    fl_yxline(x() + w() - 2, y() + 1, y() + h() - 2);
  }
};

// The entries of a drop-down list. Labels are kept here: FLTK draws '&' and '@' specially, so they are
// doubled to show as themselves.
struct ChoiceEntries {
  std::vector<std::string> labels;
  std::vector<Fl_Menu_Item> items;

  void Set(Fl_Choice& choice, const ChoiceList& list) {
    labels.clear();
    for (const std::string& text : list.texts) {
      std::string label;
      for (const char c : text) {
        if (c == '&' || c == '@') label += c;
        label += c;
      }
      labels.push_back(label);
    }
    items.assign(labels.size() + 1, Fl_Menu_Item{});
    for (size_t i = 0; i < labels.size(); ++i) items[i].text = labels[i].c_str();
    choice.menu(items.data());
    choice.value(list.selected);
    choice.redraw();
  }
};

template <class Widget>
Widget* Labelled(Widget* widget) {
  widget->labelfont(kFont);
  widget->labelsize(kFontSizePx);
  return widget;
}

Fl_Choice* DropDown(int x, int y, int w) {
  Fl_Choice* choice = Labelled(new Fl_Choice(x, y, w, kChoiceHeightPx));
  choice->textfont(kFont);
  choice->textsize(kFontSizePx);
  choice->down_box(FL_BORDER_BOX);
  return choice;
}

Fl_Button* PushButton(int x, int y, int w, int h, const char* caption) {
  Fl_Button* button = Labelled(new Fl_Button(x, y, w, h, caption));
  button->color(kButtonFace);
  return button;
}

// The desktop width decides which window sizes are offered.
uint32_t DesktopWidthPx() {
  int x = 0, y = 0, w = 0, h = 0;
  Fl::screen_xywh(x, y, w, h, 0);
  return static_cast<uint32_t>(w);
}

// A widget callback (data: the launcher) that runs one of the launcher's handlers through the toolkit guard.
template <void (LauncherWindow::*Handler)()>
void LauncherHandler(Fl_Widget*, void* launcher) {
  FromToolkit([launcher] { (static_cast<LauncherWindow*>(launcher)->*Handler)(); });
}

void CentreOnDesktop(Fl_Window& window, int w, int h) {
  window.resize(Fl::x() + (Fl::w() - w) / 2, Fl::y() + (Fl::h() - h) / 2, w, h);
}

}  // namespace

struct LauncherWindow::Controls {
  EscapeWindow window;
  Fl_Group* WhitePanel = nullptr;
  Fl_Box* SplashScreen = nullptr;
  Fl_Round_Button* FullScreen = nullptr;
  Fl_Round_Button* Windowed = nullptr;
  Fl_Choice* DisplayBox = nullptr;
  Fl_Choice* DisplayBoxWindowed = nullptr;
  Fl_Check_Button* stats = nullptr;
  Fl_Check_Button* Loop = nullptr;
  Fl_Check_Button* Sound = nullptr;
  Fl_Choice* AdapterBox = nullptr;
  Fl_Button* DemoExit = nullptr;
  Fl_Button* start = nullptr;
  ::OutputView* view = nullptr;
  std::unique_ptr<Fl_Image> splashImage;
  ChoiceEntries adapterEntries, displayEntries, windowedEntries;
};

LauncherWindow::LauncherWindow(LauncherCallbacks callbacks)
    : callbacks_(std::move(callbacks)), controls_(std::make_unique<Controls>()) {
  Controls& c = *controls_;
  // Positions on the white panel.
  const auto gx = [](int x) { return kGroupLeftPx + x; };
  const auto gy = [](int y) { return kGroupTopPx + y; };

  c.window.xclass("quarnel");
  c.window.color(FL_BLACK);
  c.window.clear_border();
  c.window.onEscape = [this] { Quit(); };
  c.window.onKey = [this](int key, bool ctrl, bool shift) {
    return started_ && callbacks_.key && callbacks_.key(key, ctrl, shift);
  };
  c.window.callback(LauncherHandler<&LauncherWindow::Quit>, this);

  Fl_Group* clientArea = new Fl_Group(kBorderPx, kBorderPx, kClientWidthPx, kClientHeightPx);
  clientArea->clip_children(1);  // the white panel reaches beyond it
  c.WhitePanel = new Fl_Group(kGroupLeftPx, kGroupTopPx, 597, 205);
  c.WhitePanel->box(FL_FLAT_BOX);
  c.WhitePanel->color(FL_WHITE);

  // Every window of the program shows its icon (the launcher first, so it is set before any shows).
  const std::vector<uint8_t> icon = IconPicture(kWindowIconPx);
  const Fl_RGB_Image iconImage(icon.data(), kWindowIconPx, kWindowIconPx, 4);
  Fl_Window::default_icon(&iconImage);  // copied

  c.SplashScreen = new Fl_Box(gx(16), gy(12), 169, 165);
  const std::vector<uint8_t> splash = SplashPicture();
  const Fl_RGB_Scaling scaling = Fl_RGB_Image::RGB_scaling();
  Fl_RGB_Image::RGB_scaling(FL_RGB_SCALING_BILINEAR);
  c.splashImage.reset(Fl_RGB_Image(splash.data(), kSplashSizePx, kSplashSizePx, 3).copy(169, 165));
  Fl_RGB_Image::RGB_scaling(scaling);
  c.SplashScreen->image(c.splashImage.get());

  new BevelPanel(gx(224), gy(24), 309, 81);
  c.FullScreen = Labelled(new Fl_Round_Button(gx(264), gy(36), 73, 33, kFullScreenCaption));
  c.FullScreen->type(FL_RADIO_BUTTON);
  c.FullScreen->set();
  c.FullScreen->callback(LauncherHandler<&LauncherWindow::FullScreenClick>, this);
  c.Windowed = Labelled(new Fl_Round_Button(gx(264), gy(60), 73, 33, kWindowedCaption));
  c.Windowed->type(FL_RADIO_BUTTON);
  c.Windowed->callback(LauncherHandler<&LauncherWindow::WindowedClick>, this);

  c.DisplayBox = DropDown(gx(352), gy(44), 149);
  c.DisplayBox->callback(
      [](Fl_Widget* w, void* lists) {
        static_cast<LauncherLists*>(lists)->DisplayBox.selected = static_cast<Fl_Choice*>(w)->value();
      },
      &lists_);
  c.DisplayBoxWindowed = DropDown(gx(352), gy(68), 149);
  c.DisplayBoxWindowed->deactivate();
  c.DisplayBoxWindowed->callback(
      [](Fl_Widget* w, void* lists) {
        static_cast<LauncherLists*>(lists)->DisplayBoxWindowed.selected = static_cast<Fl_Choice*>(w)->value();
      },
      &lists_);

  c.stats = Labelled(new Fl_Check_Button(gx(228), gy(120), 49, 17, kStatsCaption));
  c.stats->deactivate();
  c.Loop = Labelled(new Fl_Check_Button(gx(284), gy(120), 49, 17, kLoopCaption));
  c.Sound = Labelled(new Fl_Check_Button(gx(336), gy(112), 57, 33, kMusicCaption));
  c.Sound->set();

  c.AdapterBox = DropDown(gx(228), gy(140), 217);
  c.AdapterBox->callback(LauncherHandler<&LauncherWindow::AdapterBoxChange>, this);
  c.DemoExit = PushButton(gx(460), gy(140), 69, 17, kExitCaption);
  c.DemoExit->callback(LauncherHandler<&LauncherWindow::Quit>, this);
  c.WhitePanel->end();

  c.start = PushButton(kBorderPx + 444, kBorderPx + 108, 69, 17, kStartCaption);
  c.start->callback(LauncherHandler<&LauncherWindow::StartDemo>, this);
  clientArea->end();

  c.view = new ::OutputView(0, 0, kWindowWidthPx, kWindowHeightPx);
  c.view->end();
  c.view->hide();
  c.window.end();
  c.window.resizable(nullptr);
}

LauncherWindow::~LauncherWindow() = default;

void LauncherWindow::SetUp(IDirect3D8* d3d, bool developmentMode) {
  developmentMode_ = developmentMode;
  d3d_ = d3d;
  if (!d3d_) {
    callbacks_.fatalError(kNoDirect3DMessage);
    return;
  }
  FillLauncherLists(*d3d_, DesktopWidthPx(), lists_);
  FillListControls();
  if (lists_.adapterBoxEnabled) controls_->AdapterBox->activate();
  else controls_->AdapterBox->deactivate();

  if (!developmentMode_) {
    ShowKeptChoices();
  } else {
    Controls& c = *controls_;
    c.stats->set();
    c.Windowed->setonly();
    WindowedClick();
    c.Loop->set();
    c.Sound->clear();
    StartDemo();
  }
}

void LauncherWindow::ShowKeptChoices() {
  const LauncherChoices kept = ReadLauncherChoices(LauncherChoicesPath());
  if (SelectChosenAdapter(kept, lists_)) FillDisplayModes(*d3d_, DesktopWidthPx(), lists_);
  SelectChosenModes(kept, lists_);
  FillListControls();
  Controls& c = *controls_;
  if (kept.windowed) {
    c.Windowed->setonly();
    WindowedClick();
  }
  c.Sound->value(kept.switches.music);
  c.Loop->value(kept.switches.loop);
  c.stats->value(kept.windowed && kept.switches.stats);
}

void LauncherWindow::KeepChoices() const {
  const std::string path = LauncherChoicesPath();
  if (path.empty()) return;
  const LauncherChoices shown = ChoicesShown(lists_, controls_->Windowed->value() != 0, Switches());
  if (const std::string fault = WriteLauncherChoices(path, shown); !fault.empty())
    std::fprintf(stderr, "%s%s\n", kChoicesNotKeptText, fault.c_str());
}

void LauncherWindow::Show() {
  if (started_) return;
  Fl_Window& window = controls_->window;
  CentreOnDesktop(window, kWindowWidthPx, kWindowHeightPx);
  window.show();
  SetRoundedShape(window, kCornerPx);
}

void LauncherWindow::StartDemo() {
  if (started_) return;
  started_ = true;
  if (!developmentMode_) KeepChoices();
  Controls& c = *controls_;
  Fl_Window& window = c.window;
  RemoveShape(window);
  window.hide();
  c.WhitePanel->hide();
  c.start->hide();
  c.SplashScreen->hide();

  DeviceChoice choice = ChosenDevice(lists_, c.Windowed->value() != 0, c.view);
  if (choice.windowed) {
    // A normal decorated window: X window managers offer no tool-window caption that FLTK could ask for.
    int w = static_cast<int>(choice.widthPx), h = static_cast<int>(choice.heightPx);
    window.border(1);
    if (callbacks_.placeOutput) {
      const ScreenRectPx place = callbacks_.placeOutput(w, h);
      w = place.widthPx, h = place.heightPx;
      choice.widthPx = static_cast<UINT>(w), choice.heightPx = static_cast<UINT>(h);
      window.resize(place.xPx, place.yPx, w, h);
    } else {
      CentreOnDesktop(window, w, h);
    }
    window.size_range(w, h, w, h);
  } else {
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_xywh(x, y, w, h, window.x() + window.w() / 2, window.y() + window.h() / 2);
    window.border(0);
    window.resize(x, y, w, h);
    window.size_range(w, h, w, h);
    if (WindowManagerHandlesFullscreen()) window.fullscreen();
  }
  c.view->resize(0, 0, window.w(), window.h());
  window.resizable(c.view);
  window.show();
  c.view->show();
  if (callbacks_.start) callbacks_.start(choice, Switches());
}

void LauncherWindow::Hide() { controls_->window.hide(); }

void LauncherWindow::SetCaption(const std::string& text) { controls_->window.copy_label(text.c_str()); }

LauncherSwitches LauncherWindow::Switches() const {
  const Controls& c = *controls_;
  return {c.Sound->value() != 0, c.Loop->value() != 0, c.stats->value() != 0};
}

bool LauncherWindow::FullScreenChecked() const { return controls_->FullScreen->value() != 0; }

bool LauncherWindow::DevelopmentMode() const { return developmentMode_; }

WindowHost& LauncherWindow::OutputView() { return *controls_->view; }

void LauncherWindow::FillListControls() {
  Controls& c = *controls_;
  c.adapterEntries.Set(*c.AdapterBox, lists_.AdapterBox);
  c.displayEntries.Set(*c.DisplayBox, lists_.DisplayBox);
  c.windowedEntries.Set(*c.DisplayBoxWindowed, lists_.DisplayBoxWindowed);
}

void LauncherWindow::WindowedClick() {
  Controls& c = *controls_;
  c.DisplayBox->deactivate();
  c.DisplayBoxWindowed->activate();
  c.stats->activate();
}

void LauncherWindow::FullScreenClick() {
  Controls& c = *controls_;
  c.DisplayBox->activate();
  c.DisplayBoxWindowed->deactivate();
  c.stats->clear();
  c.stats->deactivate();
}

void LauncherWindow::AdapterBoxChange() {
  if (!d3d_) return;
  lists_.AdapterBox.selected = controls_->AdapterBox->value();
  FillDisplayModes(*d3d_, DesktopWidthPx(), lists_);
  FillListControls();
}

void LauncherWindow::Quit() {
  if (callbacks_.shutdown) callbacks_.shutdown();
}
