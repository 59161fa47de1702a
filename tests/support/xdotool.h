#pragma once
// Driving the windows on the X display in DISPLAY with xdotool, as a user would.
#include <string>
#include <utility>

#include "support/run_command.h"

inline CommandResult Xdotool(const std::string& arguments) { return RunCommand("xdotool " + arguments); }

// The first visible window that xdotool finds with these search options (e.g. "--class '^quarnel$'"),
// waiting up to timeoutS; "" when none showed.
inline std::string FindWindow(const std::string& searchOptions, int timeoutS = 5) {
  const CommandResult found =
      RunCommand("timeout " + std::to_string(timeoutS) + " xdotool search --sync --onlyvisible " + searchOptions);
  return found.output.substr(0, found.output.find('\n'));
}

// xdotool's arguments that move the pointer to (xPx, yPx) of window (of the screen when window is "") and
// wait until it is there. `mousemove --sync` waits for the pointer to leave where it was, 15 s at most, so
// a move to where it already is would stall: it steps one pixel aside first, in the same xdotool run.
inline std::string PointerTo(int xPx, int yPx, const std::string& window = "") {
  const std::string in = window.empty() ? "" : "--window " + window + " ";
  const std::string aside = std::to_string(xPx > 0 ? xPx - 1 : xPx + 1) + " " + std::to_string(yPx);
  return "mousemove " + in + aside + " mousemove --sync " + in + std::to_string(xPx) + " " + std::to_string(yPx);
}

// Moves the pointer to (xPx, yPx) of window, waiting until it is there, then does actions there
// ("click 1", "key Escape", ...).
inline CommandResult AtWindow(const std::string& window, int xPx, int yPx, const std::string& actions) {
  return Xdotool(PointerTo(xPx, yPx, window) + " " + actions);
}

// The window's title (without the line end); "" when it is gone.
inline std::string WindowName(const std::string& window) {
  const CommandResult named = Xdotool("getwindowname " + window);
  if (named.status != 0) return "";  // its output is xdotool's complaint
  std::string name = named.output;
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

// The top-left corner of a window's client area on the screen; (-1, -1) when it is gone.
inline std::pair<int, int> WindowCorner(const std::string& window) {
  const std::string shell = Xdotool("getwindowgeometry --shell " + window).output;
  const auto value = [&shell](const std::string& key) {
    const size_t at = shell.find(key + "=");
    return at == std::string::npos ? -1 : std::stoi(shell.substr(at + key.size() + 1));
  };
  return {value("X"), value("Y")};
}
