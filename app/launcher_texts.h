#pragma once
// Every caption and message the launcher window shows.

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
