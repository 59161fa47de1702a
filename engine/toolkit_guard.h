#pragma once
// The one guard around everything the window toolkit calls into: widget callbacks, key handlers,
// timers and the idle frame loop. What such an entry point raises never leaves it (an exception through
// FLTK's event dispatch ends the program); its message goes to the program's error display, as the
// application's general error handler shows it, and the program goes on.
#include <functional>
#include <string>

// Where the guard shows an error's message; until set, on stderr.
void SetErrorDisplay(std::function<void(const std::string&)> show);

// Runs action; an exception it raises is shown and goes no further.
void FromToolkit(const std::function<void()>& action) noexcept;
