#pragma once
// The versions of the window toolkit and of the display's OpenGL, for quarnel --version.
#include <string>

// "FLTK 1.3.8": the FLTK library the program runs on.
std::string FltkVersionText();

// "OpenGL: RENDERER, VERSION" of the display the windows would open on; empty when there is no display
// (or it offers no OpenGL).
std::string DisplayGlText();
