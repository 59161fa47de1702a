#include "devmode/dev_keys.h"

std::optional<DevCommand> DevCommandOfKey(int keysym, bool ctrl, bool shift) {
  if (ctrl && keysym == 'z') return shift ? DevCommand::Redo : DevCommand::Undo;
  if (ctrl && keysym == 'y') return DevCommand::Redo;
  if (ctrl) return std::nullopt;
  switch (keysym - (kKeysymF1 - 1)) {
    case 2: return DevCommand::ShowWindows;
    case 5: return DevCommand::TogglePause;
    case 6: return DevCommand::SetLoopIn;
    case 7: return DevCommand::SetLoopOut;
    case 8: return DevCommand::ClearLoop;
    case 10: return DevCommand::Quit;
    default: return std::nullopt;
  }
}
