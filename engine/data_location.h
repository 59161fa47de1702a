#pragma once
// Which data folder the program plays when none is named, and which folders it must not write. The
// shipped demo is installed beside the program (BIN/../share/quarnel/demo/data, wherever the prefix is);
// a program run from its build folder uses the source tree's data/ instead.
#include <string>

// The shipped demo's data folder, or empty when there is none.
std::string ShippedDemoDir();

// The data folder when the command line names none: ./data when it holds a sequence file (an unrelated
// data/ is left alone), otherwise the shipped demo, otherwise "data" (so that the messages name the
// folder that was looked for).
std::string DefaultDataDir();

// Whether dataDir lies inside the program's installed files (BIN/../share/quarnel): the installed demo
// is read-only, an author edits a copy of it (quarnel --new).
bool IsInstalledData(const std::string& dataDir);

// How a user runs this program: "quarnel" when that name on PATH finds this very binary (the installed
// program), otherwise the binary's full path (a build folder, a staged install). For the commands that
// messages suggest.
std::string ProgramCommand();
