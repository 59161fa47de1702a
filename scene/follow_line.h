#pragma once
// The text form of a follow in the sequence file's header, one line per followed parameter:
// "// follow ENTRY PARAM SOURCE GAIN OFFSET", ENTRY the entry's 0-based index in file order, PARAM the
// parameter index 0..76, SOURCE one of low, mid, high, onset, GAIN and OFFSET written with "." in their
// shortest exact form ("// follow 3 12 low 1.5 0.25"). Fields are separated by one or more blanks.
#include <cstdint>
#include <string>
#include <string_view>

#include "scene/sound_envelopes.h"

inline constexpr std::string_view kFollowLineStart = "// follow ";

struct FollowLine {
  uint8_t Entry = 0;  // 0..254
  ParamFollow Follow;
  bool operator==(const FollowLine&) const = default;
};

// Whether the line (without its line end) is a follow line, well formed or not.
bool IsFollowLine(std::string_view line);

// Reads a follow line (without its line end) into parsed. Returns "" on success; otherwise why not (the
// caller puts the file and line in front), with parsed unchanged.
[[nodiscard]] std::string ParseFollowLine(std::string_view line, FollowLine& parsed);

// The line, without a line end; ParseFollowLine reads it back to the same values.
std::string FollowLineText(const FollowLine& line);
