#pragma once
// The checks of `quarnel --check` beyond loading the presets and the sequence: what the demo will need
// is tried with the demo's own code, so that a folder that passes also plays, renders and exports.
// Errors and warnings are printed (PrintReport) as they are found and counted.
#include <string>

#include "cli/console_load.h"

struct CheckCounts {
  int errors = 0;     // what makes the demo, --render or --export fail or lose a layer
  int warnings = 0;   // what loads but is likely a mistake
  int undecided = 0;  // oscillators the check could not settle within its budget
};

// Loads every dataDir/textureN.bmp as the start-up does, on a device that draws nothing. Returns how
// many textures the demo would have.
int CheckTextures(const std::string& dataDir, CheckCounts& counts);

// Decodes the whole MP3 with the music's decoder; prints how long the sound is and how long that took,
// and warns when the sound ends before the demo (ShortSoundWarning).
void CheckMusic(const std::string& mp3FileName, uint32_t demoLengthMs, CheckCounts& counts);

// The warning for an MP3 of soundS seconds under a demo of demoLengthMs, naming both lengths.
std::string ShortSoundWarning(const std::string& mp3FileName, double soundS, uint32_t demoLengthMs);

// Evaluates every preset as the frames will: a base value its type cannot hold is an error in any
// preset; an oscillator that can leave the signed 32-bit range is searched over every demo time
// 0..DemoLength of each entry that plays the preset (FindFirstFailure), with the base value from the
// entry's track where it has one, followed through the soundtrack's envelopes where the entry follows it,
// and the first time it fails is reported. The searches share one
// budget; an oscillator that none of them settles within it is reported and counted as undecided. On a
// terminal, progress shows on standard error.
void CheckEvaluation(const std::string& dataDir, const LoadedDemo& demo, CheckCounts& counts);

// Warnings: an entry naming a preset that is not loaded, an entry that starts after it ends, and
// numbered presets or textures after a gap (which are never loaded).
void CheckLikelyMistakes(const std::string& dataDir, const LoadedDemo& demo, int textureCount, CheckCounts& counts);
