#pragma once
// Every text the music shows. InitMusic returns one of them; the caller puts its own context in front.
#include <string>

inline constexpr const char* kWrongBassVersionText = "wrong version of bass.dll found (1.6 or better required)";
inline constexpr const char* kBassInitFailedText =
    "bass init failed (you better kill all sound applications and try again :-))";
inline constexpr const char* kOutputStartFailedText = "not possible to start digital output";
inline constexpr const char* kStreamPlayFailedText = "Could not play audio stream";

// Our own, on standard error once per run: no sound device opened and the music plays into silence.
inline constexpr const char* kNoSoundDeviceText = "quarnel: no sound device: playing without music";

// mp3FileName exactly as the sequence file gives it.
inline std::string StreamCreationFailedText(const std::string& mp3FileName) {
  return "Stream creation failed (in other words: where is my mp3 file (" + mp3FileName + "), eh?!)";
}

// Our own: a whole MP3 decoded before it is relied on (--check, --export).
inline constexpr char kMp3NotDecodableText[] = "not an MP3 file the music can decode";
inline constexpr char kMp3NoSoundText[] = "no sound could be decoded from this MP3 file";
inline constexpr char kMp3DamagedText[] = "the sound cannot be decoded after ";  // + s + kMp3DamagedSeconds + why ")"
inline constexpr char kMp3DamagedSeconds[] = " s: the file is damaged there (";

// Our own: the soundtrack's envelopes were computed but could not be kept for the next run; + the folder
// or file and the reason.
inline constexpr char kEnvelopeCacheNotWritten[] =
    "the sound envelopes are not cached (they are computed again next time): ";
