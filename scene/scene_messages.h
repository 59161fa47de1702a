#pragma once
// Every text the scene data subsystem shows: data-file errors and start-up messages.

// Number lines; the file and line are put in front ("data/scene3.txt:17: '2,9280' is not a valid number").
inline constexpr const char* kMsgNotANumber = " is not a valid number";
inline constexpr const char* kMsgFileEndsEarly = "the file ends where a number belongs";
inline constexpr const char* kMsgBareLineFeeds = " (lines must end with CR LF)";
inline constexpr const char* kMsgByteOrderMark =
    " (a UTF-8 byte order mark stands before it: save the file without one)";
inline constexpr const char* kMsgFileByteOrderMark =
    " (the file starts with a UTF-8 byte order mark, so its first line is not read as a comment: save the file "
    "without one)";
inline constexpr const char* kMsgCommaSeparator =
    " (decimals are written with '.'; ',' reads only under a language setting that writes it)";
inline constexpr const char* kMsgOutOfRange = " is out of the range ";
inline constexpr const char* kMsgOutOfFloatRange = " is too large for a 32-bit float";

// Evaluation of a parameter whose value its type cannot hold; the parameter's name is put in front.
inline constexpr const char* kMsgStaticOutOfRange = ": base value rounds to ";  // + N + kMsgStaticOutsideRange + range
inline constexpr const char* kMsgStaticOutsideRange = ", outside the range ";
inline constexpr const char* kMsgOscOutOfRange = ": oscillator value rounds outside the 32-bit range";

// Reading and writing files; the file's name is put in front ("data/scene3.txt: not a regular file").
inline constexpr const char* kMsgNotARegularFile = "not a regular file";
// What stands there instead of a regular file, before kMsgNotARegularFile's text.
inline constexpr const char* kMsgIsFolder = "a folder, ";
inline constexpr const char* kMsgIsFifo = "a FIFO (named pipe), ";
inline constexpr const char* kMsgIsDevice = "a device, ";
inline constexpr const char* kMsgIsSocket = "a socket, ";
inline constexpr const char* kMsgDanglingLink = "a symbolic link to a file that does not exist";
inline constexpr const char* kMsgFileTooLarge = "larger than ";  // + the limit + kMsgFileTooLargeUnit
inline constexpr const char* kMsgFileTooLargeUnit = " bytes, far more than a data file holds";

// Preset files.
inline constexpr const char* kMsgPresetLoadFailed = "Load Error: Scene(";  // + N + kMsgPresetLoadFailedCode + code
inline constexpr const char* kMsgPresetLoadFailedCode = ") fukked; Error Code:";
inline constexpr const char* kMsgNoPresets = "Loading Error: no scene1 presets found! Using default settings";
inline constexpr const char* kMsgTooManyPresets =
    ": only the first 255 presets are loaded; this file and later ones are ignored";

// The sequence file.
inline constexpr const char* kMsgBadDemoLength = "seq file error: no correct demo length setting";
inline constexpr const char* kMsgBadRatio = "seq file error: ScreenCinemaWidthRatio is not between 2 and 10";
inline constexpr const char* kMsgBadMp3 = "seq file error: No correct MP3 file";
inline constexpr const char* kMsgSequenceLoadFailed = "Load Error: Scene Seqence file fukked";  // + code
inline constexpr const char* kMsgNoSequence = "Loading Error: no scene1 presets sequence found!";
inline constexpr const char* kMsgSaveNoEntries = "the sequence has no entries: the demo could not start from it";
inline constexpr const char* kMsgSaveTooManyEntries = "the sequence has more than 255 entries: the demo reads only 255";
inline constexpr const char* kMsgSaveBadLength = "the demo length must be 1..2147483647 ms";
inline constexpr const char* kMsgTooManyEntries =
    ": only the first 255 entries are used; the rest of the file is ignored";
inline constexpr const char* kMsgSaveBadKeys = "the keys of entry ";  // + N + ": " + what TracksFault says
inline constexpr const char* kMsgTracksOutOfOrder = "its tracks are not one per parameter in parameter order";
inline constexpr const char* kMsgTrackOfParam = "parameter ";  // + N + one of the three below
inline constexpr const char* kMsgTrackKeysOutOfOrder = ": its keys are not in time order";
inline constexpr const char* kMsgTrackKeyTooLate = ": a key lies beyond 2147483647 ms";
inline constexpr const char* kMsgTrackValueOutOfRange = ": a key's value is outside the parameter's range";
inline constexpr const char* kMsgSequenceTooLarge =
    "the sequence file would be larger than the reader reads: fewer keys, please";

// Key lines of the sequence file ("// key ENTRY PARAM MS VALUE CURVE"); the file and line are put in front.
inline constexpr const char* kMsgKeyFields = "a key line holds five fields: // key ENTRY PARAM MS VALUE CURVE";
inline constexpr const char* kMsgKeyEntry = "key ENTRY ";
inline constexpr const char* kMsgKeyParam = "key PARAM ";
inline constexpr const char* kMsgKeyTime = "key MS ";
inline constexpr const char* kMsgKeyValue = "key VALUE ";
inline constexpr const char* kMsgKeyCurve = "key CURVE ";
inline constexpr const char* kMsgNotAWholeNumber = " is not a whole number";
inline constexpr const char* kMsgKeyEntriesRead = " (the entries the file holds)";
inline constexpr const char* kMsgKeyValueOf = " of ";  // + the parameter's name
inline constexpr const char* kMsgKeyNotACurve = " is not a curve: step, linear, smooth or ramp";
inline constexpr const char* kMsgKeyBeforePrevious = " comes before the previous key of its track (";  // + ms + ")"
inline constexpr const char* kMsgKeyTimeOrder = " ms): the keys of a track go in time order";

// Follow lines in the sequence file's header ("// follow 0 5 low 1.5 0.25"); the file and line are put in
// front, and the field's text (in quotes) before the field's message.
inline constexpr const char* kMsgFollowFields =
    "a follow line holds five fields: entry, parameter, source (low, mid, high or onset), gain and offset";
inline constexpr const char* kMsgFollowEntry = " is not an entry number 0..254";
inline constexpr const char* kMsgFollowParam = " is not a parameter number 0..76";
inline constexpr const char* kMsgFollowSource = " is not a source: low, mid, high or onset";
inline constexpr const char* kMsgFollowGain = " is not a gain: a number a 32-bit float holds";
inline constexpr const char* kMsgFollowOffset = " is not an offset: a number a 32-bit float holds";
inline constexpr const char* kMsgFollowNoSuchEntry = ": the follow's entry is not among the ";  // + count + end
inline constexpr const char* kMsgFollowEntriesEnd = " entries the file holds";
inline constexpr const char* kMsgFollowSecond = "a second follow of parameter ";  // + param + " of entry " + entry
inline constexpr const char* kMsgFollowOfEntry = " of entry ";
inline constexpr const char* kMsgSaveBadFollows = "the follows of entry ";  // + N + ": " + what FollowsFault says
inline constexpr const char* kMsgFollowsOutOfOrder = "its follows are not one per parameter in parameter order";
inline constexpr const char* kMsgFollowsBadNumbers = "a follow's source, gain or offset is not one a file holds";
