#pragma once
// Every message of the command line: --check, --export and the options.
#include <cstdint>
#include <string>

// Our own: quarnel --check. Errors name the file first; warnings start with the prefix.
inline constexpr char kCheckWarningPrefix[] = "warning: ";
inline constexpr char kCheckEntryText[] = " (entry ";             // + K + demo time + effect time
inline constexpr char kCheckDemoTimeText[] = " at demo time ";     // + ms
inline constexpr char kCheckEffectTimeText[] = " ms, effect time "; // + ms + kCheckTimeEnd
inline constexpr char kCheckTimeEnd[] = " ms)";
// + ms + kCheckOscillatorPeakEnd
inline constexpr char kCheckOscillatorPeakText[] = " at its peak: the demo is too long to try every time; tried every ";
inline constexpr char kCheckOscillatorPeakEnd[] = " ms, none fails";
inline constexpr char kCheckMp3DecodedText[] = "mp3 decoded: ";  // + s + kCheckMp3DecodedIn + s
inline constexpr char kCheckMp3DecodedIn[] = " s of sound in ";
inline constexpr char kCheckProgressText[] = "checking the oscillators: ";  // + done "/" total
inline constexpr char kCheckAfterGapText[] = " is never loaded: the numbering stops at the missing ";
inline constexpr char kCheckEntryName[] = "entry ";
inline constexpr char kCheckNoSuchPresetText[] = " names preset ";  // + P + kCheckNoSuchPresetEnd
inline constexpr char kCheckNoSuchPresetEnd[] = ", which is not loaded: it shows preset 0";
// + start " > " end + kCheckStartAfterEndEnd
inline constexpr char kCheckStartAfterEndText[] = " starts after it ends (";
inline constexpr char kCheckStartAfterEndEnd[] = " ms): it is never drawn";
// + end + kCheckEndsAfterDemoLength + length + kCheckEndsAfterDemoEnd
inline constexpr char kCheckEndsAfterDemoText[] = " ends after the demo (";
inline constexpr char kCheckEndsAfterDemoLength[] = " ms, the demo lasts ";
inline constexpr char kCheckEndsAfterDemoEnd[] = " ms): its last part is never drawn";
inline constexpr char kCheckFailedText[] = ": check failed";
inline constexpr char kCheckPassedText[] = ": check passed";

// Our own: quarnel --export.
inline constexpr char kExportTemporaryPrefix[] = ".partial-";  // + pid "-" + the video's file name
inline constexpr char kExportLayerFailedText[] = " (first at demo time ";  // + ms + kExportLayerFailedFrame + n ")"
inline constexpr char kExportLayerFailedFrame[] = " ms, frame ";
inline constexpr char kExportWroteText[] = "wrote ";
inline constexpr char kExportFailedText[] = "failed to write ";
inline constexpr char kExportInterruptedText[] = "interrupted: nothing written, the earlier file stays: ";  // + OUT
inline constexpr char kExportOddSizeText[] = "an H.264 video needs an even width and height, not ";  // + WxH
inline constexpr char kExportOddSizeEnd[] = " (PNG frames, --export DIR/, take any size)";
// OUT + text + the first other entry + end
inline constexpr char kExportFolderNotFramesText[] = " holds more than an earlier export's frames (";
inline constexpr char kExportFolderNotFramesEnd[] = "): export into an empty or new folder";

// Our own: quarnel --render.
inline std::string RenderPastEndText(uint32_t demoTimeMs, uint32_t demoLengthMs) {
  return "--render " + std::to_string(demoTimeMs) + ": the demo ends at " + std::to_string(demoLengthMs) + " ms";
}

// Our own: faults in the command line, one line before the usage text. Each follows the argument it
// names ("--start: '-1' is not a whole number of milliseconds 0..2147483647").
inline constexpr char kNotMillisecondsText[] = " is not a whole number of milliseconds 0..";  // + maximum
inline constexpr char kBadSizeText[] = " is not WIDTHxHEIGHT, each a whole number 1..8192";
inline constexpr char kBadFpsText[] = " is not a whole number 1..240";
inline constexpr char kValueMissingText[] = " is missing after it";  // after "--start: MS"
inline constexpr char kGivenTwiceText[] = ": given twice";
inline constexpr char kUnknownOptionText[] = ": no such option (quarnel --help lists them)";
inline constexpr char kOnlyForPlayText[] = ": only for playing the demo (the launcher or -d)";
inline constexpr char kOnlyForDevelopmentText[] = ": only with -d (the launcher has its Music switch)";
inline constexpr char kOnlyForPicturesText[] = ": only for --render and --export";
inline constexpr char kNoDevelopmentModeText[] = ": not with -d (-d goes with playing and --print-frame)";
inline constexpr char kDevelopmentSwitchPlaceText[] =
    "-d: only the first argument selects development mode (a data folder named -d is written ./-d)";
inline constexpr char kUnexpectedArgumentText[] = ": unexpected argument";
inline constexpr char kCommandPlaceText[] = ": one command, first (after -d where it takes one)";
inline constexpr char kEmptyNameText[] = "the name is empty";
inline constexpr char kEmptyDataDirText[] = ": the data folder's name is empty";
inline constexpr char kNoDataFolderText[] = ": no such data folder";      // after the folder
inline constexpr char kNotADataFolderText[] = ": not a folder";
inline constexpr char kEmptyDataFolderText[] = ": the data folder is empty";

// Our own: quarnel --new DIR.
inline constexpr char kNewDemoNotEmptyText[] = " already exists and is not an empty folder: choose a new name";
inline constexpr char kNewDemoNoShippedDemoText[] = "the shipped demo is not installed: nothing to copy";
inline constexpr char kNewDemoFailedText[] = "could not make ";  // + DIR ": " + the reason
inline constexpr char kNewDemoPartialPrefix[] = ".quarnel-new-";  // + pid: the copy before it is renamed
// kNewDemoMadeText + DIR + kNewDemoAuthorText + program + " -d " + DIR/data + kNewDemoPlayText + program + " " + DIR/data
inline constexpr char kNewDemoMadeText[] = "made ";
inline constexpr char kNewDemoAuthorText[] = ", a copy of the shipped demo to edit\nauthor it:  ";
inline constexpr char kNewDemoPlayText[] = "\nplay it:    ";
