#pragma once
// Waiting in tests that run FLTK windows in their own process: the event loop turns until what the
// test waits for has happened. For window tests (widgets/, tweak/, timeline/, ui/) only.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <utility>

#include "support/poll_until.h"
#include "support/xdotool.h"

// Runs the event loop until done() holds, for at most timeout; returns done().
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = kPollDeadline) {
  return PollUntil(done, timeout, [] { Fl::wait(0.02); });
}

// Runs the event loop until the toolkit has seen the pointer at (xPx, yPx) of the screen.
inline bool PumpUntilPointerAt(int xPx, int yPx) {
  return PumpUntil([xPx, yPx] { return Fl::event_x_root() == xPx && Fl::event_y_root() == yPx; });
}

// Moves the pointer to (xPx, yPx) of the window and runs the event loop until the window has seen it
// there: it is mapped where it says and takes events. Moves again when the window moved meanwhile.
inline bool MovePointerInto(const Fl_Window& window, int xPx, int yPx) {
  std::pair<int, int> movedTo{-1, -1};
  return PumpUntil([&] {
    const std::pair<int, int> target{window.x() + xPx, window.y() + yPx};
    if (target != movedTo) {
      movedTo = target;
      Xdotool(PointerTo(target.first, target.second));
      return false;
    }
    return Fl::event_x_root() == target.first && Fl::event_y_root() == target.second;
  });
}
