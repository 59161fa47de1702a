#pragma once
// Every caption and message of the program: launcher, start-up, playback loop, command line.

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
inline constexpr char kSoundInitFailedPrefix[] = "sound init failed! Error: ";
inline constexpr char kTimingFailedText[] =
    "Timing Fuckup. Congratulations. This is a REALLY rare error message (hopefully :-)). Just re-starting should "
    "help!";

// Our own: the windowed program started where no X display can be opened.
inline constexpr char kNoDisplayText[] =
    "quarnel: no display found. Without one, export the demo as a video: build/quarnel --export demo.mp4\n";

// Our own: hot reload of the data files. The failure's own text (file and line) comes first.
inline constexpr char kReloadFailedText[] = "\rThe file was not reloaded; the previous data stays in use.";
inline constexpr char kReloadNeedsRestartText[] =
    ": reloaded; the new letterbox ratio and MP3 file take effect at the next start";
