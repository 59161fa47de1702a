#pragma once
// Which data folder the program plays when none is named, and which folders it must not write. The
// shipped demo is installed beside the program (BIN/../share/quarnel/demo/data, wherever the prefix is);
// a program run from its build folder uses the source tree's data/ instead.
#include <string>

// The shipped demo's data folder, or empty when there is none.
std::string ShippedDemoDir();

// The data folder when the command line names none: ./data when it exists, otherwise the shipped demo,
// otherwise "data" (so that the messages name the folder that was looked for).
std::string DefaultDataDir();

// Whether dataDir lies inside the program's installed files (BIN/../share/quarnel): the installed demo
// is read-only, an author edits a copy of it (quarnel --new).
bool IsInstalledData(const std::string& dataDir);
