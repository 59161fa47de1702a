#pragma once
// The development clock's commands, which F5 (pause), F6 (loop-in), F7 (loop-out) and F8 (clear loop)
// give in the tweak window as in the output window.
enum class ClockCommand { TogglePause, SetLoopIn, SetLoopOut, ClearLoop };
