#pragma once
// Every message of development mode's toolkit-free part.

// Our own: hot reload of the data files. The failure's own text (file and line) comes first.
inline constexpr char kReloadFailedText[] = "\rThe file was not reloaded; the previous data stays in use.";
inline constexpr char kReloadNeedsRestartText[] =
    ": reloaded; the new letterbox ratio and MP3 file take effect at the next start.";
