#pragma once
// The keys that mean the same in every window of development mode (the output, the tweak window and
// the timeline), as one table: each window hands a key it has no use for on to the program, and the
// document decides what it means. Keys are X keysyms, the numbers the window toolkit reports.
#include <optional>

enum class DevCommand {
  Undo,         // Ctrl+Z
  Redo,         // Ctrl+Shift+Z, Ctrl+Y
  TogglePause,  // F5
  SetLoopIn,    // F6
  SetLoopOut,   // F7
  ClearLoop,    // F8
  ShowWindows,  // F2: the tweak window and the timeline again after they were closed
  Quit,         // F10: asks first when there is unsaved work
};

inline constexpr int kKeysymF1 = 0xffbe;  // F2 is kKeysymF1 + 1, and so on

// The command of a key pressed with ctrl and shift as given; nullopt for a key of no shared meaning.
std::optional<DevCommand> DevCommandOfKey(int keysym, bool ctrl, bool shift);
