#pragma once
// The BASS 1.6 operations the demo uses, provided by our own small library: libmpg123 decodes, SDL2 audio
// plays. One stream at a time is mixed at 44 100 Hz stereo signed 16-bit.
//
// Every call is harmless before BASS_Init and after BASS_Free: it does nothing and reports failure (0 or
// false). "Output" is the sound device; it runs (BASS_Start) or is paused (BASS_Pause, BASS_Stop), and a
// paused output keeps the stream's position.
#include <cstdint>

typedef uint32_t HSTREAM;  // stream handle, 0 = no stream

// The interface version: major in the low 16 bits, minor in the high 16 bits; always 0x00060001 (1.6).
uint32_t BASS_GetVersion();

// Opens the output, paused. device: -1 (the default device) only; freqHz: 44100 only; flags: 0 only;
// window: unused on this platform. Without SDL_AUDIODRIVER in the environment, a machine whose sound
// devices all fail gets SDL's "dummy" driver, which plays silently in real time. False when a device
// cannot be opened, when an argument is not supported, or when the library is already initialised.
bool BASS_Init(int device, uint32_t freqHz, uint32_t flags, void* window);

// Opens the MP3 file `file` (mem false, offset 0, length 0: the whole file; flags 0) as the stream,
// stopped at its start; a stream created before is freed. 0 when the file is missing or not MP3, when
// mem, offset, length or flags ask for anything else, or before BASS_Init.
HSTREAM BASS_StreamCreateFile(bool mem, const void* file, uint32_t offset, uint32_t length, uint32_t flags);

// Runs the output (again, after BASS_Pause or BASS_Stop). False before BASS_Init.
bool BASS_Start();

// Plays the stream: flush true from its beginning, flush false from where it is. flags: 0 only.
// Sound comes once the output runs. False for an unknown handle.
bool BASS_StreamPlay(HSTREAM handle, bool flush, uint32_t flags);

// Pauses the output; BASS_Start continues where it was.
bool BASS_Pause();

// Pauses the output and stops the stream (it keeps its position; BASS_StreamPlay plays it again).
bool BASS_Stop();

// Closes the output and frees the stream.
bool BASS_Free();

// The share of real time spent decoding and mixing, in percent (0..100, usually well below 1), measured
// over the last half second of running output; 0 before the first half second or before BASS_Init.
float BASS_GetCPU();

// Our additions, for music that follows the development clock (not part of the 1.6 interface).
// The position is that of the next frame mixed; the device's own buffer (about 23 ms) lies in between.

// Moves the stream to positionMs from its start, rounded to the nearest frame; a position past the end
// moves to the end. False for an unknown handle.
bool BASS_StreamSetPositionMs(HSTREAM handle, uint32_t positionMs);

// The stream's position in ms from its start, rounded to the nearest ms; -1 for an unknown handle.
int64_t BASS_StreamGetPositionMs(HSTREAM handle);
