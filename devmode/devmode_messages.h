#pragma once
// Every text of development mode's document: the quit question, the status line, the windows' unsaved
// marks and the questions about files changed on disk.

// Development mode's unsaved work. Quitting with it asks (the parts joined by kUnsavedAnd):
// "Unsaved work: the live set (from scene0.txt) and the sequence (3 unsaved changes). Save all before quitting?"
inline constexpr char kUnsavedWork[] = "Unsaved work: ";
inline constexpr char kUnsavedLiveSet[] = "the live set";
inline constexpr char kUnsavedLiveSetFrom[] = " (from ";      // + file + ")"
inline constexpr char kUnsavedSequence[] = "the sequence (";  // + changes + ")"
inline constexpr char kUnsavedAnd[] = " and ";
inline constexpr char kUnsavedQuestion[] = ".\nSave all before quitting?";
inline constexpr char kAnswerSaveAll[] = "save all";  // then kAnswerDiscard, kAnswerCancel (tweak_messages.h)

// The timeline's status line and the windows' titles.
inline constexpr char kStatusSequenceSaved[] = "sequence saved ";  // + "14:02:11"
inline constexpr char kStatusUnsavedChange[] = " unsaved change";  // count + this + "s" for more than one
inline constexpr char kStatusSeparator[] = " · ";
inline constexpr char kUnsavedMark[] = " *";

// A file changed on disk while the program holds unsaved edits of it: "sceneseq.txt" + text.
inline constexpr char kChangedOnDiskHeld[] = " changed on disk: kept your unsaved edits";
inline constexpr char kAskReloadChanged[] =
    " changed on disk while its edits here are unsaved.\nReload it from disk? (Ctrl+Z then brings your version back)";
inline constexpr char kAnswerReload[] = "reload";
inline constexpr char kAnswerKeepMine[] = "keep mine";

// The recovery file: what cannot be read in it, and the offer to restore it at the start.
inline constexpr char kMsgRecoveryNotOurs[] = "not a recovery file of this program";
inline constexpr char kMsgRecoveryBrokenAt[] = "broken at byte ";     // + offset
inline constexpr char kMsgRecoveryUnknownField[] = "unknown field ";  // + key
inline constexpr char kMsgRecoveryUnreadable[] =
    "The unsaved work of an earlier session could not be read: ";  // + reason
// "Unsaved work of an earlier session was kept: the live set (from scene0.txt) and the sequence.\nRestore it?"
inline constexpr char kAskRestore[] = "Unsaved work of an earlier session was kept: ";  // + parts joined by kUnsavedAnd
inline constexpr char kRestoredSequence[] = "the sequence";
inline constexpr char kAskRestoreQuestion[] = ".\nRestore it?";
inline constexpr char kAnswerRestore[] = "restore";
inline constexpr char kMsgRecoveryNotWritten[] = "The unsaved work could not be kept for a crash: ";  // + reason

// Recording keys ("rec" in the tweak window): why nothing is recorded now, in the notice line.
inline constexpr char kNoticeRecNoPreview[] = "rec: switch the timeline's preview on to record keys";
inline constexpr char kNoticeRecNoEntry[] = "rec: select the entry to record into in the timeline";
inline constexpr char kNoticeRecOutsideEntry[] = "rec: the cursor is outside the selected entry";
inline constexpr char kNoticeRecNoPreset[] = "rec: the selected entry's preset is not loaded";
inline constexpr char kNoticeRecBaseValuesOnly[] = "rec: keys hold base values, oscillators stay";
// The remote control (OSC). A refused message shows in the notice line:
// "OSC: 3 refused (last: /quarnel/param/BG_r 300: value outside the parameter's range)".
inline constexpr char kOscRefusedStart[] = "OSC: ";                   // + count
inline constexpr char kOscRefusedCount[] = " refused (last: ";        // + message + ": " + reason + ")"
inline constexpr char kOscCannotListen[] = "OSC: cannot listen on ";  // + address + kOscCannotListenPort
inline constexpr char kOscCannotListenPort[] = " port ";              // + port ": " + reason
inline constexpr char kOscNoAddress[] = "no address to listen on";
inline constexpr char kOscNotIPv4[] = "not a numeric IPv4 address (nor localhost)";
inline constexpr char kOscNotIPv6[] = "not a numeric IPv6 address (nor localhost)";
inline constexpr char kOscNotOsc[] = "not an OSC message or bundle";
inline constexpr char kOscDatagramBytes[] = " bytes";  // the message of a datagram that is none: "(N bytes)"
inline constexpr char kOscUnknownAddress[] = "unknown address";
inline constexpr char kOscExpects[] = "expects ";  // + the type tags + kOscOrNothing
inline constexpr char kOscOrNothing[] = ", or nothing to ask";
inline constexpr char kOscNotWhole[] = "not a whole number";
inline constexpr char kOscNoSuchPreset[] = "no such preset";
inline constexpr char kOscPresetUnsaved[] =
    "the live set has unsaved changes (save or undo them first: a remote pick cannot ask)";
inline constexpr char kOscTimeOutside[] = "outside the demo (0..";  // + length + kOscTimeOutsideEnd
inline constexpr char kOscTimeOutsideEnd[] = " ms)";
inline constexpr char kOscNotZeroOrOne[] = "not 0 (pause) or 1 (play)";
inline constexpr char kOscNoClock[] = "no authoring clock to pause";
inline constexpr char kOscBadPort[] = "port outside 0..65535";
inline constexpr char kOscTooManyFollowers[] = "already following with the most streams (";  // + count + ")"
// MIDI controllers: the input as it opened, in the tweak window's notice line.
inline constexpr char kNoticeNoMidiSystem[] = "MIDI: no ALSA sequencer or JACK: controllers off";
inline constexpr char kNoticeNoMidiDevice[] = "MIDI: no controller found; connect one to quarnel:in";
inline constexpr char kNoticeMidiListening[] = "MIDI: listening to ";  // + the ports' names
inline constexpr char kNoticeMoreFaults[] = " (and more: see standard error)";
