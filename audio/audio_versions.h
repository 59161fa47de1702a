#pragma once
// The versions of the sound libraries, for quarnel --version.
#include <string>

// "SDL 2.26.5": the SDL library the program runs on.
std::string SdlVersionText();

// "mpg123 1.31.2": the libmpg123 the program was built with (the library has no run-time version call).
std::string Mpg123VersionText();
