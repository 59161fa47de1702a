#pragma once
// The tweak window on screen (FLTK 1.3): TweakWindow shows the control model of tweak_controls.h, reports
// what the user does to user_events.h, and mirrors the model back once per frame (SyncTweakWindow).
//
// The program calls OpenTweakWindow once after its start-up (presets, sequence and textures loaded). In
// development mode the window shows itself beside the output window; otherwise it stays hidden for the
// whole run. Keys: Escape hides the window (F2 over the output window shows it again); every other key
// no control used (the undo keys too, also while an editing field has the focus: the field's own undo
// is not used) goes to host.Key, which decides what it means. Everything the toolkit calls runs through
// the toolkit guard (toolkit_guard.h). Every edit lands in host.scene->LiveParams, which the next frame
// evaluates.
#include <memory>

#include "tweak/tweak_layout.h"  // the window's size: kTweakWindowWidthPx, kTweakWindowHeightPx

struct TweakHost;  // tweak/tweak_host.h
struct TweakForm;  // tweak/tweak_controls.h
class TweakWindow;
class Fl_Window;

// Destroys a tweak window (the class is complete only inside tweak_window.cpp).
struct DeleteTweakWindow {
  void operator()(TweakWindow* window) const;
};
using TweakWindowPtr = std::unique_ptr<TweakWindow, DeleteTweakWindow>;

// Creates the window for host and runs its set-up. An empty host.ShowMessage is filled with FLTK's
// message box. host (and what it points to) must outlive the window; host.ShutdownDemo must not delete
// the window while it runs (ending the process or hiding the windows is fine).
TweakWindowPtr OpenTweakWindow(TweakHost& host);

// The control model behind the window, for tests and tools that drive it.
TweakForm& ModelOf(TweakWindow& window);

// The window itself, for placing windows and boxes beside or over it.
Fl_Window& TweakWindowOf(TweakWindow& window);

// Moves the window's client area to (xPx, yPx) on the screen.
void PlaceTweakWindow(TweakWindow& window, int xPx, int yPx);

// F2: shows the window again after Escape or the close box hid it.
void ReopenTweakWindow(TweakWindow& window);

// Once per frame: the window shows its model when it changed since (TweakForm::changed), by the
// window's own events or by the program.
void SyncTweakWindow(TweakWindow& window);
