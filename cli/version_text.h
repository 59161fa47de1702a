#pragma once
// quarnel --version: the program's version and those of the libraries it runs on.
#include <string>

// "quarnel 0.9.0 (git 1a2b3c4d5e)" (the revision only when built from a git checkout), then one line each
// for FLTK, mpg123 and SDL, and the display's OpenGL renderer when there is a display.
std::string VersionText();
