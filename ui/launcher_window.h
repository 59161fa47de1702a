#pragma once
// The launcher window. It offers adapter, output kind, display mode or window size and the
// Music/Loop/Stats switches; "Start" turns the same window into the demo's output window (controls
// hidden, an OpenGL view filling it) and hands over to the start callback. Escape (anywhere in the
// window, before and during the demo), "Exit" and closing the window run the shutdown callback.
// Positions and sizes are pixels of the window's client area.
#include <functional>
#include <memory>
#include <string>

#include "ui/dev_window_layout.h"
#include "ui/launcher_lists.h"

class WindowHost;

struct LauncherCallbacks {
  // Required. FatalError: shows the text, ends the program.
  std::function<void(const std::string& text)> fatalError;
  // InitDemo: called once the window has become the output window. choice.window is the output view.
  std::function<void(const DeviceChoice& choice, const LauncherSwitches& switches)> start;
  std::function<void()> shutdown;  // ShutdownDemo
  // Once the demo runs: a key pressed while the output window has the keyboard (X keysym); true when
  // it was used. Empty: no keys but Escape.
  std::function<bool(int key, bool ctrl, bool shift)> key;
  // Windowed output: where the output window's client area goes for the wanted size; the device is
  // created at the size it returns. Empty: centred on the desktop at the wanted size.
  std::function<ScreenRectPx(int wantedWidthPx, int wantedHeightPx)> placeOutput;
};

class LauncherWindow {
 public:
  // Builds the window (window class "quarnel"); nothing is shown yet.
  explicit LauncherWindow(LauncherCallbacks callbacks);
  ~LauncherWindow();
  LauncherWindow(const LauncherWindow&) = delete;
  LauncherWindow& operator=(const LauncherWindow&) = delete;

  // Window creation. d3d nullptr: FatalError and nothing more. Otherwise fills the lists from d3d
  // (kept, not owned) and, in development mode, sets windowed output with Stats and Loop on, Music off,
  // and runs StartDemo at once.
  void SetUp(IDirect3D8* d3d, bool developmentMode);
  // Shows the rounded launcher, centred on the desktop; nothing once the demo has started.
  void Show();
  // Turns the launcher into the output window and calls the start callback; only the first call acts.
  void StartDemo();
  // Hides the window; once no window is left, Fl::run returns.
  void Hide();

  void SetCaption(const std::string& text);  // the window title, UTF-8
  LauncherSwitches Switches() const;
  bool FullScreenChecked() const;
  bool DevelopmentMode() const;
  WindowHost& OutputView();

 private:
  struct Controls;

  void FillListControls();
  // The choices kept from the last start, shown; and the ones shown, kept for the next.
  void ShowKeptChoices();
  void KeepChoices() const;
  void WindowedClick();
  void FullScreenClick();
  void AdapterBoxChange();
  void Quit();

  LauncherCallbacks callbacks_;
  std::unique_ptr<Controls> controls_;
  IDirect3D8* d3d_ = nullptr;
  LauncherLists lists_;
  bool developmentMode_ = false;
  bool started_ = false;
};
