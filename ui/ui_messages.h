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

constexpr const char* kNoDirect3DMessage = "Not possible to create D3D8 interface(install a recent DirectX version)!";

inline constexpr char kFatalErrorTitle[] = "Demo fuckup message...";
inline constexpr char kApplicationTitle[] = "dravel was here";

// Our own: the windowed program started where no X display can be opened.
// Our own: the launcher's choices could not be kept for the next run (+ file + ": " + reason).
inline constexpr char kChoicesNotKeptText[] = "quarnel: the launcher's choices are not kept: ";

inline constexpr char kProgramPrefix[] = "quarnel: ";  // a line on standard error (a failed --osc, say)

// + how the program is run + kNoDisplayEnd
inline constexpr char kNoDisplayText[] = "quarnel: no display found. Without one, export the demo as a video: ";
inline constexpr char kNoDisplayEnd[] = " --export demo.mp4\n";
