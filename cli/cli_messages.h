#pragma once
// Every message of the command line: --check, --export and the options.
#include <cstdint>
#include <string>

// Our own: quarnel --check. Errors name the file first; warnings start with the prefix.
inline constexpr char kCheckWarningPrefix[] = "warning: ";
inline constexpr char kCheckEntryText[] = " (entry ";                // + K + demo time + effect time
inline constexpr char kCheckDemoTimeText[] = " at demo time ";       // + ms
inline constexpr char kCheckEffectTimeText[] = " ms, effect time ";  // + ms + kCheckTimeEnd
inline constexpr char kCheckTimeEnd[] = " ms)";
inline constexpr char kCheckTrackedTimeEnd[] = " ms, base value from the entry's keys)";  // for a tracked one
inline constexpr char kCheckFollowedTimeEnd[] = " ms, base value following the soundtrack)";  // for a followed one
// + K + kCheckUndecidedFrom + ms + kCheckTimeEnd
inline constexpr char kCheckUndecidedText[] =
    ": its oscillator may round outside the 32-bit range, and the check could not settle it in time (entry ";
inline constexpr char kCheckUndecidedFrom[] = " from demo time ";
inline constexpr char kCheckMp3DecodedText[] = "mp3 decoded: ";  // + s + kCheckMp3DecodedIn + s
inline constexpr char kCheckMp3DecodedIn[] = " s of sound in ";
// The MP3 ends before the demo: MP3 + text + sound + middle + demo + end.
inline constexpr char kShortSoundText[] = ": the sound lasts ";
inline constexpr char kShortSoundMiddle[] = " s, the demo ";
inline constexpr char kShortSoundEnd[] = " s: the rest of the demo is silent";
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
inline constexpr char kCheckUndecidedEndText[] =
    ": check undecided: the oscillators named above may fail where the check could not look";

// Our own: quarnel --export.
inline constexpr char kExportTemporaryPrefix[] = ".partial-";              // + pid "-" + the video's file name
inline constexpr char kExportLayerFailedText[] = " (first at demo time ";  // + ms + kExportLayerFailedFrame + n ")"
inline constexpr char kExportLayerFailedFrame[] = " ms, frame ";
inline constexpr char kExportWroteText[] = "wrote ";
inline constexpr char kFfmpegNotStartedText[] = "cannot start ffmpeg: ";                    // + the reason
inline constexpr char kFfmpegStoppedReadingText[] = "ffmpeg stopped reading the frames: ";  // + the reason
inline constexpr char kFfmpegStatusText[] = "ffmpeg failed with exit status ";              // + N
inline constexpr char kFfmpegSignalText[] = "ffmpeg was ended by signal ";                  // + N " (" + name ")"
inline constexpr char kExportFailedText[] = "failed to write ";
inline constexpr char kExportInterruptedText[] = "interrupted: nothing written, the earlier file stays: ";  // + OUT
inline constexpr char kExportOddSizeText[] = "an H.264 video needs an even width and height, not ";         // + WxH
inline constexpr char kExportOddSizeEnd[] = " (PNG frames, --export DIR/, take any size)";
// OUT + text + OUT + end
inline constexpr char kExportTargetIsFolderText[] = " is a folder: for PNG frames in it write ";
inline constexpr char kExportTargetIsFolderEnd[] = "/ (with the slash), for a video name a file";
inline constexpr const char* kExportVideoExtensions[] = {"mp4", "m4v", "mov", "mkv", "avi"};
inline constexpr char kExportUnknownFormatText[] =
    ": a video's name ends in .mp4, .m4v, .mov, .mkv or .avi (a name ending in / exports PNG frames)";
// OUT + text + the first other entry + end
inline constexpr char kExportFolderNotFramesText[] = " holds more than an earlier export's frames (";
inline constexpr char kExportFolderNotFramesEnd[] = "): export into an empty or new folder";

// Our own: --print-frame's mark after a value whose base came from a track of the entry ("_TweakX=2 tracked").
inline constexpr char kTrackedMark[] = " tracked";
// Our own: its mark after a value that follows the soundtrack ("BG_r=180 followed").
inline constexpr char kFollowedMark[] = " followed";

// Our own: quarnel --guess-bpm.
inline constexpr char kNoBeatText[] = ": no steady beat of 60..200 bpm is heard in it";  // after the MP3's path

// Our own: --print-frame's evaluation fault, before the evaluator's text:
// "--print-frame 26760: entry 3, preset 9 (data/scene9.txt): ".
inline std::string PrintFrameFaultText(uint32_t demoTimeMs, int entry, int preset, const std::string& presetPath) {
  return "--print-frame " + std::to_string(demoTimeMs) + ": entry " + std::to_string(entry) + ", preset " +
         std::to_string(preset) + " (" + presetPath + "): ";
}

