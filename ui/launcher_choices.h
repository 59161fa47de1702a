#pragma once
// The launcher's choices kept between runs, in $XDG_CONFIG_HOME/quarnel/launcher.txt: one "name=value"
// line each, entries named by their text (so a changed list keeps what still exists). Toolkit-free.
#include <string>

#include "ui/launcher_lists.h"

struct LauncherChoices {
  std::string adapter;      // the adapter's description
  bool windowed = false;    // Windowed instead of Fullscreen
  std::string displayMode;  // the fullscreen mode's entry ("640x480, 32bit")
  std::string windowSize;   // the window size's entry ("640x480")
  LauncherSwitches switches;
};

// $XDG_CONFIG_HOME/quarnel/launcher.txt, or ~/.config/quarnel/launcher.txt when that is not set (or not
// absolute); empty when neither is known.
std::string LauncherChoicesPath();

// The choices in the file; the defaults for what it does not hold (a missing or unreadable file, a line
// that does not read).
LauncherChoices ReadLauncherChoices(const std::string& path);

// Writes the file (its folder made when missing) through a temporary, so a failed write keeps the old
// one. "" on success, otherwise path + ": " + the reason.
[[nodiscard]] std::string WriteLauncherChoices(const std::string& path, const LauncherChoices& choices);

// Selects the adapter that choices name, when the list holds it; returns whether the selection changed
// (its display modes then need filling anew).
bool SelectChosenAdapter(const LauncherChoices& choices, LauncherLists& lists);

// Selects the display mode and window size that choices name, those the lists hold.
void SelectChosenModes(const LauncherChoices& choices, LauncherLists& lists);

// The choices as the launcher shows them.
LauncherChoices ChoicesShown(const LauncherLists& lists, bool windowed, const LauncherSwitches& switches);
