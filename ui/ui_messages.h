#pragma once
// Every caption and message of the window shell: the launcher, the message boxes' titles, the display.

// The launcher window.
constexpr const char* kLauncherCaption = "quarnel";
constexpr const char* kStartCaption = "Start";
constexpr const char* kExitCaption = "Exit";
constexpr const char* kMusicCaption = "Music";
constexpr const char* kLoopCaption = "Loop";
constexpr const char* kStatsCaption = "Stats";
constexpr const char* kFullScreenCaption = "Fullscreen";
constexpr const char* kWindowedCaption = "Windowed";

constexpr const char* kNoDirect3DMessage =
    "Not possible to create D3D8 interface(install a recent DirectX version)!";

inline constexpr char kFatalErrorTitle[] = "Demo fuckup message...";
inline constexpr char kApplicationTitle[] = "dravel was here";

// Our own: the windowed program started where no X display can be opened.
inline constexpr char kNoDisplayText[] =
    "quarnel: no display found. Without one, export the demo as a video: build/quarnel --export demo.mp4\n";

// Development mode's unsaved work. Quitting with it asks (the parts joined by kUnsavedAnd):
// "Unsaved work: the live set (from scene0.txt) and the sequence (3 unsaved changes). Save all before quitting?"
inline constexpr char kUnsavedWork[] = "Unsaved work: ";
inline constexpr char kUnsavedLiveSet[] = "the live set";
inline constexpr char kUnsavedLiveSetFrom[] = " (from ";  // + file + ")"
inline constexpr char kUnsavedSequence[] = "the sequence (";  // + changes + ")"
inline constexpr char kUnsavedAnd[] = " and ";
inline constexpr char kUnsavedQuestion[] = ".\nSave all before quitting?";
inline constexpr char kAnswerSaveAll[] = "save all";
inline constexpr char kAnswerDiscard[] = "discard";
inline constexpr char kAnswerCancel[] = "cancel";

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
