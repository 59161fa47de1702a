#pragma once
// The demo's soundtrack: one MP3 played through the BASS operations from start-up to shutdown, again from
// its start at every loop. The picture is not synchronised to it; both start together and run apart.
//
// With Music off (enabled false) none of these functions makes any BASS call.
#include <cstdint>
#include <string>

#include "audio/bass.h"

// The BASS operations the music uses, gathered so that a test can record them in place of the library.
struct BassCalls {
  uint32_t (*GetVersion)();
  bool (*Init)(int device, uint32_t freqHz, uint32_t flags, void* window);
  HSTREAM (*StreamCreateFile)(bool mem, const void* file, uint32_t offset, uint32_t length, uint32_t flags);
  bool (*Start)();
  bool (*StreamPlay)(HSTREAM handle, bool flush, uint32_t flags);
  bool (*Pause)();
  bool (*Stop)();
  bool (*Free)();
  float (*GetCPU)();
};

extern const BassCalls kBass;  // the library of audio/bass.h

struct Music {
  bool enabled = false;  // the launcher's "Music" box
  const BassCalls* bass = &kBass;
  HSTREAM stream = 0;  // MusicStream: 0 = no stream
};

// True for the interface versions we accept: 1.6 and later 1.x (major in the low 16 bits, minor in the
// high 16 bits), as the refusal text promises "1.6 or better".
bool IsAcceptedBassVersion(uint32_t version);

// Checks the version, opens the default output at 44 100 Hz, creates the stream from mp3FileName (relative
// to the current directory unless absolute) and plays it. Returns the first failure's text from
// audio/music_messages.h, empty on success (and always when Music is off).
[[nodiscard]] std::string InitMusic(Music& music, const std::string& mp3FileName);

// At a loop: plays the stream again from its start. Results are not checked.
void RestartMusic(Music& music);

// At shutdown: stops and frees the library; harmless when InitMusic never ran or failed.
void EndMusic(Music& music);

// The library's CPU load in percent for the statistics caption; 0 with Music off.
float MusicCpuPercent(const Music& music);
