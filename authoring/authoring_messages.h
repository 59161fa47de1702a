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

// Our own: MIDI controllers. A control's and a target's names as the tweak window shows them.
inline constexpr char kMidiControlText[] = "CC ";
inline constexpr char kMidiNoteText[] = "note ";
inline constexpr char kMidiBendText[] = "bend";
inline constexpr char kMidiChannelText[] = " ch ";
inline constexpr char kMidiTimeSliderText[] = "time slider";
inline constexpr char kMidiMorphSliderText[] = "morph slider";

// Our own: controllers.txt. A refused line's fault; the file and line are put in front
// ("data/controllers.txt:3: channel '17' is outside 1..16; the line stays but is not used").
inline constexpr char kMsgControllersLineEnds[] = "the line ends early";
inline constexpr char kMsgControllersOutside[] = " is outside ";  // + "min..max"
inline constexpr char kMsgControllersNotANumber[] = " is not a number";
inline constexpr char kMsgControllersNoControl[] = " is not a control (cc, note, bend)";
inline constexpr char kMsgControllersNoTarget[] =
    " is not a target (base, osc1, osc2, time, rand, var, save, F5, F6, F7, F8, preset)";
inline constexpr char kMsgControllersChannel[] = "channel";
inline constexpr char kMsgControllersNumber[] = "number";
inline constexpr char kMsgControllersParam[] = "parameter";
inline constexpr char kMsgControllersMinimum[] = "minimum";
inline constexpr char kMsgControllersMaximum[] = "maximum";
inline constexpr char kMsgControllersPreset[] = "preset";
inline constexpr char kMsgControllersPosition[] = "position";
inline constexpr char kMsgControllersPositionRange[] = "the position is outside 0..1";
inline constexpr char kMsgControllersNoteMovesNoValue[] = "a note presses a button; it moves no value";
inline constexpr char kMsgControllersBendPressesNoButton[] = "a bend moves a value; it presses no button";
inline constexpr char kMsgControllersTrailing[] = "unexpected text at the end of the line";
inline constexpr char kMsgControllersLineKept[] = "; the line stays but is not used";
inline constexpr char kControllersFileHeader[] =
    "# quarnel controllers: CONTROL TARGET [at POSITION], one mapping a line (see docs/file-formats.md)\n"
    "# CONTROL: cc CHANNEL NUMBER | note CHANNEL NUMBER | bend CHANNEL\n"
    "# TARGET: base|osc1|osc2 PARAM MINIMUM MAXIMUM | time | rand | var | save | F5..F8 | preset N\n";
