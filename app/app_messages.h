#pragma once
// Every text the launcher, start-up and playback loop show.

inline constexpr char kFatalErrorTitle[] = "Demo fuckup message...";
inline constexpr char kApplicationTitle[] = "dravel was here";
inline constexpr char kNoDirect3DText[] = "Not possible to create D3D8 interface(install a recent DirectX version)!";

inline constexpr char kDeviceInitFailedPrefix[] = "d3d8 init failed! Error: ";
inline constexpr char kGeometryInitFailedPrefix[] = "Geometry Init Error: ";
inline constexpr char kSpriteInitFailedText[] = "Sprite Init Error: could not create sprite!";
inline constexpr char kNoTexturesText[] = "Loading Error: no textures found!";
inline constexpr char kRenderTargetFailedText[] = "texture init error: cannot create r2t texture";
inline constexpr char kSoundInitFailedPrefix[] = "sound init failed! Error: ";
inline constexpr char kTimingFailedText[] =
    "Timing Fuckup. Congratulations. This is a REALLY rare error message (hopefully :-)). Just re-starting should "
    "help!";