// Our own: quarnel --render, --print-frame and --export's --to; option is the option's name.
inline std::string PastEndText(const std::string& option, uint32_t demoTimeMs, uint32_t demoLengthMs) {
  return option + " " + std::to_string(demoTimeMs) + ": the demo ends at " + std::to_string(demoLengthMs) + " ms";
}
inline std::string ExportNoFramesText(uint32_t fromMs, uint32_t toMs) {
  return "no frame lies in " + std::to_string(fromMs) + ".." + std::to_string(toMs) + " ms at this --fps";
}
inline std::string ExportContainerText(const std::string& codec, const std::string& extensions,
                                       const std::string& videoPath) {
  return "--codec " + codec + " goes into a " + extensions + " file, not " + videoPath;
}
inline std::string ExportJobsText(uint64_t jobs, uint64_t frames) {
  return "exporting " + std::to_string(frames) + " frames in " + std::to_string(jobs) + " parts side by side";
}
inline std::string ExportPartFailedText(const std::string& partPath) { return "the part " + partPath + " failed:"; }

// Our own: the program's standard output could not take what it printed.
inline constexpr char kStandardOutputFailedText[] = "cannot write to standard output: ";  // + the reason
inline constexpr char kStandardOutputEarlierText[] = "an earlier write failed";

// Our own: faults in the command line, one line before the usage text. Each follows the argument it
// names ("--start: '-1' is not a whole number of milliseconds 0..2147483647").
inline constexpr char kNotMillisecondsText[] = " is not a whole number of milliseconds 0..";  // + maximum
inline constexpr char kBadSizeText[] = " is not WIDTHxHEIGHT, each a whole number 1..8192";
inline constexpr char kBadFpsText[] = " is not 1..240 frames per second, a whole number or a fraction (30000/1001)";
inline constexpr char kBadMaxFpsText[] = " is not a whole number 0..1000 (0: no cap)";
inline constexpr char kBadCodecText[] = " is not h264, ffv1, png or prores";
inline constexpr char kBadJobsText[] = " is not a whole number 1..64";
inline constexpr char kFromAfterToText[] = ": --from lies after --to";
inline constexpr char kValueMissingText[] = " is missing after it";  // after "--start: MS"
inline constexpr char kGivenTwiceText[] = ": given twice";
inline constexpr char kUnknownOptionText[] = ": no such option (quarnel --help lists them)";
inline constexpr char kOnlyForPlayText[] = ": only for playing the demo (the launcher or -d)";
inline constexpr char kOnlyForDevelopmentText[] = ": only with -d (the launcher has its Music switch)";
inline constexpr char kOnlyForRemoteControlText[] = ": only with -d (the remote control edits development mode)";
inline constexpr char kOscAddressAloneText[] = "--osc-address: only with --osc PORT";
inline constexpr char kBadPortText[] = " is not a port 1..65535";
inline constexpr char kOnlyForPicturesText[] = ": only for --render and --export";
inline constexpr char kOnlyForExportText[] = ": only for --export";
inline constexpr char kNoDevelopmentModeText[] = ": not with -d (-d goes with playing and --print-frame)";
inline constexpr char kDevelopmentSwitchPlaceText[] =
    "-d: only the first argument selects development mode (a data folder named -d is written ./-d)";
inline constexpr char kUnexpectedArgumentText[] = ": unexpected argument";
inline constexpr char kCommandPlaceText[] = ": one command, first (after -d where it takes one)";
inline constexpr char kEmptyNameText[] = "the name is empty";
inline constexpr char kEmptyDataDirText[] = ": the data folder's name is empty";
inline constexpr char kNoDataFolderText[] = ": no such data folder";  // after the folder
inline constexpr char kNotADataFolderText[] = ": not a folder";
inline constexpr char kEmptyDataFolderText[] = ": the data folder is empty";

// Our own: quarnel --new DIR.
inline constexpr char kNewDemoNotEmptyText[] = " already exists and is not an empty folder: choose a new name";
inline constexpr char kNewDemoNoShippedDemoText[] = "the shipped demo is not installed: nothing to copy";
inline constexpr char kNewDemoFailedText[] = "could not make ";   // + DIR ": " + the reason
inline constexpr char kNewDemoPartialPrefix[] = ".quarnel-new-";  // + pid: the copy before it is renamed
// kNewDemoMadeText + DIR + kNewDemoAuthorText + program + " -d " + DIR/data + kNewDemoPlayText + program + " " +
// DIR/data
inline constexpr char kNewDemoMadeText[] = "made ";
inline constexpr char kNewDemoAuthorText[] = ", a copy of the shipped demo to edit\nauthor it:  ";
inline constexpr char kNewDemoPlayText[] = "\nplay it:    ";
