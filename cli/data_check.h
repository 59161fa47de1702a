#pragma once
// The checks of `quarnel --check` beyond loading the presets and the sequence: what the demo will need
// is tried with the demo's own code, so that a folder that passes also plays, renders and exports.
// Errors and warnings are printed (PrintReport) as they are found and counted.
#include <string>

#include "cli/console_load.h"

struct CheckCounts {
  int errors = 0;    // what makes the demo, --render or --export fail or lose a layer
  int warnings = 0;  // what loads but is likely a mistake
};

// Loads every dataDir/textureN.bmp as the start-up does, on a device that draws nothing. Returns how
// many textures the demo would have.
int CheckTextures(const std::string& dataDir, CheckCounts& counts);

// Decodes the whole MP3 with the music's decoder; prints how long the sound is and how long that took.
void CheckMusic(const std::string& mp3FileName, CheckCounts& counts);

// Evaluates every preset as the frames will: a base value its type cannot hold is an error in any
// preset; an oscillator that can leave the signed 32-bit range is followed over every demo time
// 0..DemoLength of each entry that plays the preset, and the first time it fails is reported. All of
// these scans share one budget of evaluations: beyond it every step-th time is tried, and an oscillator
// that fails at none of them gets a warning. On a terminal, progress shows on standard error.
void CheckEvaluation(const std::string& dataDir, const LoadedDemo& demo, CheckCounts& counts);

// Warnings: an entry naming a preset that is not loaded, an entry that starts after it ends, and
// numbered presets or textures after a gap (which are never loaded).
void CheckLikelyMistakes(const std::string& dataDir, const LoadedDemo& demo, int textureCount, CheckCounts& counts);
