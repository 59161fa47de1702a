#pragma once
// controllers.txt in the data folder: the controller mappings and where each control was last, one
// mapping a line, so that a session starts with its knobs where they were left (soft takeover knows
// them). Text with '.' in numbers whatever the language setting; lines end with LF (a CR before it is
// taken too); blank lines and lines starting with '#' are comments. A line:
//
//   CONTROL TARGET [at POSITION]
//
//   CONTROL   cc CHANNEL NUMBER | note CHANNEL NUMBER | bend CHANNEL   (CHANNEL 1..16, NUMBER 0..127)
//   TARGET    base PARAM MINIMUM MAXIMUM | osc1 PARAM MINIMUM MAXIMUM | osc2 PARAM MINIMUM MAXIMUM
//             | time | rand | var | save | F5 | F6 | F7 | F8 | preset N
//   POSITION  the control's last position 0..1
//
// PARAM is the parameter's index 0..76; MINIMUM and MAXIMUM the values at the control's ends (a base
// value's within the parameter's key range). A note presses a button target only, a bend moves a value
// target only. The program rewrites the file when mappings or positions change: its own header comment
// and the mappings, then every refused line as it was (other comments are not kept).
#include <string>
#include <string_view>
#include <vector>

#include "authoring/midi_mapping.h"

inline constexpr char kControllersFileName[] = "controllers.txt";

struct ControllersRead {
  std::vector<ControllerMapping> mappings;
  std::vector<std::string> refusedLines;  // as they were, without the line end
  std::vector<std::string> faults;        // one per refused line: "path:LINE: reason; ..."
};

// Reads the text of the file at path (path names it in the faults). Every line that is a mapping is
// taken; a line that is not is refused with its fault, and the other lines still count.
ControllersRead ReadControllers(std::string_view text, const std::string& path);

// The file's text for the mappings and refused lines of map.
std::string ControllersText(const ControllerMap& map);
