#pragma once
// Every message of the demo's run-time: start-up, playback loop, the toolkit guard.

inline constexpr char kSoundInitFailedPrefix[] = "sound init failed! Error: ";
// + why: followed parameters then follow silence.
inline constexpr char kEnvelopesFailedPrefix[] = "no envelopes of the soundtrack for followed parameters: ";
inline constexpr char kTimingFailedText[] =
    "Timing Fuckup. Congratulations. This is a REALLY rare error message (hopefully :-)). Just re-starting should "
    "help!";

// What the toolkit guard shows for an error that carries no text.
inline constexpr const char* kMsgUnknownError = "unknown error";
