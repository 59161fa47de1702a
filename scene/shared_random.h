#pragma once
// The one pseudo-random generator of the program: geometry colours, screen effects and the randomizer
// all draw from it, so that one seed reproduces a whole run.
#include <cstdint>

// Restarts the sequence. The program seeds it from the clock at start-up; tests, export, --render and a
// frame-stepped run seed it with kRepeatableSeed.
void SeedRandom(uint64_t seed);
inline constexpr uint64_t kRepeatableSeed = 1;

// A uniform integer 0..n-1; 0 when n is 0.
uint32_t Random(uint32_t n);

// A uniform real in [0, 1).
double RandomReal();
