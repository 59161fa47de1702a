#pragma once
// Every message of development mode's toolkit-free part.

// Our own: hot reload of the data files. The failure's own text (file and line) comes first.
inline constexpr char kReloadFailedText[] = "\rThe file was not reloaded; the previous data stays in use.";
inline constexpr char kReloadNeedsRestartText[] =
    ": reloaded; the new letterbox ratio and MP3 file take effect at the next start.";

// The input fields of the tweak window and the timeline; the offending text in quotes is put in front.
inline constexpr char kMsgFieldNotANumber[] = " is not a valid number";
inline constexpr char kMsgFieldNotAWholeNumber[] = " is not a valid whole number";
inline constexpr char kMsgFieldOutOfRange[] = " is out of the range ";  // + "min..max"
inline constexpr char kMsgFieldNegative[] = " is out of range: the value must not be negative";
inline constexpr char kMsgFieldTooLargeForFloat[] = " is too large for a 32-bit float";
